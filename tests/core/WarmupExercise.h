// A made-up sixth exercise, "Warmup", that exists only in the tests: a PI(D)
// loop on the heater against a first-order tank (ambient 20 degrees C, the
// full heater holds it at 80, time constant 30 s). It keeps its values in
// the temperature loop's members of the state and of the settings block,
// as Batch volume's temperature loop does, and logs the temperature
// loop's record fields. Everything else is its own: engine steps, value
// boxes, settings lines, names, its loop for the analysis and its Trends
// window's configuration. docs/adding-an-exercise.md walks through it.
#pragma once

#include "core/exercises/ExerciseProfile.h"
#include "core/exercises/LoopEngine.h"

#include <algorithm>

namespace velmor::test {

// Any id the five do not use.
inline constexpr Exercise kWarmup{7};

namespace warmup {

inline constexpr float kAmbient = 20;      // degrees C
inline constexpr float kHeaterGain = 0.6f; // degrees C per percent of heater
inline constexpr float kTimeConstant = 30; // s

inline RunCounters Counters(VelmorState& s)
{
    return {s.temp.tempTick, s.temp.tempSimTime, s.temp.tempSegment};
}

inline void ResetForRun(VelmorState& s)
{
    s.temp.tempIntegral = 0;
    s.temp.tempPrevError = 0;
    s.run.heaterPercent = 0;
}

inline void Log(const VelmorState& s, SampleRecord& rec)
{
    const TemperatureUnit& u = s.temp;
    SetFields(rec, {{kFieldTempSP, s.run.tempSetPoint},
                    {kFieldTempMV, s.run.measuredTemperature},
                    {kFieldTempPG, u.tempGain},
                    {kFieldTempI, Switched(u.tempIntegralOn, u.tempIntegralTime)},
                    {kFieldTempD, Switched(u.tempDerivativeOn, u.tempDerivativeTime)},
                    {kFieldHeater, s.run.heaterPercent}});
    rec.segment = u.tempSegment;
}

inline void StartPlant(VelmorState& s)
{
    s.run.measuredTemperature = kAmbient;
}

inline void Cycle(ExerciseEngine& run)
{
    VelmorState& s = run.state();
    TemperatureUnit& u = s.temp;
    RunState& r = s.run;
    const float dt = r.samplePeriod;
    r.measuredTemperature +=
        dt / kTimeConstant * (kAmbient + kHeaterGain * r.heaterPercent - r.measuredTemperature);
    const double t = run.advanceTime();
    r.tempSetPoint = u.tempEnteredSP;
    const float error = r.tempSetPoint - r.measuredTemperature;
    u.tempIntegral = (u.tempIntegral + error * dt) * static_cast<float>(u.tempIntegralOn);
    const float rate = (error - u.tempPrevError) / dt * static_cast<float>(u.tempDerivativeOn);
    u.tempPrevError = error;
    const float drive =
        u.tempGain * (error + u.tempIntegral / u.tempIntegralTime + u.tempDerivativeTime * rate);
    r.heaterPercent = std::clamp(drive, 0.0f, 100.0f);
    SampleRecord& rec = run.nextRecord();
    rec.time = t;
    Log(s, rec);
    run.afterRecord(t);
}

inline void KeepLastValues(VelmorState& s)
{
    s.temp.tempLastSP = s.run.tempSetPoint;
    s.temp.tempLastPV = s.run.measuredTemperature;
}

// The Trends window draws the heater, the set point and the temperature,
// from where they stand at Start.
inline constexpr std::array<TraceId, 3> kTraces{TraceId::TempSP, TraceId::TempMV, TraceId::TempQ};

inline TraceValues FirstValues(const VelmorState& s)
{
    TraceValues v;
    v[TraceId::TempQ] = 0;
    v[TraceId::TempSP] = s.temp.tempEnteredSP;
    v[TraceId::TempMV] = s.run.measuredTemperature;
    return v;
}

inline constexpr EngineSteps kSteps{&Counters,       &ResetForRun, &Log,    &StartPlant,  &Cycle,
                                    &KeepLastValues, nullptr,      kTraces, &FirstValues, true};

inline float SetPoint(VelmorState& s)
{
    return s.temp.tempEnteredSP;
}

inline void EnterSetPoint(VelmorState& s, float v)
{
    s.temp.tempEnteredSP = v;
    s.run.tempSetPoint = v;
}

inline constexpr std::array<KeypadBox, 5> kBoxes{{
    {.code = kCodePG,
     .kind = BoxKind::Pid,
     .min = 0.01f,
     .max = 100,
     .loop = &TemperatureLoop,
     .panelCode = kCodePG},
    {.code = kCodePB,
     .kind = BoxKind::Pid,
     .min = 1,
     .max = 10000,
     .loop = &TemperatureLoop,
     .panelCode = kCodePB},
    {.code = kCodeI,
     .kind = BoxKind::Pid,
     .min = 1,
     .max = 600,
     .loop = &TemperatureLoop,
     .panelCode = kCodeI},
    {.code = kCodeD,
     .kind = BoxKind::Pid,
     .min = 0,
     .max = 60,
     .loop = &TemperatureLoop,
     .panelCode = kCodeD},
    {.code = kCodeSetPoint,
     .kind = BoxKind::Value,
     .min = 20,
     .max = 80,
     .get = &SetPoint,
     .set = &EnterSetPoint},
}};

using S = SimSettings;
inline constexpr std::array<SettingLine, 7> kLines{{
    {.name = "warmGain", .type = LineType::Decimal, .real = &S::tempGain, .guard = ZeroGuard::Gain},
    {.name = "warmIntegralTime",
     .type = LineType::Decimal,
     .real = &S::tempIntegralTime,
     .guard = ZeroGuard::IntegralTime},
    {.name = "warmDerivativeTime", .type = LineType::Decimal, .real = &S::tempDerivativeTime},
    {.name = "chkI", .type = LineType::Flag, .flag = &S::tempIOn},
    {.name = "chkD", .type = LineType::Flag, .flag = &S::tempDOn},
    {.name = "warmSetPoint", .type = LineType::Decimal, .real = &S::tempSetPoint},
    {.name = "measuredTemperature", .type = LineType::Decimal, .real = &S::measuredTemperature},
}};

inline constexpr std::array<NamedSetting, 7> kNames{{
    {"warmGain", SettingKind::Keypad, &kBoxes[0]},
    {"warmBand", SettingKind::Keypad, &kBoxes[1]},
    {"warmIntegralTime", SettingKind::Keypad, &kBoxes[2]},
    {"warmDerivativeTime", SettingKind::Keypad, &kBoxes[3]},
    {"chkI", SettingKind::IBox, nullptr, &TemperatureLoop},
    {"chkD", SettingKind::DBox, nullptr, &TemperatureLoop},
    {"warmSetPoint", SettingKind::Keypad, &kBoxes[4]},
}};

inline constexpr auto kColumns = ColumnsOfFields(std::array{0, 8, 9, 10, 11, 12, 13, 24});
inline constexpr std::array kLogFields{0, 1, 8, 9, 10, 11, 12, 13, 24};

inline constexpr std::array<PanelTransfer, 1> kPanels{{
    {&TemperatureLoop, &S::tempGain, &S::tempIntegralTime, &S::tempDerivativeTime, &S::tempIOn,
     &S::tempDOn},
}};

inline constexpr std::array<LoopTraces, 1> kLoops{{
    {"warmup", "Warmup", kFieldTempSP, kFieldTempMV, kFieldHeater, kFieldTempPG, kFieldTempI,
     kFieldTempD, 100.0, "°C"},
}};

inline void InitValues(VelmorState& s)
{
    TemperatureUnit& t = s.temp;
    t.tempGain = 5;
    t.tempBand = 20;
    t.tempIntegralTime = 30;
    t.tempDerivativeTime = 0;
    t.tempIntegralOn = 1;
    t.tempDerivativeOn = 1;
    EnterSetPoint(s, 50);
    s.run.measuredTemperature = kAmbient;
    s.run.heaterPercent = 0;
    s.run.samplePeriod = 0.1f;
}

inline void WindowCreated(VelmorState& s)
{
    s.temp.chkI = s.temp.chkD = true;
}

inline void SendRest(VelmorState& s)
{
    s.simSettings.tempSetPoint = s.temp.tempEnteredSP;
    s.simSettings.measuredTemperature = s.temp.tempLastPV;
}

inline void UpdateRest(VelmorState& s)
{
    EnterSetPoint(s, s.simSettings.tempSetPoint);
    s.run.measuredTemperature = s.simSettings.measuredTemperature;
    s.temp.tempLastPV = s.simSettings.measuredTemperature;
}

inline constexpr std::array kChecked{TraceId::TempSP, TraceId::TempMV, TraceId::TempQ};
inline constexpr std::array kDisabled{TraceId::FlowSP, TraceId::FlowMV, TraceId::FlowQ,
                                      TraceId::VolSP, TraceId::VolMV};

} // namespace warmup

inline constexpr ExerciseProfile kWarmupProfile{
    .exercise = kWarmup,
    .formName = "frmWarmup",
    .commandWord = "warmup",
    .firstLine = "Warmup Simulation",
    .trendSpan = 120,
    .boxes = warmup::kBoxes,
    .waveform = nullptr,
    .setWaveform = nullptr,
    .waveParams = nullptr,
    .waveformBlocked = nullptr,
    .unchangedIsNoEntry = false,
    .settingsLines = warmup::kLines,
    .settingNames = warmup::kNames,
    .columns = warmup::kColumns,
    .logFields = warmup::kLogFields,
    .panels = warmup::kPanels,
    .loops = warmup::kLoops,
    .initValues = &warmup::InitValues,
    .windowCreated = &warmup::WindowCreated,
    .sendRest = &warmup::SendRest,
    .updateRest = &warmup::UpdateRest,
    .engineSteps = &warmup::kSteps,
    .trends = {.caption = "Warmup Trend",
               .leftUnit = "°C",
               .rightUnit = "%",
               .scale = ScalePicture::None,
               .checked = warmup::kChecked,
               .disabled = warmup::kDisabled,
               .levelBoxes = false,
               .gateValve = false,
               .settingsColumns = {}},
};

// Registers the exercise for as long as it lives.
struct WarmupRegistered {
    WarmupRegistered() { error = RegisterExercise(kWarmupProfile); }
    ~WarmupRegistered() { UnregisterExercise(kWarmup); }
    WarmupRegistered(const WarmupRegistered&) = delete;
    WarmupRegistered& operator=(const WarmupRegistered&) = delete;
    std::string error; // empty: registered
};

} // namespace velmor::test
