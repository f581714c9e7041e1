#include "ui/common/PanelView.h"

#include "ui/common/Picture.h"
#include "ui/common/ValueBox.h"

#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace velmor {

namespace {

// What a screen reader meets for a panel item: its role, its label with
// the value, the value as a number where there is one, and a press action
// for a clickable box.
class PanelItemAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit PanelItemAccessible(PanelItem* item) : QAccessibleWidget(item, item->role()) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return item()->spokenName();
        case QAccessible::Value:
            return item()->valueText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        // A box that opens the keypad is a button with its value in its
        // name: a value interface would offer steps it cannot take.
        if (t == QAccessible::ValueInterface && item()->number() && clickArea() == nullptr) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override { return item()->number().value_or(0.0); }
    // The value is the simulation's: it changes through the keypad only.
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return currentValue(); }
    QVariant minimumValue() const override { return currentValue(); }
    QVariant minimumStepSize() const override { return 0.0; }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (clickArea() != nullptr && item()->isEnabled()) {
            names.prepend(pressAction());
        }
        return names;
    }

    void doAction(const QString& name) override
    {
        if (name == pressAction() && clickArea() != nullptr && item()->isEnabled()) {
            clickArea()->press();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    PanelItem* item() const { return static_cast<PanelItem*>(widget()); }
    ClickArea* clickArea() const { return qobject_cast<ClickArea*>(widget()); }
};

QAccessibleInterface* PanelItemFactory(const QString& key, QObject* object)
{
    if (key == QLatin1String("velmor::PanelItem")) {
        if (auto* item = qobject_cast<PanelItem*>(object)) {
            return new PanelItemAccessible(item);
        }
    }
    return nullptr;
}

} // namespace

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

void PanelView::tell(const QRect& area, const QString& text, std::optional<double> number)
{
    const QPoint centre = area.center();
    for (PanelItem* item : findChildren<PanelItem*>(Qt::FindDirectChildrenOnly)) {
        if (item->geometry().contains(centre)) {
            item->setValueText(text, number);
            return;
        }
    }
}

PanelItem::PanelItem(const QRect& area, QWidget* parent, QAccessible::Role role)
    : QWidget(parent), m_role(role)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(&PanelItemFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setGeometry(area);
    setAttribute(Qt::WA_NoSystemBackground);
    // In the Tab chain, but a click does not take the focus: a mouse user
    // never sees a focus frame.
    setFocusPolicy(Qt::TabFocus);
    m_clock.start();
    m_due = new QTimer(this);
    m_due->setSingleShot(true);
    connect(m_due, &QTimer::timeout, this, [this] {
        m_pacer.told(m_clock.elapsed());
        announce();
    });
}

void PanelItem::setLabel(const QString& label)
{
    if (label == m_label) {
        return;
    }
    m_label = label;
    tellChange();
}

void PanelItem::setValueText(const QString& text, std::optional<double> number)
{
    if (text == m_value && number == m_number) {
        return;
    }
    m_value = text;
    m_number = number;
    tellChange();
}

QString PanelItem::spokenName() const
{
    if (m_value.isEmpty()) {
        return m_label;
    }
    if (m_label.isEmpty()) {
        return m_value;
    }
    return m_label + QStringLiteral(": ") + m_value;
}

void PanelItem::tellChange()
{
    const ChangePacer::Advice advice = m_pacer.offer(m_clock.elapsed());
    if (advice.waitMs) {
        m_due->start(static_cast<int>(*advice.waitMs));
    }
    if (advice.tellNow) {
        announce();
    }
}

void PanelItem::announce()
{
    emit told(spokenName());
    // No events (nor interfaces made) while no assistive technology listens.
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    // A box that opens the keypad has its value in its name only.
    if (m_number && qobject_cast<ClickArea*>(this) == nullptr) {
        QAccessibleValueChangeEvent changed(this, *m_number);
        QAccessible::updateAccessibility(&changed);
    }
}

void PanelItem::paintEvent(QPaintEvent* /*event*/)
{
    // The frame only for focus the keyboard moved, as the toolkit's own
    // controls show theirs.
    if (!hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        return;
    }
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void PanelItem::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void PanelItem::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

ClickArea::ClickArea(const QRect& area, QWidget* parent)
    : PanelItem(area, parent, QAccessible::Button)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickArea::press()
{
    if (isEnabled()) {
        emit clicked();
    }
}

void ClickArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        press();
    }
    event->accept();
}

void ClickArea::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            press();
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    PanelItem::keyPressEvent(event);
}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isEnabled()) {
        emit clicked();
    }
    event->accept();
}

} // namespace velmor
