// File > Open, Save and Print in the real main window: the dialogs, the
// exercise switch and the Trends window after a load, refused files that
// change nothing, saving and reopening every exercise bit for bit, a save
// that fails half way, the one-page report, the main window's part in the
// read-out and the arrows, and a saved run to compare with.
#include "ui/shell/FileCommands.h"
#include "LanguageScope.h"
#include "TrendControls.h"
#include "core/exercises/ExerciseProfile.h"
#include "ui/analysis/AnalysisMenu.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/shell/ExerciseEntries.h"
#include "ui/trends/TfrmGraph.h"
#include "ui/trends/TrendReport.h"
#include "ui/trends/TrendView.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QToolButton>
#include <QtTest>

#include <sys/resource.h>

#include <csignal>
#include <vector>

#include "ProgramFixture.h"
#include "WindowRun.h"

using namespace velmor;
using namespace velmor::test;

namespace {

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

std::vector<SampleRecord> Logged(const VelmorState& s)
{
    return {s.log.records.begin(), s.log.records.begin() + s.run.sampleCount};
}

// Everything a refused file must leave as it was.
struct Snapshot {
    explicit Snapshot(Program& p)
        : records(Logged(*p.state)), sampleCount(p.state->run.sampleCount),
          form(p.state->shell.currentForm), window(p.main->exerciseWindow()),
          graph(p.main->graphWindow()), caption(graph->windowTitle()), panel(graph->panel().copy()),
          gain(p.state->flow.flowGain), integral(p.state->flow.flowIntegralTime),
          waveform(p.state->flow.flowWaveform), span(p.state->trend.trendSpan),
          start(graph->view().trendViewStart), filled(p.state->log.secondIndexFilled),
          index(p.state->log.secondIndex)
    {
    }
    bool operator==(const Snapshot&) const = default;

    std::vector<SampleRecord> records;
    int sampleCount;
    std::string form;
    ExerciseWindow* window;
    TfrmGraph* graph;
    QString caption;
    QImage panel;
    float gain;
    float integral;
    int waveform;
    int span;
    int start;
    int filled;
    std::array<std::int32_t, kSecondIndexEntries> index;
};

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void menusToolbarAndDialogs();
    void openingSwitchesTheExercise();
    void refusedFilesChangeNothing();
    void saveAndOpenGiveBackTheRunForEveryExercise();
    void openedFilesSaveBackUnchanged();
    void failedSaveKeepsTheOldFile();
    void reportIsOnePageWithTheSettings();
    void readOutAndArrowsThroughTheMainWindow();
    void comparingWithASavedRun();
    void noCompletionListOutlivesTheDialog();
};

