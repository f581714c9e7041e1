#include "core/exercises/BatchEngine.h"

#include "core/Arith.h"
#include "core/trends/Scales.h"

namespace velmor {

bool BatchEngine::canCycle() const
{
    return LoopEngine::canCycle() &&
           static_cast<Real>(m_state.batch.batchSimTime) + m_state.run.samplePeriod <
               m_state.batch.expectedTime;
}

BatchEngine::BatchEngine(VelmorState& state, TrendSink* sink)
    : LoopEngine(state, sink,
                 {state.batch.batchTick, state.batch.batchSimTime, state.batch.batchSegment})
{
}

void BatchEngine::startValues()
{
    const BatchUnit& b = m_state.batch;
    const RunState& r = m_state.run;
    TrendViewState& tv = m_state.trend;
    // Output, heater and temperature traces start from the values before
    // this Start (an earlier run's last values).
    tv.trendPrevOutput = PlotFixed(r.outputPercent);
    tv.trendPrevHeater = PlotFixed(r.heaterPercent);
    tv.trendPrevTempSP = PlotFixed(b.batchTempSP);
    tv.trendPrevTemp = PlotFixed(r.measuredTemperature);
    tv.trendPrevVolumeSP = PlotCumulative(b.batchVolumeSP);
    tv.trendPrevVolume = PlotCumulative(0);
}

void BatchEngine::resetForRun()
{
    BatchUnit& b = m_state.batch;
    m_state.run.measuredVolume = 0;
    b.volIntegral = 0;
    b.volErrorRate = 0;
    b.volPrevError = 0;
    b.batchTempIntegral = 0;
    b.batchTempErrorRate = 0;
    b.batchTempPrevError = 0;
}

void BatchEngine::writeFirstRecord(SampleRecord& rec)
{
    // Outputs and temperature as they are now (after an earlier run, that
    // run's last values); the times as set, whatever the switches.
    const BatchUnit& b = m_state.batch;
    const RunState& r = m_state.run;
    rec.field(kFieldOutput) = r.outputPercent;
    rec.field(kFieldTempSP) = b.batchTempSP;
    rec.field(kFieldTempMV) = r.measuredTemperature;
    rec.field(kFieldTempPG) = b.batchTempGain;
    rec.field(kFieldTempI) = b.batchTempIntegralTime;
    rec.field(kFieldTempD) = b.batchTempDerivativeTime;
    rec.field(kFieldHeater) = r.heaterPercent;
    rec.field(kFieldVolSP) = b.batchVolumeSP;
    rec.field(kFieldVolMV) = 0;
    rec.field(kFieldVolPG) = b.volGain;
    rec.field(kFieldVolI) = b.volIntegralTime;
    rec.field(kFieldVolD) = b.volDerivativeTime;
    rec.segment = b.batchSegment;
}

void BatchEngine::startPlant()
{
    BatchUnit& b = m_state.batch;
    RunState& r = m_state.run;
    b.u0 = b.u1 = b.u2 = b.u3 = 0;
    b.y = b.y1 = b.y2 = 0;
    // The tank starts at the set point with both outputs off.
    b.model.reset(b.batchTempSP);
    r.measuredTemperature = b.batchTempSP;
    r.outputPercent = 0;
    r.heaterPercent = 0;
}

void BatchEngine::cycle()
{
    VelmorState& s = m_state;
    BatchUnit& b = s.batch;
    RunState& r = s.run;

    // Flow model (no gate valve), output kept in 64 bits.
    b.u3 = b.u2;
    b.u2 = b.u1;
    b.u1 = b.u0;
    b.u0 = static_cast<double>(static_cast<Real>(r.outputPercent) / 20);
    b.y2 = b.y1;
    b.y1 = b.y;
    b.y = static_cast<double>(0.1239L * b.u2 - 0.0014L * b.u3 + 1.301L * b.y1 - 0.442L * b.y2);
    r.flowRate = static_cast<float>(2 * static_cast<Real>(b.y) / 5);
    b.flowCounts = static_cast<std::int32_t>(Trunc(255 * static_cast<Real>(r.flowRate) / 2 + 0.5L));

    if (b.model.due()) {
        r.measuredTemperature =
            StepBatchTemperature(b.model, r.heaterPercent, r.measuredTemperature);
    }

    r.measuredVolume = static_cast<float>(static_cast<Real>(r.measuredVolume) +
                                          r.flowRate / (60 / static_cast<Real>(r.samplePeriod)));

    advanceTime();
    r.tempSetPoint = b.batchTempSP;
    r.volumeSetPoint = b.batchVolumeSP;

    // Volume loop: the flow that would deliver the rest in the time left.
    float remaining = static_cast<float>(b.expectedTime - static_cast<Real>(b.batchSimTime));
    if (!(remaining > 0)) {
        remaining = 1;
    }
    b.requiredFlow = static_cast<float>((static_cast<Real>(r.volumeSetPoint) - r.measuredVolume) *
                                        60 / remaining);
    if (!(b.requiredFlow >= 0)) {
        b.requiredFlow = 0;
    }
    const float e = static_cast<float>(static_cast<Real>(b.requiredFlow) * 127.5L - b.flowCounts);
    b.volIntegral = static_cast<float>((static_cast<Real>(r.samplePeriod) * e + b.volIntegral) *
                                       b.volIntegralOn);
    b.volErrorRate = static_cast<float>((static_cast<Real>(e) - b.volPrevError) / r.samplePeriod *
                                        b.volDerivativeOn);
    const std::int64_t pump = Trunc((static_cast<Real>(b.volIntegral) / b.volIntegralTime + e +
                                     static_cast<Real>(b.volDerivativeTime) * b.volErrorRate) *
                                        b.volGain +
                                    0.5L);
    b.volPrevError = e;
    const std::int32_t pumpCounts = ClampCounts(pump);

    // Temperature loop on the temperature itself, with feed-forward for the
    // sump water flowing in.
    b.batchTempError =
        static_cast<float>((static_cast<Real>(r.tempSetPoint) - r.measuredTemperature) * 2.55L);
    b.batchTempIntegral = static_cast<float>(
        (static_cast<Real>(r.samplePeriod) * b.batchTempError + b.batchTempIntegral) *
        b.batchTempIntegralOn);
    b.batchTempErrorRate =
        static_cast<float>((static_cast<Real>(b.batchTempError) - b.batchTempPrevError) /
                           r.samplePeriod * b.batchTempDerivativeOn);
    const float d = static_cast<float>(static_cast<Real>(r.tempSetPoint) - s.batch.sumpTemperature);
    const float f = static_cast<float>(static_cast<Real>(b.requiredFlow) * 4);
    std::int64_t heater = Trunc(
        (static_cast<Real>(b.batchTempIntegral) / b.batchTempIntegralTime * 60 + b.batchTempError +
         static_cast<Real>(b.batchTempDerivativeTime) * 60 * b.batchTempErrorRate) *
            b.batchTempGain +
        0.5L);
    heater = Trunc(static_cast<Real>(f) * d + static_cast<Real>(heater) + 0.5L);
    b.batchTempPrevError = b.batchTempError;
    const std::int32_t heaterCounts = ClampCounts(heater);

    r.outputPercent = CountsToPercent(pumpCounts);
    r.heaterPercent = CountsToPercent(heaterCounts);

    SampleRecord& rec = nextRecord();
    rec.time = stamp(b.batchTick);
    rec.field(kFieldOutput) = r.outputPercent;
    rec.field(kFieldTempSP) = r.tempSetPoint;
    rec.field(kFieldTempMV) = r.measuredTemperature;
    rec.field(kFieldTempPG) = b.batchTempGain;
    rec.field(kFieldTempI) =
        static_cast<float>(static_cast<Real>(b.batchTempIntegralOn) * b.batchTempIntegralTime);
    rec.field(kFieldTempD) =
        static_cast<float>(static_cast<Real>(b.batchTempDerivativeOn) * b.batchTempDerivativeTime);
    rec.field(kFieldHeater) = r.heaterPercent;
    rec.field(kFieldVolSP) = r.volumeSetPoint;
    rec.field(kFieldVolMV) = r.measuredVolume;
    rec.field(kFieldVolPG) = b.volGain;
    rec.field(kFieldVolI) =
        static_cast<float>(static_cast<Real>(b.volIntegralOn) * b.volIntegralTime);
    rec.field(kFieldVolD) =
        static_cast<float>(static_cast<Real>(b.volDerivativeOn) * b.volDerivativeTime);
    rec.segment = b.batchSegment;

    afterRecord(b.batchSimTime,
                {&TrendSink::TrendQ, &TrendSink::TrendTempSP, &TrendSink::TrendTempMV,
                 &TrendSink::TrendTempQ, &TrendSink::TrendVolSP, &TrendSink::TrendVolMV});
}

void BatchEngine::keepLastValues()
{
    m_state.batch.batchLastTempSP = m_state.run.tempSetPoint;
}

} // namespace velmor
