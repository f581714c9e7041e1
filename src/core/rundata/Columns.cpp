#include "core/rundata/Columns.h"

#include <array>

namespace velmor {

namespace {

constexpr std::array<Column, 25> kKnown{{
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

constexpr std::array<Column, 8> kFlow{{{"Time", 0},
                                       {"Flow Set Point", 2},
                                       {"Flow Measured Value", 3},
                                       {"Flow PG", 4},
                                       {"Flow I", 5},
                                       {"Flow D", 6},
                                       {"Pump Output", 7},
                                       {"PID Area", 24}}};

constexpr std::array<Column, 8> kLevel{{{"Time", 0},
                                        {"Level Set Point", 19},
                                        {"Level Measured Value", 20},
                                        {"Level PG", 21},
                                        {"Level I", 22},
                                        {"Level D", 23},
                                        {"Pump Output", 7},
                                        {"PID Area", 24}}};

constexpr std::array<Column, 3> kOpen{
    {{"Time", 0}, {"Flow Measured Value", 3}, {"Pump Output", 7}}};

constexpr std::array<Column, 8> kTemperature{{{"Time", 0},
                                              {"Temp Set Point", 8},
                                              {"Temp Measured Value", 9},
                                              {"Temp PG", 10},
                                              {"Temp I", 11},
                                              {"Temp D", 12},
                                              {"Temp Output", 13},
                                              {"PID Area", 24}}};

constexpr std::array<Column, 14> kBatch{{{"Time", 0},
                                         {"Pump Output", 7},
                                         {"Temp Set Point", 8},
                                         {"Temp Measured Value", 9},
                                         {"Temp PG", 10},
                                         {"Temp I", 11},
                                         {"Temp D", 12},
                                         {"Temp Output", 13},
                                         {"Vol Set Point", 14},
                                         {"Vol Measured Value", 15},
                                         {"Vol PG", 16},
                                         {"Vol I", 17},
                                         {"Vol D", 18},
                                         {"PID Area", 24}}};

} // namespace

std::span<const Column> KnownColumns()
{
    return kKnown;
}

std::optional<int> FieldOfColumn(std::string_view name)
{
    for (const Column& c : kKnown) {
        if (c.name == name) {
            return c.field;
        }
    }
    return std::nullopt;
}

std::span<const Column> ExerciseColumns(Exercise e)
{
    switch (e) {
    case Exercise::Flow:
        return kFlow;
    case Exercise::Level:
        return kLevel;
    case Exercise::Open:
        return kOpen;
    case Exercise::Temperature:
        return kTemperature;
    case Exercise::Batch:
        return kBatch;
    }
    return kFlow;
}

std::string_view FirstLine(Exercise e)
{
    switch (e) {
    case Exercise::Flow:
        return "Flow Simulation";
    case Exercise::Level:
        return "Level Simulation";
    case Exercise::Open:
        return "Open Simulation";
    case Exercise::Temperature:
        return "Temperature Simulation";
    case Exercise::Batch:
        return "Batch Simulation";
    }
    return "Flow Simulation";
}

} // namespace velmor
