// What sets the exercises apart, checked against values written out here:
// the keypad limits of every value box, what the boxes show and set, the
// velmor-sim names, and the Trends window's configuration and settings box.
#include "TestRun.h"

#include "core/exercises/ExerciseProfile.h"
#include "core/exercises/NamedSettings.h"
#include "core/trends/RunReport.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <span>
#include <string>
#include <vector>

using namespace velmor;
using velmor::test::TestRun;

namespace {

struct Limits {
    int code;
    float min;
    float max;
};

// Every box shows a value: waveform rows for a Sine, no run going.
std::vector<Limits> BoxLimits(Exercise e)
{
    TestRun r(e);
    ChooseWaveform(r.state, e, kSine);
    std::vector<Limits> found;
    for (int code = 0; code <= 30; ++code) {
        if (const std::optional<KeypadRange> range = KeypadRangeFor(r.state, e, code)) {
            found.push_back({code, range->min, range->max});
        }
    }
    return found;
}

void ExpectLimits(Exercise e, const std::vector<Limits>& expected)
{
    const std::vector<Limits> found = BoxLimits(e);
    ASSERT_EQ(found.size(), expected.size()) << CommandWord(e);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(found[i].code, expected[i].code) << CommandWord(e);
        EXPECT_EQ(found[i].min, expected[i].min) << CommandWord(e) << " code " << expected[i].code;
        EXPECT_EQ(found[i].max, expected[i].max) << CommandWord(e) << " code " << expected[i].code;
    }
}

std::vector<std::string> Names(Exercise e)
{
    std::vector<std::string> names;
    for (std::string_view n : SettingNames(e)) {
        names.emplace_back(n);
    }
    return names;
}

std::vector<TraceId> Traces(std::span<const TraceId> traces)
{
    return {traces.begin(), traces.end()};
}

} // namespace

TEST(KeypadBoxes, LimitsOfEveryBoxOfEveryExercise)
{
    // PG, PB, I, D; waveform rows 1..3; then the exercise's own boxes.
    ExpectLimits(Exercise::Flow, {{1, 0.01f, 100},
                                  {2, 1, 10000},
                                  {3, 0.01f, 999},
                                  {4, 0, 999},
                                  {5, 0, 2},
                                  {6, 0, 2},
                                  {7, 1, 999}});
    ExpectLimits(Exercise::Level, {{1, 0.01f, 100},
                                   {2, 1, 10000},
                                   {3, 0.01f, 100000},
                                   {4, 0, 999},
                                   {5, 0, 100},
                                   {6, 0, 100},
                                   {7, 1, 999},
                                   {9, 0, 100}});
    ExpectLimits(Exercise::Open, {{5, 0, 100}, {6, 0, 100}, {7, 0.5f, 999}});
    ExpectLimits(
        Exercise::Temperature,
        {{1, 0.01f, 100}, {2, 1, 10000}, {3, 0.01f, 999}, {4, 0, 999}, {9, 20, 90}, {10, 10, 90}});
    ExpectLimits(Exercise::Batch, {{1, 0.01f, 100},
                                   {2, 1, 10000},
                                   {3, 0.01f, 999},
                                   {4, 0, 999},
                                   {9, 0.5f, 12},
                                   {11, 0.01f, 100},
                                   {12, 1, 10000},
                                   {13, 0.01f, 999},
                                   {14, 0, 999},
                                   {19, 20, 90},
                                   {20, 60, 600},
                                   {21, 10, 90}});
}

