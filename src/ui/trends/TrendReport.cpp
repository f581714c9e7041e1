#include "ui/trends/TrendReport.h"

#include "core/exercises/ExerciseProfile.h"
#include "core/rundata/AtomicFile.h"
#include "core/trends/RunReport.h"
#include "core/trends/TrendText.h"
#include "ui/common/Language.h"
#include "ui/trends/TraceTexts.h"
#include "ui/trends/TrendLayout.h"
#include "ui/trends/TrendView.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace velmor {

QList<qreal> ReportDashes(TraceId trace)
{
    switch (trace) {
    case TraceId::FlowSP:
    case TraceId::LevelSP:
        return {6, 3};
    case TraceId::TempSP:
        return {6, 2, 1, 2};
    case TraceId::FlowQ:
        return {1, 2};
    case TraceId::TempQ:
        return {1, 2, 1, 2, 4, 2};
    case TraceId::VolSP:
        return {6, 2, 1, 2, 1, 2};
    case TraceId::VolMV:
        return {12, 2, 2, 2};
    case TraceId::FlowMV:
    case TraceId::TempMV:
    case TraceId::LevelMV:
        break;
    }
    return {};
}

namespace {

// A trace's pen: its colour and its dashes.
QPen TracePen(TraceId trace, const QColor& colour, double width)
{
    QPen pen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    const QList<qreal> dashes = ReportDashes(trace);
    if (!dashes.isEmpty()) {
        pen.setDashPattern(dashes);
    }
    return pen;
}

} // namespace

