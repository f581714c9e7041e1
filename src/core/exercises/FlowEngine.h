// Flow loop: PID (or Manual) control of the pump against a set-point
// waveform, measured flow in L/min through the gate valve.
#pragma once

#include "core/exercises/LoopEngine.h"

namespace velmor {

class FlowEngine : public LoopEngine {
public:
    using LoopEngine::LoopEngine;
    Exercise exercise() const override { return Exercise::Flow; }
    void start() override;
    void cycle() override;
    void finish() override;
};

// The controller step of one cycle in counts, before clamping (PID or Manual
// mode by flowManual). Exposed for tests of the control law.
std::int64_t FlowControllerCounts(VelmorState& state);

} // namespace velmor
