// The Analysis menu in the real main window: run figures per segment with
// the cursor's segment marked, the step test of an Open-loop run whose
// tuning opens in Flow through the keypad's path, the CSV export, and the
// menu's states around a run.
#include "LanguageScope.h"
#include "core/analysis/ResponseFigures.h"
#include "core/analysis/RunCsv.h"
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "core/exercises/NamedSettings.h"
#include "ui/analysis/AnalysisMenu.h"
#include "ui/analysis/TfrmRunFigures.h"
#include "ui/analysis/TfrmStepTest.h"
#include "ui/common/ValueBox.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/exercises/TfrmLevel.h"
#include "ui/exercises/TfrmOpen.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmMain.h"
#include "ui/trends/TfrmGraph.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>

#include "FocusChain.h"
#include "ProgramFixture.h"
#include "WindowRun.h"

using namespace velmor;
using velmor::test::ChooseExercise;
using velmor::test::EnterValue;
using velmor::test::Item;
using velmor::test::OpenedWindow;
using velmor::test::RunInWindow;

namespace {

// The program installed, not maximised, with what these tests ask of it.
struct AnalysisProgram : velmor::test::Program {

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

// Whether the items that describe the run on screen are offered: File >
// Save and Print, their toolbar buttons, Run figures and Export CSV, as the
// user finds them (a menu disabled during a run takes its items with it).
// They are all offered or none is.
std::optional<bool> RunItemsOffered(const TfrmMain& m)
{
    const AnalysisMenu* a = m.analysisMenu();
    emit a->mnuAnalysis->aboutToShow();
    const bool file = Item<QMenu>(m, "mnuFile")->menuAction()->isEnabled();
    const bool analysis = a->mnuAnalysis->menuAction()->isEnabled();
    const bool offered[] = {file && Item(m, "mnuFileSave")->isEnabled(),
                            file && Item(m, "mnuFilePrint")->isEnabled(),
                            Item<QToolButton>(m, "btnSave")->isEnabled(),
                            Item<QToolButton>(m, "btnPrint")->isEnabled(),
                            analysis && a->mnuAnalysisFigures->isEnabled(),
                            analysis && a->mnuAnalysisExport->isEnabled()};
    for (bool item : offered) {
        if (item != offered[0]) {
            return std::nullopt;
        }
    }
    return offered[0];
}

QString Dash()
{
    return QString::fromUtf8("\u2013");
}

QString Figure(std::optional<double> value)
{
    return value ? FormatGeneral(*value, 4) : Dash();
}

// The cells of a table row.
QStringList RowOf(const QTableWidget* grid, int row)
{
    QStringList cells;
    for (int column = 0; column < grid->columnCount(); ++column) {
        cells << (grid->item(row, column) != nullptr ? grid->item(row, column)->text() : QString());
    }
    return cells;
}

// Run figures shows the run in the log, column by column as the analysis
// core figures it. `settings` gives each row's loop, segment, PG, I and D
// as the student entered them; the other columns come from the core. Each
// row, when chosen, lists its segment's steps below. Empty when all agree.
QString FiguresDiffer(const VelmorState& s, TfrmRunFigures* w, Exercise e,
                      const std::vector<QStringList>& settings)
{
    const RunFigures core =
        AnalyseRun(LoggedRecords(s.log, s.run.sampleCount), e, s.run.samplePeriod);
    std::vector<const SegmentFigures*> segments;
    for (const LoopFigures& loop : core.loops) {
        for (const SegmentFigures& segment : loop.segments) {
            segments.push_back(&segment);
        }
    }
    if (segments.size() != settings.size() || w->grdFigures->rowCount() != int(settings.size())) {
        return QStringLiteral("%1 rows shown, %2 segments, %3 expected")
            .arg(w->grdFigures->rowCount())
            .arg(segments.size())
            .arg(settings.size());
    }
    for (std::size_t row = 0; row < segments.size(); ++row) {
        const SegmentFigures& g = *segments[row];
        const StepFigures* step = g.steps.empty() ? nullptr : &g.steps.front();
        const QStringList& entered = settings[row];
        const QStringList want = {
            entered[0],
            entered[1],
            FormatFixed(g.start, 1),
            entered[2],
            entered[3],
            entered[4],
            Figure(g.iae),
            QString::number(g.steps.size()),
            step != nullptr ? FormatFixed(step->overshootPercent, 1) : Dash(),
            step != nullptr ? Figure(step->settlingTime) : Dash(),
            step != nullptr ? Figure(step->riseTime) : Dash(),
        };
        const QStringList shown = RowOf(w->grdFigures, int(row));
        if (shown != want) {
            return QStringLiteral("row %1: %2 shown, %3 wanted")
                .arg(row)
                .arg(shown.join(QLatin1Char('|')), want.join(QLatin1Char('|')));
        }
        w->grdFigures->selectRow(int(row));
        if (w->grdSteps->rowCount() != int(g.steps.size())) {
            return QStringLiteral("row %1: %2 steps listed").arg(row).arg(w->grdSteps->rowCount());
        }
        for (std::size_t k = 0; k < g.steps.size(); ++k) {
            const StepFigures& t = g.steps[k];
            const QStringList stepWant = {t.start ? QStringLiteral("start")
                                                  : QString::number(k + 1),
                                          FormatFixed(t.time, 1),
                                          FormatGeneral(t.from, 4),
                                          FormatGeneral(t.to, 4),
                                          Figure(t.riseTime),
                                          FormatGeneral(t.peak, 4),
                                          FormatGeneral(t.peakTime, 4),
                                          FormatFixed(t.overshootPercent, 1),
                                          Figure(t.settlingTime),
                                          FormatGeneral(t.steadyStateError, 3)};
            const QStringList stepShown = RowOf(w->grdSteps, int(k));
            if (stepShown != stepWant) {
                return QStringLiteral("row %1, step %2: %3 shown, %4 wanted")
                    .arg(row)
                    .arg(k)
                    .arg(stepShown.join(QLatin1Char('|')), stepWant.join(QLatin1Char('|')));
            }
        }
    }
    return {};
}

} // namespace

class AnalysisWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void menuFollowsTheRunAndTheExercise();
    void runFiguresPerSegment();
    void stepTestTuningOpensInFlow();
    void csvExport();
    void itemsFollowWhatTheTrendShows();
    void runFiguresShowEachExercisesRun();
    void useInFlowTakesTheChosenTuning();
    void windowsReadInOrderFromTheKeyboard();
    void stepPlotReadsTheChosenStep();
};

