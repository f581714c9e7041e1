#include "core/shell/KeypadEntry.h"

#include "core/Arith.h"
#include "core/rundata/SafeStrToFloat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace velmor {

namespace {

bool IsMark(char c)
{
    return c == '.' || c == ',';
}

} // namespace

bool KeypadAcceptsChar(std::string_view text, char c)
{
    const std::size_t mark = text.find_first_of(".,");
    if (IsMark(c)) {
        return mark == std::string_view::npos;
    }
    if (c < '0' || c > '9') {
        return false;
    }
    if (mark != std::string_view::npos && text.size() - mark - 1 >= kKeypadMaxDecimals) {
        return false;
    }
    return true;
}

std::optional<float> KeypadTextValue(std::string_view text, std::string* error, KeypadNumber kind)
{
    const std::size_t dot = text.find('.');
    const std::size_t comma = text.find(',');
    const std::size_t p = (dot == std::string_view::npos ? 0 : dot + 1) +
                          (comma == std::string_view::npos ? 0 : comma + 1);
    std::string digits;
    int decimals = 0;
    if (p == 0) {
        digits = std::string(text);
    } else if (p <= text.size()) {
        digits = std::string(text.substr(0, p - 1)) + std::string(text.substr(p));
        decimals = static_cast<int>(text.size() - p);
    } else {
        digits = std::string(text); // both marks: the sum points past the text
    }
    std::int32_t number = 0;
    const char* first = digits.data();
    const char* last = digits.data() + digits.size();
    if (first != last && *first == '+') {
        ++first;
    }
    const auto [ptr, ec] = std::from_chars(first, last, number);
    if (digits.empty() || ec != std::errc{} || ptr != last) {
        if (error != nullptr) {
            *error =
                kind == KeypadNumber::Whole ? NotAnIntegerMessage(text) : NotARealMessage(text);
        }
        return std::nullopt;
    }
    Real divisor = 1;
    if (decimals >= 1 && decimals <= kKeypadMaxDecimals) {
        for (int i = 0; i < decimals; ++i) {
            divisor *= 10;
        }
    }
    return static_cast<float>(static_cast<Real>(number) / divisor);
}

std::optional<std::string> KeypadText(double value)
{
    if (!std::isfinite(value) || value < 0) {
        return std::nullopt;
    }
    constexpr double kMaxDigits = std::numeric_limits<std::int32_t>::max();
    double scale = 1e7;
    for (int decimals = kKeypadMaxDecimals; decimals >= 0; --decimals, scale /= 10) {
        const double digits = std::round(value * scale);
        if (digits > kMaxDigits) {
            continue;
        }
        std::string text = std::to_string(static_cast<std::int64_t>(digits));
        if (decimals > 0) {
            if (text.size() <= static_cast<std::size_t>(decimals)) {
                text.insert(0, static_cast<std::size_t>(decimals) + 1 - text.size(), '0');
            }
            text.insert(text.size() - static_cast<std::size_t>(decimals), 1, '.');
            text.erase(text.find_last_not_of('0') + 1);
            if (text.back() == '.') {
                text.pop_back();
            }
        }
        return text;
    }
    return std::nullopt;
}

} // namespace velmor