void FileCommandsTest::menusToolbarAndDialogs()
{
    Program p;
    TfrmMain& m = *p.main;
    QVERIFY(Item(m, "mnuFileOpen")->isEnabled());
    QVERIFY(Item(m, "popLoadTrend")->isEnabled());
    QVERIFY(Item<QToolButton>(m, "btnOpenIt")->isEnabled());
    for (QAction* item : {Item(m, "mnuFileSave"), Item(m, "mnuFilePrint")}) {
        QVERIFY(!item->isEnabled());
    }
    QVERIFY(!Item<QToolButton>(m, "btnSave")->isEnabled());
    QVERIFY(!Item<QToolButton>(m, "btnPrint")->isEnabled());

    FileCommands& files = *m.fileCommands();
    QFileDialog* open = files.openDialog();
    QCOMPARE(open->nameFilters(),
             QStringList({QStringLiteral("Data Files (*.psm)"), QStringLiteral("All files (*)")}));
    QCOMPARE(open->defaultSuffix(), QStringLiteral("psm"));
    QCOMPARE(open->fileMode(), QFileDialog::ExistingFile);
    QFileDialog* save = files.saveDialog();
    QCOMPARE(save->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(save->defaultSuffix(), QStringLiteral("psm"));
    QVERIFY(!save->testOption(QFileDialog::DontConfirmOverwrite));

    // File > Open through its dialog: Flow opens with the file's run.
    ChooseInDialog(&m, Golden("flow_sine_gain_changes.psm"));
    Item(m, "mnuFileOpen")->trigger();
    QVERIFY(p.waitFor([&] { return p.state->run.sampleCount == 900; }));
    QCOMPARE(p.state->shell.currentForm, std::string("frmFlow"));
    QCOMPARE(m.graphWindow()->windowTitle(),
             QStringLiteral("Flow Trend - flow_sine_gain_changes.psm"));
    QVERIFY(Item(m, "mnuFileSave")->isEnabled());
    QVERIFY(Item(m, "mnuFilePrint")->isEnabled());
    QVERIFY(Item<QToolButton>(m, "btnSave")->isEnabled());
    QVERIFY(Item<QToolButton>(m, "btnPrint")->isEnabled());

    // A run not saved yet is offered under the exercise's word.
    files.forgetFile();
    QString offered;
    auto* poll = new QTimer(&m);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &offered] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            offered = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
            dialog->reject();
        }
    });
    poll->start(10);
    Item(m, "mnuFileSave")->trigger();
    QCOMPARE(offered, QStringLiteral("flow.psm"));

    // File > Save through its dialog: a name without extension gets ".psm".
    const QTemporaryDir dir;
    ChooseInDialog(&m, dir.filePath(QStringLiteral("mine")));
    Item(m, "mnuFileSave")->trigger();
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("mine.psm"))));
    QCOMPARE(m.graphWindow()->windowTitle(), QStringLiteral("Flow Trend - mine.psm"));

    // The toolbar's Print asks with the print dialog (answered at the first
    // turn of its event loop).
    QString shown;
    QTimer::singleShot(0, &m, [&shown] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = QLatin1String(dialog->metaObject()->className());
            dialog->reject();
        }
    });
    Item<QToolButton>(m, "btnPrint")->click();
    QCOMPARE(shown, QStringLiteral("QPrintDialog"));

    // The toolbar's open button acts only while File > Open is enabled. The
    // dialog would be modal: the click returns only once it is answered,
    // and the answer comes at the first turn of its event loop.
    bool asked = false;
    QTimer::singleShot(0, &m, [&asked] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            asked = true;
            dialog->reject();
        }
    });
    Item(m, "mnuFileOpen")->setEnabled(false);
    Item<QToolButton>(m, "btnOpenIt")->click();
    QCoreApplication::processEvents();
    QVERIFY(!asked);

    // File > New leaves nothing to save or print.
    Answer(&m, QMessageBox::Yes);
    m.mnuFileNewClick();
    QVERIFY(!Item(m, "mnuFileSave")->isEnabled());
    QVERIFY(!Item<QToolButton>(m, "btnPrint")->isEnabled());
}

