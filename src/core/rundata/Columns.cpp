#include "core/rundata/Columns.h"

#include "core/exercises/ExerciseProfile.h"

namespace velmor {

std::span<const Column> KnownColumns()
{
    return kKnownColumns;
}

std::optional<int> FieldOfColumn(std::string_view name)
{
    for (const Column& c : kKnownColumns) {
        if (c.name == name) {
            return c.field;
        }
    }
    return std::nullopt;
}

std::span<const Column> ExerciseColumns(Exercise e)
{
    return ProfileOf(e).columns;
}

std::string_view FirstLine(Exercise e)
{
    return ProfileOf(e).firstLine;
}

} // namespace velmor
