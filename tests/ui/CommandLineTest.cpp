// The desktop program's command line, run as a child process the way a
// file manager or a script runs it: a file to open at start, the Trends
// panel as a PNG and the report as a PDF without any display, refused
// files that write nothing, --help, --version and wrong command lines.
#include "ui/shell/FileCommands.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmMain.h"
#include "ui/trends/TfrmGraph.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ProgramFixture.h"

using namespace velmor;
using namespace velmor::test;

namespace {

struct Outcome {
    bool ended = false;
    int code = -1;
    QString out;
    QString err;
};

// The program with `arguments`, with no display and no platform named;
// `modifier` runs in the child before the program starts.
Outcome Velmor(const QStringList& arguments, const char* mode = "--as-velmor",
               const std::function<void()>& modifier = {})
{
    static QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    env.insert(QStringLiteral("HOME"), home.path());
    // Else the toolkit warns of a missing one on standard error.
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    QProcess child;
    child.setProcessEnvironment(env);
    if (modifier) {
        child.setChildProcessModifier(modifier);
    }
    // This test's runner, this class, the child's mode.
    child.start(QCoreApplication::applicationFilePath(),
                QStringList{QStringLiteral("CommandLineTest"), QString::fromLatin1(mode)} +
                    arguments);
    Outcome o;
    o.ended = child.waitForFinished(15000);
    if (!o.ended) {
        child.kill();
        child.waitForFinished();
    }
    o.code = child.exitCode();
    o.out = QString::fromLocal8Bit(child.readAllStandardOutput());
    o.err = QString::fromLocal8Bit(child.readAllStandardError());
    return o;
}

// Child side of `velmor FILE`: the program as main() runs it, reporting
// what is on screen once the file had its chance to open (the program
// opens it at the event loop's first turn, queued before this report).
int ReportOpened(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return RunProgram(argc, argv, [](TfrmMain& main) {
        QTimer::singleShot(0, &main, [&main] {
            const TfrmGraph* graph = main.graphWindow();
            std::printf("%s|%s\n", main.fileCommands()->fileName().toUtf8().constData(),
                        graph != nullptr ? graph->windowTitle().toUtf8().constData() : "none");
            std::fflush(stdout);
            QCoreApplication::exit(3);
        });
    });
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void exportTrendWritesTheWindowsPanel();
    void printPdfWritesTheReport();
    void refusedFilesWriteNothing();
    void fileOnTheCommandLineOpensAtStart();
    void helpVersionAndWrongCommandLines();
    void refusalsAreOneLineAndWriteNothing();
    void exportMapWritesTheMapOrRefusesInOneLine();
};

void CommandLineTest::exportTrendWritesTheWindowsPanel()
{
    const QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("trend.png"));
    const QString file = Golden("batch_changes.psm");
    Outcome o = Velmor({QStringLiteral("--export-trend"), png, file});
    QVERIFY2(o.ended && o.code == 0, qPrintable(o.err));
    const QImage written(png);
    QCOMPARE(written.size(), QSize(524, 501));

    // Exactly what the Trends window shows after File > Open of that file.
    Program p;
    QVERIFY(p.main->fileCommands()->openFile(file).read);
    QCOMPARE(written.convertToFormat(QImage::Format_RGB32),
             p.main->graphWindow()->panel().convertToFormat(QImage::Format_RGB32));

    const QString twice = dir.filePath(QStringLiteral("twice.png"));
    o = Velmor({QStringLiteral("--export-trend"), twice, QStringLiteral("--scale"),
                QStringLiteral("2"), file});
    QVERIFY2(o.ended && o.code == 0, qPrintable(o.err));
    QCOMPARE(QImage(twice).size(), QSize(1048, 1002));
}

void CommandLineTest::printPdfWritesTheReport()
{
    const QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    const Outcome o =
        Velmor({QStringLiteral("--print-pdf"), pdf, Golden("level_ramp_integral_change.psm")});
    QVERIFY2(o.ended && o.code == 0, qPrintable(o.err));
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    QCOMPARE(bytes.count("/Type /Page\n"), 1);
}