void FileCommandsTest::openingSwitchesTheExercise()
{
    Program p;
    FileCommands& files = *p.main->fileCommands();
    QVERIFY(files.openFile(Golden("flow_sine_gain_changes.psm")).read);
    // Nothing was open: the load is immediate.
    QCOMPARE(p.state->run.sampleCount, 900);
    QCOMPARE(p.state->flow.flowGain, 2.5f);
    QCOMPARE(p.state->flow.flowIntegralTime, 0.3f);
    QVERIFY(!p.state->trend.trendNoData);
    QVERIFY(!p.main->graphWindow()->view().trendLive);
    // The Flow window shows the file's settings, as it draws them itself.
    auto* flowWindow = dynamic_cast<LoopWindow*>(p.main->exerciseWindow());
    QVERIFY(flowWindow != nullptr);
    const QImage settingsShown = flowWindow->imgPanel->image().copy();
    flowWindow->UpdateSettings();
    QCOMPARE(flowWindow->imgPanel->image(), settingsShown);

    // An Open loop file while Flow is open: Flow closes, Open loop opens
    // after the switch's wait and then takes the file.
    QString warning = QStringLiteral("not yet");
    QVERIFY(
        files.openFile(Golden("open_step_gate.psm"), [&](const QString& w) { warning = w; }).read);
    QVERIFY(p.main->switching());
    QVERIFY(p.waitFor([&] { return warning.isEmpty(); }));
    TfrmGraph* graph = p.main->graphWindow();
    QCOMPARE(p.main->exerciseWindow()->exercise(), Exercise::Open);
    QCOMPARE(p.state->run.sampleCount, 1200);
    QCOMPARE(p.state->run.gateValvePercent, 50);
    // The gate valve's box shows the file's 50 %, as the window draws it.
    const QImage gateShown = graph->panel().copy(380, 429, 50, 40);
    graph->DrawGate();
    QCOMPARE(graph->panel().copy(380, 429, 50, 40), gateShown);
    QCOMPARE(graph->windowTitle(), QStringLiteral("Open Loop Trend - open_step_gate.psm"));
    QCOMPARE(velmor::test::Edit(*graph, "txtStartTime")->text(), QStringLiteral("0"));
    QCOMPARE(velmor::test::Edit(*graph, "txtTrendBase")->text(), QStringLiteral("60"));
    QCOMPARE(graph->panel().pixelColor(398 + 13 + 2, 37), QColor(208, 208, 208)); // knob at 13
    QVERIFY(Item(*p.main, "mnuFileSave")->isEnabled());

    // A Temperature file: span 120, knob at 34.
    QVERIFY(files.openFile(Golden("temperature_pid_with_d.psm")).read);
    QVERIFY(p.waitFor([&] {
        return p.main->exerciseWindow() != nullptr &&
               p.main->exerciseWindow()->exercise() == Exercise::Temperature &&
               p.state->run.sampleCount == 3000;
    }));
    graph = p.main->graphWindow();
    QCOMPARE(velmor::test::Edit(*graph, "txtTrendBase")->text(), QStringLiteral("120"));
    QCOMPARE(graph->panel().pixelColor(398 + 34 + 2, 37), QColor(208, 208, 208));

    // More than 6000 data lines: the first 6000 load, with a warning.
    const QTemporaryDir dir;
    QByteArray longFile = Bytes(Golden("flow_ramp_span120_full.psm"));
    longFile += "600.1,1,1,1,1,1,1\r\n600.2,1,1,1,1,1,1\r\n";
    const QString longPath = dir.filePath(QStringLiteral("long.psm"));
    WriteText(longPath, longFile);
    const auto text = AnswerWhenShown(p.main.get(), QMessageBox::Ok);
    files.openChosenFile(longPath);
    QVERIFY(p.waitFor([&] { return !text->isEmpty(); }));
    QCOMPARE(*text, QStringLiteral("2 data lines were left out: the log holds 6000 records."));
    QCOMPARE(p.state->run.sampleCount, 6000);
}

void FileCommandsTest::refusedFilesChangeNothing()
{
    Program p;
    FileCommands& files = *p.main->fileCommands();
    QVERIFY(files.openFile(Golden("flow_sine_gain_changes.psm")).read);
    const Snapshot before(p);
    const QTemporaryDir dir;

    // A Temperature file with a bad number on line 57: no switch at all.
    QList<QByteArray> lines = Bytes(Golden("temperature_pid_with_d.psm")).split('\n');
    lines[56] = "4.6,1.2.3,20,30,10,45,1,100\r";
    const QString bad = dir.filePath(QStringLiteral("bad.psm"));
    WriteText(bad, lines.join('\n'));
    auto text = Answer(p.main.get(), QMessageBox::Ok);
    files.openChosenFile(bad);
    QCOMPARE(*text, QStringLiteral("Line 57: '1.2.3' is not a valid floating point value"));
    QVERIFY(!p.main->switching());
    QVERIFY(Snapshot(p) == before);

    // Not a simulation file, and a file naming the mimic.
    for (const QByteArray& first :
         {QByteArray("Some notes\r\n1,2\r\n"), QByteArray("Manual Simulation\r\nTime\r\n0\r\n")}) {
        const QString other = dir.filePath(QStringLiteral("other.psm"));
        WriteText(other, first);
        text = Answer(p.main.get(), QMessageBox::Ok);
        files.openChosenFile(other);
        QCOMPARE(*text, QStringLiteral("VELMOR does not load KLN trends"));
        QVERIFY(Snapshot(p) == before);
    }

    // A missing file: no message, nothing changes.
    text = Answer(p.main.get(), QMessageBox::Ok);
    files.openChosenFile(dir.filePath(QStringLiteral("missing.psm")));
    QVERIFY(text->isEmpty());
    QVERIFY(Snapshot(p) == before);
}

