#include "core/exercises/LevelEngine.h"

#include "core/Arith.h"
#include "core/trends/Scales.h"

namespace velmor {

namespace {

constexpr Real kFullTank = 3.23L; // litres at 100 %
constexpr Real kDrainRate = 5.5L; // L/min with the drain open

} // namespace

LevelEngine::LevelEngine(VelmorState& state, TrendSink* sink)
    : LoopEngine(state, sink,
                 {state.level.levelTick, state.level.levelSimTime, state.level.levelSegment})
{
}

void LevelEngine::startValues()
{
    LevelUnit& l = m_state.level;
    TrendViewState& tv = m_state.trend;
    l.levelWaveformAtStart = l.levelWaveform;
    // The pump drive stays as the previous run left it.
    tv.trendPrevOutput = PlotFixed(0);
    tv.trendPrevLevelSP = PlotFixed(static_cast<float>(l.initialLevel));
    m_state.run.levelPercent = static_cast<float>(l.initialLevel);
    tv.trendPrevLevel = PlotFixed(m_state.run.levelPercent);
}

void LevelEngine::resetForRun()
{
    LevelUnit& l = m_state.level;
    l.levelIntegral = 0;
    l.levelErrorRate = 0;
    l.levelPrevError = 0;
    l.drainCountdown = 0;
    l.drainOpen = false;
}

void LevelEngine::writeFirstRecord(SampleRecord& rec)
{
    const LevelUnit& l = m_state.level;
    rec.field(kFieldLevelSP) = static_cast<float>(l.initialLevel);
    rec.field(kFieldLevelMV) = m_state.run.levelPercent;
    rec.field(kFieldLevelPG) = l.levelGain;
    rec.field(kFieldLevelI) = l.levelIntegralTime; // as set, whatever the switches
    rec.field(kFieldLevelD) = l.levelDerivativeTime;
    rec.field(kFieldOutput) = m_state.run.outputPercent;
    rec.segment = l.levelSegment;
}

void LevelEngine::startPlant()
{
    LevelUnit& l = m_state.level;
    l.plant.reset();
    l.tankVolume = static_cast<float>(static_cast<Real>(l.initialLevel) * kFullTank / 100);
}

void LevelEngine::cycle()
{
    VelmorState& s = m_state;
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

    const double t = advanceTime();

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

    SampleRecord& rec = nextRecord();
    rec.time = t;
    rec.field(kFieldLevelSP) = r.levelSetPoint;
    rec.field(kFieldLevelMV) = r.levelPercent;
    rec.field(kFieldLevelPG) = l.levelGain;
    rec.field(kFieldLevelI) =
        static_cast<float>(static_cast<Real>(l.levelIntegralOn) * l.levelIntegralTime);
    rec.field(kFieldLevelD) =
        static_cast<float>(static_cast<Real>(l.levelDerivativeOn) * l.levelDerivativeTime);
    rec.field(kFieldOutput) = r.outputPercent;
    rec.segment = l.levelSegment;

    afterRecord(t, {&TrendSink::TrendLevelSP, &TrendSink::TrendLevelMV, &TrendSink::TrendQ});
}

void LevelEngine::keepLastValues()
{
    m_state.level.levelLastSP = m_state.run.levelSetPoint;
    m_state.level.levelLastPV = m_state.run.levelPercent;
}

} // namespace velmor
