// The loop exercises and the names by which the shell, the file reader, the
// keypad and velmor-sim address them. The five built-in exercises have
// their own names here; an exercise registered beside them (see
// RegisterExercise in ExerciseProfile.h) takes any other id.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace velmor {

enum class Exercise : std::uint8_t { Flow, Level, Open, Temperature, Batch };

// "frmFlow", "frmLevel", "frmOpen", "frmTemperature", "frmBatch".
std::string_view FormName(Exercise e);
std::optional<Exercise> ExerciseFromForm(std::string_view formName);

// "flow", "level", "open", "temperature", "batch" (velmor-sim's words).
std::string_view CommandWord(Exercise e);
std::optional<Exercise> ExerciseFromCommandWord(std::string_view word);

// The exercise whose simulation files start with `word` ("Flow" of
// "Flow Simulation").
std::optional<Exercise> ExerciseFromFileWord(std::string_view word);

// Time span the Trends window starts with for the exercise (s).
int DefaultTrendSpan(Exercise e);

// Every registered exercise: the five in the order above, then those
// registered beside them in the order of their registration.
std::vector<Exercise> Exercises();

} // namespace velmor
