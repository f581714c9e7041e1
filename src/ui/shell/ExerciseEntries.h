// The exercises as the shell offers them, one row each in menu order: the
// window that opens, the Control menu item, the pop-up item, the toolbar
// button and the easy menu's button. The main window and the easy menu
// screen build their items from these rows; the core side of a loop
// exercise (its profile) is registered apart, in ExerciseProfile.h.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/State.h"

#include <QIcon>
#include <QString>

#include <optional>
#include <span>

namespace velmor {

class LoopWindow;
class MainLink;
class TfrmGraph;

using LoopWindowMaker = LoopWindow* (*)(VelmorState& state, TfrmGraph* graph, MainLink* main);

struct ExerciseEntry {
    // The mimic's window name; a loop exercise's is its profile's (FormName).
    const char* form;
    std::optional<Exercise> exercise; // the loop exercise; none for the mimic
    LoopWindowMaker makeWindow;       // a loop exercise's window (null: not in this program)
    QIcon (*icon)();                  // the toolbar button's picture
    // Object names and English source texts. The Control menu item's
    // caption (context "TfrmMain") also makes the toolbar button's hint.
    const char* menuItem;
    const char* menuCaption;
    const char* popItem;
    const char* popCaption;      // context "TfrmMain"
    const char* button;          // the toolbar's and the easy menu's button
    const char* easyCaption;     // context "TfrmMenu"
    const char* historyTitle;    // the run history's name of it, context "RunHistoryWindow"
    bool separatorAfter = false; // the Control menu and the pop-up part here
};

// The window name Start takes for the row: "frmManual", "frmFlow", ...
QString FormOf(const ExerciseEntry& entry);

// Every row: the built-in ones, then those registered beside them.
std::span<const ExerciseEntry* const> ExerciseEntries();
const ExerciseEntry* ExerciseEntryNamed(const QString& form);
const ExerciseEntry* ExerciseEntryFor(Exercise exercise);

// Whether the program offers it: the mimic always, a loop exercise when the
// program has its window.
bool Offered(const ExerciseEntry& entry);

// Adds a row after the others (for windows made from then on); the row must
// live as long as it is registered. A row with the form name of another is
// refused (false).
bool RegisterExerciseEntry(const ExerciseEntry& entry);
// Takes a registered row out again; the built-in rows stay.
void UnregisterExerciseEntry(const ExerciseEntry& entry);

} // namespace velmor
