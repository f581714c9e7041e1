// The whole process-wide state of VELMOR in one aggregate.
//
// main() creates one VelmorState and hands it to every window; each test
// makes a fresh one. Member names are the names every window, engine and file
// routine uses. Units: flows in L/min, temperatures in degrees C, volumes in
// litres, outputs and levels in percent, times in seconds, controller
// outputs in counts 0..255.
#pragma once

#include "core/exercises/FlowPlant.h"
#include "core/exercises/TemperatureModel.h"
#include "core/exercises/Waveform.h"
#include "core/rundata/SampleLog.h"
#include "core/rundata/SimSettings.h"

#include <array>
#include <cstdint>
#include <string>

namespace velmor {

// Run control and the current values that the Trends window plots.
struct RunState {
    bool runActive = false;
    std::int32_t sampleCount = 0;        // records written in this run, 0..6000
    float samplePeriod = 0.1f;           // s per sample
    float flowSetPoint = 0;              // L/min
    float tempSetPoint = 0;              // degrees C
    float volumeSetPoint = 0;            // litres
    float levelSetPoint = 0;             // percent
    float flowRate = 0;                  // L/min
    float outputPercent = 0;             // pump drive, percent
    float measuredTemperature = 0;       // degrees C
    float heaterPercent = 0;             // percent
    float measuredVolume = 0;            // litres
    float levelPercent = 0;              // percent of a full tank
    std::int32_t gateValvePercent = 100; // 0..100 in steps of 10
    bool pumpOn = false;
};

// What the Trends window shows and how far it has drawn.
struct TrendViewState {
    std::int32_t trendViewStart = 0; // s, first second on the time axis
    std::int32_t trendSpan = 60;     // s, 20..180 in steps of 10
    bool trendLive = false;
    std::int32_t trendX = 38;
    std::int32_t trendPrevX = 38;
    std::int32_t trendPrevSP = 358;
    std::int32_t trendPrevPV = 358;
    std::int32_t trendPrevOutput = 358;
    std::int32_t trendPrevTempSP = 358;
    std::int32_t trendPrevTemp = 358;
    std::int32_t trendPrevHeater = 358;
    std::int32_t trendPrevVolumeSP = 358;
    std::int32_t trendPrevVolume = 358;
    std::int32_t trendPrevLevelSP = 358;
    std::int32_t trendPrevLevel = 358;
    std::int32_t trendSegmentShown = 0;
    std::int32_t pointSegment = 0;
    std::int32_t plottedSegment = 0;
    bool trendInitialising = false;
    bool trendClosing = false;
    std::int32_t trendFontSize = 9;
    bool cursorShown = false;
    std::int32_t cursorX = 38;
    std::int32_t cursorRecord = 0;
    std::int32_t savedColumnX = 0;
    bool trendNoData = false;
    std::int32_t hoverBlock = 0;
    std::int32_t litArrow = 0;
    std::int32_t hoverX = 0;
    std::int32_t hoverY = 0;
    std::int32_t hoverRecord = 0;
};

struct FlowUnit {
    float flowGain = 1;            // PG
    float flowBand = 100;          // PB = 100 / PG
    float flowIntegralTime = 0.8f; // s
    float flowDerivativeTime = 0;  // s
    std::int32_t flowIntegralOn = 1;
    std::int32_t flowDerivativeOn = 1;
    bool chkI = true; // the panel's check boxes
    bool chkD = true;
    bool flowManual = false; // control mode: Manual when set
    std::int32_t flowWaveform = kFlat;
    std::int32_t flowWaveformAtStart = 0;
    WaveParams waveParams = WaveParams::WithDefaults(1.5f, 0.5f, 25.0f);
    float flowError = 0; // counts
    float flowPrevError = 0;
    float flowIntegral = 0;  // counts x s
    float flowErrorRate = 0; // counts / s
    float flowLastSP = 0;
    float flowLastPV = 0;
    std::int32_t flowSegment = 0;
    std::int32_t flowTick = 0;
    double flowSimTime = 0;      // s
    std::int32_t flowCounts = 0; // output of the previous cycle, counts
    FlowPlant plant;
    std::int32_t lightState = 0; // run indicator: 0 none, 1 green, 2 red
    std::int32_t panelFontSize = 10;
};

struct LevelUnit {
    float levelGain = 10;
    float levelBand = 10;
    float levelIntegralTime = 20;
    float levelDerivativeTime = 0;
    std::int32_t levelIntegralOn = 1;
    std::int32_t levelDerivativeOn = 1;
    bool chkI = true;
    bool chkD = true;
    bool chkAutodrain = false;
    std::int32_t initialLevel = 0; // whole percent 0..100
    float tankVolume = 0;          // litres, at most 3.23
    bool drainOpen = false;
    std::int32_t drainCountdown = 0;
    float levelError = 0;
    float levelPrevError = 0;
    float levelIntegral = 0;
    float levelErrorRate = 0;
    float levelLastSP = 0;
    float levelLastPV = 0;
    std::int32_t levelWaveform = kFlat;
    std::int32_t levelWaveformAtStart = 0;
    WaveParams waveParams = WaveParams::WithDefaults(80.0f, 20.0f, 25.0f);
    std::int32_t levelSegment = 0;
    std::int32_t levelTick = 0;
    double levelSimTime = 0;
    std::int32_t levelCounts = 0; // measured level, counts
    FlowPlant plant;
    std::int32_t panelFontSize = 10;
};

struct OpenUnit {
    std::int32_t openWaveform = kFlat;
    std::int32_t openWaveformAtStart = kFlat;
    WaveParams waveParams = WaveParams::WithDefaults(80.0f, 10.0f, 25.0f);
    std::int32_t openTick = 0;
    double openSimTime = 0;
    float openLastOutput = 0;
    float openLastFlow = 0;
    std::int32_t openSegment = 0;
    bool openActivating = false;
    FlowPlant plant;
    std::int32_t panelFontSize = 10;
};

struct TemperatureUnit {
    float tempGain = 10;
    float tempBand = 10;
    float tempIntegralTime = 45; // minutes
    float tempDerivativeTime = 0;
    std::int32_t tempIntegralOn = 1;
    std::int32_t tempDerivativeOn = 1;
    bool chkI = true;
    bool chkD = true;
    float tempEnteredSP = 30;      // degrees C
    float initialTemperature = 20; // degrees C
    std::int32_t tempTick = 0;
    double tempSimTime = 0;
    float tempError = 0;
    float tempIntegral = 0;
    float tempErrorRate = 0;
    float tempPrevError = 0;
    std::int32_t tempSegment = 0;
    float tempLastSP = 0;
    float tempLastPV = 0;
    std::int32_t measuredCounts = 0;
    TemperatureModel model;
    std::int32_t lightState = 0;
    std::int32_t panelFontSize = 10;
};

struct BatchUnit {
    float volGain = 0.5f;
    float volBand = 200;
    float volIntegralTime = 5;
    float volDerivativeTime = 0;
    float batchTempGain = 1;
    float batchTempBand = 100;
    float batchTempIntegralTime = 400;
    float batchTempDerivativeTime = 0;
    std::int32_t volIntegralOn = 1;
    std::int32_t volDerivativeOn = 1;
    std::int32_t batchTempIntegralOn = 1;
    std::int32_t batchTempDerivativeOn = 1;
    bool chkVolI = true;
    bool chkVolD = true;
    bool chkTempI = true;
    bool chkTempD = true;
    float batchVolumeSP = 1.5f; // litres
    float batchTempSP = 30;     // degrees C
    float expectedTime = 180;   // s
    float sumpTemperature = 20; // degrees C
    std::int32_t batchTick = 0;
    double batchSimTime = 0;
    float requiredFlow = 0; // L/min
    float volIntegral = 0;
    float volErrorRate = 0;
    float volPrevError = 0;
    float batchTempError = 0;
    float batchTempIntegral = 0;
    float batchTempErrorRate = 0;
    float batchTempPrevError = 0;
    std::int32_t batchSegment = 0;
    float batchLastTempSP = 0;
    std::int32_t flowCounts = 0;
    // Flow model with a double output (this loop keeps y in 64 bits).
    double u0 = 0, u1 = 0, u2 = 0, u3 = 0;
    double y = 0, y1 = 0, y2 = 0;
    TemperatureModel model;
    std::int32_t panelFontSize = 10;
};

// The hand-operated rig of the mimic window. Set again at every opening
// of the window; the clock is the steady clock in milliseconds.
struct MimicUnit {
    std::int32_t pumpKnobX = 10;        // pixels on the slider, 10..114
    std::int64_t knobMoveAllowedAt = 0; // ms; knob moves wait until then
    bool mimicDrainOpen = false;
    bool mimicDiverted = false; // the pumped flow goes through the cooler
    bool mimicCoolerOn = false;
    bool mimicStirrerOn = false;
    float mimicLevel = 50;    // percent of a full tank (3.23 L)
    float mimicTankTemp = 20; // degrees C
    float mimicSumpTemp = 20; // degrees C
    float mimicFlowTemp = 20; // degrees C
    double mimicNow = 0;      // s, this update's clock reading
    double mimicPrevTime = 0; // s, the previous update's
    bool mimicTankNotFull = true;
    bool mimicFlowing = false; // the pump-flow path is shown
    bool directPathShown = false;
    bool coolerPathShown = false;
    bool drainPathShown = false;
    bool overflowPathShown = false;
    bool sumpPathShown = false;
    std::int32_t stirrerFrame = 2;  // next frame, 1..4
    std::int32_t fanFrame = 2;      // next frame, 1..3
    std::int32_t heatDialPos = 0;   // dial units last drawn
    std::int32_t levelBarUnits = 0; // 0..250, last drawn
    // Heat inputs that no control sets: the read-out stays "0.0".
    std::int32_t manualHeatSetting = 0;
    double manualHeatFactor = 0;
};

struct ShellState {
    std::string currentForm = "frmMain";
    bool menuAllowed = true;
    bool appRunning = true;
    bool closing = false;
    bool trendsOpen = false;
    bool menuShown = false;
    bool showEasyMenu = false;
    bool startMaximised = false;
    bool showToolbar = false;
    bool langEnglish = true;
    bool langSpanish = false;
    bool langFrench = false;
    bool langItalian = false;
    bool langGerman = false;
    bool decimalComma = false;
    bool largeFonts = false;
    std::int32_t halfWidth = 388;
    std::int32_t halfHeight = 289;
};

struct KeypadState {
    float keypadOld = 0;
    float keypadMin = 0;
    float keypadMax = 0;
    std::int32_t keypadTarget = 0;
    std::int32_t keypadTargetCopy = 0;
    float keypadValue = 0;
    bool suppressWaveformClick = false;
    bool separatorTyped = false;
};

struct VelmorState {
    RunState run;
    SampleLog log;
    TrendViewState trend;
    FlowUnit flow;
    LevelUnit level;
    OpenUnit open;
    TemperatureUnit temp;
    BatchUnit batch;
    MimicUnit mimic;
    ShellState shell;
    KeypadState keypad;
    SimSettings simSettings;
};

} // namespace velmor
