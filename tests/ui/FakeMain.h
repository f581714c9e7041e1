// The main window as an exercise window sees it, recording what it is
// asked: for the window tests that run a window on its own.
#pragma once

#include "ui/exercises/ExerciseWindow.h"

namespace velmor::test {

struct FakeMain : MainLink {
    bool runMenus = true;
    bool fileNew = false;
    bool fileCommands = false;
    bool checked = true; // the exercise's Control menu check mark
    int keypadShows = 0;
    int keypadHides = 0;
    void setRunMenusEnabled(bool enabled) override { runMenus = enabled; }
    void setFileNewEnabled(bool enabled) override { fileNew = enabled; }
    void setFileCommandsEnabled(bool enabled) override { fileCommands = enabled; }
    void setControlItemChecked(Exercise, bool on) override { checked = on; }
    void showKeypad() override { ++keypadShows; }
    void hideKeypad() override { ++keypadHides; }
};

} // namespace velmor::test
