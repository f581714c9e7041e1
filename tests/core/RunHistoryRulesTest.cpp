// The run history's rules without a window: the names it gives and the only
// names it owns, a free name for runs ending in the same second, which runs
// go past the bound, and the summary a list shows of a run.
#include "core/analysis/ResponseFigures.h"
#include "core/analysis/RunSummary.h"
#include "core/exercises/Waveform.h"
#include "core/rundata/HistoryNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmor;

namespace {

const HistoryStamp kStamp{2026, 12, 9, 14, 5, 33};

} // namespace

TEST(HistoryNames, NameOfEveryExerciseReadsBack)
{
    const std::pair<Exercise, const char*> words[] = {
        {Exercise::Flow, "flow"},   {Exercise::Level, "level"},
        {Exercise::Open, "open"},   {Exercise::Temperature, "temperature"},
        {Exercise::Batch, "batch"},
    };
    for (const auto& [e, word] : words) {
        for (int copy : {1, 2, 17}) {
            const HistoryName name{kStamp, e, copy};
            const std::string text = HistoryFileName(name);
            std::string expected = "2026-12-09_14-05-33_";
            expected.append(word);
            if (copy > 1) {
                expected.append("_").append(std::to_string(copy));
            }
            expected.append(".psm");
            EXPECT_EQ(text, expected);
            EXPECT_EQ(ParseHistoryFileName(text), name) << text;
        }
    }
    EXPECT_EQ(HistoryFileName({{2027, 1, 2, 3, 4, 5}, Exercise::Flow, 1}),
              "2027-01-02_03-04-05_flow.psm");
}

TEST(HistoryNames, RunsMadeForALabSheetNameIt)
{
    // The label comes from the sheet's file name; digits first would read as
    // a copy number, an underscore as the next part.
    EXPECT_EQ(SheetLabel("Flow Step_Tuning.vlab"), "flow-step-tuning");
    EXPECT_EQ(SheetLabel("2026-lab.vlab"), "lab");
    EXPECT_EQ(SheetLabel("2026.vlab"), "");
    EXPECT_EQ(SheetLabel(std::string(60, 'a') + ".vlab"), std::string(40, 'a'));
    std::vector<std::string> taken;
    for (int k = 0; k < 2; ++k) {
        taken.push_back(FreeHistoryFileName(kStamp, Exercise::Flow, taken, "flow-step-tuning"));
    }
    EXPECT_EQ(taken[0], "2026-12-09_14-05-33_flow_flow-step-tuning.psm");
    EXPECT_EQ(taken[1], "2026-12-09_14-05-33_flow_2_flow-step-tuning.psm");
    const HistoryName second{kStamp, Exercise::Flow, 2, "flow-step-tuning"};
    EXPECT_EQ(ParseHistoryFileName(taken[1]), second);
    // Only a label the program could have written is ours.
    for (const char* foreign :
         {"2026-12-09_14-05-33_flow_Step.psm", "2026-12-09_14-05-33_flow_step_x.psm",
          "2026-12-09_14-05-33_flow_2_3.psm"}) {
        EXPECT_FALSE(ParseHistoryFileName(foreign).has_value()) << foreign;
    }
}

TEST(HistoryNames, OnlyTheHistorysOwnShapeIsOurs)
{
    for (const char* foreign : {
             "mine.psm",
             "notes.txt",
             "2026-12-09_14-05-33_flow.PSM",
             "2026-12-09_14-05-33_flow.psm.bak",
             "x2026-12-09_14-05-33_flow.psm",
             "2026-12-09_14-05-33_Flow.psm",
             "2026-12-09_14-05-33_manual.psm",
             "2026-12-09_14-05-33_.psm",
             "2026-12-09_14-05-33_flow_1.psm",
             "2026-12-09_14-05-33_flow_02.psm",
             "2026-12-09_14-05-33_flow_.psm",
             "2026-12-09_14-05-33_flow_2x.psm",
             "2026-13-09_14-05-33_flow.psm",
             "2026-12-00_14-05-33_flow.psm",
             "2026-12-09_24-05-33_flow.psm",
             "2026-12-09_14-60-33_flow.psm",
             "2026-12-9_14-05-33_flow.psm",
             "2026-12-09 14-05-33_flow.psm",
             "2026-12-09_14:05:33_flow.psm",
             "2026-12-09_14-05-33flow.psm",
         }) {
        EXPECT_FALSE(ParseHistoryFileName(foreign).has_value()) << foreign;
    }
}

TEST(HistoryNames, RunsEndingInTheSameSecondGetTheirOwnNames)
{
    std::vector<std::string> taken = {"2026-12-09_14-05-33_level.psm"};
    // Another exercise's run in that second is no clash.
    EXPECT_EQ(FreeHistoryFileName(kStamp, Exercise::Flow, taken), "2026-12-09_14-05-33_flow.psm");
    for (const char* next : {"2026-12-09_14-05-33_flow.psm", "2026-12-09_14-05-33_flow_2.psm",
                             "2026-12-09_14-05-33_flow_3.psm"}) {
        const std::string name = FreeHistoryFileName(kStamp, Exercise::Flow, taken);
        EXPECT_EQ(name, next);
        taken.push_back(name);
    }
    // Later copies are newer.
    EXPECT_TRUE(NewerRun(*ParseHistoryFileName(taken[3]), *ParseHistoryFileName(taken[2])));
}

