// Reading a full simulation file into a load result: a Batch run with an
// expected time of 600 s (6000 data lines of 14 columns, about 0.5 MB),
// written by the same writer velmor-sim and File > Save use.
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/SimFileReader.h"
#include "core/rundata/SimFileWriter.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

using namespace velmor;

namespace {

const std::string& BatchFileText()
{
    static const std::string text = [] {
        auto s = std::make_unique<VelmorState>();
        OpenExerciseState(*s, Exercise::Batch, true);
        if (!ApplySetting(*s, Exercise::Batch, "expectedTime", "600").empty()) {
            return std::string();
        }
        std::unique_ptr<LoopEngine> engine = MakeEngine(Exercise::Batch, *s, nullptr);
        RunHeadless(*engine);
        SendSettings(*s, Exercise::Batch);
        std::ostringstream out;
        WriteSimulationFile(out, Exercise::Batch, s->simSettings, s->run.gateValvePercent, s->log,
                            s->run.sampleCount);
        return out.str();
    }();
    return text;
}

bool CheckFile(benchmark::State& state, const std::string& text)
{
    const SimFileResult r = ReadSimulationText(text, {});
    if (!r.ok() || r.load->sampleCount != 6000) {
        state.SkipWithError("the Batch run did not give a 6000-line file");
        return false;
    }
    return true;
}

// The reader's own work on text already in memory.
void BM_ReadBatchFileText(benchmark::State& state)
{
    const std::string& text = BatchFileText();
    if (!CheckFile(state, text)) {
        return;
    }
    for (auto _ : state) {
        SimFileResult r = ReadSimulationText(text, {});
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadBatchFileText)->Unit(benchmark::kMillisecond);

// As File > Open calls it: from a stream, which the reader drains first.
void BM_ReadBatchFileStream(benchmark::State& state)
{
    const std::string& text = BatchFileText();
    if (!CheckFile(state, text)) {
        return;
    }
    for (auto _ : state) {
        std::istringstream in(text, std::ios::binary);
        SimFileResult r = ReadSimulationFile(in, {});
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadBatchFileStream)->Unit(benchmark::kMillisecond);

} // namespace
