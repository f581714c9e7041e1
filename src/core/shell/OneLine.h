// Messages of the command-line programs echo what the user typed: control
// characters are written as escapes ("\n", "\t", "\r", "\x1b", "\x7f"), so
// that every message stays on one line, shows what was there, and cannot
// send a terminal its own commands.
#pragma once

#include <string>
#include <string_view>

namespace velmor {

std::string OneLine(std::string_view text);

} // namespace velmor
