// Fluid level, Open loop, Temperature and Batch volume runs.
#include "TestRun.h"

#include "core/Arith.h"

#include <gtest/gtest.h>

#include <vector>

using namespace velmor;
using velmor::test::TestRun;

// ---- Fluid level -----------------------------------------------------------

TEST(LevelRun, RecordOneAndStampingOfCycleTime)
{
    TestRun r(Exercise::Level);
    r.state.level.initialLevel = 50;
    r.state.run.outputPercent = 37.5f; // left by a previous run
    r.start();
    const SampleRecord& first = r.record(1);
    EXPECT_EQ(first.time, 0.0);
    EXPECT_EQ(first.field(kFieldLevelSP), 50.0f);
    EXPECT_EQ(first.field(kFieldLevelMV), 50.0f);
    EXPECT_EQ(first.field(kFieldLevelPG), 10.0f);
    EXPECT_EQ(first.field(kFieldLevelI), 20.0f);
    EXPECT_EQ(first.field(kFieldOutput), 37.5f);
    EXPECT_EQ(first.segment, 1);
    EXPECT_FLOAT_EQ(r.state.level.tankVolume, 1.615f);
    r.cycles(2);
    // A level record carries the cycle time (n - 1) x period.
    EXPECT_EQ(r.record(2).time, static_cast<double>(1.0L * 0.1f));
    EXPECT_EQ(r.record(3).time, static_cast<double>(2.0L * 0.1f));
    // The first cycles' plant input is the previous run's output.
    r.cycles(1);
    EXPECT_GT(r.state.level.plant.y, 0.0f);
}

TEST(LevelRun, ControllerScalesIntegralBy60AndDerivativeBy1Over60)
{
    TestRun r(Exercise::Level);
    r.state.level.levelDerivativeTime = 6;
    r.state.level.levelGain = 0.1f; // keeps the output below full drive
    r.start();
    r.cycles(1);
    // Set point 80 % -> 204 counts; level 0: error 204, integral 20.4,
    // error rate 2040 a second.
    EXPECT_EQ(r.state.level.levelError, 204.0f);
    EXPECT_EQ(r.state.level.levelIntegral, 20.4f);
    EXPECT_EQ(r.state.level.levelErrorRate, 2040.0f);
    // Trunc((20.4 / 20 x 60 + 204 + 2040 x 6 / 60) x 0.1 + 0.5)
    //   = Trunc((61.2 + 204 + 204) x 0.1 + 0.5) = Trunc(47.42) = 47 counts.
    EXPECT_EQ(r.record(2).field(kFieldOutput), 18.431372f); // 47 / 255 x 100
}

TEST(LevelRun, TheGateValveDoesNotActOnTheTank)
{
    TestRun open(Exercise::Level);
    TestRun half(Exercise::Level);
    half.state.run.gateValvePercent = 50;
    for (TestRun* r : {&open, &half}) {
        r->start();
        r->cycles(300);
    }
    EXPECT_GT(half.state.run.levelPercent, 10.0f);
    EXPECT_EQ(half.state.run.levelPercent, open.state.run.levelPercent);
    EXPECT_EQ(half.state.run.flowRate, open.state.run.flowRate);
}

TEST(LevelRun, TheTankOverflowsAtExactly100Percent)
{
    TestRun r(Exercise::Level);
    r.state.level.initialLevel = 95;
    r.enter(kCodeWaveRow1, 100); // set point 100 %
    r.start();
    r.cycles(600);
    EXPECT_EQ(r.state.run.levelPercent, 100.0f);
    EXPECT_EQ(r.state.level.tankVolume, 3.23f);
    EXPECT_EQ(r.record(601).field(kFieldLevelMV), 100.0f);
}

