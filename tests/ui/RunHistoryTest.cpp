// The run history in the real main window: every action that ends or
// discards a run keeps it once, as the file File > Save writes; short runs
// and a switched-off history keep nothing; the newest 200 stay and nothing
// foreign is touched; a failing folder warns once and runs go on; Recent
// Runs and the Run History window list, open, compare and delete runs.
#include "ProgramFixture.h"

#include "core/rundata/SimFileReader.h"
#include "ui/analysis/AnalysisMenu.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/shell/ExerciseEntries.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/RunHistory.h"
#include "ui/shell/RunHistoryWindow.h"
#include "ui/shell/TfrmPrefs.h"
#include "ui/trends/TfrmGraph.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QToolButton>

#include <fstream>
#include <functional>
#include <vector>

using namespace velmor;
using namespace velmor::test;

namespace {

QStringList Kept(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.psm")}, QDir::Files, QDir::Name);
}

std::optional<SimFileLoad> Load(const QString& path)
{
    std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
    SimFileResult result = ReadSimulationFile(in, {});
    return result.load;
}

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A program whose history goes to a folder of the test's own.
struct HistoryProgram {
    QTemporaryDir data;
    QString folder = data.filePath(QStringLiteral("runs"));
    Program p;

    explicit HistoryProgram(const QString& runs = {})
        : p(kNoEasyMenu, {.historyFolder = runs.isEmpty() ? folder : runs})
    {
        if (!runs.isEmpty()) {
            folder = runs;
        }
    }
    TfrmMain& m() const { return *p.main; }
    RunHistory& history() const { return *p.main->runHistory(); }
    LoopWindow* window() const { return dynamic_cast<LoopWindow*>(p.main->exerciseWindow()); }

    // Opens an exercise through its toolbar button and waits for it.
    bool open(QToolButton* button, Exercise e)
    {
        button->click();
        return p.waitFor([&] { return window() != nullptr && window()->exercise() == e; });
    }

    // Starts a run of the open exercise, at full speed, and waits until it
    // holds `records` records; `atEnd` gets the log as the run ends.
    bool run(int records, std::vector<SampleRecord>* atEnd = nullptr)
    {
        LoopWindow* w = window();
        w->driver()->setInterval(std::chrono::milliseconds(0));
        if (atEnd != nullptr) {
            QObject::connect(w->driver(), &RunDriver::finished, w, [this, atEnd] {
                const VelmorState& s = *p.state;
                atEnd->assign(s.log.records.begin(), s.log.records.begin() + s.run.sampleCount);
            });
        }
        w->btnStartClick();
        return p.waitFor([&] { return p.state->run.sampleCount >= records; });
    }
};

using Action = std::function<void(HistoryProgram&)>;

// Takes the address the desktop is asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QUrl url;
    Q_INVOKABLE void take(const QUrl& u) { url = u; }
};

} // namespace

Q_DECLARE_METATYPE(Action)

class RunHistoryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyEndOrDiscardKeepsTheRunOnce_data();
    void everyEndOrDiscardKeepsTheRunOnce();
    void keptFileIsWhatSaveWrites();
    void runCutShortByTheProgramsEndIsKept();
    void shortRunsAndTheSwitchKeepNothing();
    void newest200StayAndForeignFilesAreLeft();
    void failingFolderWarnsOnceAndRunsGoOn();
    void recentRunsListTheNewestTenAndOpenThem();
    void historyWindowSortsFiltersAndActs();
};

void RunHistoryTest::initTestCase()
{
    // The desktop's trash and the tester's own data stay out of reach.
    static QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("share")).toLocal8Bit());
}

