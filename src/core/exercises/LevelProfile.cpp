// The fluid level exercise's profile: its value boxes, settings lines,
// setting names, record columns, controller panels, defaults and Trends
// configuration, and the row that holds them.
#include "core/Arith.h"
#include "core/exercises/ProfileRows.h"

namespace velmor {

namespace {

using namespace profile_rows;

constexpr LoopTraces kLevelLoop{
    "level",       "Level",      kFieldLevelSP, kFieldLevelMV, kFieldOutput,
    kFieldLevelPG, kFieldLevelI, kFieldLevelD,  100.0,         "%"};
constexpr std::array<const char*, 4> kLevelLabels{"Level PG:", "Level PB:", "Level I:", "Level D:"};

constexpr auto kLevelBoxes = Join(
    PanelBoxes(&LevelLoop, 0, 100000),
    std::array{Row(kCodeWaveRow1, 0, 100), Row(kCodeWaveRow2, 0, 100), Row(kCodeWaveRow3, 1, 999),
               // The Initial Value box: a whole percent, rounded half up.
               WholeValue(
                   kCodeSetPoint, 0, 100,
                   [](VelmorState& s) { return static_cast<float>(s.level.initialLevel); },
                   [](VelmorState& s, float v) {
                       s.level.initialLevel =
                           static_cast<std::int32_t>(Trunc(static_cast<Real>(v) + 0.5L));
                   })});

constexpr std::array<SettingLine, 12> kLevelLines{
    R("levelGain", &S::levelGain, kGain),
    R("levelIntegralTime", &S::levelIntegralTime, kIntegral),
    R("levelDerivativeTime", &S::levelDerivativeTime),
    F("chkI", &S::levelIOn),
    F("chkD", &S::levelDOn),
    R("waveA", &S::levelA),
    R("waveB", &S::levelB),
    R("waveC", &S::levelC, kPeriod),
    I("levelWaveform", &S::waveformType),
    R("levelSetPoint", &S::levelSetPoint),
    R("levelPercent", &S::levelPercent),
    I("initialLevel", &S::initialLevel),
};

constexpr std::array<NamedSetting, 13> kLevelNames{{
    Typed("levelGain", kLevelBoxes, kCodePG),
    Typed("levelBand", kLevelBoxes, kCodePB),
    Typed("levelIntegralTime", kLevelBoxes, kCodeI),
    Typed("levelDerivativeTime", kLevelBoxes, kCodeD),
    Named("chkI", SettingKind::IBox, &LevelLoop),
    Named("chkD", SettingKind::DBox, &LevelLoop),
    Named("levelWaveform", SettingKind::Waveform),
    Typed("waveA", kLevelBoxes, kCodeWaveRow1),
    Typed("waveB", kLevelBoxes, kCodeWaveRow2),
    Typed("waveC", kLevelBoxes, kCodeWaveRow3),
    Typed("initialLevel", kLevelBoxes, kCodeSetPoint),
    Named("chkAutodrain", SettingKind::Autodrain),
    Named("trendSpan", SettingKind::TrendSpan),
}};

constexpr auto kLevelColumns = ColumnsOfFields(std::array{0, 19, 20, 21, 22, 23, 7, 24});
constexpr std::array kLevelLogFields{0, 1, 7, 19, 20, 21, 22, 23, 24};

constexpr std::array kLevelLoops{kLevelLoop};

constexpr std::array<PanelTransfer, 1> kLevelPanels{{
    {&LevelLoop, &S::levelGain, &S::levelIntegralTime, &S::levelDerivativeTime, &S::levelIOn,
     &S::levelDOn},
}};

void LevelInitValues(VelmorState& s)
{
    LevelUnit& l = s.level;
    RunState& r = s.run;
    l.levelGain = 10;
    l.levelBand = 10;
    l.levelIntegralTime = 20;
    l.levelDerivativeTime = 0;
    l.levelIntegralOn = 1;
    l.levelDerivativeOn = 1;
    r.levelPercent = 0;
    l.initialLevel = 0;
    l.drainOpen = false;
    l.drainCountdown = 0;
    l.levelWaveform = kFlat;
    l.levelWaveformAtStart = 0;
    l.waveParams = WaveParams::WithDefaults(80.0f, 20.0f, 25.0f);
    r.samplePeriod = 0.1f;
    r.outputPercent = 0;
    s.log.secondIndexFilled = 0;
}

void LevelWindowCreated(VelmorState& s)
{
    s.level.chkI = s.level.chkD = true;
    s.level.chkAutodrain = false;
}

void LevelSendRest(VelmorState& s)
{
    const LevelUnit& l = s.level;
    SimSettings& ss = s.simSettings;
    ss.levelA = l.waveParams.A(l.levelWaveformAtStart);
    ss.levelB = l.waveParams.B(l.levelWaveformAtStart);
    ss.levelC = l.waveParams.C(l.levelWaveformAtStart);
    ss.waveformType = l.levelWaveformAtStart;
    ss.levelSetPoint = l.levelLastSP;
    ss.levelPercent = l.levelLastPV;
    ss.initialLevel = l.initialLevel;
}

void LevelUpdateRest(VelmorState& s)
{
    LevelUnit& l = s.level;
    const SimSettings& ss = s.simSettings;
    s.run.levelSetPoint = ss.levelSetPoint;
    l.levelLastSP = ss.levelSetPoint;
    s.run.levelPercent = ss.levelPercent;
    l.levelLastPV = ss.levelPercent;
    l.initialLevel = ss.initialLevel;
    l.levelWaveform = ss.waveformType;
    l.levelWaveformAtStart = l.levelWaveform;
    SetWaveABC(l.waveParams, l.levelWaveform, ss.levelA, ss.levelB, ss.levelC);
}

constexpr std::array kLevelChecked{T::LevelSP, T::LevelMV, T::FlowQ};
constexpr std::array kLevelColumnsBox{SettingsColumn{kLevelLabels, ColumnPlace::Right, 21, 22, 23}};

} // namespace

constexpr ExerciseProfile kLevelProfile{
    Exercise::Level,
    "frmLevel",
    "level",
    "Level Simulation",
    120,
    kLevelBoxes,
    [](const VelmorState& s) { return s.level.levelWaveform; },
    [](VelmorState& s, std::int32_t type) { s.level.levelWaveform = type; },
    [](VelmorState& s) -> WaveParams& { return s.level.waveParams; },
    nullptr,
    false,
    kLevelLines,
    kLevelNames,
    kLevelColumns,
    kLevelLogFields,
    kLevelPanels,
    kLevelLoops,
    &LevelInitValues,
    &LevelWindowCreated,
    &LevelSendRest,
    &LevelUpdateRest,
    &kLevelSteps,
    {"Fluid Level Trend", "Level", "%", ScalePicture::None, kLevelChecked, kTempAndVolume, true,
     false, kLevelColumnsBox}};

} // namespace velmor
