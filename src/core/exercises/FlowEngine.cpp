#include "core/exercises/FlowEngine.h"

#include "core/Arith.h"

namespace velmor {

std::int64_t FlowControllerCounts(VelmorState& s)
{
    FlowUnit& f = s.flow;
    RunState& r = s.run;
    if (f.flowManual) {
        // The pump button drives the pump; off, it runs down by about 2 %
        // plus 5 counts a sample.
        if (r.pumpOn) {
            return 255;
        }
        return static_cast<std::int64_t>(f.flowCounts) - f.flowCounts / 50 - 5;
    }
    f.flowError = static_cast<float>((static_cast<Real>(r.flowSetPoint) - r.flowRate) * 255 / 2);
    const float p = static_cast<float>(static_cast<Real>(f.flowError) * f.flowGain);
    f.flowIntegral = static_cast<float>(
        (static_cast<Real>(r.samplePeriod) * f.flowError + f.flowIntegral) * f.flowIntegralOn);
    f.flowErrorRate = static_cast<float>((static_cast<Real>(f.flowError) - f.flowPrevError) *
                                         f.flowDerivativeOn / r.samplePeriod);
    const std::int64_t counts = Trunc((static_cast<Real>(f.flowIntegral) / f.flowIntegralTime +
                                       static_cast<Real>(f.flowDerivativeTime) * f.flowErrorRate) *
                                          f.flowGain +
                                      p + 0.5L);
    f.flowPrevError = f.flowError;
    return counts;
}

namespace {

void ResetForRun(VelmorState& s)
{
    FlowUnit& f = s.flow;
    RunState& r = s.run;
    f.flowWaveformAtStart = f.flowWaveform;
    r.outputPercent = 0;
    r.pumpOn = false;
    r.flowRate = 0;
    f.flowIntegral = 0;
    f.flowErrorRate = 0;
    f.flowPrevError = 0;
    f.flowCounts = 0; // Manual mode runs down from 0
}

constexpr std::array kTraces{TraceId::FlowSP, TraceId::FlowMV, TraceId::FlowQ};

TraceValues FirstValues(const VelmorState& s)
{
    const FlowUnit& f = s.flow;
    TraceValues v;
    v[TraceId::FlowQ] = 0;
    // The set point starts from B of the waveform (the Flat's hidden B).
    v[TraceId::FlowSP] = f.waveParams.B(f.flowWaveform);
    v[TraceId::FlowMV] = s.run.flowRate;
    return v;
}

void WriteFirstRecord(const VelmorState& s, SampleRecord& rec)
{
    const FlowUnit& f = s.flow;
    // I and D as set, whatever the switches.
    SetFields(rec, {{kFieldFlowSP, f.waveParams.B(f.flowWaveform)},
                    {kFieldFlowMV, s.run.flowRate},
                    {kFieldFlowPG, f.flowGain},
                    {kFieldFlowI, f.flowIntegralTime},
                    {kFieldFlowD, f.flowDerivativeTime},
                    {kFieldOutput, s.run.outputPercent}});
    rec.segment = f.flowSegment;
}

void StartPlant(VelmorState& s)
{
    s.flow.plant.reset();
}

RunCounters Counters(VelmorState& s)
{
    return {s.flow.flowTick, s.flow.flowSimTime, s.flow.flowSegment};
}

void Cycle(ExerciseEngine& run)
{
    VelmorState& s = run.state();
    FlowUnit& f = s.flow;
    RunState& r = s.run;

    const float y = f.plant.step(r.outputPercent);
    r.flowRate = GatedFlow(PlantFlow(y), r.gateValvePercent);

    const double t = run.advanceTime();

    r.flowSetPoint = WaveStep(f.flowWaveform, f.waveParams, t, s.trend.trendSpan, r.flowSetPoint);

    f.flowCounts = ClampCounts(FlowControllerCounts(s));
    r.outputPercent = CountsToPercent(f.flowCounts);

    SampleRecord& rec = run.nextRecord();
    rec.time = run.stamp(f.flowTick);
    SetFields(rec, {{kFieldFlowSP, r.flowSetPoint},
                    {kFieldFlowMV, r.flowRate},
                    {kFieldFlowPG, f.flowGain},
                    {kFieldFlowI, Switched(f.flowIntegralOn, f.flowIntegralTime)},
                    {kFieldFlowD, Switched(f.flowDerivativeOn, f.flowDerivativeTime)},
                    {kFieldOutput, r.outputPercent}});
    rec.segment = f.flowSegment;

    run.afterRecord(t);
}

void KeepLastValues(VelmorState& s)
{
    s.flow.flowLastSP = s.run.flowSetPoint;
    s.flow.flowLastPV = s.run.flowRate;
}

} // namespace

constexpr EngineSteps kFlowSteps{
    &Counters,       &ResetForRun, &WriteFirstRecord, &StartPlant,  &Cycle,
    &KeepLastValues, nullptr,      kTraces,           &FirstValues, true};

} // namespace velmor
