// Number reading of simulation files: both decimal marks, the standard
// conversion's grammar, and values that would not fit where they are stored.
#include "core/rundata/NumberText.h"
#include "core/rundata/SafeStrToFloat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

using namespace velmor;

namespace {

double Number(std::string_view text, bool decimalComma = false)
{
    const RealValue v = ParseSafeReal(text, decimalComma);
    EXPECT_EQ(v.error, NumberError::None) << "'" << text << "'";
    return v.value;
}

NumberError RealError(std::string_view text, bool decimalComma = false)
{
    return ParseSafeReal(text, decimalComma).error;
}

} // namespace

TEST(SafeReal, EitherMarkGivesTheSameNumberOnEitherSystem)
{
    for (bool comma : {false, true}) {
        EXPECT_EQ(Number("1,5", comma), 1.5);
        EXPECT_EQ(Number("1.5", comma), 1.5);
        EXPECT_EQ(Number("-0,25", comma), -0.25);
        EXPECT_EQ(Number("2,5e3", comma), 2500.0);
        EXPECT_EQ(Number(",5", comma), 0.5);
        EXPECT_EQ(Number("5,", comma), 5.0);
    }
}

TEST(SafeReal, DoubledMarksCollapseToOne)
{
    EXPECT_EQ(Number("1..5"), 1.5);
    EXPECT_EQ(Number("1,,5"), 1.5);
    EXPECT_EQ(Number("1.,5"), 1.5);
    EXPECT_EQ(Number("1...5", true), 1.5);
    // Two marks apart stay two marks: no thousands separators.
    EXPECT_EQ(RealError("1.234,5"), NumberError::NotANumber);
    EXPECT_EQ(RealError("1,234,5", true), NumberError::NotANumber);
    EXPECT_EQ(RealError("1.2.3"), NumberError::NotANumber);
}

TEST(SafeReal, StandardConversionGrammar)
{
    EXPECT_EQ(Number("  42  "), 42.0);
    EXPECT_EQ(Number("\t7\t"), 7.0);
    EXPECT_EQ(Number("+3"), 3.0);
    EXPECT_EQ(Number("+3,5"), 3.5);
    EXPECT_EQ(Number("1E2"), 100.0);
    EXPECT_EQ(Number("1e+2"), 100.0);
    EXPECT_EQ(Number("-1.5e-1"), -0.15);
    EXPECT_TRUE(std::signbit(Number("-0")));
    EXPECT_EQ(Number("0000.1000"), 0.1);

    for (std::string_view bad :
         {"",      " ",   "abc",  "1a",       "a1",  ".",   ",",     "..",   "+",     "-",
          "--1",   "+-1", "1 2",  "1e",       "1e+", "e5",  "1e5.5", "1,5e", "1_000", "0x10",
          "0X1p3", "inf", "-inf", "Infinity", "nan", "NaN", "1.5.",  "1,5,"}) {
        EXPECT_EQ(RealError(bad), NumberError::NotANumber) << "'" << bad << "'";
    }
}

TEST(SafeReal, RangeOfTheStoredValue)
{
    // A double holds it; a 32-bit float would store infinity.
    EXPECT_EQ(Number("1e39"), 1e39);
    EXPECT_EQ(ParseSafeFloat32("1e39", false).error, NumberError::OutOfRange);
    EXPECT_EQ(ParseSafeFloat32("-3.5e38", false).error, NumberError::OutOfRange);
    EXPECT_EQ(ParseSafeFloat32("3.4028235e38", false).value, std::numeric_limits<float>::max());
    EXPECT_EQ(RealError("1e400"), NumberError::OutOfRange);
    EXPECT_EQ(RealError("-1e99999999999999999999"), NumberError::OutOfRange);
    // Below the smallest double: zero, keeping the sign; no error.
    EXPECT_EQ(Number("1e-400"), 0.0);
    EXPECT_TRUE(std::signbit(Number("-1,0e-400")));
    EXPECT_EQ(Number("0e99999"), 0.0);
    EXPECT_GT(Number("1e-320"), 0.0);
    EXPECT_EQ(ParseSafeFloat32("1e-50", false).value, 0.0f);
}

TEST(SafeReal, LongTextsConvert)
{
    // Texts longer than the stack buffer of the rewrite.
    EXPECT_EQ(Number("0," + std::string(500, '0') + "5"), 0.0);
    EXPECT_EQ(Number("0," + std::string(300, '0') + "5"), 5e-301);
    std::string longDigits = std::string(400, '1') + ",0";
    EXPECT_EQ(RealError(longDigits), NumberError::OutOfRange);
    std::string big = "1" + std::string(300, '0') + ",5";
    EXPECT_EQ(Number(big), 1e300);
}

TEST(IntegerConversion, DecimalThirtyTwoBit)
{
    EXPECT_EQ(ParseInteger32("12"), 12);
    EXPECT_EQ(ParseInteger32(" -5 "), -5);
    EXPECT_EQ(ParseInteger32("+7"), 7);
    EXPECT_EQ(ParseInteger32("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger32("-2147483648"), std::numeric_limits<std::int32_t>::min());
    for (std::string_view bad : {"", "2147483648", "-2147483649", "99999999999999999999999", "1.0",
                                 "1,0", "0x10", "$10", "1e3", "- 1", "abc", "+", "--1"}) {
        EXPECT_FALSE(ParseInteger32(bad).has_value()) << "'" << bad << "'";
    }
    EXPECT_EQ(NotAnIntegerMessage("1.0"), "'1.0' is not a valid integer value");
}

// Every stored value is written as its shortest text; reading that text back
// must give the very same bits, for floats too although the reading goes
// through a 64-bit real first.
TEST(SafeReal, ShortestTextsReadBackBitForBit)
{
    std::mt19937_64 rng(20240611);
    int checked = 0;
    for (int i = 0; i < 2000000; ++i) {
        const auto bits = static_cast<std::uint32_t>(rng());
        const float f = std::bit_cast<float>(bits);
        if (!std::isfinite(f)) {
            continue;
        }
        const Float32Value back = ParseSafeFloat32(ShortestText(f), false);
        ASSERT_EQ(back.error, NumberError::None) << ShortestText(f);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(back.value), bits) << ShortestText(f);
        ++checked;
    }
    for (int i = 0; i < 200000; ++i) {
        const std::uint64_t bits = rng();
        const double d = std::bit_cast<double>(bits);
        if (!std::isfinite(d)) {
            continue;
        }
        const RealValue back = ParseSafeReal(ShortestText(d), true);
        ASSERT_EQ(back.error, NumberError::None) << ShortestText(d);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(back.value), bits) << ShortestText(d);
    }
    EXPECT_GT(checked, 1900000);
}
