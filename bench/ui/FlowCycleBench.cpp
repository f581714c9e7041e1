// Drawing work of one live Flow cycle: the two gauges with their bars, the
// Trends bars and three trace segments, as a running loop draws them.
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/FlowEngine.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/trends/TfrmGraph.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace velmor;

namespace {

void LiveCycleDrawing(benchmark::State& bs)
{
    auto state = std::make_unique<VelmorState>();
    state->shell.currentForm = "frmFlow";
    TfrmGraph graph(*state, Exercise::Flow);
    TfrmFlow flow(*state, &graph, nullptr);
    FlowEngine engine(*state, &graph);
    engine.start();
    // A run well under way, so the traces are not flat.
    for (int k = 0; k < 300; ++k) {
        engine.cycle();
    }
    int n = state->run.sampleCount;
    for (auto _ : bs) {
        // What a cycle draws for its newest sample: gauges, bars, traces.
        flow.DrawSP();
        flow.DrawMV();
        graph.recordAppended(n, state->log.record(n).time, state->flow.flowSegment);
        benchmark::DoNotOptimize(flow.imgPanel->image().constBits());
    }
}

// A whole cycle: plant, controller, record and all its drawing.
void WholeCycle(benchmark::State& bs)
{
    auto state = std::make_unique<VelmorState>();
    state->shell.currentForm = "frmFlow";
    TfrmGraph graph(*state, Exercise::Flow);
    TfrmFlow flow(*state, &graph, nullptr);
    auto engine = std::make_unique<FlowEngine>(*state, &graph);
    engine->start();
    for (auto _ : bs) {
        if (!engine->canCycle()) {
            bs.PauseTiming();
            engine->finish();
            engine->start();
            bs.ResumeTiming();
        }
        engine->cycle();
        flow.DrawSP();
        flow.DrawMV();
    }
}

} // namespace

BENCHMARK(LiveCycleDrawing)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(WholeCycle)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
