// The desktop program's command line, run as a child process the way a
// file manager or a script runs it: a file to open at start, the Trends
// panel as a PNG and the report as a PDF without any display, refused
// files that write nothing, --help, --version and wrong command lines.
#include "ui/shell/FileCommands.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmMain.h"
#include "ui/trends/TfrmGraph.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <vector>

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

// The program with `arguments`, with no display and no platform named.
Outcome Velmor(const QStringList& arguments, const char* mode = "--as-velmor")
{
    static QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    env.insert(QStringLiteral("HOME"), home.path());
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                QStringList{QString::fromLatin1(mode)} + arguments);
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
// what is on screen once the file had its chance to open.
int ReportOpened(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return RunProgram(argc, argv, [](TfrmMain& main) {
        QTimer::singleShot(300, &main, [&main] {
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
    QVERIFY(o.out.startsWith(QStringLiteral("Usage: velmor [FILE.psm]\n")));
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

int main(int argc, char** argv)
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

#include "CommandLineTest.moc"
