// Column names of simulation files and the record fields they stand for.
#pragma once

#include "core/exercises/Exercise.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace velmor {

struct Column {
    std::string_view name;
    int field; // 0 = time; 24 = settings segment (an integer)
};

// Every name the reader knows ("Flow Volume" and "Vol Measured Value" both
// fill field 15; a writer uses the first name of a field).
inline constexpr std::array<Column, 25> kKnownColumns{{
    {"Time", 0},         {"Flow Set Point", 2},   {"Flow Measured Value", 3},
    {"Flow PG", 4},      {"Flow I", 5},           {"Flow D", 6},
    {"Pump Output", 7},  {"Temp Set Point", 8},   {"Temp Measured Value", 9},
    {"Temp PG", 10},     {"Temp I", 11},          {"Temp D", 12},
    {"Temp Output", 13}, {"Vol Set Point", 14},   {"Vol Measured Value", 15},
    {"Flow Volume", 15}, {"Vol PG", 16},          {"Vol I", 17},
    {"Vol D", 18},       {"Level Set Point", 19}, {"Level Measured Value", 20},
    {"Level PG", 21},    {"Level I", 22},         {"Level D", 23},
    {"PID Area", 24},
}};

// The columns that write the given record fields, in that order.
template <std::size_t N>
constexpr std::array<Column, N> ColumnsOfFields(const std::array<int, N>& fields)
{
    std::array<Column, N> columns{};
    for (std::size_t i = 0; i < N; ++i) {
        for (const Column& known : kKnownColumns) {
            if (known.field == fields[i]) {
                columns[i] = known;
                break;
            }
        }
    }
    return columns;
}

std::span<const Column> KnownColumns();
std::optional<int> FieldOfColumn(std::string_view name);

// The columns a file of the exercise is written with, in order.
std::span<const Column> ExerciseColumns(Exercise e);

// First line of a file: "Flow Simulation", ...
std::string_view FirstLine(Exercise e);

} // namespace velmor