TEST(LevelRun, AutodrainOpensInBurstsOfFourSamples)
{
    TestRun r(Exercise::Level);
    r.state.level.chkAutodrain = true;
    r.state.level.initialLevel = 60;
    r.enter(kCodeWaveRow1, 57); // 3 % below the level: the pump stays off
    r.start();
    r.cycles(1);
    ASSERT_TRUE(r.state.level.drainOpen);
    EXPECT_EQ(r.state.level.drainCountdown, 4);
    // Each open sample takes 5.5 x 0.1 / 60 litres; after four the drain
    // closes and, the level still too high, opens again at once.
    std::vector<bool> openDuringStep;
    for (int i = 0; i < 6; ++i) {
        const float before = r.state.level.tankVolume;
        openDuringStep.push_back(r.state.level.drainOpen);
        r.cycles(1);
        EXPECT_EQ(r.state.run.flowRate, 0.0f);
        if (openDuringStep.back()) {
            EXPECT_EQ(r.state.level.tankVolume,
                      static_cast<float>(static_cast<long double>(before) - 5.5L * 0.1f / 60));
        } else {
            EXPECT_EQ(r.state.level.tankVolume, before);
        }
    }
    EXPECT_EQ(openDuringStep, (std::vector<bool>{true, true, true, true, false, true}));

    // 1.2 % above with no inflow: the level reaches the half-percent band
    // after three samples and the burst ends early.
    TestRun small(Exercise::Level);
    small.state.level.chkAutodrain = true;
    small.state.level.initialLevel = 60;
    small.enter(kCodeWaveRow1, 58.8f);
    small.start();
    small.cycles(1);
    ASSERT_TRUE(small.state.level.drainOpen);
    small.cycles(3);
    EXPECT_FALSE(small.state.level.drainOpen);
    EXPECT_EQ(small.state.level.drainCountdown, 1);
}

TEST(LevelRun, DrainClosesWithinHalfAPercentAndStaysOpenWhenUnticked)
{
    TestRun r(Exercise::Level);
    r.state.level.chkAutodrain = true;
    r.state.level.initialLevel = 60;
    r.enter(kCodeWaveRow1, 50);
    r.state.level.levelGain = 0.01f; // the pump hardly drives
    r.start();
    r.cycles(1);
    ASSERT_TRUE(r.state.level.drainOpen);
    r.state.level.chkAutodrain = false; // unticked while open
    r.cycles(3000);
    EXPECT_TRUE(r.state.level.drainOpen);
    EXPECT_LT(r.state.run.levelPercent, 0.0f); // no lower bound

    TestRun near(Exercise::Level);
    near.state.level.chkAutodrain = true;
    near.state.level.initialLevel = 60;
    near.enter(kCodeWaveRow1, 59.6f); // level within 0.5 % above the set point
    near.start();
    near.cycles(1);
    EXPECT_FALSE(near.state.level.drainOpen);
}

TEST(LevelRun, OutputIsCarriedOverAndInitialLevelRounds)
{
    TestRun r(Exercise::Level);
    r.start();
    r.cycles(20);
    r.state.run.runActive = false;
    r.toEnd();
    const float last = r.state.run.outputPercent;
    r.enter(kCodeSetPoint, 48.5f); // rounds half up: Trunc(v + 0.5)
    EXPECT_EQ(r.state.level.initialLevel, 49);
    r.enter(kCodeSetPoint, 49.4f);
    EXPECT_EQ(r.state.level.initialLevel, 49);
    r.start();
    EXPECT_EQ(r.record(1).field(kFieldOutput), last);
    EXPECT_EQ(r.state.level.levelLastSP, 80.0f);
}

// ---- Open loop -------------------------------------------------------------

TEST(OpenRun, Flat80SettlesNear139AfterThreeEmptyCycles)
{
    TestRun r(Exercise::Open);
    r.start();
    EXPECT_EQ(r.record(1).field(kFieldOutput), 0.0f);
    r.cycles(600);
    for (int n = 2; n <= 4; ++n) {
        EXPECT_EQ(r.record(n).field(kFieldFlowMV), 0.0f);
    }
    EXPECT_EQ(r.record(2).field(kFieldOutput), 80.0f);
    EXPECT_NEAR(r.state.run.flowRate, 1.39f, 0.001f);
    EXPECT_EQ(r.record(2).time, static_cast<double>(2.0L * 0.1f));
}

