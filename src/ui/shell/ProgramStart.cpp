#include "ui/shell/ProgramStart.h"

#include "core/rundata/AtomicFile.h"
#include "core/shell/OneLine.h"
#include "ui/shell/BuildInfo.h"
#include "ui/shell/CommandLine.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/LabSheetSession.h"
#include "ui/shell/MapExport.h"
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

#include <array>
#include <cerrno>
#include <cstdio>

namespace velmor {

namespace {

constexpr int kPixmapCacheKb = 2048;
constexpr int kExitRefused = 1;
constexpr int kProgramStartExitUsage = 2;

// One line on standard error, whatever the arguments echoed in it hold.
void Complain(const QString& text)
{
    std::fprintf(stderr, "velmor: %s\n", OneLine(text.toLocal8Bit().toStdString()).c_str());
}

// --help and --version: a full disk or a closed standard output is a
// failure, as in velmor-sim.
int Answer(const QByteArray& text)
{
    errno = 0;
    if (std::fputs(text.constData(), stdout) < 0 || std::fflush(stdout) != 0) {
        Complain(QStringLiteral("cannot write to standard output: %1")
                     .arg(QString::fromStdString(SystemErrorText(errno))));
        return kProgramStartExitUsage;
    }
    return 0;
}

QString CannotWrite(const QString& file, const std::string& reason)
{
    return QStringLiteral("cannot write %1: %2").arg(file, QString::fromStdString(reason));
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
    // Both targets are checked before anything is made: when one of them is
    // refused, neither is written.
    struct Output {
        QString name;
        AtomicFile file;
        QByteArray bytes;
    };
    std::array<Output, 2> outputs;
    outputs[0].name = line.exportTrend;
    outputs[1].name = line.printPdf;
    for (Output& o : outputs) {
        if (o.name.isEmpty()) {
            continue;
        }
        if (const WriteResult r = o.file.open(QFile::encodeName(o.name).toStdString()); !r.ok()) {
            Complain(CannotWrite(o.name, r.error));
            return kExitRefused;
        }
    }
    if (!QFileInfo::exists(line.file)) {
        Complain(QStringLiteral("cannot read %1: no such file").arg(line.file));
        return kExitRefused;
    }
    // The user's stored preferences are neither read nor written.
    const QTemporaryDir store;
    Preferences preferences(store.filePath(QStringLiteral("velmor.ini")));
    auto state = std::make_unique<VelmorState>();
    std::unique_ptr<TfrmMain> frmMain = CreateProgram(*state, preferences);
    FileCommands* files = frmMain->fileCommands();
    QString warning; // the reader's, for a run that succeeds: a refusal stays one line
    const FileCommands::OpenOutcome outcome =
        files->openFile(line.file, [&warning](const QString& text) { warning = text; });
    if (!outcome.read || frmMain->graphWindow() == nullptr) {
        Complain(QStringLiteral("%1: %2").arg(line.file, outcome.refusal));
        return kExitRefused;
    }
    if (!line.exportTrend.isEmpty()) {
        QBuffer buffer(&outputs[0].bytes);
        buffer.open(QIODevice::WriteOnly);
        frmMain->graphWindow()->panel().save(&buffer, "PNG");
    }
    if (!line.printPdf.isEmpty()) {
        outputs[1].bytes = files->reportPdf();
    }
    // Both written before either takes its name.
    for (const bool commit : {false, true}) {
        for (Output& o : outputs) {
            if (o.name.isEmpty()) {
                continue;
            }
            const WriteResult r =
                commit ? o.file.commit()
                       : o.file.write(std::string_view(o.bytes.constData(), o.bytes.size()));
            if (!r.ok()) {
                Complain(CannotWrite(o.name, r.error));
                return kExitRefused;
            }
        }
    }
    if (!warning.isEmpty()) {
        Complain(warning);
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
    main->setMimicClock(options.mimicClock);
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
    if (AsksForMap(arguments)) {
        return ExportMap(argc, argv, arguments);
    }
    const CommandLine line = ParseCommandLine(arguments);
    if (line.help) {
        return Answer(CommandLineHelp().toLocal8Bit());
    }
    if (line.version) {
        return Answer(QByteArray("VELMOR ") + build::kVersion + '\n');
    }
    if (!line.error.isEmpty()) {
        // One line, the hint on it.
        const QString stop =
            line.error.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".");
        Complain(line.error + stop + QStringLiteral(" Try 'velmor --help'."));
        return kProgramStartExitUsage;
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
        QTimer::singleShot(0, main, [main, file = line.file] {
            if (file.endsWith(QStringLiteral(".vlab"), Qt::CaseInsensitive)) {
                main->labSheets()->openChosenSheet(file);
            } else {
                main->fileCommands()->openChosenFile(file);
            }
        });
    }
    if (started) {
        started(*frmMain);
    }
    const int code = QApplication::exec();
    frmMain.reset();
    return code;
}

} // namespace velmor
