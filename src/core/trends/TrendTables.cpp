#include "core/trends/TrendTables.h"

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
    {TraceId::FlowSP, 2, 2, false, BarFormat::Fixed, 2, false, kYellow},
    {TraceId::FlowMV, 3, 2, true, BarFormat::Fixed, 2, false, kAqua},
    {TraceId::FlowQ, 7, 100, false, BarFormat::Fixed, 0, true, kSilver},
    {TraceId::TempSP, 8, 100, false, BarFormat::General, 0, false, kLime},
    {TraceId::TempMV, 9, 100, false, BarFormat::Fixed, 0, false, kRed},
    {TraceId::TempQ, 13, 100, false, BarFormat::Fixed, 0, true, kFuchsia},
    // The volume set point is drawn against twice the tank's 6 L.
    {TraceId::VolSP, 14, 12, false, BarFormat::General, 0, false, kBlue},
    {TraceId::VolMV, 15, 6, false, BarFormat::Fixed, 1, false, kGreen},
    {TraceId::LevelSP, 19, 100, false, BarFormat::Fixed, 0, false, kYellow},
    {TraceId::LevelMV, 20, 100, false, BarFormat::Fixed, 0, false, kAqua},
}};

constexpr int kPrecision = 4;

} // namespace

const std::array<TraceInfo, kTraceCount>& TraceTable()
{
    return kTraces;
}

const std::array<BarInfo, kTraceCount>& BarTable()
{
    return kBars;
}

const BarInfo& BarOf(TraceId id)
{
    return kBars[static_cast<std::size_t>(id)];
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

} // namespace velmor
