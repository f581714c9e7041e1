// The tuning map: its cells are velmor-sim sweep's rows, a new range
// recomputes only the new runs, logarithmic axes and cancelling.
#include "core/analysis/TuningMap.h"
#include "SimCliHarness.h"
#include "core/analysis/ResponseFigures.h"
#include "core/exercises/NamedSettings.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <set>

using namespace velmor;
using velmor::test::Cli;
using velmor::test::CliResult;

namespace {

RunRequest FlowStep(long long records)
{
    RunRequest r;
    r.exercise = Exercise::Flow;
    r.sets.push_back({"flowWaveform", "4"});
    r.records = records;
    return r;
}

SweepPlan Plan(const RunRequest& request, const MapAxis& x, const MapAxis& y)
{
    SweepPlan plan;
    plan.request = request;
    for (const MapAxis* a : {&x, &y}) {
        AxisValues v =
            SweepAxisValues(request.exercise, a->name, a->from, a->to, a->count, a->logarithmic);
        EXPECT_EQ(v.error, "");
        plan.axes.push_back({a->name, std::move(v.values)});
    }
    return plan;
}

// Computes the cells `missing` of `map` in the background, as a window does.
SweepCellsOutcome Compute(TuningMap& map, const std::vector<std::size_t>& missing, unsigned jobs)
{
    auto prepared = std::make_unique<VelmorState>();
    EXPECT_EQ(PrepareHeadlessRun(*prepared, map.plan().request, nullptr), "");
    std::mutex mutex;
    SweepCellsOutcome result;
    {
        BackgroundSweep sweep(
            std::move(prepared), map.plan(), missing, jobs,
            [&](std::size_t index, const SweepRow& row) {
                const std::lock_guard lock(mutex);
                map.setCell(index, row);
            },
            [&](const SweepCellsOutcome& o) { result = o; });
        sweep.wait();
    }
    return result;
}

} // namespace

TEST(TuningMap, CellsAreTheSweepRowsOfTheSameGrid)
{
    // Gains from a calm loop to an oscillating one, so that both kinds of
    // cell and cells without a settling time are compared.
    const MapAxis gain{"flowGain", 0.5, 20, 4, false};
    const MapAxis integral{"flowIntegralTime", 0.05, 1, 3, false};
    const CliResult sweep =
        Cli({"sweep", "flow", "--vary", "flowGain=0.5:20:4", "--vary", "flowIntegralTime=0.05:1:3",
             "--set", "flowWaveform=4", "--records", "600", "--out", "-"});
    ASSERT_EQ(sweep.status, 0) << sweep.err;

    for (const unsigned jobs : {1u, 2u}) {
        TuningMap map;
        const std::vector<std::size_t> missing =
            map.setGrid(Plan(FlowStep(600), gain, integral), "flow");
        ASSERT_EQ(missing.size(), 12u);
        const SweepCellsOutcome o = Compute(map, missing, jobs);
        EXPECT_EQ(o.done, 12u);
        EXPECT_FALSE(o.interrupted);
        ASSERT_TRUE(map.complete());
        EXPECT_EQ(map.csv(), sweep.out) << jobs << " jobs";
        // Both kinds of cell are there: the comparison covers the marks.
        std::set<bool> kinds;
        for (std::size_t i = 0; i < 12; ++i) {
            kinds.insert(map.cell(i)->stable.value());
        }
        EXPECT_EQ(kinds.size(), 2u);
        // Across is the first axis, up the second.
        EXPECT_EQ(map.columns(), 4u);
        EXPECT_EQ(map.rows(), 3u);
        EXPECT_EQ(map.plan().axes[0].values[map.index(3, 0) / map.rows()], "20");
    }
}

