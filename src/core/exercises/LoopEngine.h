// The run skeleton every loop exercise follows: start(), then cycle() while
// canCycle(), then finish(). The engines do all arithmetic and logging; the
// caller paces the cycles (80 ms apart on screen, back to back headless) and
// handles events between them.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/State.h"
#include "core/trends/TrendSink.h"

#include <functional>
#include <initializer_list>
#include <memory>

namespace velmor {

// The per-run counters of an exercise, bound to its named members.
struct RunCounters {
    std::int32_t& tick;    // k: 1 at Start, +1 a cycle
    double& simTime;       // s, cycle time t = k x samplePeriod
    std::int32_t& segment; // settings segment: 1 at Start
};

class LoopEngine {
public:
    LoopEngine(VelmorState& state, TrendSink* sink, RunCounters counters)
        : m_state(state), m_sink(sink), m_counters(counters)
    {
    }
    virtual ~LoopEngine() = default;
    LoopEngine(const LoopEngine&) = delete;
    LoopEngine& operator=(const LoopEngine&) = delete;

    virtual Exercise exercise() const = 0;

    // Prepares the run and writes record 1; sets runActive. The steps every
    // loop shares, with the exercise's own ones in between (below).
    void start();
    // The loop test that comes before every cycle.
    virtual bool canCycle() const;
    // One sample: plant, set point, controller, record, trend drawing.
    virtual void cycle() = 0;
    // End of run: last values, second index, runActive and trendLive cleared.
    void finish();

    // Time (s) of the newest record.
    double newestRecordTime() const;

protected:
    using Trace = void (TrendSink::*)();

    // Start, first: the waveform copied for the file, the outputs that start
    // from 0, and the first point of each trace the exercise draws.
    virtual void startValues() = 0;
    // Start, after the log is cleared: everything else the exercise restarts
    // from (integrals, error rates, previous errors, outputs in counts,
    // drain, delivered volume, ...). The counters are already reset.
    virtual void resetForRun() = 0;
    // Record 1 (its time already 0).
    virtual void writeFirstRecord(SampleRecord& rec) = 0;
    // Start, last: the plant from rest (histories, tank, temperature).
    virtual void startPlant() = 0;
    // End of run: the values the simulation file keeps.
    virtual void keepLastValues() = 0;

    // Cycle time t of this cycle (k x samplePeriod), then k + 1.
    double advanceTime();
    // Appends a record number n = sampleCount + 1 and returns it.
    SampleRecord& nextRecord();
    // After a record: second index, bars, traces, settings marks.
    void afterRecord(double cycleTime, std::initializer_list<Trace> traces, bool marks = true);

    // Time of record n in the exercises that stamp it with the incremented
    // k: k x samplePeriod.
    double stamp(std::int32_t tick) const;

    VelmorState& m_state;
    TrendSink* m_sink;
    RunCounters m_counters;
};

std::unique_ptr<LoopEngine> MakeEngine(Exercise e, VelmorState& state, TrendSink* sink);

// The headless driver: start, cycles back to back, finish. `wait` runs in
// each pacing wait (after every cycle) and may change settings or clear
// runActive, as events would on screen.
void RunHeadless(LoopEngine& engine, const std::function<void()>& wait = {});

} // namespace velmor
