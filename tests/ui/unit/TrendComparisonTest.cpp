#include "ui/trends/TrendComparison.h"

#include "ui/trends/Scales.h"
#include "ui/trends/TrendCanvas.h"

#include <gtest/gtest.h>

#include <QColor>

using namespace velmor;

namespace {

// Flow records every 0.1 s from t = 0, the set point at 0.5 L/min but for
// the last record's, at 1.5 L/min.
SampleLog SavedRun(int count)
{
    SampleLog log;
    log.resetSecondIndex();
    for (int n = 1; n <= count; ++n) {
        SampleRecord& r = log.record(n);
        r.time = (n - 1) * 0.1;
        r.field(kFieldFlowSP) = n == count ? 1.5f : 0.5f;
        log.secondIndexStep(r.time, n);
    }
    log.finishSecondIndex(count);
    return log;
}

int CountIn(const QImage& image, const QRect& area, QRgb colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

} // namespace

TEST(TrendComparison, ALastRecordInTheColumnBeforeItIsLeftOut)
{
    // Over a 120 s view thinned to every 7th record, record 1198
    // (t = 119.7 s) and the last, 1199 (t = 119.8 s), both fall in
    // column 487: the last one is left out, so no stroke joins the two
    // set points in that column.
    const int count = 1199;
    ASSERT_EQ(RedrawStep(120, 0.1f), 7);
    ASSERT_EQ(TimeToX(119.7, 0, 120), 487);
    ASSERT_EQ(TimeToX(119.8, 0, 120), 487);
    const SampleLog log = SavedRun(count);
    TrendComparison saved;
    saved.set({log.records.begin(), log.records.begin() + count}, log.secondIndex, "run.sim");

    TrendCanvas canvas;
    canvas.image() = QImage(524, 501, QImage::Format_RGB32);
    canvas.image().fill(Qt::black);
    std::array<bool, kTraceCount> shown{};
    shown[static_cast<std::size_t>(TraceId::FlowSP)] = true;
    saved.draw(canvas, 0, 120, 0.1f, shown);

    const QRgb dimYellow = qRgb(153, 153, 0);
    // The set point is drawn, dashed, at 0.5 L/min up to the column...
    const int y = PlotRate(0.5f);
    EXPECT_GT(CountIn(canvas.image(), QRect(38, y, 449, 1), dimYellow), 200);
    EXPECT_EQ(CountIn(canvas.image(), canvas.image().rect(), dimYellow),
              CountIn(canvas.image(), QRect(38, y, 449, 1), dimYellow));
    // ...and nothing in it.
    EXPECT_EQ(CountIn(canvas.image(), QRect(487, 0, 1, 501), dimYellow), 0);
}
