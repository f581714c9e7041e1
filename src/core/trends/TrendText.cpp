#include "core/trends/TrendText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velmor {

namespace {

using Real = long double;

// |v| rounded to d decimals, halves away from zero, as plain digits with
// the point inserted. v x 10^d is exact in extended precision for the
// floats and small d used here, so a true half is seen as one.
std::string FixedDigits(Real magnitude, int d)
{
    const Real scaled = std::round(magnitude * std::pow(10.0L, d));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.0Lf", scaled);
    std::string digits = buf;
    if (d <= 0) {
        return digits;
    }
    if (digits.size() < static_cast<std::size_t>(d) + 1) {
        digits.insert(0, static_cast<std::size_t>(d) + 1 - digits.size(), '0');
    }
    digits.insert(digits.size() - static_cast<std::size_t>(d), 1, '.');
    return digits;
}

bool AllZero(const std::string& digits)
{
    return digits.find_first_not_of("0.") == std::string::npos;
}

std::string Signed(bool negative, std::string digits)
{
    if (negative && !AllZero(digits)) {
        digits.insert(0, 1, '-');
    }
    return digits;
}

// Decimal exponent of |v| once rounded to `precision` significant digits.
int RoundedExponent(Real magnitude, int precision)
{
    int e = static_cast<int>(std::floor(std::log10(magnitude)));
    if (std::pow(10.0L, e) > magnitude) {
        --e;
    } else if (std::pow(10.0L, e + 1) <= magnitude) {
        ++e;
    }
    // 9.9996 to four digits is 10.00: one more digit before the point.
    const std::string rounded = FixedDigits(magnitude, precision - 1 - e);
    const std::size_t intDigits = std::min(rounded.find('.'), rounded.size());
    if (static_cast<int>(intDigits) > std::max(e + 1, 1)) {
        ++e;
    }
    return e;
}

void StripTrailingZeros(std::string& text)
{
    if (text.find('.') == std::string::npos) {
        return;
    }
    while (!text.empty() && text.back() == '0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
}

std::string WithMark(std::string text, char decimalMark)
{
    if (decimalMark != '.') {
        std::replace(text.begin(), text.end(), '.', decimalMark);
    }
    return text;
}

std::string NonFinite(double value)
{
    if (std::isnan(value)) {
        return "NAN";
    }
    return value < 0 ? "-INF" : "INF";
}

std::string Scientific(bool negative, Real magnitude, int exponent, int precision)
{
    std::string mantissa = FixedDigits(magnitude / std::pow(10.0L, exponent), precision - 1);
    if (mantissa.rfind("10", 0) == 0) { // rounding carried into a new digit
        ++exponent;
        mantissa = FixedDigits(magnitude / std::pow(10.0L, exponent), precision - 1);
    }
    StripTrailingZeros(mantissa);
    char buf[16];
    std::snprintf(buf, sizeof buf, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return Signed(negative, mantissa + buf);
}

} // namespace

std::string FormatGeneral(double value, int precision, char decimalMark)
{
    if (!std::isfinite(value)) {
        return NonFinite(value);
    }
    if (value == 0) {
        return "0";
    }
    precision = std::clamp(precision, 1, 18);
    const bool negative = value < 0;
    const Real magnitude = std::fabs(static_cast<Real>(value));
    const int exponent = RoundedExponent(magnitude, precision);
    std::string text;
    if (exponent < precision && exponent >= -5) {
        text = FixedDigits(magnitude, precision - 1 - exponent);
        StripTrailingZeros(text);
        text = Signed(negative, text);
    } else {
        text = Scientific(negative, magnitude, exponent, precision);
    }
    return WithMark(text, decimalMark);
}

std::string FormatFixed(double value, int precision, int decimals, char decimalMark)
{
    if (!std::isfinite(value)) {
        return NonFinite(value);
    }
    precision = std::clamp(precision, 1, 18);
    decimals = std::clamp(decimals, 0, 18);
    const bool negative = value < 0;
    const Real magnitude = std::fabs(static_cast<Real>(value));
    const int exponent = value == 0 ? 0 : RoundedExponent(magnitude, precision);
    if (exponent >= precision) {
        return FormatGeneral(value, precision, decimalMark);
    }
    // One rounding, at whichever comes first: the last significant digit or
    // the last decimal; decimals past the significant ones read 0.
    const int shown = std::min(decimals, precision - 1 - exponent);
    std::string text = FixedDigits(magnitude, shown);
    if (shown < decimals) {
        if (shown == 0) {
            text += '.';
        }
        text.append(static_cast<std::size_t>(decimals - shown), '0');
    }
    return WithMark(Signed(negative, text), decimalMark);
}

std::string DisplayStr(float value, char decimalMark)
{
    const std::string text = FormatGeneral(value, 5);
    if (decimalMark != '.') {
        return WithMark(text, decimalMark);
    }
    const std::size_t point = text.find('.');
    if (point == 4) {
        return text.substr(0, 4);
    }
    if (point != std::string::npos) {
        return text.substr(0, 5);
    }
    return text;
}

} // namespace velmor
