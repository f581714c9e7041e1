#include "core/exercises/ControllerSettings.h"

#include "core/Arith.h"
#include "core/exercises/ExerciseProfile.h"

namespace velmor {

PidLoop FlowLoop(VelmorState& s)
{
    FlowUnit& f = s.flow;
    return {f.flowGain,
            f.flowBand,
            f.flowIntegralTime,
            f.flowDerivativeTime,
            f.flowIntegralOn,
            f.flowDerivativeOn,
            f.flowIntegral,
            f.flowSegment,
            f.chkI,
            f.chkD};
}

PidLoop LevelLoop(VelmorState& s)
{
    LevelUnit& l = s.level;
    return {l.levelGain,
            l.levelBand,
            l.levelIntegralTime,
            l.levelDerivativeTime,
            l.levelIntegralOn,
            l.levelDerivativeOn,
            l.levelIntegral,
            l.levelSegment,
            l.chkI,
            l.chkD};
}

PidLoop TemperatureLoop(VelmorState& s)
{
    TemperatureUnit& t = s.temp;
    return {t.tempGain,
            t.tempBand,
            t.tempIntegralTime,
            t.tempDerivativeTime,
            t.tempIntegralOn,
            t.tempDerivativeOn,
            t.tempIntegral,
            t.tempSegment,
            t.chkI,
            t.chkD};
}

PidLoop BatchVolumeLoop(VelmorState& s)
{
    BatchUnit& b = s.batch;
    return {b.volGain,       b.volBand,         b.volIntegralTime, b.volDerivativeTime,
            b.volIntegralOn, b.volDerivativeOn, b.volIntegral,     b.batchSegment,
            b.chkVolI,       b.chkVolD};
}

PidLoop BatchTemperatureLoop(VelmorState& s)
{
    BatchUnit& b = s.batch;
    return {b.batchTempGain,
            b.batchTempBand,
            b.batchTempIntegralTime,
            b.batchTempDerivativeTime,
            b.batchTempIntegralOn,
            b.batchTempDerivativeOn,
            b.batchTempIntegral,
            b.batchSegment,
            b.chkTempI,
            b.chkTempD};
}

void ApplyPidEntry(PidLoop loop, int panelCode, float v)
{
    switch (panelCode) {
    case kCodePG:
        loop.gain = v;
        loop.band = static_cast<float>(100 / static_cast<Real>(v));
        break;
    case kCodePB:
        loop.band = v;
        loop.gain = static_cast<float>(100 / static_cast<Real>(v));
        break;
    case kCodeI:
        // Keeps the integral term integral / I unchanged.
        loop.integral =
            static_cast<float>((1 / static_cast<Real>(loop.integralTime) * loop.integral) /
                               (1 / static_cast<Real>(v)));
        loop.integralTime = v;
        break;
    case kCodeD:
        loop.derivativeTime = v;
        break;
    default:
        return;
    }
    loop.segment += 1;
}

void IBoxHandler(PidLoop loop)
{
    loop.integralOn = loop.chkI ? 1 : 0;
    loop.segment += 1;
}

void DBoxHandler(PidLoop loop)
{
    loop.derivativeOn = loop.chkD ? 1 : 0;
    // Switching a zero derivative action is no change of settings.
    if (loop.derivativeTime > 0) {
        loop.segment += 1;
    }
}

void SetIBox(PidLoop loop, bool checked)
{
    if (loop.chkI != checked) {
        loop.chkI = checked;
        IBoxHandler(loop);
    }
}

void SetDBox(PidLoop loop, bool checked)
{
    if (loop.chkD != checked) {
        loop.chkD = checked;
        DBoxHandler(loop);
    }
}

int WaveRows(std::int32_t type)
{
    switch (type) {
    case kFlat:
        return 1;
    case kRamp:
        return 2;
    case kSine:
    case kStep:
    case kSawtooth:
        return 3;
    default:
        return 0;
    }
}

std::int32_t CurrentWaveform(const VelmorState& s, const ExerciseProfile& p)
{
    return p.waveform != nullptr ? p.waveform(s) : 0;
}

std::int32_t CurrentWaveform(const VelmorState& s, Exercise e)
{
    return CurrentWaveform(s, ProfileOf(e));
}

namespace {

WaveParams& WaveParamsOf(VelmorState& s, const ExerciseProfile& p)
{
    // Exercises without a waveform panel answer with Flow's table, unused.
    return p.waveParams != nullptr ? p.waveParams(s) : s.flow.waveParams;
}

} // namespace

WaveParams& WaveParamsOf(VelmorState& s, Exercise e)
{
    return WaveParamsOf(s, ProfileOf(e));
}

namespace {

float PidOld(PidLoop loop, int panelCode)
{
    switch (panelCode) {
    case kCodePG:
        return loop.gain;
    case kCodePB:
        return loop.band;
    case kCodeI:
        return loop.integralTime;
    default:
        return loop.derivativeTime;
    }
}

int WaveRow(int code)
{
    return code - kCodeWaveRow1 + 1;
}

// Row 1 edits A (the Ramp's initial value B), row 2 edits B (the Ramp's
// final value A), row 3 edits C.
float WaveRowValue(const WaveParams& p, std::int32_t type, int code)
{
    switch (code) {
    case kCodeWaveRow1:
        return type == kRamp ? p.B(type) : p.A(type);
    case kCodeWaveRow2:
        return type == kRamp ? p.A(type) : p.B(type);
    default:
        return p.C(type);
    }
}

void SetWaveRow(WaveParams& p, std::int32_t type, int code, float v)
{
    switch (code) {
    case kCodeWaveRow1:
        type == kRamp ? p.setB(type, v) : p.setA(type, v);
        break;
    case kCodeWaveRow2:
        type == kRamp ? p.setA(type, v) : p.setB(type, v);
        break;
    default:
        p.setC(type, v);
        break;
    }
}

} // namespace

std::optional<KeypadRange> BoxRange(const VelmorState& s, const ExerciseProfile& p,
                                    const KeypadBox& box)
{
    if (box.kind == BoxKind::WaveRow && WaveRow(box.code) > WaveRows(CurrentWaveform(s, p))) {
        return std::nullopt; // a blank row cannot be clicked
    }
    if (box.idleOnly && s.run.runActive) {
        return std::nullopt;
    }
    return KeypadRange{box.min, box.max, box.number};
}

float BoxValue(VelmorState& s, const ExerciseProfile& p, const KeypadBox& box)
{
    switch (box.kind) {
    case BoxKind::Pid:
        return PidOld(box.loop(s), box.panelCode);
    case BoxKind::WaveRow:
        return WaveRowValue(WaveParamsOf(s, p), CurrentWaveform(s, p), box.code);
    case BoxKind::Value:
        break;
    }
    return box.get(s);
}

bool EnterValue(VelmorState& s, const ExerciseProfile& p, const KeypadBox& box, float v,
                float keypadOld)
{
    if (p.unchangedIsNoEntry && v == keypadOld) {
        return false;
    }
    switch (box.kind) {
    case BoxKind::Pid:
        ApplyPidEntry(box.loop(s), box.panelCode, v);
        break;
    case BoxKind::WaveRow:
        SetWaveRow(WaveParamsOf(s, p), CurrentWaveform(s, p), box.code, v);
        break;
    case BoxKind::Value:
        box.set(s, v);
        break;
    }
    return true;
}

std::optional<KeypadRange> KeypadRangeFor(const VelmorState& s, Exercise e, int code)
{
    const ExerciseProfile& p = ProfileOf(e);
    const KeypadBox* box = p.box(code);
    return box != nullptr ? BoxRange(s, p, *box) : std::nullopt;
}

float KeypadOldFor(VelmorState& s, Exercise e, int code)
{
    const ExerciseProfile& p = ProfileOf(e);
    const KeypadBox* box = p.box(code);
    return box != nullptr ? BoxValue(s, p, *box) : 0.0f;
}

bool UpdateDisplay(VelmorState& s, Exercise e, int code, float v, float keypadOld)
{
    const ExerciseProfile& p = ProfileOf(e);
    const KeypadBox* box = p.box(code);
    return box != nullptr && EnterValue(s, p, *box, v, keypadOld);
}

bool ChooseWaveform(VelmorState& s, const ExerciseProfile& p, std::int32_t type)
{
    if (p.waveform == nullptr || s.keypad.suppressWaveformClick ||
        (p.waveformBlocked != nullptr && p.waveformBlocked(s))) {
        return false;
    }
    p.setWaveform(s, type);
    return true;
}

bool ChooseWaveform(VelmorState& s, Exercise e, std::int32_t type)
{
    return ChooseWaveform(s, ProfileOf(e), type);
}

void InitValues(VelmorState& s, Exercise e)
{
    ProfileOf(e).initValues(s);
}

void OpenExerciseState(VelmorState& s, Exercise e, bool fresh)
{
    const ExerciseProfile& p = ProfileOf(e);
    s.trend.trendNoData = fresh;
    s.shell.currentForm = std::string(p.formName);

    // The Trends window comes first (its view is its own).
    s.trend.trendSpan = p.trendSpan;
    s.run.pumpOn = false;
    s.run.gateValvePercent = 100;
    s.log.secondIndex.fill(1);

    // Then the exercise window, its check boxes as laid out.
    p.initValues(s);
    p.windowCreated(s);
}

void SendSettings(VelmorState& s, Exercise e)
{
    const ExerciseProfile& p = ProfileOf(e);
    SimSettings& ss = s.simSettings;
    for (const PanelTransfer& t : p.panels) {
        const PidLoop loop = t.loop(s);
        ss.*t.gain = loop.gain;
        ss.*t.integralTime = loop.integralTime;
        ss.*t.derivativeTime = loop.derivativeTime;
        ss.*t.iOn = loop.chkI; // the boxes, not the flags, are saved
        ss.*t.dOn = loop.chkD;
    }
    p.sendRest(s);
}

void UpdateSettings(VelmorState& s, Exercise e)
{
    const ExerciseProfile& p = ProfileOf(e);
    const SimSettings& ss = s.simSettings;
    for (const PanelTransfer& t : p.panels) {
        const PidLoop loop = t.loop(s);
        loop.gain = ss.*t.gain;
        loop.band = static_cast<float>(100 / static_cast<Real>(ss.*t.gain));
        loop.integralTime = ss.*t.integralTime;
        loop.derivativeTime = ss.*t.derivativeTime;
        // Boxes that change state run their handlers: flags and segments follow.
        SetIBox(loop, ss.*t.iOn);
        SetDBox(loop, ss.*t.dOn);
    }
    p.updateRest(s);
}

} // namespace velmor