TEST(TuningMap, ANewRangeRecomputesOnlyTheNewRuns)
{
    const RunRequest request = FlowStep(300);
    TuningMap map;
    Compute(map,
            map.setGrid(Plan(request, {"flowGain", 0.5, 2, 4, false},
                             {"flowIntegralTime", 0.2, 0.8, 4, false}),
                        "k"),
            2);
    ASSERT_TRUE(map.complete());

    struct Case {
        const char* what;
        MapAxis gain;
        MapAxis integral;
        const char* key;
        std::size_t toCompute;
    };
    const Case cases[] = {
        // 0.5, 1, 1.5, 2 kept; 2.5 and 3 new (x4 rows).
        {"wider gain range",
         {"flowGain", 0.5, 3, 6, false},
         {"flowIntegralTime", 0.2, 0.8, 4, false},
         "k",
         8},
        // Every other I value kept: 0.2, 0.4, 0.6, 0.8 of 0.2..0.8 by 0.1.
        {"finer I grid",
         {"flowGain", 0.5, 3, 6, false},
         {"flowIntegralTime", 0.2, 0.8, 7, false},
         "k",
         18},
        {"same grid",
         {"flowGain", 0.5, 3, 6, false},
         {"flowIntegralTime", 0.2, 0.8, 7, false},
         "k",
         0},
        // Another run length or window setting: nothing can be kept.
        {"other runs",
         {"flowGain", 0.5, 3, 6, false},
         {"flowIntegralTime", 0.2, 0.8, 7, false},
         "k2",
         42},
    };
    for (const Case& c : cases) {
        const std::vector<std::size_t> missing =
            map.setGrid(Plan(request, c.gain, c.integral), c.key);
        EXPECT_EQ(missing.size(), c.toCompute) << c.what;
        EXPECT_EQ(map.computed(), map.columns() * map.rows() - c.toCompute) << c.what;
        Compute(map, missing, 2);
        // Kept cells sit where their values are: the same table as a map
        // made from nothing.
        TuningMap fresh;
        Compute(fresh, fresh.setGrid(Plan(request, c.gain, c.integral), c.key), 2);
        EXPECT_EQ(map.csv(), fresh.csv()) << c.what;
    }
}

TEST(TuningMap, LogarithmicAxesStandInEqualRatios)
{
    const AxisValues v = SweepAxisValues(Exercise::Flow, "flowGain", 0.25, 4, 5, true);
    ASSERT_EQ(v.error, "");
    EXPECT_EQ(v.values, (std::vector<std::string>{"0.25", "0.5", "1", "2", "4"}));
    const AxisValues lin = SweepAxisValues(Exercise::Flow, "flowGain", 0.25, 4, 5, false);
    EXPECT_EQ(lin.values, (std::vector<std::string>{"0.25", "1.1875", "2.125", "3.0625", "4"}));
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(AxisFraction(std::stod(v.values[i]), 0.25, 4, true), i / 4.0);
    }
    // 1 stands in the middle of 0.25..4 on a logarithmic axis, not at a fifth.
    EXPECT_DOUBLE_EQ(AxisFraction(1, 0.25, 4, false), 0.2);

    // A logarithmic axis cannot reach 0; limits and signs are refused with
    // velmor-sim's words.
    EXPECT_NE(SweepAxisValues(Exercise::Flow, "flowGain", 0, 4, 5, true).error, "");
    EXPECT_NE(SweepAxisValues(Exercise::Flow, "flowGain", 1, 400, 5, true).error, "");
    EXPECT_NE(SweepAxisValues(Exercise::Flow, "flowGain", -1, 4, 5, false).error, "");
}

TEST(TuningMap, DefaultRangesAndSettingsOfEachLoop)
{
    VelmorState state;
    PrepareHeadlessRun(state, RunRequest{Exercise::Batch, {}, {}, {}, {}}, nullptr);
    EXPECT_EQ(LoopSettingNames(Exercise::Batch, 0),
              (std::vector<std::string>{"volGain", "volIntegralTime", "volDerivativeTime"}));
    EXPECT_EQ(LoopSettingNames(Exercise::Batch, 1),
              (std::vector<std::string>{"batchTempGain", "batchTempIntegralTime",
                                        "batchTempDerivativeTime"}));
    EXPECT_TRUE(LoopSettingNames(Exercise::Open, 0).empty());

    const std::optional<SettingRange> gain = NamedSettingRange(state, Exercise::Batch, "volGain");
    ASSERT_TRUE(gain);
    EXPECT_FLOAT_EQ(gain->value, state.batch.volGain);
    const auto [from, to] = DefaultMapRange(*gain);
    EXPECT_DOUBLE_EQ(from, state.batch.volGain / 4.0);
    EXPECT_DOUBLE_EQ(to, state.batch.volGain * 4.0);
    // Four times today's value is cut at the keypad's limit.
    const auto [lo, hi] = DefaultMapRange({0.01f, 10, 5, 0});
    EXPECT_DOUBLE_EQ(lo, 1.25);
    EXPECT_DOUBLE_EQ(hi, 10);
}

