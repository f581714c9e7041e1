#include "ui/trends/TrendLayout.h"

#include "core/Arith.h"

#include <algorithm>
#include <cmath>

namespace velmor {

namespace {

// The text cells of the percent bars are blanked wider: "100%" is.
constexpr std::array<BarPlace, kBarPlaces> kPlaces{{
    {15, 11, {15, 403, 29, 467}, {10, 473, 34, 489}},
    {42, 38, {42, 403, 56, 467}, {37, 473, 61, 489}},
    {69, 65, {69, 403, 83, 467}, {62, 473, 90, 489}},
    {96, 92, {96, 403, 110, 467}, {91, 473, 115, 489}},
    {123, 119, {123, 403, 137, 467}, {118, 473, 142, 489}},
    {150, 146, {150, 403, 164, 467}, {143, 473, 171, 489}},
    {177, 173, {177, 403, 191, 467}, {172, 473, 196, 489}},
    {204, 200, {204, 403, 218, 467}, {199, 473, 223, 489}},
}};

// By TraceId.
constexpr std::array<int, kTraceCount> kPlaceOfTrace{0, 1, 2, 3, 4, 5, 6, 7, 0, 1};

constexpr ColumnGeometry kRight{423, 424, 479, 480, 518};
constexpr ColumnGeometry kRightInset{428, 424, 479, 480, 518};
constexpr ColumnGeometry kLeft{341, 337, 384, 385, 423};

constexpr int kFrameOffset = 5; // frame left of the leftmost labels

// Bar heights stay within int range whatever a loaded file holds.
int PixelsOf(Real pixels)
{
    if (std::isnan(pixels)) {
        return 0;
    }
    constexpr Real kLimit = 100000;
    return static_cast<int>(RoundEven(std::clamp(pixels, -kLimit, kLimit)));
}

} // namespace

int BarPlaceIndex(TraceId id)
{
    return kPlaceOfTrace[static_cast<std::size_t>(id)];
}

const BarPlace& BarPlaceOf(TraceId id)
{
    return kPlaces[static_cast<std::size_t>(BarPlaceIndex(id))];
}

const std::array<BarPlace, kBarPlaces>& BarPlaces()
{
    return kPlaces;
}

int BarEmptyBottom(const BarInfo& bar, float value)
{
    const Real full = bar.full;
    return kBarTop + PixelsOf((full - value) / full * 64);
}

int BarFilledTop(const BarInfo& bar, float value)
{
    const Real full = bar.full;
    return kBarBottom - PixelsOf(static_cast<Real>(value) / full * 64);
}

const ColumnGeometry& ColumnGeometryOf(ColumnPlace place)
{
    switch (place) {
    case ColumnPlace::RightInset:
        return kRightInset;
    case ColumnPlace::Left:
        return kLeft;
    case ColumnPlace::Right:
        break;
    }
    return kRight;
}

int SettingsFrameLeft(std::span<const SettingsColumn> columns)
{
    if (columns.empty()) {
        return 0;
    }
    int left = ColumnGeometryOf(columns.front().place).labelX;
    for (const SettingsColumn& c : columns) {
        left = std::min(left, ColumnGeometryOf(c.place).labelX);
    }
    return left - kFrameOffset;
}

} // namespace velmor
