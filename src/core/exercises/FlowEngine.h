// Flow loop: PID (or Manual) control of the pump against a set-point
// waveform, measured flow in L/min through the gate valve.
#pragma once

#include "core/exercises/LoopEngine.h"

namespace velmor {

class FlowEngine : public LoopEngine {
public:
    FlowEngine(VelmorState& state, TrendSink* sink);
    Exercise exercise() const override { return Exercise::Flow; }
    void cycle() override;

protected:
    void startValues() override;
    void resetForRun() override;
    void writeFirstRecord(SampleRecord& rec) override;
    void startPlant() override;
    void keepLastValues() override;
};

// The controller step of one cycle in counts, before clamping (PID or Manual
// mode by flowManual). Exposed for tests of the control law.
std::int64_t FlowControllerCounts(VelmorState& state);

} // namespace velmor
