#include "core/trends/TrendTables.h"

#include "core/exercises/ExerciseProfile.h"
#include "core/rundata/SampleLog.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

using namespace velmor;

TEST(TrendTables, TracesShownTogetherAreToldApartOnTheBlackPlot)
{
    const auto key = [](Rgb c) { return std::tuple(c.r, c.g, c.b); };
    for (const ExerciseProfile& p : BuiltInProfiles()) {
        SCOPED_TRACE(CommandWord(p.exercise));
        // Every trace an exercise lets a student show (its box neither
        // hidden nor disabled): no two alike, none black on the black plot,
        // each bar in its trace's colour but the pump output's, silver.
        std::set<std::tuple<int, int, int>> colours;
        int shown = 0;
        for (const TraceInfo& t : TraceTable()) {
            const bool hiddenBox = p.trends.levelBoxes
                                       ? (t.id == TraceId::FlowSP || t.id == TraceId::FlowMV)
                                       : (t.id == TraceId::LevelSP || t.id == TraceId::LevelMV);
            bool disabled = false;
            for (TraceId d : p.trends.disabled) {
                disabled = disabled || d == t.id;
            }
            if (hiddenBox || disabled) {
                continue;
            }
            ++shown;
            colours.insert(key(t.colour));
            EXPECT_NE(key(t.colour), key(Rgb{0, 0, 0}));
            if (t.id != TraceId::FlowQ) {
                EXPECT_EQ(BarOf(t.id).colour, t.colour);
            }
        }
        EXPECT_EQ(static_cast<int>(colours.size()), shown);
    }
    EXPECT_NE(BarOf(TraceId::FlowQ).colour,
              TraceTable()[static_cast<std::size_t>(TraceId::FlowQ)].colour);
}

TEST(TrendBars, MeasuredFlowIsClampedTheOthersShowTheirValue)
{
    const BarInfo& mv = BarOf(TraceId::FlowMV);
    const float v = BarValue(mv, 2.6f);
    EXPECT_EQ(v, 2.0f);
    EXPECT_EQ(BarText(mv, v), "2.00");
    EXPECT_EQ(BarValue(mv, -0.4f), 0.0f);

    const BarInfo& sp = BarOf(TraceId::FlowSP);
    EXPECT_EQ(BarValue(sp, 2.6f), 2.6f);
    EXPECT_EQ(BarText(sp, 2.6f), "2.60");
    EXPECT_EQ(BarValue(sp, -0.5f), -0.5f);
}

TEST(TrendBars, TextsPerBar)
{
    EXPECT_EQ(BarText(BarOf(TraceId::FlowQ), 55.3f), "55%");
    EXPECT_EQ(BarText(BarOf(TraceId::TempQ), 100.0f), "100%");
    EXPECT_EQ(BarText(BarOf(TraceId::TempSP), 30.0f), "30");
    EXPECT_EQ(BarText(BarOf(TraceId::TempMV), 29.6f), "30");
    EXPECT_EQ(BarText(BarOf(TraceId::LevelSP), 80.0f), "80");
    EXPECT_EQ(BarText(BarOf(TraceId::FlowSP), 1.5f, ','), "1,50");
    EXPECT_EQ(BarText(BarOf(TraceId::VolSP), 6.0f), "6");
    EXPECT_EQ(BarText(BarOf(TraceId::VolMV), 6.0f), "6.0");
}