void AnalysisWindowsTest::menuFollowsTheRunAndTheExercise()
{
    AnalysisProgram p;
    AnalysisMenu* a = p.analysis();
    emit a->mnuAnalysis->aboutToShow();
    // Nothing open, nothing logged: nothing to analyse.
    QVERIFY(!a->mnuAnalysisFigures->isEnabled());
    QVERIFY(!a->mnuAnalysisExport->isEnabled());
    Item(*p.main, "mnuControlFlow")->trigger();
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

    const LanguageScope inSpanish(p.state->shell, Language::Spanish);
    QCOMPARE(a->mnuAnalysis->title(), QString::fromUtf8("A&nálisis"));
}

void AnalysisWindowsTest::runFiguresPerSegment()
{
    AnalysisProgram p;
    Item(*p.main, "mnuControlFlow")->trigger();
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
    p.main->graphWindow()->view().cursorShown = true;
    p.main->graphWindow()->view().cursorRecord = 450;
    w->Refresh(Exercise::Flow);
    QCOMPARE(w->highlightedRow(), 1);
    QCOMPARE(w->grdFigures->currentRow(), 1);
    // Below the table: the highlighted segment's sums and each of its steps.
    QCOMPARE(w->grdSteps->rowCount(), static_cast<int>(second.steps.size()));
    QVERIFY2(w->lblSegment->text().startsWith(QStringLiteral("Flow, segment 2: ISE ")),
             qPrintable(w->lblSegment->text()));
    QCOMPARE(w->grdSteps->item(0, 0)->text(), QStringLiteral("1"));
    QCOMPARE(w->grdSteps->item(0, 1)->text(), QString::number(second.steps[0].time, 'f', 1));
    QCOMPARE(w->grdSteps->item(0, 3)->text(), QString::number(second.steps[0].to));
    // Choosing the other segment shows its steps instead: first the start
    // step from the flow at rest, then the waveform's steps, numbered.
    w->grdFigures->selectRow(0);
    const SegmentFigures& first = figures.loops[0].segments[0];
    QCOMPARE(w->grdSteps->rowCount(), static_cast<int>(first.steps.size()));
    QVERIFY(w->lblSegment->text().startsWith(QStringLiteral("Flow, segment 1: ")));
    QVERIFY(first.steps.size() >= 2 && first.steps[0].start);
    QCOMPARE(w->grdSteps->item(0, 0)->text(), QStringLiteral("start"));
    QCOMPARE(w->grdSteps->item(0, 2)->text(), QStringLiteral("0"));
    QCOMPARE(w->grdSteps->item(1, 0)->text(), QStringLiteral("2"));
    QCOMPARE(w->grdSteps->item(1, 2)->text(), QString::number(first.steps[1].from));
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

    const QString englishTitle = w->windowTitle();
    const QString englishCopy = w->btnCopy->text();
    const LanguageScope inSpanish(p.state->shell, Language::Spanish);
    // An open window takes the new language.
    QVERIFY(w->windowTitle() != englishTitle);
    QVERIFY(w->btnCopy->text() != englishCopy);
    w->grdFigures->selectRow(0);
    QCOMPARE(w->grdSteps->item(0, 0)->text(), QStringLiteral("inicio"));
    if (const QByteArray shots = qgetenv("VELMOR_SHOT_DIR"); !shots.isEmpty()) {
        w->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/run-figures-es.png"));
    }
}

