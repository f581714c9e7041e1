// velmor-sim inspect and run --from, end to end through RunSimCli.
#include "cli/SimCli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace velmor;
namespace fs = std::filesystem;

namespace {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

CliResult Cli(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunSimCli(args, out, err);
    return {status, out.str(), err.str()};
}

class SimFileCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("velmor-simfile-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }

    std::string write(const std::string& name, const std::string& text) const
    {
        std::ofstream f(path(name), std::ios::binary);
        f << text;
        return path(name);
    }

    static std::string slurp(const std::string& p)
    {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static std::vector<std::string> lines(const std::string& text)
    {
        std::vector<std::string> v;
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);) {
            if (!l.empty() && l.back() == '\r') {
                l.pop_back();
            }
            v.push_back(l);
        }
        return v;
    }

    fs::path m_dir;
};

std::string Count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) {
        ++n;
    }
    return std::to_string(n);
}

TEST_F(SimFileCli, InspectPrintsSettingsIndexAndRecordsAsJson)
{
    const CliResult r = Cli({"inspect", VELMOR_TEST_DATA "/temperature_example.psm"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string index = "[1";
    for (int s = 1; s <= 780; ++s) {
        index += ", 2";
    }
    index += "]";
    auto record = [](const std::string& time, const std::string& mv) {
        // time, fields 2..23, field 24
        std::string rec = "[" + time;
        for (int f = 2; f <= 23; ++f) {
            rec += ", ";
            rec += f == 8 ? "30" : f == 9 ? mv : f == 13 ? "100" : "0";
        }
        return rec + ", 0]";
    };
    const std::string expected =
        "{\"exercise\": \"frmTemperature\", \"settings\": {\"tempGain\": 10, "
        "\"tempIntegralTime\": 45, \"tempDerivativeTime\": 0, \"chkI\": true, \"chkD\": false, "
        "\"tempEnteredSP\": 30, \"measuredTemperature\": 20, \"initialTemperature\": 20}, "
        "\"trendSpan\": 120, \"gateValvePercent\": 100, \"sampleCount\": 2, "
        "\"secondIndexFilled\": 1, \"secondIndex\": " +
        index + ", \"records\": [" + record("0", "20") + ", " + record("0.1", "20.01") + "]}\n";
    EXPECT_EQ(r.out, expected);
}

TEST_F(SimFileCli, InspectReadsWhatRunWritesForEveryExercise)
{
    const std::vector<std::pair<std::string, std::string>> exercises = {
        {"flow", "{\"exercise\": \"frmFlow\", \"settings\": {\"flowGain\": 1, "},
        {"level", "{\"exercise\": \"frmLevel\", \"settings\": {\"levelGain\": 10, "},
        {"open", "{\"exercise\": \"frmOpen\", \"settings\": {\"waveA\": 80, "},
        {"temperature", "{\"exercise\": \"frmTemperature\", \"settings\": {\"tempGain\": 10, "},
        {"batch", "{\"exercise\": \"frmBatch\", \"settings\": {\"volGain\": 0.5, "}};
    for (const auto& [word, head] : exercises) {
        const std::string file = path(word + ".psm");
        ASSERT_EQ(Cli({"run", word, "--records", "25", "--out", file}).status, 0) << word;
        const CliResult r = Cli({"inspect", file});
        ASSERT_EQ(r.status, 0) << word << ": " << r.err;
        EXPECT_EQ(r.out.substr(0, head.size()), head);
        EXPECT_NE(
            r.out.find("\"sampleCount\": 25, \"secondIndexFilled\": 3, \"secondIndex\": [1, "),
            std::string::npos)
            << word;
        // 25 records of 24 values each.
        EXPECT_EQ(Count(r.out, "], ["), "24") << word;
        EXPECT_EQ(r.out.back(), '\n');
    }
}

TEST_F(SimFileCli, InspectRefusalsAndUnreadableFiles)
{
    std::string text = "Flow Simulation\r\n1\r\n0.8\r\n0\r\nTrue\r\nTrue\r\n1.5\r\n0.5\r\n25\r\n"
                       "1.5\r\n0\r\n1\r\n100\r\nFalse\r\nTime,Flow Set Point\r\n";
    for (int line = 16; line < 57; ++line) {
        text += "0,1\r\n";
    }
    text += "0,1.2.3\r\n";
    const std::string bad = write("bad.psm", text);
    CliResult r = Cli({"inspect", bad});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "velmor-sim: " + bad + ": Line 57: '1.2.3' is not a valid floating point value\n");

    r = Cli({"inspect", write("kln.psm", "Manual Simulation\r\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Line 1: VELMOR does not load KLN trends"), std::string::npos);

    EXPECT_EQ(Cli({"inspect", path("missing.psm")}).status, 2);
    EXPECT_EQ(Cli({"inspect", m_dir.string()}).status, 2);
    EXPECT_EQ(Cli({"inspect"}).status, 2);
    EXPECT_EQ(Cli({"inspect", bad, "extra"}).status, 2);
}

TEST_F(SimFileCli, InspectWarnsOfLinesLeftOut)
{
    std::string text = "Open Simulation\r\n80\r\n10\r\n25\r\n0\r\n0\r\n1\r\n100\r\nTime\r\n";
    for (int k = 0; k < 6003; ++k) {
        text += "0\r\n";
    }
    const CliResult r = Cli({"inspect", write("long.psm", text)});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\"sampleCount\": 6000,"), std::string::npos);
    EXPECT_NE(r.err.find("3 data lines were left out"), std::string::npos);
}

