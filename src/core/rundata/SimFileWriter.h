// Writes a simulation file: first line, settings lines (from the settings
// block, so SendSettings first), column line, one data line per record.
// Numbers use "." and the shortest text that reads back identically; lines
// end in CR LF.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/SampleLog.h"
#include "core/rundata/SimSettings.h"

#include <ostream>

namespace velmor {

void WriteSimulationFile(std::ostream& out, Exercise e, const SimSettings& settings,
                         int gateValvePercent, const SampleLog& log, int sampleCount);

} // namespace velmor
