#include "core/analysis/RunSummary.h"

#include "core/analysis/ResponseFigures.h"

#include <set>

namespace velmor {

RunSummary SummariseRun(std::span<const SampleRecord> records, Exercise e,
                        const SimSettings& settings, float samplePeriod)
{
    RunSummary summary;
    summary.exercise = e;
    summary.records = static_cast<int>(records.size());
    if (e == Exercise::Open) {
        summary.waveform = settings.waveformType;
        summary.waveA = settings.openA;
        summary.waveB = settings.openB;
        summary.waveC = settings.openC;
    }
    if (records.empty()) {
        return summary;
    }
    summary.duration = records.back().time - records.front().time;
    std::set<std::int32_t> segments;
    for (const SampleRecord& r : records) {
        segments.insert(r.segment);
    }
    summary.segments = static_cast<int>(segments.size());

    const std::span<const LoopTraces> loops = ControlledLoops(e);
    if (loops.empty()) {
        return summary;
    }
    const LoopTraces& loop = loops.front();
    const SampleRecord& first = records.front();
    summary.controller =
        RunSummary::Controller{first.field(loop.gainField), first.field(loop.integralField),
                               first.field(loop.derivativeField)};

    const LoopFigures figures = AnalyseLoop(records, loops.front(), samplePeriod);
    for (const SegmentFigures& segment : figures.segments) {
        if (!segment.steps.empty()) {
            summary.overshootPercent = segment.steps.front().overshootPercent;
            summary.iae = segment.iae;
            return summary;
        }
    }
    if (!figures.segments.empty()) {
        summary.iae = figures.segments.front().iae;
    }
    return summary;
}

} // namespace velmor