TEST(TuningMap, CancelStopsAfterTheRunsInProgress)
{
    TuningMap map;
    const std::vector<std::size_t> missing =
        map.setGrid(Plan(FlowStep(6000), {"flowGain", 0.5, 2, 20, false},
                         {"flowIntegralTime", 0.2, 1, 20, false}),
                    "k");
    auto prepared = std::make_unique<VelmorState>();
    PrepareHeadlessRun(*prepared, map.plan().request, nullptr);
    std::mutex mutex;
    std::size_t cells = 0;
    bool cellAfterDone = false;
    bool finished = false;
    SweepCellsOutcome result;
    // The first cell cancels the sweep, once the sweep is there to cancel.
    std::promise<BackgroundSweep*> made;
    std::shared_future<BackgroundSweep*> sweepMade = made.get_future().share();
    {
        BackgroundSweep sweep(
            std::move(prepared), map.plan(), missing, 1,
            [&](std::size_t, const SweepRow&) {
                const std::lock_guard lock(mutex);
                cellAfterDone = cellAfterDone || finished;
                if (++cells == 1) {
                    sweepMade.get()->cancel();
                }
            },
            [&](const SweepCellsOutcome& o) {
                const std::lock_guard lock(mutex);
                finished = true;
                result = o;
            });
        made.set_value(&sweep);
        sweep.wait();
    }
    EXPECT_TRUE(finished);
    EXPECT_TRUE(result.interrupted);
    EXPECT_EQ(result.done, cells);
    EXPECT_LT(cells, 400u);
    EXPECT_FALSE(cellAfterDone);
}

TEST(TuningMap, BatchMapsTheLoopWhoseSettingsItVaries)
{
    // The temperature loop of Batch volume: its figures, not the volume
    // loop's that velmor-sim's sweep reports.
    RunRequest request{Exercise::Batch, {}, {}, {}, {}};
    request.records = 900;
    TuningMap map;
    SweepPlan plan = Plan(request, {"batchTempGain", 5, 20, 2, false},
                          {"batchTempIntegralTime", 200, 400, 2, false});
    plan.loop = 1;
    Compute(map, map.setGrid(plan, "batch"), 2);
    ASSERT_TRUE(map.complete());
    const std::span<const LoopTraces> loops = ControlledLoops(Exercise::Batch);
    for (std::size_t c = 0; c < 2; ++c) {
        for (std::size_t r = 0; r < 2; ++r) {
            VelmorState state;
            ASSERT_EQ(PrepareHeadlessRun(state, request, nullptr), "");
            ASSERT_EQ(ApplySetting(state, Exercise::Batch, "batchTempGain", plan.axes[0].values[c]),
                      "");
            ASSERT_EQ(ApplySetting(state, Exercise::Batch, "batchTempIntegralTime",
                                   plan.axes[1].values[r]),
                      "");
            ASSERT_EQ(ExecuteHeadlessRun(state, request), "");
            const auto records = LoggedRecords(state.log, state.run.sampleCount);
            const LoopFigures temperature = AnalyseLoop(records, loops[1], state.run.samplePeriod);
            const LoopFigures volume = AnalyseLoop(records, loops[0], state.run.samplePeriod);
            const SweepRow& cell = *map.cell(map.index(c, r));
            EXPECT_EQ(cell.iae, temperature.segments.front().iae);
            EXPECT_NE(cell.iae, volume.segments.front().iae);
        }
    }
}
