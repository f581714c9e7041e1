// A saved run of the same exercise drawn behind the current traces of the
// Trends window in dimmed, dashed lines (Analysis > Compare with saved run).
#pragma once

#include "core/rundata/SampleLog.h"
#include "core/trends/TrendTables.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace velmor {

class TrendCanvas;

class TrendComparison {
public:
    // `name` is the saved file's name, as the Analysis menu shows it; no
    // records clear the comparison.
    void set(std::vector<SampleRecord> records,
             const std::array<std::int32_t, kSecondIndexEntries>& secondIndex, const QString& name);

    bool empty() const { return m_records.empty(); }
    const QString& name() const { return m_name; }

    // The shown traces of the saved run over the view from viewStart (s)
    // spanning span (s), thinned as a redraw thins the log.
    void draw(TrendCanvas& canvas, std::int32_t viewStart, std::int32_t span, float samplePeriod,
              const std::array<bool, kTraceCount>& shown) const;

private:
    std::vector<SampleRecord> m_records;
    std::array<std::int32_t, kSecondIndexEntries> m_index{};
    QString m_name;
};

} // namespace velmor
