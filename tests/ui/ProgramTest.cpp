// The real program, as its main() starts it, in a child process: Exit
// answered Yes ends the process (from the File menu, from the frame's close
// box, with and without a run), No keeps it; a 120 dpi font resolution
// turns on large-font mode and the exercise still fits a 1024 x 768 screen.
#include "MainItems.h"

#include "ui/exercises/TfrmFlow.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmIntro.h"
#include "ui/shell/TfrmMain.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <vector>

using namespace velmor;
using velmor::test::Item;

namespace {

// Child side: answers the next question box with `button` once it is up.
void AnswerSoon(QMessageBox::StandardButton button)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, button] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::printf("asked: %s\n", qPrintable(box->text()));
            std::fflush(stdout);
            poll->deleteLater();
            box->button(button)->click();
        }
    });
    poll->start(20);
}

void OpenFlow(TfrmMain& main, bool run)
{
    Item(main, "mnuControlFlow")->trigger();
    if (run) {
        dynamic_cast<TfrmFlow*>(main.exerciseWindow())->btnStartClick();
    }
}

// The child's scenarios, run inside the real program.
int Child(char** argv, const char* scenario)
{
    // The program gets its own name only: the test's options are not its.
    int argc = 1;
    return RunProgram(argc, argv, [scenario](TfrmMain& main) {
        QTimer::singleShot(100, &main, [&main, scenario] {
            const std::string s = scenario;
            if (s == "exit" || s == "exit-running") {
                OpenFlow(main, s == "exit-running");
                AnswerSoon(QMessageBox::Yes);
                Item(main, "mnuFileExit")->trigger();
            } else if (s == "close-box" || s == "close-box-running") {
                OpenFlow(main, s == "close-box-running");
                AnswerSoon(QMessageBox::Yes);
                main.close();
            } else if (s == "close-box-no") {
                // No keeps the program; a second request, answered Yes, ends it.
                AnswerSoon(QMessageBox::No);
                main.close();
                QTimer::singleShot(700, &main, [&main] {
                    std::printf("still running\n");
                    std::fflush(stdout);
                    AnswerSoon(QMessageBox::Yes);
                    main.close();
                });
            } else if (s == "intro") {
                // The real start: the intro is up, on top of the frame; a
                // click ends it and brings the easy menu screen (first run).
                auto* intro = main.findChild<TfrmIntro*>();
                std::printf("intro %d menu %d\n", intro != nullptr && intro->isVisible() ? 1 : 0,
                            main.menuScreen() != nullptr ? 1 : 0);
                if (intro != nullptr) {
                    intro->imgIntroClick();
                }
                std::printf("after click menu %d\n", main.menuScreen() != nullptr ? 1 : 0);
                std::fflush(stdout);
                QCoreApplication::exit(3);
            } else if (s == "scale") {
                OpenFlow(main, false);
                main.keypad()->showFor();
                QTimer::singleShot(100, &main, [&main] {
                    const QRect area(QPoint(0, 0), main.mdiArea()->contentsRect().size());
                    const QRect both = main.exerciseSubWindow()->frameGeometry() |
                                       main.graphSubWindow()->frameGeometry();
                    std::printf("dpi %d keypad %dx%d fits %d\n", main.logicalDpiY(),
                                main.keypad()->width(), main.keypad()->height(),
                                area.contains(both) ? 1 : 0);
                    std::fflush(stdout);
                    QCoreApplication::exit(3);
                });
            }
        });
    });
}

struct ProgramOutcome {
    bool ended = false;
    int code = -1;
    QString output;
};

// Runs this test as a child process with `arguments`, in a home of the
// test's own, on the offscreen platform unless `env` names another.
ProgramOutcome RunChildWith(const QStringList& arguments, QProcessEnvironment env = {},
                            int ms = 8000,
                            QProcess::ProcessChannelMode channels = QProcess::ForwardedErrorChannel)
{
    static QTemporaryDir home;
    if (env.isEmpty()) {
        env = QProcessEnvironment::systemEnvironment();
    }
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM"))) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    // The child's stored preferences, and the runs it keeps, live in a
    // folder of the test's own.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("HOME"), home.path());
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(channels);
    // This test's runner, this class, the child's mode.
    child.start(QCoreApplication::applicationFilePath(),
                QStringList{QStringLiteral("ProgramTest")} + arguments);
    ProgramOutcome outcome;
    outcome.ended = child.waitForFinished(ms);
    if (!outcome.ended) {
        child.kill();
        child.waitForFinished();
    }
    outcome.code = child.exitCode();
    outcome.output = QString::fromLocal8Bit(child.readAllStandardOutput());
    return outcome;
}

ProgramOutcome RunChild(const char* scenario, QProcessEnvironment env = {}, int ms = 8000)
{
    return RunChildWith({QStringLiteral("--child"), QString::fromLatin1(scenario)}, std::move(env),
                        ms);
}

// The real program with its own command line (`velmor ARGUMENTS`).
ProgramOutcome RunProgramWith(const QStringList& arguments, QProcessEnvironment env = {})
{
    return RunChildWith(QStringList{QStringLiteral("--program")} + arguments, std::move(env), 8000,
                        QProcess::MergedChannels);
}

} // namespace

