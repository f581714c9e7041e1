// The run skeleton shared by every loop: clearing, record limits, second
// index, and the set-point generator.
#include "TestRun.h"

#include "core/exercises/ExerciseProfile.h"
#include "core/exercises/Waveform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <span>
#include <string>

using namespace velmor;
using velmor::test::RecordingSink;
using velmor::test::TestRun;

TEST(SecondIndex, StopInTheFirstWaitGivesTwoRecords)
{
    TestRun r(Exercise::Flow);
    RunHeadless(*r.engine, [&] { r.state.run.runActive = false; });
    EXPECT_EQ(r.state.run.sampleCount, 2);
    EXPECT_EQ(r.state.log.secondIndex[0], 1);
    for (int s = 1; s <= kLastIndexedSecond; ++s) {
        ASSERT_EQ(r.state.log.secondIndex[s], 2) << "second " << s;
    }
    EXPECT_EQ(r.state.log.secondIndexFilled, 1);
}

TEST(SecondIndex, EntryOfSecondSIsRecordTenSPlusOne)
{
    for (Exercise e : {Exercise::Flow, Exercise::Level, Exercise::Open, Exercise::Temperature,
                       Exercise::Batch}) {
        TestRun r(e);
        r.state.batch.expectedTime = 600;
        RunHeadless(*r.engine);
        EXPECT_EQ(r.state.run.sampleCount, kLogRecords);
        EXPECT_EQ(r.state.log.secondIndexFilled, 600);
        for (int s = 1; s < 600; ++s) {
            ASSERT_EQ(r.state.log.secondIndex[s], 10 * s + 1) << CommandWord(e) << " second " << s;
        }
        // Seconds the run never reached point at the last record.
        EXPECT_EQ(r.state.log.secondIndex[600], 6000);
        EXPECT_EQ(r.state.log.secondIndex[780], 6000);
    }
}

TEST(SecondIndex, LongRunsNeverWritePastSecond780)
{
    SampleLog log;
    log.resetSecondIndex();
    for (int n = 2; n <= 3000; ++n) {
        log.secondIndexStep((n - 1) * 0.5, n); // a 0.5 s sample period
    }
    EXPECT_EQ(log.secondIndexCursor, 781);
    EXPECT_EQ(log.secondIndexFilled, 780);
    EXPECT_EQ(log.secondIndex[780], 1561);
    log.finishSecondIndex(3000);
    EXPECT_EQ(log.secondIndex[780], 1561);
}

TEST(RunLimit, ARunLeftAloneEndsAtRecord6000)
{
    TestRun r(Exercise::Flow);
    RunHeadless(*r.engine);
    EXPECT_EQ(r.state.run.sampleCount, 6000);
    EXPECT_FALSE(r.state.run.runActive);
    EXPECT_NEAR(r.record(6000).time, 600.0, 1e-4);
}

TEST(Clearing, StartZeroesOnlyTheExercisesOwnFields)
{
    TestRun r(Exercise::Flow);
    for (SampleRecord& rec : r.state.log.records) {
        rec.time = 9;
        rec.values.fill(9.0f);
        rec.segment = 9;
    }
    r.start();
    const SampleRecord& last = r.record(6000);
    EXPECT_EQ(last.time, 0.0);
    for (int f = 2; f <= 7; ++f) {
        EXPECT_EQ(last.field(f), 0.0f) << f;
    }
    for (int f = 8; f <= 23; ++f) {
        EXPECT_EQ(last.field(f), 9.0f) << f; // other exercises' fields stay
    }
    EXPECT_EQ(last.segment, 9);

    TestRun level(Exercise::Level);
    for (SampleRecord& rec : level.state.log.records) {
        rec.values.fill(9.0f);
        rec.segment = 9;
    }
    level.start();
    const SampleRecord& l = level.record(6000);
    EXPECT_EQ(l.field(kFieldOutput), 0.0f);
    EXPECT_EQ(l.field(kFieldLevelSP), 0.0f);
    EXPECT_EQ(l.field(kFieldLevelD), 0.0f);
    EXPECT_EQ(l.segment, 0);
    EXPECT_EQ(l.field(kFieldFlowSP), 9.0f);
    EXPECT_EQ(l.field(kFieldHeater), 9.0f);
}

TEST(Clearing, StartTellsWhetherThereWasDataBefore)
{
    // Over a loaded or earlier trend the Trends window's cursor line goes
    // with the new run; with no data yet one still shown stays.
    TestRun browsed(Exercise::Temperature);
    browsed.state.trend.trendNoData = false;
    browsed.start();
    ASSERT_EQ(browsed.trends.starts.size(), 1u);
    EXPECT_FALSE(browsed.trends.starts[0].hadNoData);
    EXPECT_FALSE(browsed.state.trend.trendNoData);

    TestRun fresh(Exercise::Temperature);
    ASSERT_TRUE(fresh.state.trend.trendNoData);
    fresh.start();
    EXPECT_TRUE(fresh.trends.starts[0].hadNoData);
    EXPECT_FALSE(fresh.state.trend.trendNoData);
}

namespace {

// Set point of a Flow run at cycle time t for waveform w.
float SetPointAt(std::int32_t w, double t, std::int32_t span = 60)
{
    WaveParams p = WaveParams::WithDefaults(1.5f, 0.5f, 25.0f);
    return WaveStep(w, p, t, span, -1.0f);
}

double CycleTime(int k)
{
    return static_cast<double>(static_cast<long double>(k) * 0.1f);
}

} // namespace

