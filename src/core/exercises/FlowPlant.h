// The flow line: pump drive in, measured flow out. Shared by the Flow,
// Fluid level, Open-loop and Batch volume exercises.
#pragma once

#include "core/Arith.h"

namespace velmor {

// y(k) = 0.1239 u(k-2) - 0.0014 u(k-3) + 1.301 y(k-1) - 0.442 y(k-2), u in
// 0..5 for 0..100 % drive, y in 0..5 for 0..2 L/min. Two samples of dead
// time: the newest input only enters the history.
struct FlowPlant {
    double u0 = 0, u1 = 0, u2 = 0, u3 = 0; // u0 newest
    double y1 = 0, y2 = 0;                 // y(k-1), y(k-2)
    float y = 0;                           // newest output

    void reset() { *this = FlowPlant{}; }

    // One step with the drive (percent) produced by the previous cycle.
    // Returns y(k) as kept in 32 bits.
    float step(float outputPercent);
};

// Measured flow (L/min) from the plant output, before any gate valve.
// Inline: the flow loops call it every cycle, and sweeps make thousands of runs.
inline float PlantFlow(float y)
{
    return static_cast<float>(static_cast<Real>(y) * 2 / 5);
}

// Measured flow (L/min) through a gate valve opened gateValvePercent (0..100).
inline float GatedFlow(float flowRate, int gateValvePercent)
{
    // Fully open: 100 x flowRate needs at most 31 significant bits, so both
    // the product and the quotient are exact and the flow comes back as is.
    if (gateValvePercent == 100) {
        return flowRate;
    }
    return static_cast<float>(static_cast<Real>(gateValvePercent) * flowRate / 100);
}

} // namespace velmor
