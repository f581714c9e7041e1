#include "cli/AnalysisVerbs.h"

#include "cli/CliSupport.h"
#include "cli/Grade.h"
#include "cli/JsonText.h"
#include "core/analysis/ResponseFigures.h"
#include "core/analysis/RunCsv.h"
#include "core/analysis/StepFit.h"
#include "core/rundata/State.h"

#include <iostream>

#include <unistd.h>

namespace velmor {

namespace {

constexpr int kExitRefusedFile = 1;

// A file for a verb that takes exactly one: the load, or the exit status of
// a refused file (with the reader's message written).
struct Loaded {
    std::optional<SimFileLoad> load;
    int status = 0;
    std::string path;

    // The reader's warning (lines left out) belongs to a verb that succeeded:
    // a refusal stays one line.
    int done(std::ostream& err) const
    {
        if (!load->warning.empty()) {
            Report(err, path + ": " + load->warning);
        }
        return 0;
    }
};

Loaded LoadFile(const std::vector<std::string>& args, std::size_t count, std::ostream& err)
{
    if (args.size() < 2 || args[1].empty()) {
        throw Refusal(args[0] + " needs a file: velmor-sim " + args[0] + " FILE.psm");
    }
    if (args.size() > count) {
        throw Refusal(args[0] + ": unexpected argument '" + args[count] + "'");
    }
    SimFileResult r = ReadSimFile(args[1]);
    if (!r.ok()) {
        Report(err, args[1] + ": " + r.error.text());
        return {std::nullopt, kExitRefusedFile, args[1]};
    }
    return {std::move(r.load), 0, args[1]};
}

// Files do not carry the sample period; every exercise runs at the default.
float FileSamplePeriod()
{
    return RunState{}.samplePeriod;
}

std::string AnalyseJson(const RunFigures& run)
{
    JsonText j;
    j.beginObject();
    j.member("exercise", CommandWord(run.exercise));
    j.member("samplePeriod", run.samplePeriod);
    j.key("loops").beginArray();
    for (const LoopFigures& loop : run.loops) {
        j.beginObject().member("loop", loop.loop.name);
        j.key("segments").beginArray();
        for (const SegmentFigures& seg : loop.segments) {
            j.beginObject()
                .member("segment", static_cast<int>(seg.segment))
                .member("firstRecord", seg.firstRecord)
                .member("lastRecord", seg.lastRecord)
                .member("start", seg.start)
                .member("end", seg.end)
                .member("iae", seg.iae)
                .member("ise", seg.ise)
                .member("itae", seg.itae)
                .member("outputTotalVariation", seg.outputTotalVariation);
            j.key("steps").beginArray();
            for (const StepFigures& s : seg.steps) {
                j.beginObject().member("record", s.record);
                // Only the start step carries the flag.
                if (s.start) {
                    j.member("start", true);
                }
                j.member("time", s.time)
                    .member("from", s.from)
                    .member("to", s.to)
                    .member("riseTime", s.riseTime)
                    .member("peak", s.peak)
                    .member("peakTime", s.peakTime)
                    .member("overshootPercent", s.overshootPercent)
                    .member("settlingTime", s.settlingTime)
                    .member("steadyStateError", s.steadyStateError)
                    .endObject();
            }
            j.endArray().endObject();
        }
        j.endArray().endObject();
    }
    j.endArray().endObject();
    return j.text() + "\n";
}

int Analyse(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Loaded f = LoadFile(args, 2, err);
    if (!f.load) {
        return f.status;
    }
    const RunFigures figures = AnalyseRun(f.load->records, f.load->exercise, FileSamplePeriod());
    Emit(out, AnalyseJson(figures));
    return f.done(err);
}

std::string FitJson(const std::vector<OutputStep>& steps)
{
    JsonText j;
    j.beginObject().key("steps").beginArray();
    for (const OutputStep& s : steps) {
        j.beginObject()
            .member("record", s.record)
            .member("time", s.time)
            .member("outputFrom", s.outputFrom)
            .member("outputTo", s.outputTo);
        if (s.model) {
            j.member("K", s.model->gain)
                .member("tau", s.model->timeConstant)
                .member("theta", s.model->deadTime)
                .member("rms", s.model->rms);
        }
        j.endObject();
    }
    j.endArray().key("tunings").beginArray();
    if (const OutputStep* best = BestFittedStep(steps)) {
        for (const FlowTuning& t : FlowTunings(*best->model)) {
            j.beginObject()
                .member("rule", TuningRuleName(t.rule))
                .member("PG", t.pg)
                .member("I", t.i)
                .member("D", t.d)
                .endObject();
        }
    }
    j.endArray().endObject();
    return j.text() + "\n";
}

int Fit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Loaded f = LoadFile(args, 2, err);
    if (!f.load) {
        return f.status;
    }
    if (f.load->exercise != Exercise::Open) {
        throw Refusal(args[1] + ": a step test needs an Open loop run; this is a " +
                      std::string(CommandWord(f.load->exercise)) + " run");
    }
    const std::vector<OutputStep> steps = FitOutputSteps(f.load->records);
    if (steps.empty()) {
        throw Refusal(args[1] +
                      ": the pump output never steps (no change over 1 % between two records)");
    }
    Emit(out, FitJson(steps));
    return f.done(err);
}

int ExportCsv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::optional<std::string> path; // standard output
    bool decimalComma = false;
    std::vector<std::string> fileArgs = {args[0]};
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--out") {
            if (i + 1 >= args.size()) {
                throw Refusal("--out needs a file name");
            }
            path = args[++i];
            if (path->empty()) {
                throw Refusal("--out needs a file name");
            }
            if (*path == "-") {
                path.reset();
            }
        } else if (args[i] == "--decimal-comma") {
            decimalComma = true;
        } else if (args[i].starts_with("--")) {
            throw Refusal("unknown option '" + args[i] + "'");
        } else {
            fileArgs.push_back(args[i]);
        }
    }
    const Loaded f = LoadFile(fileArgs, 2, err);
    if (!f.load) {
        return f.status;
    }
    Output(path, RunCsv(f.load->records, f.load->exercise, decimalComma), out);
    return f.done(err);
}

} // namespace

std::optional<int> RunAnalysisVerb(const std::vector<std::string>& args, std::ostream& out,
                                   std::ostream& err)
{
    if (args.empty()) {
        return std::nullopt;
    }
    const std::string& verb = args[0];
    if (verb == "analyse") {
        return Analyse(args, out, err);
    }
    if (verb == "fit") {
        return Fit(args, out, err);
    }
    if (verb == "export-csv") {
        return ExportCsv(args, out, err);
    }
    if (verb == "grade") {
        return RunGradeVerb(args, out, err);
    }
    if (verb == "sweep") {
        const bool terminal = &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
        return RunSweep(args, out, err, terminal);
    }
    return std::nullopt;
}

} // namespace velmor
