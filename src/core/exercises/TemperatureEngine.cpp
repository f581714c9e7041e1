#include "core/exercises/TemperatureEngine.h"

#include "core/Arith.h"
#include "core/trends/Scales.h"

namespace velmor {

TemperatureEngine::TemperatureEngine(VelmorState& state, TrendSink* sink)
    : LoopEngine(state, sink, {state.temp.tempTick, state.temp.tempSimTime, state.temp.tempSegment})
{
}

void TemperatureEngine::startValues()
{
    TrendViewState& tv = m_state.trend;
    tv.trendPrevHeater = PlotFixed(0);
    tv.trendPrevTempSP = PlotFixed(m_state.temp.tempEnteredSP);
    tv.trendPrevTemp = PlotFixed(m_state.run.measuredTemperature);
}

void TemperatureEngine::resetForRun()
{
    TemperatureUnit& u = m_state.temp;
    u.tempIntegral = 0;
    u.tempErrorRate = 0;
    u.tempPrevError = 0;
}

void TemperatureEngine::writeFirstRecord(SampleRecord& rec)
{
    // The temperature and the heater as they are now: after a finished run,
    // that run's last values.
    const TemperatureUnit& u = m_state.temp;
    rec.field(kFieldTempSP) = u.tempEnteredSP;
    rec.field(kFieldTempMV) = m_state.run.measuredTemperature;
    rec.field(kFieldTempPG) = u.tempGain;
    rec.field(kFieldTempI) = u.tempIntegralTime;
    rec.field(kFieldTempD) = u.tempDerivativeTime;
    rec.field(kFieldHeater) = m_state.run.heaterPercent;
    rec.segment = u.tempSegment;
}

void TemperatureEngine::startPlant()
{
    m_state.temp.model.reset(m_state.temp.initialTemperature);
}

void TemperatureEngine::cycle()
{
    VelmorState& s = m_state;
    TemperatureUnit& u = s.temp;
    RunState& r = s.run;

    if (u.model.due()) {
        r.measuredTemperature = StepTemperature(u.model, r.heaterPercent);
        u.measuredCounts = TemperatureCounts(r.measuredTemperature);
    }

    const double t = advanceTime();
    r.tempSetPoint = u.tempEnteredSP;

    // Controller: integral and derivative terms both divided by 60.
    u.tempError = static_cast<float>(2.55L * r.tempSetPoint - u.measuredCounts);
    u.tempIntegral = static_cast<float>(
        (static_cast<Real>(r.samplePeriod) * u.tempError + u.tempIntegral) * u.tempIntegralOn);
    u.tempErrorRate = static_cast<float>((static_cast<Real>(u.tempError) - u.tempPrevError) *
                                         u.tempDerivativeOn / r.samplePeriod);
    const std::int64_t counts =
        Trunc((static_cast<Real>(u.tempIntegral) / u.tempIntegralTime / 60 + u.tempError +
               static_cast<Real>(u.tempErrorRate) * u.tempDerivativeTime / 60) *
                  u.tempGain +
              0.5L);
    u.tempPrevError = u.tempError;
    const std::int32_t output = ClampCounts(counts);
    r.heaterPercent = static_cast<float>(Trunc(static_cast<Real>(output) * 100 / 255 + 0.5L));

    SampleRecord& rec = nextRecord();
    rec.time = stamp(u.tempTick);
    rec.field(kFieldTempSP) = r.tempSetPoint;
    rec.field(kFieldTempMV) = r.measuredTemperature;
    rec.field(kFieldTempPG) = u.tempGain;
    rec.field(kFieldTempI) = u.tempIntegralTime;
    rec.field(kFieldTempD) = u.tempDerivativeTime;
    rec.field(kFieldHeater) = r.heaterPercent;
    rec.segment = u.tempSegment;

    afterRecord(t, {&TrendSink::TrendTempSP, &TrendSink::TrendTempMV, &TrendSink::TrendTempQ});
}

void TemperatureEngine::keepLastValues()
{
    m_state.temp.tempLastSP = m_state.run.tempSetPoint;
    m_state.temp.tempLastPV = m_state.run.measuredTemperature;
}

} // namespace velmor
