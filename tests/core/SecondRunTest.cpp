// START pressed again after a run, in the state the run left: everything a
// run keeps for itself starts over, and exactly the values named here carry
// over into the new run. Each second run is then checked record by record
// against a first run started with those carried values.
#include "TestRun.h"

#include "core/Arith.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

using namespace velmor;
using velmor::test::TestRun;

namespace {

// Another exercise's earlier run: every field of every record is 9.
void FillLog(VelmorState& s)
{
    for (SampleRecord& rec : s.log.records) {
        rec.time = 9;
        rec.values.fill(9.0f);
        rec.segment = 9;
    }
}

// STOP in the pacing wait after record n, then the end of the run.
void StopAt(TestRun& r, int n)
{
    r.cycles(n - r.state.run.sampleCount);
    r.state.run.runActive = false;
    r.toEnd();
    ASSERT_EQ(r.state.run.sampleCount, n);
}

// A whole first run: Start, then STOP after record n.
void FirstRunTo(TestRun& r, int n)
{
    r.start();
    StopAt(r, n);
}

// The run's bookkeeping right after Start, the same for every exercise:
// the Trends window was told the first run ended, then that this one began.
void ExpectFreshBookkeeping(const TestRun& r)
{
    const VelmorState& s = r.state;
    EXPECT_EQ(s.run.sampleCount, 1);
    EXPECT_TRUE(s.run.runActive);
    EXPECT_EQ(s.log.secondIndex[0], 1);
    for (int sec = 1; sec <= kLastIndexedSecond; ++sec) {
        ASSERT_EQ(s.log.secondIndex[static_cast<std::size_t>(sec)], 0) << "second " << sec;
    }
    EXPECT_EQ(s.log.secondIndexCursor, 1);
    EXPECT_EQ(s.log.secondIndexFilled, 0);
    EXPECT_FALSE(s.trend.trendNoData);
    EXPECT_TRUE(r.trends.events.ends_with("RFS"));
    EXPECT_EQ(r.trends.starts.size(), 2u);
}

// Records 1..n of two runs, field by field; reports the first difference.
void ExpectSameRecords(const TestRun& a, const TestRun& b, int n)
{
    for (int i = 1; i <= n; ++i) {
        const SampleRecord& x = a.record(i);
        const SampleRecord& y = b.record(i);
        ASSERT_EQ(x.time, y.time) << "time of record " << i;
        for (int f = kFirstFloatField; f <= kLastFloatField; ++f) {
            ASSERT_EQ(x.field(f), y.field(f)) << "field " << f << " of record " << i;
        }
        ASSERT_EQ(x.segment, y.segment) << "segment of record " << i;
    }
}

// Records 1..n of the second run against those of a first run of `fresh`
// (set up alike, with the carried values given).
void ExpectSameAsAFirstRun(TestRun& second, TestRun& fresh, int n)
{
    fresh.start();
    second.cycles(n - 1);
    fresh.cycles(n - 1);
    ExpectSameRecords(second, fresh, n);
}

// A record the second run did not reach: its own fields cleared, the other
// exercises' fields as they were.
void ExpectClearedOwnFields(const SampleRecord& rec, std::initializer_list<int> own,
                            std::initializer_list<int> other)
{
    EXPECT_EQ(rec.time, 0.0);
    for (int f : own) {
        EXPECT_EQ(rec.field(f), 0.0f) << "own field " << f;
    }
    for (int f : other) {
        EXPECT_EQ(rec.field(f), 9.0f) << "other field " << f;
    }
}

// A value by its name, for the lists of what a run leaves and Start resets.
struct Named {
    template <typename T> Named(const char* n, T v) : name(n), value(static_cast<double>(v)) {}
    const char* name;
    double value;
};

// What the first run left: none of these is 0 (or Start would not show).
void ExpectNonZero(std::initializer_list<Named> values)
{
    for (const Named& v : values) {
        EXPECT_NE(v.value, 0.0) << v.name << " after the first run";
    }
}

// What Start resets, by name, with the value it restarts from.
void ExpectReset(std::initializer_list<Named> values, double expected = 0.0)
{
    for (const Named& v : values) {
        EXPECT_EQ(v.value, expected) << v.name << " after the second Start";
    }
}

// The counters of a run right after Start: k = 1, t = 0, segment 1.
void ExpectCountersRestarted(std::int32_t tick, double simTime, std::int32_t segment)
{
    EXPECT_EQ(tick, 1);
    EXPECT_EQ(simTime, 0.0);
    EXPECT_EQ(segment, 1);
}

double PlantHistory(const FlowPlant& p)
{
    return std::abs(p.u0) + std::abs(p.u1) + std::abs(p.u2) + std::abs(p.u3) + std::abs(p.y1) +
           std::abs(p.y2) + std::abs(p.y);
}

} // namespace

