// The ten traces of the Trends window and the bars under the plot: record
// fields, scales, colours and the bar arithmetic, in the order of the trace
// table (flow set point first, measured level last).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace velmor {

enum class TraceId { FlowSP, FlowMV, FlowQ, TempSP, TempMV, TempQ, VolSP, VolMV, LevelSP, LevelMV };
constexpr int kTraceCount = 10;

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// Rectangle in panel pixels, right and bottom exclusive.
struct PixelRect {
    int left, top, right, bottom;
};

enum class ValueScale { Rate, Fixed, Cumulative }; // 2 L/min, 100, 6 L

struct TraceInfo {
    TraceId id;
    int field; // record field
    ValueScale scale;
    Rgb colour; // pen colour
};

const std::array<TraceInfo, kTraceCount>& TraceTable();

// y of a value on a trace's scale (PlotRate / PlotFixed / PlotCumulative).
int PlotOnScale(ValueScale scale, float value);

enum class BarFormat { Fixed, General };

struct BarInfo {
    TraceId id;
    int field;    // record field
    int place;    // 0..7: bar places left to right
    int barLeft;  // bar x from barLeft to barLeft + 14 (exclusive)
    int cellLeft; // text cell, 24 pixels wide from here
    float full;   // full-scale value, in the unit of the trace
    bool clamped; // value clamped to 0..full first (measured flow only)
    BarFormat format;
    int decimals;     // Fixed only
    bool percentSign; // text followed by "%"
    Rgb colour;
};

constexpr int kTrendBarTop = 403;    // y of a full bar
constexpr int kTrendBarBottom = 467; // y of an empty bar (exclusive)
constexpr int kTrendBarWidth = 14;
constexpr int kTrendBarTextTop = 473;
constexpr int kTrendBarCellWidth = 24;
constexpr int kTrendBarCellHeight = 16;
constexpr int kTrendBarPlaces = 8;

const std::array<BarInfo, kTraceCount>& BarTable();
const BarInfo& BarOf(TraceId id);

// What the blanking operations (BlankFlowSP ... BlankVolMV) clear, by place.
struct BarPlace {
    PixelRect bar;
    PixelRect text;
};
const std::array<BarPlace, kTrendBarPlaces>& BarPlaces();

// The value a bar shows for a record's field value.
float BarValue(const BarInfo& bar, float raw);
// Its text (precision 4), in the system's decimal mark.
std::string BarText(const BarInfo& bar, float value, char decimalMark = '.');
// Bottom (exclusive) of the black, empty part drawn from y = 403:
// 403 + Round((full - v) / full x 64). Above 403 for values over full scale.
int BarEmptyBottom(const BarInfo& bar, float value);
// Top of the coloured part that ends at y = 467: 467 - Round(v / full x 64).
int BarFilledTop(const BarInfo& bar, float value);

} // namespace velmor