TEST(KeypadBoxes, ValueBoxesShowAndSetTheirOwnVariables)
{
    TestRun level(Exercise::Level);
    level.enter(kCodeSetPoint, 48.5f); // half up, not to even
    EXPECT_EQ(level.state.level.initialLevel, 49);
    EXPECT_EQ(KeypadOldFor(level.state, Exercise::Level, kCodeSetPoint), 49.0f);
    level.enter(kCodeSetPoint, 48.4f);
    EXPECT_EQ(level.state.level.initialLevel, 48);
    EXPECT_EQ(level.state.level.levelSegment, 0); // no settings change

    TestRun temp(Exercise::Temperature);
    temp.enter(kCodeSetPoint, 45);
    EXPECT_EQ(temp.state.temp.tempEnteredSP, 45.0f);
    EXPECT_EQ(temp.state.run.tempSetPoint, 45.0f);
    temp.enter(kCodeInitialValue, 60);
    EXPECT_EQ(temp.state.temp.initialTemperature, 60.0f);
    EXPECT_EQ(temp.state.run.measuredTemperature, 60.0f);
    EXPECT_EQ(KeypadOldFor(temp.state, Exercise::Temperature, kCodeSetPoint), 45.0f);
    EXPECT_EQ(KeypadOldFor(temp.state, Exercise::Temperature, kCodeInitialValue), 60.0f);
    EXPECT_EQ(temp.state.temp.tempSegment, 0);

    TestRun batch(Exercise::Batch);
    EXPECT_EQ(KeypadOldFor(batch.state, Exercise::Batch, kCodeSetPoint), 1.5f);
    EXPECT_EQ(KeypadOldFor(batch.state, Exercise::Batch, kCodeBatchTempSP), 30.0f);
    EXPECT_EQ(KeypadOldFor(batch.state, Exercise::Batch, kCodeExpectedTime), 180.0f);
    EXPECT_EQ(KeypadOldFor(batch.state, Exercise::Batch, kCodeSumpTemperature), 20.0f);
    EXPECT_EQ(KeypadOldFor(batch.state, Exercise::Batch, kCodeTempI), 400.0f);
    EXPECT_EQ(KeypadOldFor(batch.state, Exercise::Batch, kCodeI), 5.0f);
    batch.enter(kCodeSetPoint, 2.5f);
    batch.enter(kCodeBatchTempSP, 45);
    batch.enter(kCodeExpectedTime, 240);
    batch.enter(kCodeSumpTemperature, 12);
    EXPECT_EQ(batch.state.batch.batchVolumeSP, 2.5f);
    EXPECT_EQ(batch.state.batch.batchTempSP, 45.0f);
    EXPECT_EQ(batch.state.batch.expectedTime, 240.0f);
    EXPECT_EQ(batch.state.batch.sumpTemperature, 12.0f);
    EXPECT_EQ(batch.state.run.tempSetPoint, 0.0f); // taken over at the next cycle

    // Boxes an exercise does not have take no entry.
    TestRun open(Exercise::Open);
    EXPECT_FALSE(open.enter(kCodePG, 5));
    EXPECT_FALSE(temp.enter(kCodeWaveRow1, 5));
    EXPECT_EQ(KeypadOldFor(open.state, Exercise::Open, kCodePG), 0.0f);
}

TEST(KeypadBoxes, PanelBoxesShowTheirLoopsValues)
{
    TestRun level(Exercise::Level);
    EXPECT_EQ(KeypadOldFor(level.state, Exercise::Level, kCodePG), 10.0f);
    EXPECT_EQ(KeypadOldFor(level.state, Exercise::Level, kCodePB), 10.0f);
    EXPECT_EQ(KeypadOldFor(level.state, Exercise::Level, kCodeI), 20.0f);
    level.state.level.levelDerivativeTime = 3;
    EXPECT_EQ(KeypadOldFor(level.state, Exercise::Level, kCodeD), 3.0f);

    TestRun batch(Exercise::Batch);
    EXPECT_EQ(KeypadOldFor(batch.state, Exercise::Batch, kCodePB), 200.0f);
    EXPECT_EQ(KeypadOldFor(batch.state, Exercise::Batch, kCodeTempPB), 100.0f);
    batch.enter(kCodeTempD, 7);
    EXPECT_EQ(batch.state.batch.batchTempDerivativeTime, 7.0f);
    EXPECT_EQ(batch.state.batch.volDerivativeTime, 0.0f);
    batch.enter(kCodeD, 2);
    EXPECT_EQ(batch.state.batch.volDerivativeTime, 2.0f);
    EXPECT_EQ(batch.state.batch.batchSegment, 2);
}

