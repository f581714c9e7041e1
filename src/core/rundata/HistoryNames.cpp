#include "core/rundata/HistoryNames.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace velmor {

namespace {

constexpr std::string_view kExtension = ".psm";

// Exactly `width` decimal digits at `at`, within [low, high].
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t width, int low,
                          int high)
{
    if (at + width > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t k = at; k < at + width; ++k) {
        if (text[k] < '0' || text[k] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[k] - '0');
    }
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string HistoryFileName(const HistoryName& name)
{
    const HistoryStamp& s = name.stamp;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d_%02d-%02d-%02d_", s.year, s.month, s.day,
                  s.hour, s.minute, s.second);
    std::string text = stamp;
    text += CommandWord(name.exercise);
    if (name.copy >= 2) {
        text += '_';
        text += std::to_string(name.copy);
    }
    if (!name.sheet.empty()) {
        text += '_';
        text += name.sheet;
    }
    text += kExtension;
    return text;
}

std::optional<HistoryName> ParseHistoryFileName(std::string_view name)
{
    // "yyyy-MM-dd_HH-mm-ss_" is 20 characters.
    constexpr std::size_t kStampLength = 20;
    if (name.size() <= kStampLength + kExtension.size() || !name.ends_with(kExtension)) {
        return std::nullopt;
    }
    const auto at = [&](std::size_t k, char c) { return name[k] == c; };
    if (!at(4, '-') || !at(7, '-') || !at(10, '_') || !at(13, '-') || !at(16, '-') ||
        !at(19, '_')) {
        return std::nullopt;
    }
    const auto year = Digits(name, 0, 4, 1, 9999);
    const auto month = Digits(name, 5, 2, 1, 12);
    const auto day = Digits(name, 8, 2, 1, 31);
    const auto hour = Digits(name, 11, 2, 0, 23);
    const auto minute = Digits(name, 14, 2, 0, 59);
    const auto second = Digits(name, 17, 2, 0, 60);
    if (!year || !month || !day || !hour || !minute || !second) {
        return std::nullopt;
    }
    std::string_view rest =
        name.substr(kStampLength, name.size() - kStampLength - kExtension.size());
    HistoryName parsed;
    parsed.stamp = {*year, *month, *day, *hour, *minute, *second};
    // The sheet's label last: it starts with a letter, a copy number does not.
    if (const std::size_t last = rest.rfind('_'); last != std::string_view::npos) {
        const std::string_view label = rest.substr(last + 1);
        if (!label.empty() && label.front() >= 'a' && label.front() <= 'z') {
            if (SheetLabel(label) != label) {
                return std::nullopt;
            }
            parsed.sheet = std::string(label);
            rest = rest.substr(0, last);
        }
    }
    if (const std::size_t underscore = rest.find('_'); underscore != std::string_view::npos) {
        const std::string_view number = rest.substr(underscore + 1);
        // A copy number is 2 or more, written without leading zeros.
        if (number.empty() || number.size() > 6 || number.front() < '1' || number.front() > '9') {
            return std::nullopt;
        }
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), parsed.copy);
        if (error != std::errc() || end != number.data() + number.size() || parsed.copy < 2) {
            return std::nullopt;
        }
        rest = rest.substr(0, underscore);
    }
    const std::optional<Exercise> exercise = ExerciseFromCommandWord(rest);
    if (!exercise) {
        return std::nullopt;
    }
    parsed.exercise = *exercise;
    return parsed;
}

std::string SheetLabel(std::string_view sheetFileName)
{
    if (const std::size_t dot = sheetFileName.rfind('.'); dot != std::string_view::npos) {
        sheetFileName = sheetFileName.substr(0, dot);
    }
    constexpr std::size_t kMaxLabel = 40;
    std::string label;
    for (char c : sheetFileName.substr(0, kMaxLabel)) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        const bool kept = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
        label += kept ? c : '-';
    }
    // From its first letter: a label never starts like a copy number.
    const std::size_t letter = label.find_first_of("abcdefghijklmnopqrstuvwxyz");
    return letter == std::string::npos ? std::string() : label.substr(letter);
}

bool NewerRun(const HistoryName& a, const HistoryName& b)
{
    if (a.stamp != b.stamp) {
        return a.stamp > b.stamp;
    }
    if (a.copy != b.copy) {
        return a.copy > b.copy;
    }
    return a.exercise > b.exercise;
}

std::string FreeHistoryFileName(const HistoryStamp& stamp, Exercise exercise,
                                std::span<const std::string> taken, std::string_view sheet)
{
    for (int copy = 1;; ++copy) {
        std::string name = HistoryFileName({stamp, exercise, copy, std::string(sheet)});
        if (std::find(taken.begin(), taken.end(), name) == taken.end()) {
            return name;
        }
    }
}

std::vector<std::string> HistoryNamesToRemove(std::span<const std::string> names, std::size_t keep,
                                              std::string_view justKept)
{
    std::vector<std::pair<HistoryName, std::string>> ours;
    bool keptSeen = false;
    for (const std::string& name : names) {
        if (!justKept.empty() && name == justKept) {
            keptSeen = true;
            continue;
        }
        if (const std::optional<HistoryName> parsed = ParseHistoryFileName(name)) {
            ours.emplace_back(*parsed, name);
        }
    }
    if (keptSeen && ParseHistoryFileName(justKept)) {
        keep = keep > 0 ? keep - 1 : 0;
    }
    if (ours.size() <= keep) {
        return {};
    }
    std::sort(ours.begin(), ours.end(),
              [](const auto& a, const auto& b) { return NewerRun(a.first, b.first); });
    std::vector<std::string> removed;
    for (std::size_t k = keep; k < ours.size(); ++k) {
        removed.push_back(ours[k].second);
    }
    return removed;
}

} // namespace velmor
