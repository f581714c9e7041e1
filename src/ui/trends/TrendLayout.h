// Where the Trends window draws below its plot, in panel pixels: the eight
// bar places with their value texts, and the settings box's columns by
// their place. Rectangles are left, top, right, bottom, right and bottom
// exclusive.
#pragma once

#include "core/exercises/ExerciseProfile.h"
#include "core/trends/TrendTables.h"

#include <array>
#include <span>

namespace velmor {

struct PanelRect {
    int left, top, right, bottom;
};

// ---- Bars ------------------------------------------------------------------

constexpr int kBarTop = 403;    // y of a full bar
constexpr int kBarBottom = 467; // y of an empty bar (exclusive)
constexpr int kBarWidth = 14;
constexpr int kBarTextTop = 473;
constexpr int kBarCellWidth = 24;
constexpr int kBarCellHeight = 16;
constexpr int kBarPlaces = 8;

// A bar place: the bar from barLeft, 14 pixels wide; its value text centred
// in a cell 24 pixels wide from cellLeft; and what blanking the place
// (BlankFlowSP ... BlankVolMV) clears.
struct BarPlace {
    int barLeft;
    int cellLeft;
    PanelRect blankBar;
    PanelRect blankText;
};

// The place (0..7, left to right) of a trace's bar: the level bars take the
// flow set point's and the flow's.
int BarPlaceIndex(TraceId id);
const BarPlace& BarPlaceOf(TraceId id);
const std::array<BarPlace, kBarPlaces>& BarPlaces();

// Bottom (exclusive) of the black, empty part drawn from y = 403:
// 403 + Round((full - v) / full x 64). Above 403 for values over full scale.
int BarEmptyBottom(const BarInfo& bar, float value);
// Top of the coloured part that ends at y = 467: 467 - Round(v / full x 64).
int BarFilledTop(const BarInfo& bar, float value);

// ---- Settings box ------------------------------------------------------------

// The four lines (gain, band, integral, derivative) of every column.
constexpr std::array<int, 4> kSettingsLineY{432, 447, 462, 477};

// A column's x: its labels, the label area cleared before they are drawn,
// and the value area (both from left to right, exclusive).
struct ColumnGeometry {
    int labelX;
    int clearLeft;
    int clearRight;
    int valueLeft;
    int valueRight;
};
const ColumnGeometry& ColumnGeometryOf(ColumnPlace place);

// Left edge of the box's frame: 5 pixels left of its leftmost labels; 0
// for an exercise without a settings box.
int SettingsFrameLeft(std::span<const SettingsColumn> columns);

} // namespace velmor
