#include "core/rundata/SafeStrToFloat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace velmor {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsMark(char c)
{
    return c == '.' || c == ',';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// What the grammar check learns about a well-formed number.
struct Shape {
    bool clean = true;             // from_chars can read the text as it stands
    long long leadingExponent = 0; // decimal exponent of the first non-zero digit
    bool allZero = true;
};

// Checks [sign] digits [marks digits] [e [sign] digits] and notes whether the
// text needs rewriting (a "+" sign, a "," mark, a run of marks) before
// from_chars, which knows only "-" and ".". Replacing the other mark by the
// good one and collapsing doubled marks makes every run of marks one mark, so
// the check treats them that way directly.
bool CheckShape(std::string_view t, Shape& shape)
{
    std::size_t i = 0;
    const std::size_t n = t.size();
    if (i < n && (t[i] == '+' || t[i] == '-')) {
        shape.clean = shape.clean && t[i] == '-';
        ++i;
    }
    long long intDigits = 0;
    long long firstNonZero = -1; // position among all mantissa digits
    long long digits = 0;
    while (i < n && IsDigit(t[i])) {
        if (t[i] != '0' && firstNonZero < 0) {
            firstNonZero = digits;
        }
        ++digits;
        ++intDigits;
        ++i;
    }
    if (i < n && IsMark(t[i])) {
        const std::size_t markStart = i;
        while (i < n && IsMark(t[i])) {
            ++i;
        }
        if (i - markStart > 1 || t[markStart] != '.') {
            shape.clean = false;
        }
        while (i < n && IsDigit(t[i])) {
            if (t[i] != '0' && firstNonZero < 0) {
                firstNonZero = digits;
            }
            ++digits;
            ++i;
        }
    }
    if (digits == 0) {
        return false;
    }
    long long exponent = 0;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < n && (t[i] == '+' || t[i] == '-')) {
            negative = t[i] == '-';
            ++i;
        }
        if (i >= n || !IsDigit(t[i])) {
            return false;
        }
        while (i < n && IsDigit(t[i])) {
            // Far beyond any double; only the sign of the magnitude matters then.
            if (exponent < 100000000) {
                exponent = exponent * 10 + (t[i] - '0');
            }
            ++i;
        }
        if (negative) {
            exponent = -exponent;
        }
    }
    if (i != n) {
        return false;
    }
    shape.allZero = firstNonZero < 0;
    if (!shape.allZero) {
        shape.leadingExponent = intDigits - 1 - firstNonZero + exponent;
    }
    return true;
}

// Copies the number into plain from_chars form: "-" only, one ".".
template <typename Out> void Rewrite(std::string_view t, Out&& put)
{
    bool inMarks = false;
    for (char c : t) {
        if (c == '+') {
            continue;
        }
        if (IsMark(c)) {
            if (!inMarks) {
                put('.');
            }
            inMarks = true;
            continue;
        }
        inMarks = false;
        put(c);
    }
}

// "'text' what", built by appending (GCC 12 warns falsely on operator+ here).
std::string Quoted(std::string_view text, std::string_view what)
{
    std::string m;
    m.reserve(text.size() + what.size() + 2);
    m += '\'';
    m += text;
    m += '\'';
    m += what;
    return m;
}

} // namespace

RealValue ParseSafeReal(std::string_view text, bool decimalComma) noexcept
{
    // Both marks read alike, so the system's mark only decides which one the
    // other is turned into; the number is the same either way.
    (void)decimalComma;

    // Most values are plain "-12.5" texts that from_chars takes whole as they
    // stand; starting with a digit rules out "inf", "nan" and every other
    // form the grammar below refuses.
    if (!text.empty() &&
        (IsDigit(text.front()) || (text.size() > 1 && text.front() == '-' && IsDigit(text[1])))) {
        double value = 0;
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc{} && ptr == text.data() + text.size()) {
            return {value, NumberError::None};
        }
    }

    const std::string_view t = TrimBlanks(text);
    Shape shape;
    if (!CheckShape(t, shape)) {
        return {0, NumberError::NotANumber};
    }

    double value = 0;
    std::from_chars_result r{};
    if (shape.clean) {
        r = std::from_chars(t.data(), t.data() + t.size(), value);
    } else {
        // Short texts are rewritten on the stack; a long one (thousands of
        // digits) goes to the heap once.
        std::array<char, 128> small{};
        if (t.size() <= small.size()) {
            std::size_t k = 0;
            Rewrite(t, [&](char c) { small[k++] = c; });
            r = std::from_chars(small.data(), small.data() + k, value);
        } else {
            std::string big;
            big.reserve(t.size());
            Rewrite(t, [&](char c) { big.push_back(c); });
            r = std::from_chars(big.data(), big.data() + big.size(), value);
        }
    }
    if (r.ec == std::errc::result_out_of_range) {
        if (!shape.allZero && shape.leadingExponent < 0) {
            // Smaller than the smallest double: zero, with its sign.
            return {t.front() == '-' ? -0.0 : 0.0, NumberError::None};
        }
        return {0, NumberError::OutOfRange};
    }
    if (r.ec != std::errc{} || !std::isfinite(value)) {
        return {0, NumberError::NotANumber};
    }
    return {value, NumberError::None};
}

Float32Value ParseSafeFloat32(std::string_view text, bool decimalComma) noexcept
{
    const RealValue v = ParseSafeReal(text, decimalComma);
    if (v.error != NumberError::None) {
        return {0, v.error};
    }
    const float f = static_cast<float>(v.value);
    if (std::isinf(f)) {
        return {0, NumberError::OutOfRange};
    }
    return {f, NumberError::None};
}

std::optional<std::int32_t> ParseInteger32(std::string_view text) noexcept
{
    std::string_view t = TrimBlanks(text);
    bool negative = false;
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    if (t.empty() || !IsDigit(t.front())) {
        return std::nullopt;
    }
    // Read the magnitude in 64 bits so that -2147483648 fits.
    std::int64_t magnitude = 0;
    const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), magnitude);
    if (ec != std::errc{} || ptr != t.data() + t.size()) {
        return std::nullopt;
    }
    const std::int64_t v = negative ? -magnitude : magnitude;
    if (v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(v);
}

std::string NotARealMessage(std::string_view text)
{
    return Quoted(text, " is not a valid floating point value");
}

std::string NotAnIntegerMessage(std::string_view text)
{
    return Quoted(text, " is not a valid integer value");
}

std::string OutOfRangeMessage(std::string_view text)
{
    return Quoted(text, " is out of range for a floating point value");
}

} // namespace velmor
