// A tour of every window, driven as a user drives the program: through the
// menus in their order and the windows' own buttons, so that it keeps
// working while the code behind them changes. The same steps give the same
// pixels: each run goes cycle after cycle without pacing and stops at a fixed
// record, whatever the machine's speed.
//
// velmor-windowshots takes a picture of every window at each step; the
// language test takes one at each step before and after switching language.
#pragma once

#include "core/exercises/Exercise.h"
#include "ui/analysis/AnalysisMenu.h"
#include "ui/analysis/TuningMapWindow.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/exercises/RunDriver.h"
#include "ui/mimic/TfrmManual.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/LabSheetSession.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmMain.h"
#include "ui/shell/TfrmPrefs.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest/QTest>

#include <cstdio>
#include <functional>
#include <utility>

namespace velmor::tools {

// Records in each run before STOP.
inline constexpr int kTourRunRecords = 300;

// A window's name in a picture's file name: its object name, else its class.
inline QString WindowName(const QWidget* w)
{
    if (!w->objectName().isEmpty()) {
        return w->objectName();
    }
    const QString name = QString::fromLatin1(w->metaObject()->className());
    return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
}

// Every window on screen, named: the whole frame ("frame"), each exercise
// window inside it, and each window of its own (menus aside).
inline QList<std::pair<QString, QImage>> WindowPictures(TfrmMain& m)
{
    // What the events so far and the timers come due have set off: also
    // the layouts that a timer's change asks for (a list fitted to its
    // words), so that no picture shows a window half laid out.
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    const auto picture = [](QWidget* w) {
        return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    QList<std::pair<QString, QImage>> pictures{{QStringLiteral("frame"), picture(&m)}};
    for (QMdiSubWindow* sub : m.findChild<QMdiArea*>()->subWindowList()) {
        if (sub->isVisible() && sub->widget() != nullptr) {
            pictures.append({WindowName(sub->widget()), picture(sub)});
        }
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != &m && window->isVisible() && qobject_cast<QMenu*>(window) == nullptr) {
            pictures.append({WindowName(window), picture(window)});
        }
    }
    return pictures;
}

// Closes the windows of their own (about box, dialogs) that are open.
inline void CloseOthers(const TfrmMain& m)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != &m && window->isVisible()) {
            window->close();
        }
    }
}

// Waits for `done`; the bound only ends a tour that has already gone wrong,
// far beyond any of the program's own delays.
inline bool WaitFor(const char* what, const std::function<bool()>& done)
{
    if (!QTest::qWaitFor(done, 120000)) {
        std::fprintf(stderr, "%s did not come\n", what);
        return false;
    }
    return true;
}

enum Menu { kFile = 0, kControl = 1, kPreferences = 2, kAnalysis = 3, kHelp = 4 };

// Opens the menu bar's menu `menu` (its items are brought up to date) and
// chooses its item `item`, counting neither separators nor submenus.
inline bool Choose(const TfrmMain& m, Menu menu, int item)
{
    QMenu* opened = m.menuBar()->actions().at(menu)->menu();
    emit opened->aboutToShow();
    QList<QAction*> items;
    for (QAction* a : opened->actions()) {
        if (!a->isSeparator() && a->menu() == nullptr) {
            items << a;
        }
    }
    QAction* chosen = items.at(item < 0 ? items.size() + item : item);
    const bool enabled = chosen->isEnabled();
    if (!enabled) {
        std::fprintf(stderr, "menu %d item %d is disabled\n", int(menu), item);
    }
    chosen->trigger();
    emit opened->aboutToHide();
    return enabled;
}

// The same for the item named `name`, which stays where it is when others
// come into the menu; false when the menu has no such item.
inline bool Choose(const TfrmMain& m, Menu menu, const char* name)
{
    QMenu* opened = m.menuBar()->actions().at(menu)->menu();
    emit opened->aboutToShow();
    QAction* chosen = opened->findChild<QAction*>(QLatin1String(name));
    if (chosen == nullptr || !opened->actions().contains(chosen)) {
        std::fprintf(stderr, "menu %d has no item %s\n", int(menu), name);
        return false;
    }
    chosen->trigger();
    emit opened->aboutToHide();
    return true;
}

// Runs the open exercise from START to STOP after kTourRunRecords records,
// each cycle at once after the previous one; with `newGain`, the first
// value box (the gain) takes it through the keypad halfway, so that the
// run has two settings segments. `halfway`, when given, is called then too,
// before the gain is typed.
inline bool TourRun(TfrmMain& m, VelmorState& state, const QString& newGain,
                    const std::function<void()>& halfway = {})
{
    auto* window = dynamic_cast<LoopWindow*>(m.exerciseWindow());
    if (window == nullptr) {
        return false;
    }
    RunDriver* driver = window->driver();
    driver->setInterval(std::chrono::milliseconds(0));
    const QMetaObject::Connection stop = QObject::connect(driver, &RunDriver::cycled, window, [&] {
        if (state.run.sampleCount == kTourRunRecords / 2 && halfway) {
            halfway();
        }
        if (state.run.sampleCount == kTourRunRecords / 2 && !newGain.isEmpty()) {
            window->imgPGClick(1);
            m.keypad()->txtValue->setText(newGain);
            m.keypad()->btnOK->click();
        }
        if (state.run.sampleCount == kTourRunRecords) {
            window->btnStopClick();
        }
    });
    QSignalSpy finished(driver, &RunDriver::finished);
    window->btnStartClick();
    const bool ended = !finished.isEmpty() || finished.wait(300000);
    QObject::disconnect(stop);
    if (!ended) {
        std::fprintf(stderr, "the run did not end\n");
    }
    return ended;
}

