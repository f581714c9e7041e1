// The flow line: pump drive in, measured flow out. Shared by the Flow,
// Fluid level, Open-loop and Batch volume exercises.
#pragma once

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
float PlantFlow(float y);

// Measured flow (L/min) through a gate valve opened gateValvePercent (0..100).
float GatedFlow(float flowRate, int gateValvePercent);

} // namespace velmor
