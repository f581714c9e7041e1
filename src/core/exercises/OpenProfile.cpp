// The open loop exercise's profile: its value boxes, settings lines,
// setting names, record columns, controller panels, defaults and Trends
// configuration, and the row that holds them.
#include "core/exercises/ProfileRows.h"

namespace velmor {

namespace {

using namespace profile_rows;

constexpr std::array kOpenBoxes{Row(kCodeWaveRow1, 0, 100), Row(kCodeWaveRow2, 0, 100),
                                Row(kCodeWaveRow3, 0.5f, 999)};

constexpr std::array<SettingLine, 7> kOpenLines{
    R("waveA", &S::openA),
    R("waveB", &S::openB),
    R("waveC", &S::openC, kPeriod),
    R("outputPercent", &S::openOutput),
    R("flowRate", &S::openFlow),
    I("openWaveform", &S::waveformType),
    Gate(),
};

constexpr std::array<NamedSetting, 6> kOpenNames{{
    Named("openWaveform", SettingKind::Waveform),
    Typed("waveA", kOpenBoxes, kCodeWaveRow1),
    Typed("waveB", kOpenBoxes, kCodeWaveRow2),
    Typed("waveC", kOpenBoxes, kCodeWaveRow3),
    Named("gateValvePercent", SettingKind::Gate),
    Named("trendSpan", SettingKind::TrendSpan),
}};

constexpr auto kOpenColumns = ColumnsOfFields(std::array{0, 3, 7});
constexpr std::array kOpenLogFields{0, 1, 3, 7};

void OpenInitValues(VelmorState& s)
{
    OpenUnit& o = s.open;
    RunState& r = s.run;
    r.samplePeriod = 0.1f;
    r.outputPercent = 80;
    r.flowRate = 0;
    o.openWaveform = kFlat;
    o.waveParams = WaveParams::WithDefaults(80.0f, 10.0f, 25.0f);
    o.openWaveformAtStart = o.openWaveform;
}

void OpenWindowCreated(VelmorState& s)
{
    s.open.openActivating = false;
}

void OpenSendRest(VelmorState& s)
{
    const OpenUnit& o = s.open;
    SimSettings& ss = s.simSettings;
    ss.openOutput = o.openLastOutput;
    ss.openFlow = o.openLastFlow;
    ss.openA = o.waveParams.A(o.openWaveform);
    ss.openB = o.waveParams.B(o.openWaveform);
    ss.openC = o.waveParams.C(o.openWaveform);
    ss.waveformType = o.openWaveform;
}

void OpenUpdateRest(VelmorState& s)
{
    OpenUnit& o = s.open;
    const SimSettings& ss = s.simSettings;
    s.run.outputPercent = ss.openOutput;
    o.openLastOutput = ss.openOutput;
    s.run.flowRate = ss.openFlow;
    o.openLastFlow = ss.openFlow;
    o.openWaveform = ss.waveformType;
    o.openWaveformAtStart = o.openWaveform;
    SetWaveABC(o.waveParams, o.openWaveform, ss.openA, ss.openB, ss.openC);
}

constexpr std::array kOpenChecked{T::FlowMV, T::FlowQ};
constexpr std::array kOpenDisabled{T::FlowSP, T::TempSP, T::TempMV, T::TempQ, T::VolSP, T::VolMV};

} // namespace

constexpr ExerciseProfile kOpenProfile{
    Exercise::Open,
    "frmOpen",
    "open",
    "Open Simulation",
    60,
    kOpenBoxes,
    [](const VelmorState& s) { return s.open.openWaveform; },
    [](VelmorState& s, std::int32_t type) { s.open.openWaveform = type; },
    [](VelmorState& s) -> WaveParams& { return s.open.waveParams; },
    // Activating the window must not change the waveform.
    [](const VelmorState& s) { return s.open.openActivating; },
    false,
    kOpenLines,
    kOpenNames,
    kOpenColumns,
    kOpenLogFields,
    {},
    {},
    &OpenInitValues,
    &OpenWindowCreated,
    &OpenSendRest,
    &OpenUpdateRest,
    &kOpenSteps,
    {"Open Loop Trend",
     "L/min",
     "%",
     ScalePicture::FlowRate,
     kOpenChecked,
     kOpenDisabled,
     false,
     true,
     {}}};

} // namespace velmor
