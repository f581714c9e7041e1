// The tuning map window, as a student asks for a map of Flow (Step
// waveform): from asking to the last cell painted, for a 41 x 41 map of
// 600-record runs and a 101 x 101 map of full 6000-record runs, on one
// job and on two; and how late the event loop answers while the bigger
// map computes (a 5 ms timer's worst and 99th-percentile lateness).
#include "core/exercises/HeadlessRun.h"
#include "ui/analysis/TuningMapWindow.h"

#include <QEventLoop>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

using namespace velmor;
using Clock = std::chrono::steady_clock;

namespace {

std::unique_ptr<VelmorState> FlowOnAStep()
{
    auto state = std::make_unique<VelmorState>();
    RunRequest request;
    request.sets.push_back({"flowWaveform", "4"});
    PrepareHeadlessRun(*state, request, nullptr);
    return state;
}

void WaitForEnd(TuningMapWindow& w)
{
    if (!w.computing()) {
        return;
    }
    QEventLoop loop;
    QObject::connect(&w, &TuningMapWindow::computeEnded, &loop, &QEventLoop::quit);
    loop.exec();
}

// Asks for a grid in one go (Compute with the new values) and waits until it is computed and
// painted; the lateness of a 5 ms timer meanwhile goes to `lateness`.
double Ask(TuningMapWindow& w, int count, int records, std::vector<double>* lateness)
{
    {
        const QSignalBlocker a(w.txtRecords);
        const QSignalBlocker b(w.txtCount[0]);
        const QSignalBlocker c(w.txtCount[1]);
        w.txtRecords->setValue(records);
        w.txtCount[0]->setValue(count);
        w.txtCount[1]->setValue(count);
    }
    QTimer tick;
    Clock::time_point last = Clock::now();
    if (lateness != nullptr) {
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const Clock::time_point now = Clock::now();
            lateness->push_back(std::chrono::duration<double, std::milli>(now - last).count() -
                                5.0);
            last = now;
        });
        tick.setTimerType(Qt::PreciseTimer);
        tick.start(5);
    }
    const Clock::time_point asked = Clock::now();
    last = asked;
    w.btnCompute->click();
    WaitForEnd(w);
    w.imgMap->repaint();
    tick.stop();
    return std::chrono::duration<double>(Clock::now() - asked).count();
}

void MapDrawn(benchmark::State& bs, int count, int records)
{
    const unsigned jobs = static_cast<unsigned>(bs.range(0));
    for (auto _ : bs) {
        bs.PauseTiming();
        auto state = FlowOnAStep();
        TuningMapWindow w(*state, Exercise::Flow, {});
        w.setJobs(jobs);
        w.show();
        WaitForEnd(w); // the map it opens with
        // Another run length: nothing of the first map is kept.
        const int length = records == w.txtRecords->value() ? records - 1 : records;
        bs.ResumeTiming();
        std::vector<double> lateness;
        const double seconds = Ask(w, count, length, &lateness);
        bs.SetIterationTime(seconds);
        if (!w.map().complete()) {
            bs.SkipWithError("map incomplete");
        }
        std::sort(lateness.begin(), lateness.end());
        if (!lateness.empty()) {
            bs.counters["latency_max_ms"] = lateness.back();
            bs.counters["latency_p99_ms"] =
                lateness[static_cast<std::size_t>(0.99 * static_cast<double>(lateness.size() - 1))];
        }
        bs.counters["runs_per_s"] = static_cast<double>(count * count) / seconds;
    }
}

} // namespace

BENCHMARK_CAPTURE(MapDrawn, Flow41x41x600, 41, 600)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MapDrawn, Flow101x101x6000, 101, 6000)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
