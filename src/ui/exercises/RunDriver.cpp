#include "ui/exercises/RunDriver.h"

namespace velmor {

RunDriver::RunDriver(QObject* parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RunDriver::step);
}

RunDriver::~RunDriver()
{
    // A window released mid-run still closes its run's records.
    if (m_engine != nullptr) {
        m_timer.stop();
        m_engine->finish();
    }
}

void RunDriver::begin(std::unique_ptr<LoopEngine> engine)
{
    if (m_engine != nullptr || engine == nullptr) {
        return;
    }
    m_engine = std::move(engine);
    m_engine->start();
    emit started();
    m_deadline = std::chrono::steady_clock::now();
    step();
}

void RunDriver::poke()
{
    if (m_engine != nullptr && m_timer.isActive() && !m_engine->canCycle()) {
        m_timer.stop();
        end();
    }
}

void RunDriver::step()
{
    if (m_engine == nullptr) {
        return;
    }
    if (m_engine->canCycle() && std::chrono::steady_clock::now() < m_deadline) {
        wait();
        return;
    }
    if (!m_engine->canCycle()) {
        end();
        return;
    }
    const auto cycleStart = std::chrono::steady_clock::now();
    m_lastCycleStart = cycleStart;
    m_engine->cycle();
    emit cycled();
    m_deadline = cycleStart + m_interval;
    wait();
}

void RunDriver::wait()
{
    // Sleep through the pace but for its last two milliseconds (the event
    // loop's own timers wake up to a millisecond late); those are polled
    // through the event loop, as the pacing wait reads the clock between
    // rounds of events. A late cycle goes on at the next round.
    const auto left = m_deadline - std::chrono::steady_clock::now();
    const auto sleep = std::chrono::floor<std::chrono::milliseconds>(left) - kWakeMargin;
    m_timer.start(sleep > std::chrono::milliseconds(0) ? sleep : std::chrono::milliseconds(0));
}

void RunDriver::end()
{
    std::unique_ptr<LoopEngine> engine = std::move(m_engine);
    engine->finish();
    emit finished();
}

} // namespace velmor
