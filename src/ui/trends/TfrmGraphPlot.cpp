// The Trends window's plot: axes and grid, the traces of the log (live, a
// segment per sample; or redrawn for the view), settings marks and the
// saved run behind them.
#include "ui/trends/TfrmGraph.h"

#include "ui/trends/Scales.h"
#include "ui/trends/TrendView.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace velmor {

namespace {

constexpr int kPanelWidth = 524;
constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kGraphPlotGridGrey = 0xff808080;
constexpr QRgb kGraphPlotMarkColour = 0xffd2a300; // 210,163,0

QRgb ToQRgb(Rgb c)
{
    return qRgb(c.r, c.g, c.b);
}

} // namespace

void TfrmGraph::DrawNewAxes()
{
    const std::int32_t span = m_state.trend.trendSpan;
    m_canvas.fill(38, 47, 489, 377, kBlack);
    m_canvas.fill(27, 361, 501, 377, kBlack);
    // Marks at the plot's edges reach into the frame; put it back.
    for (int x : {36, 489}) {
        const QRect frame = m_canvas.devRect(x, 47, x + 2, 361);
        m_canvas.copy(m_background, frame, frame.topLeft());
    }
    QPainter p(&m_canvas.image());
    p.setFont(m_axisFont);
    const int s = TickStep(span);
    for (int i = 0; i <= 19; ++i) {
        const int x = TickX(i, span);
        if (x < 498) {
            DrawAxisLine(p, x, m_view.trendViewStart + s * i);
        }
    }
    // Twenty ticks fall short of the right edge for these two spans.
    if (span == 40 || span == 100) {
        DrawAxisLine(p, 489, m_view.trendViewStart + span);
    }
    p.end();
    // A saved run to compare with lies under every trace drawn later.
    DrawComparison();
    refreshPanel();
}

void TfrmGraph::DrawAxisLine(int x, int label)
{
    QPainter p(&m_canvas.image());
    p.setFont(m_axisFont);
    DrawAxisLine(p, x, label);
    p.end();
    refreshPanel();
}

void TfrmGraph::DrawAxisLine(QPainter& painter, int x, int label)
{
    // Dotted: every other pixel from y = 47, the end pixel 362 left out.
    if (x >= 0 && x < kPanelWidth) {
        for (int y = 47; y < 362; y += 2) {
            m_canvas.fill(x, y, x + 1, y + 1, kGraphPlotGridGrey);
        }
    }
    const QString text = QString::number(label);
    const QFontMetrics fm(m_axisFont);
    const int left = CentredLeft(x, fm.horizontalAdvance(text));
    const int top = AxisLabelTop(m_axisFontHeight);
    painter.setPen(QColor(128, 128, 128));
    painter.drawText(left, top + m_axisFontAscent, text);
}

int TfrmGraph::SetXPoints(double t)
{
    TrendViewState& v = m_view;
    const std::int32_t span = m_state.trend.trendSpan;
    int x = TimeToX(t, v.trendViewStart, span);
    if (x > kPlotRight && v.trendLive) {
        // The run has reached the right edge: scroll on by 10 s.
        v.trendViewStart += 10;
        ShowStartTime(v.trendViewStart);
        DrawNewAxes();
        DrawTrend();
        RestoreLine();
        x = TimeToX(t, v.trendViewStart, span);
        v.trendPrevX = std::max(x - 1, kPlotLeft);
    }
    x = FoldX(x);
    v.trendInitialising = false;
    return x;
}

void TfrmGraph::TrendSegment(TraceId id)
{
    if (!checkBoxOf(id)->isChecked()) {
        return;
    }
    const TraceInfo& trace = TraceTable()[static_cast<std::size_t>(id)];
    std::int32_t& previousY = m_view.prevY(id);
    const int fromY = previousY;
    const int y = PlotOnScale(trace.scale, currentValueOf(id));
    previousY = y;
    m_canvas.line(m_view.trendPrevX, fromY, m_view.trendX, y, ToQRgb(trace.colour));
    refreshPanel();
}

void TfrmGraph::DrawMark()
{
    // Pen width 3: the columns either side of trendX as well.
    const int x = m_view.trendX;
    m_canvas.fill(x - 1, 47, x + 2, 362, kGraphPlotMarkColour);
    refreshPanel();
}

void TfrmGraph::PlotPoint(int recordNumber)
{
    TrendViewState& v = m_view;
    const SampleRecord& rec = m_state.log.record(ClampRecordNumber(recordNumber));
    for (const TraceInfo& trace : TraceTable()) {
        currentValueOf(trace.id) = rec.field(trace.field);
    }
    v.pointSegment = rec.segment;
    v.trendX = SetXPoints(rec.time);
    if (v.trendPrevX >= v.trendX) {
        return; // a column already drawn
    }
    for (const TraceInfo& trace : TraceTable()) {
        TrendSegment(trace.id);
    }
    if (v.pointSegment > v.plottedSegment) {
        if (v.plottedSegment > 0) {
            DrawMark();
        }
        v.plottedSegment = v.pointSegment;
    }
    v.trendPrevX = v.trendX;
}

void TfrmGraph::DrawTrend()
{
    TrendViewState& v = m_view;
    const SampleLog& log = m_state.log;
    const std::int32_t span = m_state.trend.trendSpan;

    // Index look-ups are clamped to the 781 entries and record numbers to
    // the log, so any view start and span is safe to draw.
    const int a = ClampRecordNumber(SecondIndexAt(log, v.trendViewStart));
    const SampleRecord& first = log.record(a);
    v.trendPrevX = SetXPoints(first.time);
    for (const TraceInfo& trace : TraceTable()) {
        v.prevY(trace.id) = PlotOnScale(trace.scale, first.field(trace.field));
    }
    v.plottedSegment = 0;

    int last = SecondIndexAt(log, static_cast<std::int64_t>(v.trendViewStart) + span);
    v.trendLive = false;
    if (last == 0) {
        last = m_state.run.sampleCount;
        v.trendLive = true;
    }
    last = std::min(last, kLogRecords);

    DrawNewAxes();

    const int step = RedrawStep(span, m_state.run.samplePeriod);
    for (int n = a; n < last; n += step) {
        PlotPoint(n);
    }
    PlotPoint(last);

    if (!v.trendClosing) {
        readoutTimer->stop();
    }
    txtFloat->hide();
    if (v.trendLive || !m_state.run.runActive) {
        PIDUpdate(last);
    }
    RestoreLine();
    refreshPanel();
}

// ---------------------------------------------------------------------------
// A saved run to compare with

void TfrmGraph::SetComparison(std::vector<SampleRecord> records,
                              const std::array<std::int32_t, kSecondIndexEntries>& secondIndex,
                              const QString& name)
{
    m_comparison.set(std::move(records), secondIndex, name);
    if (m_state.trend.trendNoData || m_state.run.sampleCount == 0) {
        DrawNewAxes();
    } else {
        DrawTrend();
    }
}

void TfrmGraph::ClearComparison()
{
    SetComparison({}, {});
}

void TfrmGraph::DrawComparison()
{
    m_comparison.draw(m_canvas, m_view.trendViewStart, m_state.trend.trendSpan,
                      m_state.run.samplePeriod, shownTraces());
}

std::array<bool, kTraceCount> TfrmGraph::shownTraces() const
{
    std::array<bool, kTraceCount> shown{};
    for (int i = 0; i < kTraceCount; ++i) {
        shown[static_cast<std::size_t>(i)] = checkBoxOf(static_cast<TraceId>(i))->isChecked();
    }
    return shown;
}

} // namespace velmor
