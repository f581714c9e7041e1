#include "core/exercises/OpenEngine.h"

#include "core/Arith.h"
#include "core/trends/Scales.h"

namespace velmor {

void OpenEngine::start()
{
    VelmorState& s = m_state;
    OpenUnit& o = s.open;
    RunState& r = s.run;
    TrendViewState& tv = s.trend;

    o.openWaveformAtStart = o.openWaveform;
    r.flowRate = 0;
    r.outputPercent = 0;
    tv.trendPrevX = 38;
    tv.trendPrevOutput = PlotFixed(0);
    tv.trendPrevPV = PlotRate(0);
    o.openSegment = 1;
    tv.trendSegmentShown = 0;
    startTrendData();
    prepareLog({0, 1, 3, 7});
    if (m_sink != nullptr) {
        m_sink->HideFloat();
    }
    o.openTick = 1;
    r.sampleCount = 0;
    s.log.resetSecondIndex();

    o.openSimTime = 0;
    SampleRecord& rec = nextRecord();
    rec.time = 0;
    rec.field(kFieldFlowMV) = 0;
    rec.field(kFieldOutput) = 0;

    startTrendView();
    r.runActive = true;
    tv.trendLive = true;
    o.plant.reset();
}

void OpenEngine::cycle()
{
    VelmorState& s = m_state;
    OpenUnit& o = s.open;
    RunState& r = s.run;

    const float y = o.plant.step(r.outputPercent);
    r.flowRate = GatedFlow(PlantFlow(y), r.gateValvePercent);

    const double t = stamp(o.openTick);
    o.openSimTime = t;
    o.openTick += 1;

    // No controller: the generator's value is the drive, unrounded, unclamped.
    r.outputPercent = WaveStep(o.openWaveform, o.waveParams, t, s.trend.trendSpan, r.outputPercent);

    SampleRecord& rec = nextRecord();
    rec.time = stamp(o.openTick);
    rec.field(kFieldFlowMV) = r.flowRate;
    rec.field(kFieldOutput) = r.outputPercent;

    afterRecord(t, {&TrendSink::TrendMV, &TrendSink::TrendQ}, o.openSegment, false);
}

void OpenEngine::finish()
{
    m_state.open.openLastOutput = m_state.run.outputPercent;
    m_state.open.openLastFlow = m_state.run.flowRate;
    endRun();
}

} // namespace velmor
