// A run as a spreadsheet table: one header row with the column names and
// their units, one row per record, UTF-8 text with CR LF line ends.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/SampleLog.h"

#include <span>
#include <string>

namespace velmor {

// Unit shown after a column name, or empty: "s", "L/min", "%", "°C", "L".
// Controller settings (PG, I, D) and the settings segment have none: their
// time units differ between the exercises.
std::string_view FieldUnit(int field);

// The exercise's columns (as in a simulation file) for records: times and
// values as the shortest text that reads back to the stored value. With
// decimalComma the separator is ";" and the decimal mark ",", else "," and
// ".".
std::string RunCsv(std::span<const SampleRecord> records, Exercise e, bool decimalComma);

} // namespace velmor
