#include "ui/mimic/MimicView.h"

#include <QKeyEvent>
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
    // Tab reaches it; a click does not take the focus.
    setFocusPolicy(Qt::TabFocus);
}

void MimicSlider::keyPressEvent(QKeyEvent* event)
{
    // The knob's travel is about 100 pixels: 5 a step, 25 a page.
    constexpr int kStep = 5;
    constexpr int kPage = 25;
    constexpr int kAll = 1000;
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up:
        emit stepped(kStep);
        break;
    case Qt::Key_Left:
    case Qt::Key_Down:
        emit stepped(-kStep);
        break;
    case Qt::Key_PageUp:
        emit stepped(kPage);
        break;
    case Qt::Key_PageDown:
        emit stepped(-kPage);
        break;
    case Qt::Key_End:
        emit stepped(kAll);
        break;
    case Qt::Key_Home:
        emit stepped(-kAll);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void MimicSlider::paintEvent(QPaintEvent* /*event*/)
{
    // A focus frame only for focus the keyboard moved; nothing else: the
    // diagram under it shows the knob.
    if (!hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        return;
    }
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void MimicSlider::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void MimicSlider::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
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
