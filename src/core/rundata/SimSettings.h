// The settings block: the hand-over point between a simulation file and an
// exercise window. A window's SendSettings fills its group; UpdateSettings
// takes it back. Temperature and Batch share the temperature-loop group;
// Flow, Fluid level and Open loop share the waveform type.
#pragma once

#include <cstdint>

namespace velmor {

struct SimSettings {
    // Flow loop
    float flowGain = 0;           // PG
    float flowIntegralTime = 0;   // I, s
    float flowDerivativeTime = 0; // D, s
    bool flowIOn = false;
    bool flowDOn = false;
    float flowA = 0;        // L/min (Flat value, Ramp final, Max)
    float flowB = 0;        // L/min (Ramp initial, Min)
    float flowC = 0;        // s, period
    float flowSetPoint = 0; // L/min
    float flowRate = 0;     // L/min
    bool flowManual = false;

    std::int32_t waveformType = 0; // Flow, Fluid level and Open loop: 1..5

    // Temperature loop (Temperature window and Batch's temperature loop)
    float tempGain = 0;           // PG
    float tempIntegralTime = 0;   // I, units as the loop's own (Temperature: minutes)
    float tempDerivativeTime = 0; // D
    bool tempIOn = false;
    bool tempDOn = false;
    float tempSetPoint = 0;        // degrees C
    float measuredTemperature = 0; // degrees C
    float initialTemperature = 0;  // degrees C

    // Batch volume loop
    float volGain = 0;           // PG
    float volIntegralTime = 0;   // I, s
    float volDerivativeTime = 0; // D, s
    bool volIOn = false;
    bool volDOn = false;
    float volumeSetPoint = 0;  // L
    float expectedTime = 0;    // s
    float sumpTemperature = 0; // degrees C

    // Fluid level loop
    float levelGain = 0;           // PG
    float levelIntegralTime = 0;   // I, units as LevelUnit's
    float levelDerivativeTime = 0; // D
    bool levelIOn = false;
    bool levelDOn = false;
    float levelA = 0;              // percent
    float levelB = 0;              // percent
    float levelC = 0;              // s, period
    float levelSetPoint = 0;       // percent
    float levelPercent = 0;        // percent
    std::int32_t initialLevel = 0; // whole percent

    // Open loop
    float openA = 0;      // percent of pump drive
    float openB = 0;      // percent of pump drive
    float openC = 0;      // s, period
    float openOutput = 0; // percent
    float openFlow = 0;   // L/min

    bool operator==(const SimSettings&) const = default;
};

} // namespace velmor
