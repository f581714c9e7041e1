#include "core/analysis/RunSummary.h"

#include "core/analysis/ResponseFigures.h"

#include <set>

namespace velmor {

namespace {

struct ControllerFields {
    int pg;
    int i;
    int d;
};

ControllerFields FieldsOf(LoopKind loop)
{
    switch (loop) {
    case LoopKind::Flow:
        return {kFieldFlowPG, kFieldFlowI, kFieldFlowD};
    case LoopKind::Temperature:
        return {kFieldTempPG, kFieldTempI, kFieldTempD};
    case LoopKind::Volume:
        return {kFieldVolPG, kFieldVolI, kFieldVolD};
    case LoopKind::Level:
        return {kFieldLevelPG, kFieldLevelI, kFieldLevelD};
    }
    return {kFieldFlowPG, kFieldFlowI, kFieldFlowD};
}

} // namespace

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
    const ControllerFields fields = FieldsOf(loops.front().loop);
    const SampleRecord& first = records.front();
    summary.controller = RunSummary::Controller{first.field(fields.pg), first.field(fields.i),
                                                first.field(fields.d)};

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
