#include "core/exercises/LoopEngine.h"

#include "core/Arith.h"
#include "core/trends/Scales.h"

namespace velmor {

namespace {

void ResetForRun(VelmorState& s)
{
    OpenUnit& o = s.open;
    RunState& r = s.run;
    TrendViewState& tv = s.trend;
    o.openWaveformAtStart = o.openWaveform;
    r.flowRate = 0;
    r.outputPercent = 0;
    tv.trendPrevOutput = PlotFixed(0);
    tv.trendPrevPV = PlotRate(0);
}

void WriteFirstRecord(const VelmorState& /*s*/, SampleRecord& rec)
{
    SetFields(rec, {{kFieldFlowMV, 0}, {kFieldOutput, 0}});
}

void StartPlant(VelmorState& s)
{
    s.open.plant.reset();
}

RunCounters Counters(VelmorState& s)
{
    return {s.open.openTick, s.open.openSimTime, s.open.openSegment};
}

void Cycle(ExerciseEngine& run)
{
    VelmorState& s = run.state();
    OpenUnit& o = s.open;
    RunState& r = s.run;

    const float y = o.plant.step(r.outputPercent);
    r.flowRate = GatedFlow(PlantFlow(y), r.gateValvePercent);

    const double t = run.advanceTime();

    // No controller: the generator's value is the drive, unrounded, unclamped.
    r.outputPercent = WaveStep(o.openWaveform, o.waveParams, t, s.trend.trendSpan, r.outputPercent);

    SampleRecord& rec = run.nextRecord();
    rec.time = run.stamp(o.openTick);
    SetFields(rec, {{kFieldFlowMV, r.flowRate}, {kFieldOutput, r.outputPercent}});

    run.afterRecord(t, {&TrendSink::TrendMV, &TrendSink::TrendQ}, false);
}

void KeepLastValues(VelmorState& s)
{
    s.open.openLastOutput = s.run.outputPercent;
    s.open.openLastFlow = s.run.flowRate;
}

} // namespace

constexpr EngineSteps kOpenSteps{
    &Counters, &ResetForRun, &WriteFirstRecord, &StartPlant, &Cycle, &KeepLastValues, nullptr};

} // namespace velmor
