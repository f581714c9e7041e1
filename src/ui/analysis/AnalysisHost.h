// The main window as the Analysis menu sees it: the menu owns this
// interface and the main window implements it, so analysis needs nothing of
// the shell.
#pragma once

#include <QString>

#include <functional>

namespace velmor {

class ExerciseWindow;
class TfrmGraph;

// The open exercise and its Trends window, and a way to open Flow.
class AnalysisHost {
public:
    virtual ~AnalysisHost() = default;
    virtual ExerciseWindow* exerciseWindow() const = 0;
    virtual TfrmGraph* graphWindow() const = 0;
    // The Trends window shows a finished run or an opened file.
    virtual bool trendShowsRun() const = 0;
    // Opens the exercise window `name` (its form name).
    virtual void Start(const QString& name, bool fresh) = 0;
    // Runs `action` once, with the window, when the next loop exercise
    // window has opened.
    virtual void whenLoopWindowOpens(std::function<void(ExerciseWindow*)> action) = 0;
    // The keypad goes (the menu has entered values as the keypad does).
    virtual void hideKeypad() = 0;
    // A lab sheet is open, and its panel shown again (after its close box).
    virtual bool labSheetOpen() const { return false; }
    virtual void showLabSheet() {}
};

} // namespace velmor
