// The hand-operated rig behind the mimic window: a pump knob, a drain valve,
// a diverter, a cooler and a stirrer acting on the process tank in real
// time, five simulated seconds to the real one. The clock is passed in as
// steady-clock milliseconds, so tests drive time without waiting.
#pragma once

#include "core/Arith.h"
#include "core/rundata/State.h"

#include <cstdint>
#include <string>

namespace velmor {

// Knob range on the pump-output slider (pixels).
constexpr std::int32_t kKnobLeft = 10;
constexpr std::int32_t kKnobRight = 114;
// At most one knob move per this many milliseconds.
constexpr std::int64_t kKnobGuardMs = 50;
// Simulated seconds per real second.
constexpr int kMimicSpeed = 5;
constexpr Real kTankCapacity = 3.23L; // litres at 100 % level
constexpr Real kDrainFlow = 5.5L;     // L/min while the drain is open
// Pump flow shown as running above this many L/min.
constexpr Real kFlowThreshold = 0.2L;
// Level bar: 250 units for a full tank.
constexpr std::int32_t kLevelBarFull = 250;

// The six flow paths of the diagram, as bits of MimicStep::pathsSwitched.
enum MimicPath : unsigned {
    kPathPump = 1u << 0,
    kPathDirect = 1u << 1,
    kPathCooler = 1u << 2,
    kPathDrain = 1u << 3,
    kPathOverflow = 1u << 4,
    kPathSump = 1u << 5,
};

// Whether the path is shown now.
bool MimicPathShown(const MimicUnit& m, MimicPath path);

// What one update did, for the window to show.
struct MimicStep {
    Real flow = 0;                      // pump flow F, L/min
    std::int32_t tankReading = 0;       // whole degrees C
    std::int32_t flowReading = 0;       // whole degrees C
    std::int32_t sumpReading = 0;       // whole degrees C
    std::string heatText;               // kilowatts, "0.0" when no heat goes in
    std::int32_t stirrerFrameDrawn = 0; // frame put on the stirrer picture, 0 none
    std::int32_t fanFrameDrawn = 0;     // frame put on the fan picture, 0 none
    bool dialMoved = false;             // heatDialPos changed
    bool levelBarMoved = false;         // levelBarUnits changed
    unsigned pathsSwitched = 0;         // MimicPath bits of the paths switched
};

// Pump flow at a knob position, L/min: 0 at the left end, 1.7 at the right.
Real MimicPumpFlow(std::int32_t pumpKnobX);

// Start values of a new window; nowMs is the clock at its creation.
void MimicStart(MimicUnit& m, std::int64_t nowMs);

// Moves the knob towards pointer x (clamped to the slider). Returns whether
// the knob moved: not to its own place, nor within 50 ms of the last move.
bool MimicPlace(MimicUnit& m, std::int32_t x, std::int64_t nowMs);

// One update of the model and of the drawing state, at clock nowMs.
MimicStep MimicUpdate(MimicUnit& m, std::int64_t nowMs);

// Heat dial position for a setting.
std::int32_t MimicDialPosition(std::int32_t manualHeatSetting);

} // namespace velmor
