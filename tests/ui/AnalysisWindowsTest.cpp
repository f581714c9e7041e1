// The Analysis menu in the real main window: run figures per segment with
// the cursor's segment marked, the step test of an Open-loop run whose
// tuning opens in Flow through the keypad's path, the CSV export, and the
// menu's states around a run.
#include "core/analysis/ResponseFigures.h"
#include "core/analysis/RunCsv.h"
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "core/exercises/NamedSettings.h"
#include "ui/analysis/AnalysisMenu.h"
#include "ui/analysis/TfrmRunFigures.h"
#include "ui/analysis/TfrmStepTest.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmMain.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace velmor;

namespace {

struct Program {
    QTemporaryDir dir;
    std::unique_ptr<Preferences> preferences;
    std::unique_ptr<VelmorState> state = std::make_unique<VelmorState>();
    std::unique_ptr<TfrmMain> main;

    Program()
    {
        const QString file = dir.filePath(QStringLiteral("velmor.ini"));
        {
            QSettings store(file, QSettings::IniFormat);
            store.setValue(QStringLiteral("Setup/Installed"), QStringLiteral("YES"));
            store.setValue(QStringLiteral("Setup/Maximised"), QStringLiteral("False"));
        }
        preferences = std::make_unique<Preferences>(file);
        main = CreateProgram(*state, *preferences);
        main->show();
    }

    // The open exercise's run made headless on the shared state, with
    // settings by velmor-sim's names and changes at given records.
    void run(Exercise e, const std::vector<std::pair<std::string, std::string>>& before,
             int changeAt, const std::pair<std::string, std::string>& change, int records)
    {
        for (const auto& [name, value] : before) {
            QVERIFY(ApplySetting(*state, e, name, value).empty());
        }
        std::unique_ptr<LoopEngine> engine = MakeEngine(e, *state, nullptr);
        RunHeadless(*engine, [&] {
            if (state->run.sampleCount == changeAt) {
                QVERIFY(ApplySetting(*state, e, change.first, change.second).empty());
            }
            if (state->run.sampleCount == records) {
                state->run.runActive = false;
            }
        });
    }

    AnalysisMenu* analysis() const { return main->analysisMenu(); }
};

} // namespace

class AnalysisWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void menuFollowsTheRunAndTheExercise();
    void runFiguresPerSegment();
    void stepTestTuningOpensInFlow();
    void csvExport();
};

void AnalysisWindowsTest::menuFollowsTheRunAndTheExercise()
{
    Program p;
    AnalysisMenu* a = p.analysis();
    emit a->mnuAnalysis->aboutToShow();
    // Nothing open, nothing logged: nothing to analyse.
    QVERIFY(!a->mnuAnalysisFigures->isEnabled());
    QVERIFY(!a->mnuAnalysisExport->isEnabled());
    p.main->mnuControlFlow->trigger();
    auto* flow = dynamic_cast<LoopWindow*>(p.main->exerciseWindow());
    flow->btnStartClick();
    QVERIFY(!a->mnuAnalysis->menuAction()->isEnabled());
    flow->btnStopClick();
    QVERIFY(a->mnuAnalysis->menuAction()->isEnabled());
    emit a->mnuAnalysis->aboutToShow();
    QVERIFY(a->mnuAnalysisFigures->isEnabled());
    QVERIFY(a->mnuAnalysisExport->isEnabled());
    // The step test belongs to Open loop only.
    QVERIFY(!a->mnuAnalysisStepTest->isEnabled());

    p.state->shell.langEnglish = false;
    p.state->shell.langSpanish = true;
    p.main->SetLanguage();
    QCOMPARE(a->mnuAnalysis->title(), QString::fromUtf8("A&nálisis"));
}

void AnalysisWindowsTest::runFiguresPerSegment()
{
    Program p;
    p.main->mnuControlFlow->trigger();
    // A Step set point (1.5 / 0.5, period 20 s) and PG 2 from record 300:
    // two segments with their steps.
    p.run(Exercise::Flow, {{"flowWaveform", "4"}, {"waveC", "20"}}, 300, {"flowGain", "2"}, 600);
    AnalysisMenu* a = p.analysis();
    a->mnuAnalysisFiguresClick();
    TfrmRunFigures* w = a->figuresWindow();
    QVERIFY(w != nullptr && w->isVisible());
    QCOMPARE(w->grdFigures->rowCount(), 2);
    const RunFigures figures = AnalyseRun(LoggedRecords(p.state->log, p.state->run.sampleCount),
                                          Exercise::Flow, p.state->run.samplePeriod);
    const SegmentFigures& second = figures.loops[0].segments[1];
    QCOMPARE(w->grdFigures->item(1, 1)->text(), QStringLiteral("2"));
    QCOMPARE(w->grdFigures->item(1, 3)->text(), QStringLiteral("2")); // PG of segment 2
    QCOMPARE(w->grdFigures->item(0, 3)->text(), QStringLiteral("1"));
    QCOMPARE(w->grdFigures->item(1, 7)->text(), QString::number(second.steps.size()));
    QVERIFY(!second.steps.empty());
    // No row is marked without a cursor; with the cursor in segment 2, its row is.
    QCOMPARE(w->highlightedRow(), -1);
    p.state->trend.cursorShown = true;
    p.state->trend.cursorRecord = 450;
    w->Refresh(Exercise::Flow);
    QCOMPARE(w->highlightedRow(), 1);
    QCOMPARE(w->grdFigures->currentRow(), 1);
    // Below the table: the highlighted segment's sums and each of its steps.
    QCOMPARE(w->grdSteps->rowCount(), static_cast<int>(second.steps.size()));
    QVERIFY2(w->lblSegment->text().startsWith(QStringLiteral("Flow, segment 2: ISE ")),
             qPrintable(w->lblSegment->text()));
    QCOMPARE(w->grdSteps->item(0, 0)->text(), QString::number(second.steps[0].time, 'f', 1));
    QCOMPARE(w->grdSteps->item(0, 2)->text(), QString::number(second.steps[0].to));
    // Choosing the other segment shows its steps instead.
    w->grdFigures->selectRow(0);
    QCOMPARE(w->grdSteps->rowCount(), static_cast<int>(figures.loops[0].segments[0].steps.size()));
    QVERIFY(w->lblSegment->text().startsWith(QStringLiteral("Flow, segment 1: ")));
    w->Refresh(Exercise::Flow);
    QCOMPARE(w->grdSteps->rowCount(), static_cast<int>(second.steps.size()));
    if (const QByteArray shots = qgetenv("VELMOR_SHOT_DIR"); !shots.isEmpty()) {
        w->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/run-figures.png"));
    }
    // Copy: a header line and one line per segment, tab-separated.
    w->btnCopy->click();
    const QStringList lines =
        QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith(QStringLiteral("Loop\tSegment\tStart (s)\tPG")));
    QCOMPARE(lines[2].split(QLatin1Char('\t')).size(), 11);
}

