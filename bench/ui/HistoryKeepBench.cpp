// What keeping a run in the run history costs the user-interface thread, for
// a full 6000-record Flow run: the copy (settings and records) and the
// hand-over to the history's worker; and, in the real program with 200 runs
// kept and the Run History window open, that plus taking the worker's answer
// (the list, the window's table, the caption's note). Formatting and writing
// happen on the worker; each iteration waits for it outside the timing. The
// budget is 5 ms per run.
#include "core/exercises/LoopEngine.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/RunHistory.h"
#include "ui/shell/RunHistoryWindow.h"
#include "ui/shell/TfrmMain.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace velmor;

namespace {

// A full Flow run in the log of `state`.
bool FullRun(VelmorState& state)
{
    std::unique_ptr<LoopEngine> engine = MakeEngine(Exercise::Flow, state, nullptr);
    RunHeadless(*engine, [] {});
    return state.run.sampleCount == kLogRecords;
}

void KeepFullRun(benchmark::State& bs)
{
    auto state = std::make_unique<VelmorState>();
    if (!FullRun(*state)) {
        bs.SkipWithError("the run did not fill the log");
        return;
    }
    const QTemporaryDir folder;
    RunHistory history(folder.filePath(QStringLiteral("runs")));
    history.waitForWrites();
    for (auto _ : bs) {
        history.keep(TakeRunCopy(*state, Exercise::Flow));
        bs.PauseTiming();
        history.waitForWrites();
        bs.ResumeTiming();
    }
}

void KeepFullRunWithTheHistoryOpen(benchmark::State& bs)
{
    const QTemporaryDir data;
    const QString runs = data.filePath(QStringLiteral("runs"));
    QDir().mkpath(runs);
    // 200 runs kept already, a minute apart, a day ago.
    auto made = std::make_unique<VelmorState>();
    FullRun(*made);
    RunHistory maker(data.filePath(QStringLiteral("scratch")));
    maker.keep(TakeRunCopy(*made, Exercise::Flow));
    maker.waitForWrites();
    const QStringList written = QDir(maker.folder()).entryList(QDir::Files);
    if (written.size() != 1) {
        bs.SkipWithError("the sample run was not written");
        return;
    }
    const QString sample = maker.pathOf(written.constFirst());
    const QDateTime start = QDateTime::currentDateTime().addDays(-1);
    for (int k = 0; k < 200; ++k) {
        QFile::copy(sample, QDir(runs).filePath(start.addSecs(60 * k).toString(
                                                    QStringLiteral("yyyy-MM-dd_HH-mm-ss")) +
                                                QStringLiteral("_flow.psm")));
    }

    Preferences preferences(data.filePath(QStringLiteral("velmor.ini")));
    auto state = std::make_unique<VelmorState>();
    std::unique_ptr<TfrmMain> main = CreateProgram(*state, preferences, {.historyFolder = runs});
    main->show();
    RunHistory& history = *main->runHistory();
    while (history.reading()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    main->mnuFileHistoryClick();
    if (!FullRun(*state) || history.runs().size() != 200) {
        bs.SkipWithError("no full run, or not 200 runs kept");
        return;
    }
    for (auto _ : bs) {
        history.keep(TakeRunCopy(*state, Exercise::Flow));
        bs.PauseTiming();
        history.waitForWrites();
        bs.ResumeTiming();
        // The worker's answer: the list, the window's table, the note.
        QCoreApplication::processEvents();
    }
    bs.counters["rows"] = static_cast<double>(history.runs().size());
}

} // namespace

BENCHMARK(KeepFullRun)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(KeepFullRunWithTheHistoryOpen)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