void CommandLineTest::refusedFilesWriteNothing()
{
    const QTemporaryDir dir;
    const QString notes = dir.filePath(QStringLiteral("notes.psm"));
    {
        QFile f(notes);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Shopping list\r\n");
    }
    const QString png = dir.filePath(QStringLiteral("trend.png"));
    Outcome o = Velmor({QStringLiteral("--export-trend"), png, notes});
    QVERIFY(o.ended);
    QCOMPARE(o.code, 1);
    QVERIFY2(o.err.contains(QStringLiteral("VELMOR does not load KLN trends")), qPrintable(o.err));
    QVERIFY(!QFile::exists(png));

    // An earlier picture stays as it was.
    {
        QFile f(png);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("earlier");
    }
    o = Velmor({QStringLiteral("--export-trend"), png, dir.filePath(QStringLiteral("gone.psm"))});
    QCOMPARE(o.code, 1);
    QFile f(png);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("earlier"));

    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    o = Velmor({QStringLiteral("--print-pdf"), pdf, notes});
    QCOMPARE(o.code, 1);
    QVERIFY(!QFile::exists(pdf));
}

void CommandLineTest::fileOnTheCommandLineOpensAtStart()
{
    const Outcome o = Velmor({Golden("open_sawtooth.psm")}, "--report-opened");
    QVERIFY2(o.ended, qPrintable(o.err));
    QCOMPARE(o.code, 3);
    QCOMPARE(o.out, QStringLiteral("open_sawtooth.psm|Open Loop Trend - open_sawtooth.psm\n"));
}

void CommandLineTest::helpVersionAndWrongCommandLines()
{
    Outcome o = Velmor({QStringLiteral("--help")});
    QCOMPARE(o.code, 0);
    QVERIFY(o.out.startsWith(QStringLiteral("Usage: velmor [FILE.psm | SHEET.vlab]\n")));
    QVERIFY(o.out.contains(QStringLiteral("--export-trend OUT.png")));
    QVERIFY(o.out.contains(QStringLiteral("--print-pdf OUT.pdf")));
    o = Velmor({QStringLiteral("--version")});
    QCOMPARE(o.code, 0);
    QCOMPARE(o.out, QStringLiteral("VELMOR 7.0.6\n"));

    const QString file = Golden("open_sawtooth.psm");
    for (const QStringList& wrong :
         {QStringList{QStringLiteral("--bogus")},
          QStringList{QStringLiteral("--export-trend"), QStringLiteral("x.png")},
          QStringList{QStringLiteral("--export-trend"), QStringLiteral("x.png"),
                      QStringLiteral("--scale"), QStringLiteral("9"), file},
          QStringList{QStringLiteral("--scale"), QStringLiteral("2"), file},
          QStringList{file, file}}) {
        o = Velmor(wrong);
        QCOMPARE(o.code, 2);
        QVERIFY2(o.err.contains(QStringLiteral("Try 'velmor --help'.")), qPrintable(o.err));
    }
    QVERIFY(!QFile::exists(QStringLiteral("x.png")));
    // The toolkit's own options, with their values, are not the mistake.
    o = Velmor({QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("-reverse"),
                QStringLiteral("-qwindowtitle=T"), QStringLiteral("--bogus")});
    QCOMPARE(o.code, 2);
    QVERIFY2(o.err.startsWith(QStringLiteral("velmor: Unknown option 'bogus'.")),
             qPrintable(o.err));
}

