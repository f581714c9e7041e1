// Runs graded against lab sheets: hand-made logs with known figures and
// their edges, absent figures, locked settings, short runs, runs of another
// exercise, and `velmor-sim grade` over files and a folder.
#include "core/labsheets/SheetGrade.h"
#include "SimCliHarness.h"
#include "core/analysis/ResponseFigures.h"
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

using namespace velmor;
using velmor::test::Cli;

namespace {

namespace fs = std::filesystem;

LabSheet Sheet(const std::string& targets, const std::string& extra = "")
{
    const std::string text = R"({"velmorLabSheet": 1, "title": {"en": "T"}, "exercise": "flow", )" +
                             extra + R"("targets": [)" + targets + "]}";
    const LabSheetResult r = ReadLabSheetText(text);
    EXPECT_TRUE(r.ok()) << r.error << "\n" << text;
    return r.ok() ? *r.sheet : LabSheet{};
}

// A real Flow run, read back from its file.
SimFileLoad FlowRun(const std::vector<std::string>& sets, int records = 300)
{
    std::vector<std::string> args = {"run", "flow", "--records", std::to_string(records)};
    for (const std::string& s : sets) {
        args.insert(args.end(), {"--set", s});
    }
    const auto r = Cli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    SimFileResult load = ReadSimulationText(r.out, {});
    EXPECT_TRUE(load.ok()) << load.error.text();
    return load.ok() ? std::move(*load.load) : SimFileLoad{};
}

// The records replaced by a hand-made Flow log: set point 0 then 1 from
// record `stepAt`, flow following as 1 - exp(-s) (tau = 1 s); `segment2At`
// starts settings segment 2 there.
SimFileLoad FirstOrder(int records, int stepAt, int segment2At = 0)
{
    SimFileLoad load = FlowRun({}, 2);
    load.records.assign(static_cast<std::size_t>(records), SampleRecord{});
    for (int n = 1; n <= records; ++n) {
        SampleRecord& r = load.records[static_cast<std::size_t>(n) - 1];
        r.time = 0.1 * (n - 1);
        const bool after = n >= stepAt;
        r.field(kFieldFlowSP) = after ? 1.0f : 0.0f;
        r.field(kFieldFlowMV) =
            after ? static_cast<float>(1.0 - std::exp(-0.1 * (n - stepAt))) : 0.0f;
        r.segment = segment2At > 0 && n >= segment2At ? 2 : 1;
    }
    load.sampleCount = records;
    return load;
}

std::string Text(double v)
{
    return ShortestText(v);
}

fs::path TempDir(const std::string& name)
{
    const fs::path dir =
        fs::temp_directory_path() / ("velmor-grade-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

} // namespace

TEST(SheetGrade, FiguresOfAKnownResponseAndTheirEdges)
{
    const SimFileLoad run = FirstOrder(100, 2);
    const LoopFigures f = AnalyseLoop(run.records, ControlledLoops(Exercise::Flow)[0], 0.1f);
    const double iae = *f.segments[0].iae;
    const double below = std::nextafter(iae, 0.0);
    struct Case {
        std::string target;
        bool passed;
        std::optional<double> value;
    };
    const Case cases[] = {
        // Limits are inclusive: the figure itself as max or min passes.
        {R"({"loop": "flow", "figure": "iae", "max": )" + Text(iae) + "}", true, iae},
        {R"({"loop": "flow", "figure": "iae", "min": )" + Text(iae) + "}", true, iae},
        {R"({"loop": "flow", "figure": "iae", "max": )" + Text(below) + "}", false, iae},
        // A first-order response never overshoots; it rises in 2.2 tau.
        {R"({"loop": "flow", "figure": "overshootPercent", "max": 0})", true, 0.0},
        {R"({"loop": "flow", "figure": "riseTime", "step": "start", "min": 2.19, "max": 2.21})",
         true, *f.segments[0].steps[0].riseTime},
        {R"({"loop": "flow", "figure": "stable", "equals": true})", true, 1.0},
        {R"({"loop": "flow", "figure": "stable", "equals": false})", false, 1.0},
        // Figures that cannot be computed meet no target, however wide.
        {R"({"loop": "flow", "figure": "riseTime", "step": 2, "max": 1e9})", false, std::nullopt},
        {R"({"loop": "flow", "figure": "iae", "segment": 2, "max": 1e9})", false, std::nullopt},
    };
    for (const Case& c : cases) {
        const LabSheet sheet = Sheet(c.target);
        const RunGrade g = GradeRun(sheet, run);
        ASSERT_EQ(g.targets.size(), 1u) << c.target;
        EXPECT_EQ(g.targets[0].passed, c.passed) << c.target;
        EXPECT_EQ(g.passed, c.passed) << c.target;
        EXPECT_EQ(g.targets[0].value, c.value) << c.target;
    }
}

TEST(SheetGrade, StepsAndSegmentsArePickedAsAnalyseNumbersThem)
{
    // Starting at the set point there is no start step: "start" has no
    // value while "first" is the step at record 50.
    const SimFileLoad atRest = FirstOrder(200, 50);
    const LabSheet sheet = Sheet(
        R"({"loop": "flow", "figure": "peakTime", "step": "start", "max": 1e9},
           {"loop": "flow", "figure": "peakTime", "step": "first", "max": 1e9})");
    const RunGrade g = GradeRun(sheet, atRest);
    EXPECT_FALSE(g.targets[0].value.has_value());
    EXPECT_FALSE(g.targets[0].passed);
    ASSERT_TRUE(g.targets[1].value.has_value());
    EXPECT_EQ(g.targets[1].step, 1);
    EXPECT_TRUE(g.targets[1].passed);

    // "last" is the segment the run ended in.
    const SimFileLoad twoSegments = FirstOrder(200, 2, 120);
    const LoopFigures f =
        AnalyseLoop(twoSegments.records, ControlledLoops(Exercise::Flow)[0], 0.1f);
    ASSERT_EQ(f.segments.size(), 2u);
    const RunGrade last = GradeRun(Sheet(R"({"loop": "flow", "figure": "iae", "max": 1e9},
                          {"loop": "flow", "figure": "iae", "segment": 1, "max": 1e9})"),
                                   twoSegments);
    EXPECT_EQ(last.targets[0].segment, 2);
    EXPECT_EQ(last.targets[0].value, f.segments[1].iae);
    EXPECT_EQ(last.targets[1].value, f.segments[0].iae);
    EXPECT_NE(f.segments[0].iae, f.segments[1].iae);
}

TEST(SheetGrade, ShortRunsOtherExercisesAndLockedSettingsFail)
{
    const std::string target = R"({"loop": "flow", "figure": "iae", "max": 1e9})";
    const SimFileLoad run = FirstOrder(100, 2);
    // Exactly minRecords is enough; one fewer meets no target.
    EXPECT_TRUE(GradeRun(Sheet(target, R"("minRecords": 100, )"), run).passed);
    const RunGrade tooShort = GradeRun(Sheet(target, R"("minRecords": 101, )"), run);
    EXPECT_TRUE(tooShort.shortRun);
    EXPECT_FALSE(tooShort.passed);
    EXPECT_FALSE(tooShort.targets[0].passed);

    SimFileLoad level = run;
    level.exercise = Exercise::Level;
    const RunGrade other = GradeRun(Sheet(target), level);
    EXPECT_EQ(other.refused, "the file holds a level run, not flow");
    EXPECT_FALSE(other.passed);

    // A locked value read back through the file's float is no change; a
    // value the student typed is, and so is another waveform.
    const std::string locks =
        R"("settings": {"flowWaveform": 4, "waveA": 1.3, "flowGain": 0.7, "flowIntegralTime": 0.3},
           "locked": ["flowWaveform", "waveA", "flowGain"], )";
    const LabSheet sheet = Sheet(target, locks);
    const std::vector<std::string> asSheet = {"flowWaveform=4", "waveA=1.3", "flowGain=0.7"};
    EXPECT_TRUE(GradeRun(sheet, FlowRun(asSheet)).changedLocked.empty());
    // flowIntegralTime is not locked: changing it is allowed.
    std::vector<std::string> sets = asSheet;
    sets.push_back("flowIntegralTime=2");
    EXPECT_TRUE(GradeRun(sheet, FlowRun(sets)).passed);
    sets.push_back("flowGain=0.8");
    const RunGrade changed = GradeRun(sheet, FlowRun(sets));
    EXPECT_EQ(changed.changedLocked, std::vector<std::string>{"flowGain"});
    EXPECT_FALSE(changed.passed);
    EXPECT_EQ(GradeRun(sheet, FlowRun({"flowGain=0.7", "flowWaveform=1"})).changedLocked,
              (std::vector<std::string>{"flowWaveform", "waveA"}));
}

TEST(SheetGradeCli, GradesFilesAndAFolderWithItsExitStatus)
{
    const fs::path dir = TempDir("cli");
    const fs::path runs = dir / "class";
    fs::create_directories(runs);
    // Two runs of the class: b passes, a (the default gain, an overshoot
    // far past 10 %) does not. Named so that the folder's order is a, b.
    for (const auto& [name, gain] : {std::pair{"b.psm", "0.3"}, std::pair{"a.psm", "2"}}) {
        const auto r =
            Cli({"run", "flow", "--set", "flowWaveform=4", "--set", "flowGain=" + std::string(gain),
                 "--records", "600", "--out", (runs / name).string()});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    std::ofstream((runs / "notes.txt").string()) << "not a run";
    std::ofstream((dir / "level.psm").string()) << Cli({"run", "level", "--records", "20"}).out;
    const fs::path sheet = dir / "s.vlab";
    std::ofstream(sheet.string())
        << R"({"velmorLabSheet": 1, "title": {"en": "Step, tuned", "es": "E"}, "exercise": "flow",
              "settings": {"flowWaveform": 4}, "locked": ["flowWaveform"],
              "targets": [{"loop": "flow", "figure": "overshootPercent", "step": "start", "max": 10},
                          {"loop": "flow", "figure": "stable", "equals": true}]})";

