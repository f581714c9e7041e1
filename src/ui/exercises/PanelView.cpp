#include "ui/exercises/PanelView.h"

#include "ui/exercises/ValueBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmor {

PanelView::PanelView(QSize size, QWidget* parent)
    : QWidget(parent), m_image(size, QImage::Format_RGB32)
{
    m_image.fill(kSilver);
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PanelView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), m_image, event->rect());
}

ClickArea::ClickArea(const QRect& area, QWidget* parent) : QWidget(parent)
{
    setGeometry(area);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_NoSystemBackground);
}

void ClickArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isEnabled()) {
        emit clicked();
    }
    event->accept();
}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isEnabled()) {
        emit clicked();
    }
    event->accept();
}

} // namespace velmor
