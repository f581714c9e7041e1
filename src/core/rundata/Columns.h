// Column names of simulation files and the record fields they stand for.
#pragma once

#include "core/exercises/Exercise.h"

#include <optional>
#include <span>
#include <string_view>

namespace velmor {

struct Column {
    std::string_view name;
    int field; // 0 = time; 24 = settings segment (an integer)
};

// Every name the reader knows ("Flow Volume" and "Vol Measured Value" both
// fill field 15).
std::span<const Column> KnownColumns();
std::optional<int> FieldOfColumn(std::string_view name);

// The columns a file of the exercise is written with, in order.
std::span<const Column> ExerciseColumns(Exercise e);

// First line of a file: "Flow Simulation", ...
std::string_view FirstLine(Exercise e);

} // namespace velmor
