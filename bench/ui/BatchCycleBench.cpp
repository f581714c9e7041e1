// Drawing work of one live Batch volume cycle, the heaviest window: its two
// set-point boxes, the Trends bars and six trace segments, as a running
// loop draws them.
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "ui/exercises/TfrmBatch.h"
#include "ui/trends/TfrmGraph.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace velmor;

namespace {

void BatchLiveCycleDrawing(benchmark::State& bs)
{
    auto state = std::make_unique<VelmorState>();
    state->shell.currentForm = "frmBatch";
    TfrmGraph graph(*state, Exercise::Batch);
    TfrmBatch batch(*state, &graph, nullptr);
    std::unique_ptr<LoopEngine> engine = MakeEngine(Exercise::Batch, *state, &graph);
    engine->start();
    // A run well under way, so the traces are not flat.
    for (int k = 0; k < 300; ++k) {
        engine->cycle();
    }
    const int n = state->run.sampleCount;
    for (auto _ : bs) {
        batch.DrawTempSP();
        batch.DrawVolSP();
        graph.recordAppended(n, state->log.record(n).time, state->batch.batchSegment);
        benchmark::DoNotOptimize(batch.imgPanel->image().constBits());
    }
}

} // namespace

BENCHMARK(BatchLiveCycleDrawing)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
