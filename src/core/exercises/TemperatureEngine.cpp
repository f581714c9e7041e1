#include "core/exercises/TemperatureEngine.h"

#include "core/Arith.h"
#include "core/trends/Scales.h"

namespace velmor {

void TemperatureEngine::start()
{
    VelmorState& s = m_state;
    TemperatureUnit& u = s.temp;
    RunState& r = s.run;
    TrendViewState& tv = s.trend;

    tv.trendPrevX = 38;
    tv.trendPrevHeater = PlotFixed(0);
    tv.trendPrevTempSP = PlotFixed(u.tempEnteredSP);
    tv.trendPrevTemp = PlotFixed(r.measuredTemperature);
    u.tempSegment = 1;
    tv.trendSegmentShown = 0;
    startTrendData();
    prepareLog({0, 1, 8, 9, 10, 11, 12, 13, 24});
    u.tempIntegral = 0;
    u.tempErrorRate = 0;
    u.tempPrevError = 0;
    if (m_sink != nullptr) {
        m_sink->HideFloat();
    }
    u.tempTick = 1;
    r.sampleCount = 0;
    s.log.resetSecondIndex();

    // Record 1 carries the values current now: after a finished run, that
    // run's last temperature and output.
    u.tempSimTime = 0;
    SampleRecord& rec = nextRecord();
    rec.time = 0;
    rec.field(kFieldTempSP) = u.tempEnteredSP;
    rec.field(kFieldTempMV) = r.measuredTemperature;
    rec.field(kFieldTempPG) = u.tempGain;
    rec.field(kFieldTempI) = u.tempIntegralTime;
    rec.field(kFieldTempD) = u.tempDerivativeTime;
    rec.field(kFieldHeater) = r.heaterPercent;
    rec.segment = u.tempSegment;

    startTrendView();
    r.runActive = true;
    tv.trendLive = true;
    u.model.reset(u.initialTemperature);
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

    const double t = stamp(u.tempTick);
    u.tempSimTime = t;
    u.tempTick += 1;
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

    afterRecord(t, {&TrendSink::TrendTempSP, &TrendSink::TrendTempMV, &TrendSink::TrendTempQ},
                u.tempSegment);
}

void TemperatureEngine::finish()
{
    m_state.temp.tempLastSP = m_state.run.tempSetPoint;
    m_state.temp.tempLastPV = m_state.run.measuredTemperature;
    endRun();
}

} // namespace velmor