TEST(SecondRun, FlowRestartsFromRestWithItsSettings)
{
    auto configure = [](TestRun& r) {
        FillLog(r.state);
        r.enter(kCodeD, 0.5f);
        ChooseWaveform(r.state, Exercise::Flow, kSine);
    };
    TestRun r(Exercise::Flow);
    configure(r);
    FirstRunTo(r, 300);
    const FlowUnit& f = r.state.flow;
    const RunState& run = r.state.run;
    ExpectNonZero({{"flowIntegral", f.flowIntegral},
                   {"flowErrorRate", f.flowErrorRate},
                   {"flowPrevError", f.flowPrevError},
                   {"flowCounts", f.flowCounts},
                   {"flow plant", PlantHistory(f.plant)}});
    r.state.flow.flowSegment = 3; // settings changed between the runs

    r.start();
    ExpectReset({{"flowIntegral", f.flowIntegral},
                 {"flowErrorRate", f.flowErrorRate},
                 {"flowPrevError", f.flowPrevError},
                 {"flowCounts", f.flowCounts},
                 {"outputPercent", run.outputPercent},
                 {"flowRate", run.flowRate},
                 {"flow plant", PlantHistory(f.plant)}});
    ExpectCountersRestarted(f.flowTick, f.flowSimTime, f.flowSegment);
    ExpectFreshBookkeeping(r);
    // Carried: the settings and the waveform.
    EXPECT_EQ(f.flowDerivativeTime, 0.5f);
    EXPECT_EQ(f.flowWaveformAtStart, kSine);
    // Record 1: B of the Sine (0.5), no flow, no output.
    EXPECT_EQ(r.record(1).field(kFieldFlowSP), 0.5f);
    EXPECT_EQ(r.record(1).field(kFieldFlowD), 0.5f);
    EXPECT_EQ(r.record(1).segment, 1);
    // Flow clears fields 0..7 only: the segment of record 300 stays.
    ExpectClearedOwnFields(r.record(300), {2, 3, 4, 5, 6, 7}, {8, 13, 19, 23});
    EXPECT_EQ(r.record(300).segment, 1);

    TestRun fresh(Exercise::Flow);
    configure(fresh);
    ExpectSameAsAFirstRun(r, fresh, 150);

    // The second run's own index: 150 records reach 14.9 s.
    r.state.run.runActive = false;
    r.toEnd();
    EXPECT_EQ(r.state.log.secondIndexFilled, 15);
    EXPECT_EQ(r.state.log.secondIndex[14], 141);
    EXPECT_EQ(r.state.log.secondIndex[15], 150);
    EXPECT_EQ(r.state.log.secondIndex[29], 150);
}

TEST(SecondRun, FlowManualModeIsKeptAndThePumpSwitchedOff)
{
    TestRun r(Exercise::Flow);
    r.state.flow.flowManual = true;
    r.start();
    r.state.run.pumpOn = true;
    StopAt(r, 30);
    ASSERT_EQ(r.state.flow.flowCounts, 255);
    r.start();
    EXPECT_TRUE(r.state.flow.flowManual); // carried
    EXPECT_FALSE(r.state.run.pumpOn);
    r.cycles(1);
    // From 0 counts, not 255: 0 - 0 - 5, clamped.
    EXPECT_EQ(r.state.flow.flowCounts, 0);
    EXPECT_EQ(r.record(2).field(kFieldOutput), 0.0f);
}

