// Value boxes, switches, segments, waveform rows and the settings block.
#include "TestRun.h"

#include "core/exercises/ExerciseProfile.h"
#include "core/exercises/NamedSettings.h"
#include "core/shell/KeypadEntry.h"

#include <gtest/gtest.h>

#include <memory>

using namespace velmor;
using velmor::test::TestRun;

TEST(PanelEntries, GainAndBandAreTwoViewsOfOneSetting)
{
    TestRun r(Exercise::Flow);
    r.enter(kCodePG, 4);
    EXPECT_EQ(r.state.flow.flowBand, 25.0f);
    r.enter(kCodePB, 8);
    EXPECT_EQ(r.state.flow.flowGain, 12.5f);
    EXPECT_EQ(r.state.flow.flowBand, 8.0f);
    EXPECT_EQ(r.state.flow.flowSegment, 2);
}

TEST(PanelEntries, ANewIntegralTimeKeepsTheIntegralTerm)
{
    TestRun r(Exercise::Temperature);
    r.state.temp.tempIntegralTime = 5;
    r.state.temp.tempIntegral = 3;
    r.enter(kCodeI, 10);
    EXPECT_EQ(r.state.temp.tempIntegral, 6.0f);
    EXPECT_EQ(r.state.temp.tempIntegralTime, 10.0f);
    r.enter(kCodeI, 3);
    EXPECT_FLOAT_EQ(r.state.temp.tempIntegral, 1.8f);
}

TEST(PanelEntries, FlowIgnoresAnUnchangedValueOthersCountIt)
{
    TestRun flow(Exercise::Flow);
    flow.state.flow.flowSegment = 1;
    EXPECT_FALSE(flow.enter(kCodePG, 1));
    EXPECT_EQ(flow.state.flow.flowSegment, 1);
    EXPECT_FALSE(flow.enter(kCodeWaveRow1, 1.5f));
    EXPECT_TRUE(flow.enter(kCodePG, 2));
    EXPECT_EQ(flow.state.flow.flowSegment, 2);

    TestRun temp(Exercise::Temperature);
    temp.state.temp.tempSegment = 1;
    EXPECT_TRUE(temp.enter(kCodePG, 10));
    EXPECT_EQ(temp.state.temp.tempSegment, 2);
    EXPECT_EQ(temp.state.temp.tempBand, 10.0f);
}

TEST(PanelEntries, BatchTemperatureLoopUsesCodes11To14AndSharesTheSegment)
{
    TestRun r(Exercise::Batch);
    r.state.batch.batchSegment = 1;
    r.enter(kCodeTempPG, 4);
    EXPECT_EQ(r.state.batch.batchTempGain, 4.0f);
    EXPECT_EQ(r.state.batch.batchTempBand, 25.0f);
    EXPECT_EQ(r.state.batch.volGain, 0.5f);
    r.enter(kCodePB, 50);
    EXPECT_EQ(r.state.batch.volGain, 2.0f);
    EXPECT_EQ(r.state.batch.batchSegment, 3);
    // Set points, expected time and sump temperature start no segment.
    r.enter(kCodeSetPoint, 2);
    r.enter(kCodeBatchTempSP, 40);
    r.enter(kCodeExpectedTime, 300);
    r.enter(kCodeSumpTemperature, 15);
    EXPECT_EQ(r.state.batch.batchSegment, 3);
    EXPECT_EQ(r.state.batch.expectedTime, 300.0f);
}

