// Step-test model fit: a first-order-plus-dead-time model of the flow line
// fitted to each step of the pump output in an Open loop run, and the
// tuning rules that turn such a model into Flow controller settings.
#pragma once

#include "core/rundata/SampleLog.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace velmor {

// y(t) = y0 + gain du (1 - exp(-(t - tStep - deadTime) / timeConstant)) for
// t > tStep + deadTime, y0 before.
struct FopdtModel {
    double gain = 0;         // K, L/min per percent of output
    double timeConstant = 0; // tau, s
    double deadTime = 0;     // theta, s
    double rms = 0;          // RMS of measured - model over the window, L/min
};

// A change of the output by more than this many percent between two
// records is a step.
constexpr double kOutputStepPercent = 1.0;

struct OutputStep {
    int record = 0;                  // first record with the new output (1-based)
    double time = 0;                 // s
    float outputFrom = 0;            // percent, the record before
    float outputTo = 0;              // percent
    int lastRecord = 0;              // end of the window: the record before the next step
    std::optional<FopdtModel> model; // absent when the window cannot be fitted
};

// Least-squares fit of one step response. t (s) and y (L/min) hold the
// window's records, the step's own record first; y0 is y[0] and du the
// output change (percent). Absent when the window has fewer than 5 records
// or the measured value never moves.
std::optional<FopdtModel> FitFopdt(std::span<const double> t, std::span<const double> y, double du);

// Every output step of an Open loop run (output field 7, measured flow
// field 3) with its fitted model. records: records 1..sampleCount.
std::vector<OutputStep> FitOutputSteps(std::span<const SampleRecord> records);

// A model whose RMS error exceeds this share of its response |K du| does
// not describe the step (the output was no step, or the flow was still
// moving from before) and gives no tunings.
constexpr double kUsableFitShare = 0.1;

// The step whose model explains its window best (smallest RMS relative to
// the size of the response |K du|); the first such on a tie. Null when no
// step has a usable model: positive gain, time constant and dead time, and
// RMS within kUsableFitShare of |K du|.
const OutputStep* BestFittedStep(const std::vector<OutputStep>& steps);

enum class TuningRule { Simc, ZieglerNicholsPi, ZieglerNicholsPid, CohenCoonPi };

// "SIMC", "ZN-PI", "ZN-PID", "CC-PI".
std::string_view TuningRuleName(TuningRule rule);

// Settings as the Flow window takes them.
struct FlowTuning {
    TuningRule rule = TuningRule::Simc;
    double pg = 0; // proportional gain PG, dimensionless (counts per count)
    double i = 0;  // integral time I, s
    double d = 0;  // derivative time D, s (0 for PI rules)
};

// The four rules for a model; empty unless gain, time constant and dead time
// are all positive. Values are rounded to what the Flow keypad takes.
std::vector<FlowTuning> FlowTunings(const FopdtModel& model);

} // namespace velmor
