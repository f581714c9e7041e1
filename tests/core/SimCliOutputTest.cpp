// velmor-sim's refusals and its output: one-line messages, write errors on
// standard output, and the --out target (long names, links, devices, fifos,
// failed and killed writes). Where the fault lives in main()'s own wiring,
// the whole program runs in a child process.
#include "FullStream.h"
#include "SimChild.h"
#include "SimCliHarness.h"
#include "TestFiles.h"

#include "core/rundata/SimFileReader.h"
#include "core/shell/OneLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmor;
using namespace velmor::test;
namespace fs = std::filesystem;

namespace {

// Spawn, then the exit status and standard error.
CliResult Program(const std::vector<std::string>& args, void (*prepare)())
{
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    const pid_t pid = Spawn(args, prepare, fds[1]);
    ::close(fds[1]);
    std::string err;
    char buf[512];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) {
        err.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, "", err};
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

// A file size limit of 64 kB makes a full run's write fail part way, as a
// full disk would.
void FileSizeLimit()
{
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 * 1024, 64 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// The same limit, but the signal it raises stops the child in the middle of
// its write, for the test to kill it there.
void StopHere(int)
{
    ::raise(SIGSTOP);
}

void StopInTheWrite()
{
    struct sigaction sa {};
    sa.sa_handler = StopHere;
    ::sigaction(SIGXFSZ, &sa, nullptr);
    const rlimit limit{64 * 1024, 64 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// A child that should have ended long before is ended: a read that waits
// for ever fails its case instead of hanging the tests.
void Guarded()
{
    ::alarm(60);
    const int fd = ::open("/dev/null", O_WRONLY);
    ::dup2(fd, 1);
    ::close(fd);
}

void GuardedToDevFull()
{
    ::alarm(60);
    StandardOutputToDevFull();
}

class SimCliOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("velmor-cliout-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "sub");
        std::ofstream(path("sub/real.psm"), std::ios::binary) << "old\r\n";
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }

    CliResult runTo(const std::string& out) const
    {
        return Cli({"run", "open", "--records", "3", "--out", out});
    }

    fs::path m_dir;
};

TEST_F(SimCliOutput, RefusalsAreOneLineWhateverArgumentHoldsControlCharacters)
{
    const std::string from = path("sub/from.psm");
    ASSERT_EQ(Cli({"run", "flow", "--records", "2", "--out", from}).status, 0);
    const std::vector<std::string> good = {"run",       "flow",       "--from", from,
                                           "--set",     "flowGain=2", "--at",   "3:flowBand=25",
                                           "--records", "5",          "--out",  "-"};
    ASSERT_EQ(Cli(good).status, 0);

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
    auto oneLine = [](const std::string& err) {
        return err.rfind("velmor-sim: ", 0) == 0 && err.back() == '\n' &&
               std::all_of(err.begin(), err.end() - 1, [](char c) {
                   return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
               });
    };
    for (std::size_t i = 0; i < good.size(); ++i) {
        std::vector<std::string> args = good;
        args[i] = bad[i].first;
        const CliResult r = Cli(args);
        EXPECT_EQ(r.status, 2) << "argument " << i;
        EXPECT_EQ(r.out, "") << "argument " << i;
        EXPECT_TRUE(oneLine(r.err)) << "argument " << i << ": " << r.err;
        EXPECT_NE(r.err.find(bad[i].second), std::string::npos) << i << ": " << r.err;
    }
    // A file the reader refuses, under a name with a line break in it.
    const std::string badFile = path("bad\n.psm");
    std::ofstream(badFile, std::ios::binary) << "Flow Simulation\r\nx\r\n";
    const CliResult r = Cli({"inspect", badFile});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(oneLine(r.err)) << r.err;
    EXPECT_EQ(Entries(m_dir), (std::set<std::string>{"sub", "bad\n.psm"}));
}

TEST_F(SimCliOutput, UsageIsOneLineWithoutArgumentsAndInFullOnHelp)
{
    CliResult r = Cli({});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(
        r.err,
        "usage: velmor-sim run|inspect|analyse|fit|export-csv|sweep|grade ... (try --help)\n");

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

TEST_F(SimCliOutput, OutDashIsStandardOutputAndLongNamesWork)
{
    // From inside the test folder, so that a file named "-" would show.
    const fs::path before = fs::current_path();
    fs::current_path(m_dir);
    const CliResult r = runTo("-");
    fs::current_path(before);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Open Simulation\r\n80\r\n10\r\n25\r\n", 0), 0u) << r.out;
    EXPECT_EQ(Entries(m_dir), std::set<std::string>{"sub"});

    const std::string name = std::string(246, 'n') + ".psm"; // 250 bytes
    EXPECT_EQ(runTo(path(name)).status, 0);
    EXPECT_EQ(Slurp(path(name)).rfind("Open Simulation\r\n", 0), 0u);
    EXPECT_EQ(Entries(m_dir), (std::set<std::string>{"sub", name}));
}

TEST_F(SimCliOutput, SymbolicLinksAreFollowedAndStay)
{
    struct Case {
        std::vector<std::pair<std::string, std::string>> links; // name, what it names
        std::string file;                                       // gets the run
    };
    const std::vector<Case> cases = {
        {{{"link.psm", "sub/real.psm"}}, "sub/real.psm"},
        {{{"link.psm", "hop.psm"}, {"hop.psm", path("sub/real.psm")}}, "sub/real.psm"},
        {{{"link.psm", "sub/new.psm"}}, "sub/new.psm"}, // names nothing yet
    };
    for (const Case& c : cases) {
        SetUp();
        std::set<std::string> entries = {"sub"};
        for (const auto& [name, target] : c.links) {
            fs::create_symlink(target, m_dir / name);
            entries.insert(name);
        }
        EXPECT_EQ(runTo(path("link.psm")).status, 0) << c.file;
        for (const auto& [name, target] : c.links) {
            EXPECT_TRUE(fs::is_symlink(m_dir / name)) << name;
            EXPECT_EQ(fs::read_symlink(m_dir / name).string(), target);
        }
        EXPECT_EQ(Slurp(path(c.file)).rfind("Open Simulation\r\n", 0), 0u) << c.file;
        EXPECT_EQ(Entries(m_dir), entries);
        EXPECT_EQ(Entries(m_dir / "sub").size(), c.file == "sub/new.psm" ? 2u : 1u);
    }
}

TEST_F(SimCliOutput, TargetsThatAreNotRegularFilesAreRefusedAndLeftAlone)
{
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0644), 0);
    fs::create_symlink("/dev/null", m_dir / "null-link");
    fs::create_symlink("fifo", m_dir / "fifo-link");
    std::vector<std::pair<std::string, std::string>> cases = {{"fifo", "a fifo"},
                                                              {"sub", "a folder"},
                                                              {"null-link", "a character device"},
                                                              {"fifo-link", "a fifo"}};
    // A device node of our own, where the system lets us make one.
    if (::mknod(path("device").c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0) {
        cases.emplace_back("device", "a character device");
    } else {
        std::printf("not allowed to make a device node: that case is left out\n");
    }
    const std::set<std::string> before = Entries(m_dir);
    for (const auto& [name, kind] : cases) {
        struct stat was {};
        struct stat is {};
        ASSERT_EQ(::lstat(path(name).c_str(), &was), 0);
        const CliResult r = runTo(path(name));
        EXPECT_EQ(r.status, 2) << name;
        EXPECT_EQ(r.err, "velmor-sim: cannot write '" + path(name) + "': it is " + kind +
                             ", not a regular file\n");
        ASSERT_EQ(::lstat(path(name).c_str(), &is), 0);
        EXPECT_EQ(is.st_mode, was.st_mode) << name;
        EXPECT_EQ(is.st_ino, was.st_ino) << name;
    }
    EXPECT_EQ(Entries(m_dir), before);

    // Refused before the run: a change that would fail during it is never
    // reached.
    EXPECT_EQ(Cli({"run", "flow", "--at", "5:waveB=1", "--out", path("fifo")}).err,
              "velmor-sim: cannot write '" + path("fifo") +
                  "': it is a fifo, not a regular file\n");
}

TEST_F(SimCliOutput, FailedAndKilledWritesLeaveTheTargetAsItWas)
{
    const std::string target = path("sub/real.psm");
    const CliResult r = Program({"run", "flow", "--out", target}, FileSizeLimit);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "velmor-sim: cannot write '" + target + "': File too large\n");
    EXPECT_EQ(Slurp(target), "old\r\n");
    EXPECT_EQ(Entries(m_dir / "sub"), std::set<std::string>{"real.psm"});

    // Killed in the middle of its write (a kill -9), replacing a file or
    // making a new one: no file appears, not even while the write is stopped.
    for (const std::string name : {"real.psm", "new.psm"}) {
        const pid_t pid =
            Spawn({"run", "batch", "--set", "expectedTime=600", "--out", path("sub/" + name)},
                  StopInTheWrite);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, WUNTRACED), pid);
        ASSERT_TRUE(WIFSTOPPED(status)) << "the child ended before its write";
        EXPECT_EQ(Entries(m_dir / "sub"), std::set<std::string>{"real.psm"}) << name;
        ::kill(pid, SIGKILL);
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        EXPECT_EQ(Entries(m_dir / "sub"), std::set<std::string>{"real.psm"}) << name;
        EXPECT_EQ(Slurp(target), "old\r\n");
    }
}

