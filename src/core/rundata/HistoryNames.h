// Names of the runs kept in the run history: the local date and time a run
// ended and its exercise, "2026-12-09_14-05-33_flow.psm", with "_2", "_3",
// ... when runs of one exercise end in the same second, and the lab sheet
// the run was made for, when one was open: "..._flow_flow-step-tuning.psm".
// The history owns only the names of this shape; anything else in its
// folder is left alone.
#pragma once

#include "core/exercises/Exercise.h"

#include <compare>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// The newest runs the history keeps; older ones go when a new one is kept.
inline constexpr std::size_t kHistoryRuns = 200;

// Local time of the end of a run, to the second.
struct HistoryStamp {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;  // 0..23
    int minute = 0;
    int second = 0; // 0..60 (a leap second)
    auto operator<=>(const HistoryStamp&) const = default;
};

struct HistoryName {
    HistoryStamp stamp;
    Exercise exercise = Exercise::Flow;
    int copy = 1; // 1: no suffix; n >= 2: "_n"
    // The lab sheet's label (SheetLabel), or empty.
    std::string sheet{};
    bool operator==(const HistoryName&) const = default;
};

std::string HistoryFileName(const HistoryName& name);

// The name's parts when it has exactly the history's shape (digits, ranges,
// exercise word, optional suffix from 2, ".psm"); nothing otherwise.
std::optional<HistoryName> ParseHistoryFileName(std::string_view fileName);

// Newest first: later stamp, then higher copy number, then exercise order.
bool NewerRun(const HistoryName& a, const HistoryName& b);

// The first name for `stamp` and `exercise` (and the sheet label `sheet`)
// that `taken` does not hold.
std::string FreeHistoryFileName(const HistoryStamp& stamp, Exercise exercise,
                                std::span<const std::string> taken, std::string_view sheet = {});

// A lab sheet's file name as a run name carries it: its name without the
// extension, cut to 40 characters, lower case, every character other than
// a-z, 0-9 and "-" as "-", from its first letter on (so that it cannot be
// told for a copy number); empty when it holds no letter.
std::string SheetLabel(std::string_view sheetFileName);

// Of the names in a folder, those of the history's shape beyond the newest
// `keep`, newest first. Foreign names are never among them, nor `justKept`
// (a clock put back must not cost the run just written).
std::vector<std::string> HistoryNamesToRemove(std::span<const std::string> names,
                                              std::size_t keep = kHistoryRuns,
                                              std::string_view justKept = {});

} // namespace velmor
