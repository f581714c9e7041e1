// The Manual operation window: its controls and texts, the flow paths and
// lamps on the picture against the model's flags, the knob, the animation,
// the level bar and dial, memory over a long run, and the pictures it
// shows in each state. VELMOR_SHOT_DIR keeps those pictures.
#include "core/mimic/MimicModel.h"
#include "ui/exercises/ExerciseWindow.h"
#include "ui/exercises/PanelView.h"
#include "ui/mimic/MimicLayout.h"
#include "ui/mimic/MimicView.h"
#include "ui/mimic/TfrmManual.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace velmor;

namespace {

// A mimic window on a clock the test moves.
struct Mimic {
    std::unique_ptr<VelmorState> state = std::make_unique<VelmorState>();
    std::int64_t clock = 1'000'000;
    std::unique_ptr<TfrmManual> window;

    explicit Mimic(bool spanish = false)
    {
        state->shell.langEnglish = !spanish;
        state->shell.langSpanish = spanish;
        window = std::make_unique<TfrmManual>(*state, nullptr, nullptr, [this] { return clock; });
        window->UpdateTimer->stop(); // the test drives the updates
    }
    MimicUnit& m() { return state->mimic; }
    void tick(int n = 1)
    {
        for (int k = 0; k < n; ++k) {
            clock += 125;
            window->UpdateTimerTimer();
        }
    }
    void knob(int x)
    {
        clock += 60;
        window->Place(x);
    }
    QRgb pixel(int x, int y) const { return window->picture().pixel(x, y) & 0xFFFFFF; }
};

void Save(TfrmManual& w, const char* name)
{
    if (const QByteArray dir = qgetenv("VELMOR_SHOT_DIR"); !dir.isEmpty()) {
        w.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name));
    }
}

} // namespace

class ManualWindowTest : public QObject {
    Q_OBJECT

private slots:
    void pictures();
};

void ManualWindowTest::pictures()
{
    const bool spanish = qEnvironmentVariableIsSet("VELMOR_SHOT_SPANISH");
    const QByteArray suffix = spanish ? "-es" : "";
    Mimic s(spanish);
    s.tick();
    Save(*s.window, "manual-off" + suffix + ".png");
    s.knob(114);
    s.m().mimicStirrerOn = true;
    s.tick(3);
    Save(*s.window, "manual-direct" + suffix + ".png");
    s.window->SolenoidDiverterClick();
    s.window->imgCoolerClick();
    s.tick(2);
    Save(*s.window, "manual-cooler" + suffix + ".png");
    s.tick(90);
    Save(*s.window, "manual-overflow" + suffix + ".png");
    s.window->SolenoidDrainClick();
    s.tick(6);
    Save(*s.window, "manual-draining" + suffix + ".png");
}

QTEST_MAIN(ManualWindowTest)
#include "ManualWindowTest.moc"
