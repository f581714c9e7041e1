// Program start: the main window first, then the windows that live as long
// as the program (the keypad), hidden.
#pragma once

#include "core/rundata/State.h"

#include <memory>

namespace velmor {

class Preferences;
class TfrmMain;

std::unique_ptr<TfrmMain> CreateProgram(VelmorState& state, Preferences& preferences);

} // namespace velmor
