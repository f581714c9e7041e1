// Runs made through an exercise window of the real main window, as a
// student makes them: values typed into the keypad, START, changes in the
// pacing waits, STOP. The pace is set to nothing so a run takes no longer
// than its cycles.
#pragma once

#include "MainItems.h"

#include "ui/exercises/LoopWindow.h"
#include "ui/shell/ExerciseEntries.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmMain.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <chrono>
#include <functional>
#include <map>

namespace velmor::test {

// The Control menu item of an exercise.
inline QAction* ControlItem(const TfrmMain& m, Exercise e)
{
    return Item(m, ExerciseEntryFor(e)->menuItem);
}

inline LoopWindow* OpenLoopWindow(const TfrmMain& m)
{
    return dynamic_cast<LoopWindow*>(m.exerciseWindow());
}

// Waits until the exercise's window is up (after the switch's wait when
// another one was open) and takes the pace off its runs; null if it does
// not come.
inline LoopWindow* OpenedWindow(const TfrmMain& m, Exercise e)
{
    if (!QTest::qWaitFor(
            [&] {
                return !m.switching() && m.exerciseWindow() != nullptr &&
                       m.exerciseWindow()->exercise() == e;
            },
            5000)) {
        return nullptr;
    }
    LoopWindow* window = OpenLoopWindow(m);
    window->driver()->setInterval(std::chrono::milliseconds(0));
    return window;
}

// Chooses the exercise from the Control menu, then as OpenedWindow.
inline LoopWindow* ChooseExercise(TfrmMain& m, Exercise e)
{
    ControlItem(m, e)->trigger();
    return OpenedWindow(m, e);
}

// Clicks a value box and types `value` into the keypad, then OK.
inline void EnterValue(TfrmMain& m, LoopWindow* window, int code, const QString& value)
{
    window->imgPGClick(code);
    m.keypad()->txtValue->setText(value);
    m.keypad()->btnOK->click();
}

// START, `atRecord` actions in the pacing wait after that record, STOP
// after record `stopAt` (or the run's own end). False if it never ends.
inline bool RunInWindow(const VelmorState& state, LoopWindow* window, int stopAt,
                        const std::map<int, std::function<void()>>& atRecord = {})
{
    const QMetaObject::Connection c =
        QObject::connect(window->driver(), &RunDriver::cycled, window, [&] {
            const int n = state.run.sampleCount;
            if (auto it = atRecord.find(n); it != atRecord.end()) {
                it->second();
            }
            if (n == stopAt) {
                window->btnStop->click();
            }
        });
    QSignalSpy ended(window->driver(), &RunDriver::finished);
    window->btnStart->click();
    const bool done = !ended.isEmpty() || ended.wait(60000);
    QObject::disconnect(c);
    return done;
}

} // namespace velmor::test