TEST(TrendFeed, TheTrendsWindowIsToldEachRecordWithItsTimeAndSegment)
{
    for (Exercise e : {Exercise::Flow, Exercise::Level, Exercise::Open, Exercise::Temperature,
                       Exercise::Batch}) {
        SCOPED_TRACE(CommandWord(e));
        TestRun r(e);
        r.start();
        ASSERT_EQ(r.trends.starts.size(), 1u);
        const RunStart& start = r.trends.starts[0];
        // The run draws live what its Trends window shows at first, each
        // trace from record 1 on a first run.
        const std::span<const TraceId> checked = ProfileOf(e).trends.checked;
        EXPECT_EQ(std::set<TraceId>(start.traces.begin(), start.traces.end()),
                  std::set<TraceId>(checked.begin(), checked.end()));
        for (TraceId id : start.traces) {
            EXPECT_EQ(start.firstValues[id],
                      r.record(1).field(TraceTable()[static_cast<std::size_t>(id)].field));
        }
        // Marks follow the segments wherever there is a settings box.
        EXPECT_EQ(start.settingsMarks, !ProfileOf(e).trends.settingsColumns.empty());

        r.cycles(10);
        ProfileOf(e).engineSteps->counters(r.state).segment = 2; // a setting changed
        r.cycles(10);
        ASSERT_EQ(r.trends.appended.size(), 20u);
        for (std::size_t i = 0; i < 20; ++i) {
            const RecordingSink::Appended& a = r.trends.appended[i];
            EXPECT_EQ(a.recordNumber, static_cast<int>(i) + 2);
            // The cycle time the second index is stamped with.
            EXPECT_NEAR(a.cycleTime, static_cast<double>(i + 1) * 0.1, 1e-6);
            EXPECT_EQ(a.segment, i < 10 ? 1 : 2);
        }
        r.state.run.runActive = false;
        r.toEnd();
        EXPECT_EQ(r.trends.events, "S" + std::string(20, 'R') + "F");
    }
}

TEST(Generator, RampClimbsOverTheTimeSpanAndStartsAgain)
{
    EXPECT_EQ(SetPointAt(kRamp, CycleTime(300)), 1.0f);
    EXPECT_EQ(SetPointAt(kRamp, CycleTime(600)), 0.5f);
    EXPECT_NEAR(SetPointAt(kRamp, CycleTime(599)), 1.4983f, 1e-4);
    // The period follows the span, not the entered C.
    EXPECT_EQ(SetPointAt(kRamp, CycleTime(600), 120), 1.0f);
}

TEST(Generator, StepIsMinUpToHalfThePeriodInclusive)
{
    EXPECT_EQ(SetPointAt(kStep, CycleTime(0)), 0.5f);
    EXPECT_EQ(SetPointAt(kStep, CycleTime(125)), 0.5f); // t = 12.5 s, kept as a float
    EXPECT_EQ(SetPointAt(kStep, CycleTime(126)), 1.5f);
    EXPECT_EQ(SetPointAt(kStep, CycleTime(250)), 0.5f);
    EXPECT_EQ(WaveTau(CycleTime(125), 25.0f), 12.5f);
}

TEST(Generator, SineStartsMidwayAndPeaksAtAQuarter)
{
    EXPECT_EQ(SetPointAt(kSine, 0.0), 1.0f);
    WaveParams p = WaveParams::WithDefaults(1.5f, 0.5f, 25.0f);
    EXPECT_FLOAT_EQ(WaveValue(kSine, p, 6.25f, 60, 0), 1.5f);
    EXPECT_FLOAT_EQ(WaveValue(kSine, p, 18.75f, 60, 0), 0.5f);
}

TEST(Generator, SawtoothAndFlat)
{
    WaveParams p = WaveParams::WithDefaults(1.5f, 0.5f, 25.0f);
    EXPECT_FLOAT_EQ(WaveValue(kSawtooth, p, 12.5f, 60, 0), 1.0f);
    EXPECT_EQ(WaveValue(kSawtooth, p, 0.0f, 60, 0), 0.5f);
    EXPECT_EQ(WaveValue(kFlat, p, 7.0f, 60, 0), 1.5f);
}

TEST(Generator, UnknownTypesKeepTheSetPointAndNeverReadOutsideTheTable)
{
    WaveParams p = WaveParams::WithDefaults(1.5f, 0.5f, 25.0f);
    EXPECT_EQ(WaveStep(0, p, 3.0, 60, 0.75f), 0.75f);
    EXPECT_EQ(WaveStep(9, p, 3.0, 60, 0.75f), 0.75f);
    EXPECT_EQ(p.A(16), 0.0f);
    EXPECT_EQ(p.C(7), 0.0f);
    p.setC(7, 3.0f); // ignored
    EXPECT_EQ(p.C(7), 0.0f);
}

TEST(Generator, AWaveformChangedMidRunKeepsTheRunsTimeBase)
{
    TestRun r(Exercise::Flow);
    r.start();
    r.cycles(99); // cycle times up to 9.9 s
    ChooseWaveform(r.state, Exercise::Flow, kStep);
    r.cycles(40);                                       // 10.0 .. 13.9 s: B up to 12.5 s, then A
    EXPECT_EQ(r.record(100).field(kFieldFlowSP), 1.5f); // Flat before the change
    EXPECT_EQ(r.record(101).field(kFieldFlowSP), 0.5f); // t = 10.0 s
    EXPECT_EQ(r.record(126).field(kFieldFlowSP), 0.5f); // t = 12.5 s
    EXPECT_EQ(r.record(127).field(kFieldFlowSP), 1.5f); // t = 12.6 s
}