TEST_F(SimCliOutput, InputsAndValuesAreRefusedInOneLine)
{
    // Files that must never be read whole: a device, a fifo without a writer
    // (opening it for reading would wait for one), a link to it, a folder,
    // and a file one byte past the largest a simulation file can be.
    const std::string fifo = path("fifo\x1b[2J.psm");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_symlink(fifo, m_dir / "link.psm");
    const std::string big = path("big.psm");
    const std::string edge = path("edge.psm");
    for (const auto& [file, size] :
         {std::pair{big, kMaxSimFileBytes + 1}, {edge, kMaxSimFileBytes}}) {
        std::ofstream(file).close();
        fs::resize_file(file, size); // sparse: no disk space taken
    }
    // Files past 6000 data lines: read with a warning.
    std::string lines;
    for (int k = 0; k < 6003; ++k) {
        lines += "0\r\n";
    }
    const std::string longOpen = path("long-open.psm");
    std::ofstream(longOpen, std::ios::binary)
        << "Open Simulation\r\n80\r\n10\r\n25\r\n0\r\n0\r\n1\r\n100\r\nTime\r\n"
        << lines;
    const std::string longFlow = path("long-flow.psm");
    std::ofstream(longFlow, std::ios::binary)
        << "Flow Simulation\r\n1\r\n0.8\r\n0\r\nTrue\r\nTrue\r\n1.5\r\n0.5\r\n25\r\n"
           "1.5\r\n0\r\n1\r\n100\r\nFalse\r\nTime\r\n"
        << lines;
    const std::string shownFifo = path("fifo\\x1b[2J.psm");
    const std::string leftOut = ": 3 data lines were left out: the log holds 6000 records.";
    const std::string sim = "velmor-sim: ";
    const std::string notNumber = "' is not a valid number (digits and one decimal mark)";

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err; // without "velmor-sim: " and the line end
        void (*prepare)() = Guarded;
    };
    const std::vector<Case> cases = {
        {{"inspect", "/dev/zero"},
         2,
         "cannot read '/dev/zero': it is a character device, not a regular file"},
        {{"analyse", fifo}, 2, "cannot read '" + shownFifo + "': it is a fifo, not a regular file"},
        {{"fit", path("link.psm")},
         2,
         "cannot read '" + path("link.psm") + "': it is a fifo, not a regular file"},
        {{"export-csv", path("sub")},
         2,
         "cannot read '" + path("sub") + "': it is a folder, not a regular file"},
        {{"run", "flow", "--from", big},
         2,
         "cannot read '" + big + "': it is larger than a simulation file can be (16 MiB)"},
        {{"inspect", edge}, 1, edge + ": Line 1: VELMOR does not load KLN trends"},
        // A warning belongs to success: a refusal after it stays one line.
        {{"fit", longFlow},
         2,
         longFlow + ": a step test needs an Open loop run; this is a flow run"},
        {{"inspect", longOpen},
         2,
         "cannot write to standard output: No space left on device",
         GuardedToDevFull},
        {{"export-csv", longOpen, "--out", path("nowhere/x.csv")},
         2,
         "cannot write '" + path("nowhere/x.csv") + "': No such file or directory"},
        {{"inspect", longOpen}, 0, longOpen + leftOut},
        {{"analyse", longOpen}, 0, longOpen + leftOut},
        // Empty names.
        {{"inspect", ""}, 2, "inspect needs one file: velmor-sim inspect FILE.psm"},
        {{"export-csv", longOpen, "--out", ""}, 2, "--out needs a file name"},
        // "-0" is no number, as on the keypad, for every kind of value.
        {{"run", "flow", "--set", "waveB=-0"}, 2, "waveB=-0: '-0" + notNumber},
        {{"run", "flow", "--set", "flowGain=-0"}, 2, "flowGain=-0: '-0" + notNumber},
        {{"run", "flow", "--set", "gateValvePercent=-0"},
         2,
         "gateValvePercent=-0: expected 0 to 100 in steps of 10"},
        {{"run", "flow", "--set", "chkI=-0"}, 2, "chkI=-0: expected 0 or 1"},
        {{"run", "flow", "--set", "trendSpan=-0"},
         2,
         "trendSpan=-0: expected 20 to 180 in steps of 10"},
        {{"run", "flow", "--at", "-0:flowGain=2"},
         2,
         "--at -0:flowGain=2: expected T:NAME=VALUE with T a time in seconds"},
        {{"sweep", "flow", "--vary", "flowDerivativeTime=-0:1:2", "--out", path("s.csv")},
         2,
         "--vary flowDerivativeTime=-0: '-0" + notNumber},
    };
    for (const Case& c : cases) {
        const CliResult r = Program(c.args, c.prepare);
        const std::string what = OneLine(c.args[0] + " " + c.args[1]);
        EXPECT_EQ(r.status, c.status) << what;
        EXPECT_EQ(r.err, sim + c.err + "\n") << what;
    }
    EXPECT_FALSE(fs::exists(path("s.csv")));
    // The same values without the sign are taken.
    for (const std::string set :
         {"flowDerivativeTime=0", "gateValvePercent=0", "chkI=0", "trendSpan=20"}) {
        EXPECT_EQ(Cli({"run", "flow", "--set", set, "--records", "2"}).status, 0) << set;
    }
}

} // namespace
