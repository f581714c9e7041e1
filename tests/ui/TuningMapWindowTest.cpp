// Analysis > Tuning Map in the real main window: the map of the exercise
// window's settings is velmor-sim sweep's table, Cancel stops the runs and
// leaves the window usable, and "Use these settings" gives a run in
// progress one new settings segment with both values; from the keyboard,
// Tab follows reading order over named stops and the arrows and Enter on
// the map do what the mouse does.
#include "ui/analysis/TuningMapWindow.h"
#include "FocusChain.h"
#include "cli/SimCli.h"
#include "core/exercises/ControllerSettings.h"
#include "ui/analysis/AnalysisMenu.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/exercises/WaveformPanel.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmMain.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <set>
#include <sstream>

#include "LanguageScope.h"
#include "ProgramFixture.h"
#include "WindowRun.h"

using namespace velmor;
using velmor::test::ChooseExercise;
using velmor::test::FollowChain;
using velmor::test::NameOf;
using velmor::test::RunInWindow;

namespace {

// The program installed, not maximised, with what these tests ask of it.
struct MapProgram : velmor::test::Program {

    // Flow on a Step waveform, and its tuning map opened.
    TuningMapWindow* flowMap()
    {
        auto* flow = dynamic_cast<TfrmFlow*>(ChooseExercise(*main, Exercise::Flow));
        if (flow == nullptr) {
            return nullptr;
        }
        flow->waveform()->chkStep->click();
        return openMap();
    }

    TuningMapWindow* mapOf(Exercise e)
    {
        return e == Exercise::Flow ? flowMap()
                                   : (ChooseExercise(*main, e) != nullptr ? openMap() : nullptr);
    }

    TuningMapWindow* openMap()
    {
        AnalysisMenu* a = main->analysisMenu();
        emit a->mnuAnalysis->aboutToShow();
        if (!a->mnuAnalysisTuningMap->isEnabled()) {
            return nullptr;
        }
        a->mnuAnalysisTuningMap->trigger();
        return a->tuningMapWindow();
    }
};

// Sets a grid and waits until its computation has ended.
bool Grid(TuningMapWindow* w, int columns, int rows, int records)
{
    QSignalSpy ended(w, &TuningMapWindow::computeEnded);
    w->txtRecords->setValue(records);
    w->txtCount[0]->setValue(columns);
    w->txtCount[1]->setValue(rows);
    return w->map().complete() || ended.wait(30000);
}

std::string Sweep(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    RunSimCli(args, out, err);
    return out.str();
}

} // namespace

class TuningMapWindowTest : public QObject {
    Q_OBJECT

private slots:
    void mapIsTheSweepOfTheWindowsSettings();
    void cancelStopsTheRunsAndLeavesTheWindowUsable();
    void useTheseSettingsGivesOneSegmentWithBothValues();
    void tabFollowsReadingOrderAndEveryStopIsNamed();
    void arrowKeysAndEnterDoWhatTheMouseDoes();
};

void TuningMapWindowTest::mapIsTheSweepOfTheWindowsSettings()
{
    MapProgram p;
    TuningMapWindow* w = p.flowMap();
    QVERIFY(w != nullptr && w->isVisible());
    // Today's PG 1 and I 0.8: a quarter to four times each.
    QCOMPARE(w->txtFrom[0]->value(), 0.25);
    QCOMPARE(w->txtTo[0]->value(), 4.0);
    QCOMPARE(w->txtFrom[1]->value(), 0.2);
    QCOMPARE(w->txtTo[1]->value(), 3.2);
    // Shown with the digits they need.
    QCOMPARE(w->txtFrom[0]->text(), QStringLiteral("0.25"));
    QCOMPARE(w->txtTo[0]->text(), QStringLiteral("4"));
    QVERIFY(Grid(w, 5, 4, 400));
    QVERIFY(w->map().complete());
    const std::string sweep = Sweep({"sweep", "flow", "--vary", "flowGain=0.25:4:5", "--vary",
                                     "flowIntegralTime=0.2:3.2:4", "--set", "flowWaveform=4",
                                     "--records", "400", "--out", "-"});
    const QString csv = QDir(p.dir.path()).filePath(QStringLiteral("map.csv"));
    QCOMPARE(w->exportCsv(csv), QString());
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toStdString(), sweep);
    // Asking again with nothing changed runs nothing.
    w->btnCompute->click();
    QVERIFY(w->map().complete());
    QVERIFY(!w->computing());

    // A logarithmic axis: other values, the same runs as velmor-sim makes
    // for them; the values kept from the linear grid are not run again.
    QSignalSpy ended(w, &TuningMapWindow::computeEnded);
    w->chkLog[0]->setChecked(true);
    QVERIFY(w->map().complete() || ended.wait(30000));
    QCOMPARE(w->map().plan().axes[0].values,
             (std::vector<std::string>{"0.25", "0.5", "1", "2", "4"}));
    // Another figure is another picture of the same cells.
    const std::size_t computed = w->map().computed();
    w->cboFigure->setCurrentIndex(3);
    QCOMPARE(w->view().figure, MapFigure::Stable);
    QVERIFY(!w->computing());
    QCOMPARE(w->map().computed(), computed);
}

