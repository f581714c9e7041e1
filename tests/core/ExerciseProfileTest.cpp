// What sets the exercises apart: every value box holds to the limits the
// keypad is given, what the boxes show and set, the velmor-sim names, and
// the Trends window's configuration and settings box.
#include "TestFiles.h"
#include "TestRun.h"

#include "core/exercises/ExerciseProfile.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/NumberText.h"
#include "core/shell/KeypadEntry.h"
#include "core/trends/RunReport.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <set>
#include <span>
#include <string>
#include <vector>

using namespace velmor;
using velmor::test::Slurp;
using velmor::test::TestRun;
namespace fs = std::filesystem;

namespace {

// A text the keypad takes for `value` (at most seven decimals).
std::string Typed(double value)
{
    return *KeypadText(value);
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

// Each built-in row lives in its exercise's own file and the list of them
// is written by hand: the registry finds a row by its id as an index, so a
// row out of place would hand one exercise another's boxes and engine.
TEST(BuiltInProfiles, RowsStandAtTheirExercisesIndex)
{
    const std::span<const ExerciseProfile> rows = BuiltInProfiles();
    ASSERT_EQ(rows.size(), 5u);
    std::set<std::string_view> formNames;
    std::set<std::string_view> words;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Exercise e = static_cast<Exercise>(i);
        EXPECT_EQ(rows[i].exercise, e) << i;
        formNames.insert(rows[i].formName);
        words.insert(rows[i].commandWord);
    }
    EXPECT_EQ(formNames.size(), rows.size());
    EXPECT_EQ(words.size(), rows.size());
}

TEST(KeypadBoxes, EveryNamedBoxTakesItsLimitsAndNothingPastThem)
{
    // Each box a velmor-sim name types into, with every waveform row shown
    // (Sine), no run going: the value it opens with lies within the limits
    // the keypad is given, both limits are taken as the keypad takes them,
    // and a value past either is refused, naming those limits.
    for (const ExerciseProfile* p : Profiles()) {
        const Exercise e = p->exercise;
        for (const NamedSetting& n : p->settingNames) {
            if (n.box == nullptr) {
                continue;
            }
            SCOPED_TRACE(std::string(CommandWord(e)) + " " + std::string(n.name));
            TestRun r(e);
            ChooseWaveform(r.state, e, kSine);
            const std::optional<KeypadRange> range = KeypadRangeFor(r.state, e, n.box->code);
            ASSERT_TRUE(range);
            const float old = KeypadOldFor(r.state, e, n.box->code);
            EXPECT_TRUE(KeypadInRange(old, range->min, range->max)) << old;
            const std::string limits = " out of range (" + ShortestText(range->min) + " to " +
                                       ShortestText(range->max) + ")";
            for (const float limit : {range->min, range->max}) {
                TestRun at(e);
                ChooseWaveform(at.state, e, kSine);
                EXPECT_EQ(ApplySetting(at.state, e, n.name, Typed(limit)), "");
                EXPECT_EQ(KeypadOldFor(at.state, e, n.box->code), limit);
            }
            const std::string above = Typed(range->max * 1.5 + 1);
            EXPECT_EQ(ApplySetting(r.state, e, n.name, above),
                      std::string(n.name) + "=" + above + ":" + limits);
            if (range->min > 0) {
                const std::string below = Typed(range->min / 2);
                EXPECT_EQ(ApplySetting(r.state, e, n.name, below),
                          std::string(n.name) + "=" + below + ":" + limits);
            }
            EXPECT_EQ(KeypadOldFor(r.state, e, n.box->code), old);
        }
    }
}

TEST(KeypadBoxes, TheRangesTheHelpPagesGive)
{
    // What the help tells students they may enter: both ends are taken,
    // a little past either is refused (half the least, which the keypad
    // can type: it has no minus).
    struct Stated {
        Exercise exercise;
        const char* name;
        double min;
        double max;
    };
    for (const Stated& s : {Stated{Exercise::Temperature, "initialTemperature", 10, 90},
                            Stated{Exercise::Temperature, "tempEnteredSP", 20, 90},
                            Stated{Exercise::Batch, "expectedTime", 60, 600},
                            Stated{Exercise::Batch, "batchVolumeSP", 0.5, 12},
                            Stated{Exercise::Batch, "batchTempSP", 20, 90},
                            Stated{Exercise::Batch, "sumpTemperature", 10, 90},
                            Stated{Exercise::Flow, "flowGain", 0.01, 100}}) {
        SCOPED_TRACE(s.name);
        for (const auto& [v, taken] :
             {std::pair{s.min, true}, {s.max, true}, {s.min / 2, false}, {s.max + 0.1, false}}) {
            TestRun r(s.exercise);
            EXPECT_EQ(ApplySetting(r.state, s.exercise, s.name, Typed(v)).empty(), taken) << v;
        }
    }
}

TEST(KeypadBoxes, BandLimitsAreTheGainLimitsTurnedOver)
{
    // PB = 100 / PG: the largest gain the keypad takes gives the smallest
    // band, and so on, in every controller of every exercise.
    for (const ExerciseProfile* p : Profiles()) {
        for (const KeypadBox& gain : p->boxes) {
            if (gain.kind != BoxKind::Pid || gain.panelCode != kCodePG) {
                continue;
            }
            const KeypadBox* band = p->box(gain.code - kCodePG + kCodePB);
            ASSERT_NE(band, nullptr);
            SCOPED_TRACE(std::string(p->commandWord) + " code " + std::to_string(gain.code));
            TestRun r(p->exercise);
            r.enter(gain.code, gain.max);
            EXPECT_EQ(KeypadOldFor(r.state, p->exercise, band->code), band->min);
            r.enter(gain.code, gain.min);
            EXPECT_EQ(KeypadOldFor(r.state, p->exercise, band->code), band->max);
        }
    }
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

TEST(NamedSettings, TheUserDocumentationListsEveryExercisesNames)
{
    // docs/velmor-sim.md's table of names, row "| word | `name`, ... |",
    // is what users type: every exercise has its row, with exactly the
    // names velmor-sim takes, in the order it lists them.
    const std::string doc =
        Slurp(fs::path(VELMOR_TEST_DATA) / ".." / ".." / "docs" / "velmor-sim.md");
    ASSERT_FALSE(doc.empty());
    for (const Exercise e : Exercises()) {
        SCOPED_TRACE(CommandWord(e));
        const std::string head = "\n| " + std::string(CommandWord(e)) + " | `";
        const std::size_t row = doc.find(head);
        ASSERT_NE(row, std::string::npos);
        const std::string line = doc.substr(row + 1, doc.find('\n', row + 1) - row - 1);
        std::vector<std::string> listed;
        for (std::size_t at = line.find('`'); at != std::string::npos;) {
            const std::size_t end = line.find('`', at + 1);
            listed.push_back(line.substr(at + 1, end - at - 1));
            at = line.find('`', end + 1);
        }
        EXPECT_EQ(listed, Names(e));
    }
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
