#include "core/trends/TrendTables.h"

#include "core/Arith.h"
#include "core/trends/Scales.h"
#include "core/trends/TrendText.h"

namespace velmor {

namespace {

constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kAqua{0, 255, 255};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kSilver{192, 192, 192};
constexpr Rgb kLime{0, 255, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kFuchsia{255, 0, 255};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGreen{0, 128, 0};

constexpr std::array<TraceInfo, kTraceCount> kTraces{{
    {TraceId::FlowSP, 2, ValueScale::Rate, kYellow},
    {TraceId::FlowMV, 3, ValueScale::Rate, kAqua},
    {TraceId::FlowQ, 7, ValueScale::Fixed, kWhite},
    {TraceId::TempSP, 8, ValueScale::Fixed, kLime},
    {TraceId::TempMV, 9, ValueScale::Fixed, kRed},
    {TraceId::TempQ, 13, ValueScale::Fixed, kFuchsia},
    {TraceId::VolSP, 14, ValueScale::Cumulative, kBlue},
    {TraceId::VolMV, 15, ValueScale::Cumulative, kGreen},
    {TraceId::LevelSP, 19, ValueScale::Fixed, kYellow},
    {TraceId::LevelMV, 20, ValueScale::Fixed, kAqua},
}};

constexpr std::array<BarInfo, kTraceCount> kBars{{
    {TraceId::FlowSP, 2, 0, 15, 11, 2, false, BarFormat::Fixed, 2, false, kYellow},
    {TraceId::FlowMV, 3, 1, 42, 38, 2, true, BarFormat::Fixed, 2, false, kAqua},
    {TraceId::FlowQ, 7, 2, 69, 65, 100, false, BarFormat::Fixed, 0, true, kSilver},
    {TraceId::TempSP, 8, 3, 96, 92, 100, false, BarFormat::General, 0, false, kLime},
    {TraceId::TempMV, 9, 4, 123, 119, 100, false, BarFormat::Fixed, 0, false, kRed},
    {TraceId::TempQ, 13, 5, 150, 146, 100, false, BarFormat::Fixed, 0, true, kFuchsia},
    // The volume set point is drawn against twice the tank's 6 L.
    {TraceId::VolSP, 14, 6, 177, 173, 12, false, BarFormat::General, 0, false, kBlue},
    {TraceId::VolMV, 15, 7, 204, 200, 6, false, BarFormat::Fixed, 1, false, kGreen},
    {TraceId::LevelSP, 19, 0, 15, 11, 100, false, BarFormat::Fixed, 0, false, kYellow},
    {TraceId::LevelMV, 20, 1, 42, 38, 100, false, BarFormat::Fixed, 0, false, kAqua},
}};

constexpr std::array<BarPlace, kTrendBarPlaces> kPlaces{{
    {{15, 403, 29, 467}, {10, 473, 34, 489}},
    {{42, 403, 56, 467}, {37, 473, 61, 489}},
    {{69, 403, 83, 467}, {62, 473, 90, 489}},
    {{96, 403, 110, 467}, {91, 473, 115, 489}},
    {{123, 403, 137, 467}, {118, 473, 142, 489}},
    {{150, 403, 164, 467}, {143, 473, 171, 489}},
    {{177, 403, 191, 467}, {172, 473, 196, 489}},
    {{204, 403, 218, 467}, {199, 473, 223, 489}},
}};

constexpr int kPrecision = 4;

} // namespace

const std::array<TraceInfo, kTraceCount>& TraceTable()
{
    return kTraces;
}

int PlotOnScale(ValueScale scale, float value)
{
    switch (scale) {
    case ValueScale::Rate:
        return PlotRate(value);
    case ValueScale::Cumulative:
        return PlotCumulative(value);
    case ValueScale::Fixed:
        break;
    }
    return PlotFixed(value);
}

const std::array<BarInfo, kTraceCount>& BarTable()
{
    return kBars;
}

const BarInfo& BarOf(TraceId id)
{
    return kBars[static_cast<std::size_t>(id)];
}

const std::array<BarPlace, kTrendBarPlaces>& BarPlaces()
{
    return kPlaces;
}

float BarValue(const BarInfo& bar, float raw)
{
    if (bar.clamped) {
        if (raw < 0) {
            return 0;
        }
        if (raw > bar.full) {
            return bar.full;
        }
    }
    return raw;
}

std::string BarText(const BarInfo& bar, float value, char decimalMark)
{
    std::string text = bar.format == BarFormat::General
                           ? FormatGeneral(value, kPrecision, decimalMark)
                           : FormatFixed(value, kPrecision, bar.decimals, decimalMark);
    if (bar.percentSign) {
        text += '%';
    }
    return text;
}

namespace {

// Bar heights stay within int range whatever a loaded file holds.
int PixelsOf(Real pixels)
{
    if (std::isnan(pixels)) {
        return 0;
    }
    constexpr Real kLimit = 100000;
    return static_cast<int>(RoundEven(pixels < -kLimit  ? -kLimit
                                      : pixels > kLimit ? kLimit
                                                        : pixels));
}

} // namespace

int BarEmptyBottom(const BarInfo& bar, float value)
{
    const Real full = bar.full;
    return kTrendBarTop + PixelsOf((full - value) / full * 64);
}

int BarFilledTop(const BarInfo& bar, float value)
{
    const Real full = bar.full;
    return kTrendBarBottom - PixelsOf(static_cast<Real>(value) / full * 64);
}

} // namespace velmor
