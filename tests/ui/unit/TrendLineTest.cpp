#include "ui/trends/TrendLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

using namespace velmor;

namespace {

using Pixels = std::vector<std::pair<int, int>>;

Pixels Line(int x0, int y0, int x1, int y1, int l = -1000, int t = -1000, int r = 1000,
            int b = 1000)
{
    Pixels px;
    RasterLine(x0, y0, x1, y1, l, t, r, b, [&](int x, int y) { px.emplace_back(x, y); });
    return px;
}

} // namespace

TEST(TrendLine, LeavesOutTheEndPixel)
{
    EXPECT_EQ(Line(10, 5, 14, 5), (Pixels{{10, 5}, {11, 5}, {12, 5}, {13, 5}}));
    EXPECT_EQ(Line(10, 5, 10, 8), (Pixels{{10, 5}, {10, 6}, {10, 7}}));
    EXPECT_EQ(Line(10, 5, 7, 2), (Pixels{{10, 5}, {9, 4}, {8, 3}}));
    EXPECT_TRUE(Line(3, 3, 3, 3).empty());
    // A one-pixel step: the start only; a steep one steps along y.
    EXPECT_EQ(Line(413, 125, 414, 125), (Pixels{{413, 125}}));
    EXPECT_EQ(Line(413, 125, 414, 130),
              (Pixels{{413, 125}, {413, 126}, {413, 127}, {414, 128}, {414, 129}}));
}

TEST(TrendLine, HalfWayPointsRoundTowardTheStart)
{
    // The exact line passes half way between two rows at x = 1 and x = 3:
    // the pixel stays on the start's side, whichever way the line runs.
    EXPECT_EQ(Line(0, 0, 4, 2), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(Line(4, 2, 0, 0), (Pixels{{4, 2}, {3, 2}, {2, 1}, {1, 1}}));
    EXPECT_EQ(Line(0, 0, 2, 4), (Pixels{{0, 0}, {0, 1}, {1, 2}, {1, 3}}));
}

TEST(TrendLine, OnePixelPerStepOfTheLongerAxisAndConnected)
{
    for (auto [x1, y1] : std::vector<std::pair<int, int>>{
             {17, 3}, {3, 17}, {-9, 4}, {5, -13}, {-7, -7}, {20, -1}}) {
        const Pixels px = Line(0, 0, x1, y1);
        ASSERT_EQ(px.size(), static_cast<std::size_t>(std::max(std::abs(x1), std::abs(y1))));
        for (std::size_t i = 1; i < px.size(); ++i) {
            EXPECT_LE(std::abs(px[i].first - px[i - 1].first), 1);
            EXPECT_LE(std::abs(px[i].second - px[i - 1].second), 1);
        }
        // Every pixel lies within half a pixel of the exact line (minor axis).
        for (auto [x, y] : px) {
            if (std::abs(x1) >= std::abs(y1)) {
                EXPECT_LE(std::abs(2.0 * (y * x1 - x * y1)), std::abs(x1) + 0.0) << x << "," << y;
            } else {
                EXPECT_LE(std::abs(2.0 * (x * y1 - y * x1)), std::abs(y1) + 0.0) << x << "," << y;
            }
        }
    }
}

TEST(TrendLine, ClippingKeepsTheSamePixelsInside)
{
    const Pixels full = Line(-500, 40, 900, 300);
    const Pixels clipped = Line(-500, 40, 900, 300, 38, 47, 489, 359);
    Pixels expected;
    for (auto p : full) {
        if (p.first >= 38 && p.first < 489 && p.second >= 47 && p.second < 359) {
            expected.push_back(p);
        }
    }
    EXPECT_EQ(clipped, expected);
    // A far-off start costs only the clipped steps and draws the same.
    const Pixels far = Line(-1000000000, 100, 488, 100, 0, 0, 524, 501);
    EXPECT_EQ(far.size(), 488u);
    EXPECT_EQ(far.front(), (std::pair<int, int>{0, 100}));
    EXPECT_EQ(far.back(), (std::pair<int, int>{487, 100}));
}
