#include "ui/shell/TfrmMain.h"

#include "ui/analysis/AnalysisMenu.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/exercises/LoopWindows.h"
#include "ui/mimic/TfrmManual.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/HelpViewer.h"
#include "ui/shell/Language.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/RunHistory.h"
#include "ui/shell/RunHistoryWindow.h"
#include "ui/shell/ShellArt.h"
#include "ui/shell/TfrmAbout.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmMenu.h"
#include "ui/shell/TfrmPrefs.h"
#include "ui/trends/TfrmGraph.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProxyStyle>
#include <QScreen>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace velmor {

namespace {

constexpr const char* kContext = "TfrmMain";
constexpr const char* kMain = "frmMain";
constexpr const char* kManual = "frmManual";

// The frame's layout size: at exactly this size child windows stand
// at their fixed places; at any other they are centred.
constexpr QSize kLayoutSize{776, 578};

QString Text(const ShellState& shell, const char* english)
{
    return LangText(shell, kContext, english);
}

// Large-font mode: the fonts are scaled up while the layout's pixels are
// not (a fractional screen scale left to the fonts, or a larger font
// resolution). The hidden mailbox sits at y = 428 in the layout; the mode is
// on when that position, scaled as the fonts are, passes 450.
bool LargeFonts(int logicalDpi)
{
    return 428 * logicalDpi > 450 * 96;
}

// Child windows carry a title bar with a close box (and its system menu,
// whose Close answers Ctrl+F4); they are neither resized nor minimised.
constexpr Qt::WindowFlags kChildFlags = Qt::SubWindow | Qt::CustomizeWindowHint |
                                        Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                        Qt::WindowCloseButtonHint;
// The easy menu screen's frame: a tool window's title bar, no close box and
// no system menu.
constexpr Qt::WindowFlags kToolChildFlags =
    Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

// The scheme of the help viewer's addresses (the about box's link).
const QString kHelpScheme = QStringLiteral("velmor-help");

// A three-pixel frame around each child window: Flow's 225-pixel panel then
// takes 231 pixels, so the Trends window placed 231 pixels to its right sits
// beside it without covering its edge.
class ChildWindowStyle : public QProxyStyle {
public:
    static constexpr int kFrameWidth = 3;
    // A tool window's title bar is a slim strip.
    explicit ChildWindowStyle(bool tool) : m_tool(tool) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        if (metric == PM_MdiSubWindowFrameWidth) {
            return kFrameWidth;
        }
        if (metric == PM_TitleBarHeight && m_tool) {
            return 12;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    bool m_tool;
};

} // namespace

TfrmMain::TfrmMain(VelmorState& state, Preferences& preferences, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_preferences(preferences)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(ProgramIcon());

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    pnlToolbar = new QWidget(client);
    pnlToolbar->setFixedHeight(28);
    pnlToolbar->setAutoFillBackground(true);
    layout->addWidget(pnlToolbar);
    m_mdiArea = new QMdiArea(client);
    m_mdiArea->setBackground(QColor(128, 128, 128));
    // Windows that do not fit (a small screen, or dragged partly out of
    // sight) stay reachable through the scroll bars.
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->viewport()->installEventFilter(this);
    m_mdiArea->viewport()->setMouseTracking(true);
    // The client area's size is what child windows are centred in.
    m_mdiArea->installEventFilter(this);
    m_childStyle = new ChildWindowStyle(false);
    m_childStyle->setParent(this);
    m_toolChildStyle = new ChildWindowStyle(true);
    m_toolChildStyle->setParent(this);
    layout->addWidget(m_mdiArea);
    setCentralWidget(client);

    txtShut = new QLineEdit(client);
    txtShut->hide();
    connect(txtShut, &QLineEdit::textChanged, this, &TfrmMain::txtShutChange);
    imgCross = new QLabel(client);
    imgCross->setPixmap(CrossPicture());
    imgCross->hide();
    m_cross = CrossCursor();

    Timer = new QTimer(this);
    Timer->setSingleShot(true);
    Timer->setInterval(500);
    connect(Timer, &QTimer::timeout, this, &TfrmMain::TimerTimer);
    m_switchTimer.setSingleShot(true);
    m_switchTimer.setInterval(750);
    connect(&m_switchTimer, &QTimer::timeout, this, &TfrmMain::continueStart);
    // "Run kept in history" stays long enough to be read, then goes.
    m_noteTimer.setSingleShot(true);
    m_noteTimer.setInterval(4000);
    connect(&m_noteTimer, &QTimer::timeout, this, [this] {
        // Put back only a caption that still shows the note.
        if (m_noteWindow != nullptr && m_noteWindow->windowTitle() == m_noteCaption) {
            m_noteWindow->setWindowTitle(m_captionBefore);
        }
        m_noteWindow = nullptr;
    });

    m_help = new HelpViewer(this);
    m_help->hide();
    QDesktopServices::setUrlHandler(kHelpScheme, this, "openHelpUrl");

    m_files = new FileCommands(m_state, this);
    buildMenus();
    buildToolbar();
    m_entries = {
        {kManual, mnuControlOnOff, popOnOff, btnManual, true},
        {"frmFlow", mnuControlFlow, popFlow, btnFlow, false},
        {"frmTemperature", mnuControlTemperature, popTemperature, btnTemperature, false},
        {"frmBatch", mnuControlBatchVolume, popBatchVolume, btnBatchVolume, false},
        {"frmLevel", mnuControlFluidLevel, popFluidLevel, btnFluidLevel, false},
        {"frmOpen", mnuControlOpenLoop, popOpenLoop, btnOpenLoop, false},
    };
    for (Entry& e : m_entries) {
        // A loop exercise is offered when the program has its window.
        if (const std::optional<Exercise> exercise = ExerciseFromForm(e.form)) {
            e.built = LoopWindowMakerFor(*exercise) != nullptr;
        }
        e.menuItem->setEnabled(e.built);
        e.popItem->setEnabled(e.built);
        e.button->setEnabled(e.built);
        const QString form = QString::fromLatin1(e.form);
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

    // FormCreate.
    resize(1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    readPreferences();
    ShellState& shell = m_state.shell;
    shell.langSpanish = shell.langFrench = shell.langItalian = shell.langGerman = false;
    shell.langEnglish = true;
    shell.currentForm = kMain;
    SetLanguage();
    shell.menuShown = false;
    shell.menuAllowed = true;
    shell.appRunning = true;
    shell.closing = false;
    shell.trendsOpen = false;
    shell.decimalComma = QLocale().toString(0.01).contains(QLatin1Char(','));
    shell.largeFonts = LargeFonts(logicalDpiY());
}

TfrmMain::~TfrmMain()
{
    QDesktopServices::unsetUrlHandler(kHelpScheme);
    // Released without close requests: nothing is posted any more.
    delete m_exerciseSub;
    delete m_graphSub;
}

void TfrmMain::readPreferences()
{
    ShellState& shell = m_state.shell;
    if (m_preferences.firstRun()) {
        m_preferences.writeFirstRunDefaults();
    }
    shell.showEasyMenu = m_preferences.showEasyMenus();
    mnuPreferencesEasymenus->setChecked(shell.showEasyMenu);
    shell.startMaximised = m_preferences.maximised();
    if (shell.startMaximised) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    shell.showToolbar = m_preferences.toolbar();
    pnlToolbar->setVisible(shell.showToolbar);
    mnuPreferencesToolbar->setChecked(shell.showToolbar);
}

void TfrmMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mnuMain"));
    mnuFile = bar->addMenu(QString());
    mnuFileNew = mnuFile->addAction(QString(), this, &TfrmMain::mnuFileNewClick);
    mnuFileNew->setEnabled(false);
    mnuFile->addSeparator();
    mnuFileOpen = mnuFile->addAction(QString(), this, &TfrmMain::FileOpen);
    mnuFileRecent = mnuFile->addMenu(QString());
    connect(mnuFileRecent, &QMenu::aboutToShow, this, &TfrmMain::mnuFileRecentShow);
    mnuFileHistory = mnuFile->addAction(QString(), this, &TfrmMain::mnuFileHistoryClick);
    // Offered once the program has a run history.
    mnuFileRecent->menuAction()->setEnabled(false);
    mnuFileHistory->setEnabled(false);
    mnuFileSave = mnuFile->addAction(QString(), m_files, &FileCommands::FileSave);
    mnuFileSave->setEnabled(false);
    mnuFile->addSeparator();
    mnuFilePrint = mnuFile->addAction(QString(), m_files, &FileCommands::FilePrint);
    mnuFilePrint->setEnabled(false);
    mnuFile->addSeparator();
    mnuFileExit = mnuFile->addAction(QString(), this, &TfrmMain::mnuFileExitClick);

    mnuControl = bar->addMenu(QString());
    mnuControlOnOff = mnuControl->addAction(QString());
    mnuControl->addSeparator();
    mnuControlFlow = mnuControl->addAction(QString());
    mnuControlTemperature = mnuControl->addAction(QString());
    mnuControlBatchVolume = mnuControl->addAction(QString());
    mnuControlFluidLevel = mnuControl->addAction(QString());
    mnuControlOpenLoop = mnuControl->addAction(QString());
    for (QAction* item : mnuControl->actions()) {
        item->setCheckable(!item->isSeparator());
    }

    mnuPreferences = bar->addMenu(QString());
    mnuPreferencesToolbar = mnuPreferences->addAction(QString());
    mnuPreferencesToolbar->setCheckable(true);
    connect(mnuPreferencesToolbar, &QAction::triggered, this,
            &TfrmMain::mnuPreferencesToolbarClick);
    mnuPreferencesEasymenus = mnuPreferences->addAction(QString());
    mnuPreferencesEasymenus->setCheckable(true);
    connect(mnuPreferencesEasymenus, &QAction::triggered, this,
            &TfrmMain::mnuPreferencesEasymenusClick);
    mnuPreferences->addSeparator();
    mnuPreferencesOptions =
        mnuPreferences->addAction(QString(), this, &TfrmMain::mnuPreferencesOptionsClick);

    mnuHelp = bar->addMenu(QString());
    m_analysis = new AnalysisMenu(m_state, this, bar, mnuHelp->menuAction());
    mnuHelpContents = mnuHelp->addAction(QString(), this, &TfrmMain::mnuHelpContentsClick);
    mnuHelpContents->setShortcut(QKeySequence(Qt::Key_F1));
    mnuHelpContents->setShortcutContext(Qt::ApplicationShortcut);
    mnuHelp->addSeparator();
    mnuHelpAbout = mnuHelp->addAction(QString(), this, &TfrmMain::mnuHelpAboutClick);

    MainPopupMenu = new QMenu(this);
    popOnOff = MainPopupMenu->addAction(QString());
    MainPopupMenu->addSeparator();
    popFlow = MainPopupMenu->addAction(QString());
    popTemperature = MainPopupMenu->addAction(QString());
    popBatchVolume = MainPopupMenu->addAction(QString());
    popFluidLevel = MainPopupMenu->addAction(QString());
    popOpenLoop = MainPopupMenu->addAction(QString());
    MainPopupMenu->addSeparator();
    popLoadTrend = MainPopupMenu->addAction(QString(), this, &TfrmMain::FileOpen);
    popPreferences =
        MainPopupMenu->addAction(QString(), this, &TfrmMain::mnuPreferencesOptionsClick);
}

void TfrmMain::buildToolbar()
{
    const auto button = [this](int x, ToolPicture picture) {
        auto* b = new QToolButton(pnlToolbar);
        b->setGeometry(x, 2, 24, 24);
        b->setIcon(ToolbarIcon(picture));
        b->setIconSize(QSize(20, 20));
        b->setAutoRaise(true);
        b->setCursor(Qt::PointingHandCursor);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    btnNew = button(6, ToolPicture::New);
    btnOpenIt = button(30, ToolPicture::Open);
    btnSave = button(54, ToolPicture::Save);
    btnPrint = button(78, ToolPicture::Print);
    btnPreferences = button(102, ToolPicture::Preferences);
    btnHelp = button(126, ToolPicture::Help);
    btnManual = button(174, ToolPicture::Manual);
    btnFlow = button(198, ToolPicture::Flow);
    btnTemperature = button(222, ToolPicture::Temperature);
    btnBatchVolume = button(246, ToolPicture::BatchVolume);
    btnFluidLevel = button(270, ToolPicture::FluidLevel);
    btnOpenLoop = button(294, ToolPicture::OpenLoop);
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

void TfrmMain::FileOpen()
{
    m_files->FileOpen();
}

void TfrmMain::SetLanguage()
{
    const ShellState& shell = m_state.shell;
    const auto text = [&shell](const char* english) { return Text(shell, english); };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmMain", "VELMOR")));
    m_helpFile = text(QT_TRANSLATE_NOOP("TfrmMain", "KLN.hlp"));

    mnuFile->setTitle(text(QT_TRANSLATE_NOOP("TfrmMain", "&File")));
    mnuFileNew->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&New...")));
    mnuFileOpen->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Open...")));
    mnuFileRecent->setTitle(
        LangText(shell, "RunHistory", QT_TRANSLATE_NOOP("RunHistory", "Recent &Runs")));
    mnuFileHistory->setText(
        LangText(shell, "RunHistory", QT_TRANSLATE_NOOP("RunHistory", "Run &History...")));
    if (m_historyWindow != nullptr) {
        m_historyWindow->SetLanguage();
    }
    mnuFileSave->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Save...")));
    mnuFilePrint->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Print...")));
    mnuFileExit->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "E&xit")));
    mnuControl->setTitle(text(QT_TRANSLATE_NOOP("TfrmMain", "&Control")));
    mnuControlOnOff->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&System Mimic")));
    mnuControlFlow->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Flow")));
    mnuControlTemperature->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Temperature")));
    mnuControlBatchVolume->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Batch Volume")));
    mnuControlFluidLevel->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "F&luid Level")));
    mnuControlOpenLoop->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Open Loop")));
    mnuPreferences->setTitle(text(QT_TRANSLATE_NOOP("TfrmMain", "&Setup")));
    mnuPreferencesToolbar->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Toolbar")));
    mnuPreferencesEasymenus->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Easy Menu")));
    mnuPreferencesOptions->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "&Preferences...")));
    mnuHelp->setTitle(text(QT_TRANSLATE_NOOP("TfrmMain", "&Help")));
    m_analysis->SetLanguage();
    mnuHelpContents->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "Contents...")));
    mnuHelpAbout->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "About...")));

    popOnOff->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "System Mimic")));
    popFlow->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "Flow")));
    popTemperature->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "Temperature")));
    popBatchVolume->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "Batch Volume")));
    popFluidLevel->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "Fluid Level")));
    popOpenLoop->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "Open Loop")));
    popLoadTrend->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "Open Saved Trend...")));
    popPreferences->setText(text(QT_TRANSLATE_NOOP("TfrmMain", "Preferences...")));

    // Toolbar hints are the menu captions without their accelerator mark.
    btnNew->setToolTip(NoAnd(mnuFileNew->text()));
    btnOpenIt->setToolTip(NoAnd(mnuFileOpen->text()));
    btnSave->setToolTip(NoAnd(mnuFileSave->text()));
    btnPrint->setToolTip(NoAnd(mnuFilePrint->text()));
    btnManual->setToolTip(NoAnd(mnuControlOnOff->text()));
    btnFlow->setToolTip(NoAnd(mnuControlFlow->text()));
    btnTemperature->setToolTip(NoAnd(mnuControlTemperature->text()));
    btnBatchVolume->setToolTip(NoAnd(mnuControlBatchVolume->text()));
    btnFluidLevel->setToolTip(NoAnd(mnuControlFluidLevel->text()));
    btnOpenLoop->setToolTip(NoAnd(mnuControlOpenLoop->text()));
    btnPreferences->setToolTip(NoAnd(mnuPreferencesOptions->text()));
    btnHelp->setToolTip(NoAnd(mnuHelp->title()) + QStringLiteral("..."));

    // The help viewer's own words, and its pages, follow the language.
    m_help->SetLanguage(shell, m_helpFile);
    ApplyToolkitLanguage(shell);
}

