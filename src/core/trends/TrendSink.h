// What a running loop tells the Trends window: values, never pixels. The
// window turns them into its drawing (scales, scrolling, marks, the bars
// and the settings box). The desktop program's Trends window implements it;
// the headless driver passes none.
#pragma once

#include "core/trends/TrendTables.h"

#include <cstdint>
#include <span>

namespace velmor {

struct RunStart {
    // The traces the exercise plots for each new sample, in drawing order.
    std::span<const TraceId> traces;
    // Where each of those traces starts (the point before record 2).
    TraceValues firstValues;
    // Settings marks and the settings box follow the settings segments.
    bool settingsMarks = true;
    // The exercise had no trend data before this run: a cursor line still
    // shown stays (over data of an earlier run it goes).
    bool hadNoData = false;
};

class TrendSink {
public:
    virtual ~TrendSink() = default;

    // Start: the log is cleared, record 1 written, the second index reset.
    virtual void runStarted(const RunStart& start) = 0;
    // A cycle wrote record n, stamped cycleTime (s) in the second index,
    // with the settings segment now in force.
    virtual void recordAppended(int recordNumber, double cycleTime,
                                std::int32_t settingsSegment) = 0;
    // End of run: the log and the second index are final.
    virtual void runFinished() = 0;
};

} // namespace velmor
