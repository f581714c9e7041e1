#include "cli/SimCli.h"

#include "cli/AnalysisVerbs.h"
#include "cli/CliSupport.h"
#include "cli/RunRequest.h"

#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/NumberText.h"
#include "core/rundata/SettingsLines.h"
#include "core/rundata/SimFileReader.h"
#include "core/rundata/SimFileWriter.h"

#include <iostream>
#include <optional>

namespace velmor {

namespace {

constexpr int kExitRefusedFile = 1;
constexpr int kExitUsage = 2;

const char* const kUsageLine =
    "usage: velmor-sim run|inspect|analyse|fit|export-csv|sweep|grade ... (try --help)";
const char* const kUsage =
    "usage: velmor-sim run EXERCISE [--from FILE.psm] [--set NAME=VALUE]... "
    "[--at T:NAME=VALUE]... [--records N] [--out FILE.psm]\n"
    "       velmor-sim inspect FILE.psm\n"
    "       velmor-sim analyse FILE.psm\n"
    "       velmor-sim fit FILE.psm\n"
    "       velmor-sim export-csv FILE.psm [--out FILE.csv] [--decimal-comma]\n"
    "       velmor-sim sweep EXERCISE --vary NAME=FROM:TO:COUNT [--vary ...] [--from FILE.psm]\n"
    "                  [--set NAME=VALUE]... [--at T:NAME=VALUE]... [--records N] [--jobs N]\n"
    "                  --out FILE.csv\n"
    "       velmor-sim grade SHEET.vlab FILE.psm|FOLDER... [--csv] [--jobs N]\n"
    "       velmor-sim --help\n";
// After "EXERCISE is one of: " and the exercises' words.
const char* const kUsageRest =
    "run writes the simulation file to standard output unless --out names a file; --out - also\n"
    "means standard output. A file is replaced only once the run is complete.\n"
    "inspect prints what the reader takes from a simulation file, as JSON.\n"
    "analyse prints response figures per settings segment, fit a step-test model and tunings\n"
    "(JSON); export-csv writes the records as a table; sweep runs a grid of settings on all\n"
    "cores and writes one table row per run; grade marks runs against a lab sheet (JSON, or\n"
    "CSV with --csv). See docs/velmor-sim.md and docs/lab-sheets.md.\n"
    "Exit status: 0 done, 1 a file the reader refuses (grade: a run not graded), 2 a refused "
    "command line or a failed "
    "write,\n130 a sweep stopped with Ctrl-C.\n";

struct RunOptions {
    RunRequest request;
    std::optional<std::string> out; // standard output when empty
};

RunOptions ParseRun(const std::vector<std::string>& args)
{
    if (args.size() < 2) {
        throw Refusal("run needs an exercise: " + ExerciseWords(" or "));
    }
    RunOptions o;
    const std::optional<Exercise> e = ExerciseFromCommandWord(args[1]);
    if (!e) {
        throw Refusal("unknown exercise '" + args[1] + "' (expected " + ExerciseWords(" or ") +
                      ")");
    }
    o.request.exercise = *e;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& opt = args[i];
        if (opt == "--out") {
            o.out = OptionArgument(args, i);
            if (o.out->empty()) {
                throw Refusal("--out needs a file name");
            }
            if (*o.out == "-") {
                o.out.reset();
            }
        } else if (!ParseRunOption(o.request, args, i)) {
            throw Refusal("unknown option '" + opt + "'");
        }
    }
    return o;
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
    const SimFileResult r = ReadSimFile(args[1], "frmMain");
    if (!r.ok()) {
        Report(err, args[1] + ": " + r.error.text());
        return kExitRefusedFile;
    }
    Emit(out, InspectJson(*r.load));
    // Only once the output is out: a refusal stays one line.
    if (!r.load->warning.empty()) {
        Report(err, args[1] + ": " + r.load->warning);
    }
    return 0;
}

int Run(const std::vector<std::string>& args, std::ostream& out)
{
    const RunOptions o = ParseRun(args);
    const std::optional<SimFileLoad> from = ReadFromFile(o.request);
    VelmorState state;
    PrepareRun(state, o.request, from ? &*from : nullptr);

    // The target is checked and its temporary file made before the run, so
    // that a bad target is refused at once; it is replaced only at the end.
    AtomicFile file;
    if (o.out) {
        if (const WriteResult r = file.open(*o.out); !r.ok()) {
            throw Refusal(CannotWrite(o.out, r.error));
        }
    }

    ExecuteRun(state, o.request);

    const Exercise e = o.request.exercise;
    SendSettings(state, e);
    const WriteResult written =
        o.out ? WriteSimulationFile(file, e, state.simSettings, state.run.gateValvePercent,
                                    state.log, state.run.sampleCount)
              : WriteSimulationFile(out, e, state.simSettings, state.run.gateValvePercent,
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
        if (const std::optional<int> status = RunAnalysisVerb(args, out, err)) {
            return *status;
        }
        if (verb == "--help" || verb == "-h") {
            Emit(out, kUsage + ("EXERCISE is one of: " + ExerciseWords(", ") + "\n") + kUsageRest);
            return 0;
        }
        throw Refusal(
            "unknown command '" + verb +
            "' (expected run, inspect, analyse, fit, export-csv, sweep or grade; try --help)");
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