void AnalysisWindowsTest::stepTestTuningOpensInFlow()
{
    AnalysisProgram p;
    Item(*p.main, "mnuControlOpenLoop")->trigger();
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
    // The model's curve ends where the flow settled, not across the step.
    const OutputStep& shown = w->steps()[static_cast<std::size_t>(w->grdSteps->currentRow())];
    const double from = p.state->log.record(shown.record).field(kFieldFlowMV);
    const double to = p.state->log.record(shown.lastRecord).field(kFieldFlowMV);
    QVERIFY(std::abs(to - from) > 0.1);
    QVERIFY(std::abs(w->imgPlot->fitted().back() - to) < std::abs(to - from) / 4);
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
    AnalysisProgram p;
    Item(*p.main, "mnuControlFluidLevel")->trigger();
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

    // Through the menu's dialog: a name without the extension gets ".csv",
    // one with it in any case keeps its name.
    emit p.analysis()->mnuAnalysis->aboutToShow();
    velmor::test::ChooseInDialog(p.main.get(), out.filePath(QStringLiteral("run")));
    p.analysis()->mnuAnalysisExport->trigger();
    QVERIFY(QFile::exists(out.filePath(QStringLiteral("run.csv"))));
    velmor::test::ChooseInDialog(p.main.get(), out.filePath(QStringLiteral("Mine.CSV")));
    p.analysis()->mnuAnalysisExport->trigger();
    QCOMPARE(QDir(out.path()).entryList({QStringLiteral("Mine*")}, QDir::Files),
             QStringList{QStringLiteral("Mine.CSV")});
}