TEST(OpenRun, StepDrivesTheOutputUnroundedAndTheGateCanStopTheFlow)
{
    TestRun r(Exercise::Open);
    ChooseWaveform(r.state, Exercise::Open, kStep);
    r.enter(kCodeWaveRow1, 80);
    r.enter(kCodeWaveRow2, 10);
    r.state.run.gateValvePercent = 0;
    r.start();
    r.cycles(300);
    EXPECT_EQ(r.record(126).field(kFieldOutput), 10.0f); // t = 12.5 s
    EXPECT_EQ(r.record(127).field(kFieldOutput), 80.0f);
    EXPECT_EQ(r.record(251).field(kFieldOutput), 10.0f); // next period
    EXPECT_EQ(r.state.run.flowRate, 0.0f);

    TestRun sine(Exercise::Open);
    ChooseWaveform(sine.state, Exercise::Open, kSine);
    sine.start();
    sine.cycles(3);
    const float v = sine.record(4).field(kFieldOutput);
    EXPECT_NE(v, std::trunc(v)); // no rounding to counts
    sine.state.run.runActive = false;
    sine.toEnd();
    EXPECT_EQ(sine.state.open.openLastOutput, v);
    EXPECT_EQ(sine.state.open.openSegment, 1);
}

// ---- Temperature -----------------------------------------------------------

TEST(TemperatureRun, ModelStepsOncePerTwentyCyclesFromTheInitialValue)
{
    TestRun r(Exercise::Temperature);
    r.start();
    const SampleRecord& first = r.record(1);
    EXPECT_EQ(first.field(kFieldTempSP), 30.0f);
    EXPECT_EQ(first.field(kFieldTempMV), 20.0f);
    EXPECT_EQ(first.field(kFieldTempPG), 10.0f);
    EXPECT_EQ(first.field(kFieldTempI), 45.0f);
    EXPECT_EQ(first.field(kFieldTempD), 0.0f);
    EXPECT_EQ(first.field(kFieldHeater), 0.0f);
    EXPECT_EQ(first.segment, 1);

    r.cycles(1);
    EXPECT_EQ(r.state.temp.measuredCounts, 51);
    EXPECT_FLOAT_EQ(r.state.temp.tempError, 25.5f);
    EXPECT_EQ(r.record(2).field(kFieldHeater), 100.0f);
    EXPECT_EQ(r.record(2).time, static_cast<double>(2.0L * 0.1f));

    const float expected[] = {19.996f, 19.9925f, 19.9890f, 19.9855f, 19.9820f, 20.1154f, 20.3605f};
    // Model steps happen in cycles 1, 21, 41, ...: records 2, 22, 42, ...
    for (int step = 0; step < 7; ++step) {
        const int record = 2 + 20 * step;
        r.cycles(record - r.state.run.sampleCount);
        EXPECT_NEAR(r.record(record).field(kFieldTempMV), expected[step], 0.00006f)
            << "step " << step + 1;
        EXPECT_EQ(r.state.temp.measuredCounts, step < 6 ? 51 : 52) << "step " << step + 1;
        if (step > 0) {
            // Between steps the temperature holds.
            EXPECT_EQ(r.record(record - 1).field(kFieldTempMV),
                      r.record(record - 20).field(kFieldTempMV));
        }
    }
}

TEST(TemperatureRun, HeaterIsWholePercentAndSaturates)
{
    TestRun r(Exercise::Temperature);
    r.enter(kCodeSetPoint, 90);
    r.start();
    r.cycles(100);
    for (int n = 2; n <= 101; ++n) {
        EXPECT_EQ(r.record(n).field(kFieldHeater), 100.0f);
    }
    TestRun low(Exercise::Temperature);
    low.enter(kCodeSetPoint, 20);
    low.enter(kCodeInitialValue, 60);
    low.start();
    low.cycles(5);
    EXPECT_EQ(low.record(6).field(kFieldHeater), 0.0f);

    TestRun mid(Exercise::Temperature);
    mid.enter(kCodePG, 0.2f);
    mid.start();
    mid.cycles(1);
    // (25.5 + tiny) x 0.2 + 0.5 -> 5 counts -> Trunc(5 x 100 / 255 + 0.5) = 2 %.
    EXPECT_EQ(mid.record(2).field(kFieldHeater), 2.0f);
}

TEST(TemperatureRun, IntegralOffStaysZeroAndRestartsFromZero)
{
    TestRun r(Exercise::Temperature);
    r.start();
    r.cycles(10);
    EXPECT_GT(r.state.temp.tempIntegral, 0.0f);
    SetIBox(TemperatureLoop(r.state), false);
    r.cycles(5);
    EXPECT_EQ(r.state.temp.tempIntegral, 0.0f);
    EXPECT_EQ(r.state.temp.tempSegment, 2);
    SetIBox(TemperatureLoop(r.state), true);
    r.cycles(1);
    EXPECT_EQ(r.state.temp.tempError, 25.5f); // 76.5 - 51 counts
    EXPECT_EQ(r.state.temp.tempIntegral, 2.55f);
    EXPECT_EQ(r.state.temp.tempSegment, 3);
    // Field 11 logs I as set, not multiplied by the switch.
    EXPECT_EQ(r.record(13).field(kFieldTempI), 45.0f);
}

