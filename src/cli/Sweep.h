// Tuning sweeps: the same run made for every combination of some settings
// (a full grid), on several threads, each run exactly as `velmor-sim run`
// makes it, with its response figures.
#pragma once

#include "cli/RunRequest.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmor {

// One varied setting and its values, as the texts applied with --set.
struct SweepAxis {
    std::string name;
    std::vector<std::string> values;
};

struct SweepPlan {
    RunRequest request;              // what every run shares
    std::optional<SimFileLoad> from; // request.from, read once
    std::vector<SweepAxis> axes;     // the first varies slowest

    std::size_t combinations() const;
    // The value texts of combination `index` (grid order), one per axis.
    std::vector<const std::string*> combination(std::size_t index) const;
};

// The figures of one run, for its exercise's first loop: IAE of the first
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