TEST(HistoryNames, TheOldestOfOursGoPastTheBound)
{
    std::vector<std::string> names = {"notes.txt", "mine.psm", "2019-01-01_00-00-00_manual.psm"};
    // Written out of order: a minute apart, a second copy in each minute.
    for (int minute : {7, 3, 9, 1, 5}) {
        for (int copy : {2, 1}) {
            names.push_back(HistoryFileName({{2026, 1, 1, 10, minute, 0}, Exercise::Open, copy}));
        }
    }
    EXPECT_TRUE(HistoryNamesToRemove(names, 10).empty());
    EXPECT_EQ(
        HistoryNamesToRemove(names, 7),
        (std::vector<std::string>{"2026-01-01_10-03-00_open.psm", "2026-01-01_10-01-00_open_2.psm",
                                  "2026-01-01_10-01-00_open.psm"}));
    // The run just written stays even when its clock was put back.
    EXPECT_EQ(HistoryNamesToRemove(names, 9, "2026-01-01_10-01-00_open.psm"),
              (std::vector<std::string>{"2026-01-01_10-01-00_open_2.psm"}));
}

namespace {

// A Flow log: set point 1 L/min; the flow follows with a small error in
// segment 1 (PG 2.5, I 0.8); segment 2 (PG 3 from record 21) has a step to
// 1.5 at record 25 that overshoots to 1.6.
std::vector<SampleRecord> TwoSegmentFlowLog()
{
    std::vector<SampleRecord> log(60);
    for (std::size_t i = 0; i < log.size(); ++i) {
        SampleRecord& r = log[i];
        const int n = static_cast<int>(i) + 1;
        r.time = 0.1 * static_cast<double>(i);
        r.segment = n <= 20 ? 1 : 2;
        r.field(kFieldFlowPG) = n <= 20 ? 2.5f : 3.0f;
        r.field(kFieldFlowI) = 0.8f;
        r.field(kFieldFlowSP) = n < 25 ? 1.0f : 1.5f;
        r.field(kFieldFlowMV) = n < 5 ? 1.0f : (n < 25 ? 0.95f : (n < 30 ? 1.6f : 1.5f));
    }
    return log;
}

} // namespace

TEST(RunSummary, FiguresOfTheFirstStepAndTheStartingController)
{
    const std::vector<SampleRecord> log = TwoSegmentFlowLog();
    const RunSummary s = SummariseRun(log, Exercise::Flow, SimSettings{});
    EXPECT_EQ(s.records, 60);
    EXPECT_DOUBLE_EQ(s.duration, 5.9);
    EXPECT_EQ(s.segments, 2);
    ASSERT_TRUE(s.controller.has_value());
    EXPECT_FLOAT_EQ(s.controller->pg, 2.5f); // as the run started, not as it ended
    EXPECT_FLOAT_EQ(s.controller->i, 0.8f);
    ASSERT_TRUE(s.overshootPercent.has_value());
    EXPECT_NEAR(*s.overshootPercent, 20.0, 1e-4);
    // The IAE of the step's segment, not of the first one.
    const LoopFigures figures = AnalyseLoop(log, ControlledLoops(Exercise::Flow)[0], 0.1f);
    ASSERT_EQ(figures.segments.size(), 2u);
    ASSERT_TRUE(s.iae.has_value());
    EXPECT_DOUBLE_EQ(*s.iae, *figures.segments[1].iae);
    EXPECT_NE(*s.iae, *figures.segments[0].iae);
}

TEST(RunSummary, WithoutAStepTheFirstSegmentsIae)
{
    std::vector<SampleRecord> log = TwoSegmentFlowLog();
    for (SampleRecord& r : log) {
        r.field(kFieldFlowSP) = 1.0f;
    }
    const RunSummary s = SummariseRun(log, Exercise::Flow, SimSettings{});
    EXPECT_FALSE(s.overshootPercent.has_value());
    ASSERT_TRUE(s.iae.has_value());
    // 0.05 L/min off over records 5..20 of segment 1: 1.6 s.
    EXPECT_NEAR(*s.iae, 0.05 * 1.6, 0.006);
}

TEST(RunSummary, OpenLoopShowsItsWaveform)
{
    SimSettings settings;
    settings.waveformType = kStep;
    settings.openA = 90;
    settings.openB = 20;
    settings.openC = 40;
    std::vector<SampleRecord> log(3);
    log[2].time = 0.2;
    const RunSummary s = SummariseRun(log, Exercise::Open, settings);
    EXPECT_FALSE(s.controller.has_value());
    EXPECT_FALSE(s.overshootPercent.has_value());
    EXPECT_FALSE(s.iae.has_value());
    EXPECT_EQ(s.waveform, kStep);
    EXPECT_FLOAT_EQ(s.waveA, 90);
    EXPECT_FLOAT_EQ(s.waveC, 40);
    EXPECT_DOUBLE_EQ(s.duration, 0.2);
    EXPECT_EQ(s.segments, 1);
}
