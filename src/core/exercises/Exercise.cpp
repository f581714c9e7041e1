#include "core/exercises/Exercise.h"

#include "core/exercises/ExerciseProfile.h"

namespace velmor {

std::string_view FormName(Exercise e)
{
    return ProfileOf(e).formName;
}

std::optional<Exercise> ExerciseFromForm(std::string_view formName)
{
    for (const ExerciseProfile& p : Profiles()) {
        if (p.formName == formName) {
            return p.exercise;
        }
    }
    return std::nullopt;
}

std::string_view CommandWord(Exercise e)
{
    return ProfileOf(e).commandWord;
}

std::optional<Exercise> ExerciseFromCommandWord(std::string_view word)
{
    for (const ExerciseProfile& p : Profiles()) {
        if (p.commandWord == word) {
            return p.exercise;
        }
    }
    return std::nullopt;
}

int DefaultTrendSpan(Exercise e)
{
    return ProfileOf(e).trendSpan;
}

} // namespace velmor
