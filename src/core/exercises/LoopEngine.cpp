#include "core/exercises/LoopEngine.h"

#include "core/Arith.h"
#include "core/exercises/ExerciseProfile.h"

namespace velmor {

ExerciseEngine::ExerciseEngine(Exercise e, VelmorState& state, TrendSink* sink)
    : LoopEngine(state, sink), m_exercise(e), m_steps(*ProfileOf(e).engineSteps),
      m_counters(m_steps.counters(state))
{
}

void ExerciseEngine::start()
{
    RunState& r = m_state.run;
    SampleLog& log = m_state.log;

    // From now on the exercise has trend data to browse.
    const bool hadNoData = m_state.trend.trendNoData;
    m_state.trend.trendNoData = false;
    m_counters.tick = 1;
    m_counters.simTime = 0;
    m_counters.segment = 1;
    m_steps.resetForRun(m_state);

    log.clearFields(ProfileOf(m_exercise).logFields);
    r.sampleCount = 0;
    log.resetSecondIndex();
    SampleRecord& first = nextRecord();
    first.time = 0;
    m_steps.writeFirstRecord(m_state, first);

    log.secondIndexFilled = 0;
    if (m_sink != nullptr) {
        m_sink->runStarted(
            {m_steps.traces, m_steps.firstValues(m_state), m_steps.settingsMarks, hadNoData});
    }
    r.runActive = true;
    m_steps.startPlant(m_state);
}

bool LoopEngine::canCycle() const
{
    return m_state.run.runActive && m_state.run.sampleCount < kLogRecords;
}

bool ExerciseEngine::canCycle() const
{
    return LoopEngine::canCycle() &&
           (m_steps.runComplete == nullptr || !m_steps.runComplete(m_state));
}

void ExerciseEngine::cycle()
{
    m_steps.cycle(*this);
}

void ExerciseEngine::finish()
{
    m_steps.keepLastValues(m_state);
    m_state.log.finishSecondIndex(m_state.run.sampleCount);
    m_state.run.runActive = false;
    if (m_sink != nullptr) {
        m_sink->runFinished();
    }
}

double LoopEngine::newestRecordTime() const
{
    const int n = m_state.run.sampleCount;
    if (n < 1 || n > kLogRecords) {
        return 0.0;
    }
    return m_state.log.record(n).time;
}

double ExerciseEngine::advanceTime()
{
    const double t = stamp(m_counters.tick);
    m_counters.simTime = t;
    m_counters.tick += 1;
    return t;
}

SampleRecord& ExerciseEngine::nextRecord()
{
    m_state.run.sampleCount += 1;
    return m_state.log.record(m_state.run.sampleCount);
}

void SetFields(SampleRecord& rec, std::initializer_list<FieldValue> values)
{
    for (const FieldValue& v : values) {
        rec.field(v.field) = v.value;
    }
}

float Switched(std::int32_t on, float time)
{
    return static_cast<float>(static_cast<Real>(on) * time);
}

double ExerciseEngine::stamp(std::int32_t tick) const
{
    return static_cast<double>(static_cast<Real>(tick) * m_state.run.samplePeriod);
}

void ExerciseEngine::afterRecord(double cycleTime)
{
    const int n = m_state.run.sampleCount;
    m_state.log.secondIndexStep(cycleTime, n);
    if (m_sink != nullptr) {
        m_sink->recordAppended(n, cycleTime, m_counters.segment);
    }
}

std::unique_ptr<LoopEngine> MakeEngine(Exercise e, VelmorState& state, TrendSink* sink)
{
    return std::make_unique<ExerciseEngine>(e, state, sink);
}

void RunHeadless(LoopEngine& engine, const std::function<void()>& wait)
{
    engine.start();
    while (engine.canCycle()) {
        engine.cycle();
        if (wait) {
            wait();
        }
    }
    engine.finish();
}

} // namespace velmor
