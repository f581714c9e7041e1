// The exercises by id and by name, and the registry of their profiles: the
// five built-in rows of ExerciseProfile.cpp, then those registered beside them.
#include "core/exercises/Exercise.h"

#include "core/exercises/ExerciseProfile.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace velmor {

namespace {

// The five, then those registered beside them. Filled before any run
// starts and only read afterwards (sweeps read it on several threads).
std::vector<const ExerciseProfile*>& Registry()
{
    static std::vector<const ExerciseProfile*> registry = [] {
        std::vector<const ExerciseProfile*> all;
        for (const ExerciseProfile& p : BuiltInProfiles()) {
            all.push_back(&p);
        }
        return all;
    }();
    return registry;
}

} // namespace

const ExerciseProfile* FindProfile(Exercise e)
{
    const auto index = static_cast<std::size_t>(e);
    if (index < BuiltInProfiles().size()) {
        return &BuiltInProfiles()[index];
    }
    for (const ExerciseProfile* p : Registry()) {
        if (p->exercise == e) {
            return p;
        }
    }
    return nullptr;
}

const ExerciseProfile& ProfileOf(Exercise e)
{
    if (const ExerciseProfile* p = FindProfile(e)) {
        return *p;
    }
    throw std::out_of_range("no exercise is registered with id " +
                            std::to_string(static_cast<int>(e)));
}

std::span<const ExerciseProfile* const> Profiles()
{
    return Registry();
}

std::string_view FileWord(const ExerciseProfile& p)
{
    return p.firstLine.substr(0, p.firstLine.find(' '));
}

std::string RegisterExercise(const ExerciseProfile& profile)
{
    for (const ExerciseProfile* p : Registry()) {
        if (p->exercise == profile.exercise) {
            return "the exercise id " + std::to_string(static_cast<int>(profile.exercise)) +
                   " is taken by " + std::string(p->commandWord);
        }
        if (p->formName == profile.formName || p->commandWord == profile.commandWord ||
            FileWord(*p) == FileWord(profile)) {
            return "the names of " + std::string(profile.commandWord) + " are taken by " +
                   std::string(p->commandWord);
        }
    }
    Registry().push_back(&profile);
    return {};
}

void UnregisterExercise(Exercise e)
{
    if (static_cast<std::size_t>(e) < BuiltInProfiles().size()) {
        return; // built in
    }
    std::vector<const ExerciseProfile*>& all = Registry();
    all.erase(std::remove_if(all.begin(), all.end(),
                             [e](const ExerciseProfile* p) { return p->exercise == e; }),
              all.end());
}

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