void FileCommandsTest::saveAndOpenGiveBackTheRunForEveryExercise()
{
    const QTemporaryDir dir;
    for (const char* name :
         {"flow_sine_gain_changes.psm", "level_ramp_integral_change.psm", "open_step_gate.psm",
          "temperature_pid_with_d.psm", "batch_changes.psm"}) {
        Program first;
        QVERIFY(first.main->fileCommands()->openFile(Golden(name)).read);
        const std::vector<SampleRecord> records = Logged(*first.state);
        const QImage picture = first.main->graphWindow()->panel().copy();
        const QString saved = dir.filePath(QStringLiteral("saved.psm"));
        QCOMPARE(first.main->fileCommands()->saveFile(saved), QString());

        Program second;
        QVERIFY(second.main->fileCommands()->openFile(saved).read);
        QVERIFY2(Logged(*second.state) == records, name);
        QVERIFY2(second.main->graphWindow()->panel() == picture, name);
        // Saved again, the file is the same to the byte: settings included.
        const QString again = dir.filePath(QStringLiteral("again.psm"));
        QCOMPARE(second.main->fileCommands()->saveFile(again), QString());
        QVERIFY2(Bytes(again) == Bytes(saved), name);
    }
}

void FileCommandsTest::openedFilesSaveBackUnchanged()
{
    // Every file, opened in a program just started and saved again, is the
    // same to the byte: its settings lines too, not what the window held
    // before. The same after a run of that exercise made in the window.
    const QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("saved.psm"));
    const QDir golden(QStringLiteral(VELMOR_TEST_DATA "/golden"));
    const QStringList names = golden.entryList({QStringLiteral("*.psm")}, QDir::Files);
    QCOMPARE(names.size(), 12);
    for (const QString& name : names) {
        const QByteArray original = Bytes(golden.filePath(name));
        Exercise exercise = Exercise::Flow;
        {
            Program fresh;
            QVERIFY(fresh.main->fileCommands()->openFile(golden.filePath(name)).read);
            exercise = fresh.main->exerciseWindow()->exercise();
            QCOMPARE(fresh.main->fileCommands()->saveFile(saved), QString());
            QVERIFY2(Bytes(saved) == original, qPrintable(name));
        }
        Program p;
        LoopWindow* window = ChooseExercise(*p.main, exercise);
        QVERIFY(window != nullptr && RunInWindow(*p.state, window, 30));
        QCOMPARE(p.state->run.sampleCount, 30);
        QVERIFY(p.main->fileCommands()->openFile(golden.filePath(name)).read);
        QCOMPARE(p.main->fileCommands()->saveFile(saved), QString());
        QVERIFY2(Bytes(saved) == original, qPrintable(name + QStringLiteral(" after a run")));
    }
}