TEST(SecondRun, LevelCarriesItsPumpOutputAndRefillsTheTank)
{
    auto configure = [](TestRun& r) {
        FillLog(r.state);
        r.state.level.chkAutodrain = true;
        r.enter(kCodeSetPoint, 60); // initial level
        r.enter(kCodeD, 6);
        r.enter(kCodeWaveRow1, 80);
    };
    TestRun r(Exercise::Level);
    configure(r);
    r.start();
    r.cycles(150);
    r.enter(kCodeWaveRow1, 40); // far below the level: the drain opens
    StopAt(r, 154);
    const LevelUnit& l = r.state.level;
    ExpectNonZero({{"drainOpen", l.drainOpen ? 1.0 : 0.0},
                   {"drainCountdown", l.drainCountdown},
                   {"levelIntegral", l.levelIntegral},
                   {"levelErrorRate", l.levelErrorRate},
                   {"levelPrevError", l.levelPrevError},
                   {"flow plant", PlantHistory(l.plant)}});
    const float lastOutput = r.state.run.outputPercent;
    ASSERT_EQ(lastOutput, 100.0f); // the integral still drives the pump

    r.start();
    ExpectReset({{"drainOpen", l.drainOpen ? 1.0 : 0.0},
                 {"drainCountdown", l.drainCountdown},
                 {"levelIntegral", l.levelIntegral},
                 {"levelErrorRate", l.levelErrorRate},
                 {"levelPrevError", l.levelPrevError},
                 {"flow plant", PlantHistory(l.plant)}});
    ExpectCountersRestarted(l.levelTick, l.levelSimTime, l.levelSegment);
    EXPECT_EQ(r.state.run.levelPercent, 60.0f);
    EXPECT_EQ(l.tankVolume, 1.938f); // 60 % of 3.23 L
    ExpectFreshBookkeeping(r);
    // Carried: outputPercent, into record 1 and the first cycles' plant input.
    EXPECT_EQ(r.state.run.outputPercent, 100.0f);
    EXPECT_EQ(r.record(1).field(kFieldOutput), 100.0f);
    // The output trace starts from 0 all the same; the level's at 60 %.
    EXPECT_EQ(r.trends.starts.back().firstValues[TraceId::FlowQ], 0.0f);
    EXPECT_EQ(r.trends.starts.back().firstValues[TraceId::LevelMV], 60.0f);
    EXPECT_EQ(r.record(1).field(kFieldLevelSP), 60.0f);
    EXPECT_EQ(r.record(1).field(kFieldLevelMV), 60.0f);
    EXPECT_TRUE(l.chkAutodrain);
    ExpectClearedOwnFields(r.record(154), {7, 19, 20, 21, 22, 23}, {2, 3, 8, 13});
    EXPECT_EQ(r.record(154).segment, 0);

    TestRun fresh(Exercise::Level);
    configure(fresh);
    fresh.enter(kCodeWaveRow1, 40);
    fresh.state.run.outputPercent = lastOutput; // the carried outputPercent
    ExpectSameAsAFirstRun(r, fresh, 150);
}

