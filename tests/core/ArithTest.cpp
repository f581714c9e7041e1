// The integer conversions every model and controller relies on.
#include "core/Arith.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace velmor;

namespace {

// Same value and same sign (a signed zero included), or both NaN.
void ExpectSame(Real got, Real want)
{
    if (std::isnan(want)) {
        EXPECT_TRUE(std::isnan(got));
        return;
    }
    EXPECT_EQ(got, want);
    EXPECT_EQ(std::signbit(got), std::signbit(want)) << static_cast<double>(want);
}

} // namespace

TEST(Arith, IntTruncatesTowardZeroExactlyAsTruncDoes)
{
    constexpr Real kInf = std::numeric_limits<Real>::infinity();
    const Real values[] = {0.0L,
                           -0.0L,
                           0.25L,
                           -0.25L,
                           0.9999999999999999999L,
                           -0.9999999999999999999L,
                           1.0L,
                           -1.0L,
                           2.5L,
                           -2.5L,
                           24.0L,
                           23.999999999999999L,
                           6000.0L / 25.0L,
                           1e18L + 0.5L,
                           -(1e18L + 0.5L),
                           9.2e18L,
                           -9.2e18L,
                           9223372036854775807.0L, // 2^63 - 1, not below the limit
                           1e30L,
                           -1e30L,
                           kInf,
                           -kInf,
                           std::numeric_limits<Real>::quiet_NaN()};
    for (Real x : values) {
        ExpectSame(Int(x), std::trunc(x));
    }
    // The last whole values below the limit keep all 64 bits on the way back.
    const Real big = 9199999999999999999.0L;
    EXPECT_EQ(Int(big + 0.5L), std::trunc(big + 0.5L));
    EXPECT_EQ(Int(-big - 0.5L), -std::trunc(big + 0.5L));
}

TEST(Arith, TruncSaturatesAndMapsNaNToZero)
{
    EXPECT_EQ(Trunc(215.65L), 215);
    EXPECT_EQ(Trunc(-215.65L), -215);
    EXPECT_EQ(Trunc(-0.5L), 0);
    EXPECT_EQ(Trunc(1e30L), 9000000000000000000);
    EXPECT_EQ(Trunc(-1e30L), -9000000000000000000);
    EXPECT_EQ(Trunc(std::numeric_limits<Real>::infinity()), 9000000000000000000);
    EXPECT_EQ(Trunc(std::numeric_limits<Real>::quiet_NaN()), 0);
}

TEST(Arith, CountsToPercentIsCountsOver255Times100)
{
    EXPECT_EQ(CountsToPercent(0), 0.0f);
    EXPECT_EQ(CountsToPercent(255), 100.0f);
    EXPECT_EQ(CountsToPercent(51), 20.0f);
    EXPECT_EQ(CountsToPercent(128), 50.19608f);
    EXPECT_EQ(CountsToPercent(1), 0.39215687f);
    // Outside the 8-bit range (never from a clamped output) it is computed.
    EXPECT_EQ(CountsToPercent(510), 200.0f);
    EXPECT_EQ(CountsToPercent(-51), -20.0f);
}