TEST(TemperatureRun, InitialValueIgnoredWhileRunningAndRestartCarriesLastValues)
{
    TestRun r(Exercise::Temperature);
    r.start();
    EXPECT_FALSE(KeypadRangeFor(r.state, Exercise::Temperature, kCodeInitialValue).has_value());
    r.cycles(400);
    r.state.run.runActive = false;
    r.toEnd();
    EXPECT_TRUE(KeypadRangeFor(r.state, Exercise::Temperature, kCodeInitialValue).has_value());
    const float lastTemp = r.state.run.measuredTemperature;
    const float lastHeater = r.state.run.heaterPercent;
    EXPECT_GT(lastTemp, 21.0f);
    r.start();
    EXPECT_EQ(r.record(1).field(kFieldTempMV), lastTemp);
    EXPECT_EQ(r.record(1).field(kFieldHeater), lastHeater);
    r.cycles(1);
    EXPECT_NEAR(r.record(2).field(kFieldTempMV), 19.996f, 0.0001f); // model restarted from 20
    EXPECT_EQ(r.state.temp.tempLastSP, 30.0f);
}

// ---- Batch volume ----------------------------------------------------------

TEST(BatchRun, FirstCycleOfTheDefaultBatchByHand)
{
    TestRun r(Exercise::Batch);
    r.start();
    const SampleRecord& first = r.record(1);
    EXPECT_EQ(first.field(kFieldVolSP), 1.5f);
    EXPECT_EQ(first.field(kFieldVolMV), 0.0f);
    EXPECT_EQ(first.field(kFieldTempSP), 30.0f);
    EXPECT_EQ(first.field(kFieldTempPG), 1.0f);
    EXPECT_EQ(first.field(kFieldVolPG), 0.5f);
    EXPECT_EQ(first.field(kFieldTempI), 400.0f);
    EXPECT_EQ(first.field(kFieldVolI), 5.0f);
    EXPECT_EQ(first.segment, 1);
    r.cycles(1);
    EXPECT_EQ(r.state.run.flowRate, 0.0f);
    EXPECT_NEAR(r.state.run.measuredTemperature, 29.994f, 1e-5f);
    EXPECT_NEAR(r.state.batch.requiredFlow, 0.50028f, 1e-5f);
    EXPECT_NEAR(r.record(2).field(kFieldOutput), 12.94f, 0.005f);
    EXPECT_EQ(r.record(2).field(kFieldOutput), 12.941176f); // 33 counts
    EXPECT_EQ(r.record(2).field(kFieldHeater), 7.8431373f); // 20 counts
    EXPECT_NEAR(r.record(2).field(kFieldHeater), 7.84f, 0.005f);
}

TEST(BatchRun, DerivativeActionsOfBothLoopsInTheFirstCycle)
{
    // Temperature loop with D = 1: error (30 - 29.994) x 2.55 = 0.0153,
    // rate 0.153 a second; Trunc((0.00023 + 0.0153 + 1 x 60 x 0.153) x 1
    // + 0.5) = 9 counts, then Trunc(20.011 + 9 + 0.5) = 29 counts.
    TestRun temp(Exercise::Batch);
    temp.enter(kCodeTempD, 1);
    temp.start();
    temp.cycles(1);
    EXPECT_EQ(temp.record(2).field(kFieldHeater), 11.372549f); // 29 / 255 x 100
    EXPECT_EQ(temp.record(2).field(kFieldOutput), 12.941176f); // the pump as without D

    // Volume loop with D = 0.01: error 63.79, rate 637.9 a second;
    // Trunc((1.2758 + 63.79 + 0.01 x 637.9) x 0.5 + 0.5) = 36 counts.
    TestRun vol(Exercise::Batch);
    vol.enter(kCodeD, 0.01f);
    vol.start();
    vol.cycles(1);
    EXPECT_EQ(vol.record(2).field(kFieldOutput), 14.117647f); // 36 / 255 x 100
    EXPECT_EQ(vol.record(2).field(kFieldHeater), 7.8431373f); // the heater as without D
}

