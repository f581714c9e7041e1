// The settings block: the hand-over point between a simulation file and an
// exercise window. A window's SendSettings fills its group; UpdateSettings
// takes it back. Temperature and Batch share the temperature-loop group;
// Flow, Fluid level and Open loop share the waveform type.
#pragma once

#include <cstdint>

namespace velmor {

struct SimSettings {
    // Flow loop
    float flowGain = 0;
    float flowIntegralTime = 0;
    float flowDerivativeTime = 0;
    bool flowIOn = false;
    bool flowDOn = false;
    float flowA = 0;
    float flowB = 0;
    float flowC = 0;
    float flowSetPoint = 0; // L/min
    float flowRate = 0;     // L/min
    bool flowManual = false;

    std::int32_t waveformType = 0; // Flow, Fluid level and Open loop

    // Temperature loop (Temperature window and Batch's temperature loop)
    float tempGain = 0;
    float tempIntegralTime = 0;
    float tempDerivativeTime = 0;
    bool tempIOn = false;
    bool tempDOn = false;
    float tempSetPoint = 0;        // degrees C
    float measuredTemperature = 0; // degrees C
    float initialTemperature = 0;  // degrees C

    // Batch volume loop
    float volGain = 0;
    float volIntegralTime = 0;
    float volDerivativeTime = 0;
    bool volIOn = false;
    bool volDOn = false;
    float volumeSetPoint = 0;  // litres
    float expectedTime = 0;    // s
    float sumpTemperature = 0; // degrees C

    // Fluid level loop
    float levelGain = 0;
    float levelIntegralTime = 0;
    float levelDerivativeTime = 0;
    bool levelIOn = false;
    bool levelDOn = false;
    float levelA = 0;
    float levelB = 0;
    float levelC = 0;
    float levelSetPoint = 0;       // percent
    float levelPercent = 0;        // percent
    std::int32_t initialLevel = 0; // percent

    // Open loop
    float openA = 0;
    float openB = 0;
    float openC = 0;
    float openOutput = 0; // percent
    float openFlow = 0;   // L/min

    bool operator==(const SimSettings&) const = default;
};

} // namespace velmor