void AnalysisWindowsTest::itemsFollowWhatTheTrendShows()
{
    // Save, Print, Run figures and Export CSV are offered exactly while the
    // Trends window shows a finished run or an opened file; the figures
    // window always shows that run, or goes.
    AnalysisProgram p;
    TfrmMain& m = *p.main;
    AnalysisMenu* a = p.analysis();
    QCOMPARE(RunItemsOffered(m), false); // nothing open
    LoopWindow* flow = ChooseExercise(m, Exercise::Flow);
    QVERIFY(flow != nullptr);
    QCOMPARE(RunItemsOffered(m), false); // an empty trend

    std::optional<bool> whileRunning;
    QVERIFY(RunInWindow(*p.state, flow, 40, {{20, [&] { whileRunning = RunItemsOffered(m); }}}));
    QCOMPARE(whileRunning, false);
    QCOMPARE(RunItemsOffered(m), true);
    a->mnuAnalysisFigures->trigger();
    TfrmRunFigures* figures = a->figuresWindow();
    QVERIFY(figures->isVisible());
    const int rowsOfRun = figures->grdFigures->rowCount();
    QCOMPARE(FiguresDiffer(*p.state, figures, Exercise::Flow, {{"Flow", "1", "1", "0.8", "0"}}),
             QString());

    // MENU on the finished run: it goes with its window, at once.
    flow->btnMenu->click();
    QCOMPARE(RunItemsOffered(m), false);
    QVERIFY(!figures->isVisible());
    QVERIFY(QTest::qWaitFor([&] { return m.exerciseWindow() == nullptr; }));
    flow = ChooseExercise(m, Exercise::Flow);
    QVERIFY(flow != nullptr);

    // MENU during a run, Flow chosen again: an empty trend, and nothing of
    // the discarded run is offered or shown.
    QVERIFY(RunInWindow(*p.state, flow, -1, {{30, [&] { flow->btnMenu->click(); }}}));
    QVERIFY(!figures->isVisible());
    QVERIFY(QTest::qWaitFor([&] { return m.exerciseWindow() == nullptr; }));
    QCOMPARE(RunItemsOffered(m), false);
    flow = ChooseExercise(m, Exercise::Flow);
    QVERIFY(flow != nullptr);
    QCOMPARE(RunItemsOffered(m), false);

    // An opened file is offered and described; File > New takes it away.
    QVERIFY(m.fileCommands()->openFile(velmor::test::Golden("flow_sine_gain_changes.psm")).read);
    QCOMPARE(RunItemsOffered(m), true);
    a->mnuAnalysisFigures->trigger();
    QVERIFY(figures->grdFigures->rowCount() != rowsOfRun);
    QCOMPARE(FiguresDiffer(*p.state, figures, Exercise::Flow,
                           {{"Flow", "1", "1", "0.8", "0"},
                            {"Flow", "2", "2.5", "0.8", "0"},
                            {"Flow", "3", "2.5", "0.3", "0"}}),
             QString());
    // Another file opened with the figures on screen: they follow it.
    QVERIFY(m.fileCommands()->openFile(velmor::test::Golden("flow_derivative_gate.psm")).read);
    QVERIFY(figures->isVisible());
    QCOMPARE(FiguresDiffer(*p.state, figures, Exercise::Flow,
                           {{"Flow", "1", "1", "0.8", "0.05"}, {"Flow", "2", "1", "0.8", "0"}}),
             QString());
    velmor::test::Answer(&m, QMessageBox::Yes);
    Item(m, "mnuFileNew")->trigger();
    QCOMPARE(RunItemsOffered(m), false);
    QVERIFY(!figures->isVisible());

    // Another exercise chosen while a file is shown: from the choice on.
    QVERIFY(m.fileCommands()->openFile(velmor::test::Golden("flow_sine_gain_changes.psm")).read);
    QCOMPARE(RunItemsOffered(m), true);
    Item(m, "mnuControlTemperature")->trigger();
    QCOMPARE(RunItemsOffered(m), false);
    LoopWindow* temperature = OpenedWindow(m, Exercise::Temperature);
    QVERIFY(temperature != nullptr);
    QCOMPARE(RunItemsOffered(m), false);

    // Temperature's MENU leaves its run to the shell, which ends it: the
    // end of that run offers nothing either, then or after the release.
    QVERIFY(RunInWindow(*p.state, temperature, -1, {{30, [&] { temperature->btnMenu->click(); }}}));
    QCOMPARE(RunItemsOffered(m), false);
    QVERIFY(QTest::qWaitFor([&] { return m.exerciseWindow() == nullptr; }));
    QCOMPARE(RunItemsOffered(m), false);
}

