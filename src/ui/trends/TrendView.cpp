#include "ui/trends/TrendView.h"

#include "core/Arith.h"
#include "ui/trends/Scales.h"

#include <algorithm>
#include <cstdlib>

namespace velmor {

int ClampSecond(std::int64_t second)
{
    return static_cast<int>(std::clamp<std::int64_t>(second, 0, kLastIndexedSecond));
}

std::int32_t SecondIndexAt(const SampleLog& log, std::int64_t second)
{
    return log.secondIndex[static_cast<std::size_t>(ClampSecond(second))];
}

int ClampRecordNumber(std::int64_t recordNumber)
{
    return static_cast<int>(std::clamp<std::int64_t>(recordNumber, 1, kLogRecords));
}

int BarRecordNumber(int recordNumber)
{
    if (recordNumber < 1 || recordNumber > kLogRecords) {
        return kLogRecords;
    }
    return recordNumber;
}

int FoldX(int x)
{
    constexpr int kFold = 451;
    if (x <= kPlotRight) {
        return x;
    }
    // Same result as subtracting 451 while x > 488, without the loop.
    const std::int64_t times = (static_cast<std::int64_t>(x) - kPlotRight + kFold - 1) / kFold;
    return static_cast<int>(x - times * kFold);
}

int SliderKnobOffset(std::int32_t span)
{
    return static_cast<int>(Trunc((static_cast<Real>(span) * 55 - 1100) / 160));
}

int CentredLeft(int x, int width)
{
    return x - static_cast<int>(RoundEven(static_cast<Real>(width) / 2));
}

int AxisLabelTop(int height)
{
    return 361 + static_cast<int>(RoundEven(static_cast<Real>(15 - height) / 2));
}

int CellTextLeft(int cellLeft, int cellWidth, int width)
{
    return cellLeft + (cellWidth - width) / 2;
}

// ---- Navigation --------------------------------------------------------

namespace {

struct ArrowPlace {
    int across; // left x
    int step;   // s
};

constexpr std::array<ArrowPlace, 8> kArrows{{
    {42, -60},
    {58, -30},
    {74, -20},
    {90, -10},
    {122, 10},
    {138, 20},
    {154, 30},
    {170, 60},
}};

bool Within(int v, int low, int high)
{
    return v >= low && v <= high;
}

// secondIndexFilled rounded up to a multiple of 10, then less the span.
std::int32_t LastStart(std::int32_t secondIndexFilled, std::int32_t span)
{
    const std::int64_t end = (std::max<std::int64_t>(secondIndexFilled, 0) + 9) / 10 * 10;
    return static_cast<std::int32_t>(std::max<std::int64_t>(end - span, 0));
}

// 10 x Trunc(v / 10 + 0.5): a typed number of seconds to whole tens.
std::int64_t ToTens(std::int64_t v)
{
    return 10 * Trunc(static_cast<Real>(v) / 10 + 0.5L);
}

} // namespace

int Block(int x, int y)
{
    if (Within(x, kPlotLeft, kPlotRight) && Within(y, kPlotTop, 362)) {
        return kBlockPlot;
    }
    if (Within(x, 399, 469) && Within(y, 29, 45)) {
        return kBlockSlider;
    }
    if (Within(y, 27, 46)) {
        for (int arrow = 8; arrow >= 1; --arrow) {
            const int left = Across(arrow);
            if (Within(x, left, left + 17)) {
                return 11 - arrow;
            }
        }
    }
    return Within(y, kPlotTop, 362) ? kBlockBesidePlot : kBlockElsewhere;
}

int ArrowOfBlock(int block)
{
    return block >= 3 && block <= 10 ? 11 - block : 0;
}

int Across(int arrow)
{
    return arrow >= 1 && arrow <= 8 ? kArrows[static_cast<std::size_t>(arrow - 1)].across : 0;
}

int ArrowStep(int arrow)
{
    return arrow >= 1 && arrow <= 8 ? kArrows[static_cast<std::size_t>(arrow - 1)].step : 0;
}

std::int32_t ScrolledStart(std::int32_t viewStart, int step, std::int32_t secondIndexFilled,
                           std::int32_t span)
{
    const std::int64_t start =
        std::max<std::int64_t>(static_cast<std::int64_t>(viewStart) + step, 0);
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(start, LastStart(secondIndexFilled, span)));
}

