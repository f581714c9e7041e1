// The main of an area's test runner: `ui_AREA CLASS [QtTest options]` runs
// the test class CLASS (registered by VELMOR_TEST_MAIN in its file) with the
// rest of the command line; without a known class it lists the classes.
#include "TestMain.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace velmor::test {

namespace {

std::map<std::string, TestEntry>& Registry()
{
    static std::map<std::string, TestEntry> registry;
    return registry;
}

} // namespace

bool RegisterTest(const char* name, TestEntry entry)
{
    Registry().emplace(name, entry);
    return true;
}

} // namespace velmor::test

int main(int argc, char** argv)
{
    const auto& registry = velmor::test::Registry();
    const auto found = argc >= 2 ? registry.find(argv[1]) : registry.end();
    if (found == registry.end()) {
        std::fprintf(stderr, "usage: %s CLASS [QtTest options]\nclasses:", argv[0]);
        for (const auto& [name, entry] : registry) {
            std::fprintf(stderr, " %s", name.c_str());
        }
        std::fprintf(stderr, "\n");
        return 2;
    }
    // The class sees its own command line, as if it were the program.
    std::vector<char*> args{argv[0]};
    args.insert(args.end(), argv + 2, argv + argc);
    args.push_back(nullptr);
    return found->second(argc - 1, args.data());
}
