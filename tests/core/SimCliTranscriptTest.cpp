// velmor-sim's answers to a long, fixed list of command lines, kept in
// tests/data/transcripts/velmor-sim.txt: every setting of every exercise
// at its limits and just past them, before START and during the run, the
// command lines it refuses, and every verb on the golden files and the
// shipped lab sheets. A run's or a report's output is kept as a fingerprint,
// a refusal as its words.
#include "SimCliHarness.h"
#include "Transcript.h"

#include "core/exercises/Exercise.h"
#include "core/exercises/NamedSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <regex>
#include <set>

#include <unistd.h>

using namespace velmor;
using velmor::test::Cli;
using velmor::test::Fingerprint;
using velmor::test::Transcript;

// Its own namespace: the tests compile several files to a unit.
namespace sim_cli_transcript {

namespace fs = std::filesystem;

const std::string kData = VELMOR_TEST_DATA;

// A sweep's progress lines come as its threads finish: not part of the
// answer.
std::string WithoutProgress(const std::string& err)
{
    static const std::regex progress(R"(sweep: [0-9]+% \([0-9]+ of [0-9]+ runs\)\n)");
    return std::regex_replace(err, progress, "");
}

struct Recorder {
    Transcript transcript;
    fs::path scratch;

    // Runs velmor-sim and notes its answer: the status, then the refusal's
    // words or the output's length and fingerprint (whole when it is short).
    // Paths of the test's own folders are written as $DATA and $TMP, so that
    // the answers do not depend on where the checkout is.
    std::string note(const std::vector<std::string>& args)
    {
        const test::CliResult r = Cli(args);
        std::string what = "velmor-sim";
        for (const std::string& a : args) {
            what += " " + a;
        }
        std::string answer = std::to_string(r.status);
        if (const std::string err = WithoutProgress(r.err); !err.empty()) {
            answer += " err " + Mask(err);
        }
        if (const std::string out = Mask(r.out); out.size() <= 160) {
            answer += " out " + out;
        } else {
            answer += " out " + std::to_string(out.size()) + " bytes " + Fingerprint(out);
        }
        transcript.add(Mask(what), answer);
        return r.err;
    }

    // A file velmor-sim wrote, noted by its fingerprint.
    void noteFile(const std::string& what, const fs::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        transcript.add(what, in ? Fingerprint(Mask(bytes.str())) : "no file");
    }

    std::string Mask(std::string text) const
    {
        for (const auto& [from, to] : {std::pair{kData, std::string("$DATA")},
                                       std::pair{scratch.string(), std::string("$TMP")}}) {
            for (std::size_t at; (at = text.find(from)) != std::string::npos;) {
                text.replace(at, from.size(), to);
            }
        }
        return text;
    }
};

// The limits a refusal names: "out of range (0.01 to 999)".
std::optional<std::pair<std::string, std::string>> NamedRange(const std::string& err)
{
    static const std::regex range(R"(out of range \(([0-9.]+) to ([0-9.]+)\))");
    std::smatch m;
    if (!std::regex_search(err, m, range)) {
        return std::nullopt;
    }
    return std::pair{m[1].str(), m[2].str()};
}

// Values every setting is tried with, whatever its kind.
const std::vector<std::string> kProbes = {"0",   "1",   "2",          "5",   "6",      "9",   "10",
                                          "15",  "20",  "25",         "100", "110",    "170", "180",
                                          "190", "0.5", "1.5",        "2.5", "-1",     "+1",  "1e3",
                                          "abc", "",    "1.12345678", "1,5", "9999999"};

// What a setting's name does before START and at second 1 of a run, with
// `before` setting the stage (a waveform, a mode) that the name needs.
void TrySetting(Recorder& r, const std::string& word, const std::string& name,
                const std::vector<std::string>& before)
{
    const auto run = [&](const std::vector<std::string>& extra) {
        std::vector<std::string> args{"run", word};
        for (const std::string& b : before) {
            args.insert(args.end(), {"--set", b});
        }
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), {"--records", "40"});
        return r.note(args);
    };
    std::set<std::string> values(kProbes.begin(), kProbes.end());
    if (const auto range = NamedRange(run({"--set", name + "=9999999"}))) {
        values.insert({range->first, range->second, test::NextToLimit(range->first, -1),
                       test::NextToLimit(range->second, +1)});
        values.erase("");
    }
    for (const std::string& v : values) {
        if (v != "9999999") {
            run({"--set", name + "=" + v});
        }
    }
    // During the run: the first value taken and the largest one.
    std::vector<std::string> taken;
    for (const std::string& v : values) {
        if (CheckSetting(*ExerciseFromCommandWord(word), name, v).empty()) {
            taken.push_back(v);
        }
    }
    if (!taken.empty()) {
        run({"--at", "1:" + name + "=" + taken.front()});
        run({"--at", "1:" + name + "=" + taken.back()});
    }
}

