// The whole velmor-sim program in a child process, as main() runs it, for
// tests of what only a real process shows (signals, its own descriptors).
#pragma once

#include "cli/SimCli.h"

#include <cstdio>
#include <string>
#include <vector>

#include <sys/types.h>
#include <unistd.h>

namespace velmor::test {

// Starts the program after `prepare` has run in the child; its standard
// error goes to `errFd` when one is given. Returns the child's process id.
inline pid_t Spawn(std::vector<std::string> args, void (*prepare)(), int errFd = -1)
{
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid != 0) {
        return pid;
    }
    if (errFd >= 0) {
        ::dup2(errFd, 2);
    }
    prepare();
    args.insert(args.begin(), "velmor-sim");
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    ::_exit(SimMain(static_cast<int>(args.size()), argv.data()));
}

} // namespace velmor::test
