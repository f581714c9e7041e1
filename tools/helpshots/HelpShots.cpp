// velmor-helpshots: draws the pictures of the help pages with the program
// itself, in English and in Spanish, offscreen.
//
//     QT_QPA_PLATFORM=offscreen build/tools/helpshots/velmor-helpshots resources/help
//
// writes resources/help/en/img/*.png and resources/help/es/img/*.png.
#include "common/PictureProgram.h"
#include "core/analysis/TuningMap.h"
#include "core/exercises/Waveform.h"
#include "ui/analysis/TuningMapPicture.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/exercises/TfrmLevel.h"
#include "ui/exercises/TfrmOpen.h"
#include "ui/exercises/WaveformPanel.h"
#include "ui/mimic/TfrmManual.h"
#include "ui/shell/RunHistory.h"
#include "ui/shell/ShellArt.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmMain.h"
#include "ui/shell/TfrmPrefs.h"
#include "ui/trends/TfrmGraph.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <functional>

using namespace velmor;

namespace {

// A menu item of the main window, by its name.
QAction* MenuItem(const TfrmMain& m, const char* name)
{
    return m.findChild<QAction*>(QLatin1String(name));
}

void Wait(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

bool Save(const QPixmap& picture, const QString& file)
{
    const QImage image = picture.toImage().convertToFormat(QImage::Format_RGB32);
    const bool saved = image.save(file, "PNG", 0);
    std::printf("%s %s (%dx%d)\n", saved ? "wrote" : "FAILED", qPrintable(file), image.width(),
                image.height());
    return saved;
}

// An exercise window and its Trends window side by side, as the frame shows
// them.
QPixmap Pair(const TfrmMain& m)
{
    const QRect both = m.exerciseSubWindow()->frameGeometry() | m.graphSubWindow()->frameGeometry();
    return m.mdiArea()->viewport()->grab(both);
}

// Enters `value` for the box of keypad code `code`, as a user does.
void Enter(TfrmMain& m, LoopWindow* window, int code, const QString& value)
{
    window->imgPGClick(code);
    m.keypad()->txtValue->setText(value);
    m.keypad()->btnOKClick();
}

// Opens a loop exercise from its menu item, lets `prepare` set it up, runs
// it for `samples` samples (or until it ends by itself) at full speed, and
// keeps the picture of the pair.
bool ShootRun(TfrmMain& m, VelmorState& state, QAction* item,
              const std::function<void(LoopWindow*)>& prepare, int samples, const QString& file)
{
    item->trigger();
    Wait([&m] { return !m.switching() && m.exerciseWindow() != nullptr; }, 3000);
    auto* window = dynamic_cast<LoopWindow*>(m.exerciseWindow());
    if (window == nullptr) {
        return false;
    }
    // A freshly activated Open loop window ignores waveform clicks for a
    // moment; let that pass.
    Wait([] { return false; }, 400);
    prepare(window);
    window->driver()->setInterval(std::chrono::milliseconds(1));
    window->btnStartClick();
    Wait([&state, samples] { return state.run.sampleCount >= samples || !state.run.runActive; },
         60000);
    if (state.run.runActive) {
        window->btnStopClick();
    }
    return Save(Pair(m), file);
}

bool Shoot(bool spanish, const QString& folder)
{
    // The preferences window shows where a student's runs go; the runs of
    // these pictures are kept nowhere.
    // The mimic is shown pumping: on the steady clock.
    tools::PictureProgram program(QStringLiteral("/home/student/.local/share/VELMOR/runs"), true,
                                  false);
    program.main->runHistory()->setEnabled(false);
    VelmorState& state = program.state;
    TfrmMain& m = *program.main;
    state.shell.language = spanish ? Language::Spanish : Language::English;
    m.applyPreferences(true);
    bool ok = QDir().mkpath(folder);

    // The easy menu screen.
    m.ShowMenu();
    ok &= Save(m.menuScreen()->grab(), folder + QStringLiteral("/menu.png"));

    // Flow running on a sine, and the keypad over it.
    MenuItem(m, "mnuControlFlow")->trigger();
    auto* flow = dynamic_cast<TfrmFlow*>(m.exerciseWindow());
    flow->waveform()->chkSine->click();
    state.flow.waveParams.setC(kSine, 20);
    flow->waveform()->DrawSetpointValues();
    flow->driver()->setInterval(std::chrono::milliseconds(2));
    flow->btnStartClick();
    Wait([&state] { return state.run.sampleCount >= 700; }, 20000);
    flow->btnStopClick();
    ok &= Save(m.exerciseSubWindow()->grab(), folder + QStringLiteral("/flow.png"));
    ok &= Save(m.graphSubWindow()->grab(), folder + QStringLiteral("/trends.png"));
    flow->imgPGClick(3);
    m.keypad()->txtValue->setText(QStringLiteral("2.5"));
    ok &= Save(m.keypad()->grab(), folder + QStringLiteral("/keypad.png"));
    m.keypad()->btnCancelClick();

    // The other loop exercises, each in a run that shows what it is about.
    ok &= ShootRun(
        m, state, MenuItem(m, "mnuControlFluidLevel"),
        [&state](LoopWindow* window) {
            auto* level = dynamic_cast<TfrmLevel*>(window);
            level->chkAutodrain->click();
            level->waveform()->chkStep->click();
            state.level.waveParams.setC(kStep, 120);
            level->waveform()->DrawSetpointValues();
        },
        1500, folder + QStringLiteral("/level.png"));
    ok &= ShootRun(
        m, state, MenuItem(m, "mnuControlOpenLoop"),
        [&state](LoopWindow* window) {
            auto* open = dynamic_cast<TfrmOpen*>(window);
            open->waveform()->chkStep->click();
            state.open.waveParams.setC(kStep, 20);
            open->waveform()->DrawSetpointValues();
        },
        550, folder + QStringLiteral("/openloop.png"));
    ok &= ShootRun(
        m, state, MenuItem(m, "mnuControlTemperature"),
        [&m](LoopWindow* window) {
            // A set point of 40, PG 20 and I 1 minute: the overshoot of a
            // classroom exercise.
            Enter(m, window, 9, QStringLiteral("40"));
            Enter(m, window, 1, QStringLiteral("20"));
            Enter(m, window, 3, QStringLiteral("1"));
        },
        3600, folder + QStringLiteral("/temperature.png"));
    ok &= ShootRun(
        m, state, MenuItem(m, "mnuControlBatchVolume"), [](LoopWindow*) {}, 6000,
        folder + QStringLiteral("/batch.png"));

    // The mimic, pumping.
    MenuItem(m, "mnuControlOnOff")->trigger();
    Wait([&m] { return m.manualWindow() != nullptr; }, 3000);
    m.manualWindow()->Place(90);
    Wait([&state] { return state.mimic.mimicLevel > 56; }, 5000);
    ok &= Save(m.manualWindow()->grab(), folder + QStringLiteral("/mimic.png"));

    // The preferences window.
    MenuItem(m, "mnuPreferencesOptions")->trigger();
    Wait([&m] { return !m.preferencesWindow()->TripTimer->isActive(); }, 1000);
    ok &= Save(m.preferencesWindow()->grab(), folder + QStringLiteral("/preferences.png"));
    m.preferencesWindow()->btnCancelClick();
    return ok;
}

// "Reading a tuning map": each loop exercise's map of PG and I around its
// defaults, as Analysis > Tuning Map first shows it.
bool ShootMaps(Language language, const QString& folder)
{
    struct Map {
        Exercise exercise;
        std::vector<SettingChange> sets;
        long long records;
        const char* file;
    };
    const Map maps[] = {
        {Exercise::Flow, {{"flowWaveform", "4"}}, 600, "map-flow.png"},
        {Exercise::Level, {}, 600, "map-level.png"},
        {Exercise::Temperature, {}, 600, "map-temperature.png"},
        {Exercise::Batch, {}, 1801, "map-batch.png"},
    };
    bool ok = QDir().mkpath(folder);
    for (const Map& map : maps) {
        SweepPlan plan;
        plan.request.exercise = map.exercise;
        plan.request.sets = map.sets;
        plan.request.records = map.records;
        VelmorState today;
        PrepareHeadlessRun(today, plan.request, nullptr);
        MapView view;
        view.language = language;
        view.figure = MapFigure::Iae;
        const std::vector<std::string> names = LoopSettingNames(map.exercise, 0);
        QPointF mark;
        for (std::size_t a = 0; a < 2; ++a) {
            const std::optional<SettingRange> r = NamedSettingRange(today, map.exercise, names[a]);
            const auto [from, to] = DefaultMapRange(*r);
            view.axes[a] = MapAxis{names[a], from, to, 41, false};
            plan.axes.push_back(
                {names[a], SweepAxisValues(map.exercise, names[a], from, to, 41).values});
            (a == 0 ? mark.rx() : mark.ry()) = r->value;
        }
        view.today = mark;
        const std::atomic<bool> stop{false};
        const SweepOutcome outcome = RunSweepGrid(plan, 2, stop, {});
        TuningMap tuning;
        tuning.setGrid(plan, {});
        for (std::size_t i = 0; i < outcome.rows.size(); ++i) {
            tuning.setCell(i, outcome.rows[i]);
        }
        ok &=
            outcome.error.empty() && PaintTuningMap(tuning, view, QSize(560, 400), 1)
                                         .save(folder + QLatin1Char('/') + QLatin1String(map.file));
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ProgramIcon());
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmor-helpshots HELP-FOLDER\n");
        return 2;
    }
    const QString help = QString::fromLocal8Bit(argv[1]);
    const bool english = Shoot(false, help + QStringLiteral("/en/img"));
    const bool spanish = Shoot(true, help + QStringLiteral("/es/img"));
    const bool maps = ShootMaps(Language::English, help + QStringLiteral("/en/img")) &&
                      ShootMaps(Language::Spanish, help + QStringLiteral("/es/img"));
    return english && spanish && maps ? 0 : 1;
}
