// The tuning map's picture, painted from made-up cells: colours follow the
// figure's order, cells without a value are grey, the oscillating region is
// hatched whatever the figure, and today's settings and the axes' ticks
// stand where their values belong on a logarithmic axis.
#include "ui/analysis/TuningMapPicture.h"

#include <QtTest>

using namespace velmor;

namespace {

// A 5 x 3 Flow map whose IAE grows cell by cell in grid order; the cell at
// (4, 2) has no IAE, the column 3 oscillates.
TuningMap MadeUpMap()
{
    SweepPlan plan;
    plan.request.exercise = Exercise::Flow;
    plan.axes = {{"flowGain", {"0.25", "0.5", "1", "2", "4"}},
                 {"flowIntegralTime", {"0.2", "0.4", "0.6"}}};
    TuningMap map;
    map.setGrid(plan, "made up");
    for (std::size_t i = 0; i < 15; ++i) {
        SweepRow row;
        row.iae = 1.0 + static_cast<double>(i);
        row.overshootPercent = 100.0 - static_cast<double>(i); // the other way round
        row.stable = i / 3 != 3;
        map.setCell(i, row);
    }
    SweepRow blank;
    blank.stable = true;
    blank.overshootPercent = 50;
    map.setCell(map.index(4, 2), blank);
    return map;
}

MapView View(MapFigure figure)
{
    MapView view;
    view.figure = figure;
    view.axes = {MapAxis{"flowGain", 0.25, 4, 5, true},
                 MapAxis{"flowIntegralTime", 0.2, 0.6, 3, false}};
    return view;
}

// A pixel of the cell near its top-left corner, clear of the marks.
QColor CellColour(const QImage& image, const MapGeometry& g, std::size_t c, std::size_t r)
{
    const QRectF cell = g.cell(c, r);
    return image.pixelColor(
        QPoint(static_cast<int>(cell.left() + 4), static_cast<int>(cell.top() + 4)));
}

// The centres of the dark marks along a line of pixels (x when `across`),
// weighted by how dark each pixel is: antialiased ticks spread over two.
std::vector<double> MarksAlong(const QImage& image, bool across, int at, int from, int to)
{
    std::vector<double> centres;
    double weight = 0;
    double sum = 0;
    for (int i = from; i <= to + 1; ++i) {
        const double dark =
            i <= to ? 1 - qGray(image.pixel(across ? QPoint(i, at) : QPoint(at, i))) / 255.0 : 0;
        if (dark > 0.2) {
            weight += dark;
            sum += dark * i;
        } else if (weight > 0) {
            centres.push_back(sum / weight + 0.5); // a pixel's centre is half a pixel in
            weight = 0;
            sum = 0;
        }
    }
    return centres;
}

// Relative luminance, which viridis raises steadily from end to end.
double Lightness(const QColor& c)
{
    return 0.2126 * c.redF() + 0.7152 * c.greenF() + 0.0722 * c.blueF();
}

} // namespace

class TuningMapPictureTest : public QObject {
    Q_OBJECT

private slots:
    void coloursFollowTheFigure();
    void oscillatingCellsAreHatchedWhateverTheFigure();
    void todayStandsWhereItsValuesBelong();
    void ticksStandOnRoundValuesWhereTheyBelong();
};

void TuningMapPictureTest::coloursFollowTheFigure()
{
    const TuningMap map = MadeUpMap();
    const QSize size(600, 400);
    const MapGeometry g = MapGeometryFor(QSizeF(size), map.columns(), map.rows());
    struct Case {
        MapFigure figure;
        bool growing; // the figure grows in grid order
    };
    for (const Case& c : {Case{MapFigure::Iae, true}, Case{MapFigure::Overshoot, false}}) {
        const QImage image = PaintTuningMap(map, View(c.figure), size, 1);
        // Viridis grows lighter with the figure: the smallest value is its
        // dark end, the largest its light end, and every step is lighter.
        double previous = c.growing ? -1 : 2;
        for (std::size_t col : {0u, 1u, 2u, 4u}) { // column 3 is hatched
            for (std::size_t row = 0; row < 3; ++row) {
                if (col == 4 && row == 2) {
                    continue;
                }
                const double l = Lightness(CellColour(image, g, col, row));
                QVERIFY2(c.growing ? l > previous : l < previous,
                         qPrintable(QStringLiteral("cell %1,%2").arg(col).arg(row)));
                previous = l;
            }
        }
        const QColor first = CellColour(image, g, 0, 0);
        QCOMPARE(first, c.growing ? Viridis(0) : Viridis(1));
        // No IAE, but an overshoot: grey only where the figure is missing.
        const QColor blank = CellColour(image, g, 4, 2);
        if (c.figure == MapFigure::Iae) {
            QCOMPARE(blank, kNoValueGrey);
        } else {
            QVERIFY(blank != kNoValueGrey);
        }
    }
}

