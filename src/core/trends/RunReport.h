// What the printed report of a run says besides its trend: the stretch of
// time it covers, the steps of its time axis, and the settings table (one
// row per settings segment with the controller values in force).
#pragma once

#include "core/exercises/ExerciseProfile.h"
#include "core/rundata/SampleLog.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velmor {

// A run of consecutive records with the same settings segment: indexes
// first..last (inclusive, 0-based) of the records given.
struct SegmentRun {
    std::int32_t segment = 0;
    std::size_t first = 0;
    std::size_t last = 0;
};
std::vector<SegmentRun> SegmentRuns(std::span<const SampleRecord> records);

// The settings box's four texts for one loop of a record: gain, band
// (100 / gain, empty for a gain of 1e-10 or less), integral, derivative.
std::array<std::string, 4> SettingsTexts(const SampleRecord& record, const SettingsColumn& column,
                                         char decimalMark = '.');

struct SettingsRow {
    std::int32_t segment = 0;
    int firstRecord = 0; // record number (1-based)
    double start = 0;    // s, its time
    // One group of four texts per settings column, in the columns' order.
    std::vector<std::array<std::string, 4>> loops;
};

// The rows of records 1..n (records[0] is record 1). The columns are the
// exercise's settings-box columns; an exercise without any has no rows.
std::vector<SettingsRow> SettingsTable(std::span<const SampleRecord> records,
                                       std::span<const SettingsColumn> columns,
                                       char decimalMark = '.');

// The stretch of time a report covers, in s.
struct ReportSpan {
    double from = 0;
    double to = 0;
};
// The whole run: from 0 to its last time rounded up to 10 s (at least 10);
// a time within a millisecond past a whole ten counts as that ten.
ReportSpan WholeRunSpan(std::span<const SampleRecord> records);

// Seconds between grid lines of a report's time axis: the smallest of 1, 2,
// 5, 10, 20, 30, 60, 120 and 300 that needs no more than 12 steps.
int ReportTickStep(double seconds);

} // namespace velmor
