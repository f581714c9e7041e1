#include "cli/SimCli.h"

#include "cli/AnalysisVerbs.h"

#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/NumberText.h"
#include "core/rundata/SettingsLines.h"
#include "core/rundata/SimFileReader.h"
#include "core/rundata/SimFileWriter.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace velmor {

namespace {

constexpr int kExitRefusedFile = 1;
constexpr int kExitUsage = 2;

const char* const kUsage = "usage: velmor-sim run EXERCISE [--from FILE.psm] [--set NAME=VALUE]... "
                           "[--at T:NAME=VALUE]... [--records N] [--out FILE.psm]\n"
                           "       velmor-sim inspect FILE.psm\n"
                           "EXERCISE is one of: flow, level, open, temperature, batch\n";

struct Change {
    std::string name;
    std::string value;
};

struct TimedChange {
    double time = 0;
    Change change;
    bool done = false;
};

struct RunOptions {
    Exercise exercise = Exercise::Flow;
    std::optional<std::string> from;
    std::vector<Change> sets;
    std::vector<TimedChange> ats;
    std::optional<long long> records;
    std::optional<std::string> out;
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::optional<Change> SplitChange(const std::string& text)
{
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) {
        return std::nullopt;
    }
    return Change{text.substr(0, eq), text.substr(eq + 1)};
}

std::optional<double> ParseTime(std::string_view text)
{
    double v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() || !(v >= 0) ||
        v > 1.0e9) {
        return std::nullopt;
    }
    return v;
}

RunOptions ParseRun(const std::vector<std::string>& args)
{
    if (args.size() < 2) {
        throw UsageError("run needs an exercise: flow, level, open, temperature or batch");
    }
    RunOptions o;
    const std::optional<Exercise> e = ExerciseFromCommandWord(args[1]);
    if (!e) {
        throw UsageError("unknown exercise '" + args[1] +
                         "' (expected flow, level, open, temperature or batch)");
    }
    o.exercise = *e;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& opt = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) {
                throw UsageError(opt + " needs an argument");
            }
            return args[++i];
        };
        if (opt == "--from") {
            o.from = value();
        } else if (opt == "--set") {
            const std::string& text = value();
            const std::optional<Change> c = SplitChange(text);
            if (!c) {
                throw UsageError("--set " + text + ": expected NAME=VALUE");
            }
            if (std::string error = CheckSetting(o.exercise, c->name, c->value); !error.empty()) {
                throw UsageError(error);
            }
            o.sets.push_back(*c);
        } else if (opt == "--at") {
            const std::string& text = value();
            const std::size_t colon = text.find(':');
            const std::optional<double> t =
                colon == std::string::npos ? std::nullopt
                                           : ParseTime(std::string_view(text).substr(0, colon));
            const std::optional<Change> c =
                colon == std::string::npos ? std::nullopt : SplitChange(text.substr(colon + 1));
            if (!t || !c) {
                throw UsageError("--at " + text +
                                 ": expected T:NAME=VALUE with T a time in seconds");
            }
            if (std::string error = CheckSetting(o.exercise, c->name, c->value); !error.empty()) {
                throw UsageError(error);
            }
            o.ats.push_back({*t, *c, false});
        } else if (opt == "--records") {
            const std::string& text = value();
            long long n = 0;
            const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
            if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() || n < 1) {
                throw UsageError("--records " + text + ": expected a whole number of at least 1");
            }
            o.records = n;
        } else if (opt == "--out") {
            o.out = value();
            if (o.out->empty()) {
                throw UsageError("--out needs a file name");
            }
        } else {
            throw UsageError("unknown option '" + opt + "'");
        }
    }
    return o;
}

// A simulation file read with the reader of File > Open. Throws UsageError
// when the file cannot be read; a refused file comes back as an error.
SimFileResult ReadFile(const std::string& path, std::string_view currentForm)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        throw UsageError("cannot read '" + path + "': it is a directory");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw UsageError("cannot read '" + path + "'");
    }
    SimFileReadOptions options;
    options.currentForm = currentForm;
    return ReadSimulationFile(in, options);
}

// --from: the settings lines, as File > Open applies them to the exercise
// that is open; the data lines are checked but not used.
void ApplyFrom(VelmorState& state, Exercise exercise, const std::string& path)
{
    const SimFileResult r = ReadFile(path, FormName(exercise));
    if (!r.ok()) {
        throw UsageError("--from " + path + ": " + r.error.text());
    }
    if (r.load->exercise != exercise) {
        throw UsageError("--from " + path + ": the file holds a " +
                         std::string(CommandWord(r.load->exercise)) + " simulation, not " +
                         std::string(CommandWord(exercise)));
    }
    ApplySimFileSettings(state, *r.load);
}

void AppendIndex(std::string& j, const std::array<std::int32_t, kSecondIndexEntries>& index)
{
    j += '[';
    for (std::size_t s = 0; s < index.size(); ++s) {
        if (s > 0) {
            j += ", ";
        }
        j += std::to_string(index[s]);
    }
    j += ']';
}

void AppendRecords(std::string& j, const SimFileLoad& load)
{
    j += '[';
    for (std::size_t n = 0; n < load.records.size(); ++n) {
        const SampleRecord& r = load.records[n];
        j += n > 0 ? ", [" : "[";
        j += ShortestText(r.time);
        for (int f = kFirstFloatField; f <= kLastFloatField; ++f) {
            j += ", ";
            j += ShortestText(r.field(f));
        }
        j += ", ";
        j += std::to_string(r.segment);
        j += ']';
    }
    j += ']';
}