void TuningMapWindowTest::cancelStopsTheRunsAndLeavesTheWindowUsable()
{
    MapProgram p;
    TuningMapWindow* w = p.flowMap();
    QVERIFY(w != nullptr);
    QVERIFY(Grid(w, 3, 3, 300));
    // A grid of many full runs, cancelled as soon as it starts.
    QSignalSpy ended(w, &TuningMapWindow::computeEnded);
    w->txtRecords->setValue(6000);
    w->txtCount[0]->setValue(201);
    w->txtCount[1]->setValue(201);
    QVERIFY(w->computing());
    QVERIFY(w->btnCancel->isEnabled());
    w->btnCancel->click();
    QVERIFY(ended.wait(30000));
    QVERIFY(!w->computing());
    const std::size_t computed = w->map().computed();
    QVERIFY(computed < 201u * 201u);
    // Every run that ended has reported before the end: nothing more comes.
    QCoreApplication::processEvents();
    QCOMPARE(w->map().computed(), computed);
    QVERIFY(w->btnCompute->isEnabled());
    QVERIFY(!w->btnCancel->isEnabled());
    QVERIFY(!w->btnExportCsv->isEnabled());

    // Usable: a smaller grid computes to the end.
    QVERIFY(Grid(w, 4, 4, 300));
    QVERIFY(w->map().complete());
    QVERIFY(w->btnExportCsv->isEnabled());
}

void TuningMapWindowTest::useTheseSettingsGivesOneSegmentWithBothValues()
{
    MapProgram p;
    TuningMapWindow* w = p.flowMap();
    QVERIFY(w != nullptr);
    QVERIFY(Grid(w, 5, 4, 300));
    QVERIFY(!w->btnUse->isEnabled());
    const std::size_t cell = w->map().index(3, 2);
    w->chooseCell(cell);
    QVERIFY(w->btnUse->isEnabled());
    QCOMPARE(w->imgRun->chosen().time.size(), std::size_t{299});
    const float pg = std::stof(w->map().plan().axes[0].values[3]);
    const float i = std::stof(w->map().plan().axes[1].values[2]);
    QVERIFY(pg != p.state->flow.flowGain && i != p.state->flow.flowIntegralTime);

    auto* flow = dynamic_cast<LoopWindow*>(p.main->exerciseWindow());
    QVERIFY(flow != nullptr);
    QVERIFY(RunInWindow(*p.state, flow, 200, {{100, [&] { w->btnUse->click(); }}}));
    QVERIFY(!p.main->keypad()->isVisible());
    QCOMPARE(p.state->flow.flowGain, pg);
    QCOMPARE(p.state->flow.flowIntegralTime, i);
    // Records 1 .. 200: one settings segment before the change and one
    // after, the new one holding both values from its first record.
    std::set<std::int32_t> segments;
    int boundary = 0;
    for (int n = 2; n <= 200; ++n) {
        const SampleRecord& r = p.state->log.record(n);
        segments.insert(r.segment);
        if (r.segment != p.state->log.record(n - 1).segment) {
            QCOMPARE(boundary, 0);
            boundary = n;
        }
    }
    QCOMPARE(segments.size(), std::size_t{2});
    QVERIFY(boundary > 100);
    QCOMPARE(p.state->log.record(boundary).field(kFieldFlowPG), pg);
    QCOMPARE(p.state->log.record(boundary).field(kFieldFlowI), i);
    QVERIFY(p.state->log.record(boundary - 1).field(kFieldFlowPG) != pg);
}