void TfrmMain::setKeypad(TfrmCalculator* keypad)
{
    m_keypad = keypad;
    if (m_keypad != nullptr) {
        m_keypad->setTargetLookup(
            [this](const std::string& form) { return exerciseWindowNamed(form); });
    }
}

void TfrmMain::setMenuScreenFactory(std::function<QWidget*(TfrmMain*)> factory)
{
    m_menuFactory = std::move(factory);
}

const TfrmMain::Entry* TfrmMain::entry(const QString& form) const
{
    for (const Entry& e : m_entries) {
        if (form == QLatin1String(e.form)) {
            return &e;
        }
    }
    return nullptr;
}

void TfrmMain::chooseExercise(const QString& form)
{
    const Entry* e = entry(form);
    if (e == nullptr || e->menuItem->isChecked() || !e->built) {
        return; // choosing the open exercise again does nothing
    }
    Start(form, true);
}

void TfrmMain::Start(const QString& name, bool fresh)
{
    const Entry* e = entry(name);
    if (e == nullptr || !e->built || m_state.shell.closing) {
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
    if (m_state.shell.currentForm != kMain) {
        m_state.shell.menuAllowed = false;
        Shut(QString::fromStdString(m_state.shell.currentForm));
        // The closed window's mailbox and the 500 ms timer release it while
        // we wait; the event loop runs on meanwhile.
        m_switchTimer.start();
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
    txtShut->setText(QString());
    HideMenu();
    m_state.shell.menuAllowed = true;
    if (name != QLatin1String(kManual)) {
        if (const std::optional<Exercise> exercise = ExerciseFromForm(name.toStdString())) {
            openLoopExercise(*exercise);
        }
    } else {
        openManual();
    }
    // A new exercise shows nothing yet (a file being opened has been
    // loaded by now).
    updateRunCommands();
}

QPoint TfrmMain::childPlace(QPoint fixed, QPoint fromCentre) const
{
    if (size() == kLayoutSize) {
        return fixed;
    }
    return m_centre - fromCentre;
}

void TfrmMain::keepInSight(std::initializer_list<QWidget*> windows)
{
    // Placed from the centre, windows taller or wider than a small screen's
    // client area would start above or left of it. Shift them, together,
    // as far as needed (and possible) to show them whole; what still does
    // not fit is reached through the scroll bars.
    QRect all;
    for (QWidget* window : windows) {
        if (window != nullptr) {
            all |= window->frameGeometry();
        }
    }
    // The whole client area, as if no scroll bar were shown.
    const QSize client = m_mdiArea->contentsRect().size();
    const auto along = [](int low, int high, int room) {
        if (low < 0) {
            return -low;
        }
        return high >= room ? -std::min(high + 1 - room, low) : 0;
    };
    const QPoint shift(along(all.left(), all.right(), client.width()),
                       along(all.top(), all.bottom(), client.height()));
    if (shift.isNull()) {
        return;
    }
    for (QWidget* window : windows) {
        if (window != nullptr) {
            window->move(window->pos() + shift);
        }
    }
}

QMdiSubWindow* TfrmMain::addChildWindow(QWidget* window, ChildFrame frame)
{
    auto* sub =
        new QMdiSubWindow(nullptr, frame == ChildFrame::Tool ? kToolChildFlags : kChildFlags);
    sub->setStyle(frame == ChildFrame::Tool ? m_toolChildStyle : m_childStyle);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setWidget(window);
    m_mdiArea->addSubWindow(sub);
    sub->adjustSize();
    return sub;
}

void TfrmMain::openLoopExercise(Exercise exercise)
{
    const LoopWindowMaker make = LoopWindowMakerFor(exercise);
    if (make == nullptr) {
        return;
    }
    m_state.shell.currentForm = std::string(FormName(exercise));

    // The Trends window comes first: the exercise window draws on it.
    m_graph = new TfrmGraph(m_state, exercise);
    m_graphSub = addChildWindow(m_graph);
    m_graphSub->move(childPlace(QPoint(231, 0), QPoint(157, 289)));
    m_graph->setEditCursor(m_cross);
    connect(m_graph, &TfrmGraph::closeRequested, this,
            [this] { writeShut(QString::fromStdString(m_state.shell.currentForm)); });
    connect(m_graph, &TfrmGraph::mainTimerStopRequested, this, &TfrmMain::stopTimer);
    connect(m_graph, &TfrmGraph::mainTimerStartRequested, this, [this] {
        if (!Timer->isActive()) {
            Timer->start(); // a running timer is not restarted
        }
    });
    connect(this, &TfrmMain::trendReadoutDue, m_graph, &TfrmGraph::Display);
    Timer->stop();
    m_graphSub->show();
    m_state.shell.trendsOpen = true;

    setControlItemChecked(exercise, true);
    LoopWindow* window = make(m_state, m_graph, this);
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

void TfrmMain::openManual()
{
    // The mimic has no Trends window; it stands where an exercise stands.
    mnuControlOnOff->setChecked(true);
    auto* manual = new TfrmManual(m_state, this);
    connect(manual, &TfrmManual::controlItemUnchecked, this,
            [this] { mnuControlOnOff->setChecked(false); });
    m_exerciseSub = addChildWindow(manual);
    m_exerciseSub->move(childPlace(QPoint(0, 0), QPoint(388, 289)));
    m_exerciseSub->show();
    keepInSight({m_exerciseSub});
    m_mdiArea->setActiveSubWindow(m_exerciseSub);
    m_state.shell.currentForm = kManual;
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
    if (name == QLatin1String(kManual)) {
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

void TfrmMain::setFileCommandsEnabled(bool enabled)
{
    if (!enabled) {
        m_files->forgetFile();
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
    if (const Entry* e = entry(QString::fromLatin1(
            FormName(exercise).data(), static_cast<qsizetype>(FormName(exercise).size())))) {
        e->menuItem->setChecked(checked);
    }
}

void TfrmMain::writeShut(const QString& formName)
{
    txtShut->setText(formName);
}

void TfrmMain::stopTimer()
{
    Timer->stop();
}

void TfrmMain::showKeypad()
{
    if (m_keypad != nullptr) {
        m_keypad->showFor();
    }
}

void TfrmMain::hideKeypad()
{
    if (m_keypad != nullptr) {
        m_keypad->hide();
    }
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
    if (m_history != nullptr && m_history->enabled() &&
        m_state.run.sampleCount >= RunHistory::kMinimumRecords) {
        m_history->keep(TakeRunCopy(m_state, exercise));
    }
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
                    LangText(m_state.shell, "RunHistory",
                             QT_TRANSLATE_NOOP("RunHistory", "Run kept in history"));
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
        LangText(
            m_state.shell, "RunHistory",
            QT_TRANSLATE_NOOP("RunHistory",
                              "A run could not be kept in the run history (%1): %2. Runs go on "
                              "as before; save a run you need with File > Save."))
            .arg(m_history != nullptr ? QDir::toNativeSeparators(m_history->folder()) : QString(),
                 reason),
        QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("msgKeepFailed"));
    // Never modal: a run in progress goes on under it.
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void TfrmMain::mnuFileRecentShow()
{
    mnuFileRecent->clear();
    const QList<KeptRun> runs = m_history != nullptr ? m_history->newest(10) : QList<KeptRun>();
    if (runs.isEmpty()) {
        mnuFileRecent
            ->addAction(LangText(m_state.shell, "RunHistory",
                                 QT_TRANSLATE_NOOP("RunHistory", "No runs kept")))
            ->setEnabled(false);
        return;
    }
    for (const KeptRun& run : runs) {
        QString caption = KeptRunCaption(m_state.shell, run);
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

void TfrmMain::txtShutChange()
{
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
    Timer->stop();
    ShellState& shell = m_state.shell;
    if (shell.closing) {
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
        return;
    }
    if (shell.trendsOpen && m_graph != nullptr && m_graph->view().hoverBlock == 1) {
        emit trendReadoutDue();
        return;
    }
    const QString shut = txtShut->text();
    const Entry* e = entry(shut);
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
    shell.currentForm = kMain;
}

void TfrmMain::mnuFileNewClick()
{
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, windowTitle(), Text(m_state.shell, QT_TRANSLATE_NOOP("TfrmMain", "Are you sure?")),
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

void TfrmMain::mnuFileExitClick()
{
    ShellState& shell = m_state.shell;
    if (shell.closing) {
        return; // already ending: no second question
    }
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, windowTitle(), Text(shell, QT_TRANSLATE_NOOP("TfrmMain", "Close VELMOR?")),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::No) {
        return;
    }
    shell.menuAllowed = false;
    shell.appRunning = false;
    m_state.run.runActive = false;
    shell.closing = true;
    Timer->start();
}

void TfrmMain::mnuPreferencesToolbarClick()
{
    pnlToolbar->setVisible(!pnlToolbar->isVisible());
    mnuPreferencesToolbar->setChecked(pnlToolbar->isVisible());
}

void TfrmMain::mnuPreferencesEasymenusClick()
{
    // The action has already inverted its own check mark.
    if (m_state.shell.currentForm == kMain) {
        if (mnuPreferencesEasymenus->isChecked()) {
            ShowMenu();
        } else {
            HideMenu();
        }
    }
}

void TfrmMain::mnuHelpContentsClick()
{
    m_help->showContents(m_helpFile);
}

void TfrmMain::openHelpUrl(const QUrl& url)
{
    if (url.scheme() == kHelpScheme) {
        mnuHelpContentsClick();
    }
}

void TfrmMain::mnuHelpAboutClick()
{
    if (m_about != nullptr) {
        m_about->show();
        m_about->raise();
        m_about->activateWindow();
    }
}

void TfrmMain::mnuPreferencesOptionsClick()
{
    if (m_prefs != nullptr) {
        m_prefs->SetLanguage();
        m_prefs->show();
        m_prefs->raise();
        m_prefs->activateWindow();
    }
}

void TfrmMain::applyPreferences(bool languageChanged)
{
    ShellState& shell = m_state.shell;
    if (languageChanged) {
        SetLanguage();
        if (m_keypad != nullptr) {
            m_keypad->SetLanguage();
        }
        if (m_about != nullptr) {
            m_about->SetLanguage();
        }
    }
    if (shell.currentForm == kMain) {
        if (shell.showEasyMenu) {
            ShowMenu();
        } else {
            HideMenu();
        }
        if (languageChanged && m_menuScreen != nullptr) {
            if (auto* sub = qobject_cast<QMdiSubWindow*>(m_menuScreen.data())) {
                if (auto* menu = qobject_cast<TfrmMenu*>(sub->widget())) {
                    menu->SetLanguage();
                }
            }
        }
        return;
    }
    if (!languageChanged) {
        return;
    }
    // The open exercise and its Trends window, or the mimic.
    if (ExerciseWindow* exercise = exerciseWindow()) {
        exercise->SetLanguage();
    }
    if (TfrmGraph* graph = graphWindow()) {
        graph->SetLanguage();
    }
    if (TfrmManual* manual = manualWindow()) {
        manual->SetLanguage();
    }
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // The frame is never closed directly: Exit asks first and ends the
    // program through the deferred timer. Once Exit is confirmed nothing
    // holds the frame back (the end of the program may ask it again).
    if (m_state.shell.closing) {
        event->accept();
        return;
    }
    event->ignore();
    mnuFileExitClick();
}

void TfrmMain::FormMouseMove()
{
    if (m_state.shell.trendsOpen) {
        if (TfrmGraph* graph = graphWindow()) {
            graph->RemoveHighlight();
        }
    }
}

void TfrmMain::settleCentre()
{
    if (!m_centreSettled) {
        // The client area as it is now: its size has settled.
        m_centre = QPoint(m_mdiArea->width() / 2, m_mdiArea->height() / 2);
    }
    m_centreSettled = true;
}

void TfrmMain::clientResized()
{
    ShellState& shell = m_state.shell;
    if (shell.closing) {
        return;
    }
    const QPoint centre(m_mdiArea->width() / 2, m_mdiArea->height() / 2);
    if (!m_centreSettled) {
        // Until start-up is over the frame is still finding its size (a
        // maximised start arrives as a resize after the first show): the
        // centre follows it.
        m_centre = centre;
        return;
    }
    std::vector<QWidget*> moving;
    if (shell.menuShown) {
        moving.push_back(m_menuScreen);
    } else if (ExerciseFromForm(shell.currentForm) || shell.currentForm == kManual) {
        moving.push_back(m_exerciseSub);
        moving.push_back(m_graphSub);
    } else {
        return; // nothing open: the old centre stays
    }
    const QPoint shift = centre - m_centre;
    for (QWidget* window : moving) {
        if (window != nullptr) {
            window->move(window->pos() + shift);
        }
    }
    m_centre = centre;
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mdiArea && event->type() == QEvent::Resize) {
        clientResized();
    }
    if (watched == m_mdiArea->viewport() && event->type() == QEvent::MouseMove) {
        FormMouseMove();
    }
    if (watched == m_mdiArea->viewport() && event->type() == QEvent::ContextMenu) {
        MainPopupMenu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace velmor
