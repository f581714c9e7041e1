// The whole process-wide state of VELMOR in one aggregate.
//
// main() creates one VelmorState and hands it to every window; each test
// makes a fresh one. Member names are the names every window, engine and file
// routine uses. Units: flows in L/min, temperatures in degrees C, volumes in
// litres (L), outputs and levels in percent, times in seconds (s) unless a
// member says minutes, controller values in counts (0..255 full scale).
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
    float volumeSetPoint = 0;            // L
    float levelSetPoint = 0;             // percent of a full tank
    float flowRate = 0;                  // L/min
    float outputPercent = 0;             // pump drive, percent
    float measuredTemperature = 0;       // degrees C
    float heaterPercent = 0;             // percent
    float measuredVolume = 0;            // L
    float levelPercent = 0;              // percent of a full tank
    std::int32_t gateValvePercent = 100; // percent open, 0..100 in steps of 10
    bool pumpOn = false;
};

// What the rest of the program keeps of the Trends window: its time base
// (the Ramp waveform's period, a velmor-sim setting and a loaded file's
// span) and whether the open exercise has any trend data yet. How the
// window draws and browses is its own state.
struct TrendSettings {
    std::int32_t trendSpan = 60; // s, 20..180 in steps of 10
    // No run and no loaded file has given the open exercise trend data
    // (set when it is chosen afresh; a run's Start and a loaded trend
    // clear it): browsing is off.
    bool trendNoData = false;
};

// Controller values common to the loops, as each loop's members name them:
// errors in counts (the measured range mapped to 0..255), error integrals in
// counts x s, error rates in counts / s, outputs in counts 0..255; PG is
// counts of output per count of error, PB = 100 / PG in percent.

struct FlowUnit {
    float flowGain = 1;            // PG
    float flowBand = 100;          // PB = 100 / PG, percent
    float flowIntegralTime = 0.8f; // I, s (the integral term is integral / I)
    float flowDerivativeTime = 0;  // D, s (the derivative term is D x rate)
    std::int32_t flowIntegralOn = 1;
    std::int32_t flowDerivativeOn = 1;
    bool chkI = true; // the panel's check boxes
    bool chkD = true;
    bool flowManual = false; // control mode: Manual when set
    std::int32_t flowWaveform = kFlat;
    std::int32_t flowWaveformAtStart = 0;
    // A and B in L/min, C in s.
    WaveParams waveParams = WaveParams::WithDefaults(1.5f, 0.5f, 25.0f);
    float flowError = 0;     // counts (2 L/min = 255)
    float flowPrevError = 0; // counts
    float flowIntegral = 0;  // counts x s
    float flowErrorRate = 0; // counts / s
    float flowLastSP = 0;    // L/min
    float flowLastPV = 0;    // L/min
    std::int32_t flowSegment = 0;
    std::int32_t flowTick = 0;
    double flowSimTime = 0;      // s
    std::int32_t flowCounts = 0; // output of the previous cycle, counts
    FlowPlant plant;
    std::int32_t lightState = 0;     // run indicator: 0 none, 1 green, 2 red
    std::int32_t panelFontSize = 10; // points
};

struct LevelUnit {
    float levelGain = 10;          // PG
    float levelBand = 10;          // PB = 100 / PG, percent
    float levelIntegralTime = 20;  // I (the integral term is integral / I x 60)
    float levelDerivativeTime = 0; // D (the derivative term is rate x D / 60)
    std::int32_t levelIntegralOn = 1;
    std::int32_t levelDerivativeOn = 1;
    bool chkI = true;
    bool chkD = true;
    bool chkAutodrain = false;
    std::int32_t initialLevel = 0; // whole percent 0..100
    float tankVolume = 0;          // L, at most 3.23
    bool drainOpen = false;
    std::int32_t drainCountdown = 0; // samples
    float levelError = 0;            // counts (100 % = 255)
    float levelPrevError = 0;        // counts
    float levelIntegral = 0;         // counts x s
    float levelErrorRate = 0;        // counts / s
    float levelLastSP = 0;           // percent
    float levelLastPV = 0;           // percent
    std::int32_t levelWaveform = kFlat;
    std::int32_t levelWaveformAtStart = 0;
    // A and B in percent, C in s.
    WaveParams waveParams = WaveParams::WithDefaults(80.0f, 20.0f, 25.0f);
    std::int32_t levelSegment = 0;
    std::int32_t levelTick = 0;
    double levelSimTime = 0;      // s
    std::int32_t levelCounts = 0; // measured level, counts
    FlowPlant plant;
    std::int32_t panelFontSize = 10; // points
};

