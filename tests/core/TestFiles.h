// Reading back what was written to disk, for tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace velmor::test {

inline std::string Slurp(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The names in a folder, hidden ones included.
inline std::set<std::string> Entries(const std::filesystem::path& dir)
{
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        names.insert(e.path().filename().string());
    }
    return names;
}

} // namespace velmor::test
