#include "ui/mimic/MimicGauges.h"

#include "core/Arith.h"

#include <cmath>
#include <numbers>

namespace velmor {

std::int32_t MimicBarPixels(std::int32_t units)
{
    return static_cast<std::int32_t>(RoundEven(static_cast<Real>(units) * 0.6L));
}

DialPoint MimicNeedleEnd(std::int32_t dialPos)
{
    constexpr Real kPi = std::numbers::pi_v<Real>;
    const Real theta = dialPos * 3 * kPi / 510 + 3 * kPi / 4;
    return {18 + static_cast<std::int32_t>(RoundEven(9 * std::sin(kPi / 2 - theta))),
            17 + static_cast<std::int32_t>(RoundEven(9 * std::sin(theta)))};
}

} // namespace velmor