void TuningMapPictureTest::oscillatingCellsAreHatchedWhateverTheFigure()
{
    const TuningMap map = MadeUpMap();
    const QSize size(600, 400);
    const MapGeometry g = MapGeometryFor(QSizeF(size), map.columns(), map.rows());
    for (const MapFigure figure : {MapFigure::Iae, MapFigure::Settling, MapFigure::Stable}) {
        const QImage image = PaintTuningMap(map, View(figure), size, 1);
        // Count the colours inside a cell's middle: one in a plain cell,
        // the cell's and the hatching's in an oscillating one.
        const auto colours = [&](std::size_t c, std::size_t r) {
            QSet<QRgb> seen;
            const QRect inner = g.cell(c, r).adjusted(6, 6, -6, -6).toRect();
            for (int y = inner.top(); y <= inner.bottom(); ++y) {
                for (int x = inner.left(); x <= inner.right(); ++x) {
                    seen.insert(image.pixel(x, y));
                }
            }
            return seen.size();
        };
        QCOMPARE(colours(2, 1), 1);
        QVERIFY(colours(3, 1) > 1);
        // Outlined: the edge with the steady column 2 is drawn over.
        const QRectF cell = g.cell(3, 1);
        const QColor edge = image.pixelColor(
            QPoint(static_cast<int>(cell.left()), static_cast<int>(cell.center().y())));
        QVERIFY(edge != CellColour(image, g, 2, 1));
    }
}

void TuningMapPictureTest::todayStandsWhereItsValuesBelong()
{
    const TuningMap map = MadeUpMap();
    const QSize size(600, 400);
    const MapGeometry g = MapGeometryFor(QSizeF(size), map.columns(), map.rows());
    const MapView view = View(MapFigure::Iae);
    // PG 1 is the middle of 0.25 .. 4 in ratios: the centre of column 2,
    // not a fifth of the way along.
    const QPointF at = g.pointOf(QPointF(1, 0.4), view.axes);
    QCOMPARE(at.x(), g.cell(2, 1).center().x());
    QCOMPARE(at.y(), g.cell(2, 1).center().y());
    QCOMPARE(g.pointOf(QPointF(0.25, 0.2), view.axes), g.cell(0, 0).center());
    QCOMPARE(g.cellAt(at), (std::optional<std::pair<std::size_t, std::size_t>>{{2, 1}}));

    MapView marked = view;
    marked.today = QPointF(1, 0.4);
    const QImage image = PaintTuningMap(map, marked, size, 1);
    const QImage plain = PaintTuningMap(map, view, size, 1);
    // The mark's ring: white 6 pixels right of the point, where the plain
    // map has the cell's colour.
    const QPoint ring(static_cast<int>(at.x() + 6), static_cast<int>(at.y()));
    QCOMPARE(image.pixelColor(ring), QColor(Qt::white));
    QVERIFY(plain.pixelColor(ring) != QColor(Qt::white));
}

void TuningMapPictureTest::ticksStandOnRoundValuesWhereTheyBelong()
{
    const TuningMap map = MadeUpMap();
    const QSize size(600, 400);
    const MapGeometry g = MapGeometryFor(QSizeF(size), map.columns(), map.rows());
    const MapView view = View(MapFigure::Iae);
    const QImage image = PaintTuningMap(map, view, size, 1);
    // Across, PG 0.25 .. 4 in ratios: 0.5, 1 and 2, each where its value
    // stands (1 in the middle, not evenly spread as on a linear axis).
    const std::vector<double> across =
        MarksAlong(image, true, static_cast<int>(g.plot.bottom()) + 2,
                   static_cast<int>(g.plot.left()) + 2, static_cast<int>(g.plot.right()) - 2);
    QCOMPARE(across.size(), std::size_t{3});
    const double expectedX[] = {0.5, 1, 2};
    for (std::size_t k = 0; k < 3; ++k) {
        QVERIFY2(std::abs(across[k] - g.pointOf(QPointF(expectedX[k], 0.2), view.axes).x()) < 1,
                 qPrintable(QString::number(across[k])));
    }
    // Up, I 0.2 .. 0.6 evenly: every 0.1, the ends included.
    const std::vector<double> up =
        MarksAlong(image, false, static_cast<int>(g.plot.left()) - 2,
                   static_cast<int>(g.plot.top()) - 2, static_cast<int>(g.plot.bottom()) + 2);
    QCOMPARE(up.size(), std::size_t{5});
    for (std::size_t k = 0; k < 5; ++k) {
        const double value = 0.6 - 0.1 * static_cast<double>(k); // top first
        QVERIFY2(std::abs(up[k] - g.pointOf(QPointF(1, value), view.axes).y()) < 1,
                 qPrintable(QString::number(up[k])));
    }
}

VELMOR_TEST_MAIN(TuningMapPictureTest, analysis)

#include "TuningMapPictureTest.moc"