TEST(BatchRun, EndsBeforeTheCycleThatWouldReachTheExpectedTime)
{
    // With a period of 0.5 s (exact in binary) and 60 s expected: the cycle
    // at 59.5 s is the last, since 59.5 + 0.5 is not below 60.
    TestRun r(Exercise::Batch);
    r.enter(kCodeExpectedTime, 60);
    r.state.run.samplePeriod = 0.5f;
    r.run();
    EXPECT_EQ(r.state.run.sampleCount, 120);
    EXPECT_EQ(r.state.batch.batchSimTime, 59.5);
    EXPECT_EQ(r.record(120).time, 60.0);
}

TEST(BatchRun, EndsByItselfAtTheExpectedTime)
{
    TestRun r(Exercise::Batch);
    r.run();
    EXPECT_EQ(r.state.run.sampleCount, 1800);
    EXPECT_NEAR(r.record(1800).time, 180.0, 1e-4);
    EXPECT_FALSE(r.state.run.runActive);
    EXPECT_EQ(r.state.batch.batchLastTempSP, 30.0f);

    TestRun e600(Exercise::Batch);
    e600.enter(kCodeExpectedTime, 600);
    e600.run();
    EXPECT_EQ(e600.state.run.sampleCount, 6000);

    TestRun e61(Exercise::Batch);
    e61.enter(kCodeExpectedTime, 61);
    e61.run();
    EXPECT_EQ(e61.state.run.sampleCount, 610);
}

TEST(BatchRun, DeliversTheVolumeAndThenOnlyRemovesDrive)
{
    TestRun r(Exercise::Batch);
    r.run();
    EXPECT_NEAR(r.state.run.measuredVolume, 1.5f, 0.02f);
    EXPECT_NEAR(r.state.run.measuredTemperature, 30.0f, 1.0f);

    // The set point lowered below the delivered volume mid-run: no flow is
    // required any more and the drive runs down to 0.
    TestRun early(Exercise::Batch);
    early.start();
    early.cycles(900);
    ASSERT_GT(early.state.run.measuredVolume, 0.5f);
    early.enter(kCodeSetPoint, 0.5f);
    early.cycles(1);
    EXPECT_EQ(early.state.batch.requiredFlow, 0.0f);
    EXPECT_LT(early.state.batch.volPrevError, 0.0f);
    const float delivered = early.state.run.measuredVolume;
    early.toEnd();
    EXPECT_EQ(early.record(1800).field(kFieldOutput), 0.0f);
    EXPECT_LT(early.state.run.measuredVolume - delivered, 0.15f); // only the run-down
}

TEST(BatchRun, VolumeIntegralOffAndSumpFeedForward)
{
    TestRun r(Exercise::Batch);
    r.start();
    r.cycles(10);
    SetIBox(BatchVolumeLoop(r.state), false);
    r.cycles(3);
    EXPECT_EQ(r.state.batch.volIntegral, 0.0f);
    EXPECT_EQ(r.record(14).field(kFieldVolI), 0.0f);
    EXPECT_EQ(r.record(14).segment, 2);

    // A colder sump asks for more heat through the feed-forward only.
    TestRun warm(Exercise::Batch);
    TestRun cold(Exercise::Batch);
    cold.enter(kCodeSumpTemperature, 10);
    warm.start();
    cold.start();
    warm.cycles(1);
    cold.cycles(1);
    EXPECT_GT(cold.record(2).field(kFieldHeater), warm.record(2).field(kFieldHeater));
    EXPECT_EQ(cold.record(2).field(kFieldOutput), warm.record(2).field(kFieldOutput));
    EXPECT_EQ(cold.record(2).segment, 1);
}

TEST(BatchRun, AShorterExpectedTimeEndsTheRunAtTheNextTest)
{
    TestRun r(Exercise::Batch);
    r.start();
    r.cycles(700); // 70 s simulated
    r.enter(kCodeExpectedTime, 60);
    EXPECT_FALSE(r.engine->canCycle());
    r.toEnd();
    EXPECT_EQ(r.state.run.sampleCount, 701);
}
