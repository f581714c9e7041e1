// velmor-sim's refusals and its output: one-line messages, write errors on
// standard output, and the --out target (long names, links, devices, fifos,
// a process killed while writing). Where the fault lives in main()'s own
// wiring, the whole program runs in a child process.
#include "FullStream.h"
#include "SimCliHarness.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace velmor;
using namespace velmor::test;
namespace fs = std::filesystem;

namespace {

// One line: ends in the only newline, holds no other control character.
void ExpectOneLine(const std::string& err, const std::string& what)
{
    ASSERT_FALSE(err.empty()) << what;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << what << ": " << err;
    for (std::size_t i = 0; i + 1 < err.size(); ++i) {
        const auto b = static_cast<unsigned char>(err[i]);
        EXPECT_TRUE(b >= 0x20 && b != 0x7F) << what << ": control character at " << i;
    }
    EXPECT_EQ(err.rfind("velmor-sim: ", 0), 0u) << what << ": " << err;
}

class SimCliOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("velmor-cliout-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }

    // The whole program in a child process, as main() runs it; `prepare`
    // sets up the child first. Standard error is kept; the status is the
    // exit status, or minus the signal that ended the child.
    CliResult Program(const std::vector<std::string>& args, void (*prepare)()) const
    {
        const std::string errFile =
            (m_dir.parent_path() / (m_dir.filename().string() + ".err")).string();
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int fd = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(fd, 2);
            ::close(fd);
            prepare();
            std::vector<std::string> words = args;
            words.insert(words.begin(), "velmor-sim");
            std::vector<char*> argv;
            for (std::string& w : words) {
                argv.push_back(w.data());
            }
            argv.push_back(nullptr);
            ::_exit(SimMain(static_cast<int>(words.size()), argv.data()));
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        CliResult r{WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status), "",
                    Slurp(errFile)};
        fs::remove(errFile);
        return r;
    }

    fs::path m_dir;
};

TEST_F(SimCliOutput, RefusalsAreOneLineWhateverArgumentHoldsControlCharacters)
{
    const std::string from = path("from.psm");
    ASSERT_EQ(Cli({"run", "flow", "--records", "2", "--out", from}).status, 0);
    const std::vector<std::string> good = {"run",       "flow",       "--from", from,
                                           "--set",     "flowGain=2", "--at",   "3:flowBand=25",
                                           "--records", "5",          "--out",  path("out.psm")};
    ASSERT_EQ(Cli(good).status, 0);
    fs::remove(path("out.psm"));

    // Each argument in turn made wrong with control characters in it, and
    // what the message must show of it.
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"run\n", "unknown command 'run\\n'"},
        {"flow\t2", "unknown exercise 'flow\\t2'"},
        {"--from\x1b[31m", "unknown option '--from\\x1b[31m'"},
        {from + "\nx", "cannot read '" + from + "\\nx': No such file or directory"},
        {"--set\r", "unknown option '--set\\r'"},
        {"flowGain=2\n3", "flowGain=2\\n3"},
        {"--at\x01", "unknown option '--at\\x01'"},
        {"3:flowBand=25\x7f", "25\\x7f"},
        {"--records\n", "unknown option '--records\\n'"},
        {"5\n5", "--records 5\\n5: expected a whole number of at least 1"},
        {"--out\v", "unknown option '--out\\x0b'"},
        {path("no\ndir/out.psm"),
         "cannot write '" + path("no\\ndir/out.psm") + "': No such file or directory"},
    };
    ASSERT_EQ(bad.size(), good.size());
    for (std::size_t i = 0; i < good.size(); ++i) {
        std::vector<std::string> args = good;
        args[i] = bad[i].first;
        const CliResult r = Cli(args);
        const std::string what = "argument " + std::to_string(i);
        EXPECT_EQ(r.status, 2) << what;
        EXPECT_EQ(r.out, "") << what;
        ExpectOneLine(r.err, what);
        EXPECT_NE(r.err.find(bad[i].second), std::string::npos) << what << ": " << r.err;
    }
    // A file the reader refuses, under a name with a line break in it.
    const std::string badFile = path("bad\n.psm");
    std::ofstream(badFile, std::ios::binary) << "Flow Simulation\r\nx\r\n";
    const CliResult r = Cli({"inspect", badFile});
    EXPECT_EQ(r.status, 1);
    ExpectOneLine(r.err, "inspect");
    EXPECT_EQ(Entries(m_dir), (std::set<std::string>{"from.psm", "bad\n.psm"}));
}

TEST_F(SimCliOutput, UsageIsOneLineWithoutArgumentsAndInFullOnHelp)
{
    CliResult r = Cli({});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "usage: velmor-sim run|inspect ... (try --help)\n");

    r = Cli({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("usage: velmor-sim run EXERCISE [--from FILE.psm] [--set NAME=VALUE]... "
                          "[--at T:NAME=VALUE]... [--records N] [--out FILE.psm]\n"
                          "       velmor-sim inspect FILE.psm\n",
                          0),
              0u)
        << r.out;
}

