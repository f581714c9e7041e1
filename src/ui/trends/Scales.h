// Value and time scales of the trend plot, in panel pixels.
//
// The plot runs from x = 38 (view start) to x = 488 (view start + span) and
// from y = 358 (value 0) up to y = 47 (full scale).
#pragma once

#include "core/trends/TrendTables.h"

#include <cstdint>

namespace velmor {

constexpr int kPlotLeft = 38;
constexpr int kPlotRight = 488;
constexpr int kPlotTop = 47;
constexpr int kPlotBottom = 358;

// y of a flow rate, full scale 2 L/min.
int PlotRate(float litresPerMinute);
// y of a percentage or temperature, full scale 100.
int PlotFixed(float value);
// y of a volume, full scale 6 L.
int PlotCumulative(float litres);
// y of a value on a trace's scale (PlotRate / PlotFixed / PlotCumulative).
int PlotOnScale(ValueScale scale, float value);

// x of time t (s) for a view starting at viewStart spanning span seconds,
// before any scrolling or folding.
int TimeToX(double t, std::int32_t viewStart, std::int32_t span);

// Seconds between grid lines for a time span.
int TickStep(std::int32_t span);

// x of grid line i (0..19) for a span.
int TickX(int i, std::int32_t span);

// Decimation step of a full redraw: about one plotted sample per three
// pixels, never 0.
int RedrawStep(std::int32_t span, float samplePeriod);

} // namespace velmor
