// What the built-in exercises' profile files build their rows with: value
// box, setting name and settings line makers, and the loops, labels and
// trace lists two exercises share. Each exercise's row lives in its own
// file (FlowProfile.cpp beside FlowEngine.cpp, ...); ExerciseProfile.cpp
// lists them in the order of the Exercise enumeration.
#pragma once

#include "core/exercises/ExerciseProfile.h"
#include "core/exercises/LoopEngine.h"

namespace velmor {

extern const ExerciseProfile kFlowProfile;
extern const ExerciseProfile kLevelProfile;
extern const ExerciseProfile kOpenProfile;
extern const ExerciseProfile kTemperatureProfile;
extern const ExerciseProfile kBatchProfile;

namespace profile_rows {

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
inline constexpr const KeypadBox* BoxOf(const std::array<KeypadBox, N>& boxes, int code)
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

inline constexpr ZeroGuard kGain = ZeroGuard::Gain;
inline constexpr ZeroGuard kIntegral = ZeroGuard::IntegralTime;
inline constexpr ZeroGuard kPeriod = ZeroGuard::Period;

// ---- Shared by Temperature and Batch ----------------------------------------

inline constexpr LoopTraces kTemperatureLoop{
    "temperature", "Temperature", kFieldTempSP, kFieldTempMV, kFieldHeater,
    kFieldTempPG,  kFieldTempI,   kFieldTempD,  100.0,        "°C"};

inline void SetWaveABC(WaveParams& p, std::int32_t type, float a, float b, float c)
{
    p.setA(type, a);
    p.setB(type, b);
    p.setC(type, c);
}

// ---- Trends window ---------------------------------------------------------

inline constexpr std::array<const char*, 4> kTempLabels{
    "Temp PG:", "Temp PB:", "Temp I:", "Temp D:"};

using T = TraceId;
inline constexpr std::array kTempAndVolume{T::TempSP, T::TempMV, T::TempQ, T::VolSP, T::VolMV};

} // namespace profile_rows

} // namespace velmor
