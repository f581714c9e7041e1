// A lab sheet in the real main window: the exercise set up and locked as the
// sheet says, the panel graded after a run and after an opened run file, a
// refused sheet that changes nothing, and the locks gone with the sheet.
#include "FocusChain.h"
#include "LanguageScope.h"
#include "ProgramFixture.h"
#include "WindowRun.h"

#include "core/exercises/ControllerSettings.h"
#include "core/exercises/HeadlessRun.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/LabSheetPanel.h"
#include "ui/shell/LabSheetSession.h"
#include "ui/shell/RunHistory.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/trends/TfrmGraph.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>
#include <QtTest>

using namespace velmor;
using namespace velmor::test;

namespace {

// A Flat set point of 1.5 L/min from rest: the start step comes, a second
// step never does, so the second target cannot be met.
const char* const kSheet = R"({"velmorLabSheet": 1,
  "title": {"en": "Flat flow", "es": "Caudal constante"},
  "instructions": {"en": "Reach 1.5 L/min.", "es": "Llegue a 1,5 L/min."},
  "exercise": "flow",
  "settings": {"flowWaveform": 1, "waveA": 1.5, "flowGain": 1.2},
  "locked": ["flowWaveform", "waveA"],
  "minRecords": 60,
  "targets": [{"loop": "flow", "figure": "iae", "min": 0},
              {"loop": "flow", "figure": "overshootPercent", "step": 2, "max": 100}]})";

QString Write(const QTemporaryDir& dir, const char* name, const QByteArray& text)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(text);
    }
    return path;
}

} // namespace

class LabSheetWindowTest : public QObject {
    Q_OBJECT

private slots:
    void sheetSetsUpLocksAndGradesRunsAndFiles();
    void refusedSheetChangesNothing();
    void lockedButtonsKeepTheirSetting();
    void shippedSheetsRunAsVelmorSimRunsThem();
    void panelFromTheKeyboardAndAScreenReader();
};

void LabSheetWindowTest::sheetSetsUpLocksAndGradesRunsAndFiles()
{
    const QTemporaryDir runs;
    Program p(kInstalled, {.historyFolder = runs.path()});
    TfrmMain& m = p.m();
    LabSheetSession& sheets = *m.labSheets();
    QCOMPARE(sheets.openSheet(Write(p.dir, "flat.vlab", kSheet)), QString());
    LoopWindow* window = OpenedWindow(m, Exercise::Flow);
    QVERIFY(window != nullptr);
    // Set up as the sheet says, in one segment.
    QCOMPARE(CurrentWaveform(*p.state, Exercise::Flow), kFlat);
    QCOMPARE(p.state->flow.flowGain, 1.2f);
    QCOMPARE(WaveParamsOf(*p.state, Exercise::Flow).A(kFlat), 1.5f);
    LabSheetPanel* panel = sheets.panel();
    QVERIFY(panel->isVisible());
    QCOMPARE(m.dockWidgetArea(panel), Qt::RightDockWidgetArea);
    QCOMPARE(panel->findChild<QLabel*>(QStringLiteral("lblSheetTitle"))->text(),
             QStringLiteral("Flat flow"));
    QCOMPARE(panel->targetTable()->rowCount(), 2);

    // A locked box refuses the keypad; a free one takes it.
    window->imgPGClick(kCodeWaveRow1);
    QVERIFY(!m.keypad()->isVisible());
    EnterValue(m, window, kCodePG, QStringLiteral("1.1"));
    QCOMPARE(p.state->flow.flowGain, 1.1f);

    QSignalSpy kept(m.runHistory(), &RunHistory::runKept);
    QVERIFY(RunInWindow(*p.state, window, 100));
    // The kept run names the sheet it was made for.
    QVERIFY(!kept.isEmpty() || kept.wait(60000));
    QVERIFY(QDir(runs.path())
                .entryList(QDir::Files)
                .constFirst()
                .endsWith(QStringLiteral("_flow_flat.psm")));
    QVERIFY(p.waitFor([&] { return panel->grade().has_value(); }));
    const RunGrade& run = *panel->grade();
    QVERIFY(run.targets[0].passed);
    QVERIFY(!run.targets[1].passed);
    QVERIFY(!run.targets[1].value.has_value());
    QVERIFY(run.changedLocked.empty());
    QCOMPARE(panel->targetTable()->item(1, 2)->text(), QStringLiteral("none"));
    QVERIFY(panel->targetTable()->item(0, 3)->text().startsWith(QStringLiteral("✔")));
    QVERIFY(panel->targetTable()->item(1, 3)->text().startsWith(QStringLiteral("✘")));
    QCOMPARE(panel->verdictLabel()->text(), QStringLiteral("1 of 2 targets met."));

    // An opened run of another waveform: graded too, the changed settings
    // named (a Sine's A is another value than the Flat's).
    QVERIFY(m.fileCommands()->openFile(Golden("flow_sine_gain_changes.psm")).read);
    QVERIFY(panel->grade().has_value());
    QCOMPARE(panel->grade()->changedLocked, (std::vector<std::string>{"flowWaveform", "waveA"}));
    QCOMPARE(panel->verdictLabel()->text(),
             QStringLiteral("Settings of the sheet were changed: flowWaveform, waveA.\n"
                            "1 of 2 targets met."));

    // The panel's close box hides it; the Analysis menu brings it back.
    panel->close();
    QVERIFY(!panel->isVisible());
    Item(m, "mnuAnalysisLabSheet")->trigger();
    QVERIFY(panel->isVisible());

    // Closing the sheet frees the settings.
    panel->findChild<QPushButton*>(QStringLiteral("btnCloseSheet"))->click();
    QVERIFY(!sheets.isOpen());
    QVERIFY(!panel->isVisible());
    window->imgPGClick(kCodeWaveRow1);
    QVERIFY(m.keypad()->isVisible());
    m.keypad()->btnCancel->click();
}

