#include "core/analysis/RunCsv.h"

#include "core/rundata/Columns.h"
#include "core/rundata/NumberText.h"

#include <algorithm>

namespace velmor {

std::string_view FieldUnit(int field)
{
    switch (field) {
    case kFieldTime:
        return "s";
    case kFieldFlowSP:
    case kFieldFlowMV:
        return "L/min";
    case kFieldOutput:
    case kFieldHeater:
    case kFieldLevelSP:
    case kFieldLevelMV:
        return "%";
    case kFieldTempSP:
    case kFieldTempMV:
        return "\u00b0C";
    case kFieldVolSP:
    case kFieldVolMV:
        return "L";
    default:
        return {};
    }
}

std::string RunCsv(std::span<const SampleRecord> records, Exercise e, bool decimalComma)
{
    const char separator = decimalComma ? ';' : ',';
    const auto columns = ExerciseColumns(e);
    std::string csv;
    csv.reserve((records.size() + 1) * columns.size() * 12);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (c > 0) {
            csv += separator;
        }
        csv += columns[c].name;
        if (const std::string_view unit = FieldUnit(columns[c].field); !unit.empty()) {
            csv += " (";
            csv += unit;
            csv += ')';
        }
    }
    csv += "\r\n";
    for (const SampleRecord& r : records) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c > 0) {
                csv += separator;
            }
            const int field = columns[c].field;
            std::string number = field == kFieldTime      ? ShortestText(r.time)
                                 : field == kFieldSegment ? std::to_string(r.segment)
                                                          : ShortestText(r.field(field));
            if (decimalComma) {
                std::replace(number.begin(), number.end(), '.', ',');
            }
            csv += number;
        }
        csv += "\r\n";
    }
    return csv;
}

} // namespace velmor