TEST(SecondRun, OpenLoopStartsWithNoFlowAndNoDrive)
{
    auto configure = [](TestRun& r) {
        FillLog(r.state);
        ChooseWaveform(r.state, Exercise::Open, kSine);
        r.state.run.gateValvePercent = 50;
    };
    TestRun r(Exercise::Open);
    configure(r);
    FirstRunTo(r, 200);
    const OpenUnit& o = r.state.open;
    const RunState& run = r.state.run;
    ExpectNonZero({{"flowRate", run.flowRate},
                   {"outputPercent", run.outputPercent},
                   {"flow plant", PlantHistory(o.plant)}});

    r.start();
    ExpectReset({{"flowRate", run.flowRate},
                 {"outputPercent", run.outputPercent},
                 {"flow plant", PlantHistory(o.plant)}});
    ExpectCountersRestarted(o.openTick, o.openSimTime, o.openSegment);
    ExpectFreshBookkeeping(r);
    // Carried: the waveform and the gate valve.
    EXPECT_EQ(o.openWaveformAtStart, kSine);
    EXPECT_EQ(r.state.run.gateValvePercent, 50);
    EXPECT_EQ(r.record(1).field(kFieldOutput), 0.0f);
    EXPECT_EQ(r.record(1).field(kFieldFlowMV), 0.0f);
    ExpectClearedOwnFields(r.record(200), {3, 7}, {2, 4, 8, 19});
    EXPECT_EQ(r.record(200).segment, 9); // Open loop logs no segment

    TestRun fresh(Exercise::Open);
    configure(fresh);
    ExpectSameAsAFirstRun(r, fresh, 150);
}

TEST(SecondRun, TemperatureCarriesItsTemperatureAndHeaterButRestartsTheModel)
{
    auto configure = [](TestRun& r) {
        FillLog(r.state);
        r.enter(kCodeSetPoint, 60);
        r.enter(kCodeD, 2);
        r.enter(kCodePG, 0.5f); // a heater that does not saturate
    };
    TestRun r(Exercise::Temperature);
    configure(r);
    FirstRunTo(r, 562); // the measured count changed in the last cycle
    const TemperatureUnit& u = r.state.temp;
    ExpectNonZero({{"tempIntegral", u.tempIntegral},
                   {"tempErrorRate", u.tempErrorRate},
                   {"tempPrevError", u.tempPrevError}});
    const float lastTemperature = r.state.run.measuredTemperature;
    const float lastHeater = r.state.run.heaterPercent;
    ASSERT_GT(lastTemperature, 20.5f);
    ASSERT_GT(lastHeater, 0.0f);
    ASSERT_LT(lastHeater, 100.0f);

    r.start();
    ExpectReset({{"tempIntegral", u.tempIntegral},
                 {"tempErrorRate", u.tempErrorRate},
                 {"tempPrevError", u.tempPrevError},
                 {"heater delay line", u.model.u[0] + u.model.u[1] + u.model.u[2] + u.model.u[3] +
                                           u.model.u[4] + u.model.u[5]}});
    ExpectCountersRestarted(u.tempTick, u.tempSimTime, u.tempSegment);
    // The model from the initial value, 20 degrees: 20 / 20 = 1.
    ExpectReset({{"y1", u.model.y1}, {"y2", u.model.y2}}, 1.0);
    EXPECT_EQ(u.model.modelPhase, 19);
    ExpectFreshBookkeeping(r);
    // Carried: measuredTemperature and heaterPercent, into record 1 (and the
    // heater into the model's delay line at its first step).
    EXPECT_EQ(r.record(1).field(kFieldTempMV), lastTemperature);
    EXPECT_EQ(r.record(1).field(kFieldHeater), lastHeater);
    EXPECT_EQ(r.record(1).field(kFieldTempSP), 60.0f);
    EXPECT_EQ(r.record(1).field(kFieldTempD), 2.0f);
    // The temperature trace goes on from where the last run left it; the
    // heater trace starts from 0.
    const TraceValues& first = r.trends.starts.back().firstValues;
    EXPECT_EQ(first[TraceId::TempMV], lastTemperature);
    EXPECT_EQ(first[TraceId::TempQ], 0.0f);
    EXPECT_EQ(first[TraceId::TempSP], 60.0f);
    ExpectClearedOwnFields(r.record(562), {8, 9, 10, 11, 12, 13}, {2, 7, 14, 19});
    EXPECT_EQ(r.record(562).segment, 0);

    TestRun fresh(Exercise::Temperature);
    configure(fresh);
    fresh.state.run.measuredTemperature = lastTemperature; // carried
    fresh.state.run.heaterPercent = lastHeater;            // carried
    ExpectSameAsAFirstRun(r, fresh, 200);
}

