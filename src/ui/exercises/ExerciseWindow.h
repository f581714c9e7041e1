// What the shell and the keypad ask of every loop exercise window, and what
// an exercise window asks of the main window.
#pragma once

#include "core/exercises/Exercise.h"

#include <QString>

class QWidget;

namespace velmor {

// The main window as an exercise window sees it.
class MainLink {
public:
    virtual ~MainLink() = default;
    // mnuFile, mnuControl, mnuPreferences and mnuHelp: off while a run goes.
    virtual void setRunMenusEnabled(bool enabled) = 0;
    virtual void setFileNewEnabled(bool enabled) = 0;
    // File > Save and File > Print, with their toolbar buttons.
    virtual void setFileCommandsEnabled(bool enabled) = 0;
    // Check mark of the exercise's Control menu item.
    virtual void setControlItemChecked(Exercise exercise, bool checked) = 0;
    // The "New value" keypad, after the caller has set its variables.
    virtual void showKeypad() = 0;
    virtual void hideKeypad() = 0;
    // A run of the exercise has ended (stopped, finished, or cut short by
    // its window going): the log holds it whole now.
    virtual void runEnded(Exercise /*exercise*/) {}
};

class ExerciseWindow {
public:
    virtual ~ExerciseWindow() = default;
    virtual Exercise exercise() const = 0;
    virtual QWidget* asWidget() = 0;

    // Default settings (window creation and File > New).
    virtual void InitValues() = 0;
    // All texts in the language in force.
    virtual void SetLanguage() = 0;
    // Settings from the settings block after a simulation file was read.
    virtual void UpdateSettings() = 0;
    // Every setting drawn as the state holds it, after they were set there
    // directly (a lab sheet's settings, typed as the keypad would).
    virtual void ShowSettings() = 0;
    // Settings into the settings block.
    virtual void SendSettings() = 0;
    // A value the keypad accepted (in keypadValue) for keypad code `code`.
    virtual void UpdateDisplay(int code) = 0;
    // Ends a run at once, as STOP does (nothing without a run).
    virtual void StopRun() = 0;
};

} // namespace velmor
