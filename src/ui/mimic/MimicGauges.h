// The mimic's two gauges in pixels: the level bar's height and the heat
// dial's needle. The model keeps them in its own units (bar units, dial
// position); the window turns those into pixels here.
#pragma once

#include <cstdint>

namespace velmor {

// Level bar height for bar units u (0.6 pixels a unit, at most 150).
std::int32_t MimicBarPixels(std::int32_t units);

// The needle's end point in the dial picture for a dial position (34 x 33,
// centre 18, 17, length 9; y grows downward).
struct DialPoint {
    std::int32_t x;
    std::int32_t y;
};
DialPoint MimicNeedleEnd(std::int32_t dialPos);

} // namespace velmor
