// velmor-sim's analysis verbs: analyse, fit, export-csv, grade and sweep.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// Runs args[0] when it is one of the analysis verbs and returns its exit
// status (0 done, 1 a file the reader refuses, 130 a sweep interrupted by
// Ctrl-C); nothing when args[0] is another verb. A refused command line,
// input or write is thrown as a Refusal (exit status 2).
std::optional<int> RunAnalysisVerb(const std::vector<std::string>& args, std::ostream& out,
                                   std::ostream& err);

// The sweep verb (args[0] == "sweep"). progressOnTerminal: rewrite one
// progress line in place instead of printing a line per tenth.
int RunSweep(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             bool progressOnTerminal);

} // namespace velmor
