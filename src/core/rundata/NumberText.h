// Number texts of simulation files: "." as the decimal mark and the shortest
// text that reads back to the identical stored value.
#pragma once

#include <string>

namespace velmor {

std::string ShortestText(float value);
std::string ShortestText(double value);

} // namespace velmor
