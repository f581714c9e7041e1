// velmor-sim analyse, fit, export-csv and sweep, end to end.
#include "SimChild.h"
#include "SimCliHarness.h"
#include "TestFiles.h"
#include "core/analysis/ResponseFigures.h"
#include "core/rundata/SimFileReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

using namespace velmor;
using velmor::test::Cli;
using velmor::test::CliResult;
using velmor::test::JsonMember;
using velmor::test::Slurp;
using velmor::test::Spawn;
namespace fs = std::filesystem;

namespace {

// A fresh, empty directory for one test.
fs::path Scratch(const std::string& name)
{
    const fs::path dir = fs::temp_directory_path() / ("velmor-analysis-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string Write(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

std::vector<std::string> Split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + separator.size();
    }
}

SimFileLoad Load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    SimFileResult r = ReadSimulationFile(in, {});
    EXPECT_TRUE(r.ok()) << r.error.text();
    return std::move(*r.load);
}

// A Flow file: it starts at 0.5 L/min with its set point at 1.5 (the start
// step at record 2), 10 % overshoot, still 0.05 short at the end of
// segment 1; one record of segment 2.
const char* const kFlowFile = "Flow Simulation\r\n1\r\n0.8\r\n0\r\nTrue\r\nTrue\r\n1.5\r\n0.5\r\n"
                              "25\r\n1.5\r\n0\r\n1\r\n100\r\nFalse\r\n"
                              "Time,Flow Set Point,Flow Measured Value,Flow PG,Flow I,Flow D,"
                              "Pump Output,PID Area\r\n"
                              "0,0.5,0.5,1,0.8,0,10,1\r\n"
                              "0.1,1.5,0.5,1,0.8,0,50,1\r\n"
                              "0.2,1.5,1.2,1,0.8,0,40,1\r\n"
                              "0.3,1.5,1.6,1,0.8,0,30,1\r\n"
                              "0.4,1.5,1.45,1,0.8,0,30,1\r\n"
                              "0.5,1.5,1.5,2,0.8,0,30,2\r\n";

} // namespace

TEST(AnalysisCli, AnalysePrintsTheFiguresWithAbsentOnesLeftOut)
{
    const fs::path dir = Scratch("analyse");
    const CliResult r = Cli({"analyse", Write(dir / "run.psm", kFlowFile)});
    ASSERT_EQ(r.status, 0) << r.err;
    // Worked out by hand: e = 0, 1, 0.3, -0.1, 0.05 (as 32-bit values),
    // dt = 0.1 s as a 32-bit value; 10 % first reached at 0.2 s, 90 % at
    // 0.3 s; the measured value ends outside the settling band.
    EXPECT_EQ(r.out,
              "{\"exercise\": \"flow\", \"samplePeriod\": 0.1, \"loops\": [{\"loop\": \"flow\", "
              "\"segments\": [{\"segment\": 1, \"firstRecord\": 1, \"lastRecord\": 5, "
              "\"start\": 0, \"end\": 0.4, \"iae\": 0.1449999950081109, "
              "\"ise\": 0.11024999878183055, \"itae\": 0.02099999816715714, "
              "\"outputTotalVariation\": 60, \"steps\": [{\"record\": 2, \"start\": true, "
              "\"time\": 0.1, \"from\": 0.5, \"to\": 1.5, \"riseTime\": 0.09999999999999998, "
              "\"peak\": 1.6, "
              "\"peakTime\": 0.19999999999999998, \"overshootPercent\": 10.000002384185791, "
              "\"steadyStateError\": 0.04999995231628418}]}, {\"segment\": 2, "
              "\"firstRecord\": 6, \"lastRecord\": 6, \"start\": 0.5, \"end\": 0.5, \"iae\": 0, "
              "\"ise\": 0, \"itae\": 0, \"outputTotalVariation\": 0, \"steps\": []}]}]}\n");
    EXPECT_EQ(r.err, "");

    // An Open loop run has no controlled loop.
    const std::string open = (dir / "open.psm").string();
    ASSERT_EQ(Cli({"run", "open", "--records", "5", "--out", open}).status, 0);
    EXPECT_EQ(Cli({"analyse", open}).out,
              "{\"exercise\": \"open\", \"samplePeriod\": 0.1, \"loops\": []}\n");
}

