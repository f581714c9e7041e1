// What the Trends window shows below its plot: the bars of one record, the
// settings box with the controller values in force, the gate valve box.
#include "ui/trends/TfrmGraph.h"

#include "core/exercises/ExerciseProfile.h"
#include "core/trends/RunReport.h"
#include "ui/common/Language.h"
#include "ui/common/SettingLocks.h"
#include "ui/trends/TrendArt.h"
#include "ui/trends/TrendLayout.h"
#include "ui/trends/TrendView.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <span>

namespace velmor {

namespace {

constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kSilverRgb = 0xffc0c0c0;

} // namespace

// ---------------------------------------------------------------------------
// Bars

void TfrmGraph::BlankPlace(int place)
{
    const BarPlace& p = BarPlaces()[static_cast<std::size_t>(place)];
    m_canvas.fill(p.blankBar.left, p.blankBar.top, p.blankBar.right, p.blankBar.bottom, kBlack);
    m_canvas.fill(p.blankText.left, p.blankText.top, p.blankText.right, p.blankText.bottom, kBlack);
    refreshPanel();
}

void TfrmGraph::chkTraceClick(TraceId id)
{
    // The level boxes blank the flow set point's and the flow's places.
    BlankPlace(BarPlaceIndex(id));
    if (!m_view.trendInitialising) {
        DrawTrend();
    }
}

void TfrmGraph::DrawBars(int recordNumber)
{
    const SampleRecord& rec = m_state.log.record(BarRecordNumber(recordNumber));
    const QFont font = arialFont(m_view.trendFontSize - 2);
    for (const BarInfo& bar : BarTable()) {
        if (checkBoxOf(bar.id)->isChecked()) {
            DrawOneBar(bar, rec, font);
        }
    }
    refreshPanel();
}

void TfrmGraph::DrawOneBar(const BarInfo& bar, const SampleRecord& record, const QFont& font)
{
    const BarPlace& place = BarPlaceOf(bar.id);
    BlankPlace(BarPlaceIndex(bar.id));
    const float v = BarValue(bar, record.field(bar.field));
    const QString text = QString::fromStdString(BarText(bar, v, decimalMark()));
    const QFontMetrics fm(font);
    const int x = CellTextLeft(place.cellLeft, kBarCellWidth, fm.horizontalAdvance(text));
    const int y = kBarTextTop + (kBarCellHeight - fm.height()) / 2;
    const QRgb colour = qRgb(bar.colour.r, bar.colour.g, bar.colour.b);
    {
        QPainter p(&m_canvas.image());
        p.setFont(font);
        p.setPen(QColor(colour));
        p.drawText(x, y + fm.ascent(), text);
    }
    const int right = place.barLeft + kBarWidth;
    m_canvas.fill(place.barLeft, kBarTop, right, BarEmptyBottom(bar, v), kBlack);
    m_canvas.fill(place.barLeft, BarFilledTop(bar, v), right, kBarBottom, colour);
}

// ---------------------------------------------------------------------------
// Settings box

void TfrmGraph::PIDUpdate(int recordNumber)
{
    const std::span<const SettingsColumn> columns = ProfileOf(m_exercise).trends.settingsColumns;
    if (columns.empty()) {
        return; // no settings box in this exercise
    }
    const int n = std::min({recordNumber, m_state.run.sampleCount, kLogRecords});
    if (n < 1) {
        return;
    }
    const SampleRecord& rec = m_state.log.record(n);
    m_view.trendSegmentShown = rec.segment;

    std::vector<BoxTexts> values;
    for (const SettingsColumn& c : columns) {
        const std::array<std::string, 4> texts = SettingsTexts(rec, c, decimalMark());
        BoxTexts& t = values.emplace_back();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            t[i] = QString::fromStdString(texts[i]);
        }
    }
    DrawSettingsValues(values);
}

void TfrmGraph::showSettingsOf(int recordNumber)
{
    const int n = std::min(recordNumber, m_state.run.sampleCount);
    if (n >= 1 && m_state.log.record(n).segment != m_view.trendSegmentShown) {
        PIDUpdate(recordNumber);
    }
}

void TfrmGraph::DrawSettingsValues(const std::vector<BoxTexts>& values)
{
    const std::span<const SettingsColumn> columns = ProfileOf(m_exercise).trends.settingsColumns;
    if (columns.empty()) {
        return;
    }
    const QFont font = arialFont(m_view.trendFontSize - 1);
    const int ascent = QFontMetrics(font).ascent();
    QPainter p(&m_canvas.image());
    p.setFont(font);
    p.setPen(Qt::black);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const ColumnGeometry& c = ColumnGeometryOf(columns[k].place);
        p.fillRect(QRect(c.valueLeft, 432, c.valueRight - c.valueLeft, 490 - 432),
                   trendart::kSilver);
        if (k >= values.size()) {
            continue;
        }
        for (std::size_t i = 0; i < values[k].size(); ++i) {
            if (!values[k][i].isEmpty()) {
                p.drawText(c.valueLeft, kSettingsLineY[i] + ascent, values[k][i]);
            }
        }
    }
    p.end();
    refreshPanel();
}

