// Index and pixel arithmetic of the Trends window that needs no drawing:
// safe look-ups in the second index and the log, the folding of times past
// the right edge, the slider knob, the placement of centred texts, and the
// navigation rules (regions of the panel, scrolling, typed start and span,
// the record under a column, the cursor across a span change, the trace
// the read-out names).
#pragma once

#include "core/rundata/SampleLog.h"
#include "core/trends/TrendTables.h"

#include <array>
#include <cstdint>
#include <optional>

namespace velmor {

// A second (s) as an index of secondIndex: 0..780. Views that start late
// or span past 780 s read the last entry instead of memory past the table.
int ClampSecond(std::int64_t second);

// secondIndex[second] with the second clamped to 0..780.
std::int32_t SecondIndexAt(const SampleLog& log, std::int64_t second);

// A record number (1-based) kept within 1..6000.
int ClampRecordNumber(std::int64_t recordNumber);

// DrawBars' own rule: a number outside 1..6000 shows record 6000.
int BarRecordNumber(int recordNumber);

// An x past the right edge (488) moved back by 451 pixels as often as
// needed; x at or left of 488 is returned as it is.
int FoldX(int x);

// Knob offset (pixels, 0..55) of the time-base slider for a span (s).
int SliderKnobOffset(std::int32_t span);

// Left of a text of width w centred on x: x - Round(w / 2), ties to even.
int CentredLeft(int x, int width);

// Top of a text of height h in the axis-label strip: 361 + Round((15 - h) / 2).
int AxisLabelTop(int height);

// Left of a text of width w centred in a cell: left + (cellWidth - w) div 2,
// the division truncating toward zero.
int CellTextLeft(int cellLeft, int cellWidth, int width);

// ---- Navigation --------------------------------------------------------

// Regions of the panel under the mouse, tested in this order: 1 the plot
// (x 38..488, y 47..362), 2 the time-base slider (x 399..469, y 29..45),
// 3..10 the arrows 8 down to 1 (y 27..46), 12 any other point level with
// the plot, 11 anywhere else. Block b of 3..10 stands for arrow 11 - b.
constexpr int kBlockPlot = 1;
constexpr int kBlockSlider = 2;
constexpr int kBlockElsewhere = 11;
constexpr int kBlockBesidePlot = 12;
int Block(int x, int y);
// The arrow (1..8) of a block 3..10, else 0.
int ArrowOfBlock(int block);

// Left x of arrow 1..8 (Across), and how far it moves the view start (s).
int Across(int arrow);
int ArrowStep(int arrow);

// The view start (s) after an arrow's step: never below 0 and never past
// the last logged stretch, max(end - span, 0), where end is
// secondIndexFilled rounded up to a multiple of 10.
std::int32_t ScrolledStart(std::int32_t viewStart, int step, std::int32_t secondIndexFilled,
                           std::int32_t span);

// A start time typed into the edit and confirmed with Enter: rounded to
// 10 s; accepted when 0 <= it <= secondIndexFilled, then kept inside the
// logged stretch as scrolling keeps it. Nothing when refused.
std::optional<std::int32_t> TypedStart(std::int32_t typed, std::int32_t secondIndexFilled,
                                       std::int32_t span);

// A time base typed and confirmed: rounded to 10 s, accepted from 20 to
// 180 s. Nothing when refused.
std::optional<std::int32_t> TypedSpan(std::int32_t typed);

// Knob offset (0..55) of a click or drag at `offset` pixels from x = 399;
// offsets 0..5 give 0.
int KnobOfSliderOffset(int offset);
// The span (s) a knob offset stands for: 20 at 0, 180 at 55, steps of 10.
std::int32_t SpanOfKnob(int k);

// The cursor's x after the span changes, keeping its time from the view
// start: Trunc(oldSpan x (x - 38) / newSpan + 38.5).
int CursorXAfterSpan(int cursorX, std::int32_t oldSpan, std::int32_t newSpan);
// The view start after the span changes: a view that reaches the end of
// the logged stretch keeps its right edge (never starting below 0).
std::int32_t StartAfterSpan(std::int32_t viewStart, std::int32_t oldSpan, std::int32_t newSpan,
                            std::int32_t secondIndexFilled);

// What PosToPointer reads of the view.
struct PointerView {
    const SampleLog& log;
    std::int32_t viewStart;   // s
    std::int32_t span;        // s
    bool live;                // trendLive
    std::int32_t trendX;      // pixels, the newest point of a live view
    std::int32_t sampleCount; // records of the run
};

// The record under plot column x: a straight interpolation between the
// view's first record at x = 38 and its last one at the right edge (the
// newest point of a live view, else x = 488). Always a record of the log
// (1..6000), whatever the view and the second index hold.
int PosToPointer(const PointerView& view, int x);

// The trace the read-out names for a pointer at y: among the shown traces
// (in trace order), the one whose plotted y for `record` is nearest, closer
// than 50 pixels; the earlier trace on equal distance. Nothing when none
// is that close.
std::optional<TraceId> NearestTrace(const SampleRecord& record,
                                    const std::array<bool, kTraceCount>& shown, int y);

// Top left of the read-out label (w x h) for a pointer at (x, y): at the
// pointer unless it would leave the window's width, 16 pixels below it
// unless it would reach y = 395.
struct LabelPlace {
    int left;
    int top;
};
LabelPlace ReadoutPlace(int x, int y, int width, int height, int windowWidth);

} // namespace velmor