void RunHistoryTest::everyEndOrDiscardKeepsTheRunOnce_data()
{
    QTest::addColumn<Action>("action");
    const auto yes = [](HistoryProgram& h) { Answer(h.p.main.get(), QMessageBox::Yes); };
    QTest::newRow("STOP") << Action([](HistoryProgram& h) { h.window()->btnStop->click(); });
    QTest::newRow("the run's own end") << Action([](HistoryProgram& h) {
        QVERIFY(h.p.waitFor([&h] { return !h.window()->driver()->running(); }));
        QCOMPARE(h.p.state->run.sampleCount, kLogRecords);
    });
    QTest::newRow("START again") << Action([](HistoryProgram& h) {
        h.window()->btnStop->click();
        // The next run goes on slowly: it must not end before the count.
        h.window()->driver()->setInterval(std::chrono::seconds(30));
        h.window()->btnStart->click();
    });
    QTest::newRow("MENU") << Action([](HistoryProgram& h) { h.window()->btnMenu->click(); });
    QTest::newRow("close box") << Action(
        [](HistoryProgram& h) { h.m().exerciseSubWindow()->close(); });
    QTest::newRow("Trends close box")
        << Action([](HistoryProgram& h) { h.m().graphSubWindow()->close(); });
    QTest::newRow("New") << Action([yes](HistoryProgram& h) {
        yes(h);
        Item<QToolButton>(h.m(), "btnNew")->click();
    });
    QTest::newRow("switch") << Action(
        [](HistoryProgram& h) { Item<QToolButton>(h.m(), "btnFluidLevel")->click(); });
    QTest::newRow("Open") << Action([](HistoryProgram& h) {
        h.window()->btnStop->click();
        h.m().fileCommands()->openFile(Golden("level_ramp_integral_change.psm"));
    });
    QTest::newRow("Use in Flow") << Action([](HistoryProgram& h) {
        h.window()->btnStop->click();
        h.m().analysisMenu()->useInFlow(FlowTuning{});
    });
    QTest::newRow("Exit") << Action([yes](HistoryProgram& h) {
        yes(h);
        h.m().mnuFileExitClick();
    });
}

void RunHistoryTest::everyEndOrDiscardKeepsTheRunOnce()
{
    QFETCH(Action, action);
    HistoryProgram h;
    const bool openLoop = QByteArray(QTest::currentDataTag()) == "Use in Flow";
    QVERIFY(h.open(openLoop ? Item<QToolButton>(h.m(), "btnOpenLoop")
                            : Item<QToolButton>(h.m(), "btnFlow"),
                   openLoop ? Exercise::Open : Exercise::Flow));
    std::vector<SampleRecord> atEnd;
    QVERIFY(h.run(25, &atEnd));
    QSignalSpy kept(&h.history(), &RunHistory::runKept);
    QSignalSpy ended(h.p.main.get(), &TfrmMain::terminateRequested);
    action(h);
    QTRY_COMPARE_WITH_TIMEOUT(kept.count(), 1, 5000);
    // Said where it can be read: the Trends caption, or the frame's when
    // the Trends window is going.
    const QString note = QStringLiteral(" - Run kept in history");
    const TfrmGraph* graph = h.m().graphWindow();
    QVERIFY(h.p.state->shell.trendsOpen && graph != nullptr
                ? graph->windowTitle().endsWith(note)
                : h.m().windowTitle() == QStringLiteral("VELMOR") + note);
    if (QByteArray(QTest::currentDataTag()) == "Exit") {
        // Written before the program ends.
        QTRY_COMPARE(ended.count(), 1);
    } else {
        // Whatever the action does next (a switch, a load), no second copy.
        QVERIFY(h.p.waitFor(
            [&] { return !h.m().switching() && !Item<QTimer>(h.m(), "Timer")->isActive(); }));
    }
    h.history().waitForWrites();
    const QStringList files = Kept(h.folder);
    QCOMPARE(files.size(), 1);
    const QString word = openLoop ? QStringLiteral("open") : QStringLiteral("flow");
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d_") +
                                word + QStringLiteral("\\.psm$"))
                 .match(files[0])
                 .hasMatch(),
             qPrintable(files[0]));
    QCOMPARE(kept.at(0).at(0).toString(), QDir(h.folder).filePath(files[0]));
    const std::optional<SimFileLoad> load = Load(QDir(h.folder).filePath(files[0]));
    QVERIFY(load.has_value());
    QVERIFY(atEnd.size() >= 25);
    QCOMPARE(load->records.size(), atEnd.size());
    QVERIFY(load->records == atEnd);
}

