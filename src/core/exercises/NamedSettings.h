// Settings by name, as velmor-sim's --set and --at give them. Each name is
// applied through the same path a student's click takes in the window: a
// value box through the keypad's conversion, limits and code, a check box
// through its handler, and so on.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/State.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// The names an exercise accepts.
std::vector<std::string_view> SettingNames(Exercise e);

// Checks a change without applying it: known name, well-formed value, value
// within the limits that never depend on the run. Empty when fine, else the
// reason, one line.
std::string CheckSetting(Exercise e, std::string_view name, std::string_view value);

// Applies a change to the state. Empty when applied, else the reason (for
// example a waveform row that the waveform in force does not show).
std::string ApplySetting(VelmorState& s, Exercise e, std::string_view name, std::string_view value);

// The value a name stands at in the state, as the window shows it (a box's
// value, 0 or 1 for a check box or button, the waveform's number). Nothing
// for an unknown name or a waveform row the waveform in force does not show.
std::optional<double> SettingValue(VelmorState& s, Exercise e, std::string_view name);

} // namespace velmor
