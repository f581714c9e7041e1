// One update of the Manual window's rig model with all its drawing, in the
// busiest case: stirrer and fan turning and the level (so the tank, its
// water and the level bar) changing every update, plus a path switching.
#include "ui/mimic/TfrmManual.h"

#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>

using namespace velmor;

namespace {

void UpdateWithDrawing(benchmark::State& bs)
{
    auto state = std::make_unique<VelmorState>();
    std::int64_t clock = 1'000'000;
    TfrmManual window(*state, nullptr, [&clock] { return clock; });
    window.UpdateTimer->stop();
    window.imgCoolerClick();
    window.imgStirrerClick();
    window.Place(114);
    int k = 0;
    for (auto _ : bs) {
        // Fill and drain in turn, so the level never rests at a clamp.
        if (++k % 60 == 0) {
            window.SolenoidDrainClick();
        }
        clock += 125;
        window.UpdateTimerTimer();
        benchmark::DoNotOptimize(window.picture().constBits());
    }
}

} // namespace

BENCHMARK(UpdateWithDrawing)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