    const auto graded = Cli({"grade", sheet.string(), runs.string()});
    EXPECT_EQ(graded.status, 0) << graded.err;
    const std::size_t a = graded.out.find("class/a.psm");
    const std::size_t b = graded.out.find("class/b.psm");
    ASSERT_NE(a, std::string::npos) << graded.out;
    ASSERT_NE(b, std::string::npos);
    EXPECT_LT(a, b);
    EXPECT_EQ(graded.out.find("notes.txt"), std::string::npos);
    EXPECT_TRUE(
        graded.out.starts_with(R"({"sheet": "Step, tuned", "exercise": "flow", "results": )"))
        << graded.out;
    EXPECT_EQ(test::JsonMember(graded.out, "passed", a), "false");
    EXPECT_EQ(test::JsonMember(graded.out, "passed", b), "true");
    // The same figure analyse prints for the same file.
    const auto analysed = Cli({"analyse", (runs / "b.psm").string()});
    EXPECT_EQ(test::JsonMember(graded.out, "value", b),
              test::JsonMember(analysed.out, "overshootPercent"));

    // A file of another exercise and a missing one are refused, the rest
    // still graded; the table has one row per file.
    const auto csv = Cli({"grade", "--csv", sheet.string(), (runs / "b.psm").string(),
                          (dir / "level.psm").string(), (dir / "none.psm").string()});
    EXPECT_EQ(csv.status, 1);
    const std::string header =
        "file,passed,1 flow overshootPercent,1 passed,2 flow stable,2 passed\r\n";
    ASSERT_TRUE(csv.out.starts_with(header)) << csv.out;
    const std::string row = (runs / "b.psm").string() + ",1," +
                            test::JsonMember(analysed.out, "overshootPercent") + ",1,1,1\r\n";
    EXPECT_EQ(csv.out.substr(header.size(), row.size()), row);
    EXPECT_NE(csv.out.find((dir / "level.psm").string() + ",0,,0,,0\r\n"), std::string::npos);
    EXPECT_NE(csv.err.find("level.psm: the file holds a level run, not flow"), std::string::npos);
    EXPECT_NE(csv.err.find("none.psm: cannot read it: No such file or directory"),
              std::string::npos);

