// velmor-windowshots: pictures of every window, in English and in Spanish,
// for comparing the program before and after a change. The same steps give
// the same pixels: each run goes cycle after cycle without pacing and stops
// at a fixed record, whatever the machine's speed; the run history holds
// fixed runs (in TMPDIR/velmor-windowshots-runs, so run one at a time) and
// keeps no new ones; the text cursor does not blink.
//
//     QT_QPA_PLATFORM=offscreen build/tools/windowshots/velmor-windowshots OUT
//
// writes OUT/en/*.png and OUT/es/*.png, one picture per window on screen
// after each step ("05-flow-TfrmGraph.png") and one of the whole frame. It
// drives the program as a user does, through the menus in their order and
// the windows' own buttons, so that it keeps working while the code behind
// them changes.
#include "common/PictureProgram.h"
#include "core/exercises/Exercise.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/exercises/RunDriver.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmMain.h"
#include "ui/shell/TfrmPrefs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
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

using namespace velmor;

namespace {

// Records in each run before STOP.
constexpr int kRunRecords = 300;

// Runs the history window lists, copied from the golden runs.
constexpr const char* kKeptRuns[][2] = {
    {"flow_sine_gain_changes.psm", "2024-03-05_10-15-00_flow.psm"},
    {"temperature_pid_with_d.psm", "2024-03-05_10-40-12_temperature.psm"},
    {"open_step_gate.psm", "2024-03-06_09-02-45_open.psm"},
};

class Shooter {
public:
    Shooter(TfrmMain& main, const QString& folder) : m_main(main), m_folder(folder) {}

    // Every window on screen, each in its own picture named after the step.
    void shoot(const QString& step)
    {
        ++m_step;
        QApplication::processEvents();
        const QString prefix = QStringLiteral("%1/%2-%3-")
                                   .arg(m_folder)
                                   .arg(m_step, 2, 10, QLatin1Char('0'))
                                   .arg(step);
        save(m_main.grab(), prefix + QStringLiteral("frame"));
        for (QMdiSubWindow* sub : m_main.findChild<QMdiArea*>()->subWindowList()) {
            if (sub->isVisible() && sub->widget() != nullptr) {
                save(sub->grab(), prefix + NameOf(sub->widget()));
            }
        }
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != &m_main && window->isVisible() &&
                qobject_cast<QMenu*>(window) == nullptr) {
                save(window->grab(), prefix + NameOf(window));
            }
        }
    }

    bool ok() const { return m_ok; }

private:
    static QString NameOf(const QWidget* w)
    {
        if (!w->objectName().isEmpty()) {
            return w->objectName();
        }
        const QString name = QString::fromLatin1(w->metaObject()->className());
        return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
    }

    void save(const QPixmap& picture, const QString& name)
    {
        const QImage image = picture.toImage().convertToFormat(QImage::Format_RGB32);
        if (!image.save(name + QStringLiteral(".png"), "PNG")) {
            std::fprintf(stderr, "cannot write %s.png\n", qPrintable(name));
            m_ok = false;
        }
    }

    TfrmMain& m_main;
    QString m_folder;
    int m_step = 0;
    bool m_ok = true;
};

// Closes the windows of their own (about box, dialogs) that are open.
void CloseOthers(const TfrmMain& m)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != &m && window->isVisible()) {
            window->close();
        }
    }
}

bool WaitFor(const char* what, const std::function<bool()>& done)
{
    if (!QTest::qWaitFor(done, 10000)) {
        std::fprintf(stderr, "%s did not come\n", what);
        return false;
    }
    return true;
}

enum Menu { kFile = 0, kControl = 1, kPreferences = 2, kAnalysis = 3, kHelp = 4 };

// Opens the menu bar's menu `menu` (its items are brought up to date) and
// chooses its item `item`, counting neither separators nor submenus.
void Choose(const TfrmMain& m, Menu menu, int item)
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
    if (!chosen->isEnabled()) {
        std::fprintf(stderr, "menu %d item %d is disabled\n", int(menu), item);
    }
    chosen->trigger();
    emit opened->aboutToHide();
}

// The same for the item named `name`, which stays where it is when others
// come into the menu; false when the menu has no such item.
bool Choose(const TfrmMain& m, Menu menu, const char* name)
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

