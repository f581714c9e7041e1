#include "core/trends/RunReport.h"

#include "core/Arith.h"
#include "core/trends/TrendText.h"

#include <algorithm>
#include <cmath>

namespace velmor {

std::vector<SegmentRun> SegmentRuns(std::span<const SampleRecord> records)
{
    std::vector<SegmentRun> runs;
    std::size_t first = 0;
    for (std::size_t i = 1; i <= records.size(); ++i) {
        if (i == records.size() || records[i].segment != records[first].segment) {
            runs.push_back({records[first].segment, first, i - 1});
            first = i;
        }
    }
    return runs;
}

std::array<std::string, 4> SettingsTexts(const SampleRecord& record, const SettingsColumn& column,
                                         char decimalMark)
{
    const float gain = record.field(column.gainField);
    std::array<std::string, 4> texts;
    texts[0] = DisplayStr(gain, decimalMark);
    if (gain > 1e-10f) {
        texts[1] = DisplayStr(static_cast<float>(100.0L / static_cast<Real>(gain)), decimalMark);
    }
    texts[2] = DisplayStr(record.field(column.integralField), decimalMark);
    texts[3] = DisplayStr(record.field(column.derivativeField), decimalMark);
    return texts;
}

std::vector<SettingsRow> SettingsTable(std::span<const SampleRecord> records,
                                       std::span<const SettingsColumn> columns, char decimalMark)
{
    std::vector<SettingsRow> rows;
    if (columns.empty()) {
        return rows;
    }
    for (const SegmentRun& run : SegmentRuns(records)) {
        const SampleRecord& first = records[run.first];
        SettingsRow& row = rows.emplace_back();
        row.segment = run.segment;
        row.firstRecord = static_cast<int>(run.first) + 1;
        row.start = first.time;
        for (const SettingsColumn& column : columns) {
            row.loops.push_back(SettingsTexts(first, column, decimalMark));
        }
    }
    return rows;
}

ReportSpan WholeRunSpan(std::span<const SampleRecord> records)
{
    // Logged times carry the float noise of their stamping (400.0000059 s):
    // a millisecond past a whole ten still ends the run there.
    const double last = records.empty() ? 0.0 : std::max(records.back().time, 0.0);
    return {0.0, std::max(10.0, std::ceil((last - 1e-3) / 10.0) * 10.0)};
}

int ReportTickStep(double seconds)
{
    constexpr int kSteps[] = {1, 2, 5, 10, 20, 30, 60, 120, 300};
    for (int step : kSteps) {
        if (seconds / step <= 12.0) {
            return step;
        }
    }
    return 600;
}

} // namespace velmor
