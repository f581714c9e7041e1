#include "ui/trends/TrendCanvas.h"

#include "ui/trends/TrendLine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace velmor {

int TrendCanvas::dev(int logical) const
{
    // The same edges QPainter fills at this ratio.
    if (m_ratio == 1) {
        return logical;
    }
    return static_cast<int>(std::ceil(logical * m_ratio - 0.5));
}

QRect TrendCanvas::devRect(int left, int top, int right, int bottom) const
{
    return QRect(QPoint(dev(left), dev(top)), QPoint(dev(right) - 1, dev(bottom) - 1));
}

void TrendCanvas::fill(int left, int top, int right, int bottom, QRgb colour)
{
    if (right < left) {
        std::swap(left, right);
    }
    if (bottom < top) {
        std::swap(top, bottom);
    }
    const QRect r = devRect(left, top, right, bottom) & m_image.rect();
    if (r.isEmpty()) {
        return;
    }
    uchar* bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(row + r.left(), row + r.right() + 1, colour);
    }
}

void TrendCanvas::line(int x0, int y0, int x1, int y1, QRgb colour, int* dashPhase)
{
    // The line is walked in device pixels, each step painting a square
    // as wide as one logical pixel: at ratio 1 exactly the logical line.
    const int pen = std::max(1, static_cast<int>(std::lround(m_ratio)));
    const int width = m_image.width();
    const int height = m_image.height();
    uchar* bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    // Dashes of 4 logical pixels, gaps of 3.
    const int dash = 4 * pen;
    const int period = 7 * pen;
    RasterLine(dev(x0), dev(y0), dev(x1), dev(y1), 0, 0, width, height, [&](int x, int y) {
        if (dashPhase != nullptr) {
            const bool on = *dashPhase % period < dash;
            ++*dashPhase;
            if (!on) {
                return;
            }
        }
        for (int dy = 0; dy < pen && y + dy < height; ++dy) {
            auto* row = reinterpret_cast<QRgb*>(bits + (y + dy) * stride);
            for (int dx = 0; dx < pen && x + dx < width; ++dx) {
                row[x + dx] = colour;
            }
        }
    });
}

void TrendCanvas::copy(const QImage& from, const QRect& deviceSource, QPoint deviceTarget)
{
    const QRect target = QRect(deviceTarget, deviceSource.size()) & m_image.rect();
    if (target.isEmpty() || from.format() != m_image.format()) {
        return;
    }
    const QPoint shift = deviceSource.topLeft() - deviceTarget;
    const QRect source = target.translated(shift) & from.rect();
    const QRect fitted = source.translated(-shift);
    for (int y = 0; y < fitted.height(); ++y) {
        std::memcpy(m_image.scanLine(fitted.top() + y) + fitted.left() * 4,
                    from.constScanLine(source.top() + y) + source.left() * 4,
                    static_cast<std::size_t>(fitted.width()) * 4);
    }
}

} // namespace velmor
