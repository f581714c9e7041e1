// The main window's menus, pop-up menu and toolbar: built once, the
// exercises' items from their rows of ExerciseEntries(), and their texts set
// for the language in force.
#include "ui/shell/TfrmMain.h"

#include "ui/analysis/AnalysisMenu.h"
#include "ui/common/Language.h"
#include "ui/shell/ExerciseEntries.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/HelpViewer.h"
#include "ui/shell/LabSheetSession.h"
#include "ui/shell/RunHistoryWindow.h"
#include "ui/shell/ShellArt.h"

#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

namespace velmor {

namespace {

constexpr const char* kMainMenusContext = "TfrmMain";

// The toolbar: the exercises' buttons start here, one every 24 pixels,
// right of the separator.
constexpr int kFirstExerciseButtonX = 174;
constexpr int kMainMenusButtonStep = 24;

QString MainMenusText(const char* english)
{
    return QCoreApplication::translate(kMainMenusContext, english);
}

template <typename T> T* Named(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

} // namespace

void TfrmMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mnuMain"));
    buildFileMenu(bar);
    buildControlMenu(bar);
    buildSetupAndHelpMenus(bar);
    buildPopupMenu();
}

void TfrmMain::buildFileMenu(QMenuBar* bar)
{
    mnuFile = Named(bar->addMenu(QString()), "mnuFile");
    mnuFileNew =
        Named(mnuFile->addAction(QString(), this, &TfrmMain::mnuFileNewClick), "mnuFileNew");
    mnuFileNew->setEnabled(false);
    mnuFile->addSeparator();
    mnuFileOpen = Named(mnuFile->addAction(QString(), this, &TfrmMain::FileOpen), "mnuFileOpen");
    mnuFileLabSheet =
        Named(mnuFile->addAction(QString(), m_labSheets, &LabSheetSession::FileOpenLabSheet),
              "mnuFileLabSheet");
    mnuFileRecent = Named(mnuFile->addMenu(QString()), "mnuFileRecent");
    connect(mnuFileRecent, &QMenu::aboutToShow, this, &TfrmMain::mnuFileRecentShow);
    mnuFileHistory = Named(mnuFile->addAction(QString(), this, &TfrmMain::mnuFileHistoryClick),
                           "mnuFileHistory");
    // Offered once the program has a run history.
    mnuFileRecent->menuAction()->setEnabled(false);
    mnuFileHistory->setEnabled(false);
    mnuFileSave =
        Named(mnuFile->addAction(QString(), m_files, &FileCommands::FileSave), "mnuFileSave");
    mnuFileSave->setEnabled(false);
    mnuFile->addSeparator();
    mnuFilePrint =
        Named(mnuFile->addAction(QString(), m_files, &FileCommands::FilePrint), "mnuFilePrint");
    mnuFilePrint->setEnabled(false);
    mnuFile->addSeparator();
    mnuFileExit =
        Named(mnuFile->addAction(QString(), this, &TfrmMain::mnuFileExitClick), "mnuFileExit");
}

// One checkable item per exercise row; the pop-up and the toolbar add theirs.
void TfrmMain::buildControlMenu(QMenuBar* bar)
{
    mnuControl = Named(bar->addMenu(QString()), "mnuControl");
    for (const ExerciseEntry* row : ExerciseEntries()) {
        QAction* item = Named(mnuControl->addAction(QString()), row->menuItem);
        item->setCheckable(true);
        item->setEnabled(Offered(*row));
        m_entries.push_back({row, item, nullptr, nullptr});
        if (row->separatorAfter) {
            mnuControl->addSeparator();
        }
    }
}

void TfrmMain::buildSetupAndHelpMenus(QMenuBar* bar)
{
    mnuPreferences = Named(bar->addMenu(QString()), "mnuPreferences");
    mnuPreferencesToolbar = Named(mnuPreferences->addAction(QString()), "mnuPreferencesToolbar");
    mnuPreferencesToolbar->setCheckable(true);
    connect(mnuPreferencesToolbar, &QAction::triggered, this,
            &TfrmMain::mnuPreferencesToolbarClick);
    mnuPreferencesEasymenus =
        Named(mnuPreferences->addAction(QString()), "mnuPreferencesEasymenus");
    mnuPreferencesEasymenus->setCheckable(true);
    connect(mnuPreferencesEasymenus, &QAction::triggered, this,
            &TfrmMain::mnuPreferencesEasymenusClick);
    mnuPreferences->addSeparator();
    mnuPreferencesOptions =
        Named(mnuPreferences->addAction(QString(), this, &TfrmMain::mnuPreferencesOptionsClick),
              "mnuPreferencesOptions");

    mnuHelp = Named(bar->addMenu(QString()), "mnuHelp");
    m_analysis = new AnalysisMenu(m_state, this, this, bar, mnuHelp->menuAction());
    mnuHelpContents = Named(mnuHelp->addAction(QString(), this, &TfrmMain::mnuHelpContentsClick),
                            "mnuHelpContents");
    mnuHelpContents->setShortcut(QKeySequence(Qt::Key_F1));
    mnuHelpContents->setShortcutContext(Qt::ApplicationShortcut);
    mnuHelp->addSeparator();
    mnuHelpAbout =
        Named(mnuHelp->addAction(QString(), this, &TfrmMain::mnuHelpAboutClick), "mnuHelpAbout");
}

void TfrmMain::buildPopupMenu()
{
    MainPopupMenu = Named(new QMenu(this), "MainPopupMenu");
    for (Entry& e : m_entries) {
        e.popItem = Named(MainPopupMenu->addAction(QString()), e.row->popItem);
        e.popItem->setEnabled(Offered(*e.row));
        if (e.row->separatorAfter) {
            MainPopupMenu->addSeparator();
        }
    }
    MainPopupMenu->addSeparator();
    popLoadTrend =
        Named(MainPopupMenu->addAction(QString(), this, &TfrmMain::FileOpen), "popLoadTrend");
    popPreferences =
        Named(MainPopupMenu->addAction(QString(), this, &TfrmMain::mnuPreferencesOptionsClick),
              "popPreferences");
}

QToolButton* TfrmMain::toolButton(const char* name, int x, const QIcon& icon)
{
    auto* b = Named(new QToolButton(pnlToolbar), name);
    b->setGeometry(x, 2, 24, 24);
    b->setIcon(icon);
    b->setIconSize(QSize(20, 20));
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void TfrmMain::buildToolbar()
{
    btnNew = toolButton("btnNew", 6, ToolbarIcon(ToolPicture::New));
    btnOpenIt = toolButton("btnOpenIt", 30, ToolbarIcon(ToolPicture::Open));
    btnSave = toolButton("btnSave", 54, ToolbarIcon(ToolPicture::Save));
    btnPrint = toolButton("btnPrint", 78, ToolbarIcon(ToolPicture::Print));
    btnPreferences = toolButton("btnPreferences", 102, ToolbarIcon(ToolPicture::Preferences));
    btnHelp = toolButton("btnHelp", 126, ToolbarIcon(ToolPicture::Help));
    int x = kFirstExerciseButtonX;
    for (Entry& e : m_entries) {
        e.button = toolButton(e.row->button, x, e.row->icon());
        e.button->setEnabled(Offered(*e.row));
        x += kMainMenusButtonStep;
    }
    btnSave->setEnabled(false);
    btnPrint->setEnabled(false);
    auto* separator = new QFrame(pnlToolbar);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(158, 3, 2, 22);

    connect(btnNew, &QToolButton::clicked, this, [this] {
        if (mnuFileNew->isEnabled()) {
            mnuFileNewClick();
        }
    });
    connect(btnPreferences, &QToolButton::clicked, this, &TfrmMain::mnuPreferencesOptionsClick);
    connect(btnHelp, &QToolButton::clicked, this, &TfrmMain::mnuHelpContentsClick);
    connect(btnOpenIt, &QToolButton::clicked, this, [this] {
        if (mnuFileOpen->isEnabled()) {
            FileOpen();
        }
    });
    connect(btnSave, &QToolButton::clicked, m_files, &FileCommands::FileSave);
    connect(btnPrint, &QToolButton::clicked, m_files, &FileCommands::FilePrint);
}

void TfrmMain::connectExercise(const Entry& e)
{
    const QString form = FormOf(*e.row);
    QAction* item = e.menuItem;
    connect(item, &QAction::triggered, this, [this, form, item](bool checked) {
        // A checkable item inverts its mark when chosen; the mark shows
        // only what Start and the close handlers set.
        item->setChecked(!checked);
        chooseExercise(form);
    });
    connect(e.popItem, &QAction::triggered, this, [this, form] { chooseExercise(form); });
    connect(e.button, &QToolButton::clicked, this, [this, form] { chooseExercise(form); });
}

const TfrmMain::Entry* TfrmMain::entry(const QString& form) const
{
    for (const Entry& e : m_entries) {
        if (form == FormOf(*e.row)) {
            return &e;
        }
    }
    return nullptr;
}

void TfrmMain::SetLanguage()
{
    const ShellState& shell = m_state.shell;
    const auto text = [&shell](const char* english) { return MainMenusText(english); };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmMain", "VELMOR")));
    m_helpFile = text(QT_TRANSLATE_NOOP("TfrmMain", "KLN.hlp"));

    mnuFile->setTitle(text(QT_TRANSLATE_NOOP("TfrmMain", "&File")));
    mnuFileNew->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&New...")));
    mnuFileOpen->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Open...")));
    mnuFileLabSheet->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "Open &Lab Sheet...")));
    mnuFileRecent->setTitle(QCoreApplication::translate("RunHistory", "Recent &Runs"));
    mnuFileHistory->setText(QCoreApplication::translate("RunHistory", "Run &History..."));
    if (m_historyWindow != nullptr) {
        m_historyWindow->SetLanguage();
    }
    mnuFileSave->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Save...")));
    mnuFilePrint->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Print...")));
    mnuFileExit->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "E&xit")));
    mnuControl->setTitle(text(QT_TRANSLATE_NOOP("TfrmMain", "&Control")));
    for (const Entry& e : m_entries) {
        e.menuItem->setText(text(e.row->menuCaption));
        e.popItem->setText(text(e.row->popCaption));
        e.button->setToolTip(NoAnd(e.menuItem->text()));
    }
    mnuPreferences->setTitle(text(QT_TRANSLATE_NOOP("TfrmMain", "&Setup")));
    mnuPreferencesToolbar->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Toolbar")));
    mnuPreferencesEasymenus->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Easy Menu")));
    mnuPreferencesOptions->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Preferences...")));
    mnuHelp->setTitle(text(QT_TRANSLATE_NOOP("TfrmMain", "&Help")));
    m_analysis->SetLanguage();
    mnuHelpContents->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "Contents...")));
    mnuHelpAbout->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "About...")));

    popLoadTrend->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "Open Saved Trend...")));
    popPreferences->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "Preferences...")));

    // Toolbar hints are the menu captions without their accelerator mark.
    btnNew->setToolTip(NoAnd(mnuFileNew->text()));
    btnOpenIt->setToolTip(NoAnd(mnuFileOpen->text()));
    btnSave->setToolTip(NoAnd(mnuFileSave->text()));
    btnPrint->setToolTip(NoAnd(mnuFilePrint->text()));
    btnPreferences->setToolTip(NoAnd(mnuPreferencesOptions->text()));
    btnHelp->setToolTip(NoAnd(mnuHelp->title()) + QStringLiteral("..."));
    // The picture buttons read as their hints.
    for (QToolButton* button : pnlToolbar->findChildren<QToolButton*>()) {
        button->setAccessibleName(button->toolTip());
    }

    // The help viewer's own words, and its pages, follow the language.
    m_help->SetLanguage(m_helpFile);
}

