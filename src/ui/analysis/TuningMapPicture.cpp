#include "ui/analysis/TuningMapPicture.h"

#include "core/analysis/ResponseFigures.h"
#include "core/exercises/ExerciseProfile.h"
#include "ui/common/Language.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace velmor {

namespace {

constexpr const char* kContext = "TuningMap";

// Margins of the plot in logical pixels: axis texts left and below, the
// title above, the colour bar and legend on the right.
constexpr double kLeft = 80;
constexpr double kBottom = 46;
constexpr double kTop = 30;
constexpr double kRight = 150;

QString Text(Language language, const char* source)
{
    return TextIn(language, kContext, source);
}

QString Number(double v, QChar decimal)
{
    QString text = QString::number(v, 'g', 4);
    if (decimal != QLatin1Char('.')) {
        text.replace(QLatin1Char('.'), decimal);
    }
    return text;
}

QString ValueText(const std::string& text, QChar decimal)
{
    QString t = QString::fromStdString(text);
    if (decimal != QLatin1Char('.')) {
        t.replace(QLatin1Char('.'), decimal);
    }
    return t;
}

// The ticks of an axis of n cells: every cell when few, else about five.
std::vector<std::size_t> TickCells(std::size_t n)
{
    std::vector<std::size_t> ticks;
    if (n <= 7) {
        for (std::size_t i = 0; i < n; ++i) {
            ticks.push_back(i);
        }
        return ticks;
    }
    for (int k = 0; k <= 4; ++k) {
        ticks.push_back(static_cast<std::size_t>(std::lround(k * (n - 1) / 4.0)));
    }
    return ticks;
}

const LoopTraces* LoopOfMap(const TuningMap& map)
{
    const std::span<const LoopTraces> loops = ControlledLoops(map.plan().request.exercise);
    return map.plan().loop < loops.size() ? &loops[map.plan().loop] : nullptr;
}

bool Oscillating(const TuningMap& map, std::size_t c, std::size_t r)
{
    if (c >= map.columns() || r >= map.rows()) {
        return false;
    }
    const std::optional<SweepRow>& row = map.cell(map.index(c, r));
    return row && row->stable && !*row->stable;
}

void HatchSwatch(QPainter& p, const QRectF& r)
{
    p.fillRect(r, Viridis(0.5));
    p.fillRect(r, QBrush(Qt::white, Qt::BDiagPattern));
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

void TodayMark(QPainter& p, QPointF at)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 4));
    p.drawEllipse(at, 6, 6);
    p.setPen(QPen(Qt::white, 2));
    p.drawEllipse(at, 6, 6);
    p.drawLine(at - QPointF(10, 0), at - QPointF(3, 0));
    p.drawLine(at + QPointF(3, 0), at + QPointF(10, 0));
    p.drawLine(at - QPointF(0, 10), at - QPointF(0, 3));
    p.drawLine(at + QPointF(0, 3), at + QPointF(0, 10));
}

} // namespace

