#include "core/exercises/LoopEngine.h"

#include "core/Arith.h"

namespace velmor {

namespace {

constexpr Real kFullTank = 3.23L; // litres at 100 %
constexpr Real kDrainRate = 5.5L; // L/min with the drain open

} // namespace

namespace {

void ResetForRun(VelmorState& s)
{
    LevelUnit& l = s.level;
    l.levelWaveformAtStart = l.levelWaveform;
    // The pump drive stays as the previous run left it.
    s.run.levelPercent = static_cast<float>(l.initialLevel);
    l.levelIntegral = 0;
    l.levelErrorRate = 0;
    l.levelPrevError = 0;
    l.drainCountdown = 0;
    l.drainOpen = false;
}

constexpr std::array kTraces{TraceId::LevelSP, TraceId::LevelMV, TraceId::FlowQ};

TraceValues FirstValues(const VelmorState& s)
{
    TraceValues v;
    // The output trace starts from 0 whatever the pump drive.
    v[TraceId::FlowQ] = 0;
    v[TraceId::LevelSP] = static_cast<float>(s.level.initialLevel);
    v[TraceId::LevelMV] = s.run.levelPercent;
    return v;
}

void WriteFirstRecord(const VelmorState& s, SampleRecord& rec)
{
    const LevelUnit& l = s.level;
    // I and D as set, whatever the switches.
    SetFields(rec, {{kFieldLevelSP, static_cast<float>(l.initialLevel)},
                    {kFieldLevelMV, s.run.levelPercent},
                    {kFieldLevelPG, l.levelGain},
                    {kFieldLevelI, l.levelIntegralTime},
                    {kFieldLevelD, l.levelDerivativeTime},
                    {kFieldOutput, s.run.outputPercent}});
    rec.segment = l.levelSegment;
}

void StartPlant(VelmorState& s)
{
    LevelUnit& l = s.level;
    l.plant.reset();
    l.tankVolume = static_cast<float>(static_cast<Real>(l.initialLevel) * kFullTank / 100);
}

RunCounters Counters(VelmorState& s)
{
    return {s.level.levelTick, s.level.levelSimTime, s.level.levelSegment};
}

void Cycle(ExerciseEngine& run)
{
    VelmorState& s = run.state();
    LevelUnit& l = s.level;
    RunState& r = s.run;

    // Flow line, then the tank.
    const float y = l.plant.step(r.outputPercent);
    r.flowRate = PlantFlow(y);
    l.tankVolume = static_cast<float>(static_cast<Real>(l.tankVolume) +
                                      static_cast<Real>(r.flowRate) * r.samplePeriod / 60);
    if (l.drainOpen) {
        l.tankVolume =
            static_cast<float>(static_cast<Real>(l.tankVolume) - kDrainRate * r.samplePeriod / 60);
    }
    if (l.tankVolume > kFullTank) {
        l.tankVolume = static_cast<float>(kFullTank); // overflow
    }
    r.levelPercent = static_cast<float>(100 * static_cast<Real>(l.tankVolume) / kFullTank);
    l.levelCounts =
        static_cast<std::int32_t>(Trunc(static_cast<Real>(r.levelPercent) * 255 / 100 + 0.5L));

    const double t = run.advanceTime();

    r.levelSetPoint =
        WaveStep(l.levelWaveform, l.waveParams, t, s.trend.trendSpan, r.levelSetPoint);

    // Controller: integral term x 60, derivative term / 60.
    l.levelError = static_cast<float>(static_cast<Real>(r.levelSetPoint) * 2.55L - l.levelCounts);
    l.levelIntegral = static_cast<float>(
        (static_cast<Real>(r.samplePeriod) * l.levelError + l.levelIntegral) * l.levelIntegralOn);
    l.levelErrorRate = static_cast<float>((static_cast<Real>(l.levelError) - l.levelPrevError) *
                                          l.levelDerivativeOn / r.samplePeriod);
    const std::int64_t counts =
        Trunc((static_cast<Real>(l.levelIntegral) / l.levelIntegralTime * 60 + l.levelError +
               static_cast<Real>(l.levelErrorRate) * l.levelDerivativeTime / 60) *
                  l.levelGain +
              0.5L);
    l.levelPrevError = l.levelError;
    r.outputPercent = CountsToPercent(ClampCounts(counts));

    // Automatic drain: bursts of at most four samples while the level is
    // more than 1 % above the set point.
    if (l.chkAutodrain) {
        if (static_cast<Real>(r.levelSetPoint) + 1 < r.levelPercent && !l.drainOpen) {
            l.drainOpen = true;
            l.drainCountdown = 4;
        } else if (l.drainOpen) {
            l.drainCountdown -= 1;
        }
        if (static_cast<Real>(r.levelSetPoint) + 0.5L >= r.levelPercent || l.drainCountdown == 0) {
            l.drainOpen = false;
        }
    }

    SampleRecord& rec = run.nextRecord();
    rec.time = t;
    SetFields(rec, {{kFieldLevelSP, r.levelSetPoint},
                    {kFieldLevelMV, r.levelPercent},
                    {kFieldLevelPG, l.levelGain},
                    {kFieldLevelI, Switched(l.levelIntegralOn, l.levelIntegralTime)},
                    {kFieldLevelD, Switched(l.levelDerivativeOn, l.levelDerivativeTime)},
                    {kFieldOutput, r.outputPercent}});
    rec.segment = l.levelSegment;

    run.afterRecord(t);
}

void KeepLastValues(VelmorState& s)
{
    s.level.levelLastSP = s.run.levelSetPoint;
    s.level.levelLastPV = s.run.levelPercent;
}

} // namespace

constexpr EngineSteps kLevelSteps{
    &Counters,       &ResetForRun, &WriteFirstRecord, &StartPlant,  &Cycle,
    &KeepLastValues, nullptr,      kTraces,           &FirstValues, true};

} // namespace velmor