void TfrmMain::setRunMenusEnabled(bool enabled)
{
    for (QMenu* menu : {mnuFile, mnuControl, mnuPreferences, mnuHelp}) {
        menu->menuAction()->setEnabled(enabled);
    }
    m_analysis->setEnabled(enabled);
    // A disabled menu takes its items' accelerators with it (F1 during a run).
    mnuHelpContents->setEnabled(enabled);
    if (m_historyWindow != nullptr) {
        m_historyWindow->updateButtons();
    }
}

void TfrmMain::setFileNewEnabled(bool enabled)
{
    mnuFileNew->setEnabled(enabled);
}

void TfrmMain::updateRunCommands()
{
    const bool shown = trendShowsRun();
    mnuFileSave->setEnabled(shown);
    mnuFilePrint->setEnabled(shown);
    btnSave->setEnabled(shown);
    btnPrint->setEnabled(shown);
    m_analysis->followTrend(shown);
}

void TfrmMain::setControlItemChecked(Exercise exercise, bool checked)
{
    for (const Entry& e : m_entries) {
        if (e.row->exercise == exercise) {
            e.menuItem->setChecked(checked);
        }
    }
}

void TfrmMain::setEasyMenuChecked(bool checked)
{
    mnuPreferencesEasymenus->setChecked(checked);
}

void TfrmMain::mnuPreferencesToolbarClick()
{
    pnlToolbar->setVisible(!pnlToolbar->isVisible());
    mnuPreferencesToolbar->setChecked(pnlToolbar->isVisible());
}

void TfrmMain::mnuPreferencesEasymenusClick()
{
    // The action has already inverted its own check mark.
    if (m_state.shell.currentForm == kMainForm) {
        if (mnuPreferencesEasymenus->isChecked()) {
            ShowMenu();
        } else {
            HideMenu();
        }
    }
}

} // namespace velmor