const char* const kFlowSettings =
    "Flow Simulation\r\n2.5\r\n3\r\n0.1\r\nFalse\r\nTrue\r\n1.8\r\n0.2\r\n15\r\n"
    "1.1\r\n0.4\r\n3\r\n60\r\nFalse\r\n";

TEST_F(SimFileCli, RunFromAppliesTheSettingsLinesBeforeSet)
{
    // Data lines are checked but not used.
    const std::string from = write("from.psm", std::string(kFlowSettings) + "Time\r\n0\r\n");
    const std::string out = path("out.psm");
    CliResult r = Cli({"run", "flow", "--from", from, "--records", "3", "--out", out});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> l = lines(slurp(out));
    ASSERT_GE(l.size(), 15u);
    EXPECT_EQ(l[1], "2.5");   // PG
    EXPECT_EQ(l[2], "3");     // I
    EXPECT_EQ(l[3], "0.1");   // D
    EXPECT_EQ(l[4], "False"); // I off
    EXPECT_EQ(l[5], "True");
    EXPECT_EQ(l[6], "1.8"); // A, B, C of the Sine
    EXPECT_EQ(l[7], "0.2");
    EXPECT_EQ(l[8], "15");
    EXPECT_EQ(l[11], "3");  // waveform
    EXPECT_EQ(l[12], "60"); // gate valve
    // Record 2 logs the settings in force: PG 2.5, I switched off, D 0.1.
    ASSERT_GE(l.size(), 17u);
    EXPECT_NE(l[16].find(",2.5,0,0.1,"), std::string::npos) << l[16];

    // --set comes after the file.
    r = Cli({"run", "flow", "--from", from, "--set", "flowGain=4", "--records", "2", "--out", out});
    ASSERT_EQ(r.status, 0) << r.err;
    l = lines(slurp(out));
    EXPECT_EQ(l[1], "4");
    EXPECT_EQ(l[2], "3");

    // A first line without a space means the exercise being run.
    const std::string bare = write("bare.psm", "Simulation\r\n12\r\n30\r\n0\r\nTrue\r\nFalse\r\n"
                                               "55\r\n20\r\n18\r\n");
    r = Cli({"run", "temperature", "--from", bare, "--records", "2", "--out", out});
    ASSERT_EQ(r.status, 0) << r.err;
    l = lines(slurp(out));
    EXPECT_EQ(l[1], "12");
    EXPECT_EQ(l[8], "18"); // initial temperature
}

TEST_F(SimFileCli, RunFromRefusesOtherExercisesAndBadFiles)
{
    const std::string from = write("from.psm", kFlowSettings);
    const std::string out = path("out.psm");
    CliResult r = Cli({"run", "level", "--from", from, "--out", out});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("holds a flow simulation, not level"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));

    const std::string bad = write("bad.psm", std::string(kFlowSettings) + "Time\r\n0\r\n\r\n");
    r = Cli({"run", "flow", "--from", bad, "--out", out});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Line 17: '' is not a valid floating point value"), std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(out));

    r = Cli({"run", "flow", "--from", path("missing.psm"), "--out", out});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(Cli({"run", "flow", "--from"}).status, 2);
}

} // namespace
