#include "core/exercises/LoopEngine.h"

#include "core/Arith.h"
#include "core/exercises/BatchEngine.h"
#include "core/exercises/FlowEngine.h"
#include "core/exercises/LevelEngine.h"
#include "core/exercises/OpenEngine.h"
#include "core/exercises/TemperatureEngine.h"

namespace velmor {

bool LoopEngine::canCycle() const
{
    return m_state.run.runActive && m_state.run.sampleCount < kLogRecords;
}

double LoopEngine::newestRecordTime() const
{
    const int n = m_state.run.sampleCount;
    if (n < 1 || n > kLogRecords) {
        return 0.0;
    }
    return m_state.log.record(n).time;
}

void LoopEngine::prepareLog(const std::vector<int>& ownFields)
{
    m_state.log.clearFields(ownFields);
}

void LoopEngine::startTrendData()
{
    TrendViewState& tv = m_state.trend;
    if (!tv.trendNoData) {
        tv.cursorShown = false;
    }
    tv.trendNoData = false;
}

void LoopEngine::startTrendView()
{
    TrendViewState& tv = m_state.trend;
    tv.trendViewStart = 0;
    m_state.log.secondIndexFilled = 0;
    if (m_sink != nullptr) {
        m_sink->ShowStartTime(0);
        m_sink->DrawNewAxes();
        if (tv.cursorShown) {
            m_sink->RestoreLine();
        }
    }
}

SampleRecord& LoopEngine::nextRecord()
{
    m_state.run.sampleCount += 1;
    return m_state.log.record(m_state.run.sampleCount);
}

double LoopEngine::stamp(std::int32_t tick) const
{
    return static_cast<double>(static_cast<Real>(tick) * m_state.run.samplePeriod);
}

void LoopEngine::afterRecord(double cycleTime, std::initializer_list<Trace> traces, int segment,
                             bool marks)
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
            if (marks && tv.trendSegmentShown < segment) {
                if (tv.trendSegmentShown > 0) {
                    m_sink->DrawMark();
                }
                m_sink->PIDUpdate(n);
            }
        }
    }
    tv.trendPrevX = tv.trendX;
}

void LoopEngine::endRun()
{
    m_state.log.finishSecondIndex(m_state.run.sampleCount);
    m_state.run.runActive = false;
    m_state.trend.trendLive = false;
}

std::unique_ptr<LoopEngine> MakeEngine(Exercise e, VelmorState& state, TrendSink* sink)
{
    switch (e) {
    case Exercise::Flow:
        return std::make_unique<FlowEngine>(state, sink);
    case Exercise::Level:
        return std::make_unique<LevelEngine>(state, sink);
    case Exercise::Open:
        return std::make_unique<OpenEngine>(state, sink);
    case Exercise::Temperature:
        return std::make_unique<TemperatureEngine>(state, sink);
    case Exercise::Batch:
        return std::make_unique<BatchEngine>(state, sink);
    }
    return nullptr;
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
