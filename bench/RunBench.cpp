#include "core/exercises/ControllerSettings.h"
#include "core/exercises/ExerciseProfile.h"
#include "core/exercises/LoopEngine.h"

#include <benchmark/benchmark.h>

using namespace velmor;

namespace {

// A complete headless run, Start's clearing of the log included.
void CompleteRun(benchmark::State& bs, Exercise e)
{
    auto state = std::make_unique<VelmorState>();
    OpenExerciseState(*state, e, true);
    if (e == Exercise::Batch) {
        state->batch.expectedTime = 600;
    }
    for (auto _ : bs) {
        std::unique_ptr<LoopEngine> engine = MakeEngine(e, *state, nullptr);
        RunHeadless(*engine);
        benchmark::DoNotOptimize(state->run.sampleCount);
        if (state->run.sampleCount != kLogRecords) {
            bs.SkipWithError("run did not write 6000 records");
        }
    }
}

} // namespace

BENCHMARK_CAPTURE(CompleteRun, Flow, Exercise::Flow)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CompleteRun, Level, Exercise::Level)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CompleteRun, Open, Exercise::Open)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CompleteRun, Temperature, Exercise::Temperature)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CompleteRun, Batch, Exercise::Batch)->Unit(benchmark::kMicrosecond);

static void ClearBatchFields(benchmark::State& bs)
{
    auto log = std::make_unique<SampleLog>();
    for (auto _ : bs) {
        log->clearFields(ProfileOf(Exercise::Batch).logFields);
        benchmark::DoNotOptimize(log->records.data());
    }
}
BENCHMARK(ClearBatchFields)->Unit(benchmark::kMicrosecond);
