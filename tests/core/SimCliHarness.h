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

// The text of the first value of member `key` at or after `from` in
// velmor-sim's JSON (a number as written, a string with its quotes); empty
// when there is none.
inline std::string JsonMember(const std::string& json, const std::string& key, std::size_t from = 0)
{
    const std::size_t k = json.find("\"" + key + "\": ", from);
    if (k == std::string::npos) {
        return {};
    }
    const std::size_t start = k + key.size() + 4;
    return json.substr(start, json.find_first_of(",}]", start) - start);
}

} // namespace velmor::test
