// Batch volume: a volume loop on the pump and a temperature loop with sump
// feed-forward on the heater; ends by itself at the expected time.
#pragma once

#include "core/exercises/LoopEngine.h"

namespace velmor {

class BatchEngine : public LoopEngine {
public:
    BatchEngine(VelmorState& state, TrendSink* sink);
    Exercise exercise() const override { return Exercise::Batch; }
    void cycle() override;
    bool canCycle() const override;

protected:
    void startValues() override;
    void resetForRun() override;
    void writeFirstRecord(SampleRecord& rec) override;
    void startPlant() override;
    void keepLastValues() override;
};

} // namespace velmor
