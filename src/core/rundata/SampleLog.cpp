#include "core/rundata/SampleLog.h"

#include <algorithm>

namespace velmor {

SampleLog::SampleLog() : records(kLogRecords)
{
    secondIndex.fill(0);
}

void SampleLog::clearFields(std::span<const int> fields)
{
    // Sorted out once, not per record: a run's Start clears 6000 records.
    bool time = false;
    bool segment = false;
    std::array<int, kLastFloatField - kFirstFloatField + 1> floats{};
    std::size_t floatCount = 0;
    for (int f : fields) {
        if (f == kFieldTime || f == 1) {
            time = true;
        } else if (f == kFieldSegment) {
            segment = true;
        } else {
            assert(f >= kFirstFloatField && f <= kLastFloatField);
            const int index = f - kFirstFloatField;
            if (std::find(floats.begin(), floats.begin() + floatCount, index) ==
                floats.begin() + floatCount) {
                floats[floatCount++] = index;
            }
        }
    }
    for (int n = kLogRecords; n >= 1; --n) {
        SampleRecord& r = record(n);
        if (time) {
            r.time = 0.0;
        }
        for (std::size_t k = 0; k < floatCount; ++k) {
            r.values[static_cast<std::size_t>(floats[k])] = 0.0f;
        }
        if (segment) {
            r.segment = 0;
        }
    }
}

void SampleLog::resetSecondIndex()
{
    secondIndex.fill(0);
    secondIndex[0] = 1;
    secondIndexCursor = 1;
    secondIndexFilled = 0;
}

void SampleLog::secondIndexStep(double cycleTime, int recordNumber)
{
    // At most one entry per record; seconds past 780 are not indexed.
    if (secondIndexCursor <= kLastIndexedSecond && secondIndexCursor <= cycleTime) {
        secondIndex[static_cast<std::size_t>(secondIndexCursor)] = recordNumber;
        ++secondIndexCursor;
        ++secondIndexFilled;
    }
}

void SampleLog::finishSecondIndex(int sampleCount)
{
    secondIndexFilled = secondIndexCursor;
    for (int s = secondIndexCursor; s <= kLastIndexedSecond; ++s) {
        secondIndex[static_cast<std::size_t>(s)] = sampleCount;
    }
}

} // namespace velmor