TEST(AnalysisCli, RefusedAndUnreadableFiles)
{
    const fs::path dir = Scratch("refused");
    std::string bad = kFlowFile;
    bad.replace(bad.find("0.3,1.5,1.6"), 11, "0.3,1.5,x");
    // A name with an escape character: quoted in the message, so that it
    // cannot drive the terminal.
    const std::string path = Write(dir / "bad\x1b[2J.psm", bad);
    for (const char* verb : {"analyse", "fit", "export-csv"}) {
        const CliResult r = Cli({verb, path});
        EXPECT_EQ(r.status, 1) << verb;
        EXPECT_EQ(r.out, "");
        // The reader's message with its line.
        EXPECT_EQ(r.err, "velmor-sim: " + (dir / "bad\\x1b[2J.psm").string() +
                             ": Line 19: 'x' is not a valid floating point value\n")
            << verb;
        const CliResult missing = Cli({verb, (dir / "none.psm").string()});
        EXPECT_EQ(missing.status, 2) << verb;
        EXPECT_EQ(missing.err, "velmor-sim: cannot read '" + (dir / "none.psm").string() +
                                   "': No such file or directory\n");
        EXPECT_EQ(Cli({verb}).status, 2);
        EXPECT_EQ(Cli({verb, path, "extra"}).status, 2);
    }
}

TEST(AnalysisCli, FitNeedsAnOpenLoopRunWithAStep)
{
    const fs::path dir = Scratch("fit");
    const CliResult flow = Cli({"fit", Write(dir / "flow.psm", kFlowFile)});
    EXPECT_EQ(flow.status, 2);
    EXPECT_EQ(flow.out, "");
    EXPECT_EQ(flow.err, "velmor-sim: " + (dir / "flow.psm").string() +
                            ": a step test needs an Open loop run; this is a flow run\n");

    // Flat 0 %: the output never moves.
    const std::string still = (dir / "still.psm").string();
    ASSERT_EQ(Cli({"run", "open", "--set", "waveA=0", "--records", "50", "--out", still}).status,
              0);
    const CliResult none = Cli({"fit", still});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, "velmor-sim: " + still +
                            ": the pump output never steps (no change over 1 % between two "
                            "records)\n");

    // Steps whose windows are too short to fit are listed without a model.
    const std::string shortRun = (dir / "short.psm").string();
    ASSERT_EQ(Cli({"run", "open", "--records", "4", "--out", shortRun}).status, 0);
    const CliResult unfit = Cli({"fit", shortRun});
    EXPECT_EQ(unfit.status, 0);
    EXPECT_EQ(unfit.out, "{\"steps\": [{\"record\": 2, \"time\": 0.20000000298023224, "
                         "\"outputFrom\": 0, \"outputTo\": 80}], \"tunings\": []}\n");
}

TEST(AnalysisCli, ExportCsvReadsBackToTheRecords)
{
    const fs::path dir = Scratch("csv");
    const std::string flow = (dir / "flow.psm").string();
    const std::string temperature = (dir / "temperature.psm").string();
    ASSERT_EQ(
        Cli({"run", "flow", "--set", "flowWaveform=3", "--records", "300", "--out", flow}).status,
        0);
    ASSERT_EQ(Cli({"run", "temperature", "--records", "40", "--out", temperature}).status, 0);

    const CliResult plain = Cli({"export-csv", temperature});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(Cli({"export-csv", temperature, "--out", "-"}).out, plain.out);
    EXPECT_EQ(Split(plain.out, "\r\n").at(0), "Time (s),Temp Set Point (\xc2\xb0"
                                              "C),Temp Measured Value (\xc2\xb0"
                                              "C),Temp PG,Temp I,Temp D,Temp Output (%),PID Area");

    for (const bool comma : {false, true}) {
        std::vector<std::string> args = {"export-csv", flow, "--out", (dir / "flow.csv").string()};
        if (comma) {
            args.push_back("--decimal-comma");
        }
        const CliResult r = Cli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "");
        const std::vector<std::string> lines = Split(Slurp(dir / "flow.csv"), "\r\n");
        const std::string separator = comma ? ";" : ",";
        EXPECT_EQ(lines.at(0), comma ? "Time (s);Flow Set Point (L/min);Flow Measured Value "
                                       "(L/min);Flow PG;Flow I;Flow D;Pump Output (%);PID Area"
                                     : "Time (s),Flow Set Point (L/min),Flow Measured Value "
                                       "(L/min),Flow PG,Flow I,Flow D,Pump Output (%),PID Area");
        const SimFileLoad load = Load(flow);
        ASSERT_EQ(lines.size(), load.records.size() + 2); // header, rows, empty after the last
        EXPECT_EQ(lines.back(), "");
        const int fields[6] = {kFieldFlowSP, kFieldFlowMV, kFieldFlowPG,
                               kFieldFlowI,  kFieldFlowD,  kFieldOutput};
        for (std::size_t n = 0; n < load.records.size(); ++n) {
            std::vector<std::string> cells = Split(lines[n + 1], separator);
            ASSERT_EQ(cells.size(), 8u);
            for (std::string& cell : cells) {
                EXPECT_EQ(cell.find(comma ? '.' : ','), std::string::npos) << cell;
                std::replace(cell.begin(), cell.end(), ',', '.');
            }
            const SampleRecord& rec = load.records[n];
            double time = 0;
            std::from_chars(cells[0].data(), cells[0].data() + cells[0].size(), time);
            ASSERT_EQ(time, rec.time) << n;
            for (int c = 0; c < 6; ++c) {
                float v = 0;
                const std::string& cell = cells[static_cast<std::size_t>(c) + 1];
                std::from_chars(cell.data(), cell.data() + cell.size(), v);
                ASSERT_EQ(v, rec.field(fields[c])) << n << " " << c;
            }
            EXPECT_EQ(cells[7], std::to_string(rec.segment));
        }
    }
}

