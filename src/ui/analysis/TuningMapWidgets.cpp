#include "ui/analysis/TuningMapWidgets.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace velmor {

// ---- MapPicture ------------------------------------------------------------

MapPicture::MapPicture(const TuningMap& map, const MapView& view, QWidget* parent)
    : QWidget(parent), m_map(map), m_view(view)
{
    setMouseTracking(true);
    setMinimumSize(320, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);
}

MapGeometry MapPicture::geometryNow() const
{
    return MapGeometryFor(QSizeF(size()), m_map.columns(), m_map.rows());
}

void MapPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(QPoint(0, 0), PaintTuningMap(m_map, m_view, size(), devicePixelRatioF()));
    // The keyboard's cursor, only while the keyboard is on the map: a
    // dashed frame, black on white, seen on any colour.
    if (const auto cell = cursorCell(); cell && hasFocus()) {
        const QRectF r = geometryNow().cell(cell->first, cell->second).adjusted(-2, -2, 2, 2);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 2));
        p.drawRect(r);
        p.setPen(QPen(Qt::black, 2, Qt::DashLine));
        p.drawRect(r);
    }
}

std::optional<std::pair<std::size_t, std::size_t>> MapPicture::cursorCell() const
{
    if (!m_cursor || m_map.columns() == 0 || m_map.rows() == 0) {
        return std::nullopt;
    }
    return std::pair(std::min(m_cursor->first, m_map.columns() - 1),
                     std::min(m_cursor->second, m_map.rows() - 1));
}

std::optional<std::size_t> MapPicture::cursorIndex() const
{
    const auto cell = cursorCell();
    return cell ? std::optional(m_map.index(cell->first, cell->second)) : std::nullopt;
}

void MapPicture::moveCursor(long long dc, long long dr)
{
    if (m_map.columns() == 0 || m_map.rows() == 0) {
        return;
    }
    // The first key press puts the cursor in the middle.
    auto cell = cursorCell().value_or(std::pair(m_map.columns() / 2, m_map.rows() / 2));
    const auto step = [](std::size_t at, long long by, std::size_t n) {
        return static_cast<std::size_t>(std::clamp<long long>(static_cast<long long>(at) + by, 0,
                                                              static_cast<long long>(n) - 1));
    };
    if (m_cursor) {
        cell = {step(cell.first, dc, m_map.columns()), step(cell.second, dr, m_map.rows())};
    }
    m_cursor = cell;
    update();
    emit hovered(cursorIndex());
}

void MapPicture::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        moveCursor(-1, 0);
        return;
    case Qt::Key_Right:
        moveCursor(1, 0);
        return;
    case Qt::Key_Up: // row 0 is at the bottom
        moveCursor(0, 1);
        return;
    case Qt::Key_Down:
        moveCursor(0, -1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!m_cursor) {
            moveCursor(0, 0);
        } else if (const std::optional<std::size_t> index = cursorIndex()) {
            emit clicked(*index);
        }
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MapPicture::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    // Tabbing onto the map tells the cursor's cell straight away.
    if (m_cursor &&
        (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)) {
        emit hovered(cursorIndex());
    }
    update();
}

void MapPicture::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

std::optional<std::size_t> MapPicture::indexAt(QPointF p) const
{
    const auto cell = geometryNow().cellAt(p);
    if (!cell) {
        return std::nullopt;
    }
    return m_map.index(cell->first, cell->second);
}

void MapPicture::mouseMoveEvent(QMouseEvent* event)
{
    emit hovered(indexAt(event->position()));
}

void MapPicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (const std::optional<std::size_t> index = indexAt(event->position())) {
            // The keyboard goes on from the cell clicked.
            m_cursor = geometryNow().cellAt(event->position());
            emit clicked(*index);
        }
    }
}

void MapPicture::leaveEvent(QEvent*)
{
    emit hovered(std::nullopt);
}

// ---- RangeBox --------------------------------------------------------------

QString RangeBox::textFromValue(double value) const
{
    QLocale l = locale();
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = l.toString(value, 'f', decimals());
    if (text.contains(l.decimalPoint())) {
        while (text.endsWith(QLatin1Char('0'))) {
            text.chop(1);
        }
        if (text.endsWith(l.decimalPoint())) {
            text.chop(l.decimalPoint().size());
        }
    }
    return text;
}

// ---- RunPlot ---------------------------------------------------------------

RunPlot::RunPlot(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(200, 140);
}

void RunPlot::setRuns(Trace chosen, Trace today)
{
    m_chosen = std::move(chosen);
    m_today = std::move(today);
    update();
}

void RunPlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::black);
    if (m_chosen.time.size() < 2) {
        return;
    }
    double lo = 0;
    double hi = 0;
    bool first = true;
    double tEnd = 0;
    for (const Trace* t : {&m_chosen, &m_today}) {
        for (const std::vector<double>* v : {&t->setPoint, &t->measured}) {
            for (const double x : *v) {
                lo = first ? x : std::min(lo, x);
                hi = first ? x : std::max(hi, x);
                first = false;
            }
        }
        if (!t->time.empty()) {
            tEnd = std::max(tEnd, t->time.back());
        }
    }
    if (hi - lo < 1e-9) {
        hi = lo + 1;
    }
    const double pad = (hi - lo) * 0.08;
    lo -= pad;
    hi += pad;
    const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);
    const auto at = [&](double t, double v) {
        return QPointF(area.left() + t / std::max(tEnd, 1e-9) * area.width(),
                       area.bottom() - (v - lo) / (hi - lo) * area.height());
    };
    const auto line = [&](const std::vector<double>& time, const std::vector<double>& v,
                          const QPen& pen) {
        QPainterPath path;
        for (std::size_t i = 0; i < v.size() && i < time.size(); ++i) {
            if (i == 0) {
                path.moveTo(at(time[i], v[i]));
            } else {
                path.lineTo(at(time[i], v[i]));
            }
        }
        p.strokePath(path, pen);
    };
    // Today's run dimmed behind, then the chosen one: the set point in
    // yellow, the measured value in green, as the Trends window colours them.
    line(m_today.time, m_today.setPoint, QPen(QColor(110, 110, 60), 1, Qt::DashLine));
    line(m_today.time, m_today.measured, QPen(QColor(70, 110, 70), 1));
    line(m_chosen.time, m_chosen.setPoint, QPen(QColor(255, 255, 0), 1.5, Qt::DashLine));
    line(m_chosen.time, m_chosen.measured, QPen(QColor(0, 255, 0), 1.5));
}

} // namespace velmor
