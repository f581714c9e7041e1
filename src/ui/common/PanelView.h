// The picture control of an exercise window (`imgPanel`): it owns the panel
// image that every Draw routine paints on, shows it at its pixel size, and
// carries the window's clickable boxes and controls as children.
#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>

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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};

// A transparent clickable area over the panel, where a value box is drawn.
class ClickArea : public QWidget {
    Q_OBJECT

public:
    ClickArea(const QRect& area, QWidget* parent);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
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