void CommandLineTest::refusalsAreOneLineAndWriteNothing()
{
    const QTemporaryDir dir;
    const QString file = Golden("open_sawtooth.psm");
    const QString png = dir.filePath(QStringLiteral("trend.png"));
    const QString fifo = dir.filePath(QStringLiteral("run.psm"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
    const QString big = dir.filePath(QStringLiteral("big.psm"));
    {
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(qint64(16) * 1024 * 1024 + 1)); // sparse
    }
    const auto devFull = [] {
        const int fd = ::open("/dev/full", O_WRONLY);
        ::dup2(fd, 1);
        ::close(fd);
    };
    const auto closed = [] { ::close(1); };
    const QString hint = QStringLiteral(" Try 'velmor --help'.");
    const QString trend = QStringLiteral("--export-trend");
    const QString pdf = QStringLiteral("--print-pdf");
    struct Case {
        QStringList arguments;
        int code;
        QString err; // after "velmor: ", without the line end
        std::function<void()> modifier = {};
    };
    const std::vector<Case> cases = {
        {{QStringLiteral("--help")},
         2,
         QStringLiteral("cannot write to standard output: No space left on device"),
         devFull},
        {{QStringLiteral("--version")},
         2,
         QStringLiteral("cannot write to standard output: Bad file descriptor"),
         closed},
        {{trend, QString(), file}, 2, QStringLiteral("--export-trend needs a file name.") + hint},
        {{pdf, QString(), file}, 2, QStringLiteral("--print-pdf needs a file name.") + hint},
        {{QStringLiteral("--bogus\x1b]0;x\x07")},
         2,
         QStringLiteral("Unknown option 'bogus\\x1b]0;x\\x07'.") + hint},
        {{file, file}, 2, QStringLiteral("one simulation file at most, not 2.") + hint},
        {{trend, png, QStringLiteral("/dev/zero")},
         1,
         QStringLiteral("/dev/zero: Cannot read zero: it is not a regular file.")},
        {{pdf, png, fifo},
         1,
         fifo + QStringLiteral(": Cannot read run.psm: it is not a regular file.")},
        {{trend, png, big},
         1,
         big +
             QStringLiteral(": Cannot read big.psm: it is larger than a simulation file can be.")},
        {{trend, png, dir.filePath(QStringLiteral("gone\n.psm"))},
         1,
         QStringLiteral("cannot read %1: no such file")
             .arg(dir.filePath(QStringLiteral("gone\\n.psm")))},
        // One output refused: the other is not written either.
        {{trend, png, pdf, dir.path(), file},
         1,
         QStringLiteral("cannot write %1: it is a folder, not a regular file").arg(dir.path())},
        {{pdf, dir.filePath(QStringLiteral("report.pdf")), trend,
          dir.filePath(QStringLiteral("none/x.png")), file},
         1,
         QStringLiteral("cannot write %1: No such file or directory")
             .arg(dir.filePath(QStringLiteral("none/x.png")))},
    };
    for (const Case& c : cases) {
        const Outcome o = Velmor(c.arguments, "--as-velmor", c.modifier);
        QVERIFY2(o.ended, qPrintable(c.arguments.join(QLatin1Char(' '))));
        QCOMPARE(o.code, c.code);
        QCOMPARE(o.err, QStringLiteral("velmor: ") + c.err + QLatin1Char('\n'));
        QCOMPARE(o.out, QString());
    }
    QCOMPARE(QDir(dir.path())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("big.psm"), QStringLiteral("run.psm")}));
}

