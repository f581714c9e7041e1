#include "core/analysis/AxisTicks.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velmor {

namespace {

constexpr int kMinTicks = 3;
// Values this close to a step count as on it: the range's ends are often
// computed values themselves.
constexpr double kSlack = 1e-9;

// m x 10^e as the nearest double to the decimal number, so that 0.3 is
// 0.3 and not 3 x 0.1.
double Scaled(double m, int e)
{
    return e < 0 ? m / std::pow(10.0, -e) : m * std::pow(10.0, e);
}

// The fewest digits after the mark that still give `value`, at most `most`.
int DecimalsOf(double value, int most)
{
    for (int d = 0; d < most; ++d) {
        const double p = std::pow(10.0, d);
        if (std::abs(std::round(value * p) / p - value) <= 1e-9 * std::max(1.0, std::abs(value))) {
            return d;
        }
    }
    return std::max(most, 0);
}

std::vector<AxisTick> LinearTicks(double lo, double hi, int most)
{
    const double span = hi - lo;
    const int top = static_cast<int>(std::floor(std::log10(span)));
    // From steps too fine to the first one that gives few enough ticks:
    // each is at most 2.5 times the one before, so it still gives three.
    for (int e = top - 2; e <= top + 2; ++e) {
        for (const int m : {1, 2, 5}) {
            const double step = Scaled(m, e);
            const auto first = static_cast<long long>(std::ceil(lo / step - kSlack));
            const auto last = static_cast<long long>(std::floor(hi / step + kSlack));
            if (last - first + 1 > most) {
                continue;
            }
            std::vector<AxisTick> ticks;
            const int digits = std::max(0, -e);
            for (long long k = first; k <= last; ++k) {
                const double v = std::clamp(Scaled(static_cast<double>(k * m), e), lo, hi);
                ticks.push_back({v, DecimalsOf(v, digits)});
            }
            return ticks;
        }
    }
    return {{lo, DecimalsOf(lo, 6)}, {hi, DecimalsOf(hi, 6)}};
}

std::vector<AxisTick> LogTicks(double lo, double hi, std::initializer_list<int> mantissas)
{
    std::vector<AxisTick> ticks;
    const int low = static_cast<int>(std::floor(std::log10(lo)));
    const int high = static_cast<int>(std::floor(std::log10(hi)));
    for (int e = low; e <= high; ++e) {
        for (const int m : mantissas) {
            const double v = Scaled(m, e);
            if (v >= lo * (1 - kSlack) && v <= hi * (1 + kSlack)) {
                ticks.push_back({std::clamp(v, lo, hi), std::max(0, -e)});
            }
        }
    }
    return ticks;
}

} // namespace

std::vector<AxisTick> AxisTicks(double from, double to, bool logarithmic, int most)
{
    most = std::max(most, 2);
    if (!std::isfinite(from) || !std::isfinite(to)) {
        return {};
    }
    const double lo = std::min(from, to);
    const double hi = std::max(from, to);
    if (!(hi > lo)) {
        return {{lo, DecimalsOf(lo, 6)}};
    }
    if (logarithmic && lo > 0) {
        std::vector<AxisTick> decades = LogTicks(lo, hi, {1});
        if (static_cast<int>(decades.size()) > most) {
            // Every second or third power of ten, keeping the count down.
            const std::size_t stride = (decades.size() + most - 1) / most;
            std::vector<AxisTick> fewer;
            for (std::size_t i = 0; i < decades.size(); i += stride) {
                fewer.push_back(decades[i]);
            }
            return fewer;
        }
        if (static_cast<int>(decades.size()) >= kMinTicks) {
            return decades;
        }
        std::vector<AxisTick> within = LogTicks(lo, hi, {1, 2, 5});
        if (static_cast<int>(within.size()) >= kMinTicks &&
            static_cast<int>(within.size()) <= most) {
            return within;
        }
        if (static_cast<int>(within.size()) > most && !decades.empty()) {
            return decades;
        }
    }
    return LinearTicks(lo, hi, most);
}

} // namespace velmor
