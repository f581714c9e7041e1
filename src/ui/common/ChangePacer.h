// Paces the change events of one control so that a screen reader is not
// flooded while a run changes a value ten times a second: the first change
// goes out at once, the changes within the next interval wait and go out
// as one at its end. Times are milliseconds of any steady clock.
#pragma once

#include <cstdint>
#include <optional>

namespace velmor {

class ChangePacer {
public:
    explicit ChangePacer(std::int64_t intervalMs = 500) : m_interval(intervalMs) {}

    // What to do with a change at `now`.
    struct Advice {
        bool tellNow = false;
        // Set when a wait is to be armed: tell after this many ms.
        std::optional<std::int64_t> waitMs;
    };
    Advice offer(std::int64_t now);
    // The armed wait ended and the change was told at `now`.
    void told(std::int64_t now);
    bool waiting() const { return m_waiting; }

private:
    std::int64_t m_interval;
    std::optional<std::int64_t> m_lastTold;
    bool m_waiting = false;
};

} // namespace velmor