void CommandLineTest::exportMapWritesTheMapOrRefusesInOneLine()
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("map.png"));
    const QStringList grid = {QStringLiteral("--vary"), QStringLiteral("flowGain=0.5:4:5"),
                              QStringLiteral("--vary"), QStringLiteral("flowIntegralTime=0.2:1:3")};
    Outcome o = Velmor(
        QStringList{QStringLiteral("--export-map"), png, QStringLiteral("flow")} + grid +
        QStringList{QStringLiteral("--records"), QStringLiteral("300"), QStringLiteral("--log"),
                    QStringLiteral("flowGain"), QStringLiteral("--scale"), QStringLiteral("2")});
    QVERIFY(o.ended);
    QCOMPARE(o.err, QString());
    QCOMPARE(o.code, 0);
    const QImage picture(png);
    QCOMPARE(picture.size(), QSize(1440, 1040));

    // Each refusal: one line, status 2, and the earlier picture untouched.
    const QByteArray before = [&] {
        QFile f(png);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    struct Refused {
        QStringList args;
        const char* err;
    };
    const auto map = [&](QStringList rest) {
        return QStringList{QStringLiteral("--export-map"), png, QStringLiteral("flow")} + rest;
    };
    const Refused cases[] = {
        {QStringList{QStringLiteral("--export-map")},
         "--export-map needs OUT.png, an exercise (flow, level, temperature or batch) and two "
         "--vary NAME=FROM:TO:COUNT"},
        {map({QStringLiteral("--vary"), QStringLiteral("flowGain=0.5:4:5")}),
         "--export-map needs two --vary NAME=FROM:TO:COUNT, one for each axis, not 1"},
        {map(grid + QStringList{QStringLiteral("--vary"), QStringLiteral("flowGain=1:2:2")}),
         "--vary flowGain is given twice"},
        {map({QStringLiteral("--vary"), QStringLiteral("flowGain=0.5:400:5"),
              QStringLiteral("--vary"), QStringLiteral("flowIntegralTime=0.2:1:3")}),
         nullptr},
        {map({QStringLiteral("--vary"), QStringLiteral("flowGain=0.5:4:202"),
              QStringLiteral("--vary"), QStringLiteral("flowIntegralTime=0.2:1:3")}),
         "--vary flowGain: at most 201 values on a map's axis"},
        {map(grid + QStringList{QStringLiteral("--log"), QStringLiteral("flowDerivativeTime")}),
         "--log flowDerivativeTime: not one of the two varied settings"},
        {map({QStringLiteral("--vary"), QStringLiteral("flowDerivativeTime=0:1:3"),
              QStringLiteral("--vary"), QStringLiteral("flowGain=1:2:2"), QStringLiteral("--log"),
              QStringLiteral("flowDerivativeTime")}),
         "--vary flowDerivativeTime: a logarithmic axis needs values above 0"},
        {map(grid + QStringList{QStringLiteral("--figure"), QStringLiteral("peak")}),
         "--figure peak: expected iae, overshoot, settling or stable"},
        {map(grid + QStringList{QStringLiteral("--scale"), QStringLiteral("5")}),
         "--scale 5: expected a whole number from 1 to 4"},
        {map(grid + QStringList{QStringLiteral("--scale"), QStringLiteral("0")}),
         "--scale 0: expected a whole number from 1 to 4"},
        {map(grid + QStringList{QStringLiteral("--set"), QStringLiteral("nosuch=1")}), nullptr},
        {QStringList{QStringLiteral("--export-map"), png, QStringLiteral("open"),
                     QStringLiteral("--vary"), QStringLiteral("waveA=1:2:2")},
         "--export-map: the open exercise has no controlled loop to judge (expected flow, level, "
         "temperature or batch)"},
        {QStringList{QStringLiteral("--export-map"), dir.path(), QStringLiteral("flow")} + grid,
         nullptr},
    };
    for (const Refused& c : cases) {
        o = Velmor(c.args);
        QVERIFY(o.ended);
        QCOMPARE(o.code, 2);
        QVERIFY2(o.err.startsWith(QStringLiteral("velmor: ")) &&
                     o.err.endsWith(QLatin1Char('\n')) && o.err.count(QLatin1Char('\n')) == 1,
                 qPrintable(o.err));
        if (c.err != nullptr) {
            QCOMPARE(o.err,
                     QStringLiteral("velmor: ") + QString::fromUtf8(c.err) + QLatin1Char('\n'));
        }
        QFile f(png);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }
    // velmor-sim's own words for a value out of the keypad's limits.
    o = Velmor(map({QStringLiteral("--vary"), QStringLiteral("flowGain=0.5:400:5"),
                    QStringLiteral("--vary"), QStringLiteral("flowIntegralTime=0.2:1:3")}));
    QVERIFY2(o.err.startsWith(QStringLiteral("velmor: --vary flowGain")), qPrintable(o.err));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("map.png")});
}

int CommandLineTestMain(int argc, char** argv)
{
    if (argc >= 2 && (std::strcmp(argv[1], "--as-velmor") == 0 ||
                      std::strcmp(argv[1], "--report-opened") == 0)) {
        // The rest of the command line is the program's own.
        std::vector<char*> program{argv[0]};
        program.insert(program.end(), argv + 2, argv + argc);
        int count = static_cast<int>(program.size());
        return std::strcmp(argv[1], "--as-velmor") == 0 ? RunProgram(count, program.data())
                                                        : ReportOpened(count, program.data());
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    CommandLineTest test;
    return QTest::qExec(&test, argc, argv);
}

VELMOR_TEST_MAIN_FUNCTION(CommandLineTest, program, CommandLineTestMain)

#include "CommandLineTest.moc"