void TryEverySetting(Recorder& r)
{
    for (Exercise e : Exercises()) {
        const std::string word(CommandWord(e));
        for (std::string_view n : SettingNames(e)) {
            const std::string name(n);
            TrySetting(r, word, name, {});
            if (name == "waveA" || name == "waveB" || name == "waveC") {
                // Each waveform shows its own rows, with their own limits.
                for (int w = 1; w <= 5; ++w) {
                    TrySetting(r, word, name, {word + "Waveform=" + std::to_string(w)});
                }
            }
            if (name == "pumpOn") {
                TrySetting(r, word, name, {"flowManual=1"});
            }
        }
    }
}

const char* const kGolden[] = {"batch_changes.psm",
                               "batch_defaults.psm",
                               "flow_derivative_gate.psm",
                               "flow_manual_pump_toggles.psm",
                               "flow_ramp_span120_full.psm",
                               "flow_sine_gain_changes.psm",
                               "level_autodrain_step.psm",
                               "level_ramp_integral_change.psm",
                               "open_sawtooth.psm",
                               "open_step_gate.psm",
                               "temperature_hot_start_gain_change.psm",
                               "temperature_pid_with_d.psm"};

void TryEveryVerbOnTheGoldenFiles(Recorder& r)
{
    for (const char* name : kGolden) {
        const std::string file = kData + "/golden/" + name;
        for (const char* verb : {"inspect", "analyse", "fit", "export-csv"}) {
            r.note({verb, file});
        }
        r.note({"export-csv", file, "--decimal-comma"});
        // Its settings taken up again by a run of each exercise.
        for (Exercise e : Exercises()) {
            r.note({"run", std::string(CommandWord(e)), "--from", file, "--records", "30"});
        }
    }
}

void TryGrading(Recorder& r)
{
    const std::string sheets = kData + "/../../resources/labsheets/";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(sheets)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    for (const std::string& sheet : names) {
        r.note({"grade", sheets + sheet, kData + "/golden"});
        r.note({"grade", sheets + sheet, kData + "/golden", "--csv", "--jobs", "1"});
    }
}

void TrySweeps(Recorder& r)
{
    const fs::path out = r.scratch / "sweep.csv";
    const std::vector<std::vector<std::string>> sweeps = {
        {"sweep", "flow", "--vary", "flowGain=0.5:4:3", "--vary", "flowIntegralTime=0.2:2:2",
         "--records", "200"},
        {"sweep", "level", "--vary", "levelGain=1:3:2", "--set", "levelWaveform=4"},
        {"sweep", "temperature", "--vary", "tempGain=2:8:2", "--records", "300"},
        {"sweep", "batch", "--vary", "volGain=1:2:2", "--vary", "batchTempGain=2:4:2"},
        {"sweep", "open", "--vary", "waveA=20:80:2", "--set", "openWaveform=4"},
        {"sweep", "flow", "--vary", "chkI=0:1:2", "--vary", "flowWaveform=1:5:5", "--records",
         "100"},
        {"sweep", "flow", "--vary", "flowGain=1:1:1", "--at", "2:flowGain=3"}};
    for (const auto& sweep : sweeps) {
        std::vector<std::string> args = sweep;
        args.insert(args.end(), {"--jobs", "2", "--out", out.string()});
        fs::remove(out);
        r.note(args);
        std::string what;
        for (const std::string& a : sweep) {
            what += a + " ";
        }
        r.noteFile(what + "written", out);
    }
}

