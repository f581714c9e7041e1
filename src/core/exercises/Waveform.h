// Set-point waveforms: the parameter table of a window and the generator.
#pragma once

#include <array>
#include <cstdint>

namespace velmor {

enum WaveformType : std::int32_t {
    kFlat = 1,
    kRamp = 2,
    kSine = 3,
    kStep = 4,
    kSawtooth = 5,
};

inline bool IsWaveformType(std::int32_t w)
{
    return w >= kFlat && w <= kSawtooth;
}

// Sixteen slots: for type w, A = slot w, B = slot w + 5, C = slot w + 10.
// A and B are in the unit of what the waveform drives (L/min, percent), C is
// a period in s.
// Slot 0 carries no parameter (the exercise keeps its own flag elsewhere).
// Types outside 1..5 read as 0 and ignore writes, so a stray type from a
// file can never reach past the table.
struct WaveParams {
    std::array<float, 16> slot{};

    static WaveParams WithDefaults(float a, float b, float c);

    float A(std::int32_t w) const { return get(w); }
    float B(std::int32_t w) const { return get(w + 5); }
    float C(std::int32_t w) const { return get(w + 10); }
    void setA(std::int32_t w, float v) { set(w, v); }
    void setB(std::int32_t w, float v) { set(w + 5, v); }
    void setC(std::int32_t w, float v) { set(w + 10, v); }

    bool operator==(const WaveParams&) const = default;

private:
    float get(std::int32_t i) const;
    void set(std::int32_t i, float v);
};

// Slot of the Ramp's period: it always follows the trend's time span.
constexpr int kRampPeriodSlot = 12;

// Position in the period: tau = t - Int(t / C) x C (s), kept as a float;
// t and the period in s.
float WaveTau(double t, float period);

// The generator at tau (s). Returns the new value, in the unit of A and B,
// or `previous` for a type outside 1..5. trendSpan (s) is the Ramp's period.
float WaveValue(std::int32_t type, const WaveParams& p, float tau, std::int32_t trendSpan,
                float previous);

// One generator step of a cycle at time t (s): refreshes the Ramp period
// from the time span, then computes tau and the value of the current
// waveform.
float WaveStep(std::int32_t type, WaveParams& p, double t, std::int32_t trendSpan, float previous);

} // namespace velmor
