#include "core/analysis/ResponseFigures.h"

#include "core/exercises/ExerciseProfile.h"
#include "core/trends/RunReport.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velmor {

namespace {

std::optional<double> Finite(double v)
{
    if (std::isfinite(v)) {
        return v;
    }
    return std::nullopt;
}

// Reading the records of one loop.
struct Trace {
    std::span<const SampleRecord> records;
    const LoopTraces& loop;

    // i: index into records (record number - 1).
    double sp(std::size_t i) const { return records[i].field(loop.setPointField); }
    double mv(std::size_t i) const { return records[i].field(loop.measuredField); }
    double out(std::size_t i) const { return records[i].field(loop.outputField); }
    double t(std::size_t i) const { return records[i].time; }
};

// Index of the first record in [begin, end] at or past `level` in the
// direction of the step.
std::optional<std::size_t> FirstAtOrPast(const Trace& tr, std::size_t begin, std::size_t end,
                                         double level, bool rising)
{
    for (std::size_t i = begin; i <= end; ++i) {
        const double y = tr.mv(i);
        if (rising ? y >= level : y <= level) {
            return i;
        }
    }
    return std::nullopt;
}

// Figures of one step from `fromValue` to the set point of `begin`: records
// [begin, end] are its response window.
StepFigures StepResponse(const Trace& tr, std::size_t begin, std::size_t end, float fromValue,
                         bool start)
{
    StepFigures s;
    s.record = static_cast<int>(begin) + 1;
    s.lastRecord = static_cast<int>(end) + 1;
    s.time = tr.t(begin);
    s.from = fromValue;
    s.to = tr.records[begin].field(tr.loop.setPointField);
    s.start = start;
    const double from = s.from;
    const double to = s.to;
    const double change = to - from;
    const double size = std::fabs(change);
    const bool rising = change > 0;

    const std::optional<std::size_t> at10 =
        FirstAtOrPast(tr, begin, end, from + 0.1 * change, rising);
    const std::optional<std::size_t> at90 =
        FirstAtOrPast(tr, begin, end, from + 0.9 * change, rising);
    if (at10 && at90) {
        s.riseTime = (tr.t(*at90) - tr.t(begin)) - (tr.t(*at10) - tr.t(begin));
    }

    std::size_t peakAt = begin;
    for (std::size_t i = begin + 1; i <= end; ++i) {
        if (rising ? tr.mv(i) > tr.mv(peakAt) : tr.mv(i) < tr.mv(peakAt)) {
            peakAt = i;
        }
    }
    s.peak = tr.records[peakAt].field(tr.loop.measuredField);
    s.peakTime = tr.t(peakAt) - tr.t(begin);
    const double beyond = rising ? s.peak - to : to - s.peak;
    s.overshootPercent = beyond > 0 ? beyond / size * 100.0 : 0.0;

    // Walk back from the window's end while the value is inside the band.
    const double band = kSettlingBand * size;
    std::size_t settled = end + 1;
    while (settled > begin && std::fabs(tr.mv(settled - 1) - to) <= band) {
        --settled;
    }
    if (settled <= end) {
        s.settlingTime = tr.t(settled) - tr.t(begin);
    }

    const std::size_t count = end - begin + 1;
    const std::size_t tail = std::max<std::size_t>(1, (count + 9) / 10);
    double sum = 0;
    for (std::size_t i = end + 1 - tail; i <= end; ++i) {
        sum += to - tr.mv(i);
    }
    s.steadyStateError = sum / static_cast<double>(tail);
    return s;
}

SegmentFigures Segment(const Trace& tr, std::size_t first, std::size_t last, double dt)
{
    SegmentFigures seg;
    seg.segment = tr.records[first].segment;
    seg.firstRecord = static_cast<int>(first) + 1;
    seg.lastRecord = static_cast<int>(last) + 1;
    seg.start = tr.t(first);
    seg.end = tr.t(last);

    // A step is a record whose set point differs from the record before it
    // (which may close the previous segment) by more than 2 % of full scale;
    // in the run's first segment record 2 is judged against the measured
    // value instead (the start step, StepFigures).
    const double threshold = kStepShareOfFullScale * tr.loop.fullScale;
    std::vector<std::size_t> steps;
    std::size_t scan = first;
    bool startStep = false;
    if (first == 0 && last >= 1) {
        startStep = std::fabs(tr.sp(1) - tr.mv(1)) > threshold;
        if (startStep) {
            steps.push_back(1);
        }
        scan = 2;
    }
    double previousSp = scan > 0 ? tr.sp(scan - 1) : tr.sp(scan);
    for (std::size_t i = scan; i <= last; ++i) {
        const double sp = tr.sp(i);
        if (std::fabs(sp - previousSp) > threshold) {
            steps.push_back(i);
        }
        previousSp = sp;
    }
    // The sums in a loop of their own, with no call in it, so that they
    // stay in registers.
    double iae = 0;
    double ise = 0;
    double itae = 0;
    double variation = 0;
    for (std::size_t i = first; i <= last; ++i) {
        const double e = tr.sp(i) - tr.mv(i);
        iae += std::fabs(e) * dt;
        ise += e * e * dt;
        itae += (tr.t(i) - seg.start) * std::fabs(e) * dt;
        if (i > first) {
            variation += std::fabs(tr.out(i) - tr.out(i - 1));
        }
    }
    seg.iae = Finite(iae);
    seg.ise = Finite(ise);
    seg.itae = Finite(itae);
    seg.outputTotalVariation = Finite(variation);

    for (std::size_t k = 0; k < steps.size(); ++k) {
        const std::size_t end = k + 1 < steps.size() ? steps[k + 1] - 1 : last;
        const bool start = startStep && k == 0;
        const int fromField = start ? tr.loop.measuredField : tr.loop.setPointField;
        const std::size_t fromRecord = start ? steps[k] : steps[k] - 1;
        seg.steps.push_back(
            StepResponse(tr, steps[k], end, tr.records[fromRecord].field(fromField), start));
    }
    return seg;
}

// Straight-line residuals of y over [begin, end): y minus its least-squares
// line against the index.
std::vector<double> Detrended(const std::vector<double>& y, std::size_t begin, std::size_t end)
{
    const double n = static_cast<double>(end - begin);
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const double x = static_cast<double>(i - begin);
        sx += x;
        sy += y[i];
        sxx += x * x;
        sxy += x * y[i];
    }
    const double denominator = n * sxx - sx * sx;
    const double slope = denominator != 0 ? (n * sxy - sx * sy) / denominator : 0.0;
    const double intercept = (sy - slope * sx) / n;
    std::vector<double> r;
    r.reserve(end - begin);
    for (std::size_t i = begin; i < end; ++i) {
        r.push_back(y[i] - (intercept + slope * static_cast<double>(i - begin)));
    }
    return r;
}

