// The settings a lab sheet holds fixed while it is open. One set for the
// program (there is one main window and one sheet at a time): the main
// window fills it when a sheet opens and empties it when the sheet closes;
// the exercise windows ask it before taking a change from the student.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/exercises/ExerciseProfile.h"
#include "core/rundata/State.h"

#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace velmor {

// Names as velmor-sim's --set takes them, for the exercise `e`.
void LockSettings(Exercise e, std::vector<std::string> names);
void UnlockSettings();
bool SettingLocked(Exercise e, std::string_view name);

// The setting names a value box (by keypad code) changes in the exercise's
// state as it stands: the box's own name, and for PG or PB both (one sets
// the other). A Ramp shows B in row 1 and A in row 2.
std::vector<std::string_view> BoxSettingNames(const VelmorState& s, Exercise e, int code);
// The name of the exercise's waveform buttons.
std::string_view WaveformSettingName(Exercise e);

// A change the student asked for: true (and "Set by the lab sheet" shown
// by the pointer, over `near`) when any of `names` is locked.
bool RefuseLockedChange(QWidget* near, Exercise e, const std::vector<std::string_view>& names);
// The same for the I box (`integral`) or the D box of the controller `loop`,
// in whichever exercise has that controller.
bool RefuseLockedCheckBox(QWidget* near, LoopOf loop, bool integral);

} // namespace velmor
