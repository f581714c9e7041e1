// Where an axis or a colour bar puts its ticks: on round values a reader
// can take in at a glance, never on the cells' own values (1.1875).
#pragma once

#include <vector>

namespace velmor {

struct AxisTick {
    double value = 0;
    int decimals = 0; // digits after the decimal mark its label needs
};

// Three to `most` ticks within [from, to] (either order), smallest first
// (fewer than three only when `most` says so: a short axis). A linear axis steps by 1, 2 or 5 times
// a power of ten; a logarithmic one marks the powers of ten, and 2 and 5 times them when there are
// fewer than three powers in range (a range narrower than that gets linear steps). One tick, the
// value itself, when from equals to.
std::vector<AxisTick> AxisTicks(double from, double to, bool logarithmic, int most = 8);

} // namespace velmor