TEST(Switches, SegmentsCountIAlwaysAndDOnlyWithADerivativeAction)
{
    TestRun r(Exercise::Flow);
    PidLoop loop = FlowLoop(r.state);
    loop.segment = 1;
    SetDBox(loop, false);
    EXPECT_EQ(r.state.flow.flowDerivativeOn, 0);
    EXPECT_EQ(loop.segment, 1);
    r.state.flow.flowDerivativeTime = 2;
    SetDBox(loop, true);
    EXPECT_EQ(loop.segment, 2);
    // The letter I clicked twice: back to checked, two new segments.
    SetIBox(loop, !loop.chkI);
    SetIBox(loop, !loop.chkI);
    EXPECT_TRUE(r.state.flow.chkI);
    EXPECT_EQ(r.state.flow.flowIntegralOn, 1);
    EXPECT_EQ(loop.segment, 4);
    SetIBox(loop, true); // no change of state, no handler
    EXPECT_EQ(loop.segment, 4);
}

TEST(Switches, InitValuesResetsFlagsButNotTheBoxes)
{
    TestRun r(Exercise::Batch);
    SetIBox(BatchVolumeLoop(r.state), false);
    InitValues(r.state, Exercise::Batch);
    EXPECT_EQ(r.state.batch.volIntegralOn, 1);
    EXPECT_FALSE(r.state.batch.chkVolI);
    SendSettings(r.state, Exercise::Batch);
    EXPECT_FALSE(r.state.simSettings.volIOn); // the box is what is saved
}

TEST(Switches, OpeningAWindowTicksEveryLoopsBoxes)
{
    // Boxes left unticked by an earlier run or file: a window opened afresh
    // (as velmor-sim opens one) shows I and D ticked on every loop.
    for (const Exercise e :
         {Exercise::Flow, Exercise::Level, Exercise::Temperature, Exercise::Batch}) {
        auto state = std::make_unique<VelmorState>();
        VelmorState& s = *state;
        for (const PanelTransfer& t : ProfileOf(e).panels) {
            const PidLoop loop = t.loop(s);
            loop.chkI = false;
            loop.chkD = false;
        }
        OpenExerciseState(s, e, true);
        for (const PanelTransfer& t : ProfileOf(e).panels) {
            const PidLoop loop = t.loop(s);
            EXPECT_TRUE(loop.chkI) << CommandWord(e);
            EXPECT_TRUE(loop.chkD) << CommandWord(e);
        }
    }
}

TEST(SettingsBlock, LoadingFlipsBoxesThroughTheirHandlers)
{
    TestRun r(Exercise::Temperature);
    r.state.temp.tempSegment = 1;
    SendSettings(r.state, Exercise::Temperature);
    UpdateSettings(r.state, Exercise::Temperature); // same boxes: no segment
    EXPECT_EQ(r.state.temp.tempSegment, 1);
    r.state.simSettings.tempIOn = false;
    r.state.simSettings.tempGain = 4;
    UpdateSettings(r.state, Exercise::Temperature);
    EXPECT_FALSE(r.state.temp.chkI);
    EXPECT_EQ(r.state.temp.tempIntegralOn, 0);
    EXPECT_EQ(r.state.temp.tempSegment, 2);
    EXPECT_EQ(r.state.temp.tempBand, 25.0f);
}

TEST(SettingsBlock, FlowTransferUsesLastValuesAndTheWaveformAtStart)
{
    TestRun r(Exercise::Flow);
    ChooseWaveform(r.state, Exercise::Flow, kSine);
    r.enter(kCodeWaveRow3, 40);
    r.state.run.runActive = false;
    r.run();
    ChooseWaveform(r.state, Exercise::Flow, kStep);
    SendSettings(r.state, Exercise::Flow);
    const SimSettings& ss = r.state.simSettings;
    EXPECT_EQ(ss.waveformType, kSine); // the type the run started with
    EXPECT_EQ(ss.flowC, 25.0f);        // C of the current type
    EXPECT_EQ(ss.flowSetPoint, r.state.flow.flowLastSP);
    EXPECT_EQ(ss.flowRate, r.state.flow.flowLastPV);

    TestRun other(Exercise::Flow);
    other.state.simSettings = ss;
    UpdateSettings(other.state, Exercise::Flow);
    EXPECT_EQ(other.state.flow.flowWaveform, kSine);
    EXPECT_EQ(other.state.flow.flowWaveformAtStart, kSine);
    EXPECT_EQ(other.state.flow.waveParams.C(kSine), 25.0f);
    EXPECT_EQ(other.state.run.flowSetPoint, ss.flowSetPoint);
}

