// velmor-sim run, end to end in memory and on disk.
#include "SimCliHarness.h"
#include "TestRun.h"

#include "core/rundata/Columns.h"

#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace velmor;
using velmor::test::Cli;
using velmor::test::CliResult;
using velmor::test::TestRun;

namespace {

// A deliberately plain reader of what `run` writes: CR LF lines, values
// split on ",", numbers parsed with from_chars.
struct WrittenFile {
    std::vector<std::string> lines;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

WrittenFile Parse(const std::string& text, int settingsLines)
{
    WrittenFile f;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
        if (end == std::string::npos) {
            break;
        }
        f.lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    auto split = [](const std::string& line) {
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = line.find(',', start);
            parts.push_back(line.substr(start, comma - start));
            if (comma == std::string::npos) {
                return parts;
            }
            start = comma + 1;
        }
    };
    f.columns = split(f.lines.at(static_cast<std::size_t>(settingsLines) + 1));
    for (std::size_t i = static_cast<std::size_t>(settingsLines) + 2; i < f.lines.size(); ++i) {
        f.rows.push_back(split(f.lines[i]));
    }
    return f;
}

template <typename T> T Number(const std::string& text)
{
    T v{};
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    EXPECT_TRUE(ec == std::errc{} && ptr == text.data() + text.size()) << text;
    return v;
}

} // namespace

TEST(SimCliRun, WritesTheRunExactlyAsTheEngineLoggedIt)
{
    const int settingsLines[] = {13, 12, 7, 8, 14};
    const Exercise exercises[] = {Exercise::Flow, Exercise::Level, Exercise::Open,
                                  Exercise::Temperature, Exercise::Batch};
    for (int i = 0; i < 5; ++i) {
        const Exercise e = exercises[i];
        const CliResult r = Cli({"run", std::string(CommandWord(e)), "--records", "250"});
        ASSERT_EQ(r.status, 0) << r.err;
        TestRun reference(e);
        reference.start();
        reference.cycles(249);
        reference.state.run.runActive = false;
        reference.toEnd();

        const WrittenFile f = Parse(r.out, settingsLines[i]);
        EXPECT_EQ(f.lines[0], FirstLine(e));
        ASSERT_EQ(f.rows.size(), 250u);
        const auto columns = ExerciseColumns(e);
        ASSERT_EQ(f.columns.size(), columns.size());
        for (std::size_t n = 0; n < f.rows.size(); ++n) {
            const SampleRecord& rec = reference.record(static_cast<int>(n) + 1);
            ASSERT_EQ(f.rows[n].size(), columns.size());
            for (std::size_t c = 0; c < columns.size(); ++c) {
                EXPECT_EQ(f.columns[c], columns[c].name);
                const std::string& text = f.rows[n][c];
                if (columns[c].field == kFieldTime) {
                    ASSERT_EQ(Number<double>(text), rec.time) << CommandWord(e) << " row " << n;
                } else if (columns[c].field == kFieldSegment) {
                    ASSERT_EQ(Number<int>(text), rec.segment);
                } else {
                    ASSERT_EQ(Number<float>(text), rec.field(columns[c].field))
                        << CommandWord(e) << " row " << n << " " << columns[c].name;
                }
            }
        }
    }
}

TEST(SimCliRun, SettingsLinesComeFromTheWindowAfterTheRun)
{
    const CliResult r =
        Cli({"run", "flow", "--records", "20", "--set", "flowGain=4", "--set", "chkD=0", "--set",
             "flowWaveform=3", "--set", "waveB=0.25", "--set", "gateValvePercent=70"});
    ASSERT_EQ(r.status, 0) << r.err;
    const WrittenFile f = Parse(r.out, 13);
    EXPECT_EQ(f.lines[1], "4");     // PG
    EXPECT_EQ(f.lines[2], "0.8");   // I
    EXPECT_EQ(f.lines[4], "True");  // I box
    EXPECT_EQ(f.lines[5], "False"); // D box
    EXPECT_EQ(f.lines[7], "0.25");  // B of the Sine
    EXPECT_EQ(f.lines[11], "3");    // waveform at start
    EXPECT_EQ(f.lines[12], "70");   // gate valve
    EXPECT_EQ(f.lines[13], "False");
    EXPECT_EQ(f.rows[0][1], "0.25"); // record 1 carries B
}

