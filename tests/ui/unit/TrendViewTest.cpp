#include "ui/trends/TrendView.h"
#include "ui/trends/Scales.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(TrendView, SecondIndexLookUpsStayInsideTheTable)
{
    SampleLog log;
    for (int s = 0; s < kSecondIndexEntries; ++s) {
        log.secondIndex[static_cast<std::size_t>(s)] = 10 * s + 1;
    }
    // A view starting at 780 s spanning 180 s reads its right edge at 960 s.
    EXPECT_EQ(SecondIndexAt(log, 780), 7801);
    EXPECT_EQ(SecondIndexAt(log, 780 + 180), 7801);
    EXPECT_EQ(SecondIndexAt(log, 1000000000000LL), 7801);
    EXPECT_EQ(SecondIndexAt(log, -5), 1);
    EXPECT_EQ(SecondIndexAt(log, 60), 601);
    EXPECT_EQ(ClampSecond(781), 780);
    EXPECT_EQ(ClampSecond(-1), 0);
    EXPECT_EQ(ClampSecond(415), 415);
}

TEST(TrendView, RecordNumbersStayInsideTheLog)
{
    EXPECT_EQ(ClampRecordNumber(0), 1);
    EXPECT_EQ(ClampRecordNumber(-3), 1);
    EXPECT_EQ(ClampRecordNumber(7801), 6000);
    EXPECT_EQ(ClampRecordNumber(3000), 3000);
    // The bars show record 6000 for anything outside 1..6000.
    EXPECT_EQ(BarRecordNumber(0), 6000);
    EXPECT_EQ(BarRecordNumber(7000), 6000);
    EXPECT_EQ(BarRecordNumber(-1), 6000);
    EXPECT_EQ(BarRecordNumber(1), 1);
    EXPECT_EQ(BarRecordNumber(6000), 6000);
}

TEST(TrendView, FoldingMatchesRepeatedSubtraction)
{
    for (int x = -20; x < 3000; ++x) {
        int folded = x;
        while (folded > kPlotRight) {
            folded -= 451;
        }
        ASSERT_EQ(FoldX(x), folded) << x;
    }
    EXPECT_EQ(FoldX(489), 38);
    EXPECT_EQ(FoldX(488), 488);
    // Far-off times fold without looping two million times.
    EXPECT_GT(FoldX(1000000000), 37);
    EXPECT_LE(FoldX(1000000000), 488);
}

TEST(TrendView, SliderKnobOffsets)
{
    EXPECT_EQ(SliderKnobOffset(20), 0);
    EXPECT_EQ(SliderKnobOffset(60), 13);
    EXPECT_EQ(SliderKnobOffset(120), 34);
    EXPECT_EQ(SliderKnobOffset(180), 55);
}

TEST(TrendView, TextPlacement)
{
    // Round(w / 2) with ties to even: 7 / 2 = 3.5 -> 4, 5 / 2 = 2.5 -> 2.
    EXPECT_EQ(CentredLeft(100, 7), 96);
    EXPECT_EQ(CentredLeft(100, 5), 98);
    EXPECT_EQ(CentredLeft(100, 16), 92);
    EXPECT_EQ(AxisLabelTop(15), 361);
    EXPECT_EQ(AxisLabelTop(17), 360);
    EXPECT_EQ(AxisLabelTop(16), 361); // Round(-0.5) = 0
    EXPECT_EQ(AxisLabelTop(12), 363); // Round(1.5) = 2
}
