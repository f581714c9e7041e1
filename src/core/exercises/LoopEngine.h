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
#include <span>

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
    // End of run: last values, second index, runActive cleared.
    virtual void finish() = 0;

    // Time (s) of the newest record.
    double newestRecordTime() const;

protected:
    VelmorState& m_state;
    TrendSink* m_sink;
};

// The per-run counters of an exercise, bound to its named members.
struct RunCounters {
    std::int32_t& tick;    // k: 1 at Start, +1 a cycle
    double& simTime;       // s, cycle time t = k x samplePeriod
    std::int32_t& segment; // settings segment: 1 at Start
};

class ExerciseEngine;

// What one exercise does within the run skeleton. Each exercise defines its
// steps in its own source file (FlowEngine.cpp, ...); its profile names them.
struct EngineSteps {
    RunCounters (*counters)(VelmorState&);
    // Start, before the log is cleared: the exercise's own reset list
    // (waveform copied for the file, outputs that start from 0, first trace
    // points, integrals, error rates, previous errors, ...). The counters
    // are reset by the skeleton.
    void (*resetForRun)(VelmorState&);
    // Record 1 (its time already 0).
    void (*writeFirstRecord)(const VelmorState&, SampleRecord&);
    // Start, last: the plant from rest (histories, tank, temperature), once
    // record 1 holds the values from before this Start.
    void (*startPlant)(VelmorState&);
    // One sample.
    void (*cycle)(ExerciseEngine&);
    // End of run: the values the simulation file keeps.
    void (*keepLastValues)(VelmorState&);
    // The exercise's own end of run besides STOP and a full log (null: none).
    bool (*runComplete)(const VelmorState&);
    // What the Trends window plots of a run: the traces drawn for each new
    // sample, in drawing order, and where they start (read at Start once
    // record 1 is written, before the plant starts); whether settings marks
    // follow the settings segments.
    std::span<const TraceId> traces;
    TraceValues (*firstValues)(const VelmorState&);
    bool settingsMarks;
};

extern const EngineSteps kFlowSteps;
extern const EngineSteps kLevelSteps;
extern const EngineSteps kOpenSteps;
extern const EngineSteps kTemperatureSteps;
extern const EngineSteps kBatchSteps;

// A loop exercise's engine: the skeleton every loop shares (Start's common
// steps, record 1, the record and trend bookkeeping of a cycle, the end of
// run) around the exercise's own steps.
class ExerciseEngine : public LoopEngine {
public:
    ExerciseEngine(Exercise e, VelmorState& state, TrendSink* sink);

    Exercise exercise() const override { return m_exercise; }
    void start() override;
    bool canCycle() const override;
    void cycle() override;
    void finish() override;

    // What the exercises' cycles are made of.
    VelmorState& state() { return m_state; }
    // Cycle time t of this cycle (k x samplePeriod), then k + 1.
    double advanceTime();
    // Time k x samplePeriod: the stamp of a record in the exercises that
    // stamp it with the incremented k.
    double stamp(std::int32_t tick) const;
    // Appends a record number n = sampleCount + 1 and returns it.
    SampleRecord& nextRecord();
    // After a record: the second index, then the Trends window is told.
    void afterRecord(double cycleTime);

private:
    Exercise m_exercise;
    const EngineSteps& m_steps;
    RunCounters m_counters;
};

struct FieldValue {
    int field; // a float field of the record, 2..23
    float value;
};

// Sets fields of a record.
void SetFields(SampleRecord& rec, std::initializer_list<FieldValue> values);

// Logged I or D time: as set while switched on, 0 while off.
float Switched(std::int32_t on, float time);

std::unique_ptr<LoopEngine> MakeEngine(Exercise e, VelmorState& state, TrendSink* sink);

// The headless driver: start, cycles back to back, finish. `wait` runs in
// each pacing wait (after every cycle) and may change settings or clear
// runActive, as events would on screen.
void RunHeadless(LoopEngine& engine, const std::function<void()>& wait = {});

} // namespace velmor