    // An invalid sheet or command line: status 2, nothing graded.
    std::ofstream((dir / "bad.vlab").string())
        << R"({"velmorLabSheet": 1, "title": {"en": "T"}, "exercise": "flow", "targets": [{"loop": "flow", "figure": "overshot", "max": 1}]})";
    const auto bad = Cli({"grade", (dir / "bad.vlab").string(), runs.string()});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find(R"(bad.vlab: targets[0].figure: "overshot" is not a figure)"),
              std::string::npos)
        << bad.err;
    fs::create_directories(dir / "empty");
    EXPECT_EQ(Cli({"grade", sheet.string(), (dir / "empty").string()}).status, 2);
    EXPECT_EQ(Cli({"grade", sheet.string()}).status, 2);
    fs::remove_all(dir);
}

TEST(SheetGrade, EveryLockableSettingReadsBackFromARunFile)
{
    // A sheet locking every setting at the value the exercise opens with,
    // and a run that changed none: nothing may be reported as changed (a
    // value that reads back otherwise through the file would be).
    for (const Exercise e : Exercises()) {
        const std::string word(CommandWord(e));
        VelmorState fresh;
        OpenExerciseState(fresh, e, true);
        std::string settings;
        std::string locked;
        for (const std::string_view name : SettingNames(e)) {
            const std::optional<double> v = SettingValue(fresh, e, name);
            if (!v || name == "pumpOn") {
                continue;
            }
            settings += (settings.empty() ? "\"" : ", \"") + std::string(name) +
                        "\": " + ShortestText(static_cast<float>(*v));
            locked += (locked.empty() ? "\"" : ", \"") + std::string(name) + "\"";
        }
        const std::string loop = e == Exercise::Open ? "" : std::string(ControlledLoops(e)[0].name);
        if (loop.empty()) {
            continue; // no target can be set for it
        }
        const std::string text = R"({"velmorLabSheet": 1, "title": {"en": "T"}, "exercise": ")" +
                                 word + R"(", "settings": {)" + settings + R"(}, "locked": [)" +
                                 locked + R"(], "targets": [{"loop": ")" + loop +
                                 R"(", "figure": "iae", "min": 0}]})";
        const LabSheetResult sheet = ReadLabSheetText(text);
        ASSERT_TRUE(sheet.ok()) << sheet.error << "\n" << text;
        const auto run = Cli({"run", word, "--records", "50"});
        const SimFileResult load = ReadSimulationText(run.out, {});
        ASSERT_TRUE(load.ok());
        EXPECT_EQ(GradeRun(*sheet.sheet, *load.load).changedLocked, std::vector<std::string>{})
            << word;
    }
    // A level file does not keep the Auto drain box: a ticked box locked by
    // the sheet is not taken for a change.
    const LabSheetResult autodrain = ReadLabSheetText(
        R"({"velmorLabSheet": 1, "title": {"en": "T"}, "exercise": "level",
            "settings": {"chkAutodrain": 1}, "locked": ["chkAutodrain"],
            "targets": [{"loop": "level", "figure": "iae", "min": 0}]})");
    ASSERT_TRUE(autodrain.ok()) << autodrain.error;
    const SimFileResult level = ReadSimulationText(
        Cli({"run", "level", "--set", "chkAutodrain=1", "--records", "50"}).out, {});
    ASSERT_TRUE(level.ok());
    EXPECT_TRUE(GradeRun(*autodrain.sheet, *level.load).passed);
}
