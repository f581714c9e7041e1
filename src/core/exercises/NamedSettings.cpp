#include "core/exercises/NamedSettings.h"

#include "core/exercises/ControllerSettings.h"
#include "core/rundata/NumberText.h"
#include "core/shell/KeypadEntry.h"

#include <charconv>
#include <functional>
#include <optional>

namespace velmor {

namespace {

enum class Kind {
    Keypad,  // a value box: `code`
    WaveRow, // waveA / waveB / waveC: `code` is the row for non-Ramp types
    IBox,
    DBox,
    Autodrain,
    Waveform,
    ControlMode,
    Pump,
    Gate,
    TrendSpan,
};

using LoopOf = PidLoop (*)(VelmorState&);

struct Named {
    std::string_view name;
    Kind kind;
    int code = 0;
    LoopOf loop = nullptr;
};

std::vector<Named> Table(Exercise e)
{
    switch (e) {
    case Exercise::Flow:
        return {{"flowGain", Kind::Keypad, kCodePG},
                {"flowBand", Kind::Keypad, kCodePB},
                {"flowIntegralTime", Kind::Keypad, kCodeI},
                {"flowDerivativeTime", Kind::Keypad, kCodeD},
                {"chkI", Kind::IBox, 0, &FlowLoop},
                {"chkD", Kind::DBox, 0, &FlowLoop},
                {"flowWaveform", Kind::Waveform},
                {"waveA", Kind::WaveRow, kCodeWaveRow1},
                {"waveB", Kind::WaveRow, kCodeWaveRow2},
                {"waveC", Kind::WaveRow, kCodeWaveRow3},
                {"flowManual", Kind::ControlMode},
                {"pumpOn", Kind::Pump},
                {"gateValvePercent", Kind::Gate},
                {"trendSpan", Kind::TrendSpan}};
    case Exercise::Level:
        return {{"levelGain", Kind::Keypad, kCodePG},
                {"levelBand", Kind::Keypad, kCodePB},
                {"levelIntegralTime", Kind::Keypad, kCodeI},
                {"levelDerivativeTime", Kind::Keypad, kCodeD},
                {"chkI", Kind::IBox, 0, &LevelLoop},
                {"chkD", Kind::DBox, 0, &LevelLoop},
                {"levelWaveform", Kind::Waveform},
                {"waveA", Kind::WaveRow, kCodeWaveRow1},
                {"waveB", Kind::WaveRow, kCodeWaveRow2},
                {"waveC", Kind::WaveRow, kCodeWaveRow3},
                {"initialLevel", Kind::Keypad, kCodeSetPoint},
                {"chkAutodrain", Kind::Autodrain},
                {"trendSpan", Kind::TrendSpan}};
    case Exercise::Open:
        return {{"openWaveform", Kind::Waveform},        {"waveA", Kind::WaveRow, kCodeWaveRow1},
                {"waveB", Kind::WaveRow, kCodeWaveRow2}, {"waveC", Kind::WaveRow, kCodeWaveRow3},
                {"gateValvePercent", Kind::Gate},        {"trendSpan", Kind::TrendSpan}};
    case Exercise::Temperature:
        return {{"tempGain", Kind::Keypad, kCodePG},
                {"tempBand", Kind::Keypad, kCodePB},
                {"tempIntegralTime", Kind::Keypad, kCodeI},
                {"tempDerivativeTime", Kind::Keypad, kCodeD},
                {"chkI", Kind::IBox, 0, &TemperatureLoop},
                {"chkD", Kind::DBox, 0, &TemperatureLoop},
                {"tempEnteredSP", Kind::Keypad, kCodeSetPoint},
                {"initialTemperature", Kind::Keypad, kCodeInitialValue}};
    case Exercise::Batch:
        return {{"volGain", Kind::Keypad, kCodePG},
                {"volBand", Kind::Keypad, kCodePB},
                {"volIntegralTime", Kind::Keypad, kCodeI},
                {"volDerivativeTime", Kind::Keypad, kCodeD},
                {"chkVolI", Kind::IBox, 0, &BatchVolumeLoop},
                {"chkVolD", Kind::DBox, 0, &BatchVolumeLoop},
                {"batchTempGain", Kind::Keypad, kCodeTempPG},
                {"batchTempBand", Kind::Keypad, kCodeTempPB},
                {"batchTempIntegralTime", Kind::Keypad, kCodeTempI},
                {"batchTempDerivativeTime", Kind::Keypad, kCodeTempD},
                {"chkTempI", Kind::IBox, 0, &BatchTemperatureLoop},
                {"chkTempD", Kind::DBox, 0, &BatchTemperatureLoop},
                {"batchVolumeSP", Kind::Keypad, kCodeSetPoint},
                {"batchTempSP", Kind::Keypad, kCodeBatchTempSP},
                {"expectedTime", Kind::Keypad, kCodeExpectedTime},
                {"sumpTemperature", Kind::Keypad, kCodeSumpTemperature}};
    }
    return {};
}

std::optional<Named> Find(Exercise e, std::string_view name)
{
    for (const Named& n : Table(e)) {
        if (n.name == name) {
            return n;
        }
    }
    return std::nullopt;
}

std::optional<int> WholeNumber(std::string_view text)
{
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

std::string RangeText(KeypadRange r)
{
    return ShortestText(r.min) + " to " + ShortestText(r.max);
}

// Limits that hold whatever the run's state: everything but the waveform
// rows' existence and the Initial Value box during a run.
std::optional<KeypadRange> StaticRange(Exercise e, const Named& n)
{
    VelmorState probe;
    probe.flow.flowWaveform = kSine;
    probe.level.levelWaveform = kSine;
    probe.open.openWaveform = kSine;
    return KeypadRangeFor(probe, e, n.code);
}

std::string CheckFlag(std::string_view name, std::string_view value)
{
    const std::optional<int> v = WholeNumber(value);
    if (!v || (*v != 0 && *v != 1)) {
        return Quote(name, value) + ": expected 0 or 1";
    }
    return {};
}

} // namespace

std::vector<std::string_view> SettingNames(Exercise e)
{
    std::vector<std::string_view> names;
    for (const Named& n : Table(e)) {
        names.push_back(n.name);
    }
    return names;
}

std::string CheckSetting(Exercise e, std::string_view name, std::string_view value)
{
    const std::optional<Named> n = Find(e, name);
    if (!n) {
        return "unknown setting '" + std::string(name) + "' for " + std::string(CommandWord(e));
    }
    switch (n->kind) {
    case Kind::Keypad:
    case Kind::WaveRow: {
        if (std::string error = CheckKeypadText(name, value); !error.empty()) {
            return error;
        }
        const float v = *KeypadTextValue(value);
        const std::optional<KeypadRange> range = StaticRange(e, *n);
        if (range && !KeypadInRange(v, range->min, range->max)) {
            return Quote(name, value) + ": out of range (" + RangeText(*range) + ")";
        }
        return {};
    }
    case Kind::IBox:
    case Kind::DBox:
    case Kind::Autodrain:
    case Kind::ControlMode:
    case Kind::Pump:
        return CheckFlag(name, value);
    case Kind::Waveform: {
        const std::optional<int> v = WholeNumber(value);
        if (!v || *v < kFlat || *v > kSawtooth) {
            return Quote(name, value) +
                   ": expected a waveform 1 to 5 (Flat, Ramp, Sine, Step, Sawtooth)";
        }
        return {};
    }
    case Kind::Gate: {
        const std::optional<int> v = WholeNumber(value);
        if (!v || *v < 0 || *v > 100 || *v % 10 != 0) {
            return Quote(name, value) + ": expected 0 to 100 in steps of 10";
        }
        return {};
    }
    case Kind::TrendSpan: {
        const std::optional<int> v = WholeNumber(value);
        if (!v || *v < 20 || *v > 180 || *v % 10 != 0) {
            return Quote(name, value) + ": expected 20 to 180 in steps of 10";
        }
        return {};
    }
    }
    return {};
}

std::string ApplySetting(VelmorState& s, Exercise e, std::string_view name, std::string_view value)
{
    if (std::string error = CheckSetting(e, name, value); !error.empty()) {
        return error;
    }
    const Named n = *Find(e, name);
    switch (n.kind) {
    case Kind::Keypad:
    case Kind::WaveRow: {
        int code = n.code;
        if (n.kind == Kind::WaveRow && CurrentWaveform(s, e) == kRamp && code != kCodeWaveRow3) {
            // The Ramp shows its initial value B in row 1 and final A in row 2.
            code = code == kCodeWaveRow1 ? kCodeWaveRow2 : kCodeWaveRow1;
        }
        const std::optional<KeypadRange> range = KeypadRangeFor(s, e, code);
        if (!range) {
            if (n.kind == Kind::WaveRow) {
                return Quote(name, value) + ": the waveform in force has no such value";
            }
            return Quote(name, value) + ": the box does not take entries during a run";
        }
        const float v = *KeypadTextValue(value);
        if (!KeypadInRange(v, range->min, range->max)) {
            return Quote(name, value) + ": out of range (" + RangeText(*range) + ")";
        }
        UpdateDisplay(s, e, code, v, KeypadOldFor(s, e, code));
        return {};
    }
    case Kind::IBox:
        SetIBox(n.loop(s), *WholeNumber(value) == 1);
        return {};
    case Kind::DBox:
        SetDBox(n.loop(s), *WholeNumber(value) == 1);
        return {};
    case Kind::Autodrain: {
        const bool ticked = *WholeNumber(value) == 1;
        if (s.level.chkAutodrain != ticked) {
            s.level.chkAutodrain = ticked;
            DBoxHandler(LevelLoop(s)); // the box shares the D box's handler
        }
        return {};
    }
    case Kind::Waveform:
        ChooseWaveform(s, e, *WholeNumber(value));
        return {};
    case Kind::ControlMode:
        s.flow.flowManual = *WholeNumber(value) == 1;
        return {};
    case Kind::Pump: {
        const bool on = *WholeNumber(value) == 1;
        if (on != s.run.pumpOn) {
            if (!s.flow.flowManual) {
                return Quote(name, value) +
                       ": the pump button works only in Manual mode (set flowManual=1 first)";
            }
            s.run.pumpOn = on;
        }
        return {};
    }
    case Kind::Gate: {
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
    case Kind::TrendSpan:
        s.trend.trendSpan = *WholeNumber(value);
        return {};
    }
    return {};
}

} // namespace velmor
