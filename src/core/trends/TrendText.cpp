#include "trends/TrendText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velmor {

namespace {

// Decimal exponent of the value once rounded to `precision` digits.
int RoundedExponent(double value, int precision)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", std::max(precision - 1, 0), value);
    const char* e = std::strchr(buf, 'e');
    return e != nullptr ? std::atoi(e + 1) : 0;
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

// "-0.00" and the like read as plain zero.
void DropSignOfZero(std::string& text)
{
    if (!text.empty() && text.front() == '-' &&
        text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
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

} // namespace

std::string FormatGeneral(double value, int precision, char decimalMark)
{
    if (!std::isfinite(value)) {
        return NonFinite(value);
    }
    precision = std::clamp(precision, 1, 18);
    if (value == 0) {
        return "0";
    }
    const int exponent = RoundedExponent(value, precision);
    char buf[96];
    std::string text;
    if (exponent < precision && exponent >= -5) {
        std::snprintf(buf, sizeof buf, "%.*f", precision - 1 - exponent, value);
        text = buf;
        StripTrailingZeros(text);
    } else {
        std::snprintf(buf, sizeof buf, "%.*e", precision - 1, value);
        std::string mantissa(buf, std::strchr(buf, 'e'));
        StripTrailingZeros(mantissa);
        std::snprintf(buf, sizeof buf, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        text = mantissa + buf;
    }
    DropSignOfZero(text);
    return WithMark(text, decimalMark);
}

std::string FormatFixed(double value, int precision, int decimals, char decimalMark)
{
    if (!std::isfinite(value)) {
        return NonFinite(value);
    }
    precision = std::clamp(precision, 1, 18);
    decimals = std::clamp(decimals, 0, 18);
    const int exponent = value == 0 ? 0 : RoundedExponent(value, precision);
    if (exponent >= precision) {
        return FormatGeneral(value, precision, decimalMark);
    }
    // One rounding, at whichever comes first: the last significant digit or
    // the last decimal; the decimals past the significant ones read 0.
    const int shown = std::min(decimals, precision - 1 - exponent);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%.*f", std::max(shown, 0), value);
    std::string text = buf;
    if (shown < decimals) {
        if (shown <= 0) {
            text += '.';
        }
        text.append(static_cast<std::size_t>(decimals - std::max(shown, 0)), '0');
    }
    DropSignOfZero(text);
    return WithMark(text, decimalMark);
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
