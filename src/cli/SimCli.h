// velmor-sim: the headless program. Kept apart from main() so that tests can
// run it in memory.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velmor {

// Runs velmor-sim with its arguments (without the program name). Returns the
// exit status: 0 done, 1 a file the reader refuses, 2 bad usage or input.
int RunSimCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace velmor
