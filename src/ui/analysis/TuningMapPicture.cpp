#include "ui/analysis/TuningMapPicture.h"

#include "core/analysis/AxisTicks.h"
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

constexpr const char* kTuningMapPictureContext = "TuningMap";

// Margins of the plot in logical pixels: axis texts left and below, the
// title above, the colour bar and legend on the right.
constexpr double kLeft = 80;
constexpr double kBottom = 46;
constexpr double kTop = 30;
constexpr double kRight = 150;

QString TuningMapPictureText(Language language, const char* source)
{
    return TextIn(language, kTuningMapPictureContext, source);
}

QString Number(double v, QChar decimal)
{
    QString text = QString::number(v, 'g', 4);
    if (decimal != QLatin1Char('.')) {
        text.replace(QLatin1Char('.'), decimal);
    }
    return text;
}

// A tick's value with the digits it needs and the picture's decimal mark.
QString TickText(const AxisTick& tick, QChar decimal)
{
    QString text = QString::number(tick.value, 'f', tick.decimals);
    if (decimal != QLatin1Char('.')) {
        text.replace(QLatin1Char('.'), decimal);
    }
    return text;
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

// What the parts of the picture share while it is painted.
struct Painting {
    QPainter& p;
    const TuningMap& map;
    const MapView& view;
    const MapGeometry& g;
    const QFont& font;
    const QFontMetricsF& metrics;
    const LoopTraces* loop;
    qreal ratio;
};

// The cells: the figure on viridis, grey where it has no value, blank
// where not computed yet. Returns the mask of the oscillating cells, one
// pixel per cell, when there are any.
std::optional<QImage> PaintCells(const Painting& s,
                                 const std::optional<std::pair<double, double>>& range)
{
    const TuningMap& map = s.map;
    const auto colourOf = [&](double v) {
        if (s.view.figure == MapFigure::Stable) {
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
            const std::optional<double> v = MapFigureValue(*row, s.view.figure);
            cells.setPixelColor(x, y, v ? colourOf(*v) : kNoValueGrey);
            if (row->stable && !*row->stable) {
                oscillating.setPixelColor(x, y, Qt::white);
                anyOscillating = true;
            }
        }
    }
    s.p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!cells.isNull()) {
        s.p.drawImage(s.g.plot, cells);
    }
    if (!anyOscillating) {
        return std::nullopt;
    }
    return oscillating;
}