struct OpenUnit {
    std::int32_t openWaveform = kFlat;
    std::int32_t openWaveformAtStart = kFlat;
    // A and B in percent of pump drive, C in s.
    WaveParams waveParams = WaveParams::WithDefaults(80.0f, 10.0f, 25.0f);
    std::int32_t openTick = 0;
    double openSimTime = 0;   // s
    float openLastOutput = 0; // percent
    float openLastFlow = 0;   // L/min
    std::int32_t openSegment = 0;
    bool openActivating = false;
    FlowPlant plant;
    std::int32_t panelFontSize = 10; // points
};

struct TemperatureUnit {
    float tempGain = 10;          // PG
    float tempBand = 10;          // PB = 100 / PG, percent
    float tempIntegralTime = 45;  // I, minutes (the integral term is integral / I / 60)
    float tempDerivativeTime = 0; // D (the derivative term is rate x D / 60)
    std::int32_t tempIntegralOn = 1;
    std::int32_t tempDerivativeOn = 1;
    bool chkI = true;
    bool chkD = true;
    float tempEnteredSP = 30;      // degrees C
    float initialTemperature = 20; // degrees C
    std::int32_t tempTick = 0;
    double tempSimTime = 0;  // s
    float tempError = 0;     // counts (100 degrees C = 255)
    float tempIntegral = 0;  // counts x s
    float tempErrorRate = 0; // counts / s
    float tempPrevError = 0; // counts
    std::int32_t tempSegment = 0;
    float tempLastSP = 0;            // degrees C
    float tempLastPV = 0;            // degrees C
    std::int32_t measuredCounts = 0; // measured temperature, counts
    TemperatureModel model;
    std::int32_t lightState = 0;     // run indicator: 0 none, 1 green, 2 red
    std::int32_t panelFontSize = 10; // points
};

struct BatchUnit {
    // Volume loop: error in counts of flow (1 L/min = 127.5).
    float volGain = 0.5f;        // PG
    float volBand = 200;         // PB = 100 / PG, percent
    float volIntegralTime = 5;   // I, s (the integral term is integral / I)
    float volDerivativeTime = 0; // D, s (the derivative term is D x rate)
    // Temperature loop: error in counts (100 degrees C = 255).
    float batchTempGain = 1;           // PG
    float batchTempBand = 100;         // PB = 100 / PG, percent
    float batchTempIntegralTime = 400; // I (the integral term is integral / I x 60)
    float batchTempDerivativeTime = 0; // D (the derivative term is D x 60 x rate)
    std::int32_t volIntegralOn = 1;
    std::int32_t volDerivativeOn = 1;
    std::int32_t batchTempIntegralOn = 1;
    std::int32_t batchTempDerivativeOn = 1;
    bool chkVolI = true;
    bool chkVolD = true;
    bool chkTempI = true;
    bool chkTempD = true;
    float batchVolumeSP = 1.5f; // L
    float batchTempSP = 30;     // degrees C
    float expectedTime = 180;   // s
    float sumpTemperature = 20; // degrees C
    std::int32_t batchTick = 0;
    double batchSimTime = 0;       // s
    float requiredFlow = 0;        // L/min
    float volIntegral = 0;         // counts x s
    float volErrorRate = 0;        // counts / s
    float volPrevError = 0;        // counts
    float batchTempError = 0;      // counts
    float batchTempIntegral = 0;   // counts x s
    float batchTempErrorRate = 0;  // counts / s
    float batchTempPrevError = 0;  // counts
    std::int32_t batchSegment = 0; // shared by both loops
    float batchLastTempSP = 0;     // degrees C
    std::int32_t flowCounts = 0;   // measured flow, counts (2 L/min = 255)
    // Flow model with a double output (this loop keeps y in 64 bits):
    // inputs are percent / 20, outputs L/min x 5 / 2.
    double u0 = 0, u1 = 0, u2 = 0, u3 = 0;
    double y = 0, y1 = 0, y2 = 0;
    TemperatureModel model;
    std::int32_t panelFontSize = 10; // points
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
    // The heat input, which no control sets: the dial stays at setting 0.
    std::int32_t manualHeatSetting = 0;
};

// The interface language. English is the source text of every window text;
// each other language is a catalogue the windows load (ui/common/Language).
enum class Language { English, Spanish };

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
    Language language = Language::English;
    bool decimalComma = false;
    bool largeFonts = false;
};

// The keypad's values are in the unit of the box that opened it.
struct KeypadState {
    float keypadOld = 0;
    float keypadMin = 0;
    float keypadMax = 0;
    std::int32_t keypadTarget = 0;
    std::int32_t keypadTargetCopy = 0;
    float keypadValue = 0;
    // The box takes whole numbers only (the conversion message says so).
    bool keypadWhole = false;
    bool suppressWaveformClick = false;
    bool separatorTyped = false;
};

struct VelmorState {
    RunState run;
    SampleLog log;
    TrendSettings trend;
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
