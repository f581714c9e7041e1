// velmor-sim: the headless program. Kept apart from main() so that tests can
// run it in memory, or as a whole in a child process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velmor {

// Runs velmor-sim with its arguments (without the program name). Returns the
// exit status: 0 done, 1 a file the reader refuses, 2 a refused command line
// or a failed write. Refusals are one line on `err`.
int RunSimCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The program as main() runs it: standard output and standard error.
int SimMain(int argc, char** argv);

} // namespace velmor
