// Temperature loop: PID control of the heater; the tank model steps once
// every 20 cycles with a six-deep heater delay line.
#pragma once

#include "core/exercises/LoopEngine.h"

namespace velmor {

class TemperatureEngine : public LoopEngine {
public:
    using LoopEngine::LoopEngine;
    Exercise exercise() const override { return Exercise::Temperature; }
    void start() override;
    void cycle() override;
    void finish() override;
};

} // namespace velmor
