// Opening, running, stopping and closing an exercise again and again does
// not make the program grow: every window of a cycle goes at its end, and
// after a warm-up the heap in use stays put.
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

#include "HeapUse.h"
#include "Sanitizer.h"

#include <memory>

using namespace velmor;
using velmor::test::Item;

class MemoryTest : public QObject {
    Q_OBJECT

private slots:
    void openRunCloseCyclesDoNotGrow();
};

void MemoryTest::openRunCloseCyclesDoNotGrow()
{
    if (test::kAddressSanitizer) {
        QSKIP("the address sanitizer counts the heap its own way");
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
    for (int k = 1; k <= 150; ++k) {
        cycle();
        if (k == 1) {
            widgets = QApplication::allWidgets().size();
        }
        if (k == 20) {
            afterWarmUp = test::HeapInUseKb();
        }
        if (k % 50 == 0) {
            qInfo("after %d cycles: heap in use %ld kB", k, test::HeapInUseKb());
        }
    }
    // Every window of a cycle is gone at its end.
    QCOMPARE(QApplication::allWidgets().size(), widgets);
    // A cycle's windows hold more than a megabyte (the Trends picture alone
    // is 524 x 501 pixels of 4 bytes): keeping a tenth of that each time
    // would pass the bound within these 130 cycles.
    const long growth = test::HeapInUseKb() - afterWarmUp;
    QVERIFY2(growth < 8 * 1024, qPrintable(QStringLiteral("grew %1 kB").arg(growth)));
}

VELMOR_TEST_MAIN(MemoryTest, program)
#include "MemoryTest.moc"
