// Replacing a file in one step, with an unnamed temporary file and with a
// short named one, and the simulation-file writer's results.
#include "FullStream.h"
#include "TestFiles.h"
#include "TestRun.h"

#include "core/rundata/AtomicFile.h"
#include "core/rundata/SimFileWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
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

TEST_P(AtomicFileTest, AWriteNeverCommittedLeavesTheTargetAsItWas)
{
    {
        AtomicFile file;
        ASSERT_TRUE(file.open(m_target, GetParam()).ok());
        ASSERT_TRUE(file.write("half").ok());
    }
    EXPECT_EQ(Slurp(m_target), "old\r\n");
    EXPECT_EQ(Entries(m_dir), std::set<std::string>{"run.psm"});
}

TEST_P(AtomicFileTest, ACopyLeftByAWriterKilledBeforeTheRenameGoesAtTheNextWrite)
{
    // Killed with the finished file under its short name, not yet renamed
    // over the existing target.
    EXPECT_EXIT(
        {
            fault::atomicFileBeforeRename = [] { std::_Exit(9); };
            (void)write(m_target, "new\r\n");
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(9), "");
    std::set<std::string> names = Entries(m_dir);
    ASSERT_EQ(names.size(), 2u);
    names.erase("run.psm");
    const std::string copy = *names.begin();
    EXPECT_EQ(copy.rfind(".velmor-", 0), 0u);
    EXPECT_EQ(Slurp(m_dir / copy), "new\r\n");
    EXPECT_EQ(Slurp(m_target), "old\r\n");

    // A writer still at work keeps its temporary file; the dead one's goes.
    AtomicFile live;
    ASSERT_TRUE(live.open((m_dir / "other.psm").string(), GetParam()).ok());
    ASSERT_TRUE(live.write("live\r\n").ok());
    EXPECT_TRUE(write(m_target, "newer\r\n").ok());
    const WriteResult committed = live.commit();
    EXPECT_TRUE(committed.ok()) << committed.error;
    EXPECT_EQ(Entries(m_dir), (std::set<std::string>{"run.psm", "other.psm"}));
    EXPECT_EQ(Slurp(m_target), "newer\r\n");
    EXPECT_EQ(Slurp(m_dir / "other.psm"), "live\r\n");
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
    const SimSettings& settings = run.state.simSettings;
    const RunState& r = run.state.run;

    FullStream full(100);
    EXPECT_EQ(WriteSimulationFile(full, Exercise::Open, settings, r.gateValvePercent, run.state.log,
                                  r.sampleCount)
                  .error,
              "write error");
    std::ostringstream text;
    EXPECT_TRUE(WriteSimulationFile(text, Exercise::Open, settings, r.gateValvePercent,
                                    run.state.log, r.sampleCount)
                    .ok());
    EXPECT_EQ(text.str().rfind("Open Simulation\r\n80\r\n10\r\n25\r\n", 0), 0u);

    const fs::path dir = fs::temp_directory_path() / ("velmor-save-" + std::to_string(::getpid()));
    const std::string target = (dir / "open.psm").string();
    fs::create_directories(dir);
    const WriteResult saved = SaveSimulationFile(target, Exercise::Open, settings,
                                                 r.gateValvePercent, run.state.log, r.sampleCount);
    EXPECT_TRUE(saved.ok()) << saved.error;
    EXPECT_EQ(Slurp(target), text.str());

    // What commit finds is reported too: here a fifo put in the target's place.
    AtomicFile file;
    ASSERT_TRUE(file.open(target).ok());
    fs::remove(target);
    ASSERT_EQ(::mkfifo(target.c_str(), 0644), 0);
    EXPECT_EQ(WriteSimulationFile(file, Exercise::Open, settings, r.gateValvePercent, run.state.log,
                                  r.sampleCount)
                  .error,
              "it is a fifo, not a regular file");
    EXPECT_TRUE(fs::is_fifo(target));
    fs::remove_all(dir);
}

} // namespace
