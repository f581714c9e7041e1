#include "ui/trends/Scales.h"

#include "core/Arith.h"

namespace velmor {

namespace {

int ScaleY(float v, Real k)
{
    const Real y = RoundEven(358 - static_cast<Real>(v) * k);
    if (std::isnan(y) || y >= 359) {
        return kPlotBottom;
    }
    if (y <= 46) {
        return kPlotTop;
    }
    return static_cast<int>(y);
}

} // namespace

int PlotRate(float litresPerMinute)
{
    return ScaleY(litresPerMinute, 155.5L);
}

int PlotFixed(float value)
{
    return ScaleY(value, 3.11L);
}

int PlotCumulative(float litres)
{
    return ScaleY(litres, 311.0L / 6);
}

int PlotOnScale(ValueScale scale, float value)
{
    switch (scale) {
    case ValueScale::Rate:
        return PlotRate(value);
    case ValueScale::Cumulative:
        return PlotCumulative(value);
    case ValueScale::Fixed:
        break;
    }
    return PlotFixed(value);
}

int TimeToX(double t, std::int32_t viewStart, std::int32_t span)
{
    if (span <= 0) {
        return kPlotLeft;
    }
    const Real x = static_cast<Real>(450) / span * (t - viewStart) + 38.5L;
    // Far-off times are kept within int range; callers fold or skip them.
    if (!(x < 1.0e9L)) {
        return 1000000000;
    }
    if (x < -1.0e9L) {
        return -1000000000;
    }
    return static_cast<int>(Trunc(x));
}

int TickStep(std::int32_t span)
{
    if (span >= 20 && span <= 40) {
        return 2;
    }
    if (span >= 50 && span <= 100) {
        return 5;
    }
    if (span >= 110 && span <= 180) {
        return 10;
    }
    return 1;
}

int TickX(int i, std::int32_t span)
{
    if (span <= 0) {
        return kPlotLeft;
    }
    return static_cast<int>(Trunc(static_cast<Real>(450) / span * i * TickStep(span) + 38));
}

int RedrawStep(std::int32_t span, float samplePeriod)
{
    if (samplePeriod <= 0) {
        return 1;
    }
    const std::int64_t step = Trunc(static_cast<Real>(span) / 452 / samplePeriod * 3);
    return step > 0 ? static_cast<int>(step) : 1;
}

} // namespace velmor
