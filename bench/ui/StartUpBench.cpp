// Start-up: from creating the program (preferences read, the frame and the
// windows that live as long as it built) to its main window shown, on an
// installed store without the easy menu. The median is the figure to keep
// under 300 ms.
#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmMain.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <benchmark/benchmark.h>

#include <memory>

using namespace velmor;

namespace {

void StartUpToMainWindowShown(benchmark::State& bs)
{
    QTemporaryDir dir;
    const QString storeFile = dir.filePath(QStringLiteral("velmor.ini"));
    {
        QSettings store(storeFile, QSettings::IniFormat);
        store.setValue(QStringLiteral("Setup/Installed"), QStringLiteral("YES"));
        store.setValue(QStringLiteral("Setup/Maximised"), QStringLiteral("False"));
        store.setValue(QStringLiteral("Setup/Show Easy Menus"), QStringLiteral("False"));
    }
    for (auto _ : bs) {
        Preferences preferences(storeFile);
        auto state = std::make_unique<VelmorState>();
        std::unique_ptr<TfrmMain> main = CreateProgram(*state, preferences);
        main->show();
        if (!QTest::qWaitForWindowExposed(main.get())) {
            bs.SkipWithError("the main window was not shown");
        }
        bs.PauseTiming();
        main.reset();
        bs.ResumeTiming();
    }
}

} // namespace

BENCHMARK(StartUpToMainWindowShown)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
