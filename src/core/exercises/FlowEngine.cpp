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

void FlowEngine::start()
{
    VelmorState& s = m_state;
    FlowUnit& f = s.flow;
    RunState& r = s.run;
    TrendViewState& tv = s.trend;

    f.flowWaveformAtStart = f.flowWaveform;
    r.outputPercent = 0;
    r.pumpOn = false;
    tv.trendPrevX = 38;
    tv.trendPrevOutput = PlotFixed(0);
    tv.trendPrevSP = PlotRate(f.waveParams.B(f.flowWaveform));
    r.flowRate = 0;
    tv.trendPrevPV = PlotRate(r.flowRate);
    f.flowSegment = 1;
    tv.trendSegmentShown = 0;
    startTrendData();
    prepareLog({0, 1, 2, 3, 4, 5, 6, 7});
    f.flowIntegral = 0;
    f.flowErrorRate = 0;
    f.flowPrevError = 0;
    f.flowCounts = 0;
    if (m_sink != nullptr) {
        m_sink->HideFloat();
    }
    f.flowTick = 1;
    r.sampleCount = 0;
    s.log.resetSecondIndex();

    f.flowSimTime = 0;
    SampleRecord& rec = nextRecord();
    rec.time = 0;
    rec.field(kFieldFlowSP) = f.waveParams.B(f.flowWaveform);
    rec.field(kFieldFlowMV) = r.flowRate;
    rec.field(kFieldFlowPG) = f.flowGain;
    rec.field(kFieldFlowI) = f.flowIntegralTime;
    rec.field(kFieldFlowD) = f.flowDerivativeTime;
    rec.field(kFieldOutput) = r.outputPercent;
    rec.segment = f.flowSegment;

    startTrendView();
    r.runActive = true;
    tv.trendLive = true;
    f.plant.reset();
}

void FlowEngine::cycle()
{
    VelmorState& s = m_state;
    FlowUnit& f = s.flow;
    RunState& r = s.run;

    const float y = f.plant.step(r.outputPercent);
    r.flowRate = GatedFlow(PlantFlow(y), r.gateValvePercent);

    const double t = stamp(f.flowTick);
    f.flowSimTime = t;
    f.flowTick += 1;

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

    afterRecord(t, {&TrendSink::TrendSP, &TrendSink::TrendMV, &TrendSink::TrendQ}, f.flowSegment);
}

void FlowEngine::finish()
{
    m_state.flow.flowLastSP = m_state.run.flowSetPoint;
    m_state.flow.flowLastPV = m_state.run.flowRate;
    endRun();
}

} // namespace velmor
