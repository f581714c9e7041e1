// The two controls of the mimic window that are more than a click area:
// the diagram picture (`imgManual`), which shows an image drawn for the
// screen's pixel ratio, and the pump-output slider (`imgScroll`), which
// reports the pointer's x while the left button drags and on its release.
#pragma once

#include <QImage>
#include <QWidget>

namespace velmor {

class MimicView : public QWidget {
    Q_OBJECT

public:
    MimicView(QSize size, QWidget* parent = nullptr);

    // The picture in logical pixels of the diagram, device pixels of the
    // screen (its devicePixelRatio says how many).
    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }

signals:
    // The screen's pixel ratio differs from the picture's: draw it anew.
    void ratioChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};

class MimicSlider : public QWidget {
    Q_OBJECT

public:
    MimicSlider(const QRect& place, QWidget* parent);

signals:
    // The pointer's x on the slider (pixels from its left edge).
    void placed(int x);
    // A key moved the knob by this many pixels: the arrows a little,
    // Page Up and Page Down more, Home and End all the way.
    void stepped(int pixels);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace velmor
