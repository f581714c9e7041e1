// Opening, running, stopping and closing an exercise again and again does
// not make the program grow: after a warm-up, the resident size stays put.
#include "MainItems.h"

#include "ui/exercises/RunDriver.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmMain.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QtTest>

#include "Sanitizer.h"

#include <fstream>
#include <memory>
#include <string>

using namespace velmor;
using velmor::test::Item;

namespace {

// Resident set size of this process in kB (Linux).
long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

} // namespace

class MemoryTest : public QObject {
    Q_OBJECT

private slots:
    void openRunCloseCyclesDoNotGrow();
};

void MemoryTest::openRunCloseCyclesDoNotGrow()
{
    if (test::kAddressSanitizer) {
        QSKIP("the address sanitizer keeps freed memory resident");
    }
    QTemporaryDir dir;
    Preferences preferences(dir.filePath(QStringLiteral("velmor.ini")));
    auto state = std::make_unique<VelmorState>();
    std::unique_ptr<TfrmMain> main = CreateProgram(*state, preferences);
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    const auto cycle = [&] {
        Item(*main, "mnuControlFlow")->trigger();
        auto* flow = dynamic_cast<TfrmFlow*>(main->exerciseWindow());
        QVERIFY(flow != nullptr);
        flow->driver()->setInterval(std::chrono::milliseconds(0));
        flow->btnStartClick();
        while (state->run.sampleCount < 30) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        flow->btnStopClick();
        flow->btnMenuClick();
        // What the deferred timer does 500 ms later, now.
        main->TimerTimer();
        QVERIFY(main->exerciseWindow() == nullptr);
    };
    long afterWarmUp = 0;
    qsizetype widgets = 0;
    for (int k = 1; k <= 300; ++k) {
        cycle();
        if (k == 1) {
            widgets = QApplication::allWidgets().size();
        }
        if (k == 20) {
            afterWarmUp = ResidentKb();
        }
        if (k % 50 == 0) {
            qInfo("after %d cycles: %ld kB", k, ResidentKb());
        }
    }
    // Every window of a cycle is gone at its end.
    QCOMPARE(QApplication::allWidgets().size(), widgets);
    const long growth = ResidentKb() - afterWarmUp;
    QVERIFY2(growth < 3 * 1024, qPrintable(QStringLiteral("grew %1 kB").arg(growth)));
}

QTEST_MAIN(MemoryTest)
#include "MemoryTest.moc"
