// --vary NAME=FROM:TO:COUNT, as velmor-sim's sweep and the desktop
// program's --export-map take it.
#pragma once

#include "core/analysis/Sweep.h"

#include <cstddef>
#include <string>

namespace velmor {

inline constexpr std::size_t kMaxRuns = 1000000; // a grid larger than this is a typo

struct VaryOption {
    std::string name;
    double from = 0;
    double to = 0;
    std::size_t count = 1;
};

// The option's value, its form checked; throws Refusal.
VaryOption ParseVaryOption(const std::string& text);

// Its values, each as the keypad would take it and within the setting's
// limits (in equal ratios when `logarithmic`); throws Refusal.
SweepAxis VaryAxis(Exercise e, const VaryOption& vary, bool logarithmic);

} // namespace velmor