std::optional<std::int32_t> TypedStart(std::int32_t typed, std::int32_t secondIndexFilled,
                                       std::int32_t span)
{
    const std::int64_t value = ToTens(typed);
    if (value < 0 || value > secondIndexFilled) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(value, LastStart(secondIndexFilled, span)));
}

std::optional<std::int32_t> TypedSpan(std::int32_t typed)
{
    const std::int64_t s = ToTens(typed);
    if (s < 20 || s > 180) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(s);
}

int KnobOfSliderOffset(int offset)
{
    return std::clamp(offset - 5, 0, 55);
}

std::int32_t SpanOfKnob(int k)
{
    const std::int64_t inner = Trunc(static_cast<Real>(k) * 160 / 55 + 20);
    return static_cast<std::int32_t>(10 * Trunc(static_cast<Real>(inner) / 10 + 0.5L));
}

int CursorXAfterSpan(int cursorX, std::int32_t oldSpan, std::int32_t newSpan)
{
    if (newSpan == 0) {
        return cursorX;
    }
    return static_cast<int>(
        Trunc(static_cast<Real>(oldSpan) * (cursorX - kPlotLeft) / newSpan + kPlotLeft + 0.5L));
}

std::int32_t StartAfterSpan(std::int32_t viewStart, std::int32_t oldSpan, std::int32_t newSpan,
                            std::int32_t secondIndexFilled)
{
    if (viewStart > 0 && static_cast<std::int64_t>(newSpan) + viewStart >= secondIndexFilled) {
        return static_cast<std::int32_t>(
            std::max<std::int64_t>(static_cast<std::int64_t>(viewStart) + oldSpan - newSpan, 0));
    }
    return viewStart;
}

int PosToPointer(const PointerView& view, int x)
{
    const std::int64_t first = SecondIndexAt(view.log, view.viewStart);
    std::int64_t last = 0;
    std::int64_t right = kPlotRight;
    if (view.live && first != view.sampleCount) {
        last = view.sampleCount;
        right = Trunc(view.trendX - static_cast<Real>(view.trendX - 37) / (last - first) + 0.5L);
    } else {
        last = SecondIndexAt(view.log, static_cast<std::int64_t>(view.viewStart) + view.span);
    }
    if (last == first || right == kPlotLeft) {
        return ClampRecordNumber(first);
    }
    const Real share = static_cast<Real>(x - kPlotLeft) / static_cast<Real>(right - kPlotLeft);
    return ClampRecordNumber(Trunc(share * static_cast<Real>(last - first) + first));
}

std::optional<TraceId> NearestTrace(const SampleRecord& record,
                                    const std::array<bool, kTraceCount>& shown, int y)
{
    std::optional<TraceId> nearest;
    int best = 50;
    for (const TraceInfo& trace : TraceTable()) {
        if (!shown[static_cast<std::size_t>(trace.id)]) {
            continue;
        }
        const int d = std::abs(PlotOnScale(trace.scale, record.field(trace.field)) - y);
        if (d < best) {
            best = d;
            nearest = trace.id;
        }
    }
    return nearest;
}

LabelPlace ReadoutPlace(int x, int y, int width, int height, int windowWidth)
{
    constexpr int kBelowPointer = 16;
    constexpr int kLowest = 395;
    return {x + width < windowWidth ? x : windowWidth - width,
            y + kBelowPointer + height < kLowest ? y + kBelowPointer : kLowest - height};
}

} // namespace velmor
