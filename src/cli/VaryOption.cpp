#include "cli/VaryOption.h"

#include "cli/CliSupport.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace velmor {

namespace {

std::optional<double> ParseNumber(std::string_view text)
{
    double v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() ||
        !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

} // namespace

VaryOption ParseVaryOption(const std::string& text)
{
    const std::string bad = "--vary " + text + ": expected NAME=FROM:TO:COUNT (COUNT at least 1)";
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) {
        throw Refusal(bad);
    }
    const std::string_view range = std::string_view(text).substr(eq + 1);
    const std::size_t c1 = range.find(':');
    const std::size_t c2 = c1 == std::string_view::npos ? c1 : range.find(':', c1 + 1);
    if (c2 == std::string_view::npos) {
        throw Refusal(bad);
    }
    const std::optional<double> from = ParseNumber(range.substr(0, c1));
    const std::optional<double> to = ParseNumber(range.substr(c1 + 1, c2 - c1 - 1));
    const std::string_view countText = range.substr(c2 + 1);
    std::size_t count = 0;
    const auto [ptr, ec] =
        std::from_chars(countText.data(), countText.data() + countText.size(), count);
    if (!from || !to || countText.empty() || ec != std::errc{} ||
        ptr != countText.data() + countText.size() || count < 1 || count > kMaxRuns) {
        throw Refusal(bad);
    }
    return {text.substr(0, eq), *from, *to, count};
}

SweepAxis VaryAxis(Exercise e, const VaryOption& vary, bool logarithmic)
{
    AxisValues values = SweepAxisValues(e, vary.name, vary.from, vary.to, vary.count, logarithmic);
    if (!values.error.empty()) {
        throw Refusal("--vary " + values.error);
    }
    return {vary.name, std::move(values.values)};
}

} // namespace velmor