// The oscillating region, whatever the figure, hatched: the hatching is
// drawn over the whole plot and kept where the region's mask is.
void PaintHatching(const Painting& s, const QImage& oscillating)
{
    const QSize plotPixels = (s.g.plot.size() * s.ratio).toSize();
    QImage hatch(plotPixels, QImage::Format_ARGB32_Premultiplied);
    hatch.fill(Qt::transparent);
    {
        QPainter h(&hatch);
        h.fillRect(hatch.rect(), QBrush(QColor(255, 255, 255, 170), Qt::BDiagPattern));
        h.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        h.drawImage(QPoint(0, 0),
                    oscillating.scaled(plotPixels, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
    hatch.setDevicePixelRatio(s.ratio);
    s.p.drawImage(s.g.plot.topLeft(), hatch);
}

// The oscillating region's outline, where it meets steady cells or the edge.
void PaintOutline(const Painting& s)
{
    const TuningMap& map = s.map;
    s.p.setRenderHint(QPainter::Antialiasing);
    QPainterPath edges;
    const auto edge = [&](QPointF a, QPointF b) {
        edges.moveTo(a);
        edges.lineTo(b);
    };
    for (std::size_t c = 0; c < map.columns(); ++c) {
        for (std::size_t r = 0; r < map.rows(); ++r) {
            if (!Oscillating(map, c, r)) {
                continue;
            }
            const QRectF cell = s.g.cell(c, r);
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
    s.p.strokePath(edges, QPen(Qt::white, 3.5, Qt::SolidLine, Qt::SquareCap));
    s.p.strokePath(edges, QPen(QColor(200, 30, 30), 1.5, Qt::SolidLine, Qt::SquareCap));
}

// The clicked cell's frame and today's settings.
void PaintMarks(const Painting& s)
{
    const TuningMap& map = s.map;
    QPainter& p = s.p;
    if (s.view.selected && *s.view.selected < map.columns() * map.rows()) {
        const QRectF cell = s.g.cell(*s.view.selected / map.rows(), *s.view.selected % map.rows())
                                .adjusted(-1, -1, 1, 1);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 3));
        p.drawRect(cell);
        p.setPen(QPen(Qt::white, 1.5));
        p.drawRect(cell);
    }
    if (s.view.today) {
        const QPointF at = s.g.pointOf(*s.view.today, s.view.axes);
        if (s.g.plot.adjusted(-1, -1, 1, 1).contains(at)) {
            TodayMark(p, at);
        }
    }
}

// The frame, the ticks and their values, the axes' names and the title.
void PaintAxes(const Painting& s)
{
    QPainter& p = s.p;
    const MapGeometry& g = s.g;
    const QFontMetricsF& metrics = s.metrics;
    const Language lang = s.view.language;
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(g.plot);
    const std::vector<SweepAxis>& axes = s.map.plan().axes;
    if (axes.size() != 2) {
        return;
    }
    // Round values where they belong on each axis; a cell centre stands at
    // its cell's value.
    // As many as their labels have room for.
    const auto room = [](double length, double perTick) {
        return std::clamp(static_cast<int>(length / perTick), 2, 8);
    };
    for (const AxisTick& tick : AxisTicks(s.view.axes[0].from, s.view.axes[0].to,
                                          s.view.axes[0].logarithmic, room(g.plot.width(), 56))) {
        const double x = g.pointOf(QPointF(tick.value, s.view.axes[1].from), s.view.axes).x();
        p.drawLine(QPointF(x, g.plot.bottom()), QPointF(x, g.plot.bottom() + 4));
        const QString t = TickText(tick, s.view.decimal);
        p.drawText(
            QPointF(x - metrics.horizontalAdvance(t) / 2, g.plot.bottom() + 6 + metrics.ascent()),
            t);
    }
    for (const AxisTick& tick :
         AxisTicks(s.view.axes[1].from, s.view.axes[1].to, s.view.axes[1].logarithmic,
                   room(g.plot.height(), 2.2 * metrics.height()))) {
        const double y = g.pointOf(QPointF(s.view.axes[0].from, tick.value), s.view.axes).y();
        p.drawLine(QPointF(g.plot.left() - 4, y), QPointF(g.plot.left(), y));
        const QString t = TickText(tick, s.view.decimal);
        p.drawText(
            QPointF(g.plot.left() - 6 - metrics.horizontalAdvance(t), y + metrics.ascent() / 2 - 1),
            t);
    }
    const Exercise e = s.map.plan().request.exercise;
    const auto axisTitle = [&](std::size_t a) {
        QString t = MapSettingLabel(e, s.map.plan().loop, axes[a].name, lang);
        if (s.view.axes[a].logarithmic) {
            t += QLatin1Char(' ') +
                 TuningMapPictureText(lang, QT_TRANSLATE_NOOP("TuningMap", "(log)"));
        }
        return t;
    };
    QFont bold = s.font;
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRectF(g.plot.left(), g.plot.bottom() + 22, g.plot.width(), 20),
               Qt::AlignHCenter | Qt::AlignTop, axisTitle(0));
    p.save();
    p.translate(12, g.plot.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-g.plot.height() / 2, -8, g.plot.height(), 20), Qt::AlignCenter,
               axisTitle(1));
    p.restore();
    // Title: the loop and the figure.
    QString title = MapFigureTitle(s.view.figure, s.loop ? s.loop->unit : nullptr, lang);
    if (s.loop != nullptr) {
        title = TextIn(lang, "TfrmRunFigures", s.loop->title) + QStringLiteral(": ") + title;
    }
    p.drawText(QRectF(g.plot.left(), 4, g.plot.width(), 22), Qt::AlignHCenter | Qt::AlignVCenter,
               title);
    p.setFont(s.font);
}

// The colour bar right of the plot, with its values and the figure's
// units above it. Returns where the bar stands.
QRectF PaintColourBar(const Painting& s, const std::optional<std::pair<double, double>>& range)
{
    QPainter& p = s.p;
    const QFontMetricsF& metrics = s.metrics;
    const Language lang = s.view.language;
    const double barX = s.g.plot.right() + 16;
    const QRectF bar(barX, s.g.plot.top() + 12, 16, std::min(s.g.plot.height() * 0.55, 220.0));
    if (s.view.figure == MapFigure::Stable) {
        const QRectF top(bar.left(), bar.top(), bar.width(), bar.height() / 2);
        const QRectF low(bar.left(), bar.center().y(), bar.width(), bar.height() / 2);
        p.fillRect(top, Viridis(1));
        p.fillRect(low, Viridis(0));
        p.setPen(Qt::black);
        p.drawRect(bar);
        p.drawText(QPointF(bar.right() + 5, top.center().y() + metrics.ascent() / 2 - 1),
                   TuningMapPictureText(lang, QT_TRANSLATE_NOOP("TuningMap", "Stable")));
        p.drawText(QPointF(bar.right() + 5, low.center().y() + metrics.ascent() / 2 - 1),
                   TuningMapPictureText(lang, QT_TRANSLATE_NOOP("TuningMap", "Oscillating")));
    } else {
        const int steps = static_cast<int>(bar.height());
        for (int k = 0; k < steps; ++k) {
            p.fillRect(QRectF(bar.left(), bar.bottom() - k - 1, bar.width(), 1.5),
                       Viridis(static_cast<double>(k) / std::max(steps - 1, 1)));
        }
        p.setPen(Qt::black);
        p.drawRect(bar);
        if (range) {
            const auto tick = [&](double f, const QString& text) {
                const double y = bar.bottom() - f * bar.height();
                p.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + 4, y));
                p.drawText(QPointF(bar.right() + 6, y + metrics.ascent() / 2 - 1), text);
            };
            const double span = range->second - range->first;
            if (span > 0) {
                const int most =
                    std::clamp(static_cast<int>(bar.height() / (2 * metrics.height())), 2, 8);
                for (const AxisTick& t : AxisTicks(range->first, range->second, false, most)) {
                    tick((t.value - range->first) / span, TickText(t, s.view.decimal));
                }
            } else {
                // One value alone stands where its colour is: the middle.
                tick(0.5, Number(range->first, s.view.decimal));
            }
        }
    }
    // The units over the bar's column, wrapped in the margin.
    p.drawText(QRectF(barX - 4, s.g.plot.top() - 28, kRight - 8, 26),
               Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap,
               MapFigureTitle(s.view.figure, s.loop ? s.loop->unit : nullptr, lang));
    return bar;
}