void AnalysisWindowsTest::runFiguresShowEachExercisesRun()
{
    // Each exercise's run made in its window with settings entered through
    // the keypad (PG, I and D all different, so a column read from the
    // wrong field shows) and changed half way: a second segment.
    struct Case {
        Exercise exercise;
        std::function<void(TfrmMain&, LoopWindow*)> before;
        int changeAt;
        std::function<void(TfrmMain&, LoopWindow*)> change;
        int stopAt; // -1: the run ends by itself
        std::vector<QStringList> settings;
    };
    const auto stepWaveform = [](TfrmMain& m, LoopWindow* w) {
        if (auto* flow = dynamic_cast<TfrmFlow*>(w)) {
            flow->waveform()->chkStep->click();
        } else if (auto* level = dynamic_cast<TfrmLevel*>(w)) {
            level->waveform()->chkStep->click();
        }
        EnterValue(m, w, kCodeWaveRow3, QStringLiteral("20"));
    };
    const auto enter = [](std::vector<std::pair<int, const char*>> values) {
        return [values](TfrmMain& m, LoopWindow* w) {
            for (const auto& [code, text] : values) {
                EnterValue(m, w, code, QLatin1String(text));
            }
        };
    };
    const Case cases[] = {
        {Exercise::Flow,
         [&](TfrmMain& m, LoopWindow* w) {
             stepWaveform(m, w);
             enter({{kCodePG, "2"}, {kCodeI, "1.5"}, {kCodeD, "0.05"}})(m, w);
         },
         300,
         enter({{kCodePG, "3"}}),
         600,
         {{"Flow", "1", "2", "1.5", "0.05"}, {"Flow", "2", "3", "1.5", "0.05"}}},
        {Exercise::Level,
         [&](TfrmMain& m, LoopWindow* w) {
             stepWaveform(m, w);
             enter({{kCodePG, "4"}, {kCodeI, "5"}, {kCodeD, "0.5"}, {kCodeSetPoint, "40"}})(m, w);
         },
         300,
         enter({{kCodeI, "8"}}),
         600,
         {{"Level", "1", "4", "5", "0.5"}, {"Level", "2", "4", "8", "0.5"}}},
        {Exercise::Temperature,
         enter({{kCodePG, "12"}, {kCodeI, "3"}, {kCodeD, "0.7"}, {kCodeSetPoint, "45"}}),
         200,
         enter({{kCodeSetPoint, "35"}, {kCodePG, "6"}}),
         600,
         {{"Temperature", "1", "12", "3", "0.7"}, {"Temperature", "2", "6", "3", "0.7"}}},
        {Exercise::Batch,
         enter({{kCodePG, "0.8"},
                {kCodeI, "4"},
                {kCodeD, "0.2"},
                {kCodeTempPG, "2"},
                {kCodeTempI, "300"},
                {kCodeTempD, "0.4"},
                {kCodeExpectedTime, "60"}}),
         300,
         enter({{kCodeTempPG, "3"}}),
         -1,
         {{"Volume", "1", "0.8", "4", "0.2"},
          {"Volume", "2", "0.8", "4", "0.2"},
          {"Temperature", "1", "2", "300", "0.4"},
          {"Temperature", "2", "3", "300", "0.4"}}},
        {Exercise::Open, {}, -1, {}, 100, {}},
    };
    AnalysisProgram p;
    TfrmMain& m = *p.main;
    AnalysisMenu* a = p.analysis();
    for (const Case& c : cases) {
        const char* name = FormName(c.exercise).data();
        LoopWindow* window = ChooseExercise(m, c.exercise);
        QVERIFY2(window != nullptr, name);
        if (c.before) {
            c.before(m, window);
        }
        std::map<int, std::function<void()>> changes;
        if (c.change) {
            changes[c.changeAt] = [&] { c.change(m, window); };
        }
        QVERIFY(RunInWindow(*p.state, window, c.stopAt, changes));
        a->mnuAnalysisFigures->trigger();
        TfrmRunFigures* figures = a->figuresWindow();
        QVERIFY2(figures->isVisible(), name);
        QCOMPARE(figures->lblNoData->isVisible(), c.settings.empty());
        const QString differs = FiguresDiffer(*p.state, figures, c.exercise, c.settings);
        QVERIFY2(differs.isEmpty(),
                 qPrintable(QLatin1String(name) + QStringLiteral(": ") + differs));
    }
}

