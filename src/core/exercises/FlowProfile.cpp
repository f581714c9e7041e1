// The flow exercise's profile: its value boxes, settings lines,
// setting names, record columns, controller panels, defaults and Trends
// configuration, and the row that holds them.
#include "core/exercises/ProfileRows.h"

namespace velmor {

namespace {

using namespace profile_rows;

constexpr LoopTraces kFlowLoop{"flow",       "Flow",      kFieldFlowSP, kFieldFlowMV, kFieldOutput,
                               kFieldFlowPG, kFieldFlowI, kFieldFlowD,  2.0,          "L/min"};
constexpr std::array<const char*, 4> kFlowLabels{"Flow PG:", "Flow PB:", "Flow I:", "Flow D:"};

constexpr auto kFlowBoxes = Join(
    PanelBoxes(&FlowLoop, 0, 999),
    std::array{Row(kCodeWaveRow1, 0, 2), Row(kCodeWaveRow2, 0, 2), Row(kCodeWaveRow3, 1, 999)});

constexpr std::array<SettingLine, 13> kFlowLines{
    R("flowGain", &S::flowGain, kGain),
    R("flowIntegralTime", &S::flowIntegralTime, kIntegral),
    R("flowDerivativeTime", &S::flowDerivativeTime),
    F("chkI", &S::flowIOn),
    F("chkD", &S::flowDOn),
    R("waveA", &S::flowA),
    R("waveB", &S::flowB),
    R("waveC", &S::flowC, kPeriod),
    R("flowSetPoint", &S::flowSetPoint),
    R("flowRate", &S::flowRate),
    I("flowWaveform", &S::waveformType),
    Gate(),
    F("flowManual", &S::flowManual),
};

constexpr std::array<NamedSetting, 14> kFlowNames{{
    Typed("flowGain", kFlowBoxes, kCodePG),
    Typed("flowBand", kFlowBoxes, kCodePB),
    Typed("flowIntegralTime", kFlowBoxes, kCodeI),
    Typed("flowDerivativeTime", kFlowBoxes, kCodeD),
    Named("chkI", SettingKind::IBox, &FlowLoop),
    Named("chkD", SettingKind::DBox, &FlowLoop),
    Named("flowWaveform", SettingKind::Waveform),
    Typed("waveA", kFlowBoxes, kCodeWaveRow1),
    Typed("waveB", kFlowBoxes, kCodeWaveRow2),
    Typed("waveC", kFlowBoxes, kCodeWaveRow3),
    Named("flowManual", SettingKind::ControlMode),
    Named("pumpOn", SettingKind::Pump),
    Named("gateValvePercent", SettingKind::Gate),
    Named("trendSpan", SettingKind::TrendSpan),
}};

constexpr auto kFlowColumns = ColumnsOfFields(std::array{0, 2, 3, 4, 5, 6, 7, 24});
constexpr std::array kFlowLogFields{0, 1, 2, 3, 4, 5, 6, 7};

constexpr std::array kFlowLoops{kFlowLoop};

constexpr std::array<PanelTransfer, 1> kFlowPanels{{
    {&FlowLoop, &S::flowGain, &S::flowIntegralTime, &S::flowDerivativeTime, &S::flowIOn,
     &S::flowDOn},
}};

void FlowInitValues(VelmorState& s)
{
    FlowUnit& f = s.flow;
    RunState& r = s.run;
    f.flowGain = 1;
    f.flowBand = 100;
    f.flowIntegralTime = 0.8f;
    f.flowDerivativeTime = 0;
    f.flowIntegralOn = 1;
    f.flowDerivativeOn = 1;
    r.flowSetPoint = 1.5f;
    r.flowRate = 0;
    r.samplePeriod = 0.1f;
    f.flowWaveform = kFlat;
    f.waveParams = WaveParams::WithDefaults(1.5f, 0.5f, 25.0f);
    f.flowWaveformAtStart = 0;
}

void FlowWindowCreated(VelmorState& s)
{
    s.flow.chkI = s.flow.chkD = true;
    s.run.outputPercent = 0;
    s.flow.flowManual = false;
    s.flow.lightState = 0;
}

void FlowSendRest(VelmorState& s)
{
    const FlowUnit& f = s.flow;
    SimSettings& ss = s.simSettings;
    ss.flowSetPoint = f.flowLastSP;
    ss.flowRate = f.flowLastPV;
    ss.flowManual = f.flowManual;
    ss.waveformType = f.flowWaveformAtStart;
    ss.flowA = f.waveParams.A(f.flowWaveform);
    ss.flowB = f.waveParams.B(f.flowWaveform);
    ss.flowC = f.waveParams.C(f.flowWaveform);
}

void FlowUpdateRest(VelmorState& s)
{
    FlowUnit& f = s.flow;
    const SimSettings& ss = s.simSettings;
    s.run.flowSetPoint = ss.flowSetPoint;
    f.flowLastSP = ss.flowSetPoint;
    s.run.flowRate = ss.flowRate;
    f.flowLastPV = ss.flowRate;
    f.flowManual = ss.flowManual;
    f.flowWaveform = ss.waveformType;
    f.flowWaveformAtStart = f.flowWaveform;
    SetWaveABC(f.waveParams, f.flowWaveform, ss.flowA, ss.flowB, ss.flowC);
}

constexpr std::array kFlowChecked{T::FlowSP, T::FlowMV, T::FlowQ};
constexpr std::array kFlowColumnsBox{SettingsColumn{kFlowLabels, ColumnPlace::RightInset, 4, 5, 6}};

} // namespace

constexpr ExerciseProfile kFlowProfile{
    Exercise::Flow,
    "frmFlow",
    "flow",
    "Flow Simulation",
    60,
    kFlowBoxes,
    [](const VelmorState& s) { return s.flow.flowWaveform; },
    [](VelmorState& s, std::int32_t type) { s.flow.flowWaveform = type; },
    [](VelmorState& s) -> WaveParams& { return s.flow.waveParams; },
    nullptr,
    true,
    kFlowLines,
    kFlowNames,
    kFlowColumns,
    kFlowLogFields,
    kFlowPanels,
    kFlowLoops,
    &FlowInitValues,
    &FlowWindowCreated,
    &FlowSendRest,
    &FlowUpdateRest,
    &kFlowSteps,
    {"Flow Trend", "L/min", "%", ScalePicture::FlowRate, kFlowChecked, kTempAndVolume, false, true,
     kFlowColumnsBox}};

} // namespace velmor