namespace {

constexpr const char* kTrendReportContext = "TrendReport";

constexpr const char* kExerciseNames[] = {
    QT_TRANSLATE_NOOP("TrendReport", "Flow"),
    QT_TRANSLATE_NOOP("TrendReport", "Fluid Level"),
    QT_TRANSLATE_NOOP("TrendReport", "Open Loop"),
    QT_TRANSLATE_NOOP("TrendReport", "Temperature"),
    QT_TRANSLATE_NOOP("TrendReport", "Batch Volume"),
};
constexpr const char* kWaveformNames[] = {
    QT_TRANSLATE_NOOP("TrendReport", "Flat"),     QT_TRANSLATE_NOOP("TrendReport", "Ramp"),
    QT_TRANSLATE_NOOP("TrendReport", "Sine"),     QT_TRANSLATE_NOOP("TrendReport", "Step"),
    QT_TRANSLATE_NOOP("TrendReport", "Sawtooth"),
};

const QColor kTrendReportMarkColour(210, 163, 0);
const QColor kTrendReportGridGrey(128, 128, 128);
const QColor kInk(24, 24, 24);

QString TrendReportText(const char* english)
{
    return QCoreApplication::translate(kTrendReportContext, english);
}

QLocale ReportLocale(const ShellState& shell)
{
    const LanguageEntry& language = LanguageOf(shell.language);
    return QLocale(language.locale, language.country);
}

char DecimalMark(const ShellState& shell)
{
    return shell.decimalComma ? ',' : '.';
}

QString Seconds(double seconds, char mark)
{
    return QString::fromStdString(FormatGeneral(seconds, 6, mark));
}

// Records r..s of the log that the report draws, and its time edges.
struct Stretch {
    int first = 1;
    int last = 0;
    double from = 0;
    double to = 10;
};

Stretch StretchOf(const ReportSource& source)
{
    const VelmorState& s = source.state;
    const int count = std::clamp(s.run.sampleCount, 0, kLogRecords);
    Stretch st;
    if (source.range == ReportRange::WholeRun) {
        const ReportSpan span = WholeRunSpan(
            std::span<const SampleRecord>(s.log.records.data(), static_cast<std::size_t>(count)));
        st.first = 1;
        st.last = count;
        st.from = span.from;
        st.to = span.to;
        return st;
    }
    const std::int32_t start = source.viewStart;
    const std::int32_t span = s.trend.trendSpan;
    st.from = start;
    st.to = static_cast<double>(start) + span;
    st.first = std::min(ClampRecordNumber(SecondIndexAt(s.log, start)), count);
    const std::int32_t end = SecondIndexAt(s.log, static_cast<std::int64_t>(start) + span);
    st.last = std::clamp(end == 0 ? count : end, std::min(st.first, count), count);
    return st;
}

// The controller columns left to right as the settings box shows them.
std::vector<SettingsColumn> ColumnsLeftToRight(Exercise e)
{
    const std::span<const SettingsColumn> columns = ProfileOf(e).trends.settingsColumns;
    std::vector<SettingsColumn> ordered(columns.begin(), columns.end());
    std::sort(ordered.begin(), ordered.end(), [](const SettingsColumn& a, const SettingsColumn& b) {
        return ColumnGeometryOf(a.place).valueLeft < ColumnGeometryOf(b.place).valueLeft;
    });
    return ordered;
}

QString WithoutColon(QString label)
{
    label = label.trimmed();
    if (label.endsWith(QLatin1Char(':'))) {
        label.chop(1);
    }
    return label;
}

// Value scale of the plot: full scale, label step, decimals.
struct AxisScale {
    double full;
    double step;
    int decimals;
};

AxisScale LeftScale(Exercise e)
{
    switch (ProfileOf(e).trends.scale) {
    case ScalePicture::FlowRate:
        return {2.0, 0.2, 1};
    case ScalePicture::Litres:
        return {6.0, 1.0, 1};
    case ScalePicture::None:
        break;
    }
    return {100.0, 10.0, 0};
}

double FullScaleOf(ValueScale scale)
{
    switch (scale) {
    case ValueScale::Rate:
        return 2.0;
    case ValueScale::Cumulative:
        return 6.0;
    case ValueScale::Fixed:
        break;
    }
    return 100.0;
}

// A font of `size` points on a painter that draws in points: the device
// sizes fonts by its resolution and the painter scales once more.
QFont ReportFont(const QPainter& p, double size, bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(size * 72.0 / p.device()->logicalDpiY());
    f.setBold(bold);
    return f;
}

// The settings table of records first.. (`samples` of them): the loops'
// labels as its header, a row per settings segment.
void FillSettingsTable(ReportContent& c, const ReportSource& source, int first, int samples)
{
    const VelmorState& s = source.state;
    const char mark = DecimalMark(s.shell);
    const std::vector<SettingsColumn> columns = ColumnsLeftToRight(source.exercise);
    if (columns.empty()) {
        return;
    }
    c.settingsHeading =
        TrendReportText(QT_TRANSLATE_NOOP("TrendReport", "Controller settings per segment"));
    c.tableHeader << TrendReportText(QT_TRANSLATE_NOOP("TrendReport", "From (s)"));
    for (const SettingsColumn& column : columns) {
        for (const char* label : column.labels) {
            c.tableHeader << WithoutColon(QCoreApplication::translate("TfrmGraph", label));
        }
    }
    if (samples <= 0) {
        return;
    }
    const std::span<const SampleRecord> records(&s.log.record(first),
                                                static_cast<std::size_t>(samples));
    for (const SettingsRow& row : SettingsTable(records, columns, mark)) {
        QStringList cells{Seconds(row.start, mark)};
        for (const auto& loop : row.loops) {
            for (const std::string& text : loop) {
                cells << QString::fromStdString(text);
            }
        }
        c.table.push_back(cells);
    }
}

// The set-point waveform with its values (and the gate valve), where the
// exercise has one.
QString WaveformText(const ReportSource& source)
{
    const VelmorState& s = source.state;
    const char mark = DecimalMark(s.shell);
    const ExerciseProfile& profile = ProfileOf(source.exercise);
    if (profile.waveform == nullptr) {
        return {};
    }
    const std::int32_t type = profile.waveform(s);
    if (!IsWaveformType(type)) {
        return {};
    }
    const WaveParams& wave = profile.waveParams(source.state);
    QString text = TrendReportText(QT_TRANSLATE_NOOP("TrendReport",
                                                     "Set-point waveform: %1 (A %2, B %3, C %4)"))
                       .arg(TrendReportText(kWaveformNames[type - 1]))
                       .arg(QString::fromStdString(FormatGeneral(wave.A(type), 5, mark)),
                            QString::fromStdString(FormatGeneral(wave.B(type), 5, mark)),
                            QString::fromStdString(FormatGeneral(wave.C(type), 5, mark)));
    if (profile.trends.gateValve) {
        text += QStringLiteral("; ") +
                TrendReportText(QT_TRANSLATE_NOOP("TrendReport", "gate valve %1 %"))
                    .arg(s.run.gateValvePercent);
    }
    return text;
}

} // namespace