TEST(SettingsBlock, LevelAndOpenTransferTheirWaveforms)
{
    // Fluid level saves A, B and C of the waveform the run started with;
    // Open loop those of the waveform chosen now.
    TestRun level(Exercise::Level);
    ChooseWaveform(level.state, Exercise::Level, kSine);
    level.enter(kCodeWaveRow1, 70); // A of the Sine
    level.enter(kCodeWaveRow3, 40); // C of the Sine
    level.start();
    level.cycles(10);
    level.state.run.runActive = false;
    level.toEnd();
    ChooseWaveform(level.state, Exercise::Level, kStep);
    level.enter(kCodeWaveRow1, 90); // A of the Step
    SendSettings(level.state, Exercise::Level);
    const SimSettings& ls = level.state.simSettings;
    EXPECT_EQ(ls.waveformType, kSine);
    EXPECT_EQ(ls.levelA, 70.0f);
    EXPECT_EQ(ls.levelB, 20.0f);
    EXPECT_EQ(ls.levelC, 40.0f);
    EXPECT_EQ(ls.initialLevel, 0);

    TestRun open(Exercise::Open);
    ChooseWaveform(open.state, Exercise::Open, kSawtooth);
    open.enter(kCodeWaveRow2, 5); // B of the Sawtooth
    SendSettings(open.state, Exercise::Open);
    EXPECT_EQ(open.state.simSettings.waveformType, kSawtooth);
    EXPECT_EQ(open.state.simSettings.openA, 80.0f);
    EXPECT_EQ(open.state.simSettings.openB, 5.0f);
    EXPECT_EQ(open.state.simSettings.openC, 25.0f);
}

TEST(WaveformPanel, RampShowsInitialThenFinalAndBlankRowsTakeNoEntry)
{
    TestRun r(Exercise::Flow);
    EXPECT_FALSE(KeypadRangeFor(r.state, Exercise::Flow, kCodeWaveRow2).has_value()); // Flat
    ChooseWaveform(r.state, Exercise::Flow, kRamp);
    EXPECT_TRUE(KeypadRangeFor(r.state, Exercise::Flow, kCodeWaveRow2).has_value());
    EXPECT_FALSE(KeypadRangeFor(r.state, Exercise::Flow, kCodeWaveRow3).has_value());
    r.enter(kCodeWaveRow2, 1.8f); // row 2 of the Ramp is its final value A
    r.enter(kCodeWaveRow1, 0.2f); // row 1 its initial value B
    EXPECT_EQ(r.state.flow.waveParams.A(kRamp), 1.8f);
    EXPECT_EQ(r.state.flow.waveParams.B(kRamp), 0.2f);
    EXPECT_EQ(KeypadOldFor(r.state, Exercise::Flow, kCodeWaveRow1), 0.2f);
    ChooseWaveform(r.state, Exercise::Open, kSawtooth);
    const auto period = KeypadRangeFor(r.state, Exercise::Open, kCodeWaveRow3);
    ASSERT_TRUE(period.has_value());
    EXPECT_EQ(period->min, 0.5f);
}

TEST(WaveformPanel, TheTypeCannotChangeWhileTheKeypadIsOpenOrTheOpenWindowActivates)
{
    TestRun r(Exercise::Flow);
    r.state.keypad.suppressWaveformClick = true;
    EXPECT_FALSE(ChooseWaveform(r.state, Exercise::Flow, kSine));
    EXPECT_EQ(r.state.flow.flowWaveform, kFlat);
    r.state.keypad.suppressWaveformClick = false;
    r.state.open.openActivating = true;
    EXPECT_FALSE(ChooseWaveform(r.state, Exercise::Open, kSine));
    EXPECT_TRUE(ChooseWaveform(r.state, Exercise::Flow, kSine));
}

