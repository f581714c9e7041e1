#include "ui/shell/ProgramStart.h"

#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmMain.h"

namespace velmor {

std::unique_ptr<TfrmMain> CreateProgram(VelmorState& state, Preferences& preferences)
{
    auto main = std::make_unique<TfrmMain>(state, preferences);
    // The keypad is a tool window of the frame: it stays above it and goes
    // with it at the end.
    auto* keypad = new TfrmCalculator(state, main.get());
    keypad->hide();
    main->setKeypad(keypad);
    return main;
}

} // namespace velmor
