// The ten traces of the Trends window and the bars under the plot: record
// fields, scales, colours and the bars' values and texts, in the order of
// the trace table (flow set point first, measured level last).
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

enum class ValueScale { Rate, Fixed, Cumulative }; // 2 L/min, 100, 6 L

struct TraceInfo {
    TraceId id;
    int field; // record field
    ValueScale scale;
    Rgb colour; // pen colour
};

const std::array<TraceInfo, kTraceCount>& TraceTable();

// What a running loop hands the Trends window for the traces: a value per
// trace, in the unit of its scale (L/min, percent, degrees C, L).
struct TraceValues {
    std::array<float, kTraceCount> values{};
    float& operator[](TraceId id) { return values[static_cast<std::size_t>(id)]; }
    float operator[](TraceId id) const { return values[static_cast<std::size_t>(id)]; }
};

enum class BarFormat { Fixed, General };

// The value a bar under the plot shows of its trace's field, and how its
// text is written. Where the bars stand is the window's business.
struct BarInfo {
    TraceId id;
    int field;    // record field
    float full;   // full-scale value, in the unit of the trace
    bool clamped; // value clamped to 0..full first (measured flow only)
    BarFormat format;
    int decimals;     // Fixed only
    bool percentSign; // text followed by "%"
    Rgb colour;
};

const std::array<BarInfo, kTraceCount>& BarTable();
const BarInfo& BarOf(TraceId id);

// The value a bar shows for a record's field value.
float BarValue(const BarInfo& bar, float raw);
// Its text (precision 4), in the system's decimal mark.
std::string BarText(const BarInfo& bar, float value, char decimalMark = '.');

} // namespace velmor