void RunHistoryTest::keptFileIsWhatSaveWrites()
{
    // Both exercises with two loops or a waveform: Batch and Open loop.
    for (const auto& [button, e] :
         {std::pair{"btnBatchVolume", Exercise::Batch}, std::pair{"btnOpenLoop", Exercise::Open}}) {
        HistoryProgram h;
        QVERIFY(h.open(Item<QToolButton>(h.m(), button), e));
        QVERIFY(h.run(30));
        QSignalSpy kept(&h.history(), &RunHistory::runKept);
        const QString caption = h.m().graphWindow()->windowTitle();
        h.window()->btnStopClick();
        QTRY_COMPARE(kept.count(), 1);
        // The Trends caption says so, for a few seconds.
        QCOMPARE(h.m().graphWindow()->windowTitle(),
                 caption + QStringLiteral(" - Run kept in history"));
        QVERIFY(h.m().noteTimer().isActive());
        QVERIFY(h.m().noteTimer().interval() >= 3000); // long enough to be read
        h.m().noteTimer().start(0);                    // then it goes
        QTRY_COMPARE(h.m().graphWindow()->windowTitle(), caption);
        const QString saved = h.data.filePath(QStringLiteral("saved.psm"));
        QCOMPARE(h.m().fileCommands()->saveFile(saved), QString());
        QCOMPARE(Bytes(kept.at(0).at(0).toString()), Bytes(saved));
    }
}

void RunHistoryTest::runCutShortByTheProgramsEndIsKept()
{
    // The desktop session ends mid-run: the windows go without a close
    // request, between two cycles.
    HistoryProgram h;
    QVERIFY(h.open(Item<QToolButton>(h.m(), "btnFlow"), Exercise::Flow));
    QVERIFY(h.run(20));
    QVERIFY(h.window()->driver()->running());
    h.p.main.reset();
    const std::vector<SampleRecord> logged(h.p.state->log.records.begin(),
                                           h.p.state->log.records.begin() +
                                               h.p.state->run.sampleCount);
    const QStringList files = Kept(h.folder);
    QCOMPARE(files.size(), 1);
    const std::optional<SimFileLoad> load = Load(QDir(h.folder).filePath(files[0]));
    QVERIFY(load.has_value());
    QVERIFY(load->records == logged);
}

void RunHistoryTest::shortRunsAndTheSwitchKeepNothing()
{
    HistoryProgram h;
    QVERIFY(h.open(Item<QToolButton>(h.m(), "btnFlow"), Exercise::Flow));
    // STOP before the first cycle: the start's record alone.
    QObject::connect(
        h.window()->driver(), &RunDriver::started, h.window(), [&h] { h.window()->btnStopClick(); },
        Qt::SingleShotConnection);
    h.window()->btnStartClick();
    QVERIFY(!h.window()->driver()->running());
    QCOMPARE(h.p.state->run.sampleCount, 1);
    h.history().waitForWrites();
    QVERIFY(Kept(h.folder).isEmpty());
    // STOP after the first cycle: two records, the shortest run kept.
    QObject::connect(
        h.window()->driver(), &RunDriver::cycled, h.window(), [&h] { h.window()->btnStopClick(); },
        Qt::SingleShotConnection);
    h.window()->btnStartClick();
    QVERIFY(h.p.waitFor([&h] { return !h.window()->driver()->running(); }));
    QCOMPARE(h.p.state->run.sampleCount, RunHistory::kMinimumRecords);
    h.history().waitForWrites();
    QCOMPARE(Kept(h.folder).size(), 1);
    for (const QString& file : Kept(h.folder)) {
        QVERIFY(QFile::remove(QDir(h.folder).filePath(file)));
    }

    // Switched off in the preferences: nothing, and so at the next start.
    Item(h.m(), "mnuPreferencesOptions")->trigger();
    TfrmPrefs* prefs = h.m().preferencesWindow();
    QVERIFY(h.p.waitFor([prefs] { return !prefs->TripTimer->isActive(); }));
    QVERIFY(prefs->chkKeepHistory->isChecked());
    QVERIFY(prefs->lblHistoryFolder->toolTip() == QDir::toNativeSeparators(h.folder));
    prefs->chkKeepHistory->setChecked(false);
    prefs->btnOK->click();
    QCOMPARE(h.p.preferences->text(QStringLiteral("Keep Run History")), QStringLiteral("False"));
    QVERIFY(h.run(20));
    h.window()->btnStopClick();
    h.history().waitForWrites();
    QVERIFY(Kept(h.folder).isEmpty());
    h.p.restart({.historyFolder = h.folder});
    QVERIFY(!h.history().enabled());
    // The four stored values are as they were.
    QCOMPARE(h.p.preferences->text(QStringLiteral("Installed")), QStringLiteral("YES"));
    QCOMPARE(h.p.preferences->text(QStringLiteral("Show Easy Menus")), QStringLiteral("False"));
}

