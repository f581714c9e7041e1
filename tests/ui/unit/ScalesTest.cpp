// Value and time scales of the trend plot at points worked out by hand,
// away from halves, so that rounding, truncation and the clamps all show.
#include "ui/trends/Scales.h"

#include "core/rundata/SampleLog.h"

#include <gtest/gtest.h>

#include <vector>

using namespace velmor;

TEST(ValueScales, PercentAndTemperatureRoundToTheNearestRow)
{
    EXPECT_EQ(PlotFixed(20), 296);    // 358 - 62.2 = 295.8
    EXPECT_EQ(PlotFixed(37.5f), 241); // 241.375
    EXPECT_EQ(PlotFixed(0.4f), 357);  // 356.756
    EXPECT_EQ(PlotFixed(99), 50);     // 50.11
    EXPECT_EQ(PlotFixed(0), 358);
    EXPECT_EQ(PlotFixed(100), 47);
    EXPECT_EQ(PlotFixed(50), 202); // 202.5, halves to even
    // Off the scale: clamped to the plot's edges.
    EXPECT_EQ(PlotFixed(101), 47);
    EXPECT_EQ(PlotFixed(-1), 358);
}

TEST(ValueScales, FlowRateAndVolume)
{
    EXPECT_EQ(PlotRate(1.5f), 125);       // 358 - 233.25 = 124.75
    EXPECT_EQ(PlotRate(0.3f), 311);       // 311.35
    EXPECT_EQ(PlotRate(1.99f), 49);       // 48.555
    EXPECT_EQ(PlotRate(1), 202);          // 202.5, halves to even
    EXPECT_EQ(PlotRate(2.5f), 47);        // clamped
    EXPECT_EQ(PlotRate(-0.1f), 358);      // clamped
    EXPECT_EQ(PlotCumulative(2), 254);    // 358 - 103.67 = 254.33
    EXPECT_EQ(PlotCumulative(4.5f), 125); // 124.75
    EXPECT_EQ(PlotCumulative(1.2f), 296); // 295.8
    EXPECT_EQ(PlotCumulative(6), 47);
    EXPECT_EQ(PlotCumulative(7), 47);
}

TEST(TimeScale, TimesToPixelsTruncate)
{
    EXPECT_EQ(TimeToX(30.0, 0, 60), 263);    // 225 + 38.5
    EXPECT_EQ(TimeToX(60.0, 0, 60), 488);    // the right edge
    EXPECT_EQ(TimeToX(60.1, 0, 60), 489);    // past it: the live view scrolls
    EXPECT_EQ(TimeToX(60.1, 10, 60), 414);   // 375.75 + 38.5
    EXPECT_EQ(TimeToX(45.0, 20, 100), 151);  // 112.5 + 38.5
    EXPECT_EQ(TimeToX(123.4, 100, 40), 301); // 263.25 + 38.5
}

TEST(TimeScale, GridStepsAndLines)
{
    EXPECT_EQ(TickStep(20), 2);
    EXPECT_EQ(TickStep(40), 2);
    EXPECT_EQ(TickStep(50), 5);
    EXPECT_EQ(TickStep(100), 5);
    EXPECT_EQ(TickStep(110), 10);
    EXPECT_EQ(TickStep(180), 10);
    EXPECT_EQ(TickStep(45), 1); // any other span
    EXPECT_EQ(TickStep(190), 1);

    std::vector<int> span40;
    std::vector<int> span180;
    for (int i = 0; i < 20; ++i) {
        span40.push_back(TickX(i, 40));
        span180.push_back(TickX(i, 180));
    }
    // Every 2 s at 11.25 pixels a second; the last line short of the edge.
    EXPECT_EQ(span40, (std::vector<int>{38,  60,  83,  105, 128, 150, 173, 195, 218, 240,
                                        263, 285, 308, 330, 353, 375, 398, 420, 443, 465}));
    // Every 10 s at 2.5 pixels a second, up to 488 and one past it.
    EXPECT_EQ(span180, (std::vector<int>{38,  63,  88,  113, 138, 163, 188, 213, 238, 263,
                                         288, 313, 338, 363, 388, 413, 438, 463, 488, 513}));
    EXPECT_EQ(TickX(12, 60), 488); // 5 s at 7.5 pixels a second
    EXPECT_EQ(TickX(7, 100), 195); // 35 s at 4.5 pixels a second: 157.5 + 38
}

TEST(TimeScale, RedrawDecimationStep)
{
    // Trunc(span / 452 / period x 3), at least 1.
    EXPECT_EQ(RedrawStep(20, 0.1f), 1);  // 1.33
    EXPECT_EQ(RedrawStep(60, 0.1f), 3);  // 3.98
    EXPECT_EQ(RedrawStep(100, 0.1f), 6); // 6.64
    EXPECT_EQ(RedrawStep(120, 0.1f), 7); // 7.96
    EXPECT_EQ(RedrawStep(150, 0.1f), 9); // 9.96
    EXPECT_EQ(RedrawStep(180, 0.1f), 11);
    EXPECT_EQ(RedrawStep(60, 0.05f), 7);
    EXPECT_EQ(RedrawStep(90, 0.2f), 2);  // 2.99
    EXPECT_EQ(RedrawStep(180, 0.5f), 2); // 2.39
    EXPECT_EQ(RedrawStep(150, 0.5f), 1); // 1.991: just short of 2
    EXPECT_EQ(RedrawStep(75, 0.25f), 1); // 1.991
    EXPECT_EQ(RedrawStep(20, 0.5f), 1);  // 0.27, never 0
    EXPECT_EQ(RedrawStep(60, 0.0f), 1);
}

TEST(TrendTables, EachTraceReadsItsFieldOnItsScale)
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
    };
    const Expected expected[] = {
        {TraceId::FlowSP, 125},  // 358 - 1.5 x 155.5 = 124.75
        {TraceId::FlowMV, 311},  // 311.35
        {TraceId::FlowQ, 296},   // 358 - 20 x 3.11 = 295.8
        {TraceId::TempSP, 241},  // 241.375
        {TraceId::TempMV, 50},   // 50.11
        {TraceId::TempQ, 357},   // 356.756
        {TraceId::VolSP, 254},   // 358 - 2 x 311 / 6 = 254.33
        {TraceId::VolMV, 125},   // 124.75
        {TraceId::LevelSP, 171}, // 171.4
        {TraceId::LevelMV, 125}, // 124.75
    };
    const auto& traces = TraceTable();
    ASSERT_EQ(traces.size(), 10u);
    for (std::size_t i = 0; i < traces.size(); ++i) {
        const TraceInfo& t = traces[i];
        EXPECT_EQ(t.id, expected[i].id) << i;
        EXPECT_EQ(PlotOnScale(t.scale, rec.field(t.field)), expected[i].y) << i;
        // Each bar shows its trace's field.
        EXPECT_EQ(BarOf(t.id).field, t.field) << i;
    }
}
