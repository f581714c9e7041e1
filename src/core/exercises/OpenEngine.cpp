#include "core/exercises/LoopEngine.h"

#include "core/Arith.h"

namespace velmor {

namespace {

void ResetForRun(VelmorState& s)
{
    OpenUnit& o = s.open;
    RunState& r = s.run;
    o.openWaveformAtStart = o.openWaveform;
    r.flowRate = 0;
    r.outputPercent = 0;
}

constexpr std::array kTraces{TraceId::FlowMV, TraceId::FlowQ};

TraceValues FirstValues(const VelmorState& /*s*/)
{
    TraceValues v;
    v[TraceId::FlowQ] = 0;
    v[TraceId::FlowMV] = 0;
    return v;
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

    run.afterRecord(t);
}

void KeepLastValues(VelmorState& s)
{
    s.open.openLastOutput = s.run.outputPercent;
    s.open.openLastFlow = s.run.flowRate;
}

} // namespace

// No settings marks: the Open loop has no controller settings.
constexpr EngineSteps kOpenSteps{
    &Counters,       &ResetForRun, &WriteFirstRecord, &StartPlant,  &Cycle,
    &KeepLastValues, nullptr,      kTraces,           &FirstValues, false};

} // namespace velmor