QColor Viridis(double t)
{
    // Eleven evenly spaced samples of the map; straight lines between them
    // stay within a hair of it.
    static const QColor kStops[] = {
        QColor(0x44, 0x01, 0x54), QColor(0x48, 0x25, 0x76), QColor(0x41, 0x44, 0x87),
        QColor(0x35, 0x60, 0x8d), QColor(0x2a, 0x78, 0x8e), QColor(0x21, 0x90, 0x8c),
        QColor(0x22, 0xa8, 0x84), QColor(0x43, 0xbf, 0x71), QColor(0x7a, 0xd1, 0x51),
        QColor(0xbb, 0xdf, 0x27), QColor(0xfd, 0xe7, 0x25)};
    constexpr int kLast = 10;
    if (!(t > 0)) {
        return kStops[0];
    }
    if (t >= 1) {
        return kStops[kLast];
    }
    const double x = t * kLast;
    const int i = static_cast<int>(x);
    const double f = x - i;
    const QColor& a = kStops[i];
    const QColor& b = kStops[i + 1];
    auto mix = [f](int u, int v) { return static_cast<int>(std::lround(u + (v - u) * f)); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

QRectF MapGeometry::cell(std::size_t column, std::size_t row) const
{
    const double w = plot.width() / static_cast<double>(std::max<std::size_t>(columns, 1));
    const double h = plot.height() / static_cast<double>(std::max<std::size_t>(rows, 1));
    return QRectF(plot.left() + static_cast<double>(column) * w,
                  plot.bottom() - static_cast<double>(row + 1) * h, w, h);
}

std::optional<std::pair<std::size_t, std::size_t>> MapGeometry::cellAt(QPointF p) const
{
    if (columns == 0 || rows == 0 || !plot.contains(p)) {
        return std::nullopt;
    }
    const auto c = static_cast<std::size_t>((p.x() - plot.left()) / plot.width() *
                                            static_cast<double>(columns));
    const auto r = static_cast<std::size_t>((plot.bottom() - p.y()) / plot.height() *
                                            static_cast<double>(rows));
    return std::pair(std::min(c, columns - 1), std::min(r, rows - 1));
}

QPointF MapGeometry::pointOf(QPointF values, const std::array<MapAxis, 2>& axes) const
{
    // Cell centres stand at the axis values: the first at half a cell in.
    const auto along = [](double f, double start, double length, std::size_t n) {
        const double cellLength = length / static_cast<double>(std::max<std::size_t>(n, 1));
        return start + cellLength / 2 + f * (length - cellLength);
    };
    const double fx = AxisFraction(values.x(), axes[0].from, axes[0].to, axes[0].logarithmic);
    const double fy = AxisFraction(values.y(), axes[1].from, axes[1].to, axes[1].logarithmic);
    return {along(fx, plot.left(), plot.width(), columns),
            plot.bottom() - (along(fy, 0, plot.height(), rows))};
}

MapGeometry MapGeometryFor(QSizeF size, std::size_t columns, std::size_t rows)
{
    MapGeometry g;
    g.plot = QRectF(kLeft, kTop, std::max(10.0, size.width() - kLeft - kRight),
                    std::max(10.0, size.height() - kTop - kBottom));
    g.columns = columns;
    g.rows = rows;
    return g;
}

QString MapFigureTitle(MapFigure figure, const char* unit, Language language)
{
    switch (figure) {
    case MapFigure::Iae:
        return Text(language, QT_TRANSLATE_NOOP("TuningMap", "IAE (%1·s)"))
            .arg(QString::fromUtf8(unit != nullptr ? unit : ""));
    case MapFigure::Overshoot:
        return Text(language, QT_TRANSLATE_NOOP("TuningMap", "Overshoot (%)"));
    case MapFigure::Settling:
        return Text(language, QT_TRANSLATE_NOOP("TuningMap", "Settling time (s)"));
    case MapFigure::Stable:
        return Text(language, QT_TRANSLATE_NOOP("TuningMap", "Stable or oscillating"));
    }
    return {};
}

QString MapSettingLabel(Exercise e, std::size_t loop, const std::string& name, Language language)
{
    const ExerciseProfile& p = ProfileOf(e);
    const std::vector<std::string> names = LoopSettingNames(e, loop);
    const std::span<const LoopTraces> loops = p.loops;
    const auto k = std::find(names.begin(), names.end(), name) - names.begin();
    if (loop < loops.size() && k < static_cast<std::ptrdiff_t>(names.size())) {
        // The settings box's own label of that value, without its colon.
        constexpr int kLabelOf[] = {0, 2, 3};
        for (const SettingsColumn& column : p.trends.settingsColumns) {
            if (column.gainField == loops[loop].gainField) {
                QString label = TextIn(language, "TfrmGraph", column.labels[kLabelOf[k]]);
                if (label.endsWith(QLatin1Char(':'))) {
                    label.chop(1);
                }
                return label;
            }
        }
    }
    return QString::fromStdString(name);
}

QImage PaintTuningMap(const TuningMap& map, const MapView& view, QSize size, qreal ratio)
{
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    p.setFont(font);
    const QFontMetricsF metrics(font);

    const MapGeometry g = MapGeometryFor(QSizeF(size), map.columns(), map.rows());
    const Exercise e = map.plan().request.exercise;
    const LoopTraces* loop = LoopOfMap(map);
    const Language lang = view.language;

    // The cells: the figure on viridis, grey where it has no value, blank
    // where not computed yet.
    const std::optional<std::pair<double, double>> range = map.figureRange(view.figure);
    const auto colourOf = [&](double v) {
        if (view.figure == MapFigure::Stable) {
            return Viridis(v);
        }
        const double span = range->second - range->first;
        return Viridis(span > 0 ? (v - range->first) / span : 0.5);
    };
    // One pixel per cell, scaled up without smoothing: a 201 x 201 map
    // paints as fast as a small one, with no seams between cells.
    QImage cells(static_cast<int>(map.columns()), static_cast<int>(map.rows()),
                 QImage::Format_ARGB32_Premultiplied);
    cells.fill(Qt::transparent);
    QImage oscillating(cells.size(), QImage::Format_ARGB32_Premultiplied);
    oscillating.fill(Qt::transparent);
    bool anyOscillating = false;
    for (std::size_t c = 0; c < map.columns(); ++c) {
        for (std::size_t r = 0; r < map.rows(); ++r) {
            const std::optional<SweepRow>& row = map.cell(map.index(c, r));
            if (!row) {
                continue;
            }
            const int x = static_cast<int>(c);
            const int y = static_cast<int>(map.rows() - 1 - r);
            const std::optional<double> v = MapFigureValue(*row, view.figure);
            cells.setPixelColor(x, y, v ? colourOf(*v) : kNoValueGrey);
            if (row->stable && !*row->stable) {
                oscillating.setPixelColor(x, y, Qt::white);
                anyOscillating = true;
            }
        }
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!cells.isNull()) {
        p.drawImage(g.plot, cells);
    }

    // The oscillating region, whatever the figure: hatched, and outlined
    // where it meets steady cells or the edge. The hatching is drawn over
    // the whole plot and kept where the region's mask is.
    if (anyOscillating) {
        const QSize plotPixels = (g.plot.size() * ratio).toSize();
        QImage hatch(plotPixels, QImage::Format_ARGB32_Premultiplied);
        hatch.fill(Qt::transparent);
        {
            QPainter h(&hatch);
            h.fillRect(hatch.rect(), QBrush(QColor(255, 255, 255, 170), Qt::BDiagPattern));
            h.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            h.drawImage(QPoint(0, 0), oscillating.scaled(plotPixels, Qt::IgnoreAspectRatio,
                                                         Qt::FastTransformation));
        }
        hatch.setDevicePixelRatio(ratio);
        p.drawImage(g.plot.topLeft(), hatch);
    }
    if (anyOscillating) {
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath edges;
        for (std::size_t c = 0; c < map.columns(); ++c) {
            for (std::size_t r = 0; r < map.rows(); ++r) {
                if (!Oscillating(map, c, r)) {
                    continue;
                }
                const QRectF cell = g.cell(c, r);
                const auto edge = [&](QPointF a, QPointF b) {
                    edges.moveTo(a);
                    edges.lineTo(b);
                };
                if (c == 0 || !Oscillating(map, c - 1, r)) {
                    edge(cell.topLeft(), cell.bottomLeft());
                }
                if (!Oscillating(map, c + 1, r)) {
                    edge(cell.topRight(), cell.bottomRight());
                }
                if (r == 0 || !Oscillating(map, c, r - 1)) {
                    edge(cell.bottomLeft(), cell.bottomRight());
                }
                if (!Oscillating(map, c, r + 1)) {
                    edge(cell.topLeft(), cell.topRight());
                }
            }
        }
        p.strokePath(edges, QPen(Qt::white, 3.5, Qt::SolidLine, Qt::SquareCap));
        p.strokePath(edges, QPen(QColor(200, 30, 30), 1.5, Qt::SolidLine, Qt::SquareCap));
    }
    p.setRenderHint(QPainter::Antialiasing);

    if (view.selected && *view.selected < map.columns() * map.rows()) {
        const QRectF cell =
            g.cell(*view.selected / map.rows(), *view.selected % map.rows()).adjusted(-1, -1, 1, 1);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 3));
        p.drawRect(cell);
        p.setPen(QPen(Qt::white, 1.5));
        p.drawRect(cell);
    }
    if (view.today) {
        const QPointF at = g.pointOf(*view.today, view.axes);
        if (g.plot.adjusted(-1, -1, 1, 1).contains(at)) {
            TodayMark(p, at);
        }
    }

    // Frame, ticks and axis texts.
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(g.plot);
    const std::vector<SweepAxis>& axes = map.plan().axes;
    if (axes.size() == 2) {
        for (const std::size_t c : TickCells(map.columns())) {
            const double x = g.cell(c, 0).center().x();
            p.drawLine(QPointF(x, g.plot.bottom()), QPointF(x, g.plot.bottom() + 4));
            const QString t = ValueText(axes[0].values[c], view.decimal);
            p.drawText(QPointF(x - metrics.horizontalAdvance(t) / 2,
                               g.plot.bottom() + 6 + metrics.ascent()),
                       t);
        }
        for (const std::size_t r : TickCells(map.rows())) {
            const double y = g.cell(0, r).center().y();
            p.drawLine(QPointF(g.plot.left() - 4, y), QPointF(g.plot.left(), y));
            const QString t = ValueText(axes[1].values[r], view.decimal);
            p.drawText(QPointF(g.plot.left() - 6 - metrics.horizontalAdvance(t),
                               y + metrics.ascent() / 2 - 1),
                       t);
        }
        const auto axisTitle = [&](std::size_t a) {
            QString t = MapSettingLabel(e, map.plan().loop, axes[a].name, lang);
            if (view.axes[a].logarithmic) {
                t += QLatin1Char(' ') + Text(lang, QT_TRANSLATE_NOOP("TuningMap", "(log)"));
            }
            return t;
        };
        QFont bold = font;
        bold.setBold(true);
        p.setFont(bold);
        const QString xTitle = axisTitle(0);
        p.drawText(QRectF(g.plot.left(), g.plot.bottom() + 22, g.plot.width(), 20),
                   Qt::AlignHCenter | Qt::AlignTop, xTitle);
        p.save();
        p.translate(12, g.plot.center().y());
        p.rotate(-90);
        p.drawText(QRectF(-g.plot.height() / 2, -8, g.plot.height(), 20), Qt::AlignCenter,
                   axisTitle(1));
        p.restore();
        // Title: the loop and the figure.
        QString title = MapFigureTitle(view.figure, loop ? loop->unit : nullptr, lang);
        if (loop != nullptr) {
            title = TextIn(lang, "TfrmRunFigures", loop->title) + QStringLiteral(": ") + title;
        }
        p.drawText(QRectF(g.plot.left(), 4, g.plot.width(), 22),
                   Qt::AlignHCenter | Qt::AlignVCenter, title);
        p.setFont(font);
    }

    // The colour bar, with the figure's units, then the legend.
    const double barX = g.plot.right() + 16;
    const QRectF bar(barX, g.plot.top() + 12, 16, std::min(g.plot.height() * 0.55, 220.0));
    if (view.figure == MapFigure::Stable) {
        const QRectF top(bar.left(), bar.top(), bar.width(), bar.height() / 2);
        const QRectF low(bar.left(), bar.center().y(), bar.width(), bar.height() / 2);
        p.fillRect(top, Viridis(1));
        p.fillRect(low, Viridis(0));
        p.setPen(Qt::black);
        p.drawRect(bar);
        p.drawText(QPointF(bar.right() + 5, top.center().y() + metrics.ascent() / 2 - 1),
                   Text(lang, QT_TRANSLATE_NOOP("TuningMap", "Stable")));
        p.drawText(QPointF(bar.right() + 5, low.center().y() + metrics.ascent() / 2 - 1),
                   Text(lang, QT_TRANSLATE_NOOP("TuningMap", "Oscillating")));
    } else {
        const int steps = static_cast<int>(bar.height());
        for (int k = 0; k < steps; ++k) {
            p.fillRect(QRectF(bar.left(), bar.bottom() - k - 1, bar.width(), 1.5),
                       Viridis(static_cast<double>(k) / std::max(steps - 1, 1)));
        }
        p.setPen(Qt::black);
        p.drawRect(bar);
        if (range) {
            // One value alone stands where its colour is: the middle.
            const bool single = range->second == range->first;
            for (int k = single ? 2 : 0; k <= (single ? 2 : 4); ++k) {
                const double f = k / 4.0;
                const double v = range->first + (range->second - range->first) * f;
                const double y = bar.bottom() - f * bar.height();
                p.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + 4, y));
                p.drawText(QPointF(bar.right() + 6, y + metrics.ascent() / 2 - 1),
                           Number(v, view.decimal));
            }
        }
    }
    // The units over the bar's column, wrapped in the margin.
    p.drawText(QRectF(barX - 4, g.plot.top() - 28, kRight - 8, 26),
               Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap,
               MapFigureTitle(view.figure, loop ? loop->unit : nullptr, lang));

    double y = bar.bottom() + 18;
    const auto legend = [&](const QString& text) {
        p.setPen(Qt::black);
        p.drawText(QRectF(barX + 22, y - 2, kRight - 40, 40), Qt::AlignLeft | Qt::TextWordWrap,
                   text);
        const QRectF used = metrics.boundingRect(QRectF(barX + 22, y - 2, kRight - 40, 40),
                                                 Qt::AlignLeft | Qt::TextWordWrap, text);
        y += std::max(18.0, used.height() + 4);
    };
    const QRectF swatch(barX, y, 16, 12);
    p.fillRect(swatch, kNoValueGrey);
    p.setPen(Qt::black);
    p.drawRect(swatch);
    legend(Text(lang, QT_TRANSLATE_NOOP("TuningMap", "No value")));
    HatchSwatch(p, QRectF(barX, y, 16, 12));
    legend(Text(lang, QT_TRANSLATE_NOOP("TuningMap", "Oscillating")));
    TodayMark(p, QPointF(barX + 8, y + 6));
    legend(Text(lang, QT_TRANSLATE_NOOP("TuningMap", "Today's settings")));
    return image;
}

} // namespace velmor
