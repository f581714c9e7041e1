// Keeping and browsing a run in the real main window: File > Open of a
// 6000-line Batch file until the Trends window has been drawn, and one
// step of dragging the cursor line (the line, the bars and the settings
// box of the record under it).
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/SimFileWriter.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmMain.h"
#include "ui/trends/TfrmGraph.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace velmor;

namespace {

// A Batch run of 600 s (6000 records) with settings changed on the way,
// saved as File > Save saves it.
QString BatchFile(const QTemporaryDir& dir)
{
    auto s = std::make_unique<VelmorState>();
    OpenExerciseState(*s, Exercise::Batch, true);
    if (!ApplySetting(*s, Exercise::Batch, "expectedTime", "600").empty()) {
        return {};
    }
    std::unique_ptr<LoopEngine> engine = MakeEngine(Exercise::Batch, *s, nullptr);
    RunHeadless(*engine, [&s] {
        if (s->run.sampleCount % 1000 == 0) {
            ApplySetting(*s, Exercise::Batch, "volGain",
                         s->run.sampleCount % 2000 == 0 ? "1" : "2");
        }
    });
    SendSettings(*s, Exercise::Batch);
    const QString path = dir.filePath(QStringLiteral("batch6000.psm"));
    if (!SaveSimulationFile(path.toStdString(), Exercise::Batch, s->simSettings,
                            s->run.gateValvePercent, s->log, s->run.sampleCount)
             .ok()) {
        return {};
    }
    return path;
}

struct Shell {
    Shell() : preferences(dir.filePath(QStringLiteral("velmor.ini")))
    {
        main = CreateProgram(state, preferences);
        main->show();
        file = BatchFile(dir);
    }
    QTemporaryDir dir;
    VelmorState state;
    Preferences preferences;
    std::unique_ptr<TfrmMain> main;
    QString file;
};

void BM_FileOpenBatch6000(benchmark::State& bs)
{
    Shell shell;
    FileCommands& files = *shell.main->fileCommands();
    // The first open creates the windows; the timed ones load into them.
    if (!files.openFile(shell.file).read || shell.state.run.sampleCount != 6000) {
        bs.SkipWithError("the file did not open");
        return;
    }
    for (auto _ : bs) {
        files.openFile(shell.file);
        shell.main->graphWindow()->repaint();
    }
    if (shell.state.run.sampleCount != 6000) {
        bs.SkipWithError("the file did not load");
    }
}
BENCHMARK(BM_FileOpenBatch6000)->Unit(benchmark::kMillisecond);

// The Trends window with the file open, or none (and the benchmark skipped).
TfrmGraph* Opened(Shell& shell, benchmark::State& bs)
{
    if (!shell.main->fileCommands()->openFile(shell.file).read) {
        bs.SkipWithError("the file did not open");
        return nullptr;
    }
    return shell.main->graphWindow();
}

void BM_CursorLineStep(benchmark::State& bs)
{
    Shell shell;
    TfrmGraph* graph = Opened(shell, bs);
    if (graph == nullptr) {
        return;
    }
    int x = 38;
    for (auto _ : bs) {
        // A drag across the whole plot, one column per step; each step
        // crosses into another settings segment now and then.
        graph->imgPanelMouseMove(Qt::LeftButton, x, 200);
        x = x == 488 ? 38 : x + 1;
    }
    if (!graph->view().cursorShown) {
        bs.SkipWithError("no cursor line");
    }
}
BENCHMARK(BM_CursorLineStep)->Unit(benchmark::kMicrosecond);

// The same step when every column is in a new segment: PIDUpdate each time.
void BM_CursorLineStepWithSettingsBox(benchmark::State& bs)
{
    Shell shell;
    TfrmGraph* graph = Opened(shell, bs);
    if (graph == nullptr) {
        return;
    }
    int x = 38;
    for (auto _ : bs) {
        graph->view().trendSegmentShown = -1; // the box is always out of date
        graph->LineAt(x);
        x = x == 488 ? 38 : x + 1;
    }
}
BENCHMARK(BM_CursorLineStepWithSettingsBox)->Unit(benchmark::kMicrosecond);

} // namespace
