#include "ui/mimic/MimicView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

namespace velmor {

MimicView::MimicView(QSize size, QWidget* parent) : QWidget(parent)
{
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MimicView::paintEvent(QPaintEvent* event)
{
    if (m_image.isNull() || !qFuzzyCompare(m_image.devicePixelRatio(), devicePixelRatioF())) {
        emit ratioChanged();
    }
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawImage(QPoint(0, 0), m_image);
}

MimicSlider::MimicSlider(const QRect& place, QWidget* parent) : QWidget(parent)
{
    setGeometry(place);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_NoSystemBackground);
}

void MimicSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) {
        emit placed(qFloor(event->position().x()));
    }
    event->accept();
}

void MimicSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        emit placed(qFloor(event->position().x()));
    }
    event->accept();
}

} // namespace velmor
