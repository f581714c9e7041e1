// The main window's File menu and run history: New, Open, Recent Runs, Run
// History, Exit, and the rule Save, Print and the Analysis items follow.
#include "ui/shell/TfrmMain.h"

#include "ui/common/Language.h"
#include "ui/exercises/ExerciseWindow.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/LabSheetSession.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/RunHistory.h"
#include "ui/shell/RunHistoryWindow.h"
#include "ui/trends/TfrmGraph.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QMessageBox>

namespace velmor {

namespace {

constexpr const char* kMainFilesContext = "TfrmMain";

QString MainFilesText(const char* english)
{
    return QCoreApplication::translate(kMainFilesContext, english);
}

} // namespace

void TfrmMain::FileOpen()
{
    m_files->FileOpen();
}

void TfrmMain::mnuFileNewClick()
{
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, windowTitle(), MainFilesText(QT_TRANSLATE_NOOP("TfrmMain", "Are you sure?")),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        return;
    }
    ExerciseWindow* window = exerciseWindow();
    if (window != nullptr) {
        // A run still going (New stays on the toolbar during a run) ends
        // first, as STOP ends it, so that nothing draws on the new state.
        window->StopRun();
    }
    hideKeypad();
    if (window != nullptr) {
        window->InitValues();
    }
    m_state.log.secondIndexFilled = 0;
    m_state.run.sampleCount = 0;
    if (TfrmGraph* graph = graphWindow()) {
        graph->ClearRun();
    }
    // Nothing left to save or print.
    setFileCommandsEnabled(false);
}

void TfrmMain::mnuFileRecentShow()
{
    mnuFileRecent->clear();
    const QList<KeptRun> runs = m_history != nullptr ? m_history->newest(10) : QList<KeptRun>();
    if (runs.isEmpty()) {
        mnuFileRecent->addAction(QCoreApplication::translate("RunHistory", "No runs kept"))
            ->setEnabled(false);
        return;
    }
    for (const KeptRun& run : runs) {
        QString caption = KeptRunCaption(run);
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        const QString path = m_history->pathOf(run.fileName);
        QAction* item = mnuFileRecent->addAction(caption, this,
                                                 [this, path] { m_files->openChosenFile(path); });
        item->setData(path);
        item->setEnabled(!m_state.run.runActive);
    }
}

void TfrmMain::mnuFileHistoryClick()
{
    if (m_history == nullptr) {
        return;
    }
    if (m_historyWindow == nullptr) {
        m_historyWindow = new RunHistoryWindow(m_state, *m_history, this);
    }
    m_historyWindow->updateButtons();
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
}

void TfrmMain::mnuFileExitClick()
{
    ShellState& shell = m_state.shell;
    if (shell.closing) {
        return; // already ending: no second question
    }
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, windowTitle(), MainFilesText(QT_TRANSLATE_NOOP("TfrmMain", "Close VELMOR?")),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::No) {
        return;
    }
    shell.menuAllowed = false;
    shell.appRunning = false;
    m_state.run.runActive = false;
    shell.closing = true;
    exitTimer->start();
}

void TfrmMain::setFileCommandsEnabled(bool enabled)
{
    if (!enabled) {
        m_files->forgetFile();
        m_labSheets->forgetGrade();
    }
    updateRunCommands();
}

bool TfrmMain::trendShowsRun() const
{
    const ExerciseWindow* window = exerciseWindow();
    const TfrmGraph* graph = graphWindow();
    const ShellState& shell = m_state.shell;
    // trendsOpen falls as soon as a close is asked for; trendNoData is set
    // when an exercise is chosen afresh and cleared by a run or a loaded
    // file; New leaves no records.
    return window != nullptr && graph != nullptr && graph->exercise() == window->exercise() &&
           shell.trendsOpen && !shell.closing && !switching() && !m_state.run.runActive &&
           !m_state.trend.trendNoData && m_state.run.sampleCount > 0;
}

void TfrmMain::setRunHistory(RunHistory* history)
{
    m_history = history;
    if (m_history == nullptr) {
        return;
    }
    m_history->setParent(this);
    m_history->setEnabled(m_preferences.keepRunHistory());
    mnuFileRecent->menuAction()->setEnabled(true);
    mnuFileHistory->setEnabled(true);
    connect(m_history, &RunHistory::runKept, this, &TfrmMain::noteRunKept);
    connect(m_history, &RunHistory::keepFailed, this, &TfrmMain::warnKeepFailed);
}

void TfrmMain::setKeepRunHistory(bool on)
{
    if (m_history != nullptr) {
        m_history->setEnabled(on);
    }
}

RunHistoryWindow* TfrmMain::runHistoryWindow() const
{
    return m_historyWindow;
}

void TfrmMain::runEnded(Exercise exercise)
{
    m_labSheets->gradeRunOnScreen();
    if (m_history != nullptr && m_history->enabled() &&
        m_state.run.sampleCount >= RunHistory::kMinimumRecords) {
        RunCopy copy = TakeRunCopy(m_state, exercise);
        copy.sheet = m_labSheets->historyLabel(exercise);
        m_history->keep(std::move(copy));
    }
}

bool TfrmMain::labSheetOpen() const
{
    return m_labSheets != nullptr && m_labSheets->isOpen();
}

void TfrmMain::showLabSheet()
{
    m_labSheets->showPanel();
}

void TfrmMain::noteRunKept()
{
    // A Trends window that is going (MENU, a switch) would take the note
    // with it: the frame shows it then.
    QWidget* window = graphWindow();
    if (window == nullptr || !m_state.shell.trendsOpen) {
        window = this;
    }
    if (m_noteWindow != nullptr && m_noteWindow->windowTitle() == m_noteCaption) {
        m_noteWindow->setWindowTitle(m_captionBefore); // the note before goes first
    }
    m_noteWindow = window;
    m_captionBefore = window->windowTitle();
    m_noteCaption = m_captionBefore + QStringLiteral(" - ") +
                    QCoreApplication::translate("RunHistory", "Run kept in history");
    window->setWindowTitle(m_noteCaption);
    m_noteTimer.start();
}

void TfrmMain::warnKeepFailed(const QString& reason)
{
    if (m_keepFailureShown) {
        return; // once per program run: runs go on either way
    }
    m_keepFailureShown = true;
    auto* box = new QMessageBox(
        QMessageBox::Warning, windowTitle(),
        QCoreApplication::translate(
            "RunHistory", "A run could not be kept in the run history (%1): %2. Runs go on "
                          "as before; save a run you need with File > Save.")
            .arg(m_history != nullptr ? QDir::toNativeSeparators(m_history->folder()) : QString(),
                 reason),
        QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("msgKeepFailed"));
    // Never modal: a run in progress goes on under it.
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

} // namespace velmor
