// What the exercise windows do with their settings: keypad codes and their
// effects, the I and D switches, waveform choice, defaults, and the hand-over
// to and from the settings block. The windows call these and then redraw;
// velmor-sim calls the very same functions.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/State.h"
#include "core/shell/KeypadEntry.h"

#include <cstdint>
#include <optional>

namespace velmor {

// One controller's settings, bound to the named members of its exercise.
// I and D are in the loop's own unit (see its members in State.h).
struct PidLoop {
    float& gain; // PG
    float& band; // PB = 100 / PG, percent
    float& integralTime;
    float& derivativeTime;
    std::int32_t& integralOn;
    std::int32_t& derivativeOn;
    float& integral;       // error integral, counts x s
    std::int32_t& segment; // settings segment
    bool& chkI;            // the I check box
    bool& chkD;            // the D check box
};

PidLoop FlowLoop(VelmorState& s);
PidLoop LevelLoop(VelmorState& s);
PidLoop TemperatureLoop(VelmorState& s);
PidLoop BatchVolumeLoop(VelmorState& s);
PidLoop BatchTemperatureLoop(VelmorState& s);

// Keypad codes of the value boxes.
enum KeypadCode : int {
    kCodePG = 1,
    kCodePB = 2,
    kCodeI = 3,
    kCodeD = 4,
    kCodeWaveRow1 = 5,
    kCodeWaveRow2 = 6,
    kCodeWaveRow3 = 7,
    kCodeSetPoint = 9,      // Level: initial level; Temperature: set point;
                            // Batch: volume set point
    kCodeInitialValue = 10, // Temperature
    kCodeTempPG = 11,       // Batch temperature loop: 11..14
    kCodeTempPB = 12,
    kCodeTempI = 13,
    kCodeTempD = 14,
    kCodeBatchTempSP = 19,
    kCodeExpectedTime = 20,
    kCodeSumpTemperature = 21,
};

// A panel entry (code 1..4 relative to the loop): PG/PB coupling, the
// integral rescale on a new I, a new settings segment.
void ApplyPidEntry(PidLoop loop, int panelCode, float v);

// The I and D check boxes. Setting a box to a new state runs its handler;
// setting it to the state it has does nothing.
void SetIBox(PidLoop loop, bool checked);
void SetDBox(PidLoop loop, bool checked);
// The handlers themselves (chkIClick, chkDClick): re-read the box.
void IBoxHandler(PidLoop loop);
void DBoxHandler(PidLoop loop);

// Limits of a value box, inclusive, in the unit of the value it shows.
struct KeypadRange {
    float min;
    float max;
    KeypadNumber number = KeypadNumber::Decimal;
};

struct ExerciseProfile;
struct KeypadBox;

// Range of a keypad code in an exercise, or nothing when that box is absent
// or cannot be clicked now (blank waveform rows, the Initial Value box of
// Temperature during a run).
std::optional<KeypadRange> KeypadRangeFor(const VelmorState& s, Exercise e, int code);
// The value a box shows: the keypad's old value.
float KeypadOldFor(VelmorState& s, Exercise e, int code);

// UpdateDisplay: takes a value the keypad accepted. Returns false when
// nothing changed (Flow ignores an entry equal to the old value).
bool UpdateDisplay(VelmorState& s, Exercise e, int code, float v, float keypadOld);

// The same for a box already found in its exercise's profile (a keypad
// code or a velmor-sim name resolves to its box once).
std::optional<KeypadRange> BoxRange(const VelmorState& s, const ExerciseProfile& p,
                                    const KeypadBox& box);
float BoxValue(VelmorState& s, const ExerciseProfile& p, const KeypadBox& box);
bool EnterValue(VelmorState& s, const ExerciseProfile& p, const KeypadBox& box, float v,
                float keypadOld);

// Waveform radio button: changes the type unless the keypad is open (or the
// Open-loop window is being activated). Returns whether the type changed.
bool ChooseWaveform(VelmorState& s, Exercise e, std::int32_t type);
bool ChooseWaveform(VelmorState& s, const ExerciseProfile& p, std::int32_t type);
std::int32_t CurrentWaveform(const VelmorState& s, Exercise e);
std::int32_t CurrentWaveform(const VelmorState& s, const ExerciseProfile& p);
WaveParams& WaveParamsOf(VelmorState& s, Exercise e);

// Rows of the waveform panel that show a value for a waveform type (1..3).
int WaveRows(std::int32_t type);

// Defaults of the exercise (its InitValues; also File > New).
void InitValues(VelmorState& s, Exercise e);

// The state right after the shell opens the exercise: Trends window created
// for it, exercise window created with its defaults and checked boxes.
void OpenExerciseState(VelmorState& s, Exercise e, bool fresh);

void SendSettings(VelmorState& s, Exercise e);
void UpdateSettings(VelmorState& s, Exercise e);

} // namespace velmor
