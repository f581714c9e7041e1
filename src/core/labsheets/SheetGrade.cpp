#include "core/labsheets/SheetGrade.h"

#include "core/analysis/ResponseFigures.h"
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/ExerciseProfile.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/State.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace velmor {

namespace {

// A run file keeps neither the pump button nor the Auto drain box: it cannot
// say whether the run changed them.
bool KeptInFile(Exercise e, std::string_view name)
{
    const NamedSetting* n = ProfileOf(e).setting(name);
    return n != nullptr && n->kind != SettingKind::Pump && n->kind != SettingKind::Autodrain;
}

bool Differ(std::optional<double> a, std::optional<double> b)
{
    if (!a || !b) {
        return a.has_value() != b.has_value();
    }
    return std::abs(*a - *b) > kLockedTolerance * std::max(std::abs(*a), std::abs(*b));
}

std::optional<double> SegmentFigure(const SegmentFigures& seg, SheetFigure f)
{
    switch (f) {
    case SheetFigure::Iae:
        return seg.iae;
    case SheetFigure::Ise:
        return seg.ise;
    case SheetFigure::Itae:
        return seg.itae;
    case SheetFigure::OutputTotalVariation:
        return seg.outputTotalVariation;
    default:
        return std::nullopt;
    }
}

std::optional<double> StepFigure(const StepFigures& step, SheetFigure f)
{
    switch (f) {
    case SheetFigure::RiseTime:
        return step.riseTime;
    case SheetFigure::Peak:
        return step.peak;
    case SheetFigure::PeakTime:
        return step.peakTime;
    case SheetFigure::OvershootPercent:
        return step.overshootPercent;
    case SheetFigure::SettlingTime:
        return step.settlingTime;
    case SheetFigure::SteadyStateError:
        return step.steadyStateError;
    default:
        return std::nullopt;
    }
}

const SegmentFigures* FindSegment(const LoopFigures& loop, const SheetTarget& t)
{
    if (loop.segments.empty()) {
        return nullptr;
    }
    if (!t.segment) {
        return &loop.segments.back();
    }
    for (const SegmentFigures& seg : loop.segments) {
        if (seg.segment == *t.segment) {
            return &seg;
        }
    }
    return nullptr;
}

TargetGrade GradeTarget(const SheetTarget& t, const RunFigures& figures,
                        std::span<const SampleRecord> records)
{
    TargetGrade g;
    g.target = &t;
    const auto loop = std::find_if(figures.loops.begin(), figures.loops.end(),
                                   [&](const LoopFigures& l) { return l.loop.name == t.loop; });
    if (loop == figures.loops.end()) {
        return g;
    }
    if (t.figure == SheetFigure::Stable) {
        // Judged over the first step of the first segment, as `sweep` does.
        if (!loop->segments.empty()) {
            g.segment = loop->segments.front().segment;
        }
        if (const std::optional<bool> stable = JudgeStability(records, loop->loop, *loop)) {
            g.value = *stable ? 1.0 : 0.0;
            g.passed = *stable == t.equals.value_or(true);
        }
        return g;
    }
    const SegmentFigures* seg = FindSegment(*loop, t);
    g.segment = seg != nullptr ? std::optional(seg->segment) : t.segment;
    if (seg == nullptr) {
        return g;
    }
    if (!IsStepFigure(t.figure)) {
        g.value = SegmentFigure(*seg, t.figure);
    } else if (t.step == 0) {
        if (!seg->steps.empty() && seg->steps.front().start) {
            g.step = 1;
            g.value = StepFigure(seg->steps.front(), t.figure);
        }
    } else {
        g.step = t.step;
        if (static_cast<std::size_t>(t.step) <= seg->steps.size()) {
            g.value = StepFigure(seg->steps[static_cast<std::size_t>(t.step) - 1], t.figure);
        }
    }
    g.passed = g.value && MeetsLimits(t, *g.value);
    return g;
}

std::vector<std::pair<std::string, std::optional<double>>> ValuesOf(VelmorState& s, Exercise e,
                                                                    const LabSheet& sheet)
{
    std::vector<std::pair<std::string, std::optional<double>>> values;
    for (const std::string& name : sheet.locked) {
        if (KeptInFile(e, name)) {
            values.emplace_back(name, SettingValue(s, e, name));
        }
    }
    return values;
}

} // namespace

bool MeetsLimits(const SheetTarget& target, double value)
{
    if (std::isnan(value)) {
        return false;
    }
    return (!target.max || value <= *target.max) && (!target.min || value >= *target.min);
}

SheetValues LockedValues(const LabSheet& sheet)
{
    auto state = std::make_unique<VelmorState>();
    OpenExerciseState(*state, sheet.exercise, true);
    for (const SheetSetting& s : sheet.settings) {
        // The sheet was checked when read: every setting applies.
        ApplySetting(*state, sheet.exercise, s.name, s.value);
    }
    return {ValuesOf(*state, sheet.exercise, sheet)};
}

RunGrade GradeRun(const LabSheet& sheet, const SheetValues& values, const SimFileLoad& run)
{
    RunGrade grade;
    if (run.exercise != sheet.exercise) {
        grade.refused = "the file holds a " + std::string(CommandWord(run.exercise)) +
                        " run, not " + std::string(CommandWord(sheet.exercise));
        return grade;
    }
    grade.shortRun = run.sampleCount < sheet.minRecords;

    if (!values.locked.empty()) {
        auto state = std::make_unique<VelmorState>();
        OpenExerciseState(*state, sheet.exercise, true);
        ApplySimFileSettings(*state, run);
        const auto inFile = ValuesOf(*state, sheet.exercise, sheet);
        for (std::size_t i = 0; i < values.locked.size() && i < inFile.size(); ++i) {
            if (Differ(values.locked[i].second, inFile[i].second)) {
                grade.changedLocked.push_back(values.locked[i].first);
            }
        }
    }

    const std::span<const SampleRecord> records(
        run.records.data(),
        std::min(run.records.size(), static_cast<std::size_t>(std::max(run.sampleCount, 0))));
    // Files do not carry the sample period; every exercise runs at the default.
    const RunFigures figures = AnalyseRun(records, run.exercise, RunState{}.samplePeriod);
    bool all = true;
    for (const SheetTarget& t : sheet.targets) {
        TargetGrade g = GradeTarget(t, figures, records);
        // A short run meets no target, whatever its figures.
        g.passed = g.passed && !grade.shortRun;
        all = all && g.passed;
        grade.targets.push_back(g);
    }
    grade.passed = all && !grade.shortRun && grade.changedLocked.empty();
    return grade;
}

RunGrade GradeRun(const LabSheet& sheet, const SimFileLoad& run)
{
    return GradeRun(sheet, LockedValues(sheet), run);
}

} // namespace velmor
