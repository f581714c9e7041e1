// Program start: the main window first, then the windows that live as long
// as the program (the keypad), hidden.
#pragma once

#include "core/rundata/State.h"

#include <functional>
#include <memory>

namespace velmor {

class Preferences;
class TfrmMain;

std::unique_ptr<TfrmMain> CreateProgram(VelmorState& state, Preferences& preferences);

// The whole desktop program, from its command line to its exit status: the
// application object, the one state, the stored preferences, the windows
// and the event loop. `started` runs once the main window is shown, before
// the event loop (tests drive the real program through it).
int RunProgram(int argc, char** argv, const std::function<void(TfrmMain&)>& started = {});

} // namespace velmor
