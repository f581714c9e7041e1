// What sets the loop exercises apart, one table per exercise: names, value
// boxes and their keypad limits, settings lines, velmor-sim setting names,
// record columns, the fields cleared at Start, the engine's steps, the
// controlled loops and the Trends window's configuration. Everything that
// used to ask "which exercise is this?" reads the profile instead, so a new
// setting is added in one place, and a new exercise is one more profile
// (built in below, or registered with RegisterExercise).
#pragma once

#include "core/exercises/ControllerSettings.h"
#include "core/exercises/Exercise.h"
#include "core/exercises/LoopEngine.h"
#include "core/exercises/LoopTraces.h"
#include "core/rundata/Columns.h"
#include "core/rundata/SettingsLines.h"
#include "core/rundata/State.h"
#include "core/trends/TrendTables.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace velmor {

using LoopOf = PidLoop (*)(VelmorState&);

// ---- Value boxes -----------------------------------------------------------

enum class BoxKind {
    Pid,     // PG, PB, I or D of a controller panel
    WaveRow, // row 1, 2 or 3 of the waveform panel (absent when blank)
    Value,   // any other box: set points, initial values, times
};

// A clickable value box: its keypad code, the limits the keypad enforces
// and what the box shows and does with an accepted value.
struct KeypadBox {
    int code;
    BoxKind kind;
    float min; // keypad limits, inclusive, in the unit of the value shown
    float max;
    LoopOf loop = nullptr;                       // Pid: the controller
    int panelCode = 0;                           // Pid: kCodePG .. kCodeD within it
    float (*get)(VelmorState&) = nullptr;        // Value: the value shown (keypadOld)
    void (*set)(VelmorState&, float) = nullptr;  // Value: UpdateDisplay's effect
    bool idleOnly = false;                       // takes no entry while a run is active
    KeypadNumber number = KeypadNumber::Decimal; // what it takes, for the keypad's message
};

// ---- velmor-sim settings ---------------------------------------------------

enum class SettingKind {
    Keypad,      // a value box, by `code`
    WaveRow,     // waveA / waveB / waveC: `code` is the row for non-Ramp types
    IBox,        // the I check box of `loop`
    DBox,        // the D check box of `loop`
    Autodrain,   // Fluid level's Auto drain box (runs the D box's handler)
    Waveform,    // the waveform radio buttons, 1..5
    ControlMode, // Flow's PID / Manual button
    Pump,        // the Trends window's pump button
    Gate,        // the gate valve buttons, 0..100 in steps of 10
    TrendSpan,   // the Trends window's time base, 20..180 s in steps of 10
};

// A name and all it takes to check and apply a value given to it: the
// value box a Keypad or WaveRow name types into (its limits, what it shows
// and does), the controller of a check box.
struct NamedSetting {
    std::string_view name;
    SettingKind kind;
    const KeypadBox* box = nullptr; // Keypad, WaveRow
    LoopOf loop = nullptr;          // IBox, DBox
};

// ---- Settings block --------------------------------------------------------

// A controller panel's entries in the settings block (SendSettings and
// UpdateSettings copy these both ways; PB is recomputed from PG).
struct PanelTransfer {
    LoopOf loop;
    float SimSettings::*gain;
    float SimSettings::*integralTime; // units as the loop's own I
    float SimSettings::*derivativeTime;
    bool SimSettings::*iOn;
    bool SimSettings::*dOn;
};

// ---- Trends window ---------------------------------------------------------

enum class ScalePicture {
    None,     // the panel's own 0..100 scale
    FlowRate, // 0.0..2.0 L/min
    Litres,   // 0.0..6.0 L
};

// Where a loop's column stands in the settings box under the plot: at the
// box's right, or left of that one in an exercise with two loops. Flow's
// lone column stands a little further in (its box is narrower).
enum class ColumnPlace { Right, RightInset, Left };

// One loop's column in the settings box: its four labels (gain, band,
// integral, derivative; English source texts), its place and the record
// fields its values are read from.
struct SettingsColumn {
    std::array<const char*, 4> labels;
    ColumnPlace place;
    int gainField;
    int integralField;
    int derivativeField;
};

struct TrendsProfile {
    const char* caption;   // window caption (English source text)
    const char* leftUnit;  // lblLeftUnit
    const char* rightUnit; // lblRightUnit
    ScalePicture scale;
    std::span<const TraceId> checked;  // traces shown from the start
    std::span<const TraceId> disabled; // boxes disabled on silver
    bool levelBoxes;                   // level boxes in place of the flow SP / MV boxes
    bool gateValve;                    // gate valve box and buttons
    std::span<const SettingsColumn> settingsColumns; // empty: no settings box
};

// ---- The profile -----------------------------------------------------------

struct ExerciseProfile {
    Exercise exercise;
    std::string_view formName;    // "frmFlow"
    std::string_view commandWord; // velmor-sim's word: "flow"
    std::string_view firstLine;   // first line of its simulation files
    std::int32_t trendSpan;       // s, the Trends window's initial time base

    std::span<const KeypadBox> boxes;
    // The waveform type and parameters (null: no waveform panel).
    std::int32_t (*waveform)(const VelmorState&);
    void (*setWaveform)(VelmorState&, std::int32_t);
    WaveParams& (*waveParams)(VelmorState&);
    // Whether the radio buttons only snap back now (besides the open keypad).
    bool (*waveformBlocked)(const VelmorState&);
    // The window treats a value equal to the old one as no entry at all.
    bool unchangedIsNoEntry;

    std::span<const SettingLine> settingsLines; // file order
    std::span<const NamedSetting> settingNames; // velmor-sim --set / --at
    std::span<const Column> columns;            // record columns of its files
    std::span<const int> logFields;             // record fields cleared at Start

    std::span<const PanelTransfer> panels; // controller panels, file order
    std::span<const LoopTraces> loops;     // controlled loops, in the order they are reported
    void (*initValues)(VelmorState&);      // the window's defaults
    void (*windowCreated)(VelmorState&);   // what only window creation resets
    void (*sendRest)(VelmorState&);        // SendSettings after the panels
    void (*updateRest)(VelmorState&);      // UpdateSettings after the panels

    const EngineSteps* engineSteps; // what its engine does in each step of a run

    TrendsProfile trends;

    const KeypadBox* box(int code) const;
    const NamedSetting* setting(std::string_view name) const;
};

// ---- The registry ----------------------------------------------------------

// The profile of a registered exercise (an id no exercise has is a fault of
// the caller: std::out_of_range).
const ExerciseProfile& ProfileOf(Exercise e);
const ExerciseProfile* FindProfile(Exercise e);

// Every registered profile: the five in the order of the Exercise
// enumeration, then those registered beside them.
std::span<const ExerciseProfile* const> Profiles();
// The five built-in rows, in the order of the Exercise enumeration.
std::span<const ExerciseProfile> BuiltInProfiles();

// The word a simulation file's first line starts with: "Flow" of "Flow
// Simulation".
std::string_view FileWord(const ExerciseProfile& p);

// Adds an exercise beside the five, for every reader of the registry (file
// reader and writer, analysis, velmor-sim, settings by name). The profile
// must live as long as it is registered. Refused, with the reason, when its
// id, window name, command word or file word is taken already. Register
// before anything reads the registry on another thread (a sweep).
std::string RegisterExercise(const ExerciseProfile& profile);
// Takes a registered exercise out again; the five built-in ones stay.
void UnregisterExercise(Exercise e);

} // namespace velmor
