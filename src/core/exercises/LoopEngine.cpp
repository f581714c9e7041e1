#include "core/exercises/LoopEngine.h"

#include "core/Arith.h"
#include "core/exercises/ExerciseProfile.h"
#include "core/trends/Scales.h"

namespace velmor {

ExerciseEngine::ExerciseEngine(Exercise e, VelmorState& state, TrendSink* sink)
    : LoopEngine(state, sink), m_exercise(e), m_steps(*ProfileOf(e).engineSteps),
      m_counters(m_steps.counters(state))
{
}

void ExerciseEngine::start()
{
    RunState& r = m_state.run;
    TrendViewState& tv = m_state.trend;
    SampleLog& log = m_state.log;

    tv.trendPrevX = kPlotLeft;
    tv.trendSegmentShown = 0;
    // A cursor line drawn over loaded or earlier data goes with the new run.
    if (!tv.trendNoData) {
        tv.cursorShown = false;
    }
    tv.trendNoData = false;
    m_counters.tick = 1;
    m_counters.simTime = 0;
    m_counters.segment = 1;
    m_steps.resetForRun(m_state);

    log.clearFields(ProfileOf(m_exercise).logFields);
    if (m_sink != nullptr) {
        m_sink->HideFloat();
    }
    r.sampleCount = 0;
    log.resetSecondIndex();
    SampleRecord& first = nextRecord();
    first.time = 0;
    m_steps.writeFirstRecord(m_state, first);

    // The view starts at 0 with fresh axes; a cursor line still shown is
    // drawn again over them.
    tv.trendViewStart = 0;
    log.secondIndexFilled = 0;
    if (m_sink != nullptr) {
        m_sink->ShowStartTime(0);
        m_sink->DrawNewAxes();
        if (tv.cursorShown) {
            m_sink->RestoreLine();
        }
    }
    r.runActive = true;
    tv.trendLive = true;
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
    m_state.trend.trendLive = false;
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

void ExerciseEngine::afterRecord(double cycleTime, std::initializer_list<Trace> traces, bool marks)
{
    const int n = m_state.run.sampleCount;
    m_state.log.secondIndexStep(cycleTime, n);
    TrendViewState& tv = m_state.trend;
    if (m_sink != nullptr) {
        m_sink->DrawBars(n);
        if (tv.trendLive) {
            m_sink->HideFloat();
            tv.trendX = m_sink->SetXPoints(cycleTime);
            for (Trace trace : traces) {
                (m_sink->*trace)();
            }
            if (marks && tv.trendSegmentShown < m_counters.segment) {
                if (tv.trendSegmentShown > 0) {
                    m_sink->DrawMark();
                }
                m_sink->PIDUpdate(n);
            }
        }
    }
    tv.trendPrevX = tv.trendX;
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