void StandardOutputToDevFull()
{
    const int fd = ::open("/dev/full", O_WRONLY);
    ::dup2(fd, 1);
    ::close(fd);
}

void StandardOutputClosed()
{
    ::close(1);
}

TEST_F(SimCliOutput, WriteErrorsOnStandardOutputExitWithStatus2)
{
    const std::string full =
        "velmor-sim: cannot write to standard output: No space left on device\n";
    const std::string closed = "velmor-sim: cannot write to standard output: Bad file descriptor\n";
    const std::vector<std::string> inspect = {"inspect",
                                              VELMOR_TEST_DATA "/temperature_example.psm"};
    const std::vector<std::string> run = {"run", "flow", "--records", "5"};
    struct Case {
        std::vector<std::string> args;
        void (*prepare)();
        std::string err;
    };
    const std::vector<Case> cases = {
        {run, StandardOutputToDevFull, full},
        {{"run", "batch"}, StandardOutputToDevFull, full}, // more than the stream buffers
        {{"run", "flow", "--records", "5", "--out", "-"}, StandardOutputToDevFull, full},
        {inspect, StandardOutputToDevFull, full},
        {{"--help"}, StandardOutputToDevFull, full},
        {run, StandardOutputClosed, closed},
        {inspect, StandardOutputClosed, closed},
    };
    for (const Case& c : cases) {
        const CliResult r = Program(c.args, c.prepare);
        EXPECT_EQ(r.status, 2) << c.args[0] << " " << c.args.size();
        EXPECT_EQ(r.err, c.err);
    }

    // In memory: a stream that stops taking text after 100 bytes.
    FullStream out(100);
    std::ostringstream err;
    EXPECT_EQ(RunSimCli(run, out, err), 2);
    EXPECT_EQ(err.str(), "velmor-sim: cannot write to standard output: write error\n");
}

TEST_F(SimCliOutput, OutDashWritesToStandardOutput)
{
    // Run from inside the test folder, so that a file named "-" would show.
    const fs::path before = fs::current_path();
    fs::current_path(m_dir);
    const CliResult r = Cli({"run", "open", "--records", "3", "--out", "-"});
    fs::current_path(before);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Open Simulation\r\n80\r\n10\r\n25\r\n", 0), 0u) << r.out;
    EXPECT_TRUE(fs::is_empty(m_dir));
}

TEST_F(SimCliOutput, LongTargetNamesWork)
{
    for (const std::size_t length : {250u, 255u}) {
        const std::string name = std::string(length - 4, 'n') + ".psm";
        const CliResult r = Cli({"run", "open", "--records", "3", "--out", path(name)});
        EXPECT_EQ(r.status, 0) << length << ": " << r.err;
        EXPECT_EQ(Slurp(path(name)).rfind("Open Simulation\r\n", 0), 0u) << length;
        EXPECT_EQ(Entries(m_dir), std::set<std::string>{name});
        fs::remove(path(name));
    }
}

TEST_F(SimCliOutput, SymbolicLinksAreFollowedAndStay)
{
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links; // name, what it names
        std::string file;                                       // gets the run
    };
    const std::vector<Case> cases = {
        {"beside", {{"link.psm", "real.psm"}}, "real.psm"},
        {"into a subfolder", {{"link.psm", "sub/real.psm"}}, "sub/real.psm"},
        {"absolute", {{"link.psm", path("sub/real.psm")}}, "sub/real.psm"},
        {"chain", {{"link.psm", "hop.psm"}, {"hop.psm", "sub/real.psm"}}, "sub/real.psm"},
        {"to a file not there yet", {{"link.psm", "sub/new.psm"}}, "sub/new.psm"},
    };
    for (const Case& c : cases) {
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "sub");
        for (const char* old : {"real.psm", "sub/real.psm"}) {
            std::ofstream(path(old), std::ios::binary) << "old\r\n";
        }
        for (const auto& [name, target] : c.links) {
            fs::create_symlink(target, m_dir / name);
        }
        const CliResult r = Cli({"run", "open", "--records", "3", "--out", path("link.psm")});
        EXPECT_EQ(r.status, 0) << c.what << ": " << r.err;
        for (const auto& [name, target] : c.links) {
            ASSERT_TRUE(fs::is_symlink(m_dir / name)) << c.what << ": " << name;
            EXPECT_EQ(fs::read_symlink(m_dir / name).string(), target) << c.what;
        }
        EXPECT_EQ(Slurp(path(c.file)).rfind("Open Simulation\r\n", 0), 0u) << c.what;
        for (const char* old : {"real.psm", "sub/real.psm"}) {
            if (c.file != old) {
                EXPECT_EQ(Slurp(path(old)), "old\r\n") << c.what << ": " << old;
            }
        }
        std::set<std::string> expected = {"real.psm", "sub"};
        for (const auto& link : c.links) {
            expected.insert(link.first);
        }
        EXPECT_EQ(Entries(m_dir), expected) << c.what;
        EXPECT_EQ(Entries(m_dir / "sub").size(), c.file == "sub/new.psm" ? 2u : 1u) << c.what;
    }
}

