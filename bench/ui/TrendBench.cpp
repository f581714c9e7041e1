// Drawing cost of the Trends window: a full redraw of a finished 600 s Flow
// run at the widest span, from the start and from 420 s.
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/FlowEngine.h"
#include "ui/trends/TfrmGraph.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace velmor;

namespace {

struct FinishedFlowRun {
    FinishedFlowRun()
    {
        OpenExerciseState(state, Exercise::Flow, true);
        window = std::make_unique<TfrmGraph>(state, Exercise::Flow);
        FlowEngine engine(state, nullptr);
        RunHeadless(engine);
    }
    VelmorState state;
    std::unique_ptr<TfrmGraph> window;
};

void DrawTrendAt(benchmark::State& bs, int viewStart)
{
    FinishedFlowRun run;
    run.state.trend.trendSpan = 180;
    for (auto _ : bs) {
        run.window->view().trendViewStart = viewStart;
        run.window->DrawTrend();
        benchmark::DoNotOptimize(run.window->panel().constBits());
    }
    if (run.state.run.sampleCount != 6000 || run.window->view().trendLive) {
        bs.SkipWithError("the run did not finish as expected");
    }
}

void BM_DrawTrendSpan180From0(benchmark::State& bs)
{
    DrawTrendAt(bs, 0);
}
BENCHMARK(BM_DrawTrendSpan180From0)->Unit(benchmark::kMicrosecond);

void BM_DrawTrendSpan180From420(benchmark::State& bs)
{
    DrawTrendAt(bs, 420);
}
BENCHMARK(BM_DrawTrendSpan180From420)->Unit(benchmark::kMicrosecond);

// One live cycle's share: bars and the three Flow segments.
void BM_LiveCycleDrawing(benchmark::State& bs)
{
    FinishedFlowRun run;
    TrendViewState& tv = run.window->view();
    int n = 2;
    for (auto _ : bs) {
        run.window->DrawBars(n);
        tv.trendPrevX = 100;
        tv.trendX = 101;
        run.window->TrendSegment(TraceId::FlowSP);
        run.window->TrendSegment(TraceId::FlowMV);
        run.window->TrendSegment(TraceId::FlowQ);
        n = n % 6000 + 1;
    }
}
BENCHMARK(BM_LiveCycleDrawing)->Unit(benchmark::kMicrosecond);

} // namespace