void AnalysisWindowsTest::stepTestTuningOpensInFlow()
{
    Program p;
    p.main->mnuControlOpenLoop->trigger();
    // Just opened, the window ignores waveform changes for a moment.
    QTRY_VERIFY(!p.state->open.openActivating);
    p.run(Exercise::Open,
          {{"openWaveform", "4"}, {"waveA", "80"}, {"waveB", "20"}, {"waveC", "40"}}, -1, {}, 1200);
    AnalysisMenu* a = p.analysis();
    emit a->mnuAnalysis->aboutToShow();
    QVERIFY(a->mnuAnalysisStepTest->isEnabled());
    a->mnuAnalysisStepTestClick();
    TfrmStepTest* w = a->stepTestWindow();
    QVERIFY(w != nullptr && w->isVisible());
    QVERIFY(w->steps().size() >= 4);
    QCOMPARE(w->grdSteps->rowCount(), static_cast<int>(w->steps().size()));
    // The best fitted step is shown with its model curve and four tunings.
    QCOMPARE(w->tunings().size(), std::size_t{4});
    QCOMPARE(w->grdTunings->rowCount(), 4);
    QVERIFY(!w->imgPlot->fitted().empty());
    QVERIFY(w->btnUseInFlow->isEnabled());
    QCOMPARE(w->tunings()[2].rule, TuningRule::ZieglerNicholsPid);
    const FlowTuning pid = w->tunings()[2];
    QVERIFY(pid.d > 0);
    if (const QByteArray shots = qgetenv("VELMOR_SHOT_DIR"); !shots.isEmpty()) {
        w->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/step-test.png"));
    }
    QCOMPARE(w->grdTunings->item(0, 0)->text(), QStringLiteral("SIMC"));
    // On the 800-wide screen the window fits, and the step table is as wide
    // as its columns (less when there is no room beside the plot).
    const QRect screen = w->screen()->availableGeometry();
    QVERIFY2(
        w->frameGeometry().width() <= screen.width(),
        qPrintable(QStringLiteral("%1 > %2").arg(w->frameGeometry().width()).arg(screen.width())));
    int columns = 0;
    for (int c = 0; c < w->grdSteps->columnCount(); ++c) {
        columns += w->grdSteps->horizontalHeader()->sectionSize(c);
    }
    QVERIFY(w->grdSteps->width() >=
            std::min(columns, screen.width() - w->imgPlot->minimumWidth() - 60));

    // Use in Flow: the Flow window opens (after the switch) with the values
    // entered through the keypad's path.
    w->grdTunings->setCurrentCell(2, 0);
    w->btnUseInFlow->click();
    QTRY_VERIFY_WITH_TIMEOUT(p.main->exerciseWindow() != nullptr &&
                                 p.main->exerciseWindow()->exercise() == Exercise::Flow,
                             3000);
    QCOMPARE(p.state->flow.flowGain, static_cast<float>(pid.pg));
    QCOMPARE(p.state->flow.flowBand, 100.0f / static_cast<float>(pid.pg));
    QCOMPARE(p.state->flow.flowIntegralTime, static_cast<float>(pid.i));
    QCOMPARE(p.state->flow.flowDerivativeTime, static_cast<float>(pid.d));
    QVERIFY(!p.main->keypad()->isVisible());
}

void AnalysisWindowsTest::csvExport()
{
    Program p;
    p.main->mnuControlFluidLevel->trigger();
    p.run(Exercise::Level, {{"initialLevel", "40"}}, -1, {}, 50);
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("level.csv"));
    QCOMPARE(p.analysis()->exportCsv(path), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    const std::string expected =
        RunCsv(LoggedRecords(p.state->log, 50), Exercise::Level, p.state->shell.decimalComma);
    QCOMPARE(written, QByteArray::fromStdString(expected));
    // 50 records and the header, CR LF ends.
    QCOMPARE(written.count("\r\n"), 51);
    // A folder that does not exist: the reason comes back, nothing is written.
    const QString refused = p.analysis()->exportCsv(out.filePath(QStringLiteral("no/such.csv")));
    QVERIFY(!refused.isEmpty());
    QVERIFY(!QFile::exists(out.filePath(QStringLiteral("no/such.csv"))));
}

QTEST_MAIN(AnalysisWindowsTest)
#include "AnalysisWindowsTest.moc"
