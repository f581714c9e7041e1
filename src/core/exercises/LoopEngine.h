// The run skeleton every loop exercise follows: start(), then cycle() while
// canCycle(), then finish(). The engines do all arithmetic and logging; the
// caller paces the cycles (80 ms apart on screen, back to back headless) and
// handles events between them.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/State.h"
#include "core/trends/TrendSink.h"

#include <functional>
#include <memory>
#include <vector>

namespace velmor {

class LoopEngine {
public:
    LoopEngine(VelmorState& state, TrendSink* sink) : m_state(state), m_sink(sink) {}
    virtual ~LoopEngine() = default;
    LoopEngine(const LoopEngine&) = delete;
    LoopEngine& operator=(const LoopEngine&) = delete;

    virtual Exercise exercise() const = 0;

    // Prepares the run and writes record 1; sets runActive.
    virtual void start() = 0;
    // The loop test that comes before every cycle.
    virtual bool canCycle() const;
    // One sample: plant, set point, controller, record, trend drawing.
    virtual void cycle() = 0;
    // End of run: last values, second index, runActive and trendLive cleared.
    virtual void finish() = 0;

    // Time (s) of the newest record.
    double newestRecordTime() const;

protected:
    using Trace = void (TrendSink::*)();

    // Log and index preparation shared by every Start: clears the
    // exercise's own fields, sampleCount = 0 and a fresh second index.
    void prepareLog(const std::vector<int>& ownFields);
    // cursorShown / trendNoData rule of Start.
    void startTrendData();
    // Steps 12 and 13 of Start: view at 0, new axes, the cursor line back.
    void startTrendView();
    // Appends a record number n = sampleCount + 1 and returns it.
    SampleRecord& nextRecord();
    // After a record: second index, bars, traces, settings marks.
    void afterRecord(double cycleTime, std::initializer_list<Trace> traces, int segment,
                     bool marks = true);
    void endRun();

    double stamp(std::int32_t tick) const;

    VelmorState& m_state;
    TrendSink* m_sink;
};

std::unique_ptr<LoopEngine> MakeEngine(Exercise e, VelmorState& state, TrendSink* sink);

// The headless driver: start, cycles back to back, finish. `wait` runs in
// each pacing wait (after every cycle) and may change settings or clear
// runActive, as events would on screen.
void RunHeadless(LoopEngine& engine, const std::function<void()>& wait = {});

} // namespace velmor
