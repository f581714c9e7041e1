#include "TestRun.h"

#include "core/Arith.h"
#include "core/exercises/FlowEngine.h"

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::TestRun;

TEST(FlowRun, FirstThreeCyclesGiveNoFlowWhateverTheOutput)
{
    TestRun r(Exercise::Flow);
    r.start();
    r.cycles(3);
    for (int n = 2; n <= 4; ++n) {
        EXPECT_EQ(r.record(n).field(kFieldFlowMV), 0.0f) << "record " << n;
    }
    EXPECT_GT(r.record(2).field(kFieldOutput), 0.0f); // the controller acts from cycle 1
    r.cycles(1);
    EXPECT_GT(r.record(5).field(kFieldFlowMV), 0.0f);
}

TEST(FlowRun, RecordOneAndStamping)
{
    TestRun r(Exercise::Flow);
    r.state.flow.flowDerivativeTime = 2;
    r.state.flow.waveParams.setB(kFlat, 0.7f);
    r.start();
    const SampleRecord& first = r.record(1);
    EXPECT_EQ(first.time, 0.0);
    EXPECT_EQ(first.field(kFieldFlowSP), 0.7f); // the hidden B of the Flat slot
    EXPECT_EQ(first.field(kFieldFlowMV), 0.0f);
    EXPECT_EQ(first.field(kFieldFlowPG), 1.0f);
    EXPECT_EQ(first.field(kFieldFlowI), 0.8f);
    EXPECT_EQ(first.field(kFieldFlowD), 2.0f);
    EXPECT_EQ(first.field(kFieldOutput), 0.0f);
    EXPECT_EQ(first.segment, 1);
    EXPECT_EQ(r.state.run.sampleCount, 1);
    r.cycles(2);
    // Record n is stamped n x the 32-bit sample period.
    EXPECT_EQ(r.record(2).time, static_cast<double>(2.0L * 0.1f));
    EXPECT_NEAR(r.record(2).time, 0.2, 1e-7);
    EXPECT_EQ(r.record(3).time, static_cast<double>(3.0L * 0.1f));
    EXPECT_EQ(r.record(2).field(kFieldFlowSP), 1.5f);
}

TEST(FlowRun, PidArithmeticOfTheFirstCycle)
{
    TestRun r(Exercise::Flow);
    r.start();
    r.cycles(1);
    // Error (1.5 - 0) x 255 / 2 = 191.25 counts; integral 19.125; P 191.25.
    EXPECT_FLOAT_EQ(r.state.flow.flowError, 191.25f);
    EXPECT_EQ(r.state.flow.flowIntegral, 19.125f);
    // Trunc(19.125 / 0.8 + 0 + 191.25 + 0.5) = Trunc(215.65) = 215 counts.
    EXPECT_EQ(r.state.flow.flowCounts, 215);
    EXPECT_EQ(r.record(2).field(kFieldOutput), 84.31373f); // 215 / 255 x 100
}

TEST(FlowRun, ManualModeRunsDownAndPumpDrivesFull)
{
    TestRun r(Exercise::Flow);
    r.state.flow.flowManual = true;
    r.start();
    r.cycles(1);
    EXPECT_EQ(r.state.flow.flowCounts, 0); // from 0: 0 - 0 - 5, clamped
    r.state.run.pumpOn = true;             // pressed during a wait
    r.cycles(1);
    EXPECT_EQ(r.state.flow.flowCounts, 255);
    EXPECT_EQ(r.record(3).field(kFieldOutput), 100.0f);
    r.state.run.pumpOn = false;
    const int expected[] = {245, 236, 227, 218};
    for (int counts : expected) {
        r.cycles(1);
        EXPECT_EQ(r.state.flow.flowCounts, counts);
    }
    r.cycles(200);
    EXPECT_EQ(r.state.flow.flowCounts, 0); // never below 0
    EXPECT_EQ(r.record(r.state.run.sampleCount).field(kFieldOutput), 0.0f);
}

