// Arithmetic primitives shared by every model and controller.
//
// The models are evaluated in extended precision (long double); results that
// have a name are kept as 32-bit floats and plant histories as doubles. The
// three integer conversions below are the only ones used anywhere in the core.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace velmor {

using Real = long double;

// Truncation toward zero. Saturates instead of overflowing (a wound-up
// integral can ask for billions of counts) and maps NaN to 0.
inline std::int64_t Trunc(Real x)
{
    constexpr Real kLimit = 9.0e18L;
    if (x < kLimit && x > -kLimit) [[likely]] {
        return static_cast<std::int64_t>(x);
    }
    if (std::isnan(x)) {
        return 0;
    }
    return x > 0 ? static_cast<std::int64_t>(kLimit) : -static_cast<std::int64_t>(kLimit);
}

// Nearest integer, ties to even (the FPU's default rounding mode).
inline Real RoundEven(Real x)
{
    return std::nearbyint(x);
}

// Truncation toward zero with a real result, the same value as
// std::trunc (signed zeros included). Below 2^63 in magnitude it goes
// through a 64-bit integer, which truncates without switching the FPU's
// rounding mode (that switch costs more than the rest of a cycle's set
// point); an extended value has 64 mantissa bits, so the way back is exact.
inline Real Int(Real x)
{
    constexpr Real kLimit = 9.2e18L; // < 2^63
    if (x < kLimit && x > -kLimit) [[likely]] {
        if (std::signbit(x)) {
            return -static_cast<Real>(static_cast<std::int64_t>(-x));
        }
        return static_cast<Real>(static_cast<std::int64_t>(x));
    }
    return std::trunc(x);
}

// Clamps an output in counts to the 8-bit range of the rig's actuators.
inline std::int32_t ClampCounts(std::int64_t counts)
{
    if (counts < 0) {
        return 0;
    }
    if (counts > 255) {
        return 255;
    }
    return static_cast<std::int32_t>(counts);
}

// counts / 255 x 100 in extended precision, kept as a float.
constexpr float PercentOfCounts(std::int64_t counts)
{
    return static_cast<float>(static_cast<Real>(counts) / 255 * 100);
}

// The 256 values of an 8-bit output, worked out by the compiler (which
// rounds extended arithmetic as the FPU does).
inline constexpr std::array<float, 256> kPercentOfCounts = [] {
    std::array<float, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[static_cast<std::size_t>(c)] = PercentOfCounts(c);
    }
    return table;
}();

// counts / 255 x 100, the percentage shown and logged for an 8-bit output
// (looked up for 0..255, as the cycle needs it up to twice a sample).
inline float CountsToPercent(std::int32_t counts)
{
    if (counts >= 0 && counts <= 255) [[likely]] {
        return kPercentOfCounts[static_cast<std::size_t>(counts)];
    }
    return PercentOfCounts(counts);
}

} // namespace velmor