std::array<bool, kTraceCount> DefaultTraces(Exercise e)
{
    std::array<bool, kTraceCount> shown{};
    for (TraceId id : ProfileOf(e).trends.checked) {
        shown[static_cast<std::size_t>(id)] = true;
    }
    return shown;
}

ReportContent BuildReport(const ReportSource& source)
{
    const VelmorState& s = source.state;
    const ShellState& shell = s.shell;
    const char mark = DecimalMark(shell);
    const QLocale locale = ReportLocale(shell);
    const Stretch st = StretchOf(source);
    ReportContent c;
    c.title = TrendReportText(QT_TRANSLATE_NOOP("TrendReport", "Lab report: %1"))
                  .arg(TrendReportText(kExerciseNames[static_cast<int>(source.exercise)]));
    if (!source.fileName.isEmpty()) {
        c.subtitle
            << TrendReportText(QT_TRANSLATE_NOOP("TrendReport", "File: %1")).arg(source.fileName);
    }
    c.subtitle << TrendReportText(QT_TRANSLATE_NOOP("TrendReport", "Printed: %1, %2"))
                      .arg(locale.toString(source.printedAt.date(), QLocale::LongFormat),
                           locale.toString(source.printedAt.time(), QLocale::ShortFormat));
    const int samples = st.last >= st.first ? st.last - st.first + 1 : 0;
    c.rangeText = TrendReportText(
                      source.range == ReportRange::WholeRun
                          ? QT_TRANSLATE_NOOP("TrendReport", "Whole run: %1 to %2 s, %3 samples")
                          : QT_TRANSLATE_NOOP("TrendReport", "Shown view: %1 to %2 s, %3 samples"))
                      .arg(Seconds(st.from, mark), Seconds(st.to, mark), QString::number(samples));
    c.from = st.from;
    c.to = st.to;
    c.firstRecord = st.first;
    c.lastRecord = st.last;
    const TrendsProfile& trends = ProfileOf(source.exercise).trends;
    c.leftUnit = QCoreApplication::translate("TfrmGraph", trends.leftUnit);
    c.rightUnit = QCoreApplication::translate("TfrmGraph", trends.rightUnit);

    FillSettingsTable(c, source, st.first, samples);
    c.waveform = WaveformText(source);

    if (samples > 0) {
        const SampleRecord& last = s.log.record(st.last);
        c.finalHeading =
            TrendReportText(QT_TRANSLATE_NOOP("TrendReport", "Values at %1 s (record %2)"))
                .arg(Seconds(last.time, mark))
                .arg(st.last);
        for (const TraceInfo& trace : TraceTable()) {
            if (source.shown[static_cast<std::size_t>(trace.id)]) {
                c.finalValues.emplace_back(TraceName(trace.id),
                                           TraceValueText(trace.id, last.field(trace.field), mark) +
                                               QLatin1Char(' ') + TraceUnit(trace.id));
            }
        }
    }
    return c;
}

QPageSize DefaultReportPageSize()
{
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                : QPageSize::A4);
}