class ProgramTest : public QObject {
    Q_OBJECT

private slots:
    void exitAnsweredYesEndsTheProcess_data();
    void exitAnsweredYesEndsTheProcess();
    void noKeepsTheProgramRunning();
    void largeFontsAtOneHundredTwentyDpi();
    void introComesFirst();
    void versionNeedsNoDisplay();
    void helpAndMistakes();
};

void ProgramTest::exitAnsweredYesEndsTheProcess_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::newRow("File > Exit") << QStringLiteral("exit");
    QTest::newRow("File > Exit during a run") << QStringLiteral("exit-running");
    QTest::newRow("close box") << QStringLiteral("close-box");
    QTest::newRow("close box during a run") << QStringLiteral("close-box-running");
}

void ProgramTest::exitAnsweredYesEndsTheProcess()
{
    QFETCH(QString, scenario);
    const ProgramOutcome outcome = RunChild(qPrintable(scenario));
    QVERIFY2(outcome.ended, qPrintable(outcome.output));
    QCOMPARE(outcome.code, 0);
    QVERIFY(outcome.output.contains(QStringLiteral("asked: Close VELMOR?")));
}

void ProgramTest::noKeepsTheProgramRunning()
{
    const ProgramOutcome outcome = RunChild("close-box-no");
    QVERIFY2(outcome.ended, qPrintable(outcome.output));
    QCOMPARE(outcome.code, 0);
    // Asked twice: the first No left the program running.
    QCOMPARE(outcome.output.count(QStringLiteral("asked: Close VELMOR?")), 2);
    QVERIFY(outcome.output.contains(QStringLiteral("still running")));
}

void ProgramTest::largeFontsAtOneHundredTwentyDpi()
{
    // 96 dpi: the keypad at its normal size. 120 dpi (125 %): the fonts grow,
    // the layout's pixels do not, and the keypad takes its large size; the
    // exercise still fits a maximised 1024 x 768 frame.
    for (const auto& [dpi, keypad] :
         {std::pair{QStringLiteral("96"), QStringLiteral("260x321")},
          std::pair{QStringLiteral("120"), QStringLiteral("313x395")}}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_FONT_DPI"), dpi);
        const ProgramOutcome outcome = RunChild("scale", env);
        QVERIFY2(outcome.ended, qPrintable(outcome.output));
        QCOMPARE(outcome.code, 3);
        QVERIFY2(
            outcome.output.contains(QStringLiteral("dpi %1 keypad %2 fits 1").arg(dpi, keypad)),
            qPrintable(outcome.output));
    }
}

void ProgramTest::introComesFirst()
{
    const ProgramOutcome outcome = RunChild("intro");
    QVERIFY2(outcome.ended, qPrintable(outcome.output));
    QCOMPARE(outcome.code, 3);
    QVERIFY2(outcome.output.contains(QStringLiteral("intro 1 menu 0")), qPrintable(outcome.output));
    QVERIFY2(outcome.output.contains(QStringLiteral("after click menu 1")),
             qPrintable(outcome.output));
}

void ProgramTest::versionNeedsNoDisplay()
{
    // A platform that needs a display, and no display: only an answer that
    // opens no window can succeed here.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    for (const QString& option : {QStringLiteral("--version"), QStringLiteral("-v")}) {
        const ProgramOutcome outcome = RunProgramWith({option}, env);
        QVERIFY(outcome.ended);
        QCOMPARE(outcome.code, 0);
        QCOMPARE(outcome.output, QStringLiteral("VELMOR 7.0.6\n"));
    }
}

void ProgramTest::helpAndMistakes()
{
    const ProgramOutcome help = RunProgramWith({QStringLiteral("--help")});
    QVERIFY(help.ended);
    QCOMPARE(help.code, 0);
    QVERIFY2(help.output.contains(QStringLiteral("--version")), qPrintable(help.output));
    QVERIFY(help.output.contains(QStringLiteral("--help")));
    const ProgramOutcome wrong = RunProgramWith({QStringLiteral("--bogus")});
    QVERIFY(wrong.ended);
    QCOMPARE(wrong.code, 2);
    QVERIFY2(wrong.output.contains(QStringLiteral("Unknown option 'bogus'")),
             qPrintable(wrong.output));
    // The toolkit's own options are the toolkit's: the program starts.
    const ProgramOutcome toolkit = RunProgramWith(
        {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--version")});
    QCOMPARE(toolkit.code, 0);
    QVERIFY(toolkit.output.startsWith(QStringLiteral("VELMOR ")));
}

int ProgramTestMain(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--program") == 0) {
        // argv without the mode word: the program's name and its arguments.
        std::vector<char*> programArgs{argv[0]};
        programArgs.insert(programArgs.end(), argv + 2, argv + argc);
        programArgs.push_back(nullptr);
        return RunProgram(argc - 1, programArgs.data());
    }
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
        return Child(argv, argv[2]);
    }
    QApplication app(argc, argv);
    ProgramTest test;
    return QTest::qExec(&test, argc, argv);
}

VELMOR_TEST_MAIN_FUNCTION(ProgramTest, program, ProgramTestMain)

#include "ProgramTest.moc"
