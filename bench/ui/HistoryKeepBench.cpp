// What keeping a run in the run history costs the user-interface thread: the
// copy of a full 6000-record run (settings and records) and handing it to the
// history's worker. Formatting and writing happen on the worker; each
// iteration waits for it outside the timing, so a run never queues behind
// another. The budget is 5 ms per run.
#include "core/exercises/LoopEngine.h"
#include "ui/shell/RunHistory.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace velmor;

namespace {

void KeepFullRun(benchmark::State& bs)
{
    auto state = std::make_unique<VelmorState>();
    std::unique_ptr<LoopEngine> engine = MakeEngine(Exercise::Flow, *state, nullptr);
    RunHeadless(*engine, [] {});
    if (state->run.sampleCount != kLogRecords) {
        bs.SkipWithError("the run did not fill the log");
        return;
    }
    const QTemporaryDir folder;
    RunHistory history(folder.filePath(QStringLiteral("runs")));
    history.waitForWrites();
    for (auto _ : bs) {
        history.keep(TakeRunCopy(*state, Exercise::Flow));
        bs.PauseTiming();
        history.waitForWrites();
        bs.ResumeTiming();
    }
}

} // namespace

BENCHMARK(KeepFullRun)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
