#include "core/trends/TrendTables.h"
#include "core/trends/Scales.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(TrendTables, TracesFollowTheRecordFieldsAndScales)
{
    const auto& t = TraceTable();
    ASSERT_EQ(t.size(), 10u);
    const int fields[10] = {2, 3, 7, 8, 9, 13, 14, 15, 19, 20};
    for (std::size_t i = 0; i < t.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(t[i].id), i);
        EXPECT_EQ(t[i].field, fields[i]);
    }
    EXPECT_EQ(PlotOnScale(t[0].scale, 2.5f), 47);   // flow: 2 L/min full scale
    EXPECT_EQ(PlotOnScale(t[2].scale, 50.0f), 202); // percent
    EXPECT_EQ(PlotOnScale(t[6].scale, 6.0f), 47);   // volume: 6 L
    EXPECT_EQ(PlotOnScale(t[6].scale, 3.0f), PlotCumulative(3.0f));
    EXPECT_EQ((t[2].colour), (Rgb{255, 255, 255}));
    EXPECT_EQ((t[7].colour), (Rgb{0, 128, 0}));
}

TEST(TrendBars, MeasuredFlowIsClampedAndShowsItsFullBar)
{
    const BarInfo& mv = BarOf(TraceId::FlowMV);
    const float v = BarValue(mv, 2.6f);
    EXPECT_EQ(v, 2.0f);
    EXPECT_EQ(BarText(mv, v), "2.00");
    EXPECT_EQ(BarFilledTop(mv, v), 403);
    EXPECT_EQ(BarEmptyBottom(mv, v), 403);
    EXPECT_EQ(BarValue(mv, -0.4f), 0.0f);
    EXPECT_EQ(BarFilledTop(mv, 0.0f), 467);
}

TEST(TrendBars, OtherBarsShowValuesBeyondFullScale)
{
    const BarInfo& sp = BarOf(TraceId::FlowSP);
    const float v = BarValue(sp, 2.6f);
    EXPECT_EQ(BarText(sp, v), "2.60");
    // 19 pixels above the bar's top.
    EXPECT_EQ(BarFilledTop(sp, v), 403 - 19);
    EXPECT_EQ(BarEmptyBottom(sp, v), 403 - 19);
    // A negative value reaches below the bar's bottom.
    EXPECT_GT(BarFilledTop(sp, -0.5f), 467);
}

TEST(TrendBars, VolumeBarsHaveDifferentFullScales)
{
    const BarInfo& sp = BarOf(TraceId::VolSP);
    const BarInfo& mv = BarOf(TraceId::VolMV);
    EXPECT_EQ(BarFilledTop(sp, 6.0f), 467 - 32); // half of 12 L
    EXPECT_EQ(BarFilledTop(mv, 6.0f), 403);      // all of 6 L
    EXPECT_EQ(BarText(sp, 6.0f), "6");
    EXPECT_EQ(BarText(mv, 6.0f), "6.0");
}

TEST(TrendBars, TextsAndRounding)
{
    EXPECT_EQ(BarText(BarOf(TraceId::FlowQ), 55.3f), "55%");
    EXPECT_EQ(BarText(BarOf(TraceId::TempQ), 100.0f), "100%");
    EXPECT_EQ(BarText(BarOf(TraceId::TempSP), 30.0f), "30");
    EXPECT_EQ(BarText(BarOf(TraceId::TempMV), 29.6f), "30");
    EXPECT_EQ(BarText(BarOf(TraceId::LevelSP), 80.0f), "80");
    EXPECT_EQ(BarText(BarOf(TraceId::FlowSP), 1.5f, ','), "1,50");
    // Round(0.5 x 64 / 64 ...) ties to even: 50.78125 % of 64 is 32.5 -> 32.
    const BarInfo& q = BarOf(TraceId::FlowQ);
    EXPECT_EQ(BarFilledTop(q, 50.78125f), 467 - 32);
    EXPECT_EQ(BarFilledTop(q, 52.34375f), 467 - 34); // 33.5 -> 34
}

TEST(TrendBars, LevelBarsShareTheFlowPlaces)
{
    EXPECT_EQ(BarOf(TraceId::LevelSP).place, BarOf(TraceId::FlowSP).place);
    EXPECT_EQ(BarOf(TraceId::LevelMV).place, BarOf(TraceId::FlowMV).place);
    const auto& places = BarPlaces();
    for (const BarInfo& b : BarTable()) {
        const BarPlace& p = places[static_cast<std::size_t>(b.place)];
        EXPECT_EQ(p.bar.left, b.barLeft);
        EXPECT_EQ(p.bar.right - p.bar.left, kTrendBarWidth);
        // The blanked text rectangle covers the text cell but its last column.
        EXPECT_LE(p.text.left, b.cellLeft);
        EXPECT_GE(p.text.right, b.cellLeft + kTrendBarCellWidth - 1);
    }
}
