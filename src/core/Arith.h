// Arithmetic primitives shared by every model and controller.
//
// The models are evaluated in extended precision (long double); results that
// have a name are kept as 32-bit floats and plant histories as doubles. The
// three integer conversions below are the only ones used anywhere in the core.
#pragma once

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

// Truncation toward zero with a real result.
inline Real Int(Real x)
{
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

// counts / 255 x 100, the percentage shown and logged for an 8-bit output
// (0..255 counts; looked up, as the cycle needs it up to twice a sample).
float CountsToPercent(std::int32_t counts);

} // namespace velmor
