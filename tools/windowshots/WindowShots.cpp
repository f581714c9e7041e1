// velmor-windowshots: pictures of every window, in English and in Spanish,
// for comparing the program before and after a change. The same steps give
// the same pixels: each run goes cycle after cycle without pacing and stops
// at a fixed record, whatever the machine's speed; the run history holds
// fixed runs (in TMPDIR/velmor-windowshots-runs, so run one at a time) and
// keeps no new ones; the text cursor does not blink.
//
//     QT_QPA_PLATFORM=offscreen build/tools/windowshots/velmor-windowshots OUT
//
// writes OUT/en/*.png and OUT/es/*.png, one picture per window on screen
// after each step ("05-flow-TfrmGraph.png") and one of the whole frame. It
// drives the program as a user does, through the menus in their order and
// the windows' own buttons, so that it keeps working while the code behind
// them changes.
#include "common/PictureProgram.h"
#include "common/WindowTour.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace velmor;
using namespace velmor::tools;

namespace {

// Runs the history window lists, copied from the golden runs.
constexpr const char* kKeptRuns[][2] = {
    {"flow_sine_gain_changes.psm", "2024-03-05_10-15-00_flow.psm"},
    {"temperature_pid_with_d.psm", "2024-03-05_10-40-12_temperature.psm"},
    {"open_step_gate.psm", "2024-03-06_09-02-45_open.psm"},
};

bool Shoot(bool spanish, const QString& folder)
{
    // The history's folder is on screen (preferences, history window): the
    // same one at every run.
    const QString history = QDir::tempPath() + QStringLiteral("/velmor-windowshots-runs");
    QDir(history).removeRecursively();
    QDir().mkpath(history);
    for (const auto& [golden, kept] : kKeptRuns) {
        QFile::copy(QStringLiteral(VELMOR_GOLDEN_DIR "/") + QLatin1String(golden),
                    history + QLatin1Char('/') + QLatin1String(kept));
    }
    QDir().mkpath(folder);

    PictureProgram program(history, false);
    int step = 0;
    bool saved = true;
    const bool ok =
        Tour(*program.main, program.state, spanish, QStringLiteral(VELMOR_GOLDEN_DIR),
             QStringLiteral(VELMOR_SHEETS_DIR), [&](const QString& name) {
                 ++step;
                 const QString prefix = QStringLiteral("%1/%2-%3-")
                                            .arg(folder)
                                            .arg(step, 2, 10, QLatin1Char('0'))
                                            .arg(name);
                 for (const auto& [window, picture] : WindowPictures(*program.main)) {
                     if (!picture.save(prefix + window + QStringLiteral(".png"), "PNG")) {
                         std::fprintf(stderr, "cannot write %s%s.png\n", qPrintable(prefix),
                                      qPrintable(window));
                         saved = false;
                     }
                 }
             });
    return ok && saved;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmor-windowshots OUT-FOLDER\n");
        return 2;
    }
    // A blinking text cursor would make two shots of one window differ.
    QApplication::setCursorFlashTime(0);
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool english = Shoot(false, out + QStringLiteral("/en"));
    const bool spanish = Shoot(true, out + QStringLiteral("/es"));
    return english && spanish ? 0 : 1;
}