void FileCommandsTest::failedSaveKeepsTheOldFile()
{
    Program p;
    FileCommands& files = *p.main->fileCommands();
    QVERIFY(files.openFile(Golden("flow_sine_gain_changes.psm")).read);
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.psm"));
    QCOMPARE(files.saveFile(path), QString());
    const QByteArray old = Bytes(path);
    QVERIFY(old.size() > 20000);

    // The disk fills up half way through the new file.
    p.state->log.record(1).field(kFieldFlowSP) = 1.75f;
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const QString failure = files.saveFile(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    QVERIFY2(failure.startsWith(QStringLiteral("The run was not saved in run.psm: ")),
             qPrintable(failure));
    QVERIFY(failure.endsWith(
        QStringLiteral("The disk is full: free some space or choose another disk.")));
    QCOMPARE(Bytes(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("run.psm")});

    // A folder that is not there.
    const QString nowhere = files.saveFile(dir.filePath(QStringLiteral("no/such/run.psm")));
    QVERIFY2(nowhere.contains(QStringLiteral("No such file or directory")), qPrintable(nowhere));
}

void FileCommandsTest::reportIsOnePageWithTheSettings()
{
    Program p;
    FileCommands& files = *p.main->fileCommands();
    QVERIFY(files.openFile(Golden("flow_sine_gain_changes.psm")).read);
    const QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    QCOMPARE(files.writeReportPdf(pdf), QString());
    const QByteArray bytes = Bytes(pdf);
    QVERIFY(bytes.startsWith("%PDF-"));
    QCOMPARE(bytes.count("/Type /Page\n"), 1);
    QVERIFY(bytes.contains("/Count 1\n"));
    // The document's title names the exercise (UTF-16 in the file).
    QString title = QStringLiteral("Lab report: Flow");
    QByteArray utf16("\xfe\xff", 2);
    for (QChar c : title) {
        utf16 += char(c.unicode() >> 8);
        utf16 += char(c.unicode() & 0xff);
    }
    QVERIFY(bytes.contains(utf16));

    ReportSource source{*p.state,
                        Exercise::Flow,
                        QStringLiteral("flow_sine_gain_changes.psm"),
                        DefaultTraces(Exercise::Flow),
                        ReportRange::WholeRun,
                        QDateTime(QDate(2026, 3, 2), QTime(14, 5))};
    ReportContent c = BuildReport(source);
    QCOMPARE(c.title, title);
    // Every exercise's report names it as its pop-up menu item does.
    for (const Exercise e : Exercises()) {
        ReportSource other = source;
        other.exercise = e;
        QCOMPARE(BuildReport(other).title,
                 QStringLiteral("Lab report: ") +
                     QString::fromLatin1(ExerciseEntryFor(e)->popCaption));
    }
    QCOMPARE(c.subtitle, QStringList({QStringLiteral("File: flow_sine_gain_changes.psm"),
                                      QStringLiteral("Printed: Monday, 2 March 2026, 14:05")}));
    QCOMPARE(c.rangeText, QStringLiteral("Whole run: 0 to 90 s, 900 samples"));
    QCOMPARE(c.tableHeader, QStringList({QStringLiteral("From (s)"), QStringLiteral("Flow PG"),
                                         QStringLiteral("Flow PB"), QStringLiteral("Flow I"),
                                         QStringLiteral("Flow D")}));
    const std::vector<QStringList> rows = {{"0", "1", "100", "0.8", "0"},
                                           {"20.1", "2.5", "40", "0.8", "0"},
                                           {"40.1", "2.5", "40", "0.3", "0"}};
    QCOMPARE(c.table, rows);
    QCOMPARE(c.waveform, QStringLiteral("Set-point waveform: Sine (A 1.6, B 0.4, C 30); gate valve "
                                        "100 %"));
    QCOMPARE(c.finalHeading, QStringLiteral("Values at 90 s (record 900)"));
    QCOMPARE(c.finalValues.size(), std::size_t{3});
    QCOMPARE(c.finalValues[0].first, QStringLiteral("Flow Set Point"));

    // The view on screen: 20 to 40 s, from record 201.
    source.viewStart = 20;
    p.state->trend.trendSpan = 20;
    source.range = ReportRange::ShownView;
    c = BuildReport(source);
    QCOMPARE(c.rangeText, QStringLiteral("Shown view: 20 to 40 s, 201 samples"));
    // Segment 1 at its first record in view, segment 2 from 20.1 s; the
    // third starts at 40.1 s, past the view.
    QCOMPARE(c.table.size(), std::size_t{2});
    QCOMPARE(c.table[0].constFirst(), QStringLiteral("20"));
    QCOMPARE(c.table[1].constFirst(), QStringLiteral("20.1"));

    // In Spanish.
    const LanguageScope inSpanish(p.state->shell, Language::Spanish);
    c = BuildReport(source);
    QCOMPARE(c.title, QString::fromUtf8("Informe de prácticas: Flujo"));
    QCOMPARE(c.tableHeader.at(1), QStringLiteral("Kp Flujo"));
}

void FileCommandsTest::readOutAndArrowsThroughTheMainWindow()
{
    Program p;
    QVERIFY(p.main->fileCommands()->openFile(Golden("flow_sine_gain_changes.psm")).read);
    TfrmGraph* graph = p.main->graphWindow();
    // Resting on the plot: after the main window's 500 ms the read-out.
    graph->imgPanelMouseMove(Qt::NoButton, 100, 150);
    QVERIFY(graph->findChild<QTimer*>(QStringLiteral("readoutTimer"))->isActive());
    QVERIFY(p.waitFor([&] { return velmor::test::Label(*graph, "txtFloat")->isVisible(); }));
    QVERIFY(velmor::test::Label(*graph, "txtFloat")->text().contains(QStringLiteral("\nValue: ")));

    // An arrow left lit is put back when the mouse moves over the frame.
    graph->imgPanelMouseMove(Qt::NoButton, 125, 35);
    QCOMPARE(graph->view().litArrow, 5);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(p.main->mdiArea()->viewport(), &move);
    QCOMPARE(graph->view().litArrow, 0);
    QCOMPARE(graph->panel().pixelColor(Across(5) + 2, 29), QColor(192, 192, 192));
}

void FileCommandsTest::comparingWithASavedRun()
{
    Program p;
    QVERIFY(p.main->fileCommands()->openFile(Golden("flow_sine_gain_changes.psm")).read);
    const std::vector<SampleRecord> records = Logged(*p.state);
    const float gain = p.state->flow.flowGain;
    AnalysisMenu& analysis = *p.main->analysisMenu();
    QCOMPARE(analysis.compareWith(Golden("flow_derivative_gate.psm")), QString());
    TfrmGraph* graph = p.main->graphWindow();
    QVERIFY(graph->hasComparison());
    QVERIFY(Logged(*p.state) == records);
    QCOMPARE(p.state->flow.flowGain, gain);
    emit analysis.mnuAnalysis->aboutToShow();
    QVERIFY(analysis.mnuAnalysisClearCompare->isEnabled());
    // The item names the saved run being shown.
    QCOMPARE(analysis.mnuAnalysisClearCompare->text(),
             QStringLiteral("C&lear comparison with flow_derivative_gate.psm"));

    // Another exercise's run is refused.
    QCOMPARE(analysis.compareWith(Golden("batch_changes.psm")),
             QStringLiteral("The saved run is of another exercise: only a run of the open "
                            "exercise can be compared."));
    analysis.mnuAnalysisClearCompareClick();
    QVERIFY(!graph->hasComparison());
    emit analysis.mnuAnalysis->aboutToShow();
    QCOMPARE(analysis.mnuAnalysisClearCompare->text(), QStringLiteral("C&lear comparison"));
    QVERIFY(!analysis.mnuAnalysisClearCompare->isEnabled());

    // Closing the exercise takes the comparison with it.
    QCOMPARE(analysis.compareWith(Golden("flow_derivative_gate.psm")), QString());
    Item(*p.main, "mnuControlFluidLevel")->trigger();
    QVERIFY(p.waitFor([&] {
        return p.main->exerciseWindow() != nullptr &&
               p.main->exerciseWindow()->exercise() == Exercise::Level;
    }));
    QVERIFY(!p.main->graphWindow()->hasComparison());
}

void FileCommandsTest::noCompletionListOutlivesTheDialog()
{
    // A file's name typed into File > Open brings up the name box's
    // completion list; Enter in the list accepts the dialog, which opens
    // the file.
    Program p;
    TfrmMain& m = *p.main;
    const QString name = Golden("flow_sine_gain_changes.psm");
    bool listShown = false;
    QPointer<QFileDialog> typedInto;
    int ticks = 0;
    auto* poll = new QTimer(&m);
    QObject::connect(poll, &QTimer::timeout, poll, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!box->hasFocus()) {
            // Typed as a user types: into the box with the focus.
            dialog->activateWindow();
            box->setFocus();
            return;
        }
        if (typedInto != dialog) {
            typedInto = dialog;
            QTest::keyClicks(box, name);
            return;
        }
        if (QWidget* list = QApplication::activePopupWidget()) {
            listShown = true;
            poll->stop();
            QTest::keyClick(list, Qt::Key_Return);
            return;
        }
        // The list comes up at a key typed once the folder has been read,
        // as it does for a user typing on.
        if (++ticks % 20 == 0) {
            QTest::keyClick(box, Qt::Key_Backspace);
            QTest::keyClicks(box, name.right(1));
        }
    });
    poll->start(10);
    QTimer::singleShot(10000, &m, [poll] {
        if (poll->isActive()) {
            poll->stop();
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                dialog->reject();
            }
        }
    });
    m.FileOpen();
    QVERIFY(listShown);
    QCOMPARE(p.state->run.sampleCount, 900);
    QVERIFY(typedInto != nullptr && !typedInto->isVisible());
    QApplication::processEvents();
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        QVERIFY2(!(window->isVisible() && window->windowType() == Qt::Popup),
                 window->metaObject()->className());
    }
}

int FileCommandsTestMain(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    FileCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

VELMOR_TEST_MAIN_FUNCTION(FileCommandsTest, shell, FileCommandsTestMain)

#include "FileCommandsTest.moc"
