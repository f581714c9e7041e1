// Real-time pacing of a run on screen: 200 cycles of a shown exercise window
// (Flow, and Batch volume, the heaviest) in a real event loop. Reports the mean cycle period, the
// 99th percentile of its lateness and the shortest period (never under 80 ms). A figure for this
// machine as it is, not a pass/fail check.
#include "ui/exercises/RunDriver.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/shell/ExerciseEntries.h"
#include "ui/trends/TfrmGraph.h"

#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

using namespace velmor;

namespace {

void Pacing(benchmark::State& bs, Exercise exercise)
{
    constexpr std::size_t kCycles = 200;
    for (auto _ : bs) {
        auto state = std::make_unique<VelmorState>();
        state->shell.currentForm = std::string(FormName(exercise));
        TfrmGraph graph(*state, exercise);
        std::unique_ptr<LoopWindow> window(
            ExerciseEntryFor(exercise)->makeWindow(*state, &graph, nullptr));
        LoopWindow& flow = *window; // the exercise window
        graph.show();
        flow.show();
        std::vector<PaceTimer::TimePoint> starts;
        starts.reserve(kCycles + 1);
        QEventLoop loop;
        QObject::connect(flow.driver(), &RunDriver::cycled, &flow, [&] {
            starts.push_back(flow.driver()->lastCycleStart());
            if (starts.size() == kCycles + 1) {
                flow.btnStopClick();
            }
        });
        QObject::connect(flow.driver(), &RunDriver::finished, &loop, &QEventLoop::quit);
        flow.btnStartClick();
        loop.exec();

        std::vector<double> periods;
        for (std::size_t k = 1; k < starts.size(); ++k) {
            periods.push_back(
                std::chrono::duration<double, std::milli>(starts[k] - starts[k - 1]).count());
        }
        std::sort(periods.begin(), periods.end());
        double sum = 0;
        for (double period : periods) {
            sum += period;
        }
        bs.counters["mean_ms"] = sum / static_cast<double>(periods.size());
        bs.counters["median_ms"] = periods[periods.size() / 2];
        bs.counters["p99_lateness_ms"] =
            periods[static_cast<std::size_t>(0.99 * static_cast<double>(periods.size() - 1))] -
            80.0;
        bs.counters["shortest_ms"] = periods.front();
    }
}

} // namespace

BENCHMARK_CAPTURE(Pacing, Flow, Exercise::Flow)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Pacing, Batch, Exercise::Batch)->Iterations(1)->Unit(benchmark::kMillisecond);
