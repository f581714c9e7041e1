// The mimic's gauges in pixels: the level bar rounds halves to even and
// fills 150 pixels at a full tank; the dial's needle turns clockwise from
// lower left (setting 0, dial position -11) to lower right (255).
#include "ui/mimic/MimicGauges.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(MimicGauges, LevelBarHeight)
{
    EXPECT_EQ(MimicBarPixels(125), 75);
    EXPECT_EQ(MimicBarPixels(250), 150);
    EXPECT_EQ(MimicBarPixels(1), 1);
    EXPECT_EQ(MimicBarPixels(0), 0);
}

TEST(MimicGauges, DialNeedleEnd)
{
    const DialPoint zero = MimicNeedleEnd(-11);
    EXPECT_EQ(zero.x, 13);
    EXPECT_EQ(zero.y, 25);
    // A third of the way round: upper left; the full 255: lower right.
    EXPECT_EQ(MimicNeedleEnd(85).x, 12);
    EXPECT_EQ(MimicNeedleEnd(85).y, 11);
    EXPECT_EQ(MimicNeedleEnd(255).x, 24);
    EXPECT_EQ(MimicNeedleEnd(255).y, 23);
}
