#include "cli/Sweep.h"

#include "cli/CliSupport.h"
#include "core/analysis/ResponseFigures.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/NumberText.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace velmor {

namespace {

SweepRow Figures(const VelmorState& state, Exercise e)
{
    SweepRow row;
    const std::span<const LoopTraces> loops = ControlledLoops(e);
    if (loops.empty()) {
        return row;
    }
    const std::span<const SampleRecord> records = LoggedRecords(state.log, state.run.sampleCount);
    const LoopFigures figures = AnalyseLoop(records, loops.front(), state.run.samplePeriod);
    if (!figures.segments.empty()) {
        const SegmentFigures& first = figures.segments.front();
        row.iae = first.iae;
        if (!first.steps.empty()) {
            row.overshootPercent = first.steps.front().overshootPercent;
            row.settlingTime = first.steps.front().settlingTime;
            row.startStep = first.steps.front().start;
        }
    }
    row.stable = JudgeStability(records, loops.front(), figures);
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

namespace {

// Applies combination `index`'s values to a state restored from the start,
// as further --set changes in axis order, and runs it. A refused value
// throws Refusal.
void RunCombination(VelmorState& state, const SweepPlan& plan, std::size_t index)
{
    const std::vector<const std::string*> texts = plan.combination(index);
    for (std::size_t a = 0; a < texts.size(); ++a) {
        const std::string error =
            ApplySetting(state, plan.request.exercise, plan.axes[a].name, *texts[a]);
        if (!error.empty()) {
            throw Refusal(error);
        }
    }
    ExecuteRun(state, plan.request);
}

} // namespace

SweepOutcome RunSweepGrid(const SweepPlan& plan, unsigned jobs, const std::atomic<bool>& stop,
                          const std::function<void(std::size_t done)>& progress)
{
    const std::size_t total = plan.combinations();
    SweepOutcome outcome;
    outcome.rows.resize(total);

    // The state every run starts from, prepared once: the exercise opened,
    // the file's settings, the --set changes. Each run copies it and then
    // applies its own values as further --set changes, in axis order.
    auto prepared = std::make_unique<VelmorState>();
    PrepareRun(*prepared, plan.request, plan.from ? &*plan.from : nullptr);
    const SweepStart start(std::move(prepared));

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
            const std::size_t index = next.fetch_add(1);
            if (index >= total || stop.load() || failed.load()) {
                break;
            }
            start.restore(*state);
            try {
                RunCombination(*state, plan, index);
            } catch (const Refusal& e) {
                const std::lock_guard lock(mutex);
                if (outcome.error.empty()) {
                    outcome.error = e.what();
                }
                failed = true;
                break;
            }
            outcome.rows[index] = Figures(*state, plan.request.exercise);
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
    if (progress && done.load() == total) {
        progress(total);
    }
    outcome.interrupted = stop.load() && done.load() < total;
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