void TfrmGraph::DrawSettingsLabels()
{
    const std::span<const SettingsColumn> columns = ProfileOf(m_exercise).trends.settingsColumns;
    const QFont font = arialFont(m_view.trendFontSize - 1);
    const int ascent = QFontMetrics(font).ascent();
    QPainter p(&m_canvas.image());
    p.setFont(font);
    p.fillRect(QRect(424, 430, 479 - 424, 493 - 430), trendart::kSilver);
    for (const SettingsColumn& c : columns) {
        // From the labels' own left edge, which can be left of the area to
        // clear: labels of another language drawn before leave nothing.
        const ColumnGeometry& g = ColumnGeometryOf(c.place);
        const int left = std::min(g.labelX, g.clearLeft);
        p.fillRect(QRect(left, 430, g.clearRight - left, 493 - 430), trendart::kSilver);
    }
    p.setPen(Qt::black);
    for (const SettingsColumn& c : columns) {
        for (std::size_t i = 0; i < c.labels.size(); ++i) {
            p.drawText(ColumnGeometryOf(c.place).labelX, kSettingsLineY[i] + ascent,
                       QCoreApplication::translate("TfrmGraph", c.labels[i]));
        }
    }
    p.end();
    const int frameLeft = SettingsFrameLeft(columns);
    if (frameLeft > 0) {
        m_canvas.line(519, 429, frameLeft, 429, kBlack);
        m_canvas.line(frameLeft, 429, frameLeft, 494, kBlack);
        m_canvas.line(frameLeft, 494, 519, 494, kBlack);
    } else {
        m_canvas.line(519, 429, 519, 495, kSilverRgb);
    }
    refreshPanel();
}

void TfrmGraph::ClearRun()
{
    DrawNewAxes();
    for (const BarInfo& bar : BarTable()) {
        if (checkBoxOf(bar.id)->isChecked()) {
            BlankPlace(BarPlaceIndex(bar.id));
        }
    }
    DrawSettingsValues({}); // no values; nothing where there is no settings box
    refreshPanel();
}

// ---------------------------------------------------------------------------
// Gate valve

void TfrmGraph::DrawGateBox()
{
    const QFont font = arialFont(m_view.trendFontSize - 1);
    const QFontMetrics fm(font);
    // The box is drawn again in another language, and may be narrower:
    // what lay under the wider box comes back first.
    const QRect under = m_canvas.devRect(345, 429, 433, 434 + 2 * fm.height());
    m_canvas.copy(m_background, under, under.topLeft());
    QPainter p(&m_canvas.image());
    p.setFont(font);
    p.setPen(Qt::black);
    const QString gate = QCoreApplication::translate("TfrmGraph", "Gate");
    const QString valve = QCoreApplication::translate("TfrmGraph", "Valve:");
    const int h = fm.height();
    p.drawText(349, 431 + fm.ascent(), gate);
    p.drawText(349, 431 + h + fm.ascent(), valve);
    p.end();
    gateTextX = fm.horizontalAdvance(valve) + 351;
    gateTextY = 431 + h / 2;
    gateTextWidth = fm.horizontalAdvance(QStringLiteral("100%"));
    gateTextHeight = fm.height();
    const int bottom = 433 + 2 * h;
    const int right = 353 + fm.horizontalAdvance(valve) + gateTextWidth;
    m_canvas.line(345, 429, 345, bottom, kBlack);
    m_canvas.line(345, bottom, right, bottom, kBlack);
    m_canvas.line(right, bottom, right, 429, kBlack);
    m_canvas.line(right, 429, 345, 429, kBlack);
    DrawGate();
}

void TfrmGraph::DrawGate()
{
    if (gateTextWidth == 0) {
        return; // no gate box in this exercise
    }
    const QFont font = arialFont(m_view.trendFontSize - 1);
    const QFontMetrics fm(font);
    m_canvas.fill(gateTextX, gateTextY, gateTextX + gateTextWidth, gateTextY + gateTextHeight,
                  kSilverRgb);
    const QString text = QString::number(m_state.run.gateValvePercent) + QLatin1Char('%');
    QPainter p(&m_canvas.image());
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(gateTextX + gateTextWidth / 2 - fm.horizontalAdvance(text) / 2,
               gateTextY + fm.ascent(), text);
    p.end();
    refreshPanel();
}

void TfrmGraph::btnChokeUpClick()
{
    if (RefuseLockedChange(this, m_exercise, {"gateValvePercent"})) {
        return;
    }
    if (m_state.run.gateValvePercent < 100) {
        m_state.run.gateValvePercent += 10;
        DrawGate();
    }
}

void TfrmGraph::btnChokeDownClick()
{
    if (RefuseLockedChange(this, m_exercise, {"gateValvePercent"})) {
        return;
    }
    if (m_state.run.gateValvePercent > 0) {
        m_state.run.gateValvePercent -= 10;
        DrawGate();
    }
}

} // namespace velmor
