#include "core/Arith.h"

#include <array>

namespace velmor {

namespace {

std::array<float, 256> PercentTable()
{
    std::array<float, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[static_cast<std::size_t>(c)] = static_cast<float>(static_cast<Real>(c) / 255 * 100);
    }
    return table;
}

} // namespace

float CountsToPercent(std::int32_t counts)
{
    static const std::array<float, 256> kTable = PercentTable();
    if (counts >= 0 && counts <= 255) [[likely]] {
        return kTable[static_cast<std::size_t>(counts)];
    }
    return static_cast<float>(static_cast<Real>(counts) / 255 * 100);
}

} // namespace velmor
