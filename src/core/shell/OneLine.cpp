#include "core/shell/OneLine.h"

namespace velmor {

std::string OneLine(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line;
    line.reserve(text.size());
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b != 0x7F) {
            line += ch;
        } else if (ch == '\n') {
            line += "\\n";
        } else if (ch == '\t') {
            line += "\\t";
        } else if (ch == '\r') {
            line += "\\r";
        } else {
            line += "\\x";
            line += kHex[b >> 4];
            line += kHex[b & 0xF];
        }
    }
    return line;
}

} // namespace velmor
