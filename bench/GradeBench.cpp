// velmor-sim grade: a class's 1,000 full-size Flow runs (6000 records each)
// read from disk and marked against a step-tuning sheet, on one and on two
// threads. The files are ten different runs named a hundred times each, so
// the disk holds 3 MB instead of 300 MB; every grade still reads, parses and
// analyses its file whole.
#include "cli/Grade.h"
#include "cli/SimCli.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

using namespace velmor;

namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 1000;
constexpr int kDistinctRuns = 10;

const char* const kSheet = R"({"velmorLabSheet": 1, "title": {"en": "Step"}, "exercise": "flow",
  "settings": {"flowWaveform": 4, "waveA": 1.5, "waveB": 1, "waveC": 40},
  "locked": ["flowWaveform", "waveA", "waveB", "waveC"], "minRecords": 400,
  "targets": [{"loop": "flow", "figure": "overshootPercent", "step": 2, "max": 5},
              {"loop": "flow", "figure": "settlingTime", "step": 2, "max": 4},
              {"loop": "flow", "figure": "iae", "max": 50},
              {"loop": "flow", "figure": "stable", "equals": true}]})";

struct ClassRuns {
    fs::path dir;
    std::vector<std::string> files;

    ClassRuns()
    {
        dir = fs::temp_directory_path() / ("velmor-grade-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        for (int k = 0; k < kDistinctRuns; ++k) {
            const std::string path = (dir / ("run" + std::to_string(k) + ".psm")).string();
            std::ostringstream out;
            std::ostringstream err;
            RunSimCli({"run", "flow", "--set", "flowWaveform=4", "--set", "waveA=1.5", "--set",
                       "waveB=1", "--set", "waveC=40", "--set",
                       "flowGain=" + std::to_string(k + 1) + ".5", "--out", path},
                      out, err);
        }
        for (int i = 0; i < kRuns; ++i) {
            files.push_back((dir / ("run" + std::to_string(i % kDistinctRuns) + ".psm")).string());
        }
    }
    ~ClassRuns() { fs::remove_all(dir); }
};

void GradeClass(benchmark::State& bs)
{
    static const ClassRuns runs;
    const LabSheetResult sheet = ReadLabSheetText(kSheet);
    if (!sheet.ok()) {
        bs.SkipWithError(sheet.error.c_str());
        return;
    }
    const auto jobs = static_cast<unsigned>(bs.range(0));
    for (auto _ : bs) {
        std::vector<FileGrade> grades = GradeFiles(*sheet.sheet, runs.files, jobs);
        if (!grades.back().grade.refused.empty()) {
            bs.SkipWithError(grades.back().grade.refused.c_str());
        }
        benchmark::DoNotOptimize(grades.data());
    }
    bs.SetItemsProcessed(bs.iterations() * kRuns);
}
BENCHMARK(GradeClass)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