// Command lines velmor-sim refuses, or takes in some odd form.
void TryOddCommandLines(Recorder& r)
{
    const std::string flowFile = kData + "/golden/flow_sine_gain_changes.psm";
    const std::string openFile = kData + "/golden/open_step_gate.psm";
    const std::string missing = kData + "/golden/no-such-file.psm";
    const std::string out = (r.scratch / "run.psm").string();
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"--help"},
        {"-h"},
        {"walk"},
        {"run"},
        {"run", "manual"},
        {"run", "Flow"},
        {"run", "flow", "--records"},
        {"run", "flow", "--records", "0"},
        {"run", "flow", "--records", "1"},
        {"run", "flow", "--records", "-5"},
        {"run", "flow", "--records", "6000"},
        {"run", "flow", "--records", "6001"},
        {"run", "batch", "--set", "expectedTime=10", "--records", "6000"},
        {"run", "flow", "--set"},
        {"run", "flow", "--set", "flowGain"},
        {"run", "flow", "--set", "=1"},
        {"run", "flow", "--set", "nonsense=1"},
        {"run", "flow", "--set", "levelGain=1"},
        {"run", "flow", "--set", "flowGain=2", "--set", "flowBand=25"},
        // A setting taken away and back again, before START and during the run.
        {"run", "open", "--records", "40", "--set", "gateValvePercent=30", "--set",
         "gateValvePercent=100"},
        {"run", "flow", "--records", "300", "--at", "5:gateValvePercent=0", "--at",
         "10:gateValvePercent=100", "--at", "15:gateValvePercent=50"},
        {"run", "flow", "--records", "300", "--set", "flowManual=1", "--at", "5:pumpOn=0", "--at",
         "10:pumpOn=1", "--at", "15:flowManual=0"},
        {"run", "flow", "--set", "flowBand=25", "--set", "flowGain=2"},
        {"run", "flow", "--set", "flowIntegralTime=2", "--set", "chkI=0"},
        {"run", "flow", "--set", "chkD=0", "--set", "flowDerivativeTime=1"},
        {"run", "flow", "--at"},
        {"run", "flow", "--at", "5"},
        {"run", "flow", "--at", "x:flowGain=2"},
        {"run", "flow", "--at", "-1:flowGain=2"},
        {"run", "flow", "--at", "0:flowGain=2", "--records", "20"},
        {"run", "flow", "--at", "0.15:flowGain=2", "--records", "20"},
        {"run", "flow", "--at", "1:flowGain=2", "--at", "1:flowGain=3", "--records", "20"},
        {"run", "flow", "--at", "1:flowWaveform=4", "--at", "1:waveB=1.5", "--records", "30"},
        {"run", "flow", "--at", "1:nonsense=1"},
        {"run", "flow", "--at", "1:trendSpan=100"},
        {"run", "flow", "--at", "1:flowManual=1", "--at", "2:pumpOn=1", "--records", "40"},
        {"run", "flow", "--at", "1:gateValvePercent=30", "--records", "40"},
        {"run", "level", "--at", "1:chkAutodrain=0", "--records", "40"},
        {"run", "flow", "--bogus"},
        {"run", "flow", "stray"},
        {"run", "flow", "--from"},
        {"run", "flow", "--from", missing},
        {"run", "flow", "--from", openFile},
        {"run", "flow", "--from", flowFile, "--set", "flowGain=3", "--records", "30"},
        {"run", "flow", "--out"},
        {"run", "flow", "--out", ""},
        {"run", "flow", "--records", "30", "--out", "-"},
        {"run", "flow", "--records", "30", "--out", out},
        {"run", "flow", "--out", r.scratch.string()},
        {"inspect"},
        {"inspect", missing},
        {"inspect", flowFile, "extra"},
        {"inspect", kData + "/golden"},
        {"analyse", flowFile, "--bogus"},
        {"fit", flowFile},
        {"export-csv", flowFile, "--out"},
        {"export-csv", flowFile, "--bogus"},
        {"export-csv", flowFile, "--out", (r.scratch / "run.csv").string()},
        {"sweep"},
        {"sweep", "flow"},
        {"sweep", "flow", "--vary", "flowGain=1:2:2"},
        {"sweep", "flow", "--vary", "flowGain", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:2", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:2:0", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=2:1:2", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=0:2:2", "--out", out},
        {"sweep", "flow", "--vary", "nonsense=1:2:2", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:2:2", "--vary", "flowGain=1:3:2", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:2:2", "--jobs", "0", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:2:2", "--jobs", "x", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:2:2", "--jobs", "1025", "--out", out},
        {"sweep", "flow", "--vary", "flowGain=1:2:2", "--jobs"},
        {"sweep", "flow", "--vary", "trendSpan=20:180:17", "--out", out},
        {"sweep", "flow", "--vary", "gateValvePercent=0:100:11", "--out", out},
        {"sweep", "flow", "--vary", "waveA=1:2:2", "--set", "flowWaveform=1", "--out", out},
        {"sweep", "open", "--vary", "flowGain=1:2:2", "--out", out},
        {"grade"},
        {"grade", missing},
        {"grade", kData + "/../../resources/labsheets/flow-step-tuning.vlab"},
        {"grade", kData + "/../../resources/labsheets/flow-step-tuning.vlab", missing},
        {"grade", kData + "/../../resources/labsheets/flow-step-tuning.vlab", flowFile, "--jobs",
         "0"},
        {"grade", kData + "/../../resources/labsheets/flow-step-tuning.vlab", flowFile, "--bogus"},
        {"grade", flowFile, flowFile},
        // A folder named with its closing slash.
        {"grade", kData + "/../../resources/labsheets/flow-step-tuning.vlab", kData + "/golden/",
         "--csv", "--jobs", "1"}};
    for (const auto& args : lines) {
        r.note(args);
    }
    r.noteFile("run flow --records 30 --out run.psm written", out);
    r.noteFile("export-csv --out run.csv written", r.scratch / "run.csv");
}

} // namespace sim_cli_transcript

using namespace sim_cli_transcript;

TEST(SimCliTranscript, EveryCommandLineIsAnsweredAsKept)
{
    Recorder r;
    r.scratch = fs::temp_directory_path() / ("velmor-sim-transcript-" + std::to_string(::getpid()));
    fs::create_directories(r.scratch);
    TryOddCommandLines(r);
    TryEverySetting(r);
    TryEveryVerbOnTheGoldenFiles(r);
    TryGrading(r);
    TrySweeps(r);
    fs::remove_all(r.scratch);
    const std::string differences = r.transcript.compareWith(kData + "/transcripts/velmor-sim.txt");
    EXPECT_TRUE(differences.empty()) << differences;
}
