// Open loop: the waveform drives the pump output (percent) directly and the
// flow through the gate valve answers.
#pragma once

#include "core/exercises/LoopEngine.h"

namespace velmor {

class OpenEngine : public LoopEngine {
public:
    OpenEngine(VelmorState& state, TrendSink* sink);
    Exercise exercise() const override { return Exercise::Open; }
    void cycle() override;

protected:
    void startValues() override;
    void resetForRun() override;
    void writeFirstRecord(SampleRecord& rec) override;
    void startPlant() override;
    void keepLastValues() override;
};

} // namespace velmor