namespace {

// The first step object of the first segment in `analyse` output.
std::string FirstStep(const std::string& json)
{
    const std::size_t start = json.find("\"steps\": [");
    const std::size_t end = json.find('}', start);
    return json.substr(start, end - start);
}

} // namespace

TEST(AnalysisCli, SweepEqualsTheSameRunsMadeOneByOne)
{
    const fs::path dir = Scratch("sweep");
    const std::vector<std::string> common = {"--set",         "flowWaveform=4", "--at",
                                             "100:waveA=1.2", "--records",      "1500"};
    std::vector<std::string> args = {
        "sweep", "flow", "--vary", "flowGain=0.5:2:3", "--vary", "flowIntegralTime=0.3:0.9:2"};
    args.insert(args.end(), common.begin(), common.end());
    for (const char* jobs : {"1", "2"}) {
        std::vector<std::string> a = args;
        a.insert(a.end(),
                 {"--jobs", jobs, "--out", (dir / ("jobs" + std::string(jobs) + ".csv")).string()});
        const CliResult r = Cli(a);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "");
        // Not a terminal: one progress line per tenth, the last at 100 %.
        EXPECT_NE(r.err.find("sweep: 100% (6 of 6 runs)\n"), std::string::npos) << r.err;
    }
    const std::string table = Slurp(dir / "jobs1.csv");
    EXPECT_EQ(Slurp(dir / "jobs2.csv"), table);

    const std::vector<std::string> lines = Split(table, "\r\n");
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0],
              "flowGain,flowIntegralTime,iae,overshootPercent,settlingTime,stable,startStep");
    // Grid order: the first --vary slowest.
    const char* const grid[6][2] = {{"0.5", "0.3"},  {"0.5", "0.9"}, {"1.25", "0.3"},
                                    {"1.25", "0.9"}, {"2", "0.3"},   {"2", "0.9"}};
    int unstable = 0;
    std::vector<std::string> stableCells;
    for (int k = 0; k < 6; ++k) {
        const std::vector<std::string> cells = Split(lines[static_cast<std::size_t>(k) + 1], ",");
        ASSERT_EQ(cells.size(), 7u);
        EXPECT_EQ(cells[0], grid[k][0]);
        EXPECT_EQ(cells[1], grid[k][1]);

        const std::string psm = (dir / ("run" + std::to_string(k) + ".psm")).string();
        std::vector<std::string> run = {"run", "flow"};
        run.insert(run.end(), common.begin(), common.end());
        run.insert(run.end(), {"--set", std::string("flowGain=") + grid[k][0], "--set",
                               std::string("flowIntegralTime=") + grid[k][1], "--out", psm});
        ASSERT_EQ(Cli(run).status, 0);
        const CliResult analysed = Cli({"analyse", psm});
        ASSERT_EQ(analysed.status, 0);
        EXPECT_EQ(cells[2], JsonMember(analysed.out, "iae")) << k;
        const std::string step = FirstStep(analysed.out);
        EXPECT_EQ(cells[3], JsonMember(step, "overshootPercent")) << k;
        EXPECT_EQ(cells[4], JsonMember(step, "settlingTime")) << k;
        // The flow starts at 0 and its set point at B (0.5): the first step
        // is the start step.
        EXPECT_EQ(JsonMember(step, "start"), "true") << k;
        EXPECT_EQ(cells[6], "1") << k;

        const SimFileLoad load = Load(psm);
        const LoopTraces& flow = ControlledLoops(Exercise::Flow)[0];
        const std::optional<bool> stable =
            JudgeStability(load.records, flow, AnalyseLoop(load.records, flow, 0.1f));
        ASSERT_TRUE(stable.has_value());
        EXPECT_EQ(cells[5], *stable ? "1" : "0") << k;
        unstable += *stable ? 0 : 1;
        stableCells.push_back(cells[5]);
    }
    // PG 2 with I 0.3 s keeps oscillating; the gentler settings settle.
    EXPECT_EQ(stableCells[4], "0");
    EXPECT_EQ(stableCells[0], "1");
    EXPECT_EQ(unstable, 1);
}