// Under the colour bar: what grey cells, hatching and the ring mean.
void PaintLegend(const Painting& s, const QRectF& bar)
{
    QPainter& p = s.p;
    const Language lang = s.view.language;
    const double barX = bar.left();
    double y = bar.bottom() + 18;
    const auto legend = [&](const QString& text) {
        p.setPen(Qt::black);
        p.drawText(QRectF(barX + 22, y - 2, kRight - 40, 40), Qt::AlignLeft | Qt::TextWordWrap,
                   text);
        const QRectF used = s.metrics.boundingRect(QRectF(barX + 22, y - 2, kRight - 40, 40),
                                                   Qt::AlignLeft | Qt::TextWordWrap, text);
        y += std::max(18.0, used.height() + 4);
    };
    const QRectF swatch(barX, y, 16, 12);
    p.fillRect(swatch, kNoValueGrey);
    p.setPen(Qt::black);
    p.drawRect(swatch);
    legend(TuningMapPictureText(lang, QT_TRANSLATE_NOOP("TuningMap", "No value")));
    HatchSwatch(p, QRectF(barX, y, 16, 12));
    legend(TuningMapPictureText(lang, QT_TRANSLATE_NOOP("TuningMap", "Oscillating")));
    TodayMark(p, QPointF(barX + 8, y + 6));
    legend(TuningMapPictureText(lang, QT_TRANSLATE_NOOP("TuningMap", "Today's settings")));
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
        return TuningMapPictureText(language, QT_TRANSLATE_NOOP("TuningMap", "IAE (%1·s)"))
            .arg(QString::fromUtf8(unit != nullptr ? unit : ""));
    case MapFigure::Overshoot:
        return TuningMapPictureText(language, QT_TRANSLATE_NOOP("TuningMap", "Overshoot (%)"));
    case MapFigure::Settling:
        return TuningMapPictureText(language, QT_TRANSLATE_NOOP("TuningMap", "Settling time (s)"));
    case MapFigure::Stable:
        return TuningMapPictureText(language,
                                    QT_TRANSLATE_NOOP("TuningMap", "Stable or oscillating"));
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
    const Painting s{p, map, view, g, font, metrics, LoopOfMap(map), ratio};

    const std::optional<std::pair<double, double>> range = map.figureRange(view.figure);
    if (const std::optional<QImage> oscillating = PaintCells(s, range)) {
        PaintHatching(s, *oscillating);
        PaintOutline(s);
    }
    p.setRenderHint(QPainter::Antialiasing);
    PaintMarks(s);
    PaintAxes(s);
    const QRectF bar = PaintColourBar(s, range);
    PaintLegend(s, bar);
    return image;
}

} // namespace velmor
