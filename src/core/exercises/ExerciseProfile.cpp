#include "core/exercises/ExerciseProfile.h"

#include "core/Arith.h"
#include "core/exercises/LoopEngine.h"

namespace velmor {

namespace {

using S = SimSettings;

// ---- Value box makers ------------------------------------------------------

constexpr KeypadBox Pid(int code, float min, float max, LoopOf loop, int panelCode)
{
    return {code, BoxKind::Pid, min, max, loop, panelCode};
}

// The four boxes of a controller panel; only I's upper limit differs.
constexpr std::array<KeypadBox, 4> PanelBoxes(LoopOf loop, int codeBase, float maxI)
{
    return {{Pid(codeBase + kCodePG, 0.01f, 100, loop, kCodePG),
             Pid(codeBase + kCodePB, 1, 10000, loop, kCodePB),
             Pid(codeBase + kCodeI, 0.01f, maxI, loop, kCodeI),
             Pid(codeBase + kCodeD, 0, 999, loop, kCodeD)}};
}

constexpr KeypadBox Row(int code, float min, float max)
{
    return {code, BoxKind::WaveRow, min, max};
}

constexpr KeypadBox Value(int code, float min, float max, float (*get)(VelmorState&),
                          void (*set)(VelmorState&, float), bool idleOnly = false)
{
    return {code, BoxKind::Value, min, max, nullptr, 0, get, set, idleOnly};
}

// A box that keeps whole numbers (an entry with decimals is rounded).
constexpr KeypadBox WholeValue(int code, float min, float max, float (*get)(VelmorState&),
                               void (*set)(VelmorState&, float))
{
    KeypadBox box = Value(code, min, max, get, set);
    box.number = KeypadNumber::Whole;
    return box;
}

template <std::size_t A, std::size_t B>
constexpr std::array<KeypadBox, A + B> Join(const std::array<KeypadBox, A>& a,
                                            const std::array<KeypadBox, B>& b)
{
    std::array<KeypadBox, A + B> all{};
    for (std::size_t i = 0; i < A; ++i) {
        all[i] = a[i];
    }
    for (std::size_t i = 0; i < B; ++i) {
        all[A + i] = b[i];
    }
    return all;
}

// ---- velmor-sim name makers -------------------------------------------------

template <std::size_t N>
constexpr const KeypadBox* BoxOf(const std::array<KeypadBox, N>& boxes, int code)
{
    for (const KeypadBox& b : boxes) {
        if (b.code == code) {
            return &b;
        }
    }
    return nullptr;
}

// A name that types into the value box `code` (a waveform row or any other
// box); a code the exercise has no box for does not compile.
template <std::size_t N>
constexpr NamedSetting Typed(std::string_view name, const std::array<KeypadBox, N>& boxes, int code)
{
    const KeypadBox* box = BoxOf(boxes, code);
    return {name, box->kind == BoxKind::WaveRow ? SettingKind::WaveRow : SettingKind::Keypad, box};
}

constexpr NamedSetting Named(std::string_view name, SettingKind kind, LoopOf loop = nullptr)
{
    return {name, kind, nullptr, loop};
}

// ---- Settings line makers --------------------------------------------------

constexpr SettingLine R(std::string_view name, float S::*m, ZeroGuard guard = ZeroGuard::None)
{
    return {name, LineType::Decimal, m, nullptr, nullptr, guard};
}
constexpr SettingLine F(std::string_view name, bool S::*m)
{
    return {name, LineType::Flag, nullptr, m, nullptr};
}
constexpr SettingLine I(std::string_view name, std::int32_t S::*m)
{
    return {name, LineType::Integer, nullptr, nullptr, m};
}
constexpr SettingLine Gate()
{
    return {"gateValvePercent", LineType::Integer, nullptr, nullptr, nullptr};
}

constexpr ZeroGuard kGain = ZeroGuard::Gain;
constexpr ZeroGuard kIntegral = ZeroGuard::IntegralTime;
constexpr ZeroGuard kPeriod = ZeroGuard::Period;

// ---- Controlled loops --------------------------------------------------------

constexpr LoopTraces kFlowLoop{"flow",       "Flow",      kFieldFlowSP, kFieldFlowMV, kFieldOutput,
                               kFieldFlowPG, kFieldFlowI, kFieldFlowD,  2.0};
constexpr LoopTraces kTemperatureLoop{"temperature", "Temperature", kFieldTempSP,
                                      kFieldTempMV,  kFieldHeater,  kFieldTempPG,
                                      kFieldTempI,   kFieldTempD,   100.0};
constexpr LoopTraces kVolumeLoop{"volume",    "Volume",   kFieldVolSP, kFieldVolMV, kFieldOutput,
                                 kFieldVolPG, kFieldVolI, kFieldVolD,  6.0};
constexpr LoopTraces kLevelLoop{"level",       "Level",      kFieldLevelSP,
                                kFieldLevelMV, kFieldOutput, kFieldLevelPG,
                                kFieldLevelI,  kFieldLevelD, 100.0};

void SetWaveABC(WaveParams& p, std::int32_t type, float a, float b, float c)
{
    p.setA(type, a);
    p.setB(type, b);
    p.setC(type, c);
}

// ---- Trends window ---------------------------------------------------------

constexpr std::array<const char*, 4> kFlowLabels{"Flow PG:", "Flow PB:", "Flow I:", "Flow D:"};
constexpr std::array<const char*, 4> kTempLabels{"Temp PG:", "Temp PB:", "Temp I:", "Temp D:"};
constexpr std::array<const char*, 4> kLevelLabels{"Level PG:", "Level PB:", "Level I:", "Level D:"};
constexpr std::array<const char*, 4> kVolLabels{"Vol PG:", "Vol PB:", "Vol I:", "Vol D:"};

using T = TraceId;
constexpr std::array kTempAndVolume{T::TempSP, T::TempMV, T::TempQ, T::VolSP, T::VolMV};

// ===========================================================================
// Flow

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

// ===========================================================================
// Fluid level

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

// ===========================================================================
// Open loop

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

// ===========================================================================
// Temperature

constexpr auto kTemperatureBoxes =
    Join(PanelBoxes(&TemperatureLoop, 0, 999),
         std::array{Value(
                        kCodeSetPoint, 20, 90, [](VelmorState& s) { return s.temp.tempEnteredSP; },
                        [](VelmorState& s, float v) {
                            s.temp.tempEnteredSP = v;
                            s.run.tempSetPoint = v;
                        }),
                    // The model starts from it, so it takes no entry during a run.
                    Value(
                        kCodeInitialValue, 10, 90,
                        [](VelmorState& s) { return s.temp.initialTemperature; },
                        [](VelmorState& s, float v) {
                            s.temp.initialTemperature = v;
                            s.run.measuredTemperature = v;
                        },
                        true)});

constexpr std::array<SettingLine, 8> kTemperatureLines{
    R("tempGain", &S::tempGain, kGain),
    R("tempIntegralTime", &S::tempIntegralTime, kIntegral),
    R("tempDerivativeTime", &S::tempDerivativeTime),
    F("chkI", &S::tempIOn),
    F("chkD", &S::tempDOn),
    R("tempEnteredSP", &S::tempSetPoint),
    R("measuredTemperature", &S::measuredTemperature),
    R("initialTemperature", &S::initialTemperature),
};

constexpr std::array<NamedSetting, 8> kTemperatureNames{{
    Typed("tempGain", kTemperatureBoxes, kCodePG),
    Typed("tempBand", kTemperatureBoxes, kCodePB),
    Typed("tempIntegralTime", kTemperatureBoxes, kCodeI),
    Typed("tempDerivativeTime", kTemperatureBoxes, kCodeD),
    Named("chkI", SettingKind::IBox, &TemperatureLoop),
    Named("chkD", SettingKind::DBox, &TemperatureLoop),
    Typed("tempEnteredSP", kTemperatureBoxes, kCodeSetPoint),
    Typed("initialTemperature", kTemperatureBoxes, kCodeInitialValue),
}};

constexpr auto kTemperatureColumns = ColumnsOfFields(std::array{0, 8, 9, 10, 11, 12, 13, 24});
constexpr std::array kTemperatureLogFields{0, 1, 8, 9, 10, 11, 12, 13, 24};

// Shared with Batch's temperature loop.
constexpr std::array kTemperatureLoops{kTemperatureLoop};

constexpr std::array<PanelTransfer, 1> kTemperaturePanels{{
    {&TemperatureLoop, &S::tempGain, &S::tempIntegralTime, &S::tempDerivativeTime, &S::tempIOn,
     &S::tempDOn},
}};

void TemperatureInitValues(VelmorState& s)
{
    TemperatureUnit& t = s.temp;
    RunState& r = s.run;
    t.tempGain = 10;
    t.tempBand = static_cast<float>(100 / static_cast<Real>(t.tempGain));
    t.tempIntegralTime = 45;
    t.tempDerivativeTime = 0;
    t.tempEnteredSP = 30;
    r.tempSetPoint = 30;
    r.samplePeriod = 0.1f;
    t.tempIntegralOn = 1;
    t.tempDerivativeOn = 1;
    r.heaterPercent = 0;
    t.initialTemperature = 20;
    r.measuredTemperature = 20;
}

void TemperatureWindowCreated(VelmorState& s)
{
    s.temp.chkI = s.temp.chkD = true;
    s.temp.lightState = 0;
}

void TemperatureSendRest(VelmorState& s)
{
    const TemperatureUnit& t = s.temp;
    SimSettings& ss = s.simSettings;
    ss.tempSetPoint = t.tempLastSP;
    ss.measuredTemperature = t.tempLastPV;
    ss.initialTemperature = t.initialTemperature;
}

void TemperatureUpdateRest(VelmorState& s)
{
    TemperatureUnit& t = s.temp;
    const SimSettings& ss = s.simSettings;
    t.tempEnteredSP = ss.tempSetPoint;
    s.run.tempSetPoint = t.tempEnteredSP;
    // What the next save writes: the file's run's last values, not those
    // of a run made before it was opened.
    t.tempLastSP = ss.tempSetPoint;
    t.initialTemperature = ss.initialTemperature;
    s.run.measuredTemperature = ss.measuredTemperature;
    t.tempLastPV = ss.measuredTemperature;
}

constexpr std::array kTemperatureChecked{T::TempSP, T::TempMV, T::TempQ};
constexpr std::array kTemperatureDisabled{T::FlowSP, T::FlowMV, T::FlowQ, T::VolSP, T::VolMV};
constexpr std::array kTemperatureColumnsBox{
    SettingsColumn{kTempLabels, ColumnPlace::Right, 10, 11, 12}};

// ===========================================================================
// Batch volume

constexpr auto kBatchBoxes = Join(
    Join(PanelBoxes(&BatchVolumeLoop, 0, 999), PanelBoxes(&BatchTemperatureLoop, 10, 999)),
    std::array{
        Value(
            kCodeSetPoint, 0.5f, 12, [](VelmorState& s) { return s.batch.batchVolumeSP; },
            [](VelmorState& s, float v) { s.batch.batchVolumeSP = v; }),
        Value(
            kCodeBatchTempSP, 20, 90, [](VelmorState& s) { return s.batch.batchTempSP; },
            [](VelmorState& s, float v) { s.batch.batchTempSP = v; }),
        Value(
            kCodeExpectedTime, 60, 600, [](VelmorState& s) { return s.batch.expectedTime; },
            [](VelmorState& s, float v) { s.batch.expectedTime = v; }),
        Value(
            kCodeSumpTemperature, 10, 90, [](VelmorState& s) { return s.batch.sumpTemperature; },
            [](VelmorState& s, float v) { s.batch.sumpTemperature = v; }),
    });

// Lines 9 to 14 use the Temperature file's fields.
constexpr std::array<SettingLine, 14> kBatchLines{
    R("volGain", &S::volGain, kGain),
    R("volIntegralTime", &S::volIntegralTime, kIntegral),
    R("volDerivativeTime", &S::volDerivativeTime),
    F("chkVolI", &S::volIOn),
    F("chkVolD", &S::volDOn),
    R("batchVolumeSP", &S::volumeSetPoint),
    R("expectedTime", &S::expectedTime),
    R("batchTempGain", &S::tempGain, kGain),
    R("batchTempIntegralTime", &S::tempIntegralTime, kIntegral),
    R("batchTempDerivativeTime", &S::tempDerivativeTime),
    F("chkTempI", &S::tempIOn),
    F("chkTempD", &S::tempDOn),
    R("batchTempSP", &S::tempSetPoint),
    R("sumpTemperature", &S::sumpTemperature),
};

constexpr std::array<NamedSetting, 16> kBatchNames{{
    Typed("volGain", kBatchBoxes, kCodePG),
    Typed("volBand", kBatchBoxes, kCodePB),
    Typed("volIntegralTime", kBatchBoxes, kCodeI),
    Typed("volDerivativeTime", kBatchBoxes, kCodeD),
    Named("chkVolI", SettingKind::IBox, &BatchVolumeLoop),
    Named("chkVolD", SettingKind::DBox, &BatchVolumeLoop),
    Typed("batchTempGain", kBatchBoxes, kCodeTempPG),
    Typed("batchTempBand", kBatchBoxes, kCodeTempPB),
    Typed("batchTempIntegralTime", kBatchBoxes, kCodeTempI),
    Typed("batchTempDerivativeTime", kBatchBoxes, kCodeTempD),
    Named("chkTempI", SettingKind::IBox, &BatchTemperatureLoop),
    Named("chkTempD", SettingKind::DBox, &BatchTemperatureLoop),
    Typed("batchVolumeSP", kBatchBoxes, kCodeSetPoint),
    Typed("batchTempSP", kBatchBoxes, kCodeBatchTempSP),
    Typed("expectedTime", kBatchBoxes, kCodeExpectedTime),
    Typed("sumpTemperature", kBatchBoxes, kCodeSumpTemperature),
}};

constexpr auto kBatchColumns =
    ColumnsOfFields(std::array{0, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 24});
constexpr std::array kBatchLogFields{0, 1, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 24};

constexpr std::array kBatchLoops{kVolumeLoop, kTemperatureLoop};

constexpr std::array<PanelTransfer, 2> kBatchPanels{{
    {&BatchVolumeLoop, &S::volGain, &S::volIntegralTime, &S::volDerivativeTime, &S::volIOn,
     &S::volDOn},
    {&BatchTemperatureLoop, &S::tempGain, &S::tempIntegralTime, &S::tempDerivativeTime, &S::tempIOn,
     &S::tempDOn},
}};

void BatchInitValues(VelmorState& s)
{
    BatchUnit& b = s.batch;
    RunState& r = s.run;
    b.volGain = 0.5f;
    b.volBand = 200;
    b.volIntegralTime = 5;
    b.volDerivativeTime = 0;
    b.batchTempGain = 1;
    b.batchTempBand = 100;
    b.batchTempIntegralTime = 400;
    b.batchTempDerivativeTime = 0;
    b.volIntegralOn = 1;
    b.volDerivativeOn = 1;
    b.batchTempIntegralOn = 1;
    b.batchTempDerivativeOn = 1;
    b.batchVolumeSP = 1.5f;
    b.batchTempSP = 30;
    b.expectedTime = 180;
    b.sumpTemperature = 20;
    r.samplePeriod = 0.1f;
    r.outputPercent = 0;
    r.heaterPercent = 0;
}

void BatchWindowCreated(VelmorState& s)
{
    s.batch.chkVolI = s.batch.chkVolD = true;
    s.batch.chkTempI = s.batch.chkTempD = true;
}

void BatchSendRest(VelmorState& s)
{
    const BatchUnit& b = s.batch;
    SimSettings& ss = s.simSettings;
    ss.volumeSetPoint = b.batchVolumeSP;
    ss.expectedTime = b.expectedTime;
    ss.tempSetPoint = b.batchLastTempSP;
    ss.sumpTemperature = b.sumpTemperature;
}

void BatchUpdateRest(VelmorState& s)
{
    BatchUnit& b = s.batch;
    const SimSettings& ss = s.simSettings;
    b.batchVolumeSP = ss.volumeSetPoint;
    b.expectedTime = ss.expectedTime;
    b.batchTempSP = ss.tempSetPoint;
    s.run.tempSetPoint = ss.tempSetPoint;
    b.batchLastTempSP = ss.tempSetPoint;
    b.sumpTemperature = ss.sumpTemperature;
}

constexpr std::array kBatchChecked{T::FlowQ, T::TempSP, T::TempMV, T::TempQ, T::VolSP, T::VolMV};
constexpr std::array kBatchDisabled{T::FlowSP, T::FlowMV};
// The temperature loop at the right, the volume loop left of it.
constexpr std::array kBatchColumnsBox{SettingsColumn{kTempLabels, ColumnPlace::Right, 10, 11, 12},
                                      SettingsColumn{kVolLabels, ColumnPlace::Left, 16, 17, 18}};

// ===========================================================================

constexpr std::array<ExerciseProfile, 5> kProfiles{{
    {Exercise::Flow,
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
      kFlowColumnsBox}},
    {Exercise::Level,
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
      false, kLevelColumnsBox}},
    {Exercise::Open,
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
      {}}},
    {Exercise::Temperature,
     "frmTemperature",
     "temperature",
     "Temperature Simulation",
     120,
     kTemperatureBoxes,
     nullptr,
     nullptr,
     nullptr,
     nullptr,
     false,
     kTemperatureLines,
     kTemperatureNames,
     kTemperatureColumns,
     kTemperatureLogFields,
     kTemperaturePanels,
     kTemperatureLoops,
     &TemperatureInitValues,
     &TemperatureWindowCreated,
     &TemperatureSendRest,
     &TemperatureUpdateRest,
     &kTemperatureSteps,
     {"Temperature Trend", "°C", "%", ScalePicture::None, kTemperatureChecked, kTemperatureDisabled,
      false, false, kTemperatureColumnsBox}},
    {Exercise::Batch,
     "frmBatch",
     "batch",
     "Batch Simulation",
     180,
     kBatchBoxes,
     nullptr,
     nullptr,
     nullptr,
     nullptr,
     false,
     kBatchLines,
     kBatchNames,
     kBatchColumns,
     kBatchLogFields,
     kBatchPanels,
     kBatchLoops,
     &BatchInitValues,
     &BatchWindowCreated,
     &BatchSendRest,
     &BatchUpdateRest,
     &kBatchSteps,
     {"Batch Volume Trend", "L", "°C / %", ScalePicture::Litres, kBatchChecked, kBatchDisabled,
      false, false, kBatchColumnsBox}},
}};

// The registry finds a built-in row by its id as an index.
constexpr bool InEnumerationOrder()
{
    for (std::size_t i = 0; i < kProfiles.size(); ++i) {
        if (kProfiles[i].exercise != static_cast<Exercise>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(InEnumerationOrder(), "kProfiles rows follow the Exercise enumeration");

} // namespace

const KeypadBox* ExerciseProfile::box(int code) const
{
    for (const KeypadBox& b : boxes) {
        if (b.code == code) {
            return &b;
        }
    }
    return nullptr;
}

const NamedSetting* ExerciseProfile::setting(std::string_view name) const
{
    for (const NamedSetting& n : settingNames) {
        if (n.name == name) {
            return &n;
        }
    }
    return nullptr;
}

std::span<const ExerciseProfile> BuiltInProfiles()
{
    return kProfiles;
}

} // namespace velmor
