#include "ui/common/PanelView.h"

#include "ui/common/Picture.h"
#include "ui/common/ValueBox.h"

#include <QGuiApplication>
#include <QScreen>

#include <QMouseEvent>
#include <QPainter>

namespace velmor {

PanelView::PanelView(QSize size, QWidget* parent)
    : QWidget(parent),
      m_image(BlankPicture(size, parent != nullptr ? parent->devicePixelRatioF()
                                 : QGuiApplication::primaryScreen() != nullptr
                                     ? QGuiApplication::primaryScreen()->devicePixelRatio()
                                     : 1.0))
{
    m_image.fill(kSilver);
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PanelView::paintEvent(QPaintEvent* event)
{
    // The image holds the screen's pixels: its source area is the logical
    // area times the ratio.
    const QRect area = event->rect();
    const qreal ratio = m_image.devicePixelRatio();
    QPainter painter(this);
    painter.drawImage(
        area, m_image,
        QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
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
