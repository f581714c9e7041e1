// Open loop: the waveform drives the pump output (percent) directly and the
// flow through the gate valve answers.
#pragma once

#include "core/exercises/LoopEngine.h"

namespace velmor {

class OpenEngine : public LoopEngine {
public:
    using LoopEngine::LoopEngine;
    Exercise exercise() const override { return Exercise::Open; }
    void start() override;
    void cycle() override;
    void finish() override;
};

} // namespace velmor