TEST(AnalysisCli, SweepTellsWhetherTheFirstStepIsTheStartStep)
{
    // Flat (at 80 %) and Step (20 % for 12.5 s, then 80 %), starting at 20
    // and at 80 %: a start step, none at all, a later step first, and a
    // start step down.
    const fs::path dir = Scratch("sweep-start");
    const CliResult r =
        Cli({"sweep", "level", "--vary", "levelWaveform=1:4:2", "--vary", "initialLevel=20:80:2",
             "--records", "400", "--jobs", "1", "--out", (dir / "start.csv").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = Split(Slurp(dir / "start.csv"), "\r\n");
    ASSERT_EQ(lines.size(), 6u);
    const char* const startStep[4] = {"1", "", "0", "1"};
    for (std::size_t k = 0; k < 4; ++k) {
        const std::vector<std::string> cells = Split(lines[k + 1], ",");
        ASSERT_EQ(cells.size(), 7u) << lines[k + 1];
        EXPECT_EQ(cells[6], startStep[k]) << lines[k + 1];
        // No step, no step figures.
        EXPECT_EQ(cells[3].empty(), k == 1) << lines[k + 1];
    }
}

TEST(AnalysisCli, SweepRefusesBadRequestsAndWritesNothing)
{
    const fs::path dir = Scratch("sweep-refused");
    const std::string out = (dir / "out.csv").string();
    const std::vector<std::vector<std::string>> bad = {
        {"sweep"},
        {"sweep", "pressure", "--vary", "flowGain=1:2:2", "--out", out},
        {"sweep", "open", "--vary", "waveA=10:20:2", "--out", out},
        {"sweep", "flow", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:2:2"},
        {"sweep", "flow", "--vary", "flowGain=1:2", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=a:2:3", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:2:0", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:200:3", "--out", out},
        {"sweep", "flow", "--vary", "nosuch=1:2:3", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:2:2", "--vary", "flowGain=1:2:2", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:2:2", "--jobs", "0", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=0.01:100:1001", "--vary",
         "flowIntegralTime=0.01:100:1001", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:2:2", "--set", "flowGain=0", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:2:2", "--bogus", "--out", out},
        // Flat shows no row B: refused when the runs apply it.
        {"sweep", "flow", "--vary", "waveB=0.5:1:2", "--out", out},
    };
    for (const std::vector<std::string>& args : bad) {
        const CliResult r = Cli(args);
        EXPECT_EQ(r.status, 2) << args.at(args.size() > 3 ? 3 : args.size() - 1);
        // One line of refusal, after any progress lines of runs already made.
        const std::vector<std::string> lines = Split(r.err, "\n");
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines.back(), "");
        EXPECT_EQ(lines[lines.size() - 2].rfind("velmor-sim: ", 0), 0u) << r.err;
        for (std::size_t k = 0; k + 2 < lines.size(); ++k) {
            EXPECT_EQ(lines[k].rfind("sweep: ", 0), 0u) << r.err;
        }
    }
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST(AnalysisCli, SweepStoppedByCtrlCLeavesNoFile)
{
    const fs::path dir = Scratch("sweep-interrupt");
    const std::string out = (dir / "sweep.csv").string();
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t pid = Spawn(
        {"sweep", "flow", "--vary", "flowGain=0.5:2:100", "--vary", "flowIntegralTime=0.3:1.2:100",
         "--jobs", "2", "--out", out},
        [] {}, pipeFds[1]);
    ASSERT_GT(pid, 0);
    close(pipeFds[1]);

    // Wait for the first progress line: the runs are going.
    std::string err;
    char buffer[256];
    while (err.find('\n') == std::string::npos) {
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        ASSERT_GT(n, 0) << err;
        err.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(err.rfind("sweep: ", 0), 0u) << err;
    EXPECT_NE(err.find(" of 10000 runs)\n"), std::string::npos) << err;
    ASSERT_EQ(kill(pid, SIGINT), 0);
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        err.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << err;
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_NE(err.find("velmor-sim: sweep interrupted; nothing written\n"), std::string::npos)
        << err;
    EXPECT_TRUE(fs::is_empty(dir));
}