void RunHistoryTest::newest200StayAndForeignFilesAreLeft()
{
    HistoryProgram h;
    QDir().mkpath(h.folder);
    const QByteArray run = Bytes(Golden("open_sawtooth.psm"));
    QStringList ours;
    for (int k = 0; k < 200; ++k) {
        // One a minute from 2020-01-01 00:00, two in the same second at the start.
        const QDateTime at = QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addSecs(60 * (k / 2 + 1));
        const QString name =
            at.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) +
            (k % 2 == 0 ? QStringLiteral("_open.psm") : QStringLiteral("_open_2.psm"));
        QFile f(QDir(h.folder).filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(run);
        ours << name;
    }
    const QStringList foreign = {QStringLiteral("notes.txt"), QStringLiteral("mine.psm"),
                                 QStringLiteral("2019-01-01_00-00-00_manual.psm"),
                                 QStringLiteral("2019-01-01_00-00-00_flow_1.psm")};
    for (const QString& name : foreign) {
        QFile f(QDir(h.folder).filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("mine");
    }
    h.history().reread();
    QVERIFY(h.open(Item<QToolButton>(h.m(), "btnFlow"), Exercise::Flow));
    QVERIFY(h.run(20));
    QSignalSpy kept(&h.history(), &RunHistory::runKept);
    h.window()->btnStopClick();
    QTRY_COMPARE(kept.count(), 1);
    const QStringList files = QDir(h.folder).entryList(QDir::Files);
    // The oldest (00:01:00, its first copy) went; everything foreign stayed.
    QCOMPARE(files.size(), 200 + foreign.size());
    QVERIFY(!files.contains(ours[0]));
    QVERIFY(files.contains(ours[1]));
    QVERIFY(files.contains(QFileInfo(kept.at(0).at(0).toString()).fileName()));
    for (const QString& name : foreign) {
        QVERIFY2(files.contains(name), qPrintable(name));
        QCOMPARE(Bytes(QDir(h.folder).filePath(name)), QByteArray("mine"));
    }
    QTRY_VERIFY(!h.history().reading());
    QCOMPARE(h.history().runs().size(), 200);
    QCOMPARE(h.history().runs().constFirst().exercise, Exercise::Flow);
    QCOMPARE(h.history().runs().constLast().fileName, ours[1]);
}

void RunHistoryTest::failingFolderWarnsOnceAndRunsGoOn()
{
    // A regular file where the folder should be: no one, root included,
    // can make the folder under it.
    QTemporaryDir data;
    const QString blocker = data.filePath(QStringLiteral("blocker"));
    {
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    HistoryProgram h(blocker + QStringLiteral("/runs"));
    QSignalSpy failed(&h.history(), &RunHistory::keepFailed);
    QVERIFY(h.open(Item<QToolButton>(h.m(), "btnFlow"), Exercise::Flow));
    for (int k = 1; k <= 2; ++k) {
        QVERIFY(h.run(20));
        h.window()->btnStopClick();
        QTRY_COMPARE(failed.count(), k);
        // Nothing modal stands in the way of the next run.
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(h.window()->btnStart->isEnabled());
    }
    const QList<QMessageBox*> boxes =
        h.m().findChildren<QMessageBox*>(QStringLiteral("msgKeepFailed"));
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes[0]->isVisible());
    QVERIFY(boxes[0]->text().contains(QDir::toNativeSeparators(h.folder)));
    QVERIFY(QFileInfo(blocker).isFile());
}

void RunHistoryTest::recentRunsListTheNewestTenAndOpenThem()
{
    HistoryProgram h;
    QDir().mkpath(h.folder);
    // Twelve runs, one a day; Flow and Open loop by turns.
    QStringList names;
    for (int k = 0; k < 12; ++k) {
        const bool flow = k % 2 == 0;
        const QString name =
            QDate(2026, 3, 1 + k).toString(QStringLiteral("yyyy-MM-dd")) +
            (flow ? QStringLiteral("_10-00-00_flow.psm") : QStringLiteral("_10-00-00_open.psm"));
        QVERIFY(QFile::copy(Golden(flow ? "flow_sine_gain_changes.psm" : "open_step_gate.psm"),
                            QDir(h.folder).filePath(name)));
        names.prepend(name);
    }
    h.history().reread();
    QTRY_VERIFY(!h.history().reading());
    QVERIFY(Item<QMenu>(h.m(), "mnuFileRecent")->menuAction()->isEnabled());
    emit Item<QMenu>(h.m(), "mnuFileRecent")->aboutToShow();
    const QList<QAction*> items = Item<QMenu>(h.m(), "mnuFileRecent")->actions();
    QCOMPARE(items.size(), 10);
    for (int k = 0; k < 10; ++k) {
        QCOMPARE(items[k]->data().toString(), QDir(h.folder).filePath(names[k]));
    }
    QCOMPARE(items[0]->text(), QStringLiteral("2026-03-12 10:00:00  Open Loop, 1200 records, "
                                              "Step (A 90, B 20, C 40)"));
    QCOMPARE(items[1]->text(),
             QStringLiteral("2026-03-11 10:00:00  Flow, 900 records, PG 1, I 0.8, D 0"));
    // A click opens it as File > Open does.
    items[1]->trigger();
    QVERIFY(
        h.p.waitFor([&] { return h.window() != nullptr && h.p.state->run.sampleCount == 900; }));
    QCOMPARE(h.window()->exercise(), Exercise::Flow);
    QCOMPARE(h.m().graphWindow()->windowTitle(), QStringLiteral("Flow Trend - ") + names[1]);
    // An opened run is not kept again.
    h.history().waitForWrites();
    QCOMPARE(Kept(h.folder).size(), 12);
}

void RunHistoryTest::historyWindowSortsFiltersAndActs()
{
    HistoryProgram h;
    QDir().mkpath(h.folder);
    const std::pair<const char*, const char*> runs[] = {
        {"2026-03-01_09-00-00_flow.psm", "flow_sine_gain_changes.psm"},
        {"2026-03-02_09-00-00_flow.psm", "flow_derivative_gate.psm"},
        {"2026-03-03_09-00-00_level.psm", "level_autodrain_step.psm"},
        {"2026-03-04_09-00-00_batch.psm", "batch_defaults.psm"},
    };
    for (const auto& [name, golden] : runs) {
        QVERIFY(QFile::copy(Golden(golden), QDir(h.folder).filePath(QLatin1String(name))));
    }
    h.history().reread();
    Item(h.m(), "mnuFileHistory")->trigger();
    RunHistoryWindow* w = h.m().runHistoryWindow();
    QVERIFY(w != nullptr && w->isVisible());
    QTRY_VERIFY(!h.history().reading());
    QTRY_COMPARE(w->proxy()->rowCount(), 4);
    // The filter names each exercise as its pop-up menu item does.
    QCOMPARE(w->cboExercise->count(), 6);
    for (int i = 1; i < w->cboExercise->count(); ++i) {
        const auto e = static_cast<Exercise>(w->cboExercise->itemData(i).toInt());
        const QString pop = QLatin1String(ExerciseEntryFor(e)->popItem);
        QCOMPARE(w->cboExercise->itemText(i), Item(h.m(), qPrintable(pop))->text());
    }
    // Newest first; by duration on a click of its header.
    const auto fileAt = [w](int row) {
        return w->proxy()->index(row, 0).data(Qt::UserRole + 1).toString();
    };
    QCOMPARE(fileAt(0), QStringLiteral("2026-03-04_09-00-00_batch.psm"));
    w->grdRuns->sortByColumn(RunHistoryWindow::ColDuration, Qt::AscendingOrder);
    // The shortest: 0 to 70 s.
    QCOMPARE(fileAt(0), QStringLiteral("2026-03-02_09-00-00_flow.psm"));
    QCOMPARE(w->proxy()->index(0, RunHistoryWindow::ColDuration).data().toString(),
             QStringLiteral("70.0"));
    for (int row = 1; row < 4; ++row) {
        QVERIFY(
            w->proxy()
                ->index(row - 1, RunHistoryWindow::ColDuration)
                .data(Qt::UserRole)
                .toDouble() <=
            w->proxy()->index(row, RunHistoryWindow::ColDuration).data(Qt::UserRole).toDouble());
    }

    // Only Flow runs.
    w->cboExercise->setCurrentIndex(w->cboExercise->findData(static_cast<int>(Exercise::Flow)));
    QCOMPARE(w->proxy()->rowCount(), 2);
    // A change of language keeps the choice.
    const int flowItem = w->cboExercise->currentIndex();
    QVERIFY(flowItem > 0);
    UseLanguage(h.p.state->shell, Language::Spanish);
    QCOMPARE(w->cboExercise->currentIndex(), flowItem);
    UseLanguage(h.p.state->shell, Language::English);
    QCOMPARE(w->cboExercise->currentIndex(), flowItem);
    QCOMPARE(w->proxy()->rowCount(), 2);

    // Open, then Compare the other Flow run behind it.
    w->selectRun(QStringLiteral("2026-03-01_09-00-00_flow.psm"));
    QVERIFY(!w->btnCompare->isEnabled()); // nothing open yet
    w->btnOpen->click();
    QVERIFY(h.p.waitFor([&] { return h.p.state->run.sampleCount == 900; }));
    w->selectRun(QStringLiteral("2026-03-02_09-00-00_flow.psm"));
    QVERIFY(w->btnCompare->isEnabled());
    w->btnCompare->click();
    QVERIFY(h.m().graphWindow()->hasComparison());
    QCOMPARE(h.m().graphWindow()->comparisonName(), QStringLiteral("2026-03-02_09-00-00_flow.psm"));
    QCOMPARE(h.p.state->run.sampleCount, 900);

    // Delete: to the trash, away from the folder and the list. (Were there
    // no trash, the question that comes instead is answered, not hung on.)
    Answer(w, QMessageBox::No);
    w->btnDelete->click();
    QVERIFY(
        !QFile::exists(QDir(h.folder).filePath(QStringLiteral("2026-03-02_09-00-00_flow.psm"))));
    QVERIFY(QFile::exists(qEnvironmentVariable("XDG_DATA_HOME") +
                          QStringLiteral("/Trash/files/2026-03-02_09-00-00_flow.psm")));
    QCOMPARE(w->proxy()->rowCount(), 1);
    QCOMPARE(h.history().runs().size(), 3);

    // Show Folder hands the folder to the desktop.
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "take");
    w->btnShowFolder->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(catcher.url, QUrl::fromLocalFile(h.folder));
}

int RunHistoryTestMain(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RunHistoryTest test;
    return QTest::qExec(&test, argc, argv);
}

VELMOR_TEST_MAIN_FUNCTION(RunHistoryTest, shell, RunHistoryTestMain)

#include "RunHistoryTest.moc"
