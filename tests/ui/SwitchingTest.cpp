// Switching between the exercises: every ordered pair of them, each
// switch releasing the windows it leaves, and a window chosen again looking
// as new. They run as a class of their own, beside the others.
#include "ProgramFixture.h"
#include "WindowRun.h"
#include "core/exercises/Exercise.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/shell/TfrmMain.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QTimer>
#include <QtTest>

using namespace velmor;
using namespace velmor::test;

class SwitchingTest : public QObject {
    Q_OBJECT

private slots:
    void switchingInEveryOrderReleasesTheWindows();
    void newWindowShowsNoRunLight();
};

void SwitchingTest::switchingInEveryOrderReleasesTheWindows()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    QAction* items[] = {Item(m, "mnuControlFlow"), Item(m, "mnuControlTemperature"),
                        Item(m, "mnuControlBatchVolume"), Item(m, "mnuControlFluidLevel"),
                        Item(m, "mnuControlOpenLoop")};
    const char* forms[] = {"frmFlow", "frmTemperature", "frmBatch", "frmLevel", "frmOpen"};
    // The release and the switch wait shortened, the release still first:
    // how long each takes is MainWindowTest's business.
    Item<QTimer>(m, "Timer")->setInterval(20);
    Item<QTimer>(m, "switchTimer")->setInterval(30);
    // Every ordered pair of the five exercises once, one switch after the
    // other, back to the first.
    const int order[] = {0, 4, 3, 4, 2, 4, 1, 4, 0, 3, 2, 3, 1, 3, 0, 2, 1, 2, 0, 1, 0};
    qsizetype widgetsAtFirst = -1;
    for (int k : order) {
        items[k]->trigger();
        QVERIFY(p.waitFor([&] {
            return !m.switching() && m.exerciseWindow() != nullptr &&
                   FormName(m.exerciseWindow()->exercise()) == forms[k];
        }));
        QCOMPARE(m.mdiArea()->subWindowList().size(), 2);
        QVERIFY(items[k]->isChecked());
        for (QAction* other : items) {
            QCOMPARE(other->isChecked(), other == items[k]);
        }
        // The old pair is gone: as many widgets as the first time.
        if (k == 0) {
            if (widgetsAtFirst < 0) {
                widgetsAtFirst = QApplication::allWidgets().size();
            }
            QCOMPARE(QApplication::allWidgets().size(), widgetsAtFirst);
        }
    }
}

void SwitchingTest::newWindowShowsNoRunLight()
{
    // After a run, MENU and the exercise chosen again: the new window looks
    // as the exercise's first one did, its run light unlit and without the
    // words of the run before. (The gauges may show values left by the run.)
    const QRect kRightOfGauges(104, 0, 121, 501);
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    for (Exercise e : {Exercise::Flow, Exercise::Level, Exercise::Open, Exercise::Temperature,
                       Exercise::Batch}) {
        LoopWindow* window = ChooseExercise(m, e);
        QVERIFY(window != nullptr);
        const QImage unlit = window->imgPanel->image().copy(kRightOfGauges);
        QVERIFY(RunInWindow(*p.state, window, 20));
        QVERIFY(window->imgPanel->image().copy(kRightOfGauges) != unlit);
        window->btnMenu->click();
        QVERIFY(p.waitFor([&] { return m.exerciseWindow() == nullptr; }));
        window = ChooseExercise(m, e);
        QVERIFY(window != nullptr);
        // Also once its texts are set again, as a change of language does.
        for (int pass = 0; pass < 2; ++pass) {
            QVERIFY2(window->imgPanel->image().copy(kRightOfGauges) == unlit, FormName(e).data());
            if (auto* flow = dynamic_cast<TfrmFlow*>(window)) {
                QCOMPARE(flow->lblTrafficLight->text(), QString());
            }
            window->SetLanguage();
        }
    }
}

VELMOR_TEST_MAIN(SwitchingTest, shell)
#include "SwitchingTest.moc"
