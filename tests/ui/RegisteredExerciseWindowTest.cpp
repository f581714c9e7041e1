// The made-up Warmup exercise registered with its core profile and its
// shell row, and nothing else: the main window offers it in the Control
// menu, the pop-up, the toolbar and the easy menu; it opens with its
// Trends window, takes keypad entries, runs, is saved and opened again,
// and gives way to another exercise.
#include "../core/WarmupExercise.h"
#include "ProgramFixture.h"
#include "WindowRun.h"

#include "ui/exercises/ControllerPanel.h"
#include "ui/shell/ExerciseEntries.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/ShellArt.h"
#include "ui/shell/TfrmMenu.h"
#include "ui/trends/TfrmGraph.h"

#include <QMdiSubWindow>

using namespace velmor;
using namespace velmor::test;

namespace {

// Its window: no more than START, STOP, MENU and the sample time.
class TfrmWarmup : public LoopWindow {
public:
    TfrmWarmup(VelmorState& state, TfrmGraph* graph, MainLink* main)
        : LoopWindow(state, kWarmup, graph, main,
                     Layout{OpenSampleBox(), OpenLight(), {}, &state.temp.panelFontSize, nullptr},
                     nullptr)
    {
        makeRunButtons(QRect(143, 12, 74, 24), QRect(143, 39, 74, 24), QRect(143, 66, 74, 24));
        lblSampleTime = makeLabel(QRect(113, 92, 106, 15), 8, Qt::AlignCenter);
        drawPanelGround({QRect(111, 5, 110, 127)});
        finishCreation();
    }
    void InitValues() override { velmor::InitValues(m_state, kWarmup); }
    void SetLanguage() override
    {
        setWindowTitle(QStringLiteral("Warmup Simulation"));
        setRunTexts();
    }
    void ShowSettings() override {}
    void UpdateDisplay(int code) override
    {
        const KeypadState& k = m_state.keypad;
        velmor::UpdateDisplay(m_state, kWarmup, code, k.keypadValue, k.keypadOld);
    }

protected:
    void DrawCycle() override {}
};

LoopWindow* MakeWarmup(VelmorState& state, TfrmGraph* graph, MainLink* main)
{
    return new TfrmWarmup(state, graph, main);
}

const ExerciseEntry kWarmupEntry{
    nullptr,
    kWarmup,
    &MakeWarmup,
    [] { return ToolbarIcon(ToolPicture::Temperature); },
    "mnuControlWarmup",
    "&Warmup",
    "popWarmup",
    "Warmup",
    "btnWarmup",
    "Warmup Control",
    "Warmup",
};

QStringList Names(const QList<QAction*>& items)
{
    QStringList names;
    for (const QAction* item : items) {
        names << (item->isSeparator() ? QStringLiteral("-") : item->objectName());
    }
    return names;
}

} // namespace

class RegisteredExerciseWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QCOMPARE(QString::fromStdString(m_core.error), QString());
        QVERIFY(RegisterExerciseEntry(kWarmupEntry));
    }
    void cleanup() { UnregisterExerciseEntry(kWarmupEntry); }
    void menusToolbarAndEasyMenuOfferIt();
    void opensRunsIsSavedAndOpenedAgain();

private:
    WarmupRegistered m_core;
};

