// The five loop exercises and the window names by which the shell, the file
// reader and the keypad address them.
#pragma once

#include <optional>
#include <string_view>

namespace velmor {

enum class Exercise { Flow, Level, Open, Temperature, Batch };

// "frmFlow", "frmLevel", "frmOpen", "frmTemperature", "frmBatch".
std::string_view FormName(Exercise e);
std::optional<Exercise> ExerciseFromForm(std::string_view formName);

// "flow", "level", "open", "temperature", "batch" (velmor-sim's words).
std::string_view CommandWord(Exercise e);
std::optional<Exercise> ExerciseFromCommandWord(std::string_view word);

// Time span the Trends window starts with for the exercise (s).
int DefaultTrendSpan(Exercise e);

} // namespace velmor