TEST(SimCliRun, TimedChangesApplyInTheFirstWaitAtOrAfterTheirTime)
{
    const CliResult r = Cli({"run", "flow", "--records", "60", "--at", "3:flowGain=2", "--at",
                             "3:flowBand=25", "--at", "0:chkI=0"});
    ASSERT_EQ(r.status, 0) << r.err;
    const WrittenFile f = Parse(r.out, 13);
    // chkI=0 applies in the first wait, after record 2.
    EXPECT_EQ(f.rows[1][4], "0.8");
    EXPECT_EQ(f.rows[2][4], "0");
    EXPECT_EQ(f.rows[2][7], "2");
    // Record 30 is stamped 3.0000000447 s: both changes apply after it, in order.
    EXPECT_EQ(f.rows[29][3], "1");
    EXPECT_EQ(f.rows[30][3], "4");
    EXPECT_EQ(f.rows[30][7], "4");
    EXPECT_EQ(f.lines[1], "4");
}

TEST(SimCliRun, RunsEndByThemselves)
{
    const CliResult batch = Cli({"run", "batch"});
    ASSERT_EQ(batch.status, 0);
    EXPECT_EQ(Parse(batch.out, 14).rows.size(), 1800u);
    const CliResult early = Cli({"run", "flow", "--records", "1"});
    ASSERT_EQ(early.status, 0);
    EXPECT_EQ(Parse(early.out, 13).rows.size(), 2u); // a run always makes one cycle
}

TEST(SimCliRun, BadInputIsRefusedWithOneLineAndNothingWritten)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "velmor-cli-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string out = (dir / "out.psm").string();
    const std::vector<std::vector<std::string>> bad = {
        {"run"},
        {"run", "pressure"},
        {"run", "flow", "--set", "flowGain"},
        {"run", "flow", "--set", "nosuch=1"},
        {"run", "flow", "--set", "flowGain=1e2"},
        {"run", "flow", "--set", "flowGain=-1"},
        {"run", "flow", "--set", "flowGain=100.01"},
        {"run", "flow", "--set", "flowIntegralTime=0"},
        {"run", "flow", "--records"},
        {"run", "flow", "--records", "0"},
        {"run", "flow", "--records", "ten"},
        {"run", "flow", "--at", "x:flowGain=2"},
        {"run", "flow", "--at", "5flowGain=2"},
        {"run", "flow", "--at", "5:waveB=1"}, // Flat has no row 2: found during the run
        {"run", "flow", "--bogus"},
        {"run", "temperature", "--set", "trendSpan=60"},
        {"run", "flow", "--out", (dir / "missing" / "x.psm").string()},
        {"frobnicate"},
    };
    for (std::vector<std::string> args : bad) {
        if (args.size() > 1 && args.back() != (dir / "missing" / "x.psm").string() &&
            args[0] == "run") {
            args.push_back("--out");
            args.push_back(out);
        }
        const CliResult r = Cli(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err; // one line
        EXPECT_EQ(r.err.rfind("velmor-sim: ", 0), 0u) << r.err;
    }
    // Neither the file nor a leftover temporary.
    EXPECT_TRUE(std::filesystem::is_empty(dir));

    const CliResult good = Cli({"run", "open", "--records", "5", "--out", out});
    EXPECT_EQ(good.status, 0) << good.err;
    std::ifstream in(out, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(Parse(text.str(), 7).rows.size(), 5u);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) {
        ++entries;
    }
    EXPECT_EQ(entries, 1u);
    std::filesystem::remove_all(dir);
}
