// Replacing a file in one step, with an unnamed temporary file and with a
// short named one, and the simulation-file writer's results.
#include "FullStream.h"
#include "TestFiles.h"
#include "TestRun.h"

#include "core/rundata/AtomicFile.h"
#include "core/rundata/SimFileWriter.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmor;
using namespace velmor::test;
namespace fs = std::filesystem;

namespace {

using Temporary = AtomicFile::Temporary;

class AtomicFileTest : public ::testing::TestWithParam<Temporary> {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("velmor-atomic-" + std::to_string(::getpid()) + "-" +
                                             std::to_string(static_cast<int>(GetParam())));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_target = (m_dir / "run.psm").string();
        std::ofstream(m_target, std::ios::binary) << "old\r\n";
        fs::permissions(m_target, fs::perms(0640));
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    WriteResult write(const std::string& path, std::string_view text) const
    {
        AtomicFile file;
        WriteResult r = file.open(path, GetParam());
        if (r.ok()) {
            r = file.write(text);
        }
        return r.ok() ? file.commit() : r;
    }

    fs::path m_dir;
    std::string m_target;
};

TEST_P(AtomicFileTest, ReplacesOrCreatesTheTargetAndLeavesNothingElse)
{
    const WriteResult r = write(m_target, "new\r\n");
    EXPECT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(Slurp(m_target), "new\r\n");
    EXPECT_EQ(fs::status(m_target).permissions(), fs::perms(0640)); // kept
    EXPECT_EQ(Entries(m_dir), std::set<std::string>{"run.psm"});

    // A name of 255 bytes, the longest a folder takes: the temporary file
    // never needs a longer one.
    const std::string name = std::string(251, 'x') + ".psm";
    const mode_t mask = ::umask(022);
    const WriteResult created = write((m_dir / name).string(), "made\r\n");
    ::umask(mask);
    EXPECT_TRUE(created.ok()) << created.error;
    EXPECT_EQ(Slurp(m_dir / name), "made\r\n");
    EXPECT_EQ(fs::status(m_dir / name).permissions(), fs::perms(0644)); // as any new file
    EXPECT_EQ(Entries(m_dir), (std::set<std::string>{"run.psm", name}));
}

TEST_P(AtomicFileTest, AnUnfinishedOrFailedWriteLeavesTheTargetAsItWas)
{
    {
        AtomicFile file;
        ASSERT_TRUE(file.open(m_target, GetParam()).ok());
        ASSERT_TRUE(file.write("half").ok());
    } // never committed
    EXPECT_EQ(Slurp(m_target), "old\r\n");
    EXPECT_EQ(Entries(m_dir), std::set<std::string>{"run.psm"});

    // A write past the file size limit fails as a full disk does. The limit
    // holds for the whole process, so the write is made in a child that
    // sends back the result.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const WriteResult r = write(m_target, std::string(5000, 'z'));
        [[maybe_unused]] const ssize_t sent = ::write(pipeFds[1], r.error.data(), r.error.size());
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string error;
    char buf[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;) {
        error.append(buf, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    ::waitpid(pid, nullptr, 0);
    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(Slurp(m_target), "old\r\n");
    EXPECT_EQ(Entries(m_dir), std::set<std::string>{"run.psm"});
}

TEST_P(AtomicFileTest, ATargetReplacedByAFifoBeforeCommitIsLeftAlone)
{
    AtomicFile file;
    ASSERT_TRUE(file.open(m_target, GetParam()).ok());
    ASSERT_TRUE(file.write("new\r\n").ok());
    fs::remove(m_target);
    ASSERT_EQ(::mkfifo(m_target.c_str(), 0644), 0);
    EXPECT_EQ(file.commit().error, "it is a fifo, not a regular file");
    EXPECT_TRUE(fs::is_fifo(m_target));
    EXPECT_EQ(Entries(m_dir), std::set<std::string>{"run.psm"});
}

INSTANTIATE_TEST_SUITE_P(Temporaries, AtomicFileTest,
                         ::testing::Values(Temporary::Unnamed, Temporary::Named),
                         [](const auto& param) {
                             return param.param == Temporary::Unnamed ? "Unnamed" : "Named";
                         });

TEST(SimFileWriter, ReportsAStreamThatFailsAndSavesToAPath)
{
    TestRun run(Exercise::Open);
    run.start();
    run.cycles(2);
    run.state.run.runActive = false;
    run.toEnd();
    SendSettings(run.state, Exercise::Open);
    auto write = [&](std::ostream& out) {
        return WriteSimulationFile(out, Exercise::Open, run.state.simSettings,
                                   run.state.run.gateValvePercent, run.state.log,
                                   run.state.run.sampleCount);
    };
    FullStream full(100);
    EXPECT_EQ(write(full).error, "write error");
    std::ostringstream text;
    EXPECT_TRUE(write(text).ok());
    EXPECT_EQ(text.str().rfind("Open Simulation\r\n80\r\n10\r\n25\r\n", 0), 0u);

    const fs::path dir = fs::temp_directory_path() / ("velmor-save-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const WriteResult saved = SaveSimulationFile(
        (dir / "open.psm").string(), Exercise::Open, run.state.simSettings,
        run.state.run.gateValvePercent, run.state.log, run.state.run.sampleCount);
    EXPECT_TRUE(saved.ok()) << saved.error;
    EXPECT_EQ(Slurp(dir / "open.psm"), text.str());
    const WriteResult refused = SaveSimulationFile(
        dir.string(), Exercise::Open, run.state.simSettings, run.state.run.gateValvePercent,
        run.state.log, run.state.run.sampleCount);
    EXPECT_EQ(refused.error, "it is a folder, not a regular file");

    // What commit finds is reported too: here a fifo put in the target's place.
    AtomicFile file;
    ASSERT_TRUE(file.open((dir / "open.psm").string()).ok());
    fs::remove(dir / "open.psm");
    ASSERT_EQ(::mkfifo((dir / "open.psm").c_str(), 0644), 0);
    EXPECT_EQ(WriteSimulationFile(file, Exercise::Open, run.state.simSettings,
                                  run.state.run.gateValvePercent, run.state.log,
                                  run.state.run.sampleCount)
                  .error,
              "it is a fifo, not a regular file");
    fs::remove_all(dir);
}

} // namespace
