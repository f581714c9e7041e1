#include "core/exercises/FlowEngine.h"

#include "core/Arith.h"
#include "core/trends/Scales.h"

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

FlowEngine::FlowEngine(VelmorState& state, TrendSink* sink)
    : LoopEngine(state, sink, {state.flow.flowTick, state.flow.flowSimTime, state.flow.flowSegment})
{
}

void FlowEngine::startValues()
{
    FlowUnit& f = m_state.flow;
    RunState& r = m_state.run;
    TrendViewState& tv = m_state.trend;
    f.flowWaveformAtStart = f.flowWaveform;
    r.outputPercent = 0;
    r.pumpOn = false;
    tv.trendPrevOutput = PlotFixed(0);
    // The first set-point point is B of the waveform (the Flat's hidden B).
    tv.trendPrevSP = PlotRate(f.waveParams.B(f.flowWaveform));
    r.flowRate = 0;
    tv.trendPrevPV = PlotRate(r.flowRate);
}

void FlowEngine::resetForRun()
{
    FlowUnit& f = m_state.flow;
    f.flowIntegral = 0;
    f.flowErrorRate = 0;
    f.flowPrevError = 0;
    f.flowCounts = 0; // Manual mode runs down from 0
}

void FlowEngine::writeFirstRecord(SampleRecord& rec)
{
    const FlowUnit& f = m_state.flow;
    rec.field(kFieldFlowSP) = f.waveParams.B(f.flowWaveform);
    rec.field(kFieldFlowMV) = m_state.run.flowRate;
    rec.field(kFieldFlowPG) = f.flowGain;
    rec.field(kFieldFlowI) = f.flowIntegralTime; // as set, whatever the switches
    rec.field(kFieldFlowD) = f.flowDerivativeTime;
    rec.field(kFieldOutput) = m_state.run.outputPercent;
    rec.segment = f.flowSegment;
}

void FlowEngine::startPlant()
{
    m_state.flow.plant.reset();
}

void FlowEngine::cycle()
{
    VelmorState& s = m_state;
    FlowUnit& f = s.flow;
    RunState& r = s.run;

    const float y = f.plant.step(r.outputPercent);
    r.flowRate = GatedFlow(PlantFlow(y), r.gateValvePercent);

    const double t = advanceTime();

    r.flowSetPoint = WaveStep(f.flowWaveform, f.waveParams, t, s.trend.trendSpan, r.flowSetPoint);

    f.flowCounts = ClampCounts(FlowControllerCounts(s));
    r.outputPercent = CountsToPercent(f.flowCounts);

    SampleRecord& rec = nextRecord();
    rec.time = stamp(f.flowTick);
    rec.field(kFieldFlowSP) = r.flowSetPoint;
    rec.field(kFieldFlowMV) = r.flowRate;
    rec.field(kFieldFlowPG) = f.flowGain;
    rec.field(kFieldFlowI) =
        static_cast<float>(static_cast<Real>(f.flowIntegralOn) * f.flowIntegralTime);
    rec.field(kFieldFlowD) =
        static_cast<float>(static_cast<Real>(f.flowDerivativeOn) * f.flowDerivativeTime);
    rec.field(kFieldOutput) = r.outputPercent;
    rec.segment = f.flowSegment;

    afterRecord(t, {&TrendSink::TrendSP, &TrendSink::TrendMV, &TrendSink::TrendQ});
}

void FlowEngine::keepLastValues()
{
    m_state.flow.flowLastSP = m_state.run.flowSetPoint;
    m_state.flow.flowLastPV = m_state.run.flowRate;
}

} // namespace velmor
