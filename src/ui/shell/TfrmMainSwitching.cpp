// Opening and closing exercises: Start with its 750 ms wait, Shut, a
// window's close request and the deferred Timer that releases it,
// and the easy menu screen shown and removed in between.
#include "ui/shell/TfrmMain.h"

#include "ui/exercises/LoopWindow.h"
#include "ui/mimic/TfrmManual.h"
#include "ui/shell/ExerciseEntries.h"
#include "ui/shell/RunHistory.h"
#include "ui/trends/TfrmGraph.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace velmor {

void TfrmMain::chooseExercise(const QString& form)
{
    const Entry* e = entry(form);
    if (e == nullptr || e->menuItem->isChecked() || !Offered(*e->row)) {
        return; // choosing the open exercise again does nothing
    }
    Start(form, true);
}

void TfrmMain::Start(const QString& name, bool fresh)
{
    const Entry* e = entry(name);
    if (e == nullptr || !Offered(*e->row) || m_state.shell.closing) {
        return; // no window of that name in this program
    }
    if (switching()) {
        // A second choice during the wait: the newest one is opened.
        m_pendingName = name;
        m_state.trend.trendNoData = fresh;
        return;
    }
    m_state.trend.trendNoData = fresh;
    m_pendingName = name;
    settleCentre();
    if (m_state.shell.currentForm != kMainForm) {
        m_state.shell.menuAllowed = false;
        Shut(QString::fromStdString(m_state.shell.currentForm));
        // The closed window's request and the 500 ms timer release it while
        // we wait; the event loop runs on meanwhile.
        switchTimer->start();
        updateRunCommands();
        return;
    }
    continueStart();
}

void TfrmMain::continueStart()
{
    if (m_state.shell.closing) {
        return;
    }
    const QString name = m_pendingName;
    // The next close request, even from a window of the same name, counts.
    m_shutName.clear();
    HideMenu();
    m_state.shell.menuAllowed = true;
    if (const Entry* e = entry(name)) {
        if (e->row->exercise) {
            openLoopExercise(*e->row);
        } else {
            openManual(*e);
        }
    }
    // A new exercise shows nothing yet (a file being opened has been
    // loaded by now).
    updateRunCommands();
}

void TfrmMain::openLoopExercise(const ExerciseEntry& row)
{
    const LoopWindowMaker make = row.makeWindow;
    if (make == nullptr || !row.exercise) {
        return;
    }
    const Exercise exercise = *row.exercise;
    m_state.shell.currentForm = std::string(FormName(exercise));

    // The Trends window comes first: the exercise window draws on it.
    m_graph = new TfrmGraph(m_state, exercise);
    m_graphSub = addChildWindow(m_graph);
    m_graphSub->move(childPlace(QPoint(231, 0), QPoint(157, 289)));
    m_graph->setEditCursor(m_cross);
    // Closing the Trends window closes its exercise.
    connect(m_graph, &TfrmGraph::closeRequested, this,
            [this] { txtShutChange(QString::fromStdString(m_state.shell.currentForm)); });
    m_graphSub->show();
    m_state.shell.trendsOpen = true;

    setControlItemChecked(exercise, true);
    LoopWindow* window = make(m_state, m_graph, this);
    connect(window, &LoopWindow::closeRequested, this, [this](Exercise closing) {
        txtShutChange(QString::fromLatin1(FormName(closing).data(),
                                          static_cast<qsizetype>(FormName(closing).size())));
    });
    m_exercise = window;
    m_exerciseSub = addChildWindow(window);
    m_exerciseSub->move(childPlace(QPoint(0, 0), QPoint(388, 289)));
    m_exerciseSub->show();
    keepInSight({m_exerciseSub, m_graphSub});
    m_mdiArea->setActiveSubWindow(m_exerciseSub);
    if (m_whenOpen) {
        const auto action = std::exchange(m_whenOpen, {});
        action(m_exercise);
    }
}

void TfrmMain::whenLoopWindowOpens(std::function<void(ExerciseWindow*)> action)
{
    m_whenOpen = std::move(action);
}

