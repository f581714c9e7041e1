// The Flow loop's engine, and its control law exposed for tests.
#pragma once

#include "core/exercises/LoopEngine.h"

#include <cstdint>

namespace velmor {

class FlowEngine : public ExerciseEngine {
public:
    FlowEngine(VelmorState& state, TrendSink* sink) : ExerciseEngine(Exercise::Flow, state, sink) {}
};

// The controller step of one cycle in counts, before clamping (PID or Manual
// mode by flowManual).
std::int64_t FlowControllerCounts(VelmorState& state);

} // namespace velmor