TEST(KeypadArithmetic, ConversionAndTypingRules)
{
    EXPECT_EQ(*KeypadTextValue("5,"), 5.0f);
    EXPECT_EQ(*KeypadTextValue(",5"), 0.5f);
    EXPECT_EQ(*KeypadTextValue("12.5"), 12.5f);
    EXPECT_EQ(*KeypadTextValue("0.0000001"), static_cast<float>(1.0L / 10000000));
    // The conversion message quotes the text as typed and names what the
    // box takes.
    std::string error;
    EXPECT_FALSE(KeypadTextValue(".", &error).has_value());
    EXPECT_EQ(error, "'.' is not a valid floating point value");
    EXPECT_FALSE(KeypadTextValue(",", &error, KeypadNumber::Whole).has_value());
    EXPECT_EQ(error, "',' is not a valid integer value");
    EXPECT_FALSE(KeypadTextValue("99999999999", &error).has_value());
    EXPECT_EQ(KeypadRangeFor(VelmorState{}, Exercise::Level, kCodeSetPoint)->number,
              KeypadNumber::Whole);
    EXPECT_EQ(KeypadRangeFor(VelmorState{}, Exercise::Level, kCodePG)->number,
              KeypadNumber::Decimal);
    EXPECT_TRUE(KeypadInRange(*KeypadTextValue("100"), 0, 100));
    EXPECT_FALSE(KeypadInRange(*KeypadTextValue("100.01"), 0, 100));
    EXPECT_TRUE(KeypadInRange(*KeypadTextValue("0.01"), 0.01f, 100));
    EXPECT_FALSE(KeypadAcceptsChar("1.2", '.'));
    EXPECT_FALSE(KeypadAcceptsChar("1.2", ','));
    EXPECT_FALSE(KeypadAcceptsChar("1", '-'));
    EXPECT_TRUE(KeypadAcceptsChar("1.234567", '8'));
    EXPECT_FALSE(KeypadAcceptsChar("1.2345678", '9')); // the 8th decimal
}

TEST(NamedSettings, RefusalsAreClearAndOneLine)
{
    EXPECT_NE(CheckSetting(Exercise::Flow, "flowGian", "2").find("unknown setting 'flowGian'"),
              std::string::npos);
    EXPECT_NE(CheckSetting(Exercise::Flow, "flowGain", "2x").find("not a valid number"),
              std::string::npos);
    EXPECT_NE(CheckSetting(Exercise::Flow, "flowGain", "0").find("out of range"),
              std::string::npos);
    EXPECT_NE(CheckSetting(Exercise::Flow, "flowIntegralTime", "0").find("out of range"),
              std::string::npos);
    EXPECT_NE(CheckSetting(Exercise::Flow, "waveC", "0").find("out of range"), std::string::npos);
    EXPECT_NE(CheckSetting(Exercise::Flow, "gateValvePercent", "55").find("steps of 10"),
              std::string::npos);
    EXPECT_NE(CheckSetting(Exercise::Level, "trendSpan", "190").find("20 to 180"),
              std::string::npos);
    EXPECT_EQ(CheckSetting(Exercise::Level, "trendSpan", "180"), "");
    EXPECT_EQ(CheckSetting(Exercise::Level, "trendSpan", "20"), "");
    EXPECT_NE(CheckSetting(Exercise::Flow, "chkI", "2").find("0 or 1"), std::string::npos);
    EXPECT_NE(CheckSetting(Exercise::Flow, "flowGain", "1.12345678").find("7 digits"),
              std::string::npos);
    EXPECT_EQ(CheckSetting(Exercise::Level, "levelIntegralTime", "100000"), "");
    EXPECT_NE(CheckSetting(Exercise::Flow, "flowIntegralTime", "1000").find("out of range"),
              std::string::npos);
    EXPECT_EQ(CheckSetting(Exercise::Temperature, "trendSpan", "60").find("unknown"), 0u);
}

