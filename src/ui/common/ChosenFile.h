// A simulation file the user chose, read and checked for the exercise that
// is open but not applied: what File > Open and the Analysis menu's
// comparison both read, with the reader's message as the user sees it.
#pragma once

#include "core/rundata/SimFileReader.h"
#include "core/rundata/State.h"

#include <QString>

#include <optional>

namespace velmor {

// The load, or the reader's message for the user.
struct ChosenFile {
    std::optional<SimFileLoad> load;
    QString refusal;
};
ChosenFile ReadChosenFile(const QString& path, const ShellState& shell);

} // namespace velmor