void RegisteredExerciseWindowTest::menusToolbarAndEasyMenuOfferIt()
{
    // One row per window name; the built-in rows cannot be taken out.
    QVERIFY(!RegisterExerciseEntry(kWarmupEntry));
    UnregisterExerciseEntry(*ExerciseEntryFor(Exercise::Flow));
    QVERIFY(ExerciseEntryFor(Exercise::Flow) != nullptr);

    Program p;
    TfrmMain& m = p.m();
    QCOMPARE(Names(Item<QMenu>(m, "mnuControl")->actions()),
             (QStringList{"mnuControlOnOff", "-", "mnuControlFlow", "mnuControlTemperature",
                          "mnuControlBatchVolume", "mnuControlFluidLevel", "mnuControlOpenLoop",
                          "mnuControlWarmup"}));
    QAction* item = Item(m, "mnuControlWarmup");
    QCOMPARE(item->text(), QStringLiteral("&Warmup"));
    QVERIFY(item->isCheckable() && item->isEnabled() && !item->isChecked());
    QCOMPARE(Names(Item<QMenu>(m, "MainPopupMenu")->actions()),
             (QStringList{"popOnOff", "-", "popFlow", "popTemperature", "popBatchVolume",
                          "popFluidLevel", "popOpenLoop", "popWarmup", "-", "popLoadTrend",
                          "popPreferences"}));
    QCOMPARE(Item(m, "popWarmup")->text(), QStringLiteral("Warmup"));
    auto* button = Item<QToolButton>(m, "btnWarmup");
    QCOMPARE(button->geometry(), QRect(318, 2, 24, 24));
    QCOMPARE(button->toolTip(), QStringLiteral("Warmup"));

    // The easy menu grows a row: Trends and Exit move on.
    m.ShowMenu();
    auto* sub = qobject_cast<QMdiSubWindow*>(m.menuScreen());
    QVERIFY(sub != nullptr);
    auto* menu = qobject_cast<TfrmMenu*>(sub->widget());
    QCOMPARE(menu->Panel2->geometry(), QRect(0, 391, 650, 110));
    auto* easy = Item<QPushButton>(*menu, "btnWarmup");
    QCOMPARE(easy->geometry(), QRect(327, 40, 156, 29));
    QCOMPARE(easy->text(), QStringLiteral("Warmup Control"));
    QCOMPARE(menu->btnTrends->geometry(), QRect(487, 40, 156, 29));
    QCOMPARE(menu->btnExit->geometry(), QRect(5, 73, 156, 29));
    easy->click();
    QVERIFY(OpenedWindow(m, kWarmup) != nullptr);
    QVERIFY(!p.state->shell.menuShown);
}

void RegisteredExerciseWindowTest::opensRunsIsSavedAndOpenedAgain()
{
    Program p;
    TfrmMain& m = p.m();
    VelmorState& s = *p.state;
    LoopWindow* window = ChooseExercise(m, kWarmup);
    QVERIFY(window != nullptr);
    QCOMPARE(s.shell.currentForm, std::string("frmWarmup"));
    QVERIFY(Item(m, "mnuControlWarmup")->isChecked());
    QCOMPARE(m.graphWindow()->windowTitle(), QStringLiteral("Warmup Trend"));

    // The keypad opens with the box's own limits.
    window->imgPGClick(kCodeSetPoint);
    QCOMPARE(s.keypad.keypadMin, 20.0f);
    QCOMPARE(s.keypad.keypadMax, 80.0f);
    m.keypad()->btnCancelClick();
    EnterValue(m, window, kCodeSetPoint, QStringLiteral("35"));
    QCOMPARE(s.temp.tempEnteredSP, 35.0f);

    QVERIFY(RunInWindow(s, window, 300));
    QCOMPARE(s.run.sampleCount, 300);
    const SampleRecord last = s.log.record(300);
    QVERIFY(last.field(kFieldTempMV) > 25.0f && last.field(kFieldTempMV) < 36.0f);
    QVERIFY(m.trendShowsRun());

    const QString path = p.dir.filePath(QStringLiteral("warmup.psm"));
    QCOMPARE(m.fileCommands()->saveFile(path), QString());
    // Flow takes its place; the file brings it back with its run.
    QVERIFY(ChooseExercise(m, Exercise::Flow) != nullptr);
    QVERIFY(!Item(m, "mnuControlWarmup")->isChecked());
    QVERIFY(m.fileCommands()->openFile(path).read);
    QVERIFY(OpenedWindow(m, kWarmup) != nullptr);
    QCOMPARE(s.run.sampleCount, 300);
    QCOMPARE(s.log.record(300).field(kFieldTempMV), last.field(kFieldTempMV));
    QCOMPARE(s.temp.tempEnteredSP, 35.0f);
}

VELMOR_TEST_MAIN(RegisteredExerciseWindowTest, shell)
#include "RegisteredExerciseWindowTest.moc"
