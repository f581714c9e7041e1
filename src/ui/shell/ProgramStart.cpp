#include "ui/shell/ProgramStart.h"

#include "core/rundata/AtomicFile.h"
#include "ui/shell/BuildInfo.h"
#include "ui/shell/CommandLine.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/RunHistory.h"
#include "ui/shell/ShellArt.h"
#include "ui/shell/TfrmAbout.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmIntro.h"
#include "ui/shell/TfrmMain.h"
#include "ui/shell/TfrmMenu.h"
#include "ui/shell/TfrmPrefs.h"
#include "ui/trends/TfrmGraph.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace velmor {

namespace {

constexpr int kPixmapCacheKb = 2048;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

void Complain(const QString& text)
{
    std::fprintf(stderr, "velmor: %s\n", qPrintable(text));
}

void SetIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("VELMOR"));
    QCoreApplication::setApplicationVersion(FullVersion());
}

// --export-trend and --print-pdf: the file opened as File > Open opens it,
// in windows that are never shown, then the picture or the report written
// in one step. Nothing needs a display.
int WriteFiles(int argc, char** argv, const CommandLine& line)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (line.scale != 1) {
        // The panel is drawn at this pixel ratio, as on such a screen.
        qputenv("QT_SCALE_FACTOR", QByteArray::number(line.scale));
    }
    QApplication app(argc, argv);
    SetIdentity();
    if (!QFileInfo(line.file).isFile()) {
        Complain(QStringLiteral("cannot read %1: no such file").arg(line.file));
        return kExitRefused;
    }
    // The user's stored preferences are neither read nor written.
    const QTemporaryDir store;
    Preferences preferences(store.filePath(QStringLiteral("velmor.ini")));
    auto state = std::make_unique<VelmorState>();
    std::unique_ptr<TfrmMain> frmMain = CreateProgram(*state, preferences);
    FileCommands* files = frmMain->fileCommands();
    const FileCommands::OpenOutcome outcome =
        files->openFile(line.file, [](const QString& warning) {
            if (!warning.isEmpty()) {
                Complain(warning);
            }
        });
    if (!outcome.read || frmMain->graphWindow() == nullptr) {
        Complain(QStringLiteral("%1: %2").arg(line.file, outcome.refusal));
        return kExitRefused;
    }
    if (!line.exportTrend.isEmpty()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        frmMain->graphWindow()->panel().save(&buffer, "PNG");
        const WriteResult written = WriteFileAtomically(
            QFile::encodeName(line.exportTrend).toStdString(), png.toStdString());
        if (!written.ok()) {
            Complain(QStringLiteral("cannot write %1: %2")
                         .arg(line.exportTrend, QString::fromStdString(written.error)));
            return kExitRefused;
        }
    }
    if (!line.printPdf.isEmpty()) {
        const QString failure = files->writeReportPdf(line.printPdf);
        if (!failure.isEmpty()) {
            Complain(QStringLiteral("cannot write %1: %2").arg(line.printPdf, failure));
            return kExitRefused;
        }
    }
    return 0;
}

} // namespace

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
    if (!options.historyFolder.isEmpty()) {
        main->setRunHistory(new RunHistory(options.historyFolder));
    }
    main->setPreferencesWindow(new TfrmPrefs(state, preferences, *main));
    return main;
}

int RunProgram(int argc, char** argv, const std::function<void(TfrmMain&)>& started)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // Everything but opening the windows is answered before any window
    // toolkit starts: no display is needed for --help, --version, the
    // options that only write files, or a mistake.
    const CommandLine line = ParseCommandLine(arguments);
    if (line.help) {
        std::fputs(qPrintable(CommandLineHelp()), stdout);
        return 0;
    }
    if (line.version) {
        std::printf("VELMOR %s\n", build::kVersion);
        return 0;
    }
    if (!line.error.isEmpty()) {
        Complain(line.error + QStringLiteral("\nTry 'velmor --help'."));
        return kExitUsage;
    }
    if (line.writesFiles()) {
        return WriteFiles(argc, argv, line);
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
    QApplication::setWindowIcon(ProgramIcon());
    // The desktop finds the running program's entry (and with it its icon)
    // by this name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(build::kAppId));

    // The one state of the program; every window works on it.
    auto state = std::make_unique<VelmorState>();
    Preferences preferences;
    std::unique_ptr<TfrmMain> frmMain = CreateProgram(
        *state, preferences, {.intro = true, .historyFolder = RunHistory::DefaultFolder()});
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
    if (!line.file.isEmpty()) {
        // Opened as File > Open opens it, once the event loop runs.
        TfrmMain* main = frmMain.get();
        QTimer::singleShot(
            0, main, [main, file = line.file] { main->fileCommands()->openChosenFile(file); });
    }
    if (started) {
        started(*frmMain);
    }
    const int code = QApplication::exec();
    frmMain.reset();
    return code;
}

} // namespace velmor
