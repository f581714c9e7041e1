#include "core/rundata/NumberText.h"

#include <array>
#include <charconv>

namespace velmor {

namespace {

template <typename T> std::string Shortest(T value)
{
    std::array<char, 64> buf{};
    const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value);
    return std::string(buf.data(), result.ptr);
}

} // namespace

std::string ShortestText(float value)
{
    return Shortest(value);
}

std::string ShortestText(double value)
{
    return Shortest(value);
}

} // namespace velmor