// Runs the open exercise from START to STOP after kRunRecords records,
// each cycle at once after the previous one; with `newGain`, the first
// value box (the gain) takes it through the keypad halfway, so that the
// run has two settings segments.
bool Run(TfrmMain& m, VelmorState& state, const QString& newGain)
{
    auto* window = dynamic_cast<LoopWindow*>(m.exerciseWindow());
    if (window == nullptr) {
        return false;
    }
    RunDriver* driver = window->driver();
    driver->setInterval(std::chrono::milliseconds(0));
    const QMetaObject::Connection stop = QObject::connect(driver, &RunDriver::cycled, window, [&] {
        if (state.run.sampleCount == kRunRecords / 2 && !newGain.isEmpty()) {
            window->imgPGClick(1);
            m.keypad()->txtValue->setText(newGain);
            m.keypad()->btnOK->click();
        }
        if (state.run.sampleCount == kRunRecords) {
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

bool Shoot(bool spanish, const QString& folder)
{
    // The history's folder is on screen (preferences, history window): the
    // same one at every run.
    const QString history = QDir::tempPath() + QStringLiteral("/velmor-windowshots-runs");
    QDir(history).removeRecursively();
    QDir().mkpath(history);
    for (const auto& [golden, kept] : kKeptRuns) {
        QFile::copy(QStringLiteral(VELMOR_GOLDEN_DIR "/") + QLatin1String(golden),
                    history + QLatin1Char('/') + QLatin1String(kept));
    }
    QDir().mkpath(folder);

    tools::PictureProgram program(history, false);
    VelmorState& state = program.state;
    TfrmMain& m = *program.main;
    Shooter shots(m, folder);
    bool ok = true;

    // The language, chosen as a user chooses it.
    ok &= Choose(m, kPreferences, "mnuPreferencesOptions");
    ok &=
        WaitFor("the preferences", [&m] { return !m.preferencesWindow()->TripTimer->isActive(); });
    if (spanish) {
        m.preferencesWindow()->chkSpanish->click();
    }
    shots.shoot(QStringLiteral("preferences"));
    m.preferencesWindow()->btnOK->click();
    shots.shoot(QStringLiteral("menu"));

    ok &= Choose(m, kHelp, "mnuHelpAbout");
    shots.shoot(QStringLiteral("about"));
    CloseOthers(m);

    // The mimic, at rest (nothing on it moves until the pump runs).
    Choose(m, kControl, 0);
    ok &= WaitFor("the mimic", [&m] { return !m.switching() && m.manualWindow() != nullptr; });
    shots.shoot(QStringLiteral("mimic"));

    // The loop exercises in the Control menu's order, each after a run.
    const std::pair<Exercise, const char*> loops[] = {{Exercise::Flow, "flow"},
                                                      {Exercise::Temperature, "temperature"},
                                                      {Exercise::Batch, "batch"},
                                                      {Exercise::Level, "level"},
                                                      {Exercise::Open, "open"}};
    for (int k = 0; k < 5; ++k) {
        const auto [exercise, name] = loops[k];
        Choose(m, kControl, k + 1);
        ok &= WaitFor(name, [&m, exercise] {
            return !m.switching() && dynamic_cast<LoopWindow*>(m.exerciseWindow()) != nullptr &&
                   m.exerciseWindow()->exercise() == exercise;
        });
        ok &= Run(m, state, exercise == Exercise::Open ? QString() : QStringLiteral("2"));
        shots.shoot(QLatin1String(name));
        if (k == 0) {
            // The keypad over the first value box, and the run's figures.
            dynamic_cast<LoopWindow*>(m.exerciseWindow())->imgPGClick(1);
            shots.shoot(QStringLiteral("keypad"));
            m.keypad()->btnCancel->click();
            Choose(m, kAnalysis, 0);
            shots.shoot(QStringLiteral("figures"));
        }
    }

    // A step test of a recorded Open loop run.
    m.fileCommands()->openChosenFile(QStringLiteral(VELMOR_GOLDEN_DIR "/open_step_gate.psm"));
    Choose(m, kAnalysis, 1);
    shots.shoot(QStringLiteral("steptest"));

    // The run history window.
    ok &= Choose(m, kFile, "mnuFileHistory");
    shots.shoot(QStringLiteral("history"));
    return ok && shots.ok();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmor-windowshots OUT-FOLDER\n");
        return 2;
    }
    // A blinking text cursor would make two shots of one window differ.
    QApplication::setCursorFlashTime(0);
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool english = Shoot(false, out + QStringLiteral("/en"));
    const bool spanish = Shoot(true, out + QStringLiteral("/es"));
    return english && spanish ? 0 : 1;
}
