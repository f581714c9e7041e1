#include "ui/exercises/RunDriver.h"

namespace velmor {

SteadyPaceTimer::SteadyPaceTimer()
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (timeout) {
            timeout();
        }
    });
}

RunDriver::RunDriver(QObject* parent, std::unique_ptr<PaceTimer> timer)
    : QObject(parent), m_timer(std::move(timer))
{
    m_timer->timeout = [this] { step(); };
}

RunDriver::~RunDriver()
{
    // A window released mid-run still closes its run's records.
    if (m_engine != nullptr) {
        m_timer->stop();
        m_engine->finish();
        if (m_endHook) {
            m_endHook();
        }
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
    m_deadline = m_timer->now();
    step();
}

void RunDriver::poke()
{
    if (m_engine != nullptr && m_timer->isActive() && !m_engine->canCycle()) {
        m_timer->stop();
        end();
    }
}

void RunDriver::step()
{
    if (m_engine == nullptr) {
        return;
    }
    if (!m_engine->canCycle()) {
        end();
        return;
    }
    if (m_timer->now() < m_deadline) {
        wait();
        return;
    }
    const PaceTimer::TimePoint cycleStart = m_timer->now();
    m_lastCycleStart = cycleStart;
    m_engine->cycle();
    emit cycled();
    m_deadline = cycleStart + m_interval;
    wait();
}

void RunDriver::wait()
{
    // Sleep through the pace but for its last milliseconds; those are polled
    // through the event loop. A late cycle still goes through one round of
    // events (a zero timer) before the next one starts.
    const auto left = m_deadline - m_timer->now();
    const auto sleep = std::chrono::floor<std::chrono::milliseconds>(left) - kWakeMargin;
    m_timer->start(sleep > std::chrono::milliseconds(0) ? sleep : std::chrono::milliseconds(0));
}

void RunDriver::end()
{
    std::unique_ptr<LoopEngine> engine = std::move(m_engine);
    engine->finish();
    emit finished();
    if (m_endHook) {
        m_endHook();
    }
}

} // namespace velmor
