// A controlled loop as the records of a run hold it: where its set point,
// measured value, output and controller settings are logged, and what the
// analysis and the windows call it. Each exercise's profile lists its loops.
#pragma once

#include <string_view>

namespace velmor {

struct LoopTraces {
    std::string_view name; // velmor-sim's word for it: "flow", "temperature", ...
    const char* title;     // the windows' name for it (English source text)
    int setPointField;
    int measuredField;
    int outputField;
    // The controller's PG, I and D as logged (I and D 0 while switched off).
    int gainField;
    int integralField;
    int derivativeField;
    // Full scale of the set-point and measured traces on the trend (loop
    // unit): 2 L/min, 100 degrees C, 6 litres, 100 %.
    double fullScale;
    const char* unit; // of the set point and measured value: "L/min", "°C", ...
};

} // namespace velmor
