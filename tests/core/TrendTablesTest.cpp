#include "core/trends/TrendTables.h"

#include "core/rundata/SampleLog.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(TrendTables, EachTraceReadsItsFieldOnItsScaleInItsColour)
{
    // A record with a different value in every plotted field.
    SampleRecord rec;
    rec.field(2) = 1.5f;  // flow set point, L/min
    rec.field(3) = 0.3f;  // flow, L/min
    rec.field(7) = 20;    // pump output, %
    rec.field(8) = 37.5f; // temperature set point
    rec.field(9) = 99;    // temperature
    rec.field(13) = 0.4f; // heater, %
    rec.field(14) = 2;    // volume set point, L
    rec.field(15) = 4.5f; // volume, L
    rec.field(19) = 60;   // level set point, %
    rec.field(20) = 75;   // level, %
    struct Expected {
        TraceId id;
        int y;
        Rgb colour;
    };
    const Expected expected[] = {
        {TraceId::FlowSP, 125, {255, 255, 0}},  // 358 - 1.5 x 155.5 = 124.75
        {TraceId::FlowMV, 311, {0, 255, 255}},  // 311.35
        {TraceId::FlowQ, 296, {255, 255, 255}}, // 358 - 20 x 3.11 = 295.8
        {TraceId::TempSP, 241, {0, 255, 0}},    // 241.375
        {TraceId::TempMV, 50, {255, 0, 0}},     // 50.11
        {TraceId::TempQ, 357, {255, 0, 255}},   // 356.756
        {TraceId::VolSP, 254, {0, 0, 255}},     // 358 - 2 x 311 / 6 = 254.33
        {TraceId::VolMV, 125, {0, 128, 0}},     // 124.75
        {TraceId::LevelSP, 171, {255, 255, 0}}, // 171.4
        {TraceId::LevelMV, 125, {0, 255, 255}}, // 124.75
    };
    const auto& traces = TraceTable();
    ASSERT_EQ(traces.size(), 10u);
    for (std::size_t i = 0; i < traces.size(); ++i) {
        const TraceInfo& t = traces[i];
        EXPECT_EQ(t.id, expected[i].id) << i;
        EXPECT_EQ(PlotOnScale(t.scale, rec.field(t.field)), expected[i].y) << i;
        EXPECT_EQ(t.colour, expected[i].colour) << i;
    }
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
