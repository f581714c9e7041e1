// How the ten traces are named and their values written for a reader: the
// floating read-out of the Trends window and the printed report's legend
// and final values.
#pragma once

#include "core/rundata/State.h"
#include "core/trends/TrendTables.h"

#include <QString>

namespace velmor {

// "Flow Set Point", "SP Flujo", ... in the language in force.
QString TraceName(TraceId trace);
// "L/min", "%", "°C" or "L".
QString TraceUnit(TraceId trace);
// The value with the trace's decimals (2, or 0 for outputs and levels),
// rounded to 4 significant digits first.
QString TraceValueText(TraceId trace, float value, char decimalMark = '.');

} // namespace velmor