TEST(NamedSettings, EveryExercisesNames)
{
    EXPECT_EQ(
        Names(Exercise::Flow),
        (std::vector<std::string>{"flowGain", "flowBand", "flowIntegralTime", "flowDerivativeTime",
                                  "chkI", "chkD", "flowWaveform", "waveA", "waveB", "waveC",
                                  "flowManual", "pumpOn", "gateValvePercent", "trendSpan"}));
    EXPECT_EQ(
        Names(Exercise::Level),
        (std::vector<std::string>{"levelGain", "levelBand", "levelIntegralTime",
                                  "levelDerivativeTime", "chkI", "chkD", "levelWaveform", "waveA",
                                  "waveB", "waveC", "initialLevel", "chkAutodrain", "trendSpan"}));
    EXPECT_EQ(Names(Exercise::Open),
              (std::vector<std::string>{"openWaveform", "waveA", "waveB", "waveC",
                                        "gateValvePercent", "trendSpan"}));
    EXPECT_EQ(
        Names(Exercise::Temperature),
        (std::vector<std::string>{"tempGain", "tempBand", "tempIntegralTime", "tempDerivativeTime",
                                  "chkI", "chkD", "tempEnteredSP", "initialTemperature"}));
    EXPECT_EQ(Names(Exercise::Batch),
              (std::vector<std::string>{
                  "volGain", "volBand", "volIntegralTime", "volDerivativeTime", "chkVolI",
                  "chkVolD", "batchTempGain", "batchTempBand", "batchTempIntegralTime",
                  "batchTempDerivativeTime", "chkTempI", "chkTempD", "batchVolumeSP", "batchTempSP",
                  "expectedTime", "sumpTemperature"}));
}

TEST(NamedSettings, EachNameReachesItsOwnVariable)
{
    TestRun batch(Exercise::Batch);
    EXPECT_EQ(ApplySetting(batch.state, Exercise::Batch, "batchTempIntegralTime", "300"), "");
    EXPECT_EQ(batch.state.batch.batchTempIntegralTime, 300.0f);
    EXPECT_EQ(batch.state.batch.volIntegralTime, 5.0f);
    EXPECT_EQ(ApplySetting(batch.state, Exercise::Batch, "chkTempD", "0"), "");
    EXPECT_FALSE(batch.state.batch.chkTempD);
    EXPECT_TRUE(batch.state.batch.chkVolD);
    EXPECT_EQ(ApplySetting(batch.state, Exercise::Batch, "volBand", "40"), "");
    EXPECT_EQ(batch.state.batch.volGain, 2.5f);

    TestRun temp(Exercise::Temperature);
    EXPECT_EQ(ApplySetting(temp.state, Exercise::Temperature, "tempDerivativeTime", "4"), "");
    EXPECT_EQ(temp.state.temp.tempDerivativeTime, 4.0f);
    EXPECT_EQ(temp.state.temp.tempIntegralTime, 45.0f);
    EXPECT_NE(ApplySetting(temp.state, Exercise::Temperature, "tempEnteredSP", "19.5"), "");

    TestRun level(Exercise::Level);
    EXPECT_EQ(ApplySetting(level.state, Exercise::Level, "initialLevel", "100"), "");
    EXPECT_EQ(level.state.level.initialLevel, 100);
    EXPECT_EQ(ApplySetting(level.state, Exercise::Level, "chkI", "0"), "");
    EXPECT_EQ(level.state.level.levelIntegralOn, 0);
    EXPECT_EQ(level.state.level.levelDerivativeOn, 1);
}

