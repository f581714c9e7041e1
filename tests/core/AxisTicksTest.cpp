// Ticks of the tuning map's axes and colour bar: inside the range, few
// enough to read, on round values, and labelled without noise digits.
#include "core/analysis/AxisTicks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>

using namespace velmor;

namespace {

std::string Label(const AxisTick& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", t.decimals, t.value);
    return text;
}

// m x 10^e with m one of 1, 2 and 5.
bool Round125(double v)
{
    const double e = std::floor(std::log10(v) + 1e-12);
    const double m = v / std::pow(10.0, e);
    return std::abs(m - 1) < 1e-9 || std::abs(m - 2) < 1e-9 || std::abs(m - 5) < 1e-9;
}

struct Case {
    double from;
    double to;
    bool logarithmic;
    bool decadesOnly; // three or more powers of ten in range
};

} // namespace

TEST(AxisTicks, RoundReadableTicksInsideTheRange)
{
    const Case cases[] = {
        {1.1875, 6.131, false, false}, {0.2, 3.2, false, false}, {0.25, 4, false, false},
        {4, 0.25, false, false},       {0.1, 0.7, false, false}, {-3.5, 12.25, false, false},
        {990, 1010, false, false},     {0, 100, false, false},   {0.0003, 0.00071, false, false},
        {0.25, 4, true, false},        {0.02, 0.8, true, false}, {1, 1.5, true, false},
        {0.001, 1000, true, true},     {1e-6, 1e6, true, true},  {0.0101, 9.99, true, false},
        {3, 400, true, false},         {-1, 10, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " .. " + std::to_string(c.to) +
                     (c.logarithmic ? " log" : ""));
        const std::vector<AxisTick> ticks = AxisTicks(c.from, c.to, c.logarithmic);
        ASSERT_GE(ticks.size(), 3u);
        EXPECT_LE(ticks.size(), 8u);
        const double lo = std::min(c.from, c.to);
        const double hi = std::max(c.from, c.to);
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            const AxisTick& t = ticks[i];
            EXPECT_GE(t.value, lo);
            EXPECT_LE(t.value, hi);
            if (i > 0) {
                EXPECT_GT(t.value, ticks[i - 1].value);
            }
            // The label reads back as the value, with no digit to spare.
            const std::string label = Label(t);
            EXPECT_NEAR(std::stod(label), t.value, 1e-9 * std::max(1.0, std::abs(t.value)))
                << label;
            if (label.find('.') != std::string::npos) {
                EXPECT_NE(label.back(), '0') << label;
            }
        }
        bool onPowers = c.logarithmic && lo > 0;
        for (const AxisTick& t : ticks) {
            onPowers = onPowers && Round125(t.value);
        }
        if (onPowers) {
            // 1, 2 and 5 within the powers of ten; only the powers when
            // there are three or more.
            for (const AxisTick& t : ticks) {
                const double m = t.value / std::pow(10.0, std::floor(std::log10(t.value) + 1e-12));
                EXPECT_TRUE(!c.decadesOnly || std::abs(m - 1) < 1e-9) << Label(t);
            }
            continue;
        }
        EXPECT_FALSE(c.decadesOnly);
        // Even steps of 1, 2 or 5 times a power of ten, every tick on one.
        const double step = ticks[1].value - ticks[0].value;
        EXPECT_TRUE(Round125(step)) << step;
        for (const AxisTick& t : ticks) {
            const double k = t.value / step;
            EXPECT_NEAR(k, std::round(k), 1e-6) << Label(t);
        }
    }
}

TEST(AxisTicks, AShortAxisGetsFewerTicks)
{
    // Still round, inside, and at most as many as asked for.
    for (const auto& [from, to, logarithmic] : {std::tuple{140.2, 211.0, false},
                                                {0.25, 4.0, true},
                                                {1e-6, 1e6, true},
                                                {0.2, 3.2, false}}) {
        for (int most = 2; most <= 5; ++most) {
            const std::vector<AxisTick> ticks = AxisTicks(from, to, logarithmic, most);
            ASSERT_FALSE(ticks.empty());
            EXPECT_LE(static_cast<int>(ticks.size()), most) << from << " .. " << to;
            for (const AxisTick& t : ticks) {
                EXPECT_TRUE(t.value >= from && t.value <= to);
                EXPECT_NEAR(std::stod(Label(t)), t.value, 1e-9 * std::max(1.0, t.value))
                    << Label(t);
            }
        }
    }
}

TEST(AxisTicks, OneValueAndNonsense)
{
    const std::vector<AxisTick> one = AxisTicks(2.5, 2.5, false);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(Label(one[0]), "2.5");
    EXPECT_TRUE(AxisTicks(0, NAN, false).empty());
    EXPECT_TRUE(AxisTicks(-INFINITY, 1, true).empty());
}
