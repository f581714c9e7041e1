#include "core/exercises/FlowPlant.h"

#include "core/Arith.h"

namespace velmor {

float FlowPlant::step(float outputPercent)
{
    u3 = u2;
    u2 = u1;
    u1 = u0;
    u0 = static_cast<double>(static_cast<Real>(outputPercent) / 20);
    y = static_cast<float>(0.1239L * u2 - 0.0014L * u3 + 1.301L * y1 - 0.442L * y2);
    y2 = y1;
    y1 = y;
    return y;
}

} // namespace velmor
