// Writes a simulation file: first line, settings lines (from the settings
// block, so SendSettings first), column line, one data line per record.
// Numbers use "." and the shortest text that reads back identically; lines
// end in CR LF.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/AtomicFile.h"
#include "core/rundata/SampleLog.h"
#include "core/rundata/SimSettings.h"
#include "core/rundata/WriteResult.h"

#include <ostream>
#include <span>
#include <string>

namespace velmor {

// The whole file as text. gateValvePercent in percent; records
// 1..sampleCount (bounded to the log).
std::string SimulationFileText(Exercise e, const SimSettings& settings, int gateValvePercent,
                               const SampleLog& log, int sampleCount);
// The same from a copy of the records (records 1..n in order, at most 6000).
std::string SimulationFileText(Exercise e, const SimSettings& settings, int gateValvePercent,
                               std::span<const SampleRecord> records);

// To a stream, flushed and checked: a stream that did not take it all gives
// the reason.
WriteResult WriteSimulationFile(std::ostream& out, Exercise e, const SimSettings& settings,
                                int gateValvePercent, const SampleLog& log, int sampleCount);

// Into an opened AtomicFile, then put in place of its target.
[[nodiscard]] WriteResult WriteSimulationFile(AtomicFile& file, Exercise e,
                                              const SimSettings& settings, int gateValvePercent,
                                              const SampleLog& log, int sampleCount);

// Saves a run to `path` in one step (File > Save): the file that was there
// stays whole until the new one is complete, and a symbolic link keeps
// pointing at the saved file.
[[nodiscard]] WriteResult SaveSimulationFile(const std::string& path, Exercise e,
                                             const SimSettings& settings, int gateValvePercent,
                                             const SampleLog& log, int sampleCount);

} // namespace velmor