TEST(FlowRun, FullDriveWithTheValveOpenSettlesAt1738)
{
    TestRun r(Exercise::Flow);
    r.state.flow.flowManual = true;
    r.start();
    r.state.run.pumpOn = true;
    r.cycles(600);
    EXPECT_NEAR(r.state.run.flowRate, 1.738f, 0.0006f);
}

TEST(FlowRun, GateValveScalesTheFlowAndZeroStopsIt)
{
    TestRun open(Exercise::Flow);
    TestRun half(Exercise::Flow);
    half.state.run.gateValvePercent = 50;
    TestRun shut(Exercise::Flow);
    shut.state.run.gateValvePercent = 0;
    for (TestRun* r : {&open, &half, &shut}) {
        r->state.flow.flowManual = true;
        r->start();
        r->state.run.pumpOn = true;
        r->cycles(50);
    }
    EXPECT_EQ(shut.state.run.flowRate, 0.0f);
    EXPECT_EQ(shut.state.flow.flowCounts, 255);
    EXPECT_NEAR(half.state.run.flowRate, open.state.run.flowRate / 2, 1e-6);
}

TEST(FlowRun, IntegralSwitchedOffHoldsZeroAndLogsZero)
{
    TestRun r(Exercise::Flow);
    r.start();
    r.cycles(5);
    EXPECT_NE(r.state.flow.flowIntegral, 0.0f);
    SetIBox(FlowLoop(r.state), false);
    r.cycles(1);
    EXPECT_EQ(r.state.flow.flowIntegral, 0.0f);
    EXPECT_EQ(r.record(7).field(kFieldFlowI), 0.0f);
    EXPECT_EQ(r.record(7).segment, 2);
    EXPECT_EQ(r.record(6).field(kFieldFlowI), 0.8f);
}

TEST(FlowRun, SwitchingModesKeepsThePidState)
{
    TestRun r(Exercise::Flow);
    r.start();
    r.cycles(10);
    const float integral = r.state.flow.flowIntegral;
    const int counts = r.state.flow.flowCounts;
    r.state.flow.flowManual = true;
    r.cycles(1);
    EXPECT_EQ(r.state.flow.flowCounts, counts - counts / 50 - 5); // from the last PID counts
    EXPECT_EQ(r.state.flow.flowIntegral, integral);
    r.state.flow.flowManual = false;
    r.cycles(1);
    EXPECT_NE(r.state.flow.flowIntegral, 0.0f);
    EXPECT_GT(r.state.flow.flowIntegral, integral); // continued, not reset
}

TEST(FlowRun, EndOfRunKeepsLastValuesAndFinishesTheIndex)
{
    TestRun r(Exercise::Flow);
    r.start();
    r.cycles(149);
    r.state.run.runActive = false; // STOP
    r.toEnd();
    EXPECT_EQ(r.state.run.sampleCount, 150);
    EXPECT_EQ(r.state.flow.flowLastSP, r.state.run.flowSetPoint);
    EXPECT_EQ(r.state.flow.flowLastPV, r.state.run.flowRate);
    EXPECT_TRUE(r.trends.events.ends_with("RF")); // the Trends window is told
    // Cycle times reach 14.9 s: seconds 1..14 are indexed, the rest point
    // at the last record.
    EXPECT_EQ(r.state.log.secondIndexFilled, 15);
    EXPECT_EQ(r.state.log.secondIndex[14], 141);
    EXPECT_EQ(r.state.log.secondIndex[15], 150);
    EXPECT_EQ(r.state.log.secondIndex[780], 150);
}

TEST(FlowRun, StartResetsPumpAndOutputButKeepsSettings)
{
    TestRun r(Exercise::Flow);
    r.state.flow.flowManual = true;
    r.start();
    r.state.run.pumpOn = true;
    r.cycles(30);
    r.state.run.runActive = false;
    r.toEnd();
    r.engine->start();
    EXPECT_FALSE(r.state.run.pumpOn);
    EXPECT_EQ(r.state.run.outputPercent, 0.0f);
    EXPECT_EQ(r.state.run.flowRate, 0.0f);
    EXPECT_TRUE(r.state.flow.flowManual);
    r.cycles(3);
    EXPECT_EQ(r.record(4).field(kFieldFlowMV), 0.0f); // the plant restarted from rest
}
