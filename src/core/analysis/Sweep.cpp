#include "core/analysis/Sweep.h"

#include "core/analysis/ResponseFigures.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/NumberText.h"
#include "core/shell/KeypadEntry.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace velmor {

namespace {

SweepRow Figures(const VelmorState& state, Exercise e, std::size_t loop)
{
    SweepRow row;
    const std::span<const LoopTraces> loops = ControlledLoops(e);
    if (loop >= loops.size()) {
        return row;
    }
    const std::span<const SampleRecord> records = LoggedRecords(state.log, state.run.sampleCount);
    const LoopFigures figures = AnalyseLoop(records, loops[loop], state.run.samplePeriod);
    if (!figures.segments.empty()) {
        const SegmentFigures& first = figures.segments.front();
        row.iae = first.iae;
        if (!first.steps.empty()) {
            row.overshootPercent = first.steps.front().overshootPercent;
            row.settlingTime = first.steps.front().settlingTime;
            row.startStep = first.steps.front().start;
        }
    }
    row.stable = JudgeStability(records, loops[loop], figures);
    return row;
}

} // namespace

SweepStart::SweepStart(std::unique_ptr<VelmorState> prepared)
    : m_rest(std::move(prepared)), m_records(std::move(m_rest->log.records))
{
    m_rest->log.records.clear();
    m_segments.reserve(m_records.size());
    for (const SampleRecord& r : m_records) {
        m_segments.push_back(r.segment);
    }
}

void SweepStart::restore(VelmorState& state) const
{
    std::vector<SampleRecord> records = std::move(state.log.records);
    const std::size_t logged =
        static_cast<std::size_t>(std::clamp(state.run.sampleCount, 0, kLogRecords));
    state = *m_rest;
    if (records.size() != m_records.size()) {
        records = m_records;
    } else {
        for (std::size_t i = 0; i < logged; ++i) {
            records[i].segment = m_segments[i];
        }
    }
    state.log.records = std::move(records);
}

std::size_t SweepPlan::combinations() const
{
    std::size_t n = 1;
    for (const SweepAxis& axis : axes) {
        n *= axis.values.size();
    }
    return n;
}

std::vector<const std::string*> SweepPlan::combination(std::size_t index) const
{
    std::vector<const std::string*> texts(axes.size());
    for (std::size_t a = axes.size(); a-- > 0;) {
        const std::size_t count = axes[a].values.size();
        texts[a] = &axes[a].values[index % count];
        index /= count;
    }
    return texts;
}

AxisValues SweepAxisValues(Exercise e, const std::string& name, double from, double to,
                           std::size_t count, bool logarithmic)
{
    AxisValues axis;
    // A sign is refused as the keypad refuses it, "-0" too (which the
    // spacing below would turn into 0).
    for (const double end : {from, to}) {
        if (std::signbit(end)) {
            axis.error = CheckSetting(e, name, ShortestText(end));
            return axis;
        }
    }
    if (logarithmic && (!(from > 0) || !(to > 0))) {
        axis.error = name + ": a logarithmic axis needs values above 0";
        return axis;
    }
    const double steps = static_cast<double>(count > 1 ? count - 1 : 1);
    for (std::size_t i = 0; i < count; ++i) {
        const double f = static_cast<double>(i) / steps;
        double v = logarithmic ? from * std::pow(to / from, f) : from + (to - from) * f;
        if (i + 1 == count && count > 1) {
            v = to; // the end exactly, not what the arithmetic makes of it
        }
        std::string value = KeypadText(v).value_or(ShortestText(v));
        if (std::string error = CheckSetting(e, name, value); !error.empty()) {
            axis.values.clear();
            axis.error = std::move(error);
            return axis;
        }
        axis.values.push_back(std::move(value));
    }
    return axis;
}

namespace {

// Applies combination `index`'s values to a state restored from the start,
// as further --set changes in axis order, and runs it. Empty when done,
// else why a value was refused.
std::string RunCombination(VelmorState& state, const SweepPlan& plan, std::size_t index)
{
    const std::vector<const std::string*> texts = plan.combination(index);
    for (std::size_t a = 0; a < texts.size(); ++a) {
        std::string error =
            ApplySetting(state, plan.request.exercise, plan.axes[a].name, *texts[a]);
        if (!error.empty()) {
            return error;
        }
    }
    return ExecuteHeadlessRun(state, plan.request);
}

} // namespace

