#include "ui/trends/TrendComparison.h"

#include "ui/trends/Scales.h"
#include "ui/trends/TrendCanvas.h"
#include "ui/trends/TrendView.h"

#include <algorithm>
#include <utility>

namespace velmor {

void TrendComparison::set(std::vector<SampleRecord> records,
                          const std::array<std::int32_t, kSecondIndexEntries>& secondIndex,
                          const QString& name)
{
    m_records = std::move(records);
    m_name = m_records.empty() ? QString() : name;
    m_index = secondIndex;
}

void TrendComparison::draw(TrendCanvas& canvas, std::int32_t viewStart, std::int32_t span,
                           float samplePeriod, const std::array<bool, kTraceCount>& shown) const
{
    if (m_records.empty()) {
        return;
    }
    const int count = static_cast<int>(m_records.size());
    const auto indexAt = [this](std::int64_t second) {
        return m_index[static_cast<std::size_t>(ClampSecond(second))];
    };
    const int first = std::clamp(indexAt(viewStart), 1, count);
    const int last = std::clamp(indexAt(static_cast<std::int64_t>(viewStart) + span), first, count);
    const int step = RedrawStep(span, samplePeriod);
    for (const TraceInfo& trace : TraceTable()) {
        if (!shown[static_cast<std::size_t>(trace.id)]) {
            continue;
        }
        // Dimmed to three fifths: the saved run reads as a shadow.
        const QRgb colour =
            qRgb(trace.colour.r * 3 / 5, trace.colour.g * 3 / 5, trace.colour.b * 3 / 5);
        int dashPhase = 0;
        int prevX = -1;
        int prevY = 0;
        const auto point = [&](int n) {
            const SampleRecord& r = m_records[static_cast<std::size_t>(n - 1)];
            const int x = TimeToX(r.time, viewStart, span);
            if (x > kPlotRight || x <= prevX) {
                return;
            }
            const int y = PlotOnScale(trace.scale, r.field(trace.field));
            if (prevX >= 0) {
                canvas.line(prevX, prevY, x, y, colour, &dashPhase);
            }
            prevX = x;
            prevY = y;
        };
        for (int n = first; n < last; n += step) {
            point(n);
        }
        point(last);
    }
}

} // namespace velmor
