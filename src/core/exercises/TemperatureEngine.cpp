#include "core/exercises/LoopEngine.h"

#include "core/Arith.h"

namespace velmor {

namespace {

void ResetForRun(VelmorState& s)
{
    TemperatureUnit& u = s.temp;
    u.tempIntegral = 0;
    u.tempErrorRate = 0;
    u.tempPrevError = 0;
}

constexpr std::array kTraces{TraceId::TempSP, TraceId::TempMV, TraceId::TempQ};

TraceValues FirstValues(const VelmorState& s)
{
    TraceValues v;
    // The heater trace starts from 0; the temperature as it is now.
    v[TraceId::TempQ] = 0;
    v[TraceId::TempSP] = s.temp.tempEnteredSP;
    v[TraceId::TempMV] = s.run.measuredTemperature;
    return v;
}

void WriteFirstRecord(const VelmorState& s, SampleRecord& rec)
{
    // The temperature and the heater as they are now: after a finished run,
    // that run's last values.
    const TemperatureUnit& u = s.temp;
    SetFields(rec, {{kFieldTempSP, u.tempEnteredSP},
                    {kFieldTempMV, s.run.measuredTemperature},
                    {kFieldTempPG, u.tempGain},
                    {kFieldTempI, u.tempIntegralTime},
                    {kFieldTempD, u.tempDerivativeTime},
                    {kFieldHeater, s.run.heaterPercent}});
    rec.segment = u.tempSegment;
}

void StartPlant(VelmorState& s)
{
    s.temp.model.reset(s.temp.initialTemperature);
}

RunCounters Counters(VelmorState& s)
{
    return {s.temp.tempTick, s.temp.tempSimTime, s.temp.tempSegment};
}

void Cycle(ExerciseEngine& run)
{
    VelmorState& s = run.state();
    TemperatureUnit& u = s.temp;
    RunState& r = s.run;

    if (u.model.due()) {
        r.measuredTemperature = StepTemperature(u.model, r.heaterPercent);
        u.measuredCounts = TemperatureCounts(r.measuredTemperature);
    }

    const double t = run.advanceTime();
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

    SampleRecord& rec = run.nextRecord();
    rec.time = run.stamp(u.tempTick);
    SetFields(rec, {{kFieldTempSP, r.tempSetPoint},
                    {kFieldTempMV, r.measuredTemperature},
                    {kFieldTempPG, u.tempGain},
                    {kFieldTempI, u.tempIntegralTime},
                    {kFieldTempD, u.tempDerivativeTime},
                    {kFieldHeater, r.heaterPercent}});
    rec.segment = u.tempSegment;

    run.afterRecord(t);
}

void KeepLastValues(VelmorState& s)
{
    s.temp.tempLastSP = s.run.tempSetPoint;
    s.temp.tempLastPV = s.run.measuredTemperature;
}

} // namespace

constexpr EngineSteps kTemperatureSteps{
    &Counters,       &ResetForRun, &WriteFirstRecord, &StartPlant,  &Cycle,
    &KeepLastValues, nullptr,      kTraces,           &FirstValues, true};

} // namespace velmor