namespace {

// Where the trend is drawn (points): the plot within `area` and the
// mapping of times and values onto it.
struct TrendFrame {
    QRectF area;
    QRectF plot;
    double from; // s at the left edge
    double span; // s across
    double x(double t) const { return plot.left() + (t - from) / span * plot.width(); }
    double y(double v, double full) const
    {
        return plot.bottom() - std::clamp(v / full, 0.0, 1.0) * plot.height();
    }
};

// Value scales: the exercise's on the left, 0..100 % on the right, and
// their units above them.
void PaintValueScales(QPainter& p, const TrendFrame& f, const ReportSource& source,
                      const ReportContent& c)
{
    const QRectF& area = f.area;
    const QRectF& plot = f.plot;
    p.setFont(ReportFont(p, 6.5));
    p.setPen(QPen(kInk, 0.5));
    const AxisScale left = LeftScale(source.exercise);
    const int leftSteps = static_cast<int>(std::lround(left.full / left.step));
    const QString markText(QLatin1Char(DecimalMark(source.state.shell)));
    for (int i = 0; i <= leftSteps; ++i) {
        const double v = left.step * i;
        const double y = f.y(v, left.full);
        p.drawLine(QPointF(plot.left() - 4, y), QPointF(plot.left(), y));
        QString label = QString::number(v, 'f', left.decimals);
        label.replace(QLatin1Char('.'), markText);
        p.drawText(QRectF(area.left(), y - 5, plot.left() - area.left() - 6, 10),
                   Qt::AlignRight | Qt::AlignVCenter, label);
    }
    for (int v = 0; v <= 100; v += 10) {
        const double y = f.y(v, 100);
        p.drawLine(QPointF(plot.right(), y), QPointF(plot.right() + 4, y));
        p.drawText(QRectF(plot.right() + 6, y - 5, 26, 10), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::number(v));
    }
    p.setFont(ReportFont(p, 7, true));
    p.drawText(QRectF(area.left(), area.top(), plot.left() - area.left() + 10, 12),
               Qt::AlignLeft | Qt::AlignVCenter, c.leftUnit);
    p.drawText(QRectF(plot.right() - 10, area.top(), area.right() - plot.right() + 10, 12),
               Qt::AlignRight | Qt::AlignVCenter, c.rightUnit);
}

// Time grid: dotted grey lines with their seconds below.
void PaintTimeGrid(QPainter& p, const TrendFrame& f, const ReportContent& c)
{
    const QRectF& plot = f.plot;
    p.setFont(ReportFont(p, 6.5));
    const int tick = ReportTickStep(f.span);
    QPen grid(kTrendReportGridGrey, 0.5, Qt::DotLine);
    for (double t = std::ceil(c.from / tick) * tick; t <= c.to + 1e-9; t += tick) {
        const double x = f.x(t);
        p.setPen(grid);
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        p.setPen(kInk);
        p.drawText(QRectF(x - 20, plot.bottom() + 2, 40, 10), Qt::AlignHCenter | Qt::AlignTop,
                   QString::number(static_cast<long long>(std::llround(t))));
    }
    p.drawText(QRectF(plot.left(), plot.bottom() + 12, plot.width(), 10),
               Qt::AlignHCenter | Qt::AlignTop,
               TrendReportText(QT_TRANSLATE_NOOP("TrendReport", "Time (s)")));
}

// Settings marks where a new segment starts after the first drawn, then
// the shown traces, clipped to the plot.
void PaintTraces(QPainter& p, const TrendFrame& f, const ReportSource& source,
                 const ReportContent& c)
{
    const VelmorState& s = source.state;
    const QRectF& plot = f.plot;
    p.setPen(QPen(kTrendReportMarkColour, 1.4));
    for (int n = c.firstRecord + 1; n <= c.lastRecord; ++n) {
        if (s.log.record(n).segment > s.log.record(n - 1).segment) {
            const double x = f.x(s.log.record(n).time);
            p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
    }
    for (const TraceInfo& trace : TraceTable()) {
        if (!source.shown[static_cast<std::size_t>(trace.id)]) {
            continue;
        }
        const double full = FullScaleOf(trace.scale);
        QPolygonF line;
        line.reserve(c.lastRecord - c.firstRecord + 1);
        for (int n = c.firstRecord; n <= c.lastRecord; ++n) {
            const SampleRecord& r = s.log.record(n);
            line << QPointF(f.x(r.time), f.y(r.field(trace.field), full));
        }
        p.setPen(TracePen(trace.id, QColor(trace.colour.r, trace.colour.g, trace.colour.b), 0.8));
        p.drawPolyline(line);
    }
}

// The trend as lines in `area` (points): scales, plot, grid, traces, marks.
void PaintTrend(QPainter& p, const QRectF& area, const ReportSource& source, const ReportContent& c)
{
    const TrendFrame f{area, area.adjusted(34, 14, -30, -26), c.from, std::max(c.to - c.from, 1.0)};
    p.fillRect(f.plot, Qt::black);
    PaintValueScales(p, f, source, c);
    PaintTimeGrid(p, f, c);
    p.save();
    p.setClipRect(f.plot);
    p.setRenderHint(QPainter::Antialiasing);
    if (c.lastRecord >= c.firstRecord && c.lastRecord >= 1) {
        PaintTraces(p, f, source, c);
    }
    p.restore();
    p.setPen(QPen(kInk, 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.plot);
}

// The legend: each shown trace's colour on a black swatch, and the mark.
double PaintLegend(QPainter& p, const QRectF& area, const ReportSource& source)
{
    const QFont font = ReportFont(p, 7.5);
    const QFontMetricsF fm(font, p.device());
    p.setFont(font);
    double x = area.left();
    double y = area.top();
    const auto entry = [&](const QString& name, const QPen& pen) {
        const double w = 26 + fm.horizontalAdvance(name) + 14;
        if (x + w > area.right()) {
            x = area.left();
            y += 13;
        }
        p.fillRect(QRectF(x, y + 1, 20, 9), Qt::black);
        p.setPen(pen);
        p.drawLine(QPointF(x + 3, y + 5.5), QPointF(x + 17, y + 5.5));
        p.setPen(kInk);
        p.drawText(QRectF(x + 24, y, w, 11), Qt::AlignLeft | Qt::AlignVCenter, name);
        x += w;
    };
    for (const TraceInfo& trace : TraceTable()) {
        if (source.shown[static_cast<std::size_t>(trace.id)]) {
            entry(TraceName(trace.id),
                  TracePen(trace.id, QColor(trace.colour.r, trace.colour.g, trace.colour.b), 1.2));
        }
    }
    if (!ProfileOf(source.exercise).trends.settingsColumns.empty()) {
        entry(TrendReportText(QT_TRANSLATE_NOOP("TrendReport", "Settings changed")),
              QPen(kTrendReportMarkColour, 1.6));
    }
    return y + 13 - area.top();
}

constexpr double kRowHeight = 12;

// The title with the program's name, the subtitle and the stretch, then a
// rule; returns the y below them.
double PaintHeading(QPainter& p, const QRectF& page, const ReportContent& c)
{
    double y = page.top();
    p.setPen(kInk);
    p.setFont(ReportFont(p, 16, true));
    p.drawText(QRectF(page.left(), y, page.width(), 22), Qt::AlignLeft | Qt::AlignVCenter, c.title);
    p.setFont(ReportFont(p, 8));
    p.drawText(QRectF(page.left(), y, page.width(), 22), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("VELMOR"));
    y += 24;
    p.setFont(ReportFont(p, 9));
    for (const QString& line : c.subtitle) {
        p.drawText(QRectF(page.left(), y, page.width(), 12), Qt::AlignLeft | Qt::AlignVCenter,
                   line);
        y += 12;
    }
    p.drawText(QRectF(page.left(), y, page.width(), 12), Qt::AlignLeft | Qt::AlignVCenter,
               c.rangeText);
    y += 16;
    p.setPen(QPen(kInk, 0.8));
    p.drawLine(QPointF(page.left(), y), QPointF(page.right(), y));
    return y + 8;
}

// Height of the final values: their heading and two columns of rows.
double FinalValuesHeight(const ReportContent& c)
{
    return c.finalValues.empty() ? 0 : 30 + kRowHeight * std::ceil(c.finalValues.size() / 2.0);
}

// The trend takes what the rest leaves (the table's first dozen rows) of
// `room`, within reason.
double TrendHeight(const ReportContent& c, double room)
{
    const double tableRows = static_cast<double>(std::min<std::size_t>(c.table.size(), 12));
    const double below = 40 + (c.tableHeader.isEmpty() ? 0 : 40 + 12 * tableRows) +
                         (c.waveform.isEmpty() ? 0 : 22) + FinalValuesHeight(c);
    return std::clamp(room - below, 260.0, 430.0);
}

// The settings table from y, as many rows as the page holds above the
// waveform and the final values; returns the y below it.
double PaintSettingsTable(QPainter& p, const QRectF& page, double y, const ReportContent& c)
{
    const QFont cellFont = ReportFont(p, 8);
    p.setPen(kInk);
    p.setFont(ReportFont(p, 10, true));
    p.drawText(QRectF(page.left(), y, page.width(), 14), Qt::AlignLeft | Qt::AlignVCenter,
               c.settingsHeading);
    y += 18;
    const double first = 52;
    // Columns of at most an inch: one loop's four values stay together.
    const double cell =
        std::min(72.0, (page.width() - first) / std::max<qsizetype>(1, c.tableHeader.size() - 1));
    const auto row = [&](const QStringList& cells, bool header) {
        p.setFont(header ? ReportFont(p, 7.5, true) : cellFont);
        for (qsizetype i = 0; i < cells.size(); ++i) {
            const double left = i == 0 ? page.left() : page.left() + first + cell * (i - 1);
            const double width = i == 0 ? first - 6 : cell - 6;
            p.drawText(QRectF(left, y, width, kRowHeight), Qt::AlignRight | Qt::AlignVCenter,
                       cells[i]);
        }
        y += kRowHeight;
    };
    row(c.tableHeader, true);
    const double tableRight =
        page.left() + first + cell * static_cast<double>(c.tableHeader.size() - 1);
    p.setPen(QPen(kInk, 0.4));
    p.drawLine(QPointF(page.left(), y), QPointF(tableRight, y));
    y += 2;
    p.setPen(kInk);
    const double room = page.bottom() - y - FinalValuesHeight(c) - (c.waveform.isEmpty() ? 0 : 20);
    const auto fits = static_cast<std::size_t>(std::max(1.0, std::floor(room / kRowHeight)));
    const bool cut = c.table.size() > fits;
    const std::size_t shown = cut ? fits - 1 : c.table.size();
    for (std::size_t i = 0; i < shown; ++i) {
        row(c.table[i], false);
    }
    if (cut) {
        p.setFont(cellFont);
        p.drawText(QRectF(page.left(), y, page.width(), kRowHeight),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   TrendReportText(QT_TRANSLATE_NOOP("TrendReport", "... and %1 more segments"))
                       .arg(c.table.size() - shown));
        y += kRowHeight;
    }
    return y + 8;
}

// The values of the last record drawn, in two columns from y.
void PaintFinalValues(QPainter& p, const QRectF& page, double y, const ReportContent& c)
{
    p.setPen(kInk);
    p.setFont(ReportFont(p, 10, true));
    p.drawText(QRectF(page.left(), y, page.width(), 14), Qt::AlignLeft | Qt::AlignVCenter,
               c.finalHeading);
    y += 18;
    p.setFont(ReportFont(p, 8));
    const double half = page.width() / 2;
    for (std::size_t i = 0; i < c.finalValues.size(); ++i) {
        const double left = page.left() + (i % 2 == 0 ? 0 : half);
        const double top = y + kRowHeight * static_cast<double>(i / 2);
        p.drawText(QRectF(left, top, half * 0.6, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   c.finalValues[i].first);
        p.drawText(QRectF(left + half * 0.6, top, half * 0.3, kRowHeight),
                   Qt::AlignRight | Qt::AlignVCenter, c.finalValues[i].second);
    }
}

} // namespace

void PaintReport(QPagedPaintDevice& device, const ReportSource& source)
{
    const ReportContent c = BuildReport(source);
    QPainter p(&device);
    // Work in points whatever the device's resolution.
    const double scale = device.logicalDpiX() / 72.0;
    p.scale(scale, scale);
    const QRectF page(QPointF(0, 0),
                      QSizeF(device.pageLayout().paintRectPixels(device.logicalDpiX()).size()) /
                          scale);

    double y = PaintHeading(p, page, c);
    const double trendHeight = TrendHeight(c, page.bottom() - y);
    PaintTrend(p, QRectF(page.left(), y, page.width(), trendHeight), source, c);
    y += trendHeight + 4;
    y += PaintLegend(p, QRectF(page.left() + 34, y, page.width() - 64, 40), source) + 10;
    if (!c.tableHeader.isEmpty()) {
        y = PaintSettingsTable(p, page, y, c);
    }
    if (!c.waveform.isEmpty()) {
        p.setPen(kInk);
        p.setFont(ReportFont(p, 9));
        p.drawText(QRectF(page.left(), y, page.width(), 14), Qt::AlignLeft | Qt::AlignVCenter,
                   c.waveform);
        y += 22;
    }
    if (!c.finalValues.empty()) {
        PaintFinalValues(p, page, y, c);
    }
}

QByteArray ReportPdf(const ReportSource& source)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(DefaultReportPageSize());
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setResolution(600);
        writer.setCreator(QStringLiteral("VELMOR"));
        writer.setTitle(BuildReport(source).title);
        PaintReport(writer, source);
    }
    return bytes;
}

QString WriteReportPdf(const QString& path, const ReportSource& source)
{
    const WriteResult written =
        WriteFileAtomically(QFile::encodeName(path).toStdString(), ReportPdf(source).toStdString());
    return written.ok() ? QString() : QString::fromStdString(written.error);
}

} // namespace velmor
