// velmor-sim run in memory: exit status, standard output, standard error.
#pragma once

#include "cli/SimCli.h"

#include <sstream>
#include <string>
#include <vector>

namespace velmor::test {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

inline CliResult Cli(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunSimCli(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace velmor::test
