// A run marked against a lab sheet: which targets its response figures meet,
// whether it kept the sheet's locked settings and ran long enough. The
// figures are those of AnalyseRun, so a grade can be checked against what
// `velmor-sim analyse` prints for the same file.
#pragma once

#include "core/labsheets/LabSheet.h"
#include "core/rundata/SimFileReader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmor {

struct TargetGrade {
    const SheetTarget* target = nullptr; // into the sheet graded against
    // The segment and step the figure was taken from, as `analyse` numbers
    // them (step: its place in the segment, from 1); absent when the run has
    // no such segment or step.
    std::optional<std::int32_t> segment;
    std::optional<int> step;
    std::optional<double> value; // absent when it cannot be computed
    bool passed = false;
};

struct RunGrade {
    bool passed = false;
    // Why the run was not graded at all (a run of another exercise); the
    // rest is then empty.
    std::string refused;
    bool shortRun = false;                  // fewer records than the sheet's minRecords
    std::vector<std::string> changedLocked; // locked names the run holds another value of
    std::vector<TargetGrade> targets;       // in the sheet's order
};

// Two values of a setting differ when they are further apart than this
// share of the larger; a value read back through a file's float is not a
// change.
inline constexpr double kLockedTolerance = 1e-6;

// The settings as the sheet leaves the exercise, by name: what a locked
// value is compared with. Work it out once per sheet.
struct SheetValues {
    std::vector<std::pair<std::string, std::optional<double>>> locked;
};
SheetValues LockedValues(const LabSheet& sheet);

// Grades a run (a simulation file as read) against the sheet. `values`
// from LockedValues(sheet).
RunGrade GradeRun(const LabSheet& sheet, const SheetValues& values, const SimFileLoad& run);
RunGrade GradeRun(const LabSheet& sheet, const SimFileLoad& run);

// Whether a value meets a target's limits (both inclusive).
bool MeetsLimits(const SheetTarget& target, double value);

} // namespace velmor
