// Program start: the command line, then the main window first and the
// windows that live as long as the program (the about box, the keypad, the
// intro screen and the preferences window), in that order.
#pragma once

#include "core/rundata/State.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace velmor {

class Preferences;
class TfrmMain;

struct StartOptions {
    // The intro screen (the real program has it; most tests go without).
    bool intro = false;
    // Where the run history keeps runs; empty: no history at all (the
    // program passes the user's data folder, tests a folder of their own).
    QString historyFolder{};
    // The mimic's clock (steady-clock milliseconds); empty: the steady
    // clock. The picture tools stop it, so that the rig stands still.
    std::function<std::int64_t()> mimicClock{};
};

std::unique_ptr<TfrmMain> CreateProgram(VelmorState& state, Preferences& preferences,
                                        const StartOptions& options = {});

// The whole desktop program, from its command line to its exit status: the
// application object, the one state, the stored preferences, the windows
// and the event loop. `started` runs once the main window is shown, before
// the event loop (tests drive the real program through it). --help and
// --version answer without opening a window (no display is needed).
int RunProgram(int argc, char** argv, const std::function<void(TfrmMain&)>& started = {});

} // namespace velmor