SweepCellsOutcome RunSweepCells(const SweepStart& start, const SweepPlan& plan,
                                std::span<const std::size_t> indices, unsigned jobs,
                                const std::atomic<bool>& stop,
                                const std::function<void(std::size_t index, const SweepRow&)>& cell,
                                const std::function<void(std::size_t done)>& progress)
{
    const std::size_t total = indices.size();
    SweepCellsOutcome outcome;
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::atomic<bool> failed{false};
    std::mutex mutex;
    std::condition_variable finished;
    unsigned running = 0;

    auto worker = [&] {
        auto state = std::make_unique<VelmorState>();
        state->log.records.clear();
        for (;;) {
            const std::size_t k = next.fetch_add(1);
            if (k >= total || stop.load() || failed.load()) {
                break;
            }
            start.restore(*state);
            if (std::string error = RunCombination(*state, plan, indices[k]); !error.empty()) {
                const std::lock_guard lock(mutex);
                if (outcome.error.empty()) {
                    outcome.error = std::move(error);
                }
                failed = true;
                break;
            }
            if (cell) {
                cell(indices[k], Figures(*state, plan.request.exercise, plan.loop));
            }
            done.fetch_add(1);
        }
        const std::lock_guard lock(mutex);
        --running;
        finished.notify_one();
    };

    const unsigned threads = static_cast<unsigned>(
        std::min<std::size_t>(std::max(jobs, 1u), std::max<std::size_t>(total, 1)));
    std::vector<std::thread> pool;
    running = threads;
    for (unsigned k = 0; k < threads; ++k) {
        pool.emplace_back(worker);
    }
    {
        std::unique_lock lock(mutex);
        while (running > 0) {
            finished.wait_for(lock, std::chrono::milliseconds(100));
            if (progress && running > 0) {
                lock.unlock();
                progress(done.load());
                lock.lock();
            }
        }
    }
    for (std::thread& t : pool) {
        t.join();
    }
    outcome.done = done.load();
    if (progress && outcome.done == total) {
        progress(total);
    }
    outcome.interrupted = stop.load() && outcome.done < total;
    return outcome;
}

SweepOutcome RunSweepGrid(const SweepPlan& plan, unsigned jobs, const std::atomic<bool>& stop,
                          const std::function<void(std::size_t done)>& progress)
{
    const std::size_t total = plan.combinations();
    SweepOutcome outcome;

    // The state every run starts from, prepared once: the exercise opened,
    // the file's settings, the --set changes. Each run copies it and then
    // applies its own values as further --set changes, in axis order.
    auto prepared = std::make_unique<VelmorState>();
    outcome.error = PrepareHeadlessRun(*prepared, plan.request, plan.from ? &*plan.from : nullptr);
    if (!outcome.error.empty()) {
        outcome.startRefused = true;
        return outcome;
    }
    const SweepStart start(std::move(prepared));

    std::vector<std::size_t> indices(total);
    for (std::size_t i = 0; i < total; ++i) {
        indices[i] = i;
    }
    outcome.rows.resize(total);
    const SweepCellsOutcome cells = RunSweepCells(
        start, plan, indices, jobs, stop,
        [&](std::size_t index, const SweepRow& row) { outcome.rows[index] = row; }, progress);
    outcome.interrupted = cells.interrupted;
    outcome.error = cells.error;
    if (outcome.interrupted || !outcome.error.empty()) {
        outcome.rows.clear();
    }
    return outcome;
}

std::string SweepCsv(const SweepPlan& plan, const std::vector<SweepRow>& rows)
{
    std::string csv;
    for (const SweepAxis& axis : plan.axes) {
        csv += axis.name;
        csv += ',';
    }
    csv += "iae,overshootPercent,settlingTime,stable,startStep\r\n";
    auto number = [&](const std::optional<double>& v) {
        if (v) {
            csv += ShortestText(*v);
        }
    };
    for (std::size_t index = 0; index < rows.size(); ++index) {
        for (const std::string* text : plan.combination(index)) {
            csv += *text;
            csv += ',';
        }
        const SweepRow& row = rows[index];
        number(row.iae);
        csv += ',';
        number(row.overshootPercent);
        csv += ',';
        number(row.settlingTime);
        csv += ',';
        if (row.stable) {
            csv += *row.stable ? '1' : '0';
        }
        csv += ',';
        if (row.startStep) {
            csv += *row.startStep ? '1' : '0';
        }
        csv += "\r\n";
    }
    return csv;
}

} // namespace velmor
