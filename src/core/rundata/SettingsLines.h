// The settings lines of a simulation file, per exercise, in file order: the
// name a line's value goes to, its type and its place in the settings block.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/SimSettings.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace velmor {

enum class LineType { Decimal, Flag, Integer };

struct SettingLine {
    std::string_view name; // variable or control it goes to
    LineType type;
    float SimSettings::*real = nullptr;
    bool SimSettings::*flag = nullptr;
    std::int32_t SimSettings::*integer = nullptr; // null with Integer: the gate valve
};

std::span<const SettingLine> SettingsLines(Exercise e);

} // namespace velmor