// Waits until the switch to `exercise`'s window is over.
inline bool WaitForExercise(const TfrmMain& m, Exercise exercise, const char* what)
{
    return WaitFor(what, [&m, exercise] {
        return !m.switching() && m.exerciseWindow() != nullptr &&
               m.exerciseWindow()->exercise() == exercise;
    });
}

// Copies into `history` the two golden runs a tour's history window lists.
inline bool KeepTourRuns(const QString& golden, const QString& history)
{
    bool ok = true;
    for (const char* run : {"flow_sine_gain_changes.psm", "open_step_gate.psm"}) {
        ok &= QFile::copy(golden + QLatin1Char('/') + QLatin1String(run),
                          history + QLatin1Char('/') + QLatin1String(run));
    }
    return ok;
}

// The tour, in `language` chosen in the preferences at its start. `atStep`
// is called with the step's name whenever the windows are ready to be seen;
// `golden` is the folder of the golden runs (the history lists copies of
// some, and the step test opens one); `sheets` the shipped lab sheets'.
// False when a step did not come as it should.
inline bool Tour(TfrmMain& m, VelmorState& state, bool spanish, const QString& golden,
                 const QString& sheets, const std::function<void(const QString&)>& atStep)
{
    bool ok = true;

    // The language, chosen as a user chooses it.
    ok &= Choose(m, kPreferences, "mnuPreferencesOptions");
    ok &=
        WaitFor("the preferences", [&m] { return !m.preferencesWindow()->TripTimer->isActive(); });
    if (spanish) {
        m.preferencesWindow()->chkSpanish->click();
    }
    atStep(QStringLiteral("preferences"));
    m.preferencesWindow()->btnOK->click();
    atStep(QStringLiteral("menu"));

    ok &= Choose(m, kHelp, "mnuHelpAbout");
    atStep(QStringLiteral("about"));
    CloseOthers(m);

    // The mimic, at rest (its clock stands still), once its first update
    // has drawn the rig's state.
    ok &= Choose(m, kControl, 0);
    ok &= WaitFor("the mimic", [&m] {
        return !m.switching() && m.manualWindow() != nullptr && m.manualWindow()->needleShown();
    });
    atStep(QStringLiteral("mimic"));

    // The loop exercises in the Control menu's order, each after a run.
    const std::pair<Exercise, const char*> loops[] = {{Exercise::Flow, "flow"},
                                                      {Exercise::Temperature, "temperature"},
                                                      {Exercise::Batch, "batch"},
                                                      {Exercise::Level, "level"},
                                                      {Exercise::Open, "open"}};
    for (int k = 0; k < 5; ++k) {
        const auto [exercise, name] = loops[k];
        ok &= Choose(m, kControl, k + 1);
        ok &= WaitForExercise(m, exercise, name);
        ok &= TourRun(m, state, exercise == Exercise::Open ? QString() : QStringLiteral("2"));
        atStep(QLatin1String(name));
        if (k == 0) {
            // The keypad over the first value box, and the run's figures.
            dynamic_cast<LoopWindow*>(m.exerciseWindow())->imgPGClick(1);
            atStep(QStringLiteral("keypad"));
            m.keypad()->btnCancel->click();
            ok &= Choose(m, kAnalysis, 0);
            atStep(QStringLiteral("figures"));
        }
    }

    // A step test of a recorded Open loop run.
    m.fileCommands()->openChosenFile(golden + QStringLiteral("/open_step_gate.psm"));
    ok &= Choose(m, kAnalysis, 1);
    atStep(QStringLiteral("steptest"));

    // The run history window.
    ok &= Choose(m, kFile, "mnuFileHistory");
    atStep(QStringLiteral("history"));
    CloseOthers(m);

    // The help, at its start page.
    ok &= Choose(m, kHelp, "mnuHelpContents");
    ok &= WaitFor("the help", [&m] { return m.helpViewer() != nullptr; });
    atStep(QStringLiteral("help"));
    CloseOthers(m);

    // A lab sheet: its panel beside the exercise it sets up, then the
    // tuning map of that exercise, not yet computed.
    m.labSheets()->openChosenSheet(sheets + QStringLiteral("/flow-step-tuning.vlab"));
    ok &= WaitForExercise(m, Exercise::Flow, "the lab sheet's exercise");
    atStep(QStringLiteral("labsheet"));
    ok &= Choose(m, kAnalysis, 2);
    ok &= WaitFor("the tuning map", [&m] {
        const TuningMapWindow* map = m.analysisMenu()->tuningMapWindow();
        return map != nullptr && map->btnCompute->isEnabled();
    });
    atStep(QStringLiteral("tuningmap"));
    return ok;
}

} // namespace velmor::tools
