// The tuning map's picture: a heat map of one figure over the grid of two
// settings, its colour bar with units, labelled axes, the oscillating
// region hatched and outlined, cells without a value in grey, and today's
// settings marked. The window, the PNG export and `velmor --export-map`
// paint it with this one function.
#pragma once

#include "core/analysis/TuningMap.h"
#include "core/rundata/State.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <array>
#include <optional>

namespace velmor {

// The viridis colour map: t from 0 (dark violet) to 1 (yellow).
QColor Viridis(double t);

// Cells without a value of the figure shown.
inline const QColor kNoValueGrey{128, 128, 128};

// What the picture shows besides the map's cells.
struct MapView {
    MapFigure figure = MapFigure::Iae;
    std::array<MapAxis, 2> axes;           // across, up: their ranges and spacing
    std::optional<QPointF> today;          // today's two settings, when on the map
    std::optional<std::size_t> selected;   // a clicked cell
    QChar decimal = QLatin1Char('.');      // the decimal mark of the number texts
    Language language = Language::English; // the picture's words
};

// Where the cells stand in a picture of a given size (logical pixels).
struct MapGeometry {
    QRectF plot;
    std::size_t columns = 0;
    std::size_t rows = 0;

    QRectF cell(std::size_t column, std::size_t row) const; // row 0 at the bottom
    // The cell under a point, as (column, row).
    std::optional<std::pair<std::size_t, std::size_t>> cellAt(QPointF p) const;
    // Where a pair of setting values stands.
    QPointF pointOf(QPointF values, const std::array<MapAxis, 2>& axes) const;
};
MapGeometry MapGeometryFor(QSizeF size, std::size_t columns, std::size_t rows);

// The words of the picture, also used by the window.
QString MapFigureTitle(MapFigure figure, const char* unit, Language language);
// A setting's name as the Trends settings box calls it ("Flow PG").
QString MapSettingLabel(Exercise e, std::size_t loop, const std::string& name, Language language);

// The picture at `size` logical pixels and pixel ratio `ratio`.
QImage PaintTuningMap(const TuningMap& map, const MapView& view, QSize size, qreal ratio);

} // namespace velmor
