// Batch volume: a volume loop on the pump and a temperature loop with sump
// feed-forward on the heater; ends by itself at the expected time.
#pragma once

#include "core/exercises/LoopEngine.h"

namespace velmor {

class BatchEngine : public LoopEngine {
public:
    using LoopEngine::LoopEngine;
    Exercise exercise() const override { return Exercise::Batch; }
    void start() override;
    void cycle() override;
    void finish() override;
    bool canCycle() const override;
};

} // namespace velmor
