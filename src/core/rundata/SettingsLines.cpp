#include "core/rundata/SettingsLines.h"

#include "core/exercises/ExerciseProfile.h"

namespace velmor {

std::span<const SettingLine> SettingsLines(Exercise e)
{
    return ProfileOf(e).settingsLines;
}

} // namespace velmor