TEST(NamedSettings, ApplyTakesTheWindowsPath)
{
    TestRun r(Exercise::Flow);
    EXPECT_EQ(ApplySetting(r.state, Exercise::Flow, "flowBand", "8"), "");
    EXPECT_EQ(r.state.flow.flowGain, 12.5f);
    EXPECT_EQ(ApplySetting(r.state, Exercise::Flow, "flowWaveform", "2"), "");
    EXPECT_EQ(ApplySetting(r.state, Exercise::Flow, "waveA", "1.25"), "");
    EXPECT_EQ(r.state.flow.waveParams.A(kRamp), 1.25f); // waveA is the Ramp's final value
    // Read back by name (as a lab sheet's locked settings are), A and B
    // are A and B whichever row shows them.
    for (const char* waveform : {"2", "5"}) { // Ramp, Sawtooth
        EXPECT_EQ(ApplySetting(r.state, Exercise::Flow, "flowWaveform", waveform), "");
        EXPECT_EQ(ApplySetting(r.state, Exercise::Flow, "waveA", "1.5"), "");
        EXPECT_EQ(ApplySetting(r.state, Exercise::Flow, "waveB", "0.75"), "");
        EXPECT_EQ(SettingValue(r.state, Exercise::Flow, "waveA"), 1.5) << waveform;
        EXPECT_EQ(SettingValue(r.state, Exercise::Flow, "waveB"), 0.75) << waveform;
    }
    EXPECT_EQ(ApplySetting(r.state, Exercise::Flow, "flowWaveform", "2"), "");
    // The I and D boxes read back each as it stands.
    for (const auto& [i, d] : {std::pair{"0", "1"}, std::pair{"1", "0"}}) {
        EXPECT_EQ(ApplySetting(r.state, Exercise::Flow, "chkI", i), "");
        EXPECT_EQ(ApplySetting(r.state, Exercise::Flow, "chkD", d), "");
        EXPECT_EQ(SettingValue(r.state, Exercise::Flow, "chkI"), i[0] == '1' ? 1 : 0);
        EXPECT_EQ(SettingValue(r.state, Exercise::Flow, "chkD"), d[0] == '1' ? 1 : 0);
    }
    EXPECT_NE(ApplySetting(r.state, Exercise::Flow, "waveC", "30"), "");
    EXPECT_NE(ApplySetting(r.state, Exercise::Flow, "pumpOn", "1"), ""); // PID mode
    EXPECT_EQ(ApplySetting(r.state, Exercise::Flow, "flowManual", "1"), "");
    EXPECT_EQ(ApplySetting(r.state, Exercise::Flow, "pumpOn", "1"), "");
    EXPECT_TRUE(r.state.run.pumpOn);
    EXPECT_EQ(ApplySetting(r.state, Exercise::Flow, "gateValvePercent", "30"), "");
    EXPECT_EQ(r.state.run.gateValvePercent, 30);
    EXPECT_EQ(ApplySetting(r.state, Exercise::Flow, "gateValvePercent", "0"), "");
    EXPECT_EQ(r.state.run.gateValvePercent, 0); // shut, step by step

    TestRun level(Exercise::Level);
    level.state.level.levelDerivativeTime = 1;
    level.state.level.levelSegment = 1;
    EXPECT_EQ(ApplySetting(level.state, Exercise::Level, "chkAutodrain", "1"), "");
    EXPECT_TRUE(level.state.level.chkAutodrain);
    EXPECT_EQ(level.state.level.levelSegment, 2); // the box runs the D handler

    TestRun temp(Exercise::Temperature);
    temp.state.run.runActive = true;
    EXPECT_NE(ApplySetting(temp.state, Exercise::Temperature, "initialTemperature", "30"), "");
    EXPECT_EQ(temp.state.temp.initialTemperature, 20.0f);
}
