// Fluid level loop: the pump fills the tank through the flow line (no gate
// valve), a drain empties it, and a PID controller holds the level (percent).
#pragma once

#include "core/exercises/LoopEngine.h"

namespace velmor {

class LevelEngine : public LoopEngine {
public:
    LevelEngine(VelmorState& state, TrendSink* sink);
    Exercise exercise() const override { return Exercise::Level; }
    void cycle() override;

protected:
    void startValues() override;
    void resetForRun() override;
    void writeFirstRecord(SampleRecord& rec) override;
    void startPlant() override;
    void keepLastValues() override;
};

} // namespace velmor
