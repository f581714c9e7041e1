#include "core/trends/TrendText.h"

#include <gtest/gtest.h>

#include <limits>

using namespace velmor;

TEST(TrendText, DisplayStrCutsToFiveCharacters)
{
    EXPECT_EQ(DisplayStr(123.456f), "123.4");
    EXPECT_EQ(DisplayStr(1234.5f), "1234");
    EXPECT_EQ(DisplayStr(0.80f), "0.8");
    EXPECT_EQ(DisplayStr(100.0f), "100");
    EXPECT_EQ(DisplayStr(0.0f), "0");
    EXPECT_EQ(DisplayStr(12345.6f), "12346"); // no point: kept whole
    EXPECT_EQ(DisplayStr(2.5f), "2.5");
    EXPECT_EQ(DisplayStr(0.123456f), "0.123");
    EXPECT_EQ(DisplayStr(45.0f), "45");
    // The band of a gain of 3: 33.333.
    EXPECT_EQ(DisplayStr(100.0f / 3.0f), "33.33");
}

TEST(TrendText, DisplayStrWithCommaKeepsTheWholeText)
{
    EXPECT_EQ(DisplayStr(123.456f, ','), "123,46");
    EXPECT_EQ(DisplayStr(0.8f, ','), "0,8");
    EXPECT_EQ(DisplayStr(100.0f, ','), "100");
}

TEST(TrendText, GeneralNotation)
{
    EXPECT_EQ(FormatGeneral(30.0, 4), "30");
    EXPECT_EQ(FormatGeneral(1.5, 4), "1.5");
    EXPECT_EQ(FormatGeneral(29.99, 4), "29.99");
    EXPECT_EQ(FormatGeneral(29.996, 4), "30");
    EXPECT_EQ(FormatGeneral(-2.25, 4), "-2.25");
    EXPECT_EQ(FormatGeneral(1234.0, 4), "1234");
    // More digits before the point than the precision: scientific.
    EXPECT_EQ(FormatGeneral(12345.0, 4), "1.235E+04"); // halves away from zero
    EXPECT_EQ(FormatGeneral(99996.0, 4), "1E+05");
    EXPECT_EQ(FormatGeneral(100000.0, 5), "1E+05");
    EXPECT_EQ(FormatGeneral(0.00001, 4), "0.00001");
    EXPECT_EQ(FormatGeneral(0.000001, 4), "1E-06");
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::quiet_NaN(), 4), "NAN");
}

TEST(TrendText, FixedNotationRoundsOnceAtPrecisionOrDecimals)
{
    EXPECT_EQ(FormatFixed(2.0, 4, 2), "2.00");
    EXPECT_EQ(FormatFixed(2.6, 4, 2), "2.60");
    EXPECT_EQ(FormatFixed(1.23456, 4, 2), "1.23");
    EXPECT_EQ(FormatFixed(55.3, 4, 0), "55");
    EXPECT_EQ(FormatFixed(99.6, 4, 0), "100");
    EXPECT_EQ(FormatFixed(6.0, 4, 1), "6.0");
    // Past the fourth significant digit the decimals read 0.
    EXPECT_EQ(FormatFixed(123.456, 4, 2), "123.50");
    EXPECT_EQ(FormatFixed(-0.001, 4, 2), "0.00");
    EXPECT_EQ(FormatFixed(12345.0, 4, 2), "1.235E+04");
    EXPECT_EQ(FormatFixed(1.25, 4, 2, ','), "1,25");
    // True halves round away from zero; near-halves by their real value.
    EXPECT_EQ(FormatFixed(0.125, 4, 2), "0.13");
    EXPECT_EQ(FormatFixed(28.5, 4, 0), "29");
    EXPECT_EQ(FormatFixed(-28.5, 4, 0), "-29");
    EXPECT_EQ(FormatFixed(1.005, 4, 2), "1.00");
    EXPECT_EQ(FormatFixed(9.9996, 4, 2), "10.00");
    EXPECT_EQ(FormatFixed(0.004, 4, 2), "0.00");
}
