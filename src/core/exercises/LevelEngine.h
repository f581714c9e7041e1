// Fluid level loop: the pump fills the tank through the flow line (no gate
// valve), a drain empties it, and a PID controller holds the level (percent).
#pragma once

#include "core/exercises/LoopEngine.h"

namespace velmor {

class LevelEngine : public LoopEngine {
public:
    using LoopEngine::LoopEngine;
    Exercise exercise() const override { return Exercise::Level; }
    void start() override;
    void cycle() override;
    void finish() override;
};

} // namespace velmor