double Swing(const std::vector<double>& r)
{
    const auto [lo, hi] = std::minmax_element(r.begin(), r.end());
    return *hi - *lo;
}

// Zero crossings with a dead band of a tenth of the swing, so that the
// last bits of a settled signal do not count.
int Crossings(const std::vector<double>& r)
{
    const double h = Swing(r) / 10;
    if (h <= 0) {
        return 0;
    }
    int count = 0;
    int side = 0;
    for (double v : r) {
        const int now = v > h ? 1 : (v < -h ? -1 : 0);
        if (now != 0) {
            if (side != 0 && now != side) {
                ++count;
            }
            side = now;
        }
    }
    return count;
}

} // namespace

std::span<const LoopTraces> ControlledLoops(Exercise e)
{
    return ProfileOf(e).loops;
}

std::span<const SampleRecord> LoggedRecords(const SampleLog& log, int sampleCount)
{
    const std::size_t n = static_cast<std::size_t>(std::clamp(sampleCount, 0, kLogRecords));
    return std::span<const SampleRecord>(log.records.data(), n);
}

LoopFigures AnalyseLoop(std::span<const SampleRecord> records, const LoopTraces& loop,
                        float samplePeriod)
{
    LoopFigures figures;
    figures.loop = loop;
    const Trace tr{records, loop};
    const double dt = samplePeriod;
    // A segment is a run of consecutive records with the same number.
    for (const SegmentRun& run : SegmentRuns(records)) {
        figures.segments.push_back(Segment(tr, run.first, run.last, dt));
    }
    return figures;
}

RunFigures AnalyseRun(std::span<const SampleRecord> records, Exercise e, float samplePeriod)
{
    RunFigures run;
    run.exercise = e;
    run.samplePeriod = samplePeriod;
    for (const LoopTraces& loop : ControlledLoops(e)) {
        run.loops.push_back(AnalyseLoop(records, loop, samplePeriod));
    }
    return run;
}

std::optional<bool> JudgeStability(std::span<const SampleRecord> records, const LoopTraces& loop,
                                   const LoopFigures& figures)
{
    if (figures.segments.empty()) {
        return std::nullopt;
    }
    const SegmentFigures& seg = figures.segments.front();
    int first = seg.firstRecord;
    int last = seg.lastRecord;
    if (!seg.steps.empty()) {
        first = seg.steps.front().record;
        last = seg.steps.front().lastRecord;
    }
    const int count = last - first + 1;
    if (count < 32) {
        return std::nullopt;
    }
    // The second half of the stretch as two quarters.
    const std::size_t half = static_cast<std::size_t>(first - 1 + count / 2);
    const std::size_t quarter = (static_cast<std::size_t>(last) - half) / 2;
    const std::size_t mid = half + quarter;
    const std::size_t stop = static_cast<std::size_t>(last);
    std::vector<double> error;
    std::vector<double> setPoint;
    error.reserve(stop - half);
    setPoint.reserve(stop - half);
    for (std::size_t i = half; i < stop; ++i) {
        setPoint.push_back(records[i].field(loop.setPointField));
        error.push_back(setPoint.back() - records[i].field(loop.measuredField));
    }
    const std::size_t split = mid - half;
    const std::vector<double> third = Detrended(error, 0, split);
    const std::vector<double> fourth = Detrended(error, split, error.size());
    const double swing = Swing(fourth);
    const int crossings = Crossings(fourth);
    const int setPointCrossings = Crossings(Detrended(setPoint, split, setPoint.size()));
    const bool oscillating = crossings >= 4 && crossings > 2 * setPointCrossings &&
                             swing > 0.01 * loop.fullScale && swing >= 0.5 * Swing(third);
    return !oscillating;
}

} // namespace velmor
