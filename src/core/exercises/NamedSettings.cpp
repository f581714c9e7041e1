#include "core/exercises/NamedSettings.h"

#include "core/exercises/ControllerSettings.h"
#include "core/exercises/ExerciseProfile.h"
#include "core/rundata/NumberText.h"
#include "core/shell/KeypadEntry.h"

#include <charconv>
#include <optional>

namespace velmor {

namespace {

// Digits only, as the keypad takes them: "-0" is no number here either.
std::optional<int> WholeNumber(std::string_view text)
{
    if (text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    int v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return v;
}

std::string Quote(std::string_view name, std::string_view value)
{
    return std::string(name) + "=" + std::string(value);
}

// Only what the keypad lets a student type: digits and one decimal mark.
std::string CheckKeypadText(std::string_view name, std::string_view value)
{
    std::string typed;
    for (char c : value) {
        if (!KeypadAcceptsChar(typed, c)) {
            if ((c >= '0' && c <= '9')) {
                return Quote(name, value) + ": at most " + std::to_string(kKeypadMaxDecimals) +
                       " digits after the decimal mark";
            }
            return Quote(name, value) + ": '" + std::string(value) +
                   "' is not a valid number (digits and one decimal mark)";
        }
        typed += c;
    }
    std::string error;
    if (!KeypadTextValue(value, &error)) {
        return Quote(name, value) + ": " + error;
    }
    return {};
}

std::string RangeText(float min, float max)
{
    return ShortestText(min) + " to " + ShortestText(max);
}

std::string CheckFlag(std::string_view name, std::string_view value)
{
    const std::optional<int> v = WholeNumber(value);
    if (!v || (*v != 0 && *v != 1)) {
        return Quote(name, value) + ": expected 0 or 1";
    }
    return {};
}

// What CheckSetting checks, for a name already found: the value's form and
// the limits that never depend on the run (whether the box takes an entry
// now may).
std::string CheckValue(const NamedSetting& n, std::string_view value)
{
    const std::string_view name = n.name;
    switch (n.kind) {
    case SettingKind::Keypad:
    case SettingKind::WaveRow: {
        if (std::string error = CheckKeypadText(name, value); !error.empty()) {
            return error;
        }
        const float v = *KeypadTextValue(value);
        if (!KeypadInRange(v, n.box->min, n.box->max)) {
            return Quote(name, value) + ": out of range (" + RangeText(n.box->min, n.box->max) +
                   ")";
        }
        return {};
    }
    case SettingKind::IBox:
    case SettingKind::DBox:
    case SettingKind::Autodrain:
    case SettingKind::ControlMode:
    case SettingKind::Pump:
        return CheckFlag(name, value);
    case SettingKind::Waveform: {
        const std::optional<int> v = WholeNumber(value);
        if (!v || *v < kFlat || *v > kSawtooth) {
            return Quote(name, value) +
                   ": expected a waveform 1 to 5 (Flat, Ramp, Sine, Step, Sawtooth)";
        }
        return {};
    }
    case SettingKind::Gate: {
        const std::optional<int> v = WholeNumber(value);
        if (!v || *v < 0 || *v > 100 || *v % 10 != 0) {
            return Quote(name, value) + ": expected 0 to 100 in steps of 10";
        }
        return {};
    }
    case SettingKind::TrendSpan: {
        const std::optional<int> v = WholeNumber(value);
        if (!v || *v < 20 || *v > 180 || *v % 10 != 0) {
            return Quote(name, value) + ": expected 20 to 180 in steps of 10";
        }
        return {};
    }
    }
    return {};
}

// A checked value into its box, through the keypad's limits of the moment.
std::string TypeIntoBox(VelmorState& s, const ExerciseProfile& p, const NamedSetting& n,
                        std::string_view value)
{
    const KeypadBox* box = n.box;
    if (n.kind == SettingKind::WaveRow && box->code != kCodeWaveRow3 &&
        CurrentWaveform(s, p) == kRamp) {
        // The Ramp shows its initial value B in row 1 and final A in row 2.
        box = p.box(box->code == kCodeWaveRow1 ? kCodeWaveRow2 : kCodeWaveRow1);
    }
    const std::optional<KeypadRange> range = box != nullptr ? BoxRange(s, p, *box) : std::nullopt;
    if (!range) {
        if (n.kind == SettingKind::WaveRow) {
            return Quote(n.name, value) + ": the waveform in force has no such value";
        }
        return Quote(n.name, value) + ": the box does not take entries during a run";
    }
    const float v = *KeypadTextValue(value);
    if (!KeypadInRange(v, range->min, range->max)) {
        return Quote(n.name, value) + ": out of range (" + RangeText(range->min, range->max) + ")";
    }
    EnterValue(s, p, *box, v, BoxValue(s, p, *box));
    return {};
}

// A checked value applied the way the window's control takes it.
std::string ApplyValue(VelmorState& s, const ExerciseProfile& p, const NamedSetting& n,
                       std::string_view value)
{
    switch (n.kind) {
    case SettingKind::Keypad:
    case SettingKind::WaveRow:
        return TypeIntoBox(s, p, n, value);
    case SettingKind::IBox:
        SetIBox(n.loop(s), *WholeNumber(value) == 1);
        return {};
    case SettingKind::DBox:
        SetDBox(n.loop(s), *WholeNumber(value) == 1);
        return {};
    case SettingKind::Autodrain: {
        const bool ticked = *WholeNumber(value) == 1;
        if (s.level.chkAutodrain != ticked) {
            s.level.chkAutodrain = ticked;
            DBoxHandler(LevelLoop(s)); // the box shares the D box's handler
        }
        return {};
    }
    case SettingKind::Waveform:
        ChooseWaveform(s, p, *WholeNumber(value));
        return {};
    case SettingKind::ControlMode:
        s.flow.flowManual = *WholeNumber(value) == 1;
        return {};
    case SettingKind::Pump: {
        const bool on = *WholeNumber(value) == 1;
        if (on != s.run.pumpOn) {
            if (!s.flow.flowManual) {
                return Quote(n.name, value) +
                       ": the pump button works only in Manual mode (set flowManual=1 first)";
            }
            s.run.pumpOn = on;
        }
        return {};
    }
    case SettingKind::Gate: {
        // The two buttons move the valve 10 % a click.
        const int target = *WholeNumber(value);
        while (s.run.gateValvePercent < target && s.run.gateValvePercent < 100) {
            s.run.gateValvePercent += 10;
        }
        while (s.run.gateValvePercent > target && s.run.gateValvePercent > 0) {
            s.run.gateValvePercent -= 10;
        }
        return {};
    }
    case SettingKind::TrendSpan:
        s.trend.trendSpan = *WholeNumber(value);
        return {};
    }
    return {};
}

std::string Unknown(const ExerciseProfile& p, std::string_view name)
{
    return "unknown setting '" + std::string(name) + "' for " + std::string(p.commandWord);
}

} // namespace

std::optional<double> SettingValue(VelmorState& s, Exercise e, std::string_view name)
{
    const ExerciseProfile& p = ProfileOf(e);
    const NamedSetting* n = p.setting(name);
    if (n == nullptr) {
        return std::nullopt;
    }
    switch (n->kind) {
    case SettingKind::Keypad:
        return BoxValue(s, p, *n->box);
    case SettingKind::WaveRow: {
        const std::int32_t w = CurrentWaveform(s, p);
        if (WaveRows(w) < n->box->code - kCodeWaveRow1 + 1) {
            return std::nullopt;
        }
        const WaveParams& wave = p.waveParams(s);
        // waveA is A and waveB is B whatever row the panel shows them in.
        switch (n->box->code) {
        case kCodeWaveRow1:
            return wave.A(w);
        case kCodeWaveRow2:
            return wave.B(w);
        default:
            return wave.C(w);
        }
    }
    case SettingKind::IBox:
        return n->loop(s).chkI ? 1 : 0;
    case SettingKind::DBox:
        return n->loop(s).chkD ? 1 : 0;
    case SettingKind::Autodrain:
        return s.level.chkAutodrain ? 1 : 0;
    case SettingKind::Waveform:
        return CurrentWaveform(s, p);
    case SettingKind::ControlMode:
        return s.flow.flowManual ? 1 : 0;
    case SettingKind::Pump:
        return s.run.pumpOn ? 1 : 0;
    case SettingKind::Gate:
        return s.run.gateValvePercent;
    case SettingKind::TrendSpan:
        return s.trend.trendSpan;
    }
    return std::nullopt;
}

std::vector<std::string_view> SettingNames(Exercise e)
{
    std::vector<std::string_view> names;
    for (const NamedSetting& n : ProfileOf(e).settingNames) {
        names.push_back(n.name);
    }
    return names;
}

std::string CheckSetting(Exercise e, std::string_view name, std::string_view value)
{
    const ExerciseProfile& p = ProfileOf(e);
    const NamedSetting* n = p.setting(name);
    return n != nullptr ? CheckValue(*n, value) : Unknown(p, name);
}

std::string ApplySetting(VelmorState& s, Exercise e, std::string_view name, std::string_view value)
{
    const ExerciseProfile& p = ProfileOf(e);
    const NamedSetting* n = p.setting(name);
    if (n == nullptr) {
        return Unknown(p, name);
    }
    if (std::string error = CheckValue(*n, value); !error.empty()) {
        return error;
    }
    return ApplyValue(s, p, *n, value);
}

} // namespace velmor
