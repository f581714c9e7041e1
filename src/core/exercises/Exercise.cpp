#include "core/exercises/Exercise.h"

#include "core/exercises/ExerciseProfile.h"

namespace velmor {

namespace {

template <typename Matches> std::optional<Exercise> FindExercise(Matches matches)
{
    for (const ExerciseProfile* p : Profiles()) {
        if (matches(*p)) {
            return p->exercise;
        }
    }
    return std::nullopt;
}

} // namespace

std::string_view FormName(Exercise e)
{
    return ProfileOf(e).formName;
}

std::optional<Exercise> ExerciseFromForm(std::string_view formName)
{
    return FindExercise([formName](const ExerciseProfile& p) { return p.formName == formName; });
}

std::string_view CommandWord(Exercise e)
{
    return ProfileOf(e).commandWord;
}

std::optional<Exercise> ExerciseFromCommandWord(std::string_view word)
{
    return FindExercise([word](const ExerciseProfile& p) { return p.commandWord == word; });
}

std::optional<Exercise> ExerciseFromFileWord(std::string_view word)
{
    return FindExercise([word](const ExerciseProfile& p) { return FileWord(p) == word; });
}

int DefaultTrendSpan(Exercise e)
{
    return ProfileOf(e).trendSpan;
}

std::vector<Exercise> Exercises()
{
    std::vector<Exercise> all;
    for (const ExerciseProfile* p : Profiles()) {
        all.push_back(p->exercise);
    }
    return all;
}

} // namespace velmor
