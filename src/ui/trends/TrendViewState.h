// The Trends window's own state: which stretch of the log it shows, how far
// the live drawing has got, the cursor line, the read-out and the arrows.
// Positions are pixels of its 524 x 501 panel picture, times seconds.
#pragma once

#include "core/trends/TrendTables.h"

#include <array>
#include <cstdint>
#include <span>

namespace velmor {

struct TrendViewState {
    std::int32_t trendViewStart = 0; // s, first second on the time axis
    bool trendLive = false;          // the newest samples are in view and drawn as they come
    std::int32_t trendX = 38;        // pixels, x of the newest point
    std::int32_t trendPrevX = 38;    // pixels, x of the previous point
    // Pixels: y at which each trace (by TraceId) ended at trendPrevX.
    std::array<std::int32_t, kTraceCount> trendPrevY{358, 358, 358, 358, 358,
                                                     358, 358, 358, 358, 358};
    std::int32_t trendSegmentShown = 0; // settings segment in the settings box
    std::int32_t pointSegment = 0;      // of the record being plotted
    std::int32_t plottedSegment = 0;    // of the last record plotted
    bool trendInitialising = false;     // until the first time-to-pixel conversion
    bool trendClosing = false;
    std::int32_t trendFontSize = 9; // points
    bool cursorShown = false;
    std::int32_t cursorX = 38; // pixels
    std::int32_t cursorRecord = 0;
    std::int32_t savedColumnX = 0; // pixels, column saved under the cursor line
    std::int32_t hoverBlock = 0;   // panel region under the mouse
    std::int32_t litArrow = 0;     // arrow drawn highlighted, 0 none
    std::int32_t hoverX = 0;       // pixels, where the read-out was asked for
    std::int32_t hoverY = 0;
    std::int32_t hoverRecord = 0;
    // The run drawn live: its traces in drawing order, and whether settings
    // marks follow its settings segments.
    std::span<const TraceId> liveTraces;
    bool liveMarks = true;

    std::int32_t& prevY(TraceId id) { return trendPrevY[static_cast<std::size_t>(id)]; }
    std::int32_t prevY(TraceId id) const { return trendPrevY[static_cast<std::size_t>(id)]; }
};

} // namespace velmor
