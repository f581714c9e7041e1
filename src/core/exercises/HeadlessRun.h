// A run made without a window, as `velmor-sim run` and the tuning map make
// it: the exercise opened fresh (or as a window has it), the settings of a
// file, changes before START, changes during the run and a record limit.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/SimFileReader.h"
#include "core/rundata/State.h"

#include <optional>
#include <string>
#include <vector>

namespace velmor {

struct SettingChange {
    std::string name;
    std::string value;
};

struct TimedSettingChange {
    double time = 0; // s: applied in the first wait once the newest record is this old
    SettingChange change;
};

struct RunRequest {
    Exercise exercise = Exercise::Flow;
    std::optional<std::string> from; // path of a simulation file
    std::vector<SettingChange> sets;
    std::vector<TimedSettingChange> ats;
    std::optional<long long> records;
};

// The state a run starts from: the exercise as its window opens, the file's
// settings, then the changes before START in order. Empty when done, else
// the reason a change was refused.
std::string PrepareHeadlessRun(VelmorState& state, const RunRequest& request,
                               const SimFileLoad* from);

// START, cycles back to back with the timed changes and the record limit
// handled in each wait, and the end of the run. Empty when done, else why
// a timed change was refused (the run is then stopped).
std::string ExecuteHeadlessRun(VelmorState& state, const RunRequest& request);

} // namespace velmor