TEST_F(SimCliOutput, TargetsThatAreNotRegularFilesAreRefusedAndLeftAlone)
{
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0644), 0);
    fs::create_directories(m_dir / "folder");
    fs::create_symlink("/dev/null", m_dir / "null-link");
    fs::create_symlink("fifo", m_dir / "fifo-link");
    struct Case {
        std::string name;
        std::string kind;
    };
    std::vector<Case> cases = {{"fifo", "a fifo"},
                               {"folder", "a folder"},
                               {"null-link", "a character device"},
                               {"fifo-link", "a fifo"}};
    // A device node of our own, where the system lets us make one.
    if (::mknod(path("device").c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0) {
        cases.push_back({"device", "a character device"});
    } else {
        std::printf("not allowed to make a device node: that case is left out\n");
    }
    const std::set<std::string> before = Entries(m_dir);
    for (const Case& c : cases) {
        struct stat was {};
        ASSERT_EQ(::lstat(path(c.name).c_str(), &was), 0);
        const CliResult r = Cli({"run", "open", "--records", "3", "--out", path(c.name)});
        EXPECT_EQ(r.status, 2) << c.name;
        EXPECT_EQ(r.err, "velmor-sim: cannot write '" + path(c.name) + "': it is " + c.kind +
                             ", not a regular file\n");
        struct stat is {};
        ASSERT_EQ(::lstat(path(c.name).c_str(), &is), 0);
        EXPECT_EQ(is.st_mode, was.st_mode) << c.name;
        EXPECT_EQ(is.st_ino, was.st_ino) << c.name;
    }
    EXPECT_EQ(Entries(m_dir), before);

    // The target is refused before the run: a change that would fail during
    // the run is never reached.
    const CliResult r =
        Cli({"run", "flow", "--at", "5:waveB=1", "--records", "80", "--out", path("fifo")});
    EXPECT_EQ(r.err, "velmor-sim: cannot write '" + path("fifo") +
                         "': it is a fifo, not a regular file\n");
}

// A file size limit of 64 kB makes a full-length run's write fail part way,
// as a full disk would.
void FileSizeLimit()
{
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 * 1024, 64 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

TEST_F(SimCliOutput, AFailedWriteLeavesTheTargetAsItWas)
{
    const std::string target = path("run.psm");
    std::ofstream(target, std::ios::binary) << "old\r\n";
    const CliResult r = Program({"run", "flow", "--out", target}, FileSizeLimit);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "velmor-sim: cannot write '" + target + "': File too large\n");
    EXPECT_EQ(Slurp(target), "old\r\n");
    EXPECT_EQ(Entries(m_dir), std::set<std::string>{"run.psm"});
}

// The child writes the run until the file size limit stops it; the handler
// of that signal stops the child in the middle of its write, and the test
// then kills it.
void StopHere(int)
{
    ::raise(SIGSTOP);
}

TEST_F(SimCliOutput, AProcessKilledWhileWritingLeavesNothingBehind)
{
    for (const bool replacing : {false, true}) {
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        const std::string target = path("run.psm");
        if (replacing) {
            std::ofstream(target, std::ios::binary) << "old\r\n";
        }
        const std::set<std::string> before = Entries(m_dir);
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            struct sigaction sa {};
            sa.sa_handler = StopHere;
            ::sigaction(SIGXFSZ, &sa, nullptr);
            const rlimit limit{64 * 1024, 64 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::string words[] = {"velmor-sim",       "run",   "batch", "--set",
                                   "expectedTime=600", "--out", target};
            char* argv[] = {words[0].data(), words[1].data(), words[2].data(), words[3].data(),
                            words[4].data(), words[5].data(), words[6].data(), nullptr};
            ::_exit(SimMain(7, argv));
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, WUNTRACED), pid);
        ASSERT_TRUE(WIFSTOPPED(status)) << "the child ended without reaching its write";
        EXPECT_EQ(Entries(m_dir), before) << "while stopped in the write";
        ::kill(pid, SIGKILL);
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        EXPECT_EQ(Entries(m_dir), before) << "replacing: " << replacing;
        if (replacing) {
            EXPECT_EQ(Slurp(target), "old\r\n");
        }
    }
}

} // namespace