TEST(SecondRun, BatchStartsEmptyAtItsSetPointAfterRecordingTheOldValues)
{
    auto configure = [](TestRun& r) {
        FillLog(r.state);
        r.enter(kCodeD, 1);
        r.enter(kCodeTempD, 0.01f);
        r.enter(kCodeSumpTemperature, 10); // the heater works all the way
    };
    TestRun r(Exercise::Batch);
    configure(r);
    FirstRunTo(r, 602); // the temperature model stepped in the last cycle
    const BatchUnit& b = r.state.batch;
    ASSERT_GT(r.state.run.measuredVolume, 0.1f);
    ExpectNonZero({{"volIntegral", b.volIntegral},
                   {"volErrorRate", b.volErrorRate},
                   {"volPrevError", b.volPrevError},
                   {"batchTempIntegral", b.batchTempIntegral},
                   {"batchTempErrorRate", b.batchTempErrorRate},
                   {"batchTempPrevError", b.batchTempPrevError}});
    const float lastOutput = r.state.run.outputPercent;
    const float lastHeater = r.state.run.heaterPercent;
    const float lastTemperature = r.state.run.measuredTemperature;
    ASSERT_NE(lastOutput, 0.0f);
    ASSERT_NE(lastHeater, 0.0f);
    ASSERT_NE(lastTemperature, 30.0f);

    r.start();
    const RunState& run = r.state.run;
    ExpectReset({{"measuredVolume", run.measuredVolume},
                 {"volIntegral", b.volIntegral},
                 {"volErrorRate", b.volErrorRate},
                 {"volPrevError", b.volPrevError},
                 {"batchTempIntegral", b.batchTempIntegral},
                 {"batchTempErrorRate", b.batchTempErrorRate},
                 {"batchTempPrevError", b.batchTempPrevError},
                 {"flow model", std::abs(b.u0) + std::abs(b.u1) + std::abs(b.u2) + std::abs(b.u3) +
                                    std::abs(b.y) + std::abs(b.y1) + std::abs(b.y2)},
                 {"outputPercent", run.outputPercent},
                 {"heaterPercent", run.heaterPercent}});
    ExpectCountersRestarted(b.batchTick, b.batchSimTime, b.batchSegment);
    // The tank at the set point (30 / 20 = 1.5) with both outputs off.
    ExpectReset({{"y1", b.model.y1}, {"y2", b.model.y2}}, 1.5);
    EXPECT_EQ(b.model.modelPhase, 19);
    EXPECT_EQ(run.measuredTemperature, 30.0f);
    ExpectFreshBookkeeping(r);
    // Carried into record 1 and the first trace points only: the pump
    // output, the heater and the temperature from before this Start.
    EXPECT_EQ(r.record(1).field(kFieldOutput), lastOutput);
    EXPECT_EQ(r.record(1).field(kFieldHeater), lastHeater);
    EXPECT_EQ(r.record(1).field(kFieldTempMV), lastTemperature);
    EXPECT_EQ(r.record(1).field(kFieldVolMV), 0.0f);
    // The traces start from them too.
    const TraceValues& first = r.trends.starts.back().firstValues;
    EXPECT_EQ(first[TraceId::FlowQ], lastOutput);
    EXPECT_EQ(first[TraceId::TempQ], lastHeater);
    EXPECT_EQ(first[TraceId::TempMV], lastTemperature);
    EXPECT_EQ(first[TraceId::TempSP], 30.0f);
    ExpectClearedOwnFields(r.record(602), {7, 8, 12, 13, 14, 15, 18}, {2, 3, 19, 23});
    EXPECT_EQ(r.record(602).segment, 0);

    TestRun fresh(Exercise::Batch);
    configure(fresh);
    fresh.state.run.outputPercent = lastOutput;            // carried
    fresh.state.run.heaterPercent = lastHeater;            // carried
    fresh.state.run.measuredTemperature = lastTemperature; // carried
    ExpectSameAsAFirstRun(r, fresh, 300);
}
