#include "ui/shell/ProgramStart.h"

#include "ui/shell/BuildInfo.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/ShellArt.h"
#include "ui/shell/TfrmAbout.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmIntro.h"
#include "ui/shell/TfrmMain.h"
#include "ui/shell/TfrmMenu.h"
#include "ui/shell/TfrmPrefs.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmapCache>

#include <cstdio>

namespace velmor {

namespace {

constexpr int kPixmapCacheKb = 2048;

void SetIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("VELMOR"));
    QCoreApplication::setApplicationVersion(FullVersion());
}

// Every option of the program's command line.
void DescribeCommandLine(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("VELMOR: a training simulator of a small process-control teaching rig."));
    parser.addHelpOption();
    parser.addVersionOption();
}

} // namespace

CommandLine ReadCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    DescribeCommandLine(parser);
    CommandLine line;
    const bool parsed = parser.parse(arguments);
    // Help and version are answered even beside an option not known here.
    if (parser.isSet(QStringLiteral("help"))) {
        line.action = CommandLine::Action::Help;
        line.output = parser.helpText();
    } else if (parser.isSet(QStringLiteral("version"))) {
        line.action = CommandLine::Action::Version;
        line.output = QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion() + QLatin1Char('\n');
    } else if (!parsed) {
        line.action = CommandLine::Action::Error;
        line.output = parser.errorText() + QLatin1Char('\n') + parser.helpText();
    }
    return line;
}

std::unique_ptr<TfrmMain> CreateProgram(VelmorState& state, Preferences& preferences,
                                        const StartOptions& options)
{
    // The style keeps pictures of buttons and check boxes per palette, and
    // every exercise window opened brings its own palette: about 45 kB more
    // each time, up to the cache's 10 MB. One window's set is far less than
    // this limit, so drawing is as fast and the program does not grow.
    QPixmapCache::setCacheLimit(kPixmapCacheKb);
    auto main = std::make_unique<TfrmMain>(state, preferences);
    main->setMenuScreenFactory(
        [&state](TfrmMain* frame) -> QWidget* { return ShowMenuScreen(state, *frame); });
    // The about box, the keypad and the preferences window are windows of
    // the frame: they go with it at the end. All three start hidden.
    main->setAboutBox(new TfrmAbout(state, main.get()));
    // The keypad is a tool window of the frame: it stays above it.
    auto* keypad = new TfrmCalculator(state, main.get());
    keypad->hide();
    main->setKeypad(keypad);
    if (options.intro) {
        new TfrmIntro(state, *main);
    }
    main->setPreferencesWindow(new TfrmPrefs(state, preferences, *main));
    return main;
}

namespace {

int Answer(const CommandLine& line)
{
    const bool error = line.action == CommandLine::Action::Error;
    std::fputs(line.output.toLocal8Bit().constData(), error ? stderr : stdout);
    return error ? 1 : 0;
}

} // namespace

int RunProgram(int argc, char** argv, const std::function<void(TfrmMain&)>& started)
{
    {
        // --help and --version need no display: they are answered by a
        // bare application object before any window toolkit starts. Other
        // mistakes wait until the toolkit has taken its own options
        // (-platform, -style, ...) off the command line.
        QCoreApplication bare(argc, argv);
        SetIdentity();
        const CommandLine line = ReadCommandLine(QCoreApplication::arguments());
        if (line.action == CommandLine::Action::Help ||
            line.action == CommandLine::Action::Version) {
            return Answer(line);
        }
    }
    // The windows are laid out in pixels. A whole scale factor (200 %) scales
    // them as a whole; a fractional one below 175 % (125 %, 150 %) is left to
    // the fonts instead, which then come out larger than the layout expects:
    // that is the large-font mode the windows compensate for, and the
    // windows still fit the screen.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);
    QApplication app(argc, argv);
    SetIdentity();
    if (const CommandLine line = ReadCommandLine(QCoreApplication::arguments());
        line.action != CommandLine::Action::Run) {
        return Answer(line);
    }
    QApplication::setWindowIcon(ProgramIcon());
    // The desktop finds the running program's entry (and with it its icon)
    // by this name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(build::kAppId));

    // The one state of the program; every window works on it.
    auto state = std::make_unique<VelmorState>();
    Preferences preferences;
    std::unique_ptr<TfrmMain> frmMain = CreateProgram(*state, preferences, {.intro = true});
    // Exit has released every window: end the event loop without asking the
    // windows again (quit() would ask them to close first).
    QObject::connect(
        frmMain.get(), &TfrmMain::terminateRequested, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    frmMain->show();
    if (auto* intro = frmMain->findChild<TfrmIntro*>()) {
        intro->show();
        intro->raise();
    }
    if (started) {
        started(*frmMain);
    }
    const int code = QApplication::exec();
    frmMain.reset();
    return code;
}

} // namespace velmor