void AnalysisWindowsTest::useInFlowTakesTheChosenTuning()
{
    // An Open-loop step test made in the window; the tuning row the student
    // picks (not the step's row, not the first) is the one Flow gets, and
    // the step-test window goes with the Open-loop run.
    AnalysisProgram p;
    TfrmMain& m = *p.main;
    auto* open = dynamic_cast<TfrmOpen*>(ChooseExercise(m, Exercise::Open));
    QVERIFY(open != nullptr);
    QTRY_VERIFY(!p.state->open.openActivating);
    open->waveform()->chkStep->click();
    EnterValue(m, open, kCodeWaveRow1, QStringLiteral("80"));
    EnterValue(m, open, kCodeWaveRow2, QStringLiteral("20"));
    EnterValue(m, open, kCodeWaveRow3, QStringLiteral("40"));
    QVERIFY(RunInWindow(*p.state, open, 1200));
    AnalysisMenu* a = p.analysis();
    a->mnuAnalysisStepTest->trigger();
    TfrmStepTest* w = a->stepTestWindow();
    QVERIFY(w != nullptr && w->isVisible());
    QCOMPARE(w->tunings().size(), std::size_t{4});
    int chosen = -1;
    for (int row = 1; row < 4; ++row) {
        const FlowTuning& t = w->tunings()[std::size_t(row)];
        if (row != w->grdSteps->currentRow() &&
            (t.pg != w->tunings()[0].pg || t.i != w->tunings()[0].i)) {
            chosen = row;
        }
    }
    QVERIFY(chosen > 0);
    const FlowTuning tuning = w->tunings()[std::size_t(chosen)];
    w->grdTunings->setCurrentCell(chosen, 0);
    w->btnUseInFlow->click();
    QVERIFY(!w->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(
        m.exerciseWindow() != nullptr && m.exerciseWindow()->exercise() == Exercise::Flow, 5000);
    QCOMPARE(p.state->flow.flowGain, float(tuning.pg));
    QCOMPARE(p.state->flow.flowIntegralTime, float(tuning.i));
    QCOMPARE(p.state->flow.flowDerivativeTime, float(tuning.d));
}

void AnalysisWindowsTest::windowsReadInOrderFromTheKeyboard()
{
    // Each window after a run that fills every table, with the stops Tab
    // visits in reading order.
    struct Case {
        const char* name;
        std::function<QWidget*(AnalysisProgram&)> open;
        std::function<std::vector<QWidget*>(QWidget*)> order;
    };
    const Case cases[] = {
        {"Run figures",
         [](AnalysisProgram& p) -> QWidget* {
             Item(*p.main, "mnuControlFlow")->trigger();
             p.run(Exercise::Flow, {{"flowWaveform", "4"}, {"waveC", "20"}}, 300, {"flowGain", "2"},
                   600);
             p.analysis()->mnuAnalysisFiguresClick();
             return p.analysis()->figuresWindow();
         },
         [](QWidget* window) -> std::vector<QWidget*> {
             auto* w = static_cast<TfrmRunFigures*>(window);
             return {w->grdFigures, w->grdSteps, w->btnCopy, w->btnClose};
         }},
        {"Step test",
         [](AnalysisProgram& p) -> QWidget* {
             Item(*p.main, "mnuControlOpenLoop")->trigger();
             if (!QTest::qWaitFor([&] { return !p.state->open.openActivating; })) {
                 return nullptr;
             }
             p.run(Exercise::Open,
                   {{"openWaveform", "4"}, {"waveA", "80"}, {"waveB", "20"}, {"waveC", "40"}}, -1,
                   {}, 1200);
             p.analysis()->mnuAnalysisStepTestClick();
             return p.analysis()->stepTestWindow();
         },
         [](QWidget* window) -> std::vector<QWidget*> {
             auto* w = static_cast<TfrmStepTest*>(window);
             return {w->grdSteps, w->imgPlot, w->grdTunings, w->btnUseInFlow, w->btnClose};
         }},
    };
    for (const Case& c : cases) {
        AnalysisProgram p;
        QWidget* window = c.open(p);
        QVERIFY2(window != nullptr && window->isVisible(), c.name);
        QApplication::setActiveWindow(window);
        QVERIFY2(QTest::qWaitForWindowActive(window), c.name);
        const QString failure = velmor::test::FollowChain(c.order(window));
        QVERIFY2(failure.isEmpty(),
                 qPrintable(QLatin1String(c.name) + QStringLiteral(": ") + failure));
    }
}

void AnalysisWindowsTest::stepPlotReadsTheChosenStep()
{
    AnalysisProgram p;
    Item(*p.main, "mnuControlOpenLoop")->trigger();
    QTRY_VERIFY(!p.state->open.openActivating);
    p.run(Exercise::Open,
          {{"openWaveform", "4"}, {"waveA", "80"}, {"waveB", "20"}, {"waveC", "40"}}, -1, {}, 1200);
    p.analysis()->mnuAnalysisStepTestClick();
    TfrmStepTest* w = p.analysis()->stepTestWindow();
    QVERIFY(w != nullptr && w->steps().size() >= 2);
    // The plot reads the step in the table's current row: its time and
    // outputs, then its model's gain, as the table shows them.
    const auto readsRow = [w](int row) {
        const auto cell = [&](int column) { return w->grdSteps->item(row, column)->text(); };
        const QString name = w->imgPlot->spokenName();
        return name.startsWith(QStringLiteral("Step response plot: step at %1 s, output %2 % to "
                                              "%3 %: measured flow ")
                                   .arg(cell(0), cell(1), cell(2))) &&
               name.contains(QStringLiteral("; fitted model K %1 L/min per %").arg(cell(3)));
    };
    const int shown = w->grdSteps->currentRow();
    QVERIFY2(readsRow(shown), qPrintable(w->imgPlot->spokenName()));
    const int other = shown == 0 ? 1 : 0;
    w->grdSteps->setCurrentCell(other, 0);
    QVERIFY2(readsRow(other), qPrintable(w->imgPlot->spokenName()));
    // The same in Spanish, its own words.
    const LanguageScope inSpanish(p.state->shell, Language::Spanish);
    QVERIFY2(w->imgPlot->spokenName().startsWith(QStringLiteral("Gráfico de la respuesta")),
             qPrintable(w->imgPlot->spokenName()));
}

VELMOR_TEST_MAIN(AnalysisWindowsTest, analysis)
#include "AnalysisWindowsTest.moc"
