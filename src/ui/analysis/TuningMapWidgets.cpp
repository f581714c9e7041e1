#include "ui/analysis/TuningMapWidgets.h"

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
}

MapGeometry MapPicture::geometryNow() const
{
    return MapGeometryFor(QSizeF(size()), m_map.columns(), m_map.rows());
}

void MapPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(QPoint(0, 0), PaintTuningMap(m_map, m_view, size(), devicePixelRatioF()));
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
            emit clicked(*index);
        }
    }
}

void MapPicture::leaveEvent(QEvent*)
{
    emit hovered(std::nullopt);
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