std::string InspectJson(const SimFileLoad& load)
{
    std::string j;
    j.reserve(load.records.size() * 200 + 8192);
    j += "{\"exercise\": \"";
    j += FormName(load.exercise);
    j += "\", \"settings\": {";
    bool first = true;
    for (const SettingLine& line : SettingsLines(load.exercise)) {
        j += first ? "\"" : ", \"";
        first = false;
        j += line.name;
        j += "\": ";
        switch (line.type) {
        case LineType::Decimal:
            j += ShortestText(load.settings.*line.real);
            break;
        case LineType::Flag:
            j += (load.settings.*line.flag) ? "true" : "false";
            break;
        case LineType::Integer:
            j += std::to_string(line.integer != nullptr ? load.settings.*line.integer
                                                        : load.gateValvePercent.value_or(100));
            break;
        }
    }
    j += "}, \"trendSpan\": ";
    j += std::to_string(load.trendSpan);
    // Files without a gate valve line leave the opening the newly opened
    // exercise has: fully open.
    j += ", \"gateValvePercent\": ";
    j += std::to_string(load.gateValvePercent.value_or(100));
    j += ", \"sampleCount\": ";
    j += std::to_string(load.sampleCount);
    j += ", \"secondIndexFilled\": ";
    j += std::to_string(load.secondIndexFilled);
    j += ", \"secondIndex\": ";
    AppendIndex(j, load.secondIndex);
    j += ", \"records\": ";
    AppendRecords(j, load);
    j += "}\n";
    return j;
}

int Inspect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2 || args[1].empty()) {
        throw UsageError("inspect needs one file: velmor-sim inspect FILE.psm");
    }
    // No exercise is open: the file's first line must name one.
    const SimFileResult r = ReadFile(args[1], "frmMain");
    if (!r.ok()) {
        err << "velmor-sim: " << args[1] << ": " << r.error.text() << '\n';
        return kExitRefusedFile;
    }
    if (!r.load->warning.empty()) {
        err << "velmor-sim: " << args[1] << ": " << r.load->warning << '\n';
    }
    out << InspectJson(*r.load);
    out.flush();
    return 0;
}

// Writes through a temporary file beside the target, renamed into place only
// when complete, so that a failed run never leaves a partial file.
class OutputFile {
public:
    explicit OutputFile(const std::string& path) : m_path(path)
    {
        m_temp = path + ".part" + std::to_string(::getpid());
        m_stream.open(m_temp, std::ios::binary | std::ios::trunc);
        if (!m_stream) {
            throw UsageError("cannot write '" + path + "'");
        }
    }
    ~OutputFile()
    {
        if (!m_committed) {
            m_stream.close();
            std::error_code ec;
            std::filesystem::remove(m_temp, ec);
        }
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::ostream& stream() { return m_stream; }

    void commit()
    {
        m_stream.flush();
        m_stream.close();
        if (m_stream.fail()) {
            throw UsageError("cannot write '" + m_path + "'");
        }
        std::error_code ec;
        std::filesystem::rename(m_temp, m_path, ec);
        if (ec) {
            throw UsageError("cannot write '" + m_path + "': " + ec.message());
        }
        m_committed = true;
    }

private:
    std::string m_path;
    std::string m_temp;
    std::ofstream m_stream;
    bool m_committed = false;
};

int Run(const std::vector<std::string>& args, std::ostream& out)
{
    RunOptions o = ParseRun(args);
    VelmorState state;
    OpenExerciseState(state, o.exercise, true);
    if (o.from) {
        ApplyFrom(state, o.exercise, *o.from);
    }

    for (const Change& c : o.sets) {
        if (std::string error = ApplySetting(state, o.exercise, c.name, c.value); !error.empty()) {
            throw UsageError(error);
        }
    }

    std::optional<OutputFile> file;
    if (o.out) {
        file.emplace(*o.out);
    }

    std::unique_ptr<LoopEngine> engine = MakeEngine(o.exercise, state, nullptr);
    std::string atError;
    // The pacing wait: due changes first, in the order given, then --records.
    auto wait = [&] {
        const double newest = engine->newestRecordTime();
        for (TimedChange& at : o.ats) {
            if (!at.done && newest >= at.time) {
                at.done = true;
                std::string error =
                    ApplySetting(state, o.exercise, at.change.name, at.change.value);
                if (!error.empty() && atError.empty()) {
                    atError = "--at " + ShortestText(at.time) + ": " + error;
                    state.run.runActive = false;
                }
            }
        }
        if (o.records && state.run.sampleCount >= *o.records) {
            state.run.runActive = false;
        }
    };
    RunHeadless(*engine, wait);
    if (!atError.empty()) {
        throw UsageError(atError);
    }

    SendSettings(state, o.exercise);
    std::ostream& target = file ? file->stream() : out;
    WriteSimulationFile(target, o.exercise, state.simSettings, state.run.gateValvePercent,
                        state.log, state.run.sampleCount);
    if (file) {
        file->commit();
    } else {
        out.flush();
    }
    return 0;
}

} // namespace

int RunSimCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        if (args.empty()) {
            err << kUsage << AnalysisUsage();
            return kExitUsage;
        }
        if (args[0] == "run") {
            return Run(args, out);
        }
        if (args[0] == "inspect") {
            return Inspect(args, out, err);
        }
        if (const std::optional<int> status = RunAnalysisVerb(args, out, err)) {
            return *status;
        }
        if (args[0] == "--help" || args[0] == "-h") {
            out << kUsage << AnalysisUsage();
            return 0;
        }
        throw UsageError("unknown command '" + args[0] +
                         "' (expected run, inspect, analyse, fit, export-csv or sweep)");
    } catch (const UsageError& e) {
        err << "velmor-sim: " << e.what() << '\n';
        return kExitUsage;
    } catch (const std::exception& e) {
        err << "velmor-sim: " << e.what() << '\n';
        return kExitUsage;
    }
}

} // namespace velmor
