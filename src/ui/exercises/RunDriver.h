// Paces a loop engine on screen: each cycle starts a fixed interval (80 ms)
// after the previous one began, on the steady clock. Between cycles the
// event loop runs as usual, so STOP, settings, the pump and close requests
// are ordinary events that the next cycle sees. No nested event loop.
#pragma once

#include "core/exercises/LoopEngine.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

namespace velmor {

// What the driver needs of time: a steady clock and a one-shot timer that
// calls `timeout` from the event loop. The program uses the real ones; tests
// drive a made-up clock and fire the timer themselves.
class PaceTimer {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~PaceTimer() = default;
    virtual TimePoint now() const = 0;
    virtual void start(std::chrono::milliseconds delay) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    std::function<void()> timeout;
};

// std::chrono::steady_clock and a precise single-shot QTimer.
class SteadyPaceTimer : public PaceTimer {
public:
    SteadyPaceTimer();
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    void start(std::chrono::milliseconds delay) override { m_timer.start(delay); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

class RunDriver : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kCycleInterval{80};
    // The event loop's timers may wake up to a millisecond late: the last
    // two milliseconds of each pace are polled instead of slept.
    static constexpr std::chrono::milliseconds kWakeMargin{2};

    explicit RunDriver(QObject* parent = nullptr,
                       std::unique_ptr<PaceTimer> timer = std::make_unique<SteadyPaceTimer>());
    ~RunDriver() override;

    void setInterval(std::chrono::milliseconds interval) { m_interval = interval; }
    std::chrono::milliseconds interval() const { return m_interval; }

    // Start of a run: the engine's start(), then the first cycle at once.
    void begin(std::unique_ptr<LoopEngine> engine);
    bool running() const { return m_engine != nullptr; }
    // When the newest cycle began.
    PaceTimer::TimePoint lastCycleStart() const { return m_lastCycleStart; }

    // The loop test now instead of at the end of the wait: a run whose
    // runActive was cleared (STOP, close) ends without waiting out the pace.
    void poke();

    // Runs once at the end of every run, after `finished`, and also when
    // the driver goes with a run still going (its window released): the
    // one place that sees every run end.
    void setEndHook(std::function<void()> hook) { m_endHook = std::move(hook); }

signals:
    // After the engine's start(), before the first cycle: the window's own
    // steps of Start (buttons, menus, the green light).
    void started();
    // After each cycle (the window redraws its gauges here).
    void cycled();
    // After the engine's finish(): the window's end-of-run steps.
    void finished();

private:
    void step();
    void wait();
    void end();

    std::unique_ptr<LoopEngine> m_engine;
    std::unique_ptr<PaceTimer> m_timer;
    std::chrono::milliseconds m_interval = kCycleInterval;
    PaceTimer::TimePoint m_deadline;
    PaceTimer::TimePoint m_lastCycleStart;
    std::function<void()> m_endHook;
};

} // namespace velmor
