// The Trends window's panel picture (imgPanel) and the pixel work done on
// it in logical panel coordinates at any device pixel ratio: filled
// rectangles, 1-pixel lines that leave out their end point, and copies of
// pixels between pictures of the same ratio.
#pragma once

#include <QImage>
#include <QRect>

namespace velmor {

class TrendCanvas {
public:
    // A 524 x 501 logical picture: that many logical pixels, ratio times as
    // many of the screen's.
    explicit TrendCanvas(qreal ratio = 1) : m_ratio(ratio) {}

    qreal ratio() const { return m_ratio; }
    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }

    // The device pixel whose centre is the first inside a logical edge.
    int dev(int logical) const;
    // Logical left, top, right, bottom (right and bottom exclusive) in
    // device pixels.
    QRect devRect(int left, int top, int right, int bottom) const;

    // Fills a logical rectangle; one given the wrong way round is turned
    // first (the bars need it for values out of range).
    void fill(int left, int top, int right, int bottom, QRgb colour);
    // A 1-pixel line that leaves out its end point; dashed, it continues
    // the dash pattern from *dashPhase.
    void line(int x0, int y0, int x1, int y1, QRgb colour, int* dashPhase = nullptr);
    // Copies device pixels from another picture of this ratio (or puts a
    // saved column back).
    void copy(const QImage& from, const QRect& deviceSource, QPoint deviceTarget);

private:
    qreal m_ratio;
    QImage m_image;
};

} // namespace velmor
