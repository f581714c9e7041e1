// A lab sheet: a teacher's task as a file (.vlab, JSON in UTF-8). It names
// an exercise, the settings it opens with and which of them the student may
// not change, the shortest run that counts, and the targets a run's response
// figures must meet. docs/lab-sheets.md is the teachers' description.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/WholeFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// The figures a target can name: those `velmor-sim analyse` prints per
// segment and per step, and the stability judgement of `sweep`.
enum class SheetFigure {
    Iae,
    Ise,
    Itae,
    OutputTotalVariation,
    RiseTime,
    Peak,
    PeakTime,
    OvershootPercent,
    SettlingTime,
    SteadyStateError,
    Stable,
};

std::string_view FigureName(SheetFigure f);
std::optional<SheetFigure> FigureFromName(std::string_view name);
// Figures of one step (the rest are of a whole segment, or Stable).
bool IsStepFigure(SheetFigure f);

// A text in both languages; either may be empty (not given).
struct SheetText {
    std::string en;
    std::string es;
    // The text in the language asked for ("en", "es"), the other one when
    // that one is missing.
    const std::string& in(std::string_view language) const;
};

struct SheetTarget {
    std::string loop; // a loop of the exercise: "flow", "temperature", ...
    SheetFigure figure = SheetFigure::Iae;
    // The segment by its number (as `analyse` numbers them); absent: the
    // last segment of the run, the one in force when it ended.
    std::optional<std::int32_t> segment;
    // Step figures: the step by its place in the segment, from 1 (the start
    // step counts); 0 means the start step and only it.
    int step = 1;
    std::optional<double> max;  // inclusive
    std::optional<double> min;  // inclusive
    std::optional<bool> equals; // Stable only
};

// A setting as the sheet gives it, in the sheet's order (the order matters:
// a waveform's rows can be set only once the waveform is chosen).
struct SheetSetting {
    std::string name;
    std::string value; // as typed on the keypad: "1.5", "4"
};

struct LabSheet {
    SheetText title;
    SheetText instructions;
    Exercise exercise = Exercise::Flow;
    std::vector<SheetSetting> settings;
    std::vector<std::string> locked; // names from `settings`
    int minRecords = 0;
    std::vector<SheetTarget> targets;

    bool isLocked(std::string_view name) const;
};

struct LabSheetResult {
    std::optional<LabSheet> sheet;
    // When refused: one line naming the key and the fault,
    // `targets[2].figure: "overshot" is not a figure`.
    std::string error;
    bool ok() const { return sheet.has_value(); }
};

// No sheet comes near this; a larger file is not one.
inline constexpr std::uint64_t kMaxLabSheetBytes = std::uint64_t{1} << 20;

// The sheet in `text` (UTF-8 JSON), checked whole: every setting against the
// exercise's limits and applied in order to the exercise as it opens, every
// target against the exercise's loops. Refused with the first fault found.
LabSheetResult ReadLabSheetText(std::string_view text);

// The file at `path`: `read` says why its bytes could not be read (not a
// regular file, too large, the system's reason); otherwise the sheet or
// the reason it was refused.
struct LabSheetFileResult {
    ReadResult read;
    LabSheetResult sheet;
};
LabSheetFileResult ReadLabSheetFile(const std::string& path);

} // namespace velmor
