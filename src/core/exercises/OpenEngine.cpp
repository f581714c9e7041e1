#include "core/exercises/OpenEngine.h"

#include "core/Arith.h"
#include "core/trends/Scales.h"

namespace velmor {

OpenEngine::OpenEngine(VelmorState& state, TrendSink* sink)
    : LoopEngine(state, sink, {state.open.openTick, state.open.openSimTime, state.open.openSegment})
{
}

void OpenEngine::startValues()
{
    OpenUnit& o = m_state.open;
    RunState& r = m_state.run;
    TrendViewState& tv = m_state.trend;
    o.openWaveformAtStart = o.openWaveform;
    r.flowRate = 0;
    r.outputPercent = 0;
    tv.trendPrevOutput = PlotFixed(0);
    tv.trendPrevPV = PlotRate(0);
}

void OpenEngine::resetForRun()
{
    // No controller: the counters are all this loop restarts.
}

void OpenEngine::writeFirstRecord(SampleRecord& rec)
{
    rec.field(kFieldFlowMV) = 0;
    rec.field(kFieldOutput) = 0;
}

void OpenEngine::startPlant()
{
    m_state.open.plant.reset();
}

void OpenEngine::cycle()
{
    VelmorState& s = m_state;
    OpenUnit& o = s.open;
    RunState& r = s.run;

    const float y = o.plant.step(r.outputPercent);
    r.flowRate = GatedFlow(PlantFlow(y), r.gateValvePercent);

    const double t = advanceTime();

    // No controller: the generator's value is the drive, unrounded, unclamped.
    r.outputPercent = WaveStep(o.openWaveform, o.waveParams, t, s.trend.trendSpan, r.outputPercent);

    SampleRecord& rec = nextRecord();
    rec.time = stamp(o.openTick);
    rec.field(kFieldFlowMV) = r.flowRate;
    rec.field(kFieldOutput) = r.outputPercent;

    afterRecord(t, {&TrendSink::TrendMV, &TrendSink::TrendQ}, false);
}

void OpenEngine::keepLastValues()
{
    m_state.open.openLastOutput = m_state.run.outputPercent;
    m_state.open.openLastFlow = m_state.run.flowRate;
}

} // namespace velmor