TEST(TrendsConfiguration, CaptionScaleSpanAndTracesPerExercise)
{
    using T = TraceId;
    const TrendsProfile& flow = ProfileOf(Exercise::Flow).trends;
    EXPECT_STREQ(flow.caption, "Flow Trend");
    EXPECT_STREQ(flow.leftUnit, "L/min");
    EXPECT_STREQ(flow.rightUnit, "%");
    EXPECT_EQ(flow.scale, ScalePicture::FlowRate);
    EXPECT_EQ(Traces(flow.checked), (std::vector<T>{T::FlowSP, T::FlowMV, T::FlowQ}));
    EXPECT_EQ(Traces(flow.disabled),
              (std::vector<T>{T::TempSP, T::TempMV, T::TempQ, T::VolSP, T::VolMV}));
    EXPECT_FALSE(flow.levelBoxes);
    EXPECT_TRUE(flow.gateValve);
    EXPECT_EQ(DefaultTrendSpan(Exercise::Flow), 60);

    const TrendsProfile& temp = ProfileOf(Exercise::Temperature).trends;
    EXPECT_STREQ(temp.caption, "Temperature Trend");
    EXPECT_STREQ(temp.leftUnit, "°C");
    EXPECT_EQ(temp.scale, ScalePicture::None);
    EXPECT_EQ(Traces(temp.checked), (std::vector<T>{T::TempSP, T::TempMV, T::TempQ}));
    EXPECT_EQ(Traces(temp.disabled),
              (std::vector<T>{T::FlowSP, T::FlowMV, T::FlowQ, T::VolSP, T::VolMV}));
    EXPECT_FALSE(temp.gateValve);
    EXPECT_EQ(DefaultTrendSpan(Exercise::Temperature), 120);

    const TrendsProfile& batch = ProfileOf(Exercise::Batch).trends;
    EXPECT_STREQ(batch.caption, "Batch Volume Trend");
    EXPECT_STREQ(batch.leftUnit, "L");
    EXPECT_STREQ(batch.rightUnit, "°C / %");
    EXPECT_EQ(batch.scale, ScalePicture::Litres);
    EXPECT_EQ(Traces(batch.checked),
              (std::vector<T>{T::FlowQ, T::TempSP, T::TempMV, T::TempQ, T::VolSP, T::VolMV}));
    EXPECT_EQ(Traces(batch.disabled), (std::vector<T>{T::FlowSP, T::FlowMV}));
    EXPECT_EQ(DefaultTrendSpan(Exercise::Batch), 180);

    const TrendsProfile& level = ProfileOf(Exercise::Level).trends;
    EXPECT_STREQ(level.caption, "Fluid Level Trend");
    EXPECT_STREQ(level.leftUnit, "Level");
    EXPECT_EQ(level.scale, ScalePicture::None);
    EXPECT_EQ(Traces(level.checked), (std::vector<T>{T::LevelSP, T::LevelMV, T::FlowQ}));
    EXPECT_TRUE(level.levelBoxes);
    EXPECT_FALSE(level.gateValve);
    EXPECT_EQ(DefaultTrendSpan(Exercise::Level), 120);

    const TrendsProfile& open = ProfileOf(Exercise::Open).trends;
    EXPECT_STREQ(open.caption, "Open Loop Trend");
    EXPECT_EQ(open.scale, ScalePicture::FlowRate);
    EXPECT_EQ(Traces(open.checked), (std::vector<T>{T::FlowMV, T::FlowQ}));
    EXPECT_EQ(Traces(open.disabled),
              (std::vector<T>{T::FlowSP, T::TempSP, T::TempMV, T::TempQ, T::VolSP, T::VolMV}));
    EXPECT_TRUE(open.gateValve);
    EXPECT_EQ(DefaultTrendSpan(Exercise::Open), 60);
}

TEST(TrendsConfiguration, SettingsBoxShowsEachControllersLoggedValues)
{
    // Each controller's own gain, I and D, as its run logs them, stand in
    // one column of the box; two columns never share a place.
    const std::array<std::array<std::string, 4>, 2> texts{
        {{"2", "50", "3", "0.5"}, {"3", "33.33", "4", "1.5"}}};
    for (Exercise e : {Exercise::Flow, Exercise::Level, Exercise::Open, Exercise::Temperature,
                       Exercise::Batch}) {
        SCOPED_TRACE(CommandWord(e));
        TestRun r(e);
        const ExerciseProfile& p = ProfileOf(e);
        const std::span<const SettingsColumn> columns = p.trends.settingsColumns;
        ASSERT_EQ(columns.size(), p.panels.size());
        std::set<std::array<std::string, 4>> expected;
        for (std::size_t k = 0; k < p.panels.size(); ++k) {
            const PidLoop loop = p.panels[k].loop(r.state);
            loop.gain = 2.0f + static_cast<float>(k);
            loop.integralTime = 3.0f + static_cast<float>(k);
            loop.derivativeTime = 0.5f + static_cast<float>(k);
            expected.insert(texts[k]);
        }
        r.start();
        r.cycles(3);
        std::set<std::array<std::string, 4>> shown;
        std::set<ColumnPlace> places;
        for (const SettingsColumn& c : columns) {
            shown.insert(SettingsTexts(r.record(r.state.run.sampleCount), c));
            places.insert(c.place);
        }
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(places.size(), columns.size());
    }
}