void TfrmMain::openManual(const Entry& e)
{
    // The mimic has no Trends window; it stands where an exercise stands.
    QAction* item = e.menuItem;
    item->setChecked(true);
    auto* manual = new TfrmManual(m_state, nullptr, m_mimicClock);
    connect(manual, &TfrmManual::controlItemUnchecked, this, [item] { item->setChecked(false); });
    const QString form = FormOf(*e.row);
    connect(manual, &TfrmManual::closeRequested, this, [this, form] { txtShutChange(form); });
    m_exerciseSub = addChildWindow(manual);
    m_exerciseSub->move(childPlace(QPoint(0, 0), QPoint(388, 289)));
    m_exerciseSub->show();
    keepInSight({m_exerciseSub});
    m_mdiArea->setActiveSubWindow(m_exerciseSub);
    m_state.shell.currentForm = FormOf(*e.row).toStdString();
}

TfrmManual* TfrmMain::manualWindow() const
{
    return m_exerciseSub != nullptr ? qobject_cast<TfrmManual*>(m_exerciseSub->widget()) : nullptr;
}

void TfrmMain::Shut(const QString& name)
{
    const Entry* e = entry(name);
    if (e == nullptr) {
        return;
    }
    if (!e->row->exercise) {
        if (manualWindow() != nullptr) {
            m_exerciseSub->close();
        }
        return;
    }
    if (m_exerciseSub != nullptr && m_exercise != nullptr &&
        FormName(m_exercise->exercise()) == name.toStdString()) {
        m_exerciseSub->close();
    }
}

void TfrmMain::HideMenu()
{
    if (m_state.shell.menuShown) {
        delete m_menuScreen;
        m_state.shell.menuShown = false;
    }
}

void TfrmMain::ShowMenu()
{
    ShellState& shell = m_state.shell;
    if (shell.menuAllowed && !shell.menuShown && m_menuFactory) {
        settleCentre();
        m_menuScreen = m_menuFactory(this);
        shell.menuShown = m_menuScreen != nullptr;
    }
}

ExerciseWindow* TfrmMain::exerciseWindowNamed(const std::string& formName) const
{
    if (m_exercise != nullptr && m_exerciseSub != nullptr &&
        FormName(m_exercise->exercise()) == formName) {
        return m_exercise;
    }
    return nullptr;
}

ExerciseWindow* TfrmMain::exerciseWindow() const
{
    return m_exerciseSub != nullptr ? m_exercise : nullptr;
}

TfrmGraph* TfrmMain::graphWindow() const
{
    return m_graphSub != nullptr ? m_graph : nullptr;
}

void TfrmMain::txtShutChange(const QString& name)
{
    if (name == m_shutName) {
        return; // that window is on its way out already
    }
    m_shutName = name;
    m_state.shell.trendsOpen = false;
    m_state.run.runActive = false;
    // The keypad belongs to the exercise that is going.
    hideKeypad();
    updateRunCommands();
    Timer->start();
}

void TfrmMain::releaseExercise()
{
    delete m_exerciseSub;
    m_exercise = nullptr;
    delete m_graphSub;
    m_graph = nullptr;
}

void TfrmMain::TimerTimer()
{
    ShellState& shell = m_state.shell;
    if (shell.closing) {
        return; // the exit releases every window itself
    }
    const Entry* e = entry(m_shutName);
    if (e == nullptr) {
        return;
    }
    releaseExercise();
    updateRunCommands();
    e->menuItem->setChecked(false);
    mnuFileNew->setEnabled(false);
    if (mnuPreferencesEasymenus->isChecked()) {
        ShowMenu();
    }
    shell.currentForm = kMainForm;
}

void TfrmMain::exitTimerTimer()
{
    // Every child window, the active one first, then the program ends.
    if (QMdiSubWindow* active = m_mdiArea->activeSubWindow()) {
        delete active;
    }
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList()) {
        delete sub;
    }
    m_exercise = nullptr;
    m_graph = nullptr;
    delete m_menuScreen;
    // Every run is on disk before the program ends.
    if (m_history != nullptr) {
        m_history->waitForWrites();
    }
    emit terminateRequested();
}

} // namespace velmor
