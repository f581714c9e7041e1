#include "core/exercises/Exercise.h"

#include <array>

namespace velmor {

namespace {

struct Names {
    Exercise exercise;
    std::string_view form;
    std::string_view word;
    int span;
};

constexpr std::array<Names, 5> kNames{{
    {Exercise::Flow, "frmFlow", "flow", 60},
    {Exercise::Level, "frmLevel", "level", 120},
    {Exercise::Open, "frmOpen", "open", 60},
    {Exercise::Temperature, "frmTemperature", "temperature", 120},
    {Exercise::Batch, "frmBatch", "batch", 180},
}};

const Names& Find(Exercise e)
{
    for (const Names& n : kNames) {
        if (n.exercise == e) {
            return n;
        }
    }
    return kNames[0];
}

} // namespace

std::string_view FormName(Exercise e)
{
    return Find(e).form;
}

std::optional<Exercise> ExerciseFromForm(std::string_view formName)
{
    for (const Names& n : kNames) {
        if (n.form == formName) {
            return n.exercise;
        }
    }
    return std::nullopt;
}

std::string_view CommandWord(Exercise e)
{
    return Find(e).word;
}

std::optional<Exercise> ExerciseFromCommandWord(std::string_view word)
{
    for (const Names& n : kNames) {
        if (n.word == word) {
            return n.exercise;
        }
    }
    return std::nullopt;
}

int DefaultTrendSpan(Exercise e)
{
    return Find(e).span;
}

} // namespace velmor