void LabSheetWindowTest::refusedSheetChangesNothing()
{
    Program p;
    TfrmMain& m = p.m();
    const QString bad = Write(p.dir, "bad.vlab",
                              QByteArray(kSheet).replace("\"overshootPercent\"", "\"overshot\""));
    const QString refusal = m.labSheets()->openSheet(bad);
    QVERIFY(refusal.contains(QStringLiteral("targets[1].figure: \"overshot\" is not a figure")));
    QVERIFY(!m.labSheets()->isOpen());
    QVERIFY(!m.labSheets()->panel()->isVisible());
    QCOMPARE(m.exerciseWindow(), nullptr);
}

void LabSheetWindowTest::lockedButtonsKeepTheirSetting()
{
    Program p;
    TfrmMain& m = p.m();
    const QString path = Write(p.dir, "gate.vlab", R"({"velmorLabSheet": 1, "title": {"en": "Gate"},
        "exercise": "flow", "settings": {"gateValvePercent": 80, "trendSpan": 60, "flowManual": 0},
        "locked": ["gateValvePercent", "trendSpan", "flowManual"],
        "targets": [{"loop": "flow", "figure": "iae", "min": 0}]})");
    QCOMPARE(m.labSheets()->openSheet(path), QString());
    auto* flow = dynamic_cast<TfrmFlow*>(OpenedWindow(m, Exercise::Flow));
    QVERIFY(flow != nullptr);
    QCOMPARE(p.state->run.gateValvePercent, 80);
    TfrmGraph* graph = m.graphWindow();
    graph->findChild<QPushButton*>(QStringLiteral("btnChokeDown"))->click();
    QCOMPARE(p.state->run.gateValvePercent, 80);
    flow->btnControl->click();
    QVERIFY(!p.state->flow.flowManual);
    // The time base: a typed span is refused, the box shows the one in force.
    QLineEdit* base = graph->findChild<QLineEdit*>(QStringLiteral("txtTrendBase"));
    base->setText(QStringLiteral("120"));
    QTest::keyClick(base, Qt::Key_Return);
    QCOMPARE(p.state->trend.trendSpan, 60);
    QCOMPARE(base->text(), QStringLiteral("60"));

    // Without the sheet the same clicks take effect.
    m.labSheets()->closeSheet();
    graph->findChild<QPushButton*>(QStringLiteral("btnChokeDown"))->click();
    QCOMPARE(p.state->run.gateValvePercent, 70);
    flow->btnControl->click();
    QVERIFY(p.state->flow.flowManual);

    // A pump the sheet sets running stays running.
    const QString pump = Write(p.dir, "pump.vlab", R"({"velmorLabSheet": 1, "title": {"en": "Pump"},
        "exercise": "flow", "settings": {"flowManual": 1, "pumpOn": 1}, "locked": ["pumpOn"],
        "targets": [{"loop": "flow", "figure": "iae", "min": 0}]})");
    QCOMPARE(m.labSheets()->openSheet(pump), QString());
    flow = dynamic_cast<TfrmFlow*>(OpenedWindow(m, Exercise::Flow));
    QVERIFY(flow != nullptr && p.state->flow.flowManual && p.state->run.pumpOn);
    QPushButton* pumpButton = m.graphWindow()->findChild<QPushButton*>(QStringLiteral("btnPump"));
    QVERIFY(pumpButton->isEnabled());
    pumpButton->click();
    QVERIFY(p.state->run.pumpOn);
}

