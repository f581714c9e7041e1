#include "ui/shell/TfrmMain.h"

#include "ui/analysis/AnalysisMenu.h"
#include "ui/common/Language.h"
#include "ui/mimic/TfrmManual.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/HelpViewer.h"
#include "ui/shell/LabSheetSession.h"
#include "ui/shell/Preferences.h"
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
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProxyStyle>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

namespace velmor {

namespace {

// The frame's layout size: at exactly this size child windows stand
// at their fixed places; at any other they are centred.
constexpr QSize kLayoutSize{776, 578};

// Large-font mode: the fonts are scaled up while the layout's pixels are
// not (a fractional screen scale left to the fonts, or a larger font
// resolution). The reference is the point at y = 428 in the layout; the mode
// is on when that position, scaled as the fonts are, passes 450.
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
    buildClientArea();
    buildTimers();

    m_help = new HelpViewer(this);
    m_help->hide();
    QDesktopServices::setUrlHandler(kHelpScheme, this, "openHelpUrl");

    m_files = new FileCommands(m_state, this);
    m_labSheets = new LabSheetSession(m_state, this);
    buildMenus();
    buildToolbar();
    for (const Entry& e : m_entries) {
        connectExercise(e);
    }
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    QDesktopServices::unsetUrlHandler(kHelpScheme);
    // Released without close requests: nothing is posted any more.
    delete m_exerciseSub;
    delete m_graphSub;
}

// The toolbar across the top, the child windows' area below it, and the
// hidden cross picture.
void TfrmMain::buildClientArea()
{
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    pnlToolbar = new QWidget(client);
    pnlToolbar->setObjectName(QStringLiteral("pnlToolbar"));
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

    imgCross = new QLabel(client);
    imgCross->setObjectName(QStringLiteral("imgCross"));
    imgCross->setPixmap(CrossPicture());
    imgCross->hide();
    m_cross = CrossCursor();
}

void TfrmMain::buildTimers()
{
    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setSingleShot(true);
    Timer->setInterval(500);
    connect(Timer, &QTimer::timeout, this, &TfrmMain::TimerTimer);
    exitTimer = new QTimer(this);
    exitTimer->setObjectName(QStringLiteral("exitTimer"));
    exitTimer->setSingleShot(true);
    exitTimer->setInterval(500);
    connect(exitTimer, &QTimer::timeout, this, &TfrmMain::exitTimerTimer);
    switchTimer = new QTimer(this);
    switchTimer->setObjectName(QStringLiteral("switchTimer"));
    switchTimer->setSingleShot(true);
    switchTimer->setInterval(750);
    connect(switchTimer, &QTimer::timeout, this, &TfrmMain::continueStart);
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
}

void TfrmMain::FormCreate()
{
    resize(1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    readPreferences();
    ShellState& shell = m_state.shell;
    shell.language = Language::English;
    InstallLanguage(shell.language);
    shell.currentForm = kMainForm;
    SetLanguage();
    shell.menuShown = false;
    shell.menuAllowed = true;
    shell.appRunning = true;
    shell.closing = false;
    shell.trendsOpen = false;
    shell.decimalComma = QLocale().toString(0.01).contains(QLatin1Char(','));
    shell.largeFonts = LargeFonts(logicalDpiY());
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
    // Every open window retranslates itself on the change of language.
    if (languageChanged) {
        InstallLanguage(shell.language);
    }
    if (shell.currentForm == kMainForm) {
        if (shell.showEasyMenu) {
            ShowMenu();
        } else {
            HideMenu();
        }
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
    } else if (entry(QString::fromStdString(shell.currentForm)) != nullptr) {
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

void TfrmMain::popUpMenu(const QPoint& globalPos)
{
    MainPopupMenu->popup(globalPos);
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
        popUpMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        SetLanguage();
    }
    QMainWindow::changeEvent(event);
}

} // namespace velmor
