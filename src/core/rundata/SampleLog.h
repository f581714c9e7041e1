// The sample log: 6000 records of one run, and the second index that maps a
// whole second of simulated time to the first record at or after it.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <span>
#include <vector>

namespace velmor {

constexpr int kLogRecords = 6000;        // records per run, numbered 1..6000
constexpr int kSecondIndexEntries = 781; // seconds 0..780
constexpr int kLastIndexedSecond = kSecondIndexEntries - 1;

// Field numbers of a record. Fields 0 and 1 together hold the time (one
// double); 2..23 are floats; 24 is the settings segment in force.
enum Field : int {
    kFieldFlowSP = 2,   // L/min
    kFieldFlowMV = 3,   // L/min
    kFieldFlowPG = 4,   // PG
    kFieldFlowI = 5,    // s, 0 while I is off
    kFieldFlowD = 6,    // s, 0 while D is off
    kFieldOutput = 7,   // pump output, percent
    kFieldTempSP = 8,   // degrees C
    kFieldTempMV = 9,   // degrees C
    kFieldTempPG = 10,  // PG
    kFieldTempI = 11,   // I in the temperature loop's unit
    kFieldTempD = 12,   // D in the temperature loop's unit
    kFieldHeater = 13,  // percent
    kFieldVolSP = 14,   // L
    kFieldVolMV = 15,   // L
    kFieldVolPG = 16,   // PG
    kFieldVolI = 17,    // s, 0 while I is off
    kFieldVolD = 18,    // s, 0 while D is off
    kFieldLevelSP = 19, // percent
    kFieldLevelMV = 20, // percent
    kFieldLevelPG = 21, // PG
    kFieldLevelI = 22,  // I in the level loop's unit, 0 while off
    kFieldLevelD = 23,  // D in the level loop's unit, 0 while off
    kFieldSegment = 24,
    kFieldTime = 0, // fields 0-1, s
};

constexpr int kFirstFloatField = 2;
constexpr int kLastFloatField = 23;

struct SampleRecord {
    double time = 0.0;              // seconds
    std::array<float, 22> values{}; // fields 2..23
    std::int32_t segment = 0;       // field 24

    float& field(int f)
    {
        assert(f >= kFirstFloatField && f <= kLastFloatField);
        return values[static_cast<std::size_t>(f - kFirstFloatField)];
    }
    float field(int f) const
    {
        assert(f >= kFirstFloatField && f <= kLastFloatField);
        return values[static_cast<std::size_t>(f - kFirstFloatField)];
    }
    bool operator==(const SampleRecord&) const = default;
};

struct SampleLog {
    SampleLog();

    // Record numbers are 1-based everywhere.
    SampleRecord& record(int n)
    {
        assert(n >= 1 && n <= kLogRecords);
        return records[static_cast<std::size_t>(n - 1)];
    }
    const SampleRecord& record(int n) const
    {
        assert(n >= 1 && n <= kLogRecords);
        return records[static_cast<std::size_t>(n - 1)];
    }

    // Zeroes the given fields (0 meaning the time) in every record,
    // 6000 down to 1, as each exercise does at Start for its own fields.
    void clearFields(std::span<const int> fields);

    // Second index bookkeeping of a run.
    void resetSecondIndex();
    void secondIndexStep(double cycleTime, int recordNumber);
    void finishSecondIndex(int sampleCount);

    std::vector<SampleRecord> records; // one contiguous block
    std::array<std::int32_t, kSecondIndexEntries> secondIndex{};
    std::int32_t secondIndexCursor = 1; // next second to enter
    std::int32_t secondIndexFilled = 0;
};

} // namespace velmor
