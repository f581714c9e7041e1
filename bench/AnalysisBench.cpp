// Run analysis: response figures of a full run, the step-test fit, and
// tuning sweeps of complete Flow runs on one and on two threads.
#include "cli/RunRequest.h"
#include "core/analysis/ResponseFigures.h"
#include "core/analysis/StepFit.h"
#include "core/analysis/Sweep.h"
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "core/exercises/NamedSettings.h"
#include "core/shell/KeypadEntry.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace velmor;

namespace {

// A complete 6000-record run of an exercise after some --set changes.
std::unique_ptr<VelmorState>
CompleteRun(Exercise e, std::initializer_list<std::pair<const char*, const char*>> sets)
{
    auto state = std::make_unique<VelmorState>();
    OpenExerciseState(*state, e, true);
    for (const auto& [name, value] : sets) {
        ApplySetting(*state, e, name, value);
    }
    std::unique_ptr<LoopEngine> engine = MakeEngine(e, *state, nullptr);
    RunHeadless(*engine);
    return state;
}

// A Step set point (47 steps in 600 s): every figure is computed.
void AnalyseFlowRun(benchmark::State& bs)
{
    const auto state = CompleteRun(Exercise::Flow, {{"flowWaveform", "4"}});
    const auto records = LoggedRecords(state->log, state->run.sampleCount);
    if (records.size() != kLogRecords) {
        bs.SkipWithError("run did not write 6000 records");
    }
    for (auto _ : bs) {
        RunFigures figures = AnalyseRun(records, Exercise::Flow, state->run.samplePeriod);
        benchmark::DoNotOptimize(figures.loops.data());
    }
}
BENCHMARK(AnalyseFlowRun)->Unit(benchmark::kMicrosecond);

// A step test of 600 s: the output steps between 10 % and 80 % every 12.5 s
// (48 steps, each fitted).
void FitOpenRun(benchmark::State& bs)
{
    const auto state = CompleteRun(Exercise::Open, {{"openWaveform", "4"}});
    const auto records = LoggedRecords(state->log, state->run.sampleCount);
    for (auto _ : bs) {
        std::vector<OutputStep> steps = FitOutputSteps(records);
        benchmark::DoNotOptimize(steps.data());
        if (BestFittedStep(steps) == nullptr) {
            bs.SkipWithError("no usable fit");
        }
    }
}
BENCHMARK(FitOpenRun)->Unit(benchmark::kMillisecond);

// 10,000 complete Flow runs (100 PG values x 100 I values), each analysed,
// on one thread and on two.
void SweepFlow(benchmark::State& bs)
{
    SweepPlan plan;
    plan.request.exercise = Exercise::Flow;
    SweepAxis gain{"flowGain", {}};
    SweepAxis integral{"flowIntegralTime", {}};
    for (int k = 0; k < 100; ++k) {
        gain.values.push_back(*KeypadText(0.5 + 0.015 * k));    // 0.5 .. 1.985
        integral.values.push_back(*KeypadText(0.3 + 0.01 * k)); // 0.3 .. 1.29 s
    }
    plan.axes = {gain, integral};
    const unsigned jobs = static_cast<unsigned>(bs.range(0));
    const std::atomic<bool> stop{false};
    for (auto _ : bs) {
        SweepOutcome outcome = RunSweepGrid(plan, jobs, stop, {});
        if (outcome.rows.size() != 10000 || !outcome.error.empty()) {
            bs.SkipWithError("sweep incomplete");
        }
    }
    bs.counters["runs_per_s"] = benchmark::Counter(10000.0 * static_cast<double>(bs.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(SweepFlow)->Arg(1)->Arg(2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
