// The process tank's temperature: a second-order difference equation on
// temperatures / 20 with a six-deep heater delay line, stepped once every
// 20 cycles. Shared by the Temperature and Batch volume exercises.
#pragma once

#include <array>
#include <cstdint>

namespace velmor {

struct TemperatureModel {
    std::array<double, 6> u{}; // u[0] newest, heater percent / 20
    double y1 = 0;             // temperature / 20, one step back
    double y2 = 0;             // two steps back
    std::int32_t modelPhase = 19;

    // Empty heater line, both outputs at `temperature` (degrees C).
    void reset(float temperature);

    // Takes the heater (percent) into the delay line.
    void shiftHeater(float heaterPercent);

    // 0.8654 y1 + 0.1344 y2 + 0.00137 u4 + 0.0013 u5.
    double output() const;

    // Advances the phase; true when the model steps in this cycle (the first
    // cycle of a run and every 20th after it).
    bool due();
};

// One step of the Temperature exercise's model. Returns the new temperature
// (degrees C, 32-bit).
float StepTemperature(TemperatureModel& m, float heaterPercent);

// One step as the Batch exercise takes it: the newest output is re-read from
// the stored 32-bit temperature.
float StepBatchTemperature(TemperatureModel& m, float heaterPercent, float measuredTemperature);

// Measured temperature as an 8-bit count (100 degrees = 255), not clamped.
std::int32_t TemperatureCounts(float measuredTemperature);

} // namespace velmor
