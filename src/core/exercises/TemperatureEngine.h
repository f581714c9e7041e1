// Temperature loop: PID control of the heater; the tank model steps once
// every 20 cycles with a six-deep heater delay line.
#pragma once

#include "core/exercises/LoopEngine.h"

namespace velmor {

class TemperatureEngine : public LoopEngine {
public:
    TemperatureEngine(VelmorState& state, TrendSink* sink);
    Exercise exercise() const override { return Exercise::Temperature; }
    void cycle() override;

protected:
    void startValues() override;
    void resetForRun() override;
    void writeFirstRecord(SampleRecord& rec) override;
    void startPlant() override;
    void keepLastValues() override;
};

} // namespace velmor
