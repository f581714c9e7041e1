#include "cli/SimCli.h"

#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/NumberText.h"
#include "core/rundata/SettingsLines.h"
#include "core/rundata/SimFileReader.h"
#include "core/rundata/SimFileWriter.h"

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

namespace velmor {

namespace {

constexpr int kExitRefusedFile = 1;
constexpr int kExitUsage = 2;

const char* const kUsageLine = "usage: velmor-sim run|inspect ... (try --help)";
const char* const kUsage =
    "usage: velmor-sim run EXERCISE [--from FILE.psm] [--set NAME=VALUE]... "
    "[--at T:NAME=VALUE]... [--records N] [--out FILE.psm]\n"
    "       velmor-sim inspect FILE.psm\n"
    "       velmor-sim --help\n"
    "EXERCISE is one of: flow, level, open, temperature, batch\n"
    "run writes the simulation file to standard output unless --out names a file; --out - also\n"
    "means standard output. A file is replaced only once the run is complete.\n"
    "inspect prints what the reader takes from a simulation file, as JSON.\n"
    "Exit status: 0 done, 1 a file the reader refuses, 2 a refused command line or a failed "
    "write.\n";

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

// A refusal: reported as one line on standard error, exit status 2.
class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Messages echo what the user typed: control characters are written as
// escapes so that every message stays on one line and shows what was there.
std::string OneLine(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line;
    line.reserve(text.size());
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b != 0x7F) {
            line += ch;
        } else if (ch == '\n') {
            line += "\\n";
        } else if (ch == '\t') {
            line += "\\t";
        } else if (ch == '\r') {
            line += "\\r";
        } else {
            line += "\\x";
            line += kHex[b >> 4];
            line += kHex[b & 0xF];
        }
    }
    return line;
}

void Report(std::ostream& err, std::string_view message)
{
    err << "velmor-sim: " << OneLine(message) << '\n';
}

std::string CannotWrite(const std::optional<std::string>& file, const std::string& reason)
{
    return (file ? "cannot write '" + *file + "': " : "cannot write to standard output: ") + reason;
}

// Standard output, checked: a full disk or a closed descriptor is a refusal.
void Emit(std::ostream& out, std::string_view text)
{
    if (const WriteResult r = WriteToStream(out, text); !r.ok()) {
        throw Refusal(CannotWrite(std::nullopt, r.error));
    }
}

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
        throw Refusal("run needs an exercise: flow, level, open, temperature or batch");
    }
    RunOptions o;
    const std::optional<Exercise> e = ExerciseFromCommandWord(args[1]);
    if (!e) {
        throw Refusal("unknown exercise '" + args[1] +
                      "' (expected flow, level, open, temperature or batch)");
    }
    o.exercise = *e;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& opt = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) {
                throw Refusal(opt + " needs an argument");
            }
            return args[++i];
        };
        if (opt == "--from") {
            o.from = value();
        } else if (opt == "--set") {
            const std::string& text = value();
            const std::optional<Change> c = SplitChange(text);
            if (!c) {
                throw Refusal("--set " + text + ": expected NAME=VALUE");
            }
            if (std::string error = CheckSetting(o.exercise, c->name, c->value); !error.empty()) {
                throw Refusal(error);
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
                throw Refusal("--at " + text + ": expected T:NAME=VALUE with T a time in seconds");
            }
            if (std::string error = CheckSetting(o.exercise, c->name, c->value); !error.empty()) {
                throw Refusal(error);
            }
            o.ats.push_back({*t, *c, false});
        } else if (opt == "--records") {
            const std::string& text = value();
            long long n = 0;
            const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
            if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() || n < 1) {
                throw Refusal("--records " + text + ": expected a whole number of at least 1");
            }
            o.records = n;
        } else if (opt == "--out") {
            o.out = value();
            if (o.out->empty()) {
                throw Refusal("--out needs a file name");
            }
            if (*o.out == "-") {
                o.out.reset();
            }
        } else {
            throw Refusal("unknown option '" + opt + "'");
        }
    }
    return o;
}

// A simulation file read with the reader of File > Open. Throws Refusal
// when the file cannot be read; a refused file comes back as an error.
SimFileResult ReadFile(const std::string& path, std::string_view currentForm)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        throw Refusal("cannot read '" + path + "': it is a directory");
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw Refusal("cannot read '" + path + "'" +
                      (errno != 0 ? ": " + SystemErrorText(errno) : std::string()));
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
        throw Refusal("--from " + path + ": " + r.error.text());
    }
    if (r.load->exercise != exercise) {
        throw Refusal("--from " + path + ": the file holds a " +
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
        throw Refusal("inspect needs one file: velmor-sim inspect FILE.psm");
    }
    // No exercise is open: the file's first line must name one.
    const SimFileResult r = ReadFile(args[1], "frmMain");
    if (!r.ok()) {
        Report(err, args[1] + ": " + r.error.text());
        return kExitRefusedFile;
    }
    if (!r.load->warning.empty()) {
        Report(err, args[1] + ": " + r.load->warning);
    }
    Emit(out, InspectJson(*r.load));
    return 0;
}

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
            throw Refusal(error);
        }
    }

    // The target is checked and its temporary file made before the run, so
    // that a bad target is refused at once; it is replaced only at the end.
    AtomicFile file;
    if (o.out) {
        if (const WriteResult r = file.open(*o.out); !r.ok()) {
            throw Refusal(CannotWrite(o.out, r.error));
        }
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
        throw Refusal(atError);
    }

    SendSettings(state, o.exercise);
    const WriteResult written =
        o.out ? WriteSimulationFile(file, o.exercise, state.simSettings, state.run.gateValvePercent,
                                    state.log, state.run.sampleCount)
              : WriteSimulationFile(out, o.exercise, state.simSettings, state.run.gateValvePercent,
                                    state.log, state.run.sampleCount);
    if (!written.ok()) {
        throw Refusal(CannotWrite(o.out, written.error));
    }
    return 0;
}

} // namespace

int RunSimCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        if (args.empty()) {
            err << kUsageLine << '\n';
            return kExitUsage;
        }
        const std::string& verb = args[0];
        if (verb == "run") {
            return Run(args, out);
        }
        if (verb == "inspect") {
            return Inspect(args, out, err);
        }
        if (verb == "--help" || verb == "-h") {
            Emit(out, kUsage);
            return 0;
        }
        throw Refusal("unknown command '" + verb + "' (expected run or inspect; try --help)");
    } catch (const std::exception& e) {
        Report(err, e.what());
        return kExitUsage;
    }
}

int SimMain(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    return RunSimCli(args, std::cout, std::cerr);
}

} // namespace velmor
