#include "core/rundata/SampleLog.h"

namespace velmor {

SampleLog::SampleLog() : records(kLogRecords)
{
    secondIndex.fill(0);
}

void SampleLog::clearFields(std::span<const int> fields)
{
    for (int n = kLogRecords; n >= 1; --n) {
        SampleRecord& r = record(n);
        for (int f : fields) {
            if (f == kFieldTime || f == 1) {
                r.time = 0.0;
            } else if (f == kFieldSegment) {
                r.segment = 0;
            } else {
                r.field(f) = 0.0f;
            }
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
