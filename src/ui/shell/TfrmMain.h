// The main window: the frame that hosts every exercise window and its Trends
// window, with the menu bar, the toolbar and the pop-up menu. It opens and
// closes exercises (Start, Shut, a closing window's request and the
// deferred release), and owns File > New, Exit and Help > Contents.
//
// Its code is in four files by responsibility: TfrmMain.cpp (creation, the
// frame and its child windows, preferences and help), TfrmMainMenus.cpp
// (menus, pop-up and toolbar built from the exercise rows, texts),
// TfrmMainFiles.cpp (the File menu and the run history) and
// TfrmMainSwitching.cpp (opening and closing exercises).
//
// Child windows are true sub-windows of a multiple-document area: each has
// its own frame and close box, can be created, moved, closed and released on
// its own, and never leaves the frame.
#pragma once

#include "core/rundata/State.h"
#include "ui/analysis/AnalysisHost.h"
#include "ui/exercises/ExerciseWindow.h"

#include <QCursor>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <string>

class QAction;
class QIcon;
class QLabel;
class QMdiArea;
class QMenu;
class QMenuBar;
class QStyle;
class QToolButton;
class QUrl;

namespace velmor {

// The form name the shell records while no exercise is open.
inline constexpr const char* kMainForm = "frmMain";

class AnalysisMenu;
struct ExerciseEntry;
class FileCommands;
class HelpViewer;
class LabSheetSession;
class Preferences;
class RunHistory;
class RunHistoryWindow;
class TfrmAbout;
class TfrmCalculator;
class TfrmGraph;
class TfrmManual;
class TfrmPrefs;

class TfrmMain : public QMainWindow, public MainLink, public AnalysisHost {
    Q_OBJECT

public:
    // FormCreate: reads the stored preferences, sets English, detects the
    // decimal separator and the large-font mode.
    TfrmMain(VelmorState& state, Preferences& preferences, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The keypad created at program start (it lives as long as the program).
    void setKeypad(TfrmCalculator* keypad);
    TfrmCalculator* keypad() const { return m_keypad; }

    // The about box and the preferences window (they live as long as the
    // program).
    void setAboutBox(TfrmAbout* about) { m_about = about; }
    TfrmAbout* aboutBox() const { return m_about; }
    void setPreferencesWindow(TfrmPrefs* preferences) { m_prefs = preferences; }
    TfrmPrefs* preferencesWindow() const { return m_prefs; }

    // The easy menu screen's maker; without one there is no menu screen.
    void setMenuScreenFactory(std::function<QWidget*(TfrmMain*)> factory);
    // The easy menu screen's child window while it exists.
    QWidget* menuScreen() const { return m_menuScreen; }

    void SetLanguage();

    // Exercise switching.
    void Start(const QString& name, bool fresh) override;
    void Shut(const QString& name);
    void HideMenu();
    void ShowMenu();
    // The start-up screen is over: the centre child windows are placed from
    // is taken, and from now on follows the layout rule.
    void settleCentre();
    bool switching() const { return switchTimer->isActive(); }
    // Runs `action` once, with the window, when the next loop exercise
    // window has opened (after a switch's wait).
    void whenLoopWindowOpens(std::function<void(ExerciseWindow*)> action) override;
    AnalysisMenu* analysisMenu() const { return m_analysis; }
    FileCommands* fileCommands() const { return m_files; }
    // Takes "Run kept in history" off a caption again.
    QTimer& noteTimer() { return m_noteTimer; }
    LabSheetSession* labSheets() const { return m_labSheets; }

    // The one rule File > Save, Print and the Analysis items follow: the
    // open exercise's Trends window shows a finished run or an opened file
    // (not an empty plot, a run going on, or a window on its way out).
    // What they describe is then that run, the one in the log.
    bool trendShowsRun() const override;
    // Those items (menu and toolbar) follow the rule again, and the analysis
    // windows follow the run they describe: after anything that changes what
    // the Trends window shows.
    void updateRunCommands();
    // The run history (the frame owns it); none in a program that keeps
    // no runs. Its switch is the stored preference.
    void setRunHistory(RunHistory* history);
    // The clock the mimic runs on (the steady clock when never set).
    void setMimicClock(std::function<std::int64_t()> clock) { m_mimicClock = std::move(clock); }
    RunHistory* runHistory() const { return m_history; }
    void setKeepRunHistory(bool on);
    // File > Run History's window, once opened.
    RunHistoryWindow* runHistoryWindow() const;

    // Child windows of the frame: made with a standard frame (close box) or
    // a tool-window frame without one, placed at their layout place in a
    // frame of the layout size or at an offset from the centre otherwise,
    // and shifted together to show them whole where the client area allows.
    enum class ChildFrame { Standard, Tool };
    QMdiSubWindow* addChildWindow(QWidget* window, ChildFrame frame = ChildFrame::Standard);
    QPoint childPlace(QPoint fixed, QPoint fromCentre) const;
    // The client area's centre (halfWidth, halfHeight) the children are
    // placed from.
    QPoint centre() const { return m_centre; }
    void keepInSight(std::initializer_list<QWidget*> windows);

    // What OK of the preferences window applies beyond its stored values:
    // the language to every window that is open, and the easy menu screen.
    void applyPreferences(bool languageChanged);

    // The open exercise, by its window name (for the keypad), and its Trends.
    ExerciseWindow* exerciseWindowNamed(const std::string& formName) const;
    ExerciseWindow* exerciseWindow() const override;
    TfrmGraph* graphWindow() const override;
    // The mimic window while it is open.
    TfrmManual* manualWindow() const;
    QMdiSubWindow* exerciseSubWindow() const { return m_exerciseSub; }
    QMdiSubWindow* graphSubWindow() const { return m_graphSub; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    HelpViewer* helpViewer() const { return m_help; }
    QString helpFile() const { return m_helpFile; }
    const QCursor& crossCursor() const { return m_cross; }

    // MainLink
    void setRunMenusEnabled(bool enabled) override;
    void setFileNewEnabled(bool enabled) override;
    // Off also forgets the file name shown; either way the items then
    // follow trendShowsRun().
    void setFileCommandsEnabled(bool enabled) override;
    void setControlItemChecked(Exercise exercise, bool checked) override;
    void showKeypad() override;
    void hideKeypad() override;
    void runEnded(Exercise exercise) override;

    // AnalysisHost: the lab sheet's panel.
    bool labSheetOpen() const override;
    void showLabSheet() override;

    // Handlers.
    // File > Open, the toolbar's open button, the pop-up's saved trend and
    // the easy menu's Trends button.
    void FileOpen();
    void mnuFileNewClick();
    void mnuFileRecentShow();
    void mnuFileHistoryClick();
    void mnuFileExitClick();
    void mnuPreferencesToolbarClick();
    void mnuPreferencesEasymenusClick();
    void mnuHelpContentsClick();
    void mnuHelpAboutClick();
    void mnuPreferencesOptionsClick();
    // An exercise window or its Trends window asks to close (the window
    // `name`): the run stops and the window is released 500 ms later.
    void txtShutChange(const QString& name);
    // The deferred release: the window that asked to close goes.
    void TimerTimer();
    // Exit's 500 ms are over: every window goes and the program ends.
    void exitTimerTimer();
    // The mouse moved over the frame's background: a scroll arrow of the
    // Trends window left highlighted goes back to normal.
    void FormMouseMove();

    // The check mark of Setup > Easy Menu (the preferences window's OK).
    void setEasyMenuChecked(bool checked);
    // MainPopupMenu at a point of the screen (the easy menu screen's
    // controls offer it too).
    void popUpMenu(const QPoint& globalPos);

public slots:
    // The desktop's handler of help addresses (the about box's link): the
    // help viewer at the contents of the language in force.
    void openHelpUrl(const QUrl& url);

signals:
    // Exit has released every window: the program ends.
    void terminateRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    // The language switch: QEvent::LanguageChange runs SetLanguage.
    void changeEvent(QEvent* event) override;

private:
    // An exercise's items, made from its row of ExerciseEntries().
    struct Entry {
        const ExerciseEntry* row;
        QAction* menuItem;
        QAction* popItem;
        QToolButton* button;
    };

    // Creation, in TfrmMain.cpp.
    void buildClientArea();
    void buildTimers();
    void FormCreate();
    void readPreferences();
    // Menus and toolbar from the exercise rows, in TfrmMainMenus.cpp.
    void buildMenus();
    void buildFileMenu(QMenuBar* bar);
    void buildControlMenu(QMenuBar* bar);
    void buildSetupAndHelpMenus(QMenuBar* bar);
    void buildPopupMenu();
    void buildToolbar();
    QToolButton* toolButton(const char* name, int x, const QIcon& icon);
    void connectExercise(const Entry& e);
    const Entry* entry(const QString& form) const;
    // Exercise switching, in TfrmMainSwitching.cpp.
    void chooseExercise(const QString& form);
    void continueStart();
    void openLoopExercise(const ExerciseEntry& row);
    void openManual(const Entry& e);
    void releaseExercise();
    // "Run kept in history" for a few seconds in the Trends window's
    // caption (or the frame's, with no Trends window open); a warning once
    // per program run when a run could not be kept. In TfrmMainFiles.cpp.
    void noteRunKept();
    void warnKeepFailed(const QString& reason);
    // The layout rule: child windows keep their offset from the client
    // area's centre when it is resized.
    void clientResized();

    // Menu bar, pop-up menu and toolbar, by the names the program uses (the
    // exercises' own items are in m_entries).
    QMenu* mnuFile = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileLabSheet = nullptr;
    QMenu* mnuFileRecent = nullptr;
    QAction* mnuFileHistory = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuControl = nullptr;
    QMenu* mnuPreferences = nullptr;
    QAction* mnuPreferencesToolbar = nullptr;
    QAction* mnuPreferencesEasymenus = nullptr;
    QAction* mnuPreferencesOptions = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpAbout = nullptr;

    QMenu* MainPopupMenu = nullptr;
    QAction* popLoadTrend = nullptr;
    QAction* popPreferences = nullptr;

    QWidget* pnlToolbar = nullptr;
    QToolButton* btnNew = nullptr;
    QToolButton* btnOpenIt = nullptr;
    QToolButton* btnSave = nullptr;
    QToolButton* btnPrint = nullptr;
    QToolButton* btnPreferences = nullptr;
    QToolButton* btnHelp = nullptr;

    QLabel* imgCross = nullptr;
    // The window that asked to close last, released by `Timer`; kept after
    // the release until the next Start.
    QString m_shutName;
    // The deferred release of a closed exercise (500 ms after its request).
    QTimer* Timer = nullptr;
    // Exit's wait before every window goes (500 ms).
    QTimer* exitTimer = nullptr;

    VelmorState& m_state;
    Preferences& m_preferences;
    QMdiArea* m_mdiArea = nullptr;
    TfrmCalculator* m_keypad = nullptr;
    TfrmAbout* m_about = nullptr;
    TfrmPrefs* m_prefs = nullptr;
    HelpViewer* m_help = nullptr;
    QString m_helpFile;
    QCursor m_cross;
    std::vector<Entry> m_entries;

    QPointer<QMdiSubWindow> m_exerciseSub;
    QPointer<QMdiSubWindow> m_graphSub;
    ExerciseWindow* m_exercise = nullptr;
    TfrmGraph* m_graph = nullptr;
    QPointer<QWidget> m_menuScreen;
    std::function<QWidget*(TfrmMain*)> m_menuFactory;

    // The 750 ms wait of an exercise switch, as a timer (no nested loop).
    QTimer* switchTimer = nullptr;
    QString m_pendingName;
    QStyle* m_childStyle = nullptr;
    QStyle* m_toolChildStyle = nullptr;
    AnalysisMenu* m_analysis = nullptr;
    std::function<std::int64_t()> m_mimicClock;
    FileCommands* m_files = nullptr;
    LabSheetSession* m_labSheets = nullptr;
    std::function<void(ExerciseWindow*)> m_whenOpen;
    // Once set, a resize with nothing open no longer moves the centre.
    bool m_centreSettled = false;
    QPoint m_centre{388, 289}; // pixels: halfWidth, halfHeight
    RunHistory* m_history = nullptr;
    QPointer<RunHistoryWindow> m_historyWindow;
    bool m_keepFailureShown = false;
    // Ends the note in a caption; the caption it wrote, to put back.
    QTimer m_noteTimer;
    QPointer<QWidget> m_noteWindow;
    QString m_noteCaption;
    QString m_captionBefore;
};

} // namespace velmor
