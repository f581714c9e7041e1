// The settings lines of a simulation file, per exercise, in file order: the
// name a line's value goes to, its type, its place in the settings block and
// whether a zero there would make the exercise divide by zero.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/SimSettings.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace velmor {

enum class LineType { Decimal, Flag, Integer };

// What a value of 0 on a line would be used to divide by.
enum class ZeroGuard {
    None,
    Gain,         // PB = 100 / PG
    IntegralTime, // the integral term divides by I
    Period,       // Sine, Step and Sawtooth divide by their period C
};

struct SettingLine {
    std::string_view name; // variable or control it goes to
    LineType type;
    float SimSettings::*real = nullptr;
    bool SimSettings::*flag = nullptr;
    std::int32_t SimSettings::*integer = nullptr; // null with Integer: the gate valve
    ZeroGuard guard = ZeroGuard::None;
};

std::span<const SettingLine> SettingsLines(Exercise e);

} // namespace velmor
