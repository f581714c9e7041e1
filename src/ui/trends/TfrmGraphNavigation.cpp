// Browsing a run on the Trends window: the scroll arrows, the start-time and
// time-base edits, the slider, the cursor line and the floating read-out.
#include "ui/trends/TfrmGraph.h"

#include "ui/common/Language.h"
#include "ui/common/PanelView.h"
#include "ui/common/SettingLocks.h"
#include "ui/trends/Scales.h"
#include "ui/trends/TraceTexts.h"
#include "ui/trends/TrendView.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace velmor {

namespace {

constexpr QRgb kCursorWhite = 0xffffffff;

bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The whole number in a time edit; nothing for any other text.
std::optional<int> WholeNumber(const QLineEdit* edit)
{
    bool ok = false;
    const int value = edit->text().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

// ---------------------------------------------------------------------------
// Arrows

QImage TfrmGraph::ArrowHandle(int arrow, int state) const
{
    if (arrow < 1 || arrow > 8 || (state != 0 && state != 3)) {
        return {};
    }
    const auto i = static_cast<std::size_t>(arrow - 1);
    return state == 3 ? m_arrowsLit[i] : m_arrows[i];
}

void TfrmGraph::DrawArrow(int x, const QImage& picture)
{
    if (picture.isNull()) {
        return;
    }
    QPainter p(&m_canvas.image());
    p.drawImage(x, 27, picture);
    p.end();
    arrowRedrawn = true;
}

void TfrmGraph::Highlight(int arrow)
{
    DrawArrow(Across(arrow), ArrowHandle(arrow, 3));
    m_view.litArrow = arrow;
}

void TfrmGraph::RemoveHighlight()
{
    if (m_view.trendClosing || m_view.litArrow <= 0) {
        return;
    }
    DrawArrow(Across(m_view.litArrow), ArrowHandle(m_view.litArrow, 0));
    m_view.litArrow = 0;
    arrowRedrawn = false;
    refreshPanel();
}

void TfrmGraph::Move(int arrow)
{
    if (m_state.trend.trendNoData) {
        return;
    }
    m_view.trendViewStart = ScrolledStart(m_view.trendViewStart, ArrowStep(arrow),
                                          m_state.log.secondIndexFilled, m_state.trend.trendSpan);
    ShowStartTime(m_view.trendViewStart);
    DrawTrend();
    cursorFollowsView();
}

void TfrmGraph::cursorFollowsView()
{
    // The line stays at its pixel and now marks another record.
    if (m_view.cursorShown) {
        m_view.cursorRecord = PosToPointer(m_view.cursorX);
        DrawBars(m_view.cursorRecord);
    }
}

// ---------------------------------------------------------------------------
// Start time and time base

void TfrmGraph::ShowStartTime(int seconds)
{
    txtStartTime->setText(QString::number(seconds));
}

bool TfrmGraph::txtStartTimeKeyPress(int key)
{
    if (m_state.trend.trendNoData) {
        // Nothing to browse: the edit keeps showing the start.
        ShowStartTime(m_view.trendViewStart);
        return true;
    }
    if (!IsEnter(key)) {
        return false;
    }
    const std::optional<int> typed = WholeNumber(txtStartTime);
    if (const std::optional<std::int32_t> start =
            typed ? TypedStart(*typed, m_state.log.secondIndexFilled, m_state.trend.trendSpan)
                  : std::nullopt) {
        m_view.trendViewStart = *start;
        ShowStartTime(*start);
        DrawTrend();
        cursorFollowsView();
    }
    return true;
}

bool TfrmGraph::txtTrendBaseKeyPress(int key)
{
    if (!IsEnter(key)) {
        return false;
    }
    const std::optional<int> typed = WholeNumber(txtTrendBase);
    if (const std::optional<std::int32_t> span = typed ? TypedSpan(*typed) : std::nullopt) {
        SliderAt(SliderKnobOffset(*span));
        applySpan(*span);
    }
    return true;
}

void TfrmGraph::Slider(int offset)
{
    const int k = KnobOfSliderOffset(offset);
    SliderAt(k);
    const std::int32_t span = SpanOfKnob(k);
    if (span != m_state.trend.trendSpan) {
        applySpan(span);
    }
}

void TfrmGraph::SliderAt(int k)
{
    QPainter p(&m_canvas.image());
    p.drawImage(398, 29, m_sliderTrack);
    p.drawImage(398 + std::clamp(k, 0, 55), 29, m_sliderKnob);
    p.end();
    refreshPanel();
}

void TfrmGraph::applySpan(std::int32_t span)
{
    if (span != m_state.trend.trendSpan && RefuseLockedChange(this, m_exercise, {"trendSpan"})) {
        // The knob and the box go back to the span in force.
        SliderAt(SliderKnobOffset(m_state.trend.trendSpan));
        txtTrendBase->setText(QString::number(m_state.trend.trendSpan));
        return;
    }
    TrendViewState& v = m_view;
    const std::int32_t oldSpan = m_state.trend.trendSpan;
    if (v.cursorShown) {
        // The cursor keeps its time; past the right edge it goes.
        v.cursorX = CursorXAfterSpan(v.cursorX, oldSpan, span);
        v.cursorShown = v.cursorX <= kPlotRight;
    }
    const std::int32_t start =
        StartAfterSpan(v.trendViewStart, oldSpan, span, m_state.log.secondIndexFilled);
    if (start != v.trendViewStart) {
        v.trendViewStart = start;
        ShowStartTime(start);
    }
    m_state.trend.trendSpan = span;
    txtTrendBase->setText(QString::number(span));
    if (!m_state.trend.trendNoData) {
        DrawTrend();
        // Its record is read in the new view.
        cursorFollowsView();
    }
}

// ---------------------------------------------------------------------------
// Cursor line

int TfrmGraph::PosToPointer(int x) const
{
    return velmor::PosToPointer({m_state.log, m_view.trendViewStart, m_state.trend.trendSpan,
                                 m_view.trendLive, m_view.trendX, m_state.run.sampleCount},
                                x);
}

void TfrmGraph::LineAt(int x)
{
    txtFloat->hide();
    readoutTimer->stop();
    m_view.cursorRecord = PosToPointer(x);
    m_view.cursorX = x;
    if (!m_state.run.runActive) {
        showSettingsOf(m_view.cursorRecord);
    }
    DrawLine();
    DrawBars(m_view.cursorRecord);
    tellCursorValues();
}

int TfrmGraph::ColumnOfRecord(int recordNumber) const
{
    // PosToPointer never falls as x grows: the first column at or past n.
    int low = kPlotLeft;
    int high = kPlotRight;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (PosToPointer(mid) >= recordNumber) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    return low;
}

void TfrmGraph::CursorToRecord(int recordNumber)
{
    const int count = m_state.run.sampleCount;
    if (count < 1 || m_state.trend.trendNoData || m_state.run.runActive) {
        return;
    }
    const int n = std::clamp(recordNumber, 1, count);
    const double t = m_state.log.record(n).time;
    const std::int32_t span = m_state.trend.trendSpan;
    const std::int32_t start = m_view.trendViewStart;
    if (t < start || t > start + span) {
        // The view moves in the arrows' 10 s steps until the record is in it:
        // its left edge just before the record going back, its right edge
        // just after it going forward.
        const std::int32_t tens = static_cast<std::int32_t>(std::floor(t / 10.0)) * 10;
        const std::int32_t wanted = t < start ? tens : tens + 10 - span;
        m_view.trendViewStart =
            ScrolledStart(0, std::max(wanted, 0), m_state.log.secondIndexFilled, span);
        ShowStartTime(m_view.trendViewStart);
        DrawTrend();
    }
    txtFloat->hide();
    readoutTimer->stop();
    m_view.cursorX = ColumnOfRecord(n);
    m_view.cursorRecord = n;
    showSettingsOf(n);
    DrawLine();
    DrawBars(n);
    tellCursorValues();
}

bool TfrmGraph::plotKeyPress(int key, Qt::KeyboardModifiers modifiers)
{
    if (m_view.trendClosing || m_state.run.runActive || m_state.trend.trendNoData) {
        return false;
    }
    const bool shift = (modifiers & Qt::ShiftModifier) != 0;
    const int count = m_state.run.sampleCount;
    // Ten seconds of records at the run's sample period.
    const float period = m_state.run.samplePeriod > 0 ? m_state.run.samplePeriod : 0.1f;
    const int tenSeconds = std::max(1, static_cast<int>(std::lround(10.0 / period)));
    // Without a line the first step starts from the view's first record.
    const int from = m_view.cursorShown ? m_view.cursorRecord : PosToPointer(kPlotLeft);
    switch (key) {
    case Qt::Key_Left:
        CursorToRecord(m_view.cursorShown ? from - (shift ? tenSeconds : 1) : from);
        return true;
    case Qt::Key_Right:
        CursorToRecord(m_view.cursorShown ? from + (shift ? tenSeconds : 1) : from);
        return true;
    case Qt::Key_Home:
        CursorToRecord(1);
        return true;
    case Qt::Key_End:
        CursorToRecord(count);
        return true;
    case Qt::Key_PageUp:
        Move(shift ? 1 : 4);
        tellCursorValues();
        return true;
    case Qt::Key_PageDown:
        Move(shift ? 8 : 5);
        tellCursorValues();
        return true;
    case Qt::Key_Escape:
        BlankLine();
        tellCursorValues();
        return true;
    default:
        return false;
    }
}

void TfrmGraph::tellCursorValues()
{
    if (!m_view.cursorShown || m_view.cursorRecord < 1) {
        m_plotItem->setValueText(QString());
        return;
    }
    const SampleRecord& rec = m_state.log.record(ClampRecordNumber(m_view.cursorRecord));
    QStringList parts;
    parts << QCoreApplication::translate("TfrmGraph", "Time") + QLatin1Char(' ') +
                 QString::number(rec.time, 'f', 1)
                     .replace(QLatin1Char('.'), QLatin1Char(decimalMark())) +
                 QStringLiteral(" s");
    const std::array<bool, kTraceCount> shown = shownTraces();
    for (const TraceInfo& trace : TraceTable()) {
        if (!shown[static_cast<std::size_t>(trace.id)]) {
            continue;
        }
        parts << TraceName(trace.id) + QStringLiteral(" ") +
                     TraceValueText(trace.id, rec.field(trace.field), decimalMark()) +
                     QLatin1Char(' ') + TraceUnit(trace.id);
    }
    m_plotItem->setValueText(parts.join(QStringLiteral(", ")));
}

void TfrmGraph::DrawLine()
{
    if (m_view.cursorShown) {
        m_canvas.copy(imgLineBackground, imgLineBackground.rect(),
                      QPoint(m_canvas.dev(m_view.savedColumnX), m_canvas.dev(47)));
    }
    m_view.cursorShown = true;
    RestoreLine();
    if (!m_state.run.runActive) {
        refreshPanel();
    }
}

void TfrmGraph::RestoreLine()
{
    if (!m_view.cursorShown) {
        return;
    }
    const int x = std::clamp(m_view.cursorX, kPlotLeft, kPlotRight);
    imgLineBackground = m_canvas.image().copy(m_canvas.devRect(x, 47, x + 1, 362));
    m_view.savedColumnX = x;
    m_canvas.fill(x, 47, x + 1, 362, kCursorWhite);
}

void TfrmGraph::BlankLine()
{
    if (!m_view.cursorShown) {
        return;
    }
    m_canvas.copy(imgLineBackground, imgLineBackground.rect(),
                  QPoint(m_canvas.dev(m_view.savedColumnX), m_canvas.dev(47)));
    m_view.cursorShown = false;
    if (!m_state.run.runActive) {
        refreshPanel();
    }
}

// ---------------------------------------------------------------------------
// Read-out

void TfrmGraph::Info(int x, int y)
{
    TrendViewState& v = m_view;
    if (x >= kPlotLeft && x <= kPlotRight && y >= kPlotTop && y <= 377) {
        v.hoverRecord = PosToPointer(x);
        showSettingsOf(v.hoverRecord);
    }
    if (std::abs(v.hoverX - x) <= 1 && std::abs(v.hoverY - y) <= 1) {
        return; // a still mouse does not restart the read-out
    }
    if (!readoutTimer->isActive()) {
        readoutTimer->start(); // a mouse moving on does not put it off
    }
    v.hoverX = x;
    v.hoverY = y;
}

void TfrmGraph::readoutTimerTimer()
{
    // Not while the shell is closing the exercise, and only for a mouse
    // still over the plot.
    if (m_state.shell.trendsOpen && m_view.hoverBlock == 1) {
        Display();
    }
}

void TfrmGraph::stopReadout()
{
    readoutTimer->stop();
}

void TfrmGraph::Display()
{
    const TrendViewState& v = m_view;
    if (v.hoverRecord == 0) {
        return;
    }
    txtFloat->hide();
    if (v.cursorShown || v.trendLive || m_state.run.sampleCount < v.hoverRecord) {
        return;
    }
    const SampleRecord& rec = m_state.log.record(ClampRecordNumber(v.hoverRecord));
    const std::optional<TraceId> trace = NearestTrace(rec, shownTraces(), v.hoverY);
    if (!trace) {
        return;
    }
    const float value = rec.field(TraceTable()[static_cast<std::size_t>(*trace)].field);
    txtFloat->setText(TraceName(*trace) + QLatin1Char('\n') +
                      QCoreApplication::translate("TfrmGraph", "Value") + QStringLiteral(": ") +
                      TraceValueText(*trace, value, decimalMark()) + TraceUnit(*trace));
    txtFloat->adjustSize();
    const LabelPlace place =
        ReadoutPlace(v.hoverX, v.hoverY, txtFloat->width(), txtFloat->height(), width());
    txtFloat->move(place.left, place.top);
    txtFloat->show();
    txtFloat->raise();
}

// ---------------------------------------------------------------------------
// Mouse

void TfrmGraph::imgPanelMouseDown(Qt::MouseButton /*button*/, int x, int y)
{
    if (m_view.trendClosing) {
        return;
    }
    const int block = Block(x, y);
    if (block == kBlockPlot) {
        if (!m_state.trend.trendNoData && !m_state.run.runActive) {
            LineAt(x);
        }
    } else if (block == kBlockSlider) {
        Slider(x - 399);
    } else if (const int arrow = ArrowOfBlock(block)) {
        Move(arrow);
    } else {
        BlankLine(); // a click beside or outside the plot
    }
}

void TfrmGraph::imgPanelMouseMove(Qt::MouseButtons buttons, int x, int y)
{
    TrendViewState& v = m_view;
    if (v.trendClosing) {
        return;
    }
    const int block = Block(x, y);
    if (block != v.hoverBlock && v.litArrow > 0) {
        DrawArrow(Across(v.litArrow), ArrowHandle(v.litArrow, 0));
        v.litArrow = 0;
    }
    v.hoverBlock = block;
    const bool held = (buttons & (Qt::LeftButton | Qt::RightButton)) != 0;
    const bool browsing = !m_state.run.runActive && !m_state.trend.trendNoData;
    if (block == kBlockPlot) {
        if (browsing) {
            if (held) {
                LineAt(x);
            } else {
                Info(x, y);
            }
        }
    } else if (block == kBlockSlider) {
        if (held && !m_state.run.runActive) {
            Slider(x - 399);
        }
    } else if (const int arrow = ArrowOfBlock(block)) {
        Highlight(arrow);
    } else if (block == kBlockBesidePlot && held && browsing) {
        // Dragged off the plot: the line stops at its edge.
        if (x < kPlotLeft) {
            LineAt(kPlotLeft);
        } else if (x > kPlotRight) {
            LineAt(kPlotRight);
        }
    }
    if (block != kBlockPlot) {
        txtFloat->hide();
    }
    updatePointer(block);
    if (arrowRedrawn) {
        refreshPanel();
        arrowRedrawn = false;
    }
}

void TfrmGraph::updatePointer(int block)
{
    const bool browsing = !m_state.run.runActive && !m_state.trend.trendNoData;
    const bool hand =
        (block == kBlockPlot && browsing) || block == kBlockSlider || ArrowOfBlock(block) > 0;
    if (hand) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
}

void TfrmGraph::txtFloatMouseMove(Qt::MouseButtons buttons, int x, int y)
{
    if (m_view.trendClosing || (buttons & (Qt::LeftButton | Qt::RightButton)) == 0 ||
        m_state.run.runActive || m_state.trend.trendNoData) {
        return;
    }
    Info(std::clamp(x + txtFloat->x(), kPlotLeft, kPlotRight), y + txtFloat->y());
}

} // namespace velmor