void TuningMapWindowTest::tabFollowsReadingOrderAndEveryStopIsNamed()
{
    // With a cell chosen on a complete map, every button is a stop but
    // Cancel; the loop box only where there are two loops.
    struct Case {
        Exercise exercise;
        Language language;
        bool loopBox;
    };
    for (const Case c : {Case{Exercise::Flow, Language::English, false},
                         Case{Exercise::Batch, Language::Spanish, true}}) {
        MapProgram p;
        LanguageScope language(p.state->shell, c.language);
        TuningMapWindow* w = p.mapOf(c.exercise);
        QVERIFY(w != nullptr);
        QVERIFY(Grid(w, 3, 3, 50));
        w->chooseCell(0);
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        std::vector<QWidget*> order;
        if (c.loopBox) {
            order.push_back(w->cboLoop);
        }
        order.insert(order.end(), {w->cboFigure, w->txtRecords});
        for (std::size_t a = 0; a < 2; ++a) {
            order.insert(order.end(), {w->cboSetting[a], w->txtFrom[a], w->txtTo[a], w->txtCount[a],
                                       w->chkLog[a]});
        }
        order.insert(order.end(), {w->btnCompute, w->imgMap, w->btnUse, w->btnExportPng,
                                   w->btnExportCsv, w->btnClose});
        const QString failure = FollowChain(order);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        // A screen reader tells each stop apart by its name alone.
        QSet<QString> names;
        for (QWidget* stop : order) {
            const QAccessibleInterface* a = QAccessible::queryAccessibleInterface(stop);
            QVERIFY(a != nullptr);
            const QString name = a->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty(), qPrintable(NameOf(stop)));
            QVERIFY2(!names.contains(name), qPrintable(name));
            names.insert(name);
        }
    }
}

void TuningMapWindowTest::arrowKeysAndEnterDoWhatTheMouseDoes()
{
    MapProgram p;
    TuningMapWindow* w = p.flowMap();
    QVERIFY(w != nullptr);
    QVERIFY(Grid(w, 5, 4, 100));
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->imgMap->setFocus(Qt::TabFocusReason);
    // The first arrow puts the cursor in the middle, cell (2, 2); rows
    // count up from the bottom, and the cursor stops at the edges.
    struct Step {
        Qt::Key key;
        std::size_t column;
        std::size_t row;
    };
    const Step steps[] = {{Qt::Key_Left, 2, 2},  {Qt::Key_Left, 1, 2},  {Qt::Key_Up, 1, 3},
                          {Qt::Key_Up, 1, 3},    {Qt::Key_Down, 1, 2},  {Qt::Key_Right, 2, 2},
                          {Qt::Key_Right, 3, 2}, {Qt::Key_Right, 4, 2}, {Qt::Key_Right, 4, 2}};
    for (const Step& s : steps) {
        QTest::keyClick(w->imgMap, s.key);
        const std::size_t index = w->map().index(s.column, s.row);
        QCOMPARE(w->imgMap->cursorIndex(), std::optional<std::size_t>(index));
        // Told as hovering tells it, on screen and to a screen reader.
        QCOMPARE(w->lblCell->text(), w->cellText(index));
        QVERIFY(w->imgMap->accessibleDescription().startsWith(
            w->cellText(index).section(QLatin1Char('\n'), 0, 0)));
    }
    // Each cell's text judges it as the map does.
    std::set<bool> judged;
    for (std::size_t index = 0; index < w->map().columns() * w->map().rows(); ++index) {
        const std::optional<SweepRow>& cell = w->map().cell(index);
        if (cell && cell->stable) {
            judged.insert(*cell->stable);
            QVERIFY(w->cellText(index).endsWith(*cell->stable ? QStringLiteral("\nStable.")
                                                              : QStringLiteral("\nOscillating.")));
        }
    }
    QCOMPARE(judged, (std::set<bool>{false, true}));
    QVERIFY(!w->btnUse->isEnabled());
    QTest::keyClick(w->imgMap, Qt::Key_Return);
    QCOMPARE(w->view().selected, std::optional<std::size_t>(w->map().index(4, 2)));
    QVERIFY(w->btnUse->isEnabled());
    QVERIFY(!w->imgRun->chosen().time.empty());
}

VELMOR_TEST_MAIN(TuningMapWindowTest, analysis)
#include "TuningMapWindowTest.moc"
