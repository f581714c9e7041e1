#include "core/exercises/ExerciseProfile.h"

#include "core/exercises/ProfileRows.h"

namespace velmor {

const KeypadBox* ExerciseProfile::box(int code) const
{
    for (const KeypadBox& b : boxes) {
        if (b.code == code) {
            return &b;
        }
    }
    return nullptr;
}

const NamedSetting* ExerciseProfile::setting(std::string_view name) const
{
    for (const NamedSetting& n : settingNames) {
        if (n.name == name) {
            return &n;
        }
    }
    return nullptr;
}

std::span<const ExerciseProfile> BuiltInProfiles()
{
    // In the order of the Exercise enumeration: the registry finds a
    // built-in row by its id as an index. The rows are constant-initialised
    // in their own files, so copying them here on first use is safe.
    static const std::array<ExerciseProfile, 5> profiles{kFlowProfile, kLevelProfile, kOpenProfile,
                                                         kTemperatureProfile, kBatchProfile};
    return profiles;
}

} // namespace velmor
