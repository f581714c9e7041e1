// Index and pixel arithmetic of the Trends window that needs no drawing:
// safe look-ups in the second index and the log, the folding of times past
// the right edge, the slider knob and the placement of centred texts.
#pragma once

#include "core/rundata/SampleLog.h"

#include <cstdint>

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

} // namespace velmor
