#include "core/exercises/Waveform.h"

#include "core/Arith.h"

#include <numbers>

namespace velmor {

WaveParams WaveParams::WithDefaults(float a, float b, float c)
{
    WaveParams p;
    for (std::int32_t w = kFlat; w <= kSawtooth; ++w) {
        p.setA(w, a);
        p.setB(w, b);
        p.setC(w, c);
    }
    return p;
}

float WaveParams::get(std::int32_t i) const
{
    if (i < 1 || i > 15) {
        return 0.0f;
    }
    return slot[static_cast<std::size_t>(i)];
}

void WaveParams::set(std::int32_t i, float v)
{
    if (i >= 1 && i <= 15) {
        slot[static_cast<std::size_t>(i)] = v;
    }
}

float WaveTau(double t, float period)
{
    const Real c = period;
    return static_cast<float>(t - Int(t / c) * c);
}

float WaveValue(std::int32_t type, const WaveParams& p, float tau, std::int32_t trendSpan,
                float previous)
{
    const Real a = p.A(type);
    const Real b = p.B(type);
    const Real c = p.C(type);
    switch (type) {
    case kFlat:
        return static_cast<float>(a);
    case kRamp:
        return static_cast<float>(b + (a - b) / trendSpan * tau);
    case kSine: {
        constexpr Real kPi = std::numbers::pi_v<Real>;
        return static_cast<float>(b + (std::sin(2 * kPi * tau / c) + 1) * (a - b) / 2);
    }
    case kStep:
        return static_cast<float>(tau <= c / 2 ? b : a);
    case kSawtooth:
        return static_cast<float>(b + tau * (a - b) / c);
    default:
        return previous;
    }
}

float WaveStep(std::int32_t type, WaveParams& p, double t, std::int32_t trendSpan, float previous)
{
    p.slot[kRampPeriodSlot] = static_cast<float>(trendSpan);
    if (!IsWaveformType(type)) {
        return previous;
    }
    const float tau = WaveTau(t, p.C(type));
    return WaveValue(type, p, tau, trendSpan, previous);
}

} // namespace velmor
