// A headless run as `velmor-sim run` describes it: the exercise opened
// fresh, the settings of a file (--from), changes before START (--set),
// changes during the run (--at) and a record limit (--records).
#pragma once

#include "core/exercises/HeadlessRun.h"

#include <optional>
#include <string>
#include <vector>

namespace velmor {

// Takes the run option at args[i] (--from, --set, --at, --records) and its
// value, leaving i on the value. False when args[i] is no run option; throws
// Refusal on a malformed one or a setting the exercise refuses outright.
bool ParseRunOption(RunRequest& request, const std::vector<std::string>& args, std::size_t& i);

// The settings of request.from, read once; checked to be of the exercise.
std::optional<SimFileLoad> ReadFromFile(const RunRequest& request);

// The state a run starts from: the exercise as its window opens, the file's
// settings, then the --set changes in order. Throws Refusal.
void PrepareRun(VelmorState& state, const RunRequest& request, const SimFileLoad* from);

// START, cycles back to back with the --at changes and the --records limit
// handled in each wait, and the end of the run. Throws Refusal when a
// timed change is refused (the run is then stopped).
void ExecuteRun(VelmorState& state, const RunRequest& request);

} // namespace velmor
