#include "core/exercises/LoopEngine.h"

#include "core/Arith.h"

namespace velmor {

namespace {

void ResetForRun(VelmorState& s)
{
    BatchUnit& b = s.batch;
    RunState& r = s.run;
    r.measuredVolume = 0;
    b.volIntegral = 0;
    b.volErrorRate = 0;
    b.volPrevError = 0;
    b.batchTempIntegral = 0;
    b.batchTempErrorRate = 0;
    b.batchTempPrevError = 0;
}

constexpr std::array kTraces{TraceId::FlowQ, TraceId::TempSP, TraceId::TempMV,
                             TraceId::TempQ, TraceId::VolSP,  TraceId::VolMV};

TraceValues FirstValues(const VelmorState& s)
{
    const BatchUnit& b = s.batch;
    const RunState& r = s.run;
    TraceValues v;
    // Output, heater and temperature traces start from the values before
    // this Start (an earlier run's last values).
    v[TraceId::FlowQ] = r.outputPercent;
    v[TraceId::TempQ] = r.heaterPercent;
    v[TraceId::TempSP] = b.batchTempSP;
    v[TraceId::TempMV] = r.measuredTemperature;
    v[TraceId::VolSP] = b.batchVolumeSP;
    v[TraceId::VolMV] = 0;
    return v;
}

void WriteFirstRecord(const VelmorState& s, SampleRecord& rec)
{
    // Outputs and temperature as they are now (after an earlier run, that
    // run's last values); the times as set, whatever the switches.
    const BatchUnit& b = s.batch;
    const RunState& r = s.run;
    SetFields(rec, {{kFieldOutput, r.outputPercent},
                    {kFieldTempSP, b.batchTempSP},
                    {kFieldTempMV, r.measuredTemperature},
                    {kFieldTempPG, b.batchTempGain},
                    {kFieldTempI, b.batchTempIntegralTime},
                    {kFieldTempD, b.batchTempDerivativeTime},
                    {kFieldHeater, r.heaterPercent},
                    {kFieldVolSP, b.batchVolumeSP},
                    {kFieldVolMV, 0},
                    {kFieldVolPG, b.volGain},
                    {kFieldVolI, b.volIntegralTime},
                    {kFieldVolD, b.volDerivativeTime}});
    rec.segment = b.batchSegment;
}

void StartPlant(VelmorState& s)
{
    BatchUnit& b = s.batch;
    RunState& r = s.run;
    b.u0 = b.u1 = b.u2 = b.u3 = 0;
    b.y = b.y1 = b.y2 = 0;
    // The tank starts at the set point with both outputs off.
    b.model.reset(b.batchTempSP);
    r.measuredTemperature = b.batchTempSP;
    r.outputPercent = 0;
    r.heaterPercent = 0;
}

RunCounters Counters(VelmorState& s)
{
    return {s.batch.batchTick, s.batch.batchSimTime, s.batch.batchSegment};
}

// Flow model (no gate valve), output kept in 64 bits.
void StepFlow(BatchUnit& b, RunState& r)
{
    b.u3 = b.u2;
    b.u2 = b.u1;
    b.u1 = b.u0;
    b.u0 = static_cast<double>(static_cast<Real>(r.outputPercent) / 20);
    b.y2 = b.y1;
    b.y1 = b.y;
    b.y = static_cast<double>(0.1239L * b.u2 - 0.0014L * b.u3 + 1.301L * b.y1 - 0.442L * b.y2);
    r.flowRate = static_cast<float>(2 * static_cast<Real>(b.y) / 5);
    b.flowCounts = static_cast<std::int32_t>(Trunc(255 * static_cast<Real>(r.flowRate) / 2 + 0.5L));
}

// Volume loop: the flow that would deliver the rest in the time left.
std::int32_t PumpForVolume(BatchUnit& b, const RunState& r)
{
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
    return ClampCounts(pump);
}

// Temperature loop on the temperature itself, with feed-forward for the
// sump water flowing in.
std::int32_t HeaterForTemperature(BatchUnit& b, const RunState& r)
{
    b.batchTempError =
        static_cast<float>((static_cast<Real>(r.tempSetPoint) - r.measuredTemperature) * 2.55L);
    b.batchTempIntegral = static_cast<float>(
        (static_cast<Real>(r.samplePeriod) * b.batchTempError + b.batchTempIntegral) *
        b.batchTempIntegralOn);
    b.batchTempErrorRate =
        static_cast<float>((static_cast<Real>(b.batchTempError) - b.batchTempPrevError) /
                           r.samplePeriod * b.batchTempDerivativeOn);
    const float d = static_cast<float>(static_cast<Real>(r.tempSetPoint) - b.sumpTemperature);
    const float f = static_cast<float>(static_cast<Real>(b.requiredFlow) * 4);
    std::int64_t heater = Trunc(
        (static_cast<Real>(b.batchTempIntegral) / b.batchTempIntegralTime * 60 + b.batchTempError +
         static_cast<Real>(b.batchTempDerivativeTime) * 60 * b.batchTempErrorRate) *
            b.batchTempGain +
        0.5L);
    heater = Trunc(static_cast<Real>(f) * d + static_cast<Real>(heater) + 0.5L);
    b.batchTempPrevError = b.batchTempError;
    return ClampCounts(heater);
}

void WriteRecord(ExerciseEngine& run, const BatchUnit& b, const RunState& r)
{
    SampleRecord& rec = run.nextRecord();
    rec.time = run.stamp(b.batchTick);
    SetFields(rec, {{kFieldOutput, r.outputPercent},
                    {kFieldTempSP, r.tempSetPoint},
                    {kFieldTempMV, r.measuredTemperature},
                    {kFieldTempPG, b.batchTempGain},
                    {kFieldTempI, Switched(b.batchTempIntegralOn, b.batchTempIntegralTime)},
                    {kFieldTempD, Switched(b.batchTempDerivativeOn, b.batchTempDerivativeTime)},
                    {kFieldHeater, r.heaterPercent},
                    {kFieldVolSP, r.volumeSetPoint},
                    {kFieldVolMV, r.measuredVolume},
                    {kFieldVolPG, b.volGain},
                    {kFieldVolI, Switched(b.volIntegralOn, b.volIntegralTime)},
                    {kFieldVolD, Switched(b.volDerivativeOn, b.volDerivativeTime)}});
    rec.segment = b.batchSegment;
}

void Cycle(ExerciseEngine& run)
{
    VelmorState& s = run.state();
    BatchUnit& b = s.batch;
    RunState& r = s.run;

    StepFlow(b, r);

    if (b.model.due()) {
        r.measuredTemperature =
            StepBatchTemperature(b.model, r.heaterPercent, r.measuredTemperature);
    }

    r.measuredVolume = static_cast<float>(static_cast<Real>(r.measuredVolume) +
                                          r.flowRate / (60 / static_cast<Real>(r.samplePeriod)));

    run.advanceTime();
    r.tempSetPoint = b.batchTempSP;
    r.volumeSetPoint = b.batchVolumeSP;

    const std::int32_t pumpCounts = PumpForVolume(b, r);
    const std::int32_t heaterCounts = HeaterForTemperature(b, r);

    r.outputPercent = CountsToPercent(pumpCounts);
    r.heaterPercent = CountsToPercent(heaterCounts);

    WriteRecord(run, b, r);

    run.afterRecord(b.batchSimTime);
}

// The batch ends by itself when the next cycle would reach the expected time.
bool BatchComplete(const VelmorState& s)
{
    return !(static_cast<Real>(s.batch.batchSimTime) + s.run.samplePeriod < s.batch.expectedTime);
}

void KeepLastValues(VelmorState& s)
{
    s.batch.batchLastTempSP = s.run.tempSetPoint;
}

} // namespace

constexpr EngineSteps kBatchSteps{
    &Counters,       &ResetForRun,   &WriteFirstRecord, &StartPlant,  &Cycle,
    &KeepLastValues, &BatchComplete, kTraces,           &FirstValues, true};

} // namespace velmor
