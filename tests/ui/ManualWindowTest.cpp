// The Manual operation window: its controls and texts, the flow paths and
// lamps on the picture against the model's flags, the knob, the animation,
// the level bar and dial, and memory over a long run.
#include "LanguageScope.h"
#include "core/mimic/MimicModel.h"
#include "ui/common/PanelView.h"
#include "ui/exercises/ExerciseWindow.h"
#include "ui/mimic/MimicLayout.h"
#include "ui/mimic/MimicView.h"
#include "ui/mimic/TfrmManual.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <optional>

#include <memory>
#include <vector>

#include "HeapUse.h"
#include "Sanitizer.h"

using namespace velmor;

namespace {

// A mimic window on a clock the test moves.
struct Mimic {
    std::unique_ptr<VelmorState> state = std::make_unique<VelmorState>();
    std::int64_t clock = 1'000'000;
    std::optional<LanguageScope> inSpanish; // outlives the window
    std::unique_ptr<TfrmManual> window;

    explicit Mimic(bool spanish = false)
    {
        if (spanish) {
            inSpanish.emplace(state->shell, Language::Spanish);
        }
        window = std::make_unique<TfrmManual>(*state, nullptr, [this] { return clock; });
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

// Pixels of the picture that stand for one path: the centre and the four
// inner corners of each rectangle.
std::vector<QPoint> PathPoints(int path)
{
    std::vector<QPoint> points;
    for (const QRect& r : mimic::kFlowPaths[static_cast<std::size_t>(path)]) {
        points.push_back(r.center());
        points.push_back(r.topLeft());
        points.push_back(r.bottomRight());
        points.push_back(r.topRight());
        points.push_back(r.bottomLeft());
    }
    return points;
}

// Every path shown by the model is blue on the picture, and no hidden one
// is blue anywhere a rectangle of its own lies alone.
void CheckPaths(const Mimic& s, const char* when)
{
    for (int path = 0; path < 6; ++path) {
        const bool shown = MimicPathShown(s.state->mimic, static_cast<MimicPath>(1u << path));
        for (const QPoint& at : PathPoints(path)) {
            bool sharedWithShown = false;
            for (int other = 0; other < 6; ++other) {
                if (other != path &&
                    MimicPathShown(s.state->mimic, static_cast<MimicPath>(1u << other))) {
                    for (const QRect& r : mimic::kFlowPaths[static_cast<std::size_t>(other)]) {
                        sharedWithShown = sharedWithShown || r.contains(at);
                    }
                }
            }
            if (shown) {
                QVERIFY2(s.pixel(at.x(), at.y()) == 0x0000FF,
                         qPrintable(QStringLiteral("%1: path %2 not blue at %3,%4")
                                        .arg(QLatin1String(when))
                                        .arg(path)
                                        .arg(at.x())
                                        .arg(at.y())));
            } else if (!sharedWithShown) {
                QVERIFY2(s.pixel(at.x(), at.y()) != 0x0000FF,
                         qPrintable(QStringLiteral("%1: hidden path %2 blue at %3,%4")
                                        .arg(QLatin1String(when))
                                        .arg(path)
                                        .arg(at.x())
                                        .arg(at.y())));
            }
        }
    }
}

} // namespace

class ManualWindowTest : public QObject {
    Q_OBJECT

private slots:
    void layoutAndTexts();
    void spanishTexts();
    void readouts();
    void pathsOnThePicture();
    void lampsAndValves();
    void knobByMouse();
    void animation();
    void levelBarAndDial();
    void closeAndMenu();
    void memoryStaysFlat();
};

void ManualWindowTest::layoutAndTexts()
{
    Mimic s;
    TfrmManual& w = *s.window;
    QCOMPARE(w.size(), QSize(755, 501));
    QCOMPARE(w.picture().size(), QSize(755, 501));
    QCOMPARE(w.imgScroll->geometry().size(), QSize(139, 31));
    QCOMPARE(w.SolenoidDrain->size(), QSize(40, 48));
    QCOMPARE(w.SolenoidDiverter->size(), QSize(42, 46));
    QCOMPARE(w.Fan->size(), QSize(91, 91));
    QCOMPARE(w.Stirrer->size(), QSize(56, 20));
    int rectangles = 0;
    for (const auto& group : mimic::kFlowPaths) {
        rectangles += static_cast<int>(group.size());
    }
    QCOMPARE(rectangles, 35);
    QCOMPARE(mimic::kFlowPaths[0].size(), std::size_t(11));
    QCOMPARE(mimic::kFlowPaths[4].size(), std::size_t(8));
    QCOMPARE(w.windowTitle(), QStringLiteral("KLN Trainer"));
    QCOMPARE(w.btnMenu->text(), QStringLiteral("MENU"));
    QCOMPARE(w.lblPumpOutput->text(), QStringLiteral("Pump Output"));
    QCOMPARE(w.lblProcessTemp->text(), QStringLiteral("PROCESS  TANK TEMPERATURE"));
    QCOMPARE(w.lblFlowRate->text(), QStringLiteral("FLOW  RATE LITRES / MIN"));
    QCOMPARE(w.lblFlowDiverted->text(), QStringLiteral("FLOW   DIVERTED"));
    // The layout's sump caption stands until a language is set.
    QCOMPARE(w.lblSumpTemperature->text(), QStringLiteral("SUMP  TANK TEMPERATURE"));
    w.SetLanguage();
    QCOMPARE(w.lblSumpTemperature->text(), QStringLiteral("SUMP TEMPERATURE"));
    QCOMPARE(w.SolenoidDrain->toolTip(),
             QStringLiteral("Click here to Open/Close the Drain Valve."));
    QCOMPARE(w.Fan->toolTip(), QStringLiteral("Click here to Start/Stop the Cooler."));
    QCOMPARE(w.imgStirrer->toolTip(), QStringLiteral("Click here to Start/Stop the Stirrer."));
    QCOMPARE(w.imgScroll->toolTip(),
             QStringLiteral("Click and drag the slider to adjust the Motor Output."));
    QCOMPARE(w.UpdateTimer->interval(), 125);
    // Nothing flows, no lamp is lit, and no bar is drawn before the first update.
    QCOMPARE(s.pixel(207, 283), QRgb(0xFAEEBE));
    QVERIFY(!w.imgCoolLight.isVisible() && !w.imgDrainLight.isVisible());
    CheckPaths(s, "at creation");
}

void ManualWindowTest::spanishTexts()
{
    Mimic s(true);
    TfrmManual& w = *s.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Entrenador NLK"));
    QCOMPARE(w.btnMenu->text(), QStringLiteral("MENU"));
    QCOMPARE(w.lblPumpOutput->text(), QStringLiteral("Salida de la Bomba"));
    QCOMPARE(w.lblTankFull->text(), QStringLiteral("INDICADOR TANQUE  LLENO"));
    QCOMPARE(w.lblProcessTemp->text(), QStringLiteral("TEMPERATURA TANQUE PROCESO"));
    QCOMPARE(w.lblHeatInput->text(), QStringLiteral("CALENTAMIENTO ENTRADA  (KW)"));
    QCOMPARE(w.lblManualHeat->text(), QStringLiteral("CALENTAMIENTO MANUAL"));
    QCOMPARE(w.lblDrainValve->text(), QString::fromUtf8("APERTURA V\u00c1LVULA VACIADO"));
    QCOMPARE(w.lblSumpTemperature->text(), QString::fromUtf8("TEMPERATURA DEP\u00d3SITO"));
    QCOMPARE(w.lblFlowTemperature->text(), QStringLiteral("TEMPERATURA FLUJO"));
    QCOMPARE(w.lblFlowRate->text(), QStringLiteral("RANGO FLUJO     L / MIN"));
    QCOMPARE(w.lblCoolerActivated->text(), QStringLiteral("ENFRIAMIENTO ACTIVADO"));
    QCOMPARE(w.lblFlowDiverted->text(), QString::fromUtf8("DESVIACI\u00d3N FLUJO"));
    QCOMPARE(
        w.SolenoidDiverter->toolTip(),
        QString::fromUtf8("Haga clic aqu\u00ed para abrir o cerrar la v\u00e1lvula desviadora."));
    // Back to English: the title plate is drawn again with the texts.
    const QImage spanishTitle = w.picture().copy(mimic::kTitle);
    UseLanguage(s.state->shell, Language::English);
    QCOMPARE(w.windowTitle(), QStringLiteral("KLN Trainer"));
    QCOMPARE(w.lblFlowRate->text(), QStringLiteral("FLOW  RATE LITRES / MIN"));
    QVERIFY(w.picture().copy(mimic::kTitle) != spanishTitle);
}

void ManualWindowTest::readouts()
{
    Mimic s;
    TfrmManual& w = *s.window;
    s.tick();
    QCOMPARE(w.FlowNum->text(), QStringLiteral("0.0"));
    QCOMPARE(w.TankNum->text(), QStringLiteral("20"));
    QCOMPARE(w.SumpNum->text(), QStringLiteral("20"));
    QCOMPARE(w.HeatNum->text(), QStringLiteral("0.0"));
    s.knob(114);
    s.tick();
    QCOMPARE(w.FlowNum->text(), QStringLiteral("1.7"));
    QCOMPARE(w.TempNum->text(), QStringLiteral("20"));
    w.SolenoidDiverterClick();
    w.imgCoolerClick();
    s.tick();
    QCOMPARE(w.TempNum->text(), QStringLiteral("19"));
    w.imgCoolerClick();
    s.tick();
    QCOMPARE(w.TempNum->text(), QStringLiteral("20"));
    s.knob(22);
    s.tick();
    QCOMPARE(w.FlowNum->text(), QStringLiteral("0.2"));
    QVERIFY(!s.m().mimicFlowing);
}

void ManualWindowTest::pathsOnThePicture()
{
    Mimic s;
    TfrmManual& w = *s.window;
    s.tick();
    CheckPaths(s, "pump off");
    s.knob(114);
    s.tick();
    QVERIFY(s.m().mimicFlowing && s.m().directPathShown);
    CheckPaths(s, "direct");
    // The water by the drawn pipes: the straight line from the diverter to
    // the tee, or the loop up through the cooler.
    const QPoint straight(640, 262);
    const QPoint coolerRiser(712, 120);
    QCOMPARE(s.pixel(straight.x(), straight.y()), QRgb(0x0000FF));
    QVERIFY(s.pixel(coolerRiser.x(), coolerRiser.y()) != 0x0000FF);
    w.SolenoidDiverterClick();
    s.tick();
    QVERIFY(s.m().coolerPathShown && !s.m().directPathShown);
    CheckPaths(s, "through the cooler");
    QVERIFY(s.pixel(straight.x(), straight.y()) != 0x0000FF);
    QCOMPARE(s.pixel(coolerRiser.x(), coolerRiser.y()), QRgb(0x0000FF));
    s.tick(90);
    QVERIFY(s.m().overflowPathShown && s.m().sumpPathShown);
    CheckPaths(s, "overflowing");
    w.SolenoidDrainClick();
    s.tick();
    QVERIFY(!s.m().overflowPathShown && s.m().drainPathShown && s.m().sumpPathShown);
    CheckPaths(s, "overflow to drain");
    s.knob(10);
    s.tick();
    QVERIFY(!s.m().mimicFlowing && s.m().drainPathShown && !s.m().sumpPathShown);
    CheckPaths(s, "draining, pump off");
    s.tick(60);
    QCOMPARE(s.m().mimicLevel, 0.0f);
    QVERIFY(!s.m().drainPathShown);
    CheckPaths(s, "empty");
}

void ManualWindowTest::lampsAndValves()
{
    Mimic s;
    TfrmManual& w = *s.window;
    const auto lampRed = [&](const MimicLamp& lamp) {
        return qRed(s.pixel(lamp.place.center().x(), lamp.place.center().y())) > 200;
    };
    const QImage closedDrain = w.picture().copy(mimic::kSolenoidDrain);
    QTest::mouseClick(w.SolenoidDrain, Qt::LeftButton);
    QVERIFY(s.m().mimicDrainOpen);
    QVERIFY(w.imgDrainLight.isVisible());
    QVERIFY(lampRed(w.imgDrainLight));
    QVERIFY(w.picture().copy(mimic::kSolenoidDrain) != closedDrain);
    // A click on the lit lamp puts it out; the valve stays open.
    QTest::mouseClick(w.DrainValveInd, Qt::LeftButton);
    QVERIFY(!w.imgDrainLight.isVisible());
    QVERIFY(!lampRed(w.imgDrainLight));
    QVERIFY(s.m().mimicDrainOpen);
    QVERIFY(w.DrainValveInd->isHidden());
    QTest::mouseClick(w.SolenoidDrain, Qt::LeftButton);
    QVERIFY(!s.m().mimicDrainOpen && !w.imgDrainLight.isVisible());
    QCOMPARE(w.picture().copy(mimic::kSolenoidDrain), closedDrain);

    QTest::mouseClick(w.SolenoidDiverter, Qt::LeftButton);
    QVERIFY(s.m().mimicDiverted && w.imgDivLight.isVisible() && lampRed(w.imgDivLight));
    QTest::mouseClick(w.Fan, Qt::LeftButton);
    QVERIFY(s.m().mimicCoolerOn && w.imgCoolLight.isVisible() && lampRed(w.imgCoolLight));
    QTest::mouseClick(w.imgCooler, Qt::LeftButton);
    QVERIFY(!s.m().mimicCoolerOn && !w.imgCoolLight.isVisible() && !lampRed(w.imgCoolLight));
    QTest::mouseClick(w.Stirrer, Qt::LeftButton);
    QVERIFY(s.m().mimicStirrerOn);
    QTest::mouseClick(w.imgStirrer, Qt::LeftButton);
    QVERIFY(!s.m().mimicStirrerOn);

    // The tank-full lamp follows the overflow path.
    s.knob(114);
    s.tick(90); // 56.55 simulated s
    QVERIFY(!w.imgTankFull.isVisible() && !lampRed(w.imgTankFull));
    s.tick();
    QVERIFY(w.imgTankFull.isVisible() && lampRed(w.imgTankFull));
}

void ManualWindowTest::knobByMouse()
{
    Mimic s;
    TfrmManual& w = *s.window;
    MimicSlider* slider = w.imgScroll;
    const int y = 15;
    // A press alone does nothing; the release places the knob.
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(60, y));
    QCOMPARE(s.m().pumpKnobX, 10);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(60, y));
    QCOMPARE(s.m().pumpKnobX, 60);
    QCOMPARE(w.knobShown(), 60);
    // Within 50 ms a drag is ignored, also past the right end.
    s.clock += 49;
    QMouseEvent drag(QEvent::MouseMove, QPointF(130, y), slider->mapToGlobal(QPointF(130, y)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &drag);
    QCOMPARE(s.m().pumpKnobX, 60);
    s.clock += 1;
    QApplication::sendEvent(slider, &drag);
    QCOMPARE(s.m().pumpKnobX, 114);
    QCOMPARE(w.knobShown(), 114);
    // Moving without the button held does nothing.
    s.clock += 100;
    QMouseEvent hover(QEvent::MouseMove, QPointF(30, y), slider->mapToGlobal(QPointF(30, y)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &hover);
    QCOMPARE(s.m().pumpKnobX, 114);
    // The knob's red pointer line stands at the knob's centre.
    const int pointerX = mimic::kScroll.left() + 114 + 7;
    const int pointerY = mimic::kScroll.top() + 8;
    QVERIFY(qRed(s.pixel(pointerX, pointerY)) > 150);
    QVERIFY(qGreen(s.pixel(pointerX, pointerY)) < 120);
    w.Place(-5);
    QCOMPARE(s.m().pumpKnobX, 10);
    QVERIFY(qGreen(s.pixel(pointerX, pointerY)) > 120);
}

void ManualWindowTest::animation()
{
    Mimic s;
    TfrmManual& w = *s.window;
    const QImage fanAtRest = w.picture().copy(mimic::kFan);
    s.tick(3);
    QCOMPARE(w.fanShown(), 1);
    QCOMPARE(w.stirrerShown(), 1);
    QCOMPARE(w.picture().copy(mimic::kFan), fanAtRest);
    w.imgCoolerClick();
    w.imgStirrerClick();
    std::vector<int> fan;
    std::vector<int> stirrer;
    std::vector<QImage> fanPictures;
    for (int k = 0; k < 5; ++k) {
        s.tick();
        fan.push_back(w.fanShown());
        stirrer.push_back(w.stirrerShown());
        fanPictures.push_back(w.picture().copy(mimic::kFan));
    }
    QCOMPARE(fan, (std::vector<int>{2, 3, 1, 2, 3}));
    QCOMPARE(stirrer, (std::vector<int>{2, 3, 4, 1, 2}));
    QVERIFY(fanPictures[0] != fanPictures[1]);
    QVERIFY(fanPictures[1] != fanPictures[2]);
    QCOMPARE(fanPictures[2], fanAtRest); // frame 1 again
    QCOMPARE(fanPictures[3], fanPictures[0]);
    // Switched off, each keeps the last frame drawn.
    w.imgCoolerClick();
    w.imgStirrerClick();
    s.tick(2);
    QCOMPARE(w.fanShown(), 3);
    QCOMPARE(w.stirrerShown(), 2);
    QCOMPARE(w.picture().copy(mimic::kFan), fanPictures[4]);
}

void ManualWindowTest::levelBarAndDial()
{
    Mimic s;
    TfrmManual& w = *s.window;
    QVERIFY(!w.needleShown());
    s.tick();
    // 50 %: 125 units, 75 pixels from row 171 of the scale upward, drawn by
    // inverting the cream face to a deep navy.
    QCOMPARE(s.m().levelBarUnits, 125);
    const int top = mimic::kScale.top() + 172 - 75;
    QCOMPARE(s.pixel(207, top), QRgb(0x051141));
    QCOMPARE(s.pixel(207, mimic::kScale.top() + 171), QRgb(0x051141));
    QCOMPARE(s.pixel(207, top - 1), QRgb(0xFAEEBE));
    // Column 15 of the scale lies beside the bar.
    QCOMPARE(s.pixel(mimic::kScale.left() + 15, top + 5), QRgb(0xFAEEBE));
    // Full: 250 units, 150 pixels.
    s.knob(114);
    s.tick(95);
    QCOMPARE(s.m().levelBarUnits, 250);
    QCOMPARE(s.pixel(207, mimic::kScale.top() + 22), QRgb(0x051141));
    QCOMPARE(s.pixel(207, mimic::kScale.top() + 21), QRgb(0xFAEEBE));
    // The dial needle for setting 0 points down to the left.
    QVERIFY(w.needleShown());
    QCOMPARE(s.m().heatDialPos, -11);
    const QPoint mid = mimic::kHeatControl.topLeft() + QPoint(15, 21);
    QVERIFY(qRed(s.pixel(mid.x(), mid.y())) < 200);
    const QPoint across = mimic::kHeatControl.topLeft() + QPoint(21, 21);
    QCOMPARE(s.pixel(across.x(), across.y()), QRgb(0xFFFFFF));
}

void ManualWindowTest::closeAndMenu()
{
    // Closing stops the timer, parks the knob, unchecks the menu item and
    // refuses itself; the shell releases it later.
    Mimic s;
    TfrmManual& w = *s.window;
    w.UpdateTimer->start();
    w.show();
    QSignalSpy unchecked(&w, &TfrmManual::controlItemUnchecked);
    s.knob(80);
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QVERIFY(!w.UpdateTimer->isActive());
    QCOMPARE(s.m().pumpKnobX, 0);
    QCOMPARE(unchecked.count(), 1);
    w.UpdateTimer->start();
    w.btnMenu->click();
    QVERIFY(!w.UpdateTimer->isActive());
    QCOMPARE(unchecked.count(), 2);
}

void ManualWindowTest::memoryStaysFlat()
{
    if (test::kAddressSanitizer) {
        QSKIP("the address sanitizer counts the heap its own way");
    }
    // Ten minutes of updates (4800 at 125 ms) with everything moving: the
    // picture keeps its size and the process does not grow.
    Mimic s;
    TfrmManual& w = *s.window;
    w.show();
    w.imgCoolerClick();
    w.imgStirrerClick();
    const auto cycle = [&](int k) {
        if (k % 160 == 0) {
            s.knob(k % 320 == 0 ? 114 : 10);
        }
        if (k % 240 == 0) {
            w.SolenoidDrainClick();
            w.SolenoidDiverterClick();
        }
        s.tick();
        if (k % 50 == 0) {
            QCoreApplication::processEvents();
        }
    };
    for (int k = 0; k < 400; ++k) {
        cycle(k);
    }
    const long before = test::HeapInUseKb();
    for (int k = 400; k < 4800; ++k) {
        cycle(k);
    }
    QCoreApplication::processEvents();
    const long after = test::HeapInUseKb();
    qInfo("heap in use after 400 updates %ld kB, after 4800 %ld kB", before, after);
    QCOMPARE(w.picture().size(), QSize(755, 501));
    QVERIFY(before > 0);
    QVERIFY2(after - before < 512, qPrintable(QString::number(after - before)));
}

VELMOR_TEST_MAIN(ManualWindowTest, mimic)

#include "ManualWindowTest.moc"
