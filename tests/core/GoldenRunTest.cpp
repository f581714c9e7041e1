// Golden runs: files written by an independent model of the rig, each with
// the velmor-sim command that must reproduce it (tests/data/golden/README.md).
// Each command goes through velmor-sim's own code, settings changes during
// the run included, and the file it writes is compared value by value.
#include "cli/SimCli.h"

#include "core/exercises/Exercise.h"
#include "core/rundata/SettingsLines.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace velmor;

namespace {

const std::string kGoldenDir = std::string(VELMOR_TEST_DATA) + "/golden/";

struct GoldenRun {
    std::string name;
    std::vector<std::string> args;
};

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at - start));
        if (at == std::string::npos) {
            return parts;
        }
        start = at + separator.size();
    }
}

std::string Trimmed(const std::string& s)
{
    const std::size_t first = s.find_first_not_of(' ');
    const std::size_t last = s.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

// The table of the README: "| name | `run ...` |".
std::vector<GoldenRun> GoldenRuns()
{
    std::vector<GoldenRun> runs;
    std::istringstream readme(ReadWhole(kGoldenDir + "README.md"));
    std::string line;
    while (std::getline(readme, line)) {
        const std::vector<std::string> cells = Split(line, "|");
        if (cells.size() < 3 || cells[2].find("`run ") == std::string::npos) {
            continue;
        }
        const std::string command = Trimmed(cells[2]);
        GoldenRun run{Trimmed(cells[1]), {}};
        for (const std::string& word : Split(command.substr(1, command.size() - 2), " ")) {
            if (!word.empty()) {
                run.args.push_back(word);
            }
        }
        runs.push_back(run);
    }
    return runs;
}

bool Number(const std::string& text, double& v)
{
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc{} && ptr == text.data() + text.size() && !text.empty();
}

// The comparison rule of the golden files, one value at a time. Returns an
// empty text when the values agree.
std::string CompareNumber(const std::string& got, const std::string& want)
{
    double g = 0;
    double w = 0;
    if (!Number(got, g) || !Number(want, w)) {
        return got == want ? "" : "'" + got + "' against '" + want + "'";
    }
    const double diff = std::fabs(g - w);
    if (diff < 1e-8 || diff < 1e-6 * std::fabs(w)) {
        return "";
    }
    return got + " against " + want;
}

// Outputs logged in percent of 255 counts must give the same whole counts.
std::string CompareCounts(const std::string& got, const std::string& want)
{
    double g = 0;
    double w = 0;
    if (Number(got, g) && Number(want, w) && std::lround(g * 2.55) != std::lround(w * 2.55)) {
        return got + " against " + want + " as whole counts";
    }
    return "";
}

// Compares a written file with its golden file; every difference is one
// failure, at most a few per file so that a broken engine stays readable.
void CompareFiles(const std::string& name, Exercise e, const std::string& gotText,
                  const std::string& wantText)
{
    ASSERT_TRUE(gotText.size() >= 2 && gotText.substr(gotText.size() - 2) == "\r\n")
        << name << ": the last line ends in CR LF";
    std::vector<std::string> got = Split(gotText, "\r\n");
    std::vector<std::string> want = Split(wantText, "\r\n");
    for (const std::string& line : got) {
        ASSERT_EQ(line.find('\n'), std::string::npos) << name << ": a line ends in LF alone";
    }
    ASSERT_EQ(got.size(), want.size()) << name << ": number of lines";

    int failures = 0;
    auto fail = [&](std::size_t line, const std::string& what) {
        if (!what.empty() && ++failures <= 5) {
            ADD_FAILURE() << name << " line " << line + 1 << ": " << what;
        }
    };
    fail(0, got[0] == want[0] ? "" : "first line '" + got[0] + "'");

    const auto lines = SettingsLines(e);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t n = i + 1;
        if (lines[i].type == LineType::Decimal) {
            fail(n, CompareNumber(got[n], want[n]));
        } else {
            fail(n, got[n] == want[n] ? "" : "'" + got[n] + "' against '" + want[n] + "'");
        }
    }
    const std::size_t columnLine = lines.size() + 1;
    fail(columnLine, got[columnLine] == want[columnLine] ? "" : "column line " + got[columnLine]);
    const std::vector<std::string> columns = Split(want[columnLine], ",");

    // The data lines, up to the empty text after the last CR LF.
    for (std::size_t n = columnLine + 1; n + 1 < want.size(); ++n) {
        const std::vector<std::string> g = Split(got[n], ",");
        const std::vector<std::string> w = Split(want[n], ",");
        if (g.size() != w.size()) {
            fail(n, "values: " + got[n]);
            continue;
        }
        for (std::size_t c = 0; c < w.size() && c < columns.size(); ++c) {
            const std::string where = columns[c] + " ";
            if (columns[c] == "PID Area") {
                fail(n, g[c] == w[c] ? "" : where + g[c] + " against " + w[c]);
                continue;
            }
            const std::string numbers = CompareNumber(g[c], w[c]);
            fail(n, numbers.empty() ? "" : where + numbers);
            if (columns[c] == "Pump Output" || columns[c] == "Temp Output") {
                const std::string counts = CompareCounts(g[c], w[c]);
                fail(n, counts.empty() ? "" : where + counts);
            }
        }
    }
    EXPECT_EQ(failures, 0) << name;
}

} // namespace

TEST(GoldenRuns, TheTableNamesEveryStoredRun)
{
    const std::vector<GoldenRun> runs = GoldenRuns();
    ASSERT_EQ(runs.size(), 12u);
    EXPECT_EQ(runs.front().name, "flow_sine_gain_changes");
    EXPECT_EQ(runs.front().args.size(), 16u);
    EXPECT_EQ(runs.back().args.front(), "run");
    EXPECT_EQ(runs.back().args.back(), "200:chkVolD=0");
}

TEST(GoldenRuns, VelmorSimReproducesEveryOne)
{
    for (const GoldenRun& run : GoldenRuns()) {
        SCOPED_TRACE(run.name);
        const std::string want = ReadWhole(kGoldenDir + run.name + ".psm");
        ASSERT_FALSE(want.empty()) << run.name << ".psm";
        const std::optional<Exercise> e = ExerciseFromCommandWord(run.args.at(1));
        ASSERT_TRUE(e.has_value());

        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(RunSimCli(run.args, out, err), 0) << err.str();
        EXPECT_EQ(err.str(), "");
        CompareFiles(run.name, *e, out.str(), want);
    }
}

TEST(GoldenRuns, TheComparisonCatchesAChangedValue)
{
    // The rule itself: a value off by more than the tolerance, and an output
    // that lands on another whole count, are both differences.
    EXPECT_EQ(CompareNumber("1.25", "1.25"), "");
    EXPECT_EQ(CompareNumber("100.0000001", "100"), "");
    EXPECT_NE(CompareNumber("100.001", "100"), "");
    EXPECT_NE(CompareNumber("0.00000002", "0"), "");
    EXPECT_NE(CompareNumber("True", "False"), "");
    EXPECT_EQ(CompareCounts("84.31373", "84.313728"), "");
    EXPECT_NE(CompareCounts("84.31373", "84.705882"), "");
}
