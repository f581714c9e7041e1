// The pixels of a trace segment: a 1-pixel line from (x0, y0) toward
// (x1, y1) that leaves out its end point, so consecutive segments meet
// without drawing the shared pixel twice.
#pragma once

#include <algorithm>
#include <cstdint>

namespace velmor {

namespace detail {

// Ceiling of a / b for b > 0.
inline std::int64_t CeilDiv(std::int64_t a, std::int64_t b)
{
    return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// Steps along the major axis from start s0 (direction sm, length n) with the
// minor axis from m0 (direction sn, total d); only steps whose major
// coordinate lies in [lo, hi) are visited. The minor coordinate is the exact
// line rounded to the nearest pixel, halves toward the start.
template <typename Visit>
void Walk(std::int64_t s0, int sm, std::int64_t n, std::int64_t m0, int sn, std::int64_t d,
          std::int64_t lo, std::int64_t hi, Visit&& visit)
{
    std::int64_t first = 0;
    std::int64_t last = n; // exclusive
    if (sm > 0) {
        first = std::max<std::int64_t>(first, lo - s0);
        last = std::min<std::int64_t>(last, hi - s0);
    } else {
        first = std::max<std::int64_t>(first, s0 - (hi - 1));
        last = std::min<std::int64_t>(last, s0 - lo + 1);
    }
    if (first >= last) {
        return;
    }
    // k(i) = ceil((2 i d - n) / 2n): steps taken on the minor axis by step i.
    std::int64_t k = CeilDiv(2 * first * d - n, 2 * n);
    std::int64_t err = 2 * first * d - 2 * n * k;
    for (std::int64_t i = first; i < last; ++i) {
        visit(s0 + i * sm, m0 + k * sn);
        err += 2 * d;
        if (err > n) {
            ++k;
            err -= 2 * n;
        }
    }
}

} // namespace detail

// Calls plot(x, y) for each pixel of the line inside the clip rectangle
// [clipLeft, clipRight) x [clipTop, clipBottom), starting at (x0, y0) and
// leaving out (x1, y1). One pixel per step along the longer axis.
template <typename Plot>
void RasterLine(int x0, int y0, int x1, int y1, int clipLeft, int clipTop, int clipRight,
                int clipBottom, Plot&& plot)
{
    const std::int64_t dx = static_cast<std::int64_t>(x1) - x0;
    const std::int64_t dy = static_cast<std::int64_t>(y1) - y0;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    if (adx == 0 && ady == 0) {
        return;
    }
    if (adx >= ady) {
        detail::Walk(x0, sx, adx, y0, sy, ady, clipLeft, clipRight,
                     [&](std::int64_t x, std::int64_t y) {
                         if (y >= clipTop && y < clipBottom) {
                             plot(static_cast<int>(x), static_cast<int>(y));
                         }
                     });
    } else {
        detail::Walk(y0, sy, ady, x0, sx, adx, clipTop, clipBottom,
                     [&](std::int64_t y, std::int64_t x) {
                         if (x >= clipLeft && x < clipRight) {
                             plot(static_cast<int>(x), static_cast<int>(y));
                         }
                     });
    }
}

} // namespace velmor
