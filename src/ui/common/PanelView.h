// The picture control of an exercise window (`imgPanel`): it owns the panel
// image that every Draw routine paints on, shows it at its pixel size, and
// carries the window's clickable boxes and controls as children.
#pragma once

#include "ui/common/ChangePacer.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QWidget>

#include <optional>

class QTimer;

namespace velmor {

class PanelView : public QWidget {
    Q_OBJECT

public:
    PanelView(QSize size, QWidget* parent = nullptr);

    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }

    // Shows what the Draw routines changed (the whole panel, or one area).
    void refresh() { update(); }
    void refresh(const QRect& area) { update(area); }
    // A Draw routine wrote `text` in the box `area`: the panel item over it
    // (if any) now reads it to assistive technology.
    void tell(const QRect& area, const QString& text, std::optional<double> number = {});

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};

// Something painted on a panel (a value box, a gauge, a lamp) as the
// keyboard and a screen reader meet it: a transparent widget over its
// pixels that can take the focus from Tab, shows a focus frame only then,
// and reads as its label and the value the picture shows. Value changes
// are told at most twice a second.
class PanelItem : public QWidget {
    Q_OBJECT

public:
    PanelItem(const QRect& area, QWidget* parent, QAccessible::Role role = QAccessible::StaticText);

    // The words before the value ("PG", "Flow (L/min)"), in the language in force.
    void setLabel(const QString& label);
    const QString& label() const { return m_label; }
    // What the picture shows now, and the number it stands for if any.
    void setValueText(const QString& text, std::optional<double> number = {});
    const QString& valueText() const { return m_value; }
    std::optional<double> number() const { return m_number; }
    // The label and the value, as a screen reader names the item.
    QString spokenName() const;
    QAccessible::Role role() const { return m_role; }

signals:
    // A change was told to assistive technology (paced): the name it heard.
    void told(const QString& spokenName);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void tellChange();
    void announce();

    QString m_label;
    QString m_value;
    std::optional<double> m_number;
    QAccessible::Role m_role;
    ChangePacer m_pacer;
    QElapsedTimer m_clock;
    QTimer* m_due = nullptr;
};

// A transparent clickable area over the panel, where a value box is drawn.
// Enter or Space on it, when it has the focus, is a click.
class ClickArea : public PanelItem {
    Q_OBJECT

public:
    ClickArea(const QRect& area, QWidget* parent);

    // A click from the mouse, the keyboard or assistive technology.
    void press();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// A label that reacts to a click (the clickable letters I and D).
class ClickLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace velmor
