// velmor-sim called in memory, for tests.
#pragma once

#include "cli/SimCli.h"

#include <sstream>
#include <string>
#include <vector>

namespace velmor::test {

struct CliCall {
    int status;
    std::string out;
    std::string err;
};

inline CliCall Sim(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunSimCli(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace velmor::test
