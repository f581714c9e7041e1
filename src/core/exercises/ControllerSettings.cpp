#include "core/exercises/ControllerSettings.h"

#include "core/Arith.h"

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

std::int32_t CurrentWaveform(const VelmorState& s, Exercise e)
{
    switch (e) {
    case Exercise::Flow:
        return s.flow.flowWaveform;
    case Exercise::Level:
        return s.level.levelWaveform;
    case Exercise::Open:
        return s.open.openWaveform;
    default:
        return 0;
    }
}

WaveParams& WaveParamsOf(VelmorState& s, Exercise e)
{
    switch (e) {
    case Exercise::Level:
        return s.level.waveParams;
    case Exercise::Open:
        return s.open.waveParams;
    default:
        return s.flow.waveParams;
    }
}

namespace {

bool HasWaveform(Exercise e)
{
    return e == Exercise::Flow || e == Exercise::Level || e == Exercise::Open;
}

std::optional<PidLoop> PanelLoop(VelmorState& s, Exercise e, int code, int& panelCode)
{
    if (code >= kCodePG && code <= kCodeD) {
        panelCode = code;
        switch (e) {
        case Exercise::Flow:
            return FlowLoop(s);
        case Exercise::Level:
            return LevelLoop(s);
        case Exercise::Temperature:
            return TemperatureLoop(s);
        case Exercise::Batch:
            return BatchVolumeLoop(s);
        case Exercise::Open:
            return std::nullopt;
        }
    }
    if (e == Exercise::Batch && code >= kCodeTempPG && code <= kCodeTempD) {
        panelCode = code - 10;
        return BatchTemperatureLoop(s);
    }
    return std::nullopt;
}

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

std::optional<KeypadRange> KeypadRangeFor(const VelmorState& s, Exercise e, int code)
{
    const bool panel = (code >= kCodePG && code <= kCodeD && e != Exercise::Open) ||
                       (e == Exercise::Batch && code >= kCodeTempPG && code <= kCodeTempD);
    if (panel) {
        switch (code % 10) {
        case kCodePG:
            return KeypadRange{0.01f, 100.0f};
        case kCodePB:
            return KeypadRange{1.0f, 10000.0f};
        case kCodeI:
            return KeypadRange{0.01f, e == Exercise::Level ? 100000.0f : 999.0f};
        default:
            return KeypadRange{0.0f, 999.0f};
        }
    }
    if (HasWaveform(e) && code >= kCodeWaveRow1 && code <= kCodeWaveRow3) {
        const int row = code - kCodeWaveRow1 + 1;
        if (row > WaveRows(CurrentWaveform(s, e))) {
            return std::nullopt; // a blank row cannot be clicked
        }
        if (row == 3) {
            return KeypadRange{e == Exercise::Open ? 0.5f : 1.0f, 999.0f};
        }
        return KeypadRange{0.0f, e == Exercise::Flow ? 2.0f : 100.0f};
    }
    switch (e) {
    case Exercise::Level:
        if (code == kCodeSetPoint) {
            return KeypadRange{0.0f, 100.0f};
        }
        break;
    case Exercise::Temperature:
        if (code == kCodeSetPoint) {
            return KeypadRange{20.0f, 90.0f};
        }
        if (code == kCodeInitialValue && !s.run.runActive) {
            return KeypadRange{10.0f, 90.0f};
        }
        break;
    case Exercise::Batch:
        switch (code) {
        case kCodeSetPoint:
            return KeypadRange{0.5f, 12.0f};
        case kCodeBatchTempSP:
            return KeypadRange{20.0f, 90.0f};
        case kCodeExpectedTime:
            return KeypadRange{60.0f, 600.0f};
        case kCodeSumpTemperature:
            return KeypadRange{10.0f, 90.0f};
        default:
            break;
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

float KeypadOldFor(VelmorState& s, Exercise e, int code)
{
    int panelCode = 0;
    if (std::optional<PidLoop> loop = PanelLoop(s, e, code, panelCode)) {
        return PidOld(*loop, panelCode);
    }
    if (HasWaveform(e) && code >= kCodeWaveRow1 && code <= kCodeWaveRow3) {
        return WaveRowValue(WaveParamsOf(s, e), CurrentWaveform(s, e), code);
    }
    switch (e) {
    case Exercise::Level:
        return code == kCodeSetPoint ? static_cast<float>(s.level.initialLevel) : 0.0f;
    case Exercise::Temperature:
        return code == kCodeSetPoint ? s.temp.tempEnteredSP : s.temp.initialTemperature;
    case Exercise::Batch:
        switch (code) {
        case kCodeSetPoint:
            return s.batch.batchVolumeSP;
        case kCodeBatchTempSP:
            return s.batch.batchTempSP;
        case kCodeExpectedTime:
            return s.batch.expectedTime;
        case kCodeSumpTemperature:
            return s.batch.sumpTemperature;
        default:
            return 0.0f;
        }
    default:
        return 0.0f;
    }
}

bool UpdateDisplay(VelmorState& s, Exercise e, int code, float v, float keypadOld)
{
    // Only the Flow window treats an unchanged value as no entry at all.
    if (e == Exercise::Flow && v == keypadOld) {
        return false;
    }
    int panelCode = 0;
    if (std::optional<PidLoop> loop = PanelLoop(s, e, code, panelCode)) {
        ApplyPidEntry(*loop, panelCode, v);
        return true;
    }
    if (HasWaveform(e) && code >= kCodeWaveRow1 && code <= kCodeWaveRow3) {
        SetWaveRow(WaveParamsOf(s, e), CurrentWaveform(s, e), code, v);
        return true;
    }
    switch (e) {
    case Exercise::Level:
        if (code == kCodeSetPoint) {
            s.level.initialLevel = static_cast<std::int32_t>(Trunc(static_cast<Real>(v) + 0.5L));
            return true;
        }
        break;
    case Exercise::Temperature:
        if (code == kCodeSetPoint) {
            s.temp.tempEnteredSP = v;
            s.run.tempSetPoint = v;
            return true;
        }
        if (code == kCodeInitialValue) {
            s.temp.initialTemperature = v;
            s.run.measuredTemperature = v;
            return true;
        }
        break;
    case Exercise::Batch:
        switch (code) {
        case kCodeSetPoint:
            s.batch.batchVolumeSP = v;
            return true;
        case kCodeBatchTempSP:
            s.batch.batchTempSP = v;
            return true;
        case kCodeExpectedTime:
            s.batch.expectedTime = v;
            return true;
        case kCodeSumpTemperature:
            s.batch.sumpTemperature = v;
            return true;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return false;
}

bool ChooseWaveform(VelmorState& s, Exercise e, std::int32_t type)
{
    if (!HasWaveform(e) || s.keypad.suppressWaveformClick ||
        (e == Exercise::Open && s.open.openActivating)) {
        return false;
    }
    switch (e) {
    case Exercise::Flow:
        s.flow.flowWaveform = type;
        break;
    case Exercise::Level:
        s.level.levelWaveform = type;
        break;
    default:
        s.open.openWaveform = type;
        break;
    }
    return true;
}

void InitValues(VelmorState& s, Exercise e)
{
    RunState& r = s.run;
    switch (e) {
    case Exercise::Flow: {
        FlowUnit& f = s.flow;
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
        break;
    }
    case Exercise::Level: {
        LevelUnit& l = s.level;
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
        break;
    }
    case Exercise::Open: {
        OpenUnit& o = s.open;
        r.samplePeriod = 0.1f;
        r.outputPercent = 80;
        r.flowRate = 0;
        o.openWaveform = kFlat;
        o.waveParams = WaveParams::WithDefaults(80.0f, 10.0f, 25.0f);
        o.openWaveformAtStart = o.openWaveform;
        break;
    }
    case Exercise::Temperature: {
        TemperatureUnit& t = s.temp;
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
        break;
    }
    case Exercise::Batch: {
        BatchUnit& b = s.batch;
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
        break;
    }
    }
}

void OpenExerciseState(VelmorState& s, Exercise e, bool fresh)
{
    TrendViewState& tv = s.trend;
    tv.trendNoData = fresh;
    s.shell.currentForm = std::string(FormName(e));

    // The Trends window comes first.
    tv.trendInitialising = true;
    tv.trendSpan = DefaultTrendSpan(e);
    tv.trendViewStart = 0;
    s.run.pumpOn = false;
    s.run.gateValvePercent = 100;
    s.log.secondIndex.fill(1);
    tv.hoverX = 0;
    tv.hoverY = 0;
    tv.savedColumnX = 0;
    tv.trendClosing = false;

    // Then the exercise window, its check boxes as laid out.
    InitValues(s, e);
    tv.cursorShown = false;
    switch (e) {
    case Exercise::Flow:
        s.flow.chkI = s.flow.chkD = true;
        s.run.outputPercent = 0;
        s.flow.flowManual = false;
        s.flow.lightState = 0;
        break;
    case Exercise::Level:
        s.level.chkI = s.level.chkD = true;
        s.level.chkAutodrain = false;
        break;
    case Exercise::Temperature:
        s.temp.chkI = s.temp.chkD = true;
        s.temp.lightState = 0;
        break;
    case Exercise::Batch:
        s.batch.chkVolI = s.batch.chkVolD = true;
        s.batch.chkTempI = s.batch.chkTempD = true;
        break;
    case Exercise::Open:
        s.open.openActivating = false;
        break;
    }
}

namespace {

void SendPanel(PidLoop loop, float& gain, float& integralTime, float& derivativeTime, bool& iOn,
               bool& dOn)
{
    gain = loop.gain;
    integralTime = loop.integralTime;
    derivativeTime = loop.derivativeTime;
    iOn = loop.chkI;
    dOn = loop.chkD;
}

void UpdatePanel(PidLoop loop, float gain, float integralTime, float derivativeTime, bool iOn,
                 bool dOn)
{
    loop.gain = gain;
    loop.band = static_cast<float>(100 / static_cast<Real>(gain));
    loop.integralTime = integralTime;
    loop.derivativeTime = derivativeTime;
    SetIBox(loop, iOn);
    SetDBox(loop, dOn);
}

void SetWaveABC(WaveParams& p, std::int32_t type, float a, float b, float c)
{
    p.setA(type, a);
    p.setB(type, b);
    p.setC(type, c);
}

} // namespace

void SendSettings(VelmorState& s, Exercise e)
{
    SimSettings& ss = s.simSettings;
    switch (e) {
    case Exercise::Flow: {
        FlowUnit& f = s.flow;
        SendPanel(FlowLoop(s), ss.flowGain, ss.flowIntegralTime, ss.flowDerivativeTime, ss.flowIOn,
                  ss.flowDOn);
        ss.flowSetPoint = f.flowLastSP;
        ss.flowRate = f.flowLastPV;
        ss.flowManual = f.flowManual;
        ss.waveformType = f.flowWaveformAtStart;
        ss.flowA = f.waveParams.A(f.flowWaveform);
        ss.flowB = f.waveParams.B(f.flowWaveform);
        ss.flowC = f.waveParams.C(f.flowWaveform);
        break;
    }
    case Exercise::Level: {
        LevelUnit& l = s.level;
        SendPanel(LevelLoop(s), ss.levelGain, ss.levelIntegralTime, ss.levelDerivativeTime,
                  ss.levelIOn, ss.levelDOn);
        ss.levelA = l.waveParams.A(l.levelWaveformAtStart);
        ss.levelB = l.waveParams.B(l.levelWaveformAtStart);
        ss.levelC = l.waveParams.C(l.levelWaveformAtStart);
        ss.waveformType = l.levelWaveformAtStart;
        ss.levelSetPoint = l.levelLastSP;
        ss.levelPercent = l.levelLastPV;
        ss.initialLevel = l.initialLevel;
        break;
    }
    case Exercise::Open: {
        OpenUnit& o = s.open;
        ss.openOutput = o.openLastOutput;
        ss.openFlow = o.openLastFlow;
        ss.openA = o.waveParams.A(o.openWaveform);
        ss.openB = o.waveParams.B(o.openWaveform);
        ss.openC = o.waveParams.C(o.openWaveform);
        ss.waveformType = o.openWaveform;
        break;
    }
    case Exercise::Temperature: {
        TemperatureUnit& t = s.temp;
        SendPanel(TemperatureLoop(s), ss.tempGain, ss.tempIntegralTime, ss.tempDerivativeTime,
                  ss.tempIOn, ss.tempDOn);
        ss.tempSetPoint = t.tempLastSP;
        ss.measuredTemperature = t.tempLastPV;
        ss.initialTemperature = t.initialTemperature;
        break;
    }
    case Exercise::Batch: {
        BatchUnit& b = s.batch;
        SendPanel(BatchVolumeLoop(s), ss.volGain, ss.volIntegralTime, ss.volDerivativeTime,
                  ss.volIOn, ss.volDOn);
        ss.volumeSetPoint = b.batchVolumeSP;
        ss.expectedTime = b.expectedTime;
        SendPanel(BatchTemperatureLoop(s), ss.tempGain, ss.tempIntegralTime, ss.tempDerivativeTime,
                  ss.tempIOn, ss.tempDOn);
        ss.tempSetPoint = b.batchLastTempSP;
        ss.sumpTemperature = b.sumpTemperature;
        break;
    }
    }
}

void UpdateSettings(VelmorState& s, Exercise e)
{
    const SimSettings& ss = s.simSettings;
    RunState& r = s.run;
    switch (e) {
    case Exercise::Flow: {
        FlowUnit& f = s.flow;
        UpdatePanel(FlowLoop(s), ss.flowGain, ss.flowIntegralTime, ss.flowDerivativeTime,
                    ss.flowIOn, ss.flowDOn);
        r.flowSetPoint = ss.flowSetPoint;
        f.flowLastSP = ss.flowSetPoint;
        r.flowRate = ss.flowRate;
        f.flowLastPV = ss.flowRate;
        f.flowManual = ss.flowManual;
        f.flowWaveform = ss.waveformType;
        f.flowWaveformAtStart = f.flowWaveform;
        SetWaveABC(f.waveParams, f.flowWaveform, ss.flowA, ss.flowB, ss.flowC);
        break;
    }
    case Exercise::Level: {
        LevelUnit& l = s.level;
        UpdatePanel(LevelLoop(s), ss.levelGain, ss.levelIntegralTime, ss.levelDerivativeTime,
                    ss.levelIOn, ss.levelDOn);
        r.levelSetPoint = ss.levelSetPoint;
        l.levelLastSP = ss.levelSetPoint;
        r.levelPercent = ss.levelPercent;
        l.levelLastPV = ss.levelPercent;
        l.initialLevel = ss.initialLevel;
        l.levelWaveform = ss.waveformType;
        l.levelWaveformAtStart = l.levelWaveform;
        SetWaveABC(l.waveParams, l.levelWaveform, ss.levelA, ss.levelB, ss.levelC);
        break;
    }
    case Exercise::Open: {
        OpenUnit& o = s.open;
        r.outputPercent = ss.openOutput;
        o.openLastOutput = ss.openOutput;
        r.flowRate = ss.openFlow;
        o.openLastFlow = ss.openFlow;
        o.openWaveform = ss.waveformType;
        o.openWaveformAtStart = o.openWaveform;
        SetWaveABC(o.waveParams, o.openWaveform, ss.openA, ss.openB, ss.openC);
        break;
    }
    case Exercise::Temperature: {
        TemperatureUnit& t = s.temp;
        UpdatePanel(TemperatureLoop(s), ss.tempGain, ss.tempIntegralTime, ss.tempDerivativeTime,
                    ss.tempIOn, ss.tempDOn);
        t.tempEnteredSP = ss.tempSetPoint;
        r.tempSetPoint = t.tempEnteredSP;
        t.initialTemperature = ss.initialTemperature;
        r.measuredTemperature = ss.measuredTemperature;
        break;
    }
    case Exercise::Batch: {
        BatchUnit& b = s.batch;
        UpdatePanel(BatchVolumeLoop(s), ss.volGain, ss.volIntegralTime, ss.volDerivativeTime,
                    ss.volIOn, ss.volDOn);
        b.batchVolumeSP = ss.volumeSetPoint;
        b.expectedTime = ss.expectedTime;
        UpdatePanel(BatchTemperatureLoop(s), ss.tempGain, ss.tempIntegralTime,
                    ss.tempDerivativeTime, ss.tempIOn, ss.tempDOn);
        b.batchTempSP = ss.tempSetPoint;
        r.tempSetPoint = ss.tempSetPoint;
        b.batchLastTempSP = ss.tempSetPoint;
        b.sumpTemperature = ss.sumpTemperature;
        break;
    }
    }
}

} // namespace velmor
