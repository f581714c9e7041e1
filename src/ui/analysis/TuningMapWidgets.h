// The two pictures of the tuning map window: the map, which tells the
// cell under the mouse or clicked, and the chosen cell's run.
#pragma once

#include "ui/analysis/TuningMapPicture.h"

#include <QDoubleSpinBox>
#include <QWidget>

#include <optional>
#include <vector>

namespace velmor {

// The map itself: paints the picture at the widget's size and tells which
// cell is under the mouse or clicked. From the keyboard, the arrows move a
// cell cursor that tells its cell as the mouse does, and Enter or Space
// chooses it as a click does.
class MapPicture : public QWidget {
    Q_OBJECT

public:
    MapPicture(const TuningMap& map, const MapView& view, QWidget* parent);
    MapGeometry geometryNow() const;
    // The cell under the keyboard's cursor, when it has been placed.
    std::optional<std::size_t> cursorIndex() const;

signals:
    void hovered(std::optional<std::size_t> index);
    void clicked(std::size_t index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::optional<std::size_t> indexAt(QPointF p) const;
    // The cursor's cell within the map as it is now (the grid may have
    // shrunk since it was placed).
    std::optional<std::pair<std::size_t, std::size_t>> cursorCell() const;
    void moveCursor(long long dc, long long dr);
    std::optional<std::pair<std::size_t, std::size_t>> m_cursor;
    const TuningMap& m_map;
    const MapView& m_view;
};

// A range's end: the value with the digits it needs ("0.25", not "0.2500").
class RangeBox : public QDoubleSpinBox {
    Q_OBJECT

public:
    using QDoubleSpinBox::QDoubleSpinBox;

protected:
    QString textFromValue(double value) const override;
};

// A run's set point and measured value against time, today's run dimmed
// behind it.
class RunPlot : public QWidget {
    Q_OBJECT

public:
    struct Trace {
        std::vector<double> time; // s
        std::vector<double> setPoint;
        std::vector<double> measured;
    };
    explicit RunPlot(QWidget* parent);
    void setRuns(Trace chosen, Trace today);
    const Trace& chosen() const { return m_chosen; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Trace m_chosen;
    Trace m_today;
};

} // namespace velmor
