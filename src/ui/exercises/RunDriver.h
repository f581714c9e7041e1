// Paces a loop engine on screen: each cycle starts a fixed interval (80 ms)
// after the previous one began, on the steady clock. Between cycles the
// event loop runs as usual, so STOP, settings, the pump and close requests
// are ordinary events that the next cycle sees. No nested event loop.
#pragma once

#include "core/exercises/LoopEngine.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>

namespace velmor {

class RunDriver : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kCycleInterval{80};
    static constexpr std::chrono::milliseconds kWakeMargin{2};

    explicit RunDriver(QObject* parent = nullptr);
    ~RunDriver() override;

    void setInterval(std::chrono::milliseconds interval) { m_interval = interval; }
    std::chrono::milliseconds interval() const { return m_interval; }

    // Start of a run: the engine's start(), then the first cycle at once.
    void begin(std::unique_ptr<LoopEngine> engine);
    bool running() const { return m_engine != nullptr; }
    // When the newest cycle began (steady clock).
    std::chrono::steady_clock::time_point lastCycleStart() const { return m_lastCycleStart; }

    // The loop test now instead of at the end of the wait: a run whose
    // runActive was cleared (STOP, close) ends without waiting out the pace.
    void poke();

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
    QTimer m_timer;
    std::chrono::milliseconds m_interval = kCycleInterval;
    std::chrono::steady_clock::time_point m_deadline;
    std::chrono::steady_clock::time_point m_lastCycleStart;
};

} // namespace velmor