// Each shipped sheet opened in the window makes the run velmor-sim makes
// with the sheet's settings (the same records), and the grade finds none of
// them changed.
void LabSheetWindowTest::shippedSheetsRunAsVelmorSimRunsThem()
{
    const QDir folder(LabSheetSession::shippedSheetsFolder());
    const QStringList files = folder.entryList({QStringLiteral("*.vlab")}, QDir::Files);
    QCOMPARE(files.size(), 6);
    constexpr int kRecords = 40;
    for (const QString& file : files) {
        Program p;
        LabSheetSession& sheets = *p.m().labSheets();
        QCOMPARE(sheets.openSheet(folder.filePath(file)), QString());
        const LabSheet sheet = *sheets.sheet();
        LoopWindow* window = OpenedWindow(p.m(), sheet.exercise);
        QVERIFY2(window != nullptr, qPrintable(file));
        QVERIFY(RunInWindow(*p.state, window, kRecords));
        QVERIFY(p.waitFor([&] { return sheets.panel()->grade().has_value(); }));
        QVERIFY2(sheets.panel()->grade()->changedLocked.empty(), qPrintable(file));

        RunRequest request;
        request.exercise = sheet.exercise;
        request.records = kRecords;
        for (const SheetSetting& s : sheet.settings) {
            request.sets.push_back({s.name, s.value});
        }
        auto alone = std::make_unique<VelmorState>();
        QCOMPARE(PrepareHeadlessRun(*alone, request, nullptr), std::string());
        QCOMPARE(ExecuteHeadlessRun(*alone, request), std::string());
        const auto expected = LoggedRecords(alone->log, alone->run.sampleCount);
        const auto made = LoggedRecords(p.state->log, p.state->run.sampleCount);
        QCOMPARE(made.size(), expected.size());
        QVERIFY2(std::equal(made.begin(), made.end(), expected.begin()), qPrintable(file));
    }
}

void LabSheetWindowTest::panelFromTheKeyboardAndAScreenReader()
{
    Program p;
    TfrmMain& m = p.m();
    QCOMPARE(m.labSheets()->openSheet(Write(p.dir, "flat.vlab", kSheet)), QString());
    LoopWindow* window = OpenedWindow(m, Exercise::Flow);
    QVERIFY(window != nullptr);
    LabSheetPanel* panel = m.labSheets()->panel();
    // A graded run file: the first target met, the second not.
    QVERIFY(m.fileCommands()->openFile(Golden("flow_sine_gain_changes.psm")).read);
    QVERIFY(panel->grade().has_value());
    QApplication::setActiveWindow(&m);
    QVERIFY(QTest::qWaitForWindowActive(&m));

    // F6 takes the keyboard from the exercise window to the panel, which is
    // read top to bottom, and F6 there gives it back; the Analysis menu's
    // item brings the keyboard to the panel too.
    auto* instructions = panel->findChild<QTextBrowser*>(QStringLiteral("txtSheetInstructions"));
    auto* close = panel->findChild<QPushButton*>(QStringLiteral("btnCloseSheet"));
    window->btnStart->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window->btnStart, Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(instructions));
    const QString failure = FollowChain({instructions, panel->targetTable(), close}, Chain::Part);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->btnStart));
    Item(m, "mnuAnalysisLabSheet")->trigger();
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(instructions));
    // With the panel closed, F6 is nothing.
    panel->close();
    window->btnStart->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window->btnStart, Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->btnStart));

    // The targets as a table of rows and columns; the verdicts in words,
    // whatever mark and colour the cell shows.
    const auto verdicts = [panel] {
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(panel->targetTable());
        QAccessibleTableInterface* grid = table != nullptr ? table->tableInterface() : nullptr;
        if (grid == nullptr || grid->rowCount() != 2 || grid->columnCount() != 4) {
            return QStringList{QStringLiteral("no 2 x 4 table")};
        }
        return QStringList{table->text(QAccessible::Name), grid->columnDescription(3),
                           grid->cellAt(0, 3)->text(QAccessible::Name),
                           grid->cellAt(1, 3)->text(QAccessible::Name),
                           grid->cellAt(1, 2)->text(QAccessible::Name)};
    };
    QCOMPARE(verdicts(),
             (QStringList{QStringLiteral("Targets"), QStringLiteral("Met"), QStringLiteral("met"),
                          QStringLiteral("not met"), QStringLiteral("none")}));
    const LanguageScope inSpanish(p.state->shell, Language::Spanish);
    QCOMPARE(verdicts(), (QStringList{QStringLiteral("Objetivos"), QStringLiteral("Cumple"),
                                      QStringLiteral("cumplido"), QStringLiteral("no cumplido"),
                                      QStringLiteral("ninguno")}));
}

VELMOR_TEST_MAIN(LabSheetWindowTest, shell)

#include "LabSheetWindowTest.moc"
