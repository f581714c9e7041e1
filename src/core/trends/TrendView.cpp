#include "core/trends/TrendView.h"

#include "core/Arith.h"
#include "core/trends/Scales.h"

#include <algorithm>

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

} // namespace velmor
