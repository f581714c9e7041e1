// Tuning sweeps: the same run made for every combination of some settings
// (a full grid), on several threads, each run exactly as `velmor-sim run`
// makes it, with its response figures. velmor-sim's sweep and the tuning
// map both run here.
#pragma once

#include "core/exercises/HeadlessRun.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velmor {

// One varied setting and its values, as the texts applied with --set.
struct SweepAxis {
    std::string name;
    std::vector<std::string> values;
};

// COUNT values from FROM to TO, evenly spaced (or, on a logarithmic axis,
// in equal ratios), each as the text the keypad would take for it and
// checked as a --set of that setting would be. `error` is the first
// refusal (CheckSetting's words), and then `values` is empty.
struct AxisValues {
    std::vector<std::string> values;
    std::string error;
};
AxisValues SweepAxisValues(Exercise e, const std::string& name, double from, double to,
                           std::size_t count, bool logarithmic = false);

struct SweepPlan {
    RunRequest request;              // what every run shares
    std::optional<SimFileLoad> from; // request.from, read once
    std::vector<SweepAxis> axes;     // the first varies slowest
    std::size_t loop = 0;            // the controlled loop whose figures are taken

    std::size_t combinations() const;
    // The value texts of combination `index` (grid order), one per axis.
    std::vector<const std::string*> combination(std::size_t index) const;
};

// The figures of one run, for one loop of its exercise (velmor-sim's
// sweep: the first): IAE of the first
// settings segment (loop unit x s), overshoot (percent) and settling time
// (s) of that segment's first step (the start step when the run starts
// away from its set point), whether the loop is free of sustained
// oscillation (JudgeStability), and whether that first step is the start
// step. Absent when not computable or when the segment has no step.
struct SweepRow {
    std::optional<double> iae;
    std::optional<double> overshootPercent;
    std::optional<double> settlingTime;
    std::optional<bool> stable;
    std::optional<bool> startStep;
};

struct SweepOutcome {
    std::vector<SweepRow> rows; // grid order; complete unless stopped
    bool interrupted = false;   // `stop` was raised
    std::string error;          // a run refused a setting: the message
    bool startRefused = false;  // ... already in the state every run starts from
};

// The state every run of a sweep starts from, kept so that a worker can
// start its next run without copying 6000 records each time.
class SweepStart {
public:
    explicit SweepStart(std::unique_ptr<VelmorState> prepared);

    // Makes `state` the prepared state again. `state` is either fresh (its
    // first run) or holds what its previous run left: the cycles of a run
    // write only the fields its Start clears and the segment, so the other
    // fields of the records are still as prepared, and only the segments
    // of the records logged are put back.
    void restore(VelmorState& state) const;

private:
    std::unique_ptr<VelmorState> m_rest;  // the prepared state but its records
    std::vector<SampleRecord> m_records;  // the prepared records
    std::vector<std::int32_t> m_segments; // their segments
};

// Runs the combinations `indices` (grid order numbers) from `start` on
// `jobs` threads (at least 1), each with its values applied as further
// --set changes in axis order, then plan.request's timed changes and record
// limit. `cell` is called on the worker that made the run, as each run is
// analysed; `progress` as for RunSweepGrid. Raising `stop` ends it after
// the runs in progress, whose cells are still reported.
struct SweepCellsOutcome {
    std::size_t done = 0;     // runs made and reported
    bool interrupted = false; // `stop` was raised before all were made
    std::string error;        // a run refused a setting: the message
};
SweepCellsOutcome RunSweepCells(const SweepStart& start, const SweepPlan& plan,
                                std::span<const std::size_t> indices, unsigned jobs,
                                const std::atomic<bool>& stop,
                                const std::function<void(std::size_t index, const SweepRow&)>& cell,
                                const std::function<void(std::size_t done)>& progress);

// Runs every combination on `jobs` threads (at least 1). `progress` is
// called on the calling thread about every 100 ms with the number of runs
// done, and once more when all are done. Raising `stop` ends the sweep after the runs in
// progress.
SweepOutcome RunSweepGrid(const SweepPlan& plan, unsigned jobs, const std::atomic<bool>& stop,
                          const std::function<void(std::size_t done)>& progress);

// The sweep's table: a header row (the varied names, then iae,
// overshootPercent, settlingTime, stable, startStep), one row per
// combination in grid order; "," separated, "." decimals, stable and
// startStep as 1 or 0, absent figures empty; CR LF line ends.
std::string SweepCsv(const SweepPlan& plan, const std::vector<SweepRow>& rows);

} // namespace velmor
