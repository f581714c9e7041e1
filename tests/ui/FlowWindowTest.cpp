// The Flow window on its own: gauges and boxes at their pixels, the keypad
// codes, check boxes, waveform panel and control mode, and runs paced by the
// QTimer driver compared with the headless engine.
#include "LanguageScope.h"
#include "TrendControls.h"
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "ui/common/ValueBox.h"
#include "ui/exercises/ExerciseWindow.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/trends/TfrmGraph.h"
#include "ui/trends/TrendArt.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "FakeMain.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

using namespace velmor;
using velmor::test::Button;
using velmor::test::FakeMain;

namespace {

struct Rig {
    std::unique_ptr<VelmorState> state = std::make_unique<VelmorState>();
    FakeMain main;
    std::unique_ptr<TfrmGraph> graph;
    std::unique_ptr<TfrmFlow> flow;

    Rig()
    {
        state->shell.currentForm = "frmFlow";
        graph = std::make_unique<TfrmGraph>(*state, Exercise::Flow);
        flow = std::make_unique<TfrmFlow>(*state, graph.get(), &main);
    }

    QRgb pixel(int x, int y) const { return flow->imgPanel->image().pixel(x, y); }

    // What the keypad does on OK with a value in range.
    void enter(int code, float value)
    {
        flow->imgPGClick(code);
        state->keypad.keypadValue = value;
        flow->UpdateDisplay(code);
    }
};

bool IsColour(QRgb pixel, const QColor& colour)
{
    return (pixel & 0xFFFFFF) == (colour.rgb() & 0xFFFFFF);
}

// Rows y0..y1 (inclusive) of columns x0..x1 all in one colour.
bool Band(const Rig& rig, int x0, int x1, int y0, int y1, const QColor& colour)
{
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (!IsColour(rig.pixel(x, y), colour)) {
                return false;
            }
        }
    }
    return true;
}

bool SameRecords(const VelmorState& a, const VelmorState& b, int count)
{
    for (int n = 1; n <= count; ++n) {
        if (!(a.log.record(n) == b.log.record(n))) {
            qWarning("record %d differs", n);
            return false;
        }
    }
    return true;
}

} // namespace

class FlowWindowTest : public QObject {
    Q_OBJECT

private slots:
    void creationLoadsDefaultsAndTellsTheShell();
    void setPointGaugePixels();
    void flowGaugeClampsForDisplayOnly();
    void waveformButtonsStandWhole();
    void unlitLightBeforeTheFirstRun();
    void valueBoxesAreSilverAndSampleBoxGrey();
    void keypadCodesGoThroughTheCore();
    void sameValueChangesNothing();
    void checkBoxesAndLetters();
    void waveformRowsFollowTheType();
    void waveformClickSnapsBackWhileKeypadOpen();
    void controlModeEnablesThePump();
    void spanishTexts();
    void runMatchesHeadlessEngine();
    void secondRunStartsAfresh();
    void stopInFirstWaitEndsWithTwoRecords();
    void runIndicatorAndButtons();
    void closeStopsRunAndNamesItself();
};

void FlowWindowTest::creationLoadsDefaultsAndTellsTheShell()
{
    Rig rig;
    const VelmorState& s = *rig.state;
    QCOMPARE(s.flow.flowGain, 1.0f);
    QCOMPARE(s.flow.flowBand, 100.0f);
    QCOMPARE(s.flow.flowWaveform, 1);
    QCOMPARE(s.flow.flowWaveformAtStart, 0);
    QCOMPARE(s.flow.lightState, 0);
    QVERIFY(!s.flow.flowManual);
    QVERIFY(rig.main.fileNew);
    QVERIFY(rig.flow->controller()->chkI->isChecked());
    QVERIFY(rig.flow->controller()->chkD->isChecked());
    QVERIFY(rig.flow->waveform()->chkFlat->isChecked());
    QCOMPARE(rig.flow->windowTitle(), QStringLiteral("Flow Simulation"));
    QCOMPARE(rig.flow->btnControl->text(), QStringLiteral("PID"));
    QVERIFY(!rig.flow->btnStop->isEnabled());
    QCOMPARE(rig.flow->imgPanel->image().size(), QSize(225, 501));
    QCOMPARE(rig.flow->height(), rig.graph->height());
    // Flat shows only row 1; rows 2 and 3 cannot be clicked.
    QVERIFY(!rig.flow->waveform()->imgSetB->isEnabled());
    QVERIFY(!rig.flow->waveform()->imgSetC->isEnabled());
}

void FlowWindowTest::setPointGaugePixels()
{
    Rig rig;
    rig.state->run.flowSetPoint = 1.5f;
    rig.flow->DrawSP();
    // h = Trunc(1.5 / 2 x 263 + 0.5) = 197: yellow from 340 - 197 = 143 to 339.
    QVERIFY(Band(rig, 16, 33, 143, 339, kYellow));
    QVERIFY(Band(rig, 16, 33, 78, 142, kSilver));
    QVERIFY(!IsColour(rig.pixel(15, 200), kYellow));
    QVERIFY(!IsColour(rig.pixel(34, 200), kYellow));
    QVERIFY(!IsColour(rig.pixel(20, 340), kYellow));
    // The text box stays black around its yellow text.
    QVERIFY(IsColour(rig.pixel(18, 15), Qt::black));
    QVERIFY(IsColour(rig.pixel(96, 44), Qt::black));

    // Full scale fills 77..339; lowered from there, no yellow row is left
    // at the top (h = 66 for 0.5: yellow from 274, silver 77..273).
    rig.state->run.flowSetPoint = 2.0f;
    rig.flow->DrawSP();
    QVERIFY(Band(rig, 16, 33, 77, 339, kYellow));
    rig.state->run.flowSetPoint = 0.5f;
    rig.flow->DrawSP();
    QVERIFY(Band(rig, 16, 33, 77, 273, kSilver));
    QVERIFY(Band(rig, 16, 33, 274, 339, kYellow));
    rig.state->run.flowSetPoint = 0.0f;
    rig.flow->DrawSP();
    QVERIFY(Band(rig, 16, 33, 77, 339, kSilver));
    // The same for the flow bar after a full one.
    rig.state->run.flowRate = 2.0f;
    rig.flow->DrawMV();
    rig.state->run.flowRate = 0.5f;
    rig.flow->DrawMV();
    QVERIFY(Band(rig, 79, 96, 77, 273, kSilver));
    QVERIFY(Band(rig, 79, 96, 274, 339, kAqua));
}

void FlowWindowTest::waveformButtonsStandWhole()
{
    Rig rig;
    WaveformPanel* w = rig.flow->waveform();
    const QRadioButton* radios[] = {w->chkFlat, w->chkRamp, w->chkSine, w->chkStep, w->chkSawtooth};
    const QWidget* pictures[] = {w->imgFlat, w->imgRamp, w->imgSine, w->imgStep, w->imgSawtooth};
    const int tops[] = {422, 436, 450, 464, 478};
    for (int k = 0; k < 5; ++k) {
        QCOMPARE(radios[k]->geometry(), QRect(8, tops[k], 17, 17));
        QCOMPARE(pictures[k]->geometry(), QRect(20, tops[k], 73, 14));
        // No picture lies over any part of a round button.
        for (int y = 0; y < 17; ++y) {
            for (int x = 0; x < 17; ++x) {
                const QPoint at = radios[k]->mapTo(rig.flow->imgPanel, QPoint(x, y));
                QVERIFY2(qobject_cast<QRadioButton*>(rig.flow->imgPanel->childAt(at)) != nullptr,
                         qPrintable(QStringLiteral("button %1 at %2,%3").arg(k).arg(x).arg(y)));
            }
        }
    }
}

void FlowWindowTest::unlitLightBeforeTheFirstRun()
{
    Rig rig;
    const QPoint redLamp(126 + 12, 340 + 11);
    const QPoint greenLamp(126 + 12, 340 + 31);
    QCOMPARE(rig.state->flow.lightState, 0);
    // The signal head is drawn (dark housing, not the silver ground) with
    // neither lamp lit.
    QVERIFY(QColor(rig.pixel(126 + 12, 340 + 21)).value() < 100);
    const QColor red(rig.pixel(redLamp.x(), redLamp.y()));
    const QColor green(rig.pixel(greenLamp.x(), greenLamp.y()));
    QVERIFY(!IsColour(red.rgb(), kSilver) && red.red() < 150);
    QVERIFY(!IsColour(green.rgb(), kSilver) && green.green() < 150);
}

void FlowWindowTest::flowGaugeClampsForDisplayOnly()
{
    Rig rig;
    // The number box shows 2.00 for any flow above 2: the same pixels.
    rig.state->run.flowRate = 2.0f;
    rig.flow->DrawMV();
    const QImage atFullScale = rig.flow->imgPanel->image().copy(16, 358, 81, 31);
    rig.state->run.flowRate = 2.5f;
    rig.flow->DrawMV();
    QVERIFY(Band(rig, 79, 96, 77, 339, kAqua));
    QCOMPARE(rig.flow->imgPanel->image().copy(16, 358, 81, 31), atFullScale);
    QCOMPARE(rig.state->run.flowRate, 2.5f);
    rig.state->run.flowRate = 1.0f;
    rig.flow->DrawMV();
    // 131.5 + 0.5 -> 132 pixels: aqua from 208.
    QVERIFY(Band(rig, 79, 96, 208, 339, kAqua));
    QVERIFY(!IsColour(rig.pixel(85, 207), kAqua));
    rig.state->run.flowRate = -0.3f;
    rig.flow->DrawMV();
    QVERIFY(Band(rig, 79, 96, 78, 339, kSilver));
}

void FlowWindowTest::valueBoxesAreSilverAndSampleBoxGrey()
{
    Rig rig;
    // Corners of the PG, PB, I, D and sample boxes are silver fill.
    for (const QPoint& corner :
         {QPoint(158, 203), QPoint(209, 219), QPoint(158, 235), QPoint(209, 251), QPoint(158, 268),
          QPoint(158, 301), QPoint(141, 108), QPoint(194, 124)}) {
        QVERIFY2(IsColour(rig.pixel(corner.x(), corner.y()), kSilver),
                 qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
    }
    // The sample time's text is grey: some pixel of its box is darker than
    // silver but none is black.
    bool grey = false;
    bool black = false;
    for (int y = 108; y < 125; ++y) {
        for (int x = 141; x < 195; ++x) {
            const int v = qGray(rig.pixel(x, y));
            grey = grey || v < 180;
            black = black || v < 60;
        }
    }
    QVERIFY(grey);
    QVERIFY(!black);
}

void FlowWindowTest::keypadCodesGoThroughTheCore()
{
    Rig rig;
    VelmorState& s = *rig.state;
    const int segment = s.flow.flowSegment;
    rig.flow->imgPGClick(kCodePG);
    QCOMPARE(rig.main.keypadShows, 1);
    QCOMPARE(s.keypad.keypadTarget, 1);
    QCOMPARE(s.keypad.keypadMin, 0.01f);
    QCOMPARE(s.keypad.keypadMax, 100.0f);
    QCOMPARE(s.keypad.keypadOld, 1.0f);
    s.keypad.keypadValue = 4;
    rig.flow->UpdateDisplay(kCodePG);
    QCOMPARE(s.flow.flowGain, 4.0f);
    QCOMPARE(s.flow.flowBand, 25.0f);
    QCOMPARE(s.flow.flowSegment, segment + 1);

    // Each entry redraws its own boxes: compare the box areas with the
    // picture the panel shows.
    const auto box = [&rig](const QRect& r) { return rig.flow->imgPanel->image().copy(r); };
    const ControllerGeometry g = FlowControllerGeometry();
    const QImage pgBefore = box(g.pg.box);
    const QImage pbBefore = box(g.pb.box);
    rig.enter(kCodePB, 8);
    QCOMPARE(s.flow.flowGain, 12.5f);
    QVERIFY(box(g.pg.box) != pgBefore && box(g.pb.box) != pbBefore);
    const QImage iBefore = box(g.i.box);
    rig.enter(kCodeI, 10);
    QCOMPARE(s.flow.flowIntegralTime, 10.0f);
    QCOMPARE(s.keypad.keypadMax, 999.0f);
    QVERIFY(box(g.i.box) != iBefore);
    const QImage dBefore = box(g.d.box);
    rig.enter(kCodeD, 0.5f);
    QCOMPARE(s.flow.flowDerivativeTime, 0.5f);
    QVERIFY(box(g.d.box) != dBefore);
    QCOMPARE(s.flow.flowSegment, segment + 4);
    // Waveform row 1 of Flat is the value A; no new segment.
    rig.enter(kCodeWaveRow1, 1.25f);
    QCOMPARE(s.flow.waveParams.A(kFlat), 1.25f);
    QCOMPARE(s.keypad.keypadMax, 2.0f);
    QCOMPARE(s.flow.flowSegment, segment + 4);
    // A blank row opens no keypad.
    const int shows = rig.main.keypadShows;
    rig.flow->imgPGClick(kCodeWaveRow3);
    QCOMPARE(rig.main.keypadShows, shows);
}

void FlowWindowTest::sameValueChangesNothing()
{
    Rig rig;
    VelmorState& s = *rig.state;
    rig.enter(kCodePG, 2);
    const int segment = s.flow.flowSegment;
    // Scribble over the PG box: an entry of the old value must not redraw it.
    {
        QPainter p(&rig.flow->imgPanel->image());
        p.fillRect(Ltrb(158, 203, 210, 220), Qt::red);
    }
    rig.enter(kCodePG, 2);
    QCOMPARE(s.flow.flowSegment, segment);
    QVERIFY(IsColour(rig.pixel(160, 205), Qt::red));
    rig.enter(kCodePG, 3);
    QCOMPARE(s.flow.flowSegment, segment + 1);
    QVERIFY(IsColour(rig.pixel(160, 205), kSilver));
}

void FlowWindowTest::checkBoxesAndLetters()
{
    Rig rig;
    VelmorState& s = *rig.state;
    ControllerPanel* panel = rig.flow->controller();
    const int segment = s.flow.flowSegment;
    panel->chkI->click();
    QVERIFY(!panel->chkI->isChecked());
    QCOMPARE(s.flow.flowIntegralOn, 0);
    QCOMPARE(s.flow.flowSegment, segment + 1);
    // The letter toggles its box; twice returns it, two more segments.
    panel->lblIClick();
    QVERIFY(panel->chkI->isChecked());
    QCOMPARE(s.flow.flowIntegralOn, 1);
    QTest::mouseClick(panel->lblI, Qt::LeftButton);
    QVERIFY(!panel->chkI->isChecked());
    QCOMPARE(s.flow.flowSegment, segment + 3);
    // Switching a zero derivative action is no new segment.
    panel->chkD->click();
    QCOMPARE(s.flow.flowDerivativeOn, 0);
    QCOMPARE(s.flow.flowSegment, segment + 3);
    rig.enter(kCodeD, 1);
    QTest::mouseClick(panel->lblD, Qt::LeftButton);
    QVERIFY(panel->chkD->isChecked());
    QCOMPARE(s.flow.flowDerivativeOn, 1);
    QCOMPARE(s.flow.flowSegment, segment + 5);
}

void FlowWindowTest::waveformRowsFollowTheType()
{
    Rig rig;
    VelmorState& s = *rig.state;
    WaveformPanel* wave = rig.flow->waveform();
    wave->chkRamp->click();
    QCOMPARE(s.flow.flowWaveform, 2);
    QVERIFY(wave->imgSetB->isEnabled());
    QVERIFY(!wave->imgSetC->isEnabled());
    // Row 2 of the Ramp edits A, its final value.
    rig.enter(kCodeWaveRow2, 1.75f);
    QCOMPARE(s.flow.waveParams.A(kRamp), 1.75f);
    rig.enter(kCodeWaveRow1, 0.25f);
    QCOMPARE(s.flow.waveParams.B(kRamp), 0.25f);
    // A picture click checks its radio button and chooses the type.
    QTest::mouseClick(wave->imgSawtooth, Qt::LeftButton);
    QVERIFY(wave->chkSawtooth->isChecked());
    QCOMPARE(s.flow.flowWaveform, 5);
    QVERIFY(wave->imgSetC->isEnabled());
    rig.enter(kCodeWaveRow3, 40);
    QCOMPARE(s.flow.waveParams.C(kSawtooth), 40.0f);
    QCOMPARE(s.keypad.keypadMin, 1.0f);
    QCOMPARE(s.keypad.keypadMax, 999.0f);
    // A blank row is an empty silver box.
    wave->chkFlat->click();
    QVERIFY(Band(rig, 158, 210, 443, 459, kSilver));
    QVERIFY(Band(rig, 158, 210, 472, 488, kSilver));
}

void FlowWindowTest::waveformClickSnapsBackWhileKeypadOpen()
{
    Rig rig;
    VelmorState& s = *rig.state;
    WaveformPanel* wave = rig.flow->waveform();
    s.keypad.suppressWaveformClick = true;
    wave->chkSine->click();
    QCOMPARE(s.flow.flowWaveform, 1);
    QVERIFY(wave->chkFlat->isChecked());
    QVERIFY(!wave->chkSine->isChecked());
    s.keypad.suppressWaveformClick = false;
    wave->chkSine->click();
    QCOMPARE(s.flow.flowWaveform, 3);
}

void FlowWindowTest::controlModeEnablesThePump()
{
    Rig rig;
    QVERIFY(!Button(*rig.graph, "btnPump")->isEnabled());
    rig.flow->btnControl->click();
    QVERIFY(rig.state->flow.flowManual);
    QCOMPARE(rig.flow->btnControl->text(), QStringLiteral("Manual"));
    QVERIFY(Button(*rig.graph, "btnPump")->isEnabled());
    // The button's picture shows the pump as it is.
    const auto shows = [&](bool on) {
        return Button(*rig.graph, "btnPump")->icon().pixmap(20).toImage() ==
               trendart::PumpIcon(on).pixmap(20).toImage();
    };
    QVERIFY(trendart::PumpIcon(true).pixmap(20).toImage() !=
            trendart::PumpIcon(false).pixmap(20).toImage());
    for (const bool on : {true, false}) {
        Button(*rig.graph, "btnPump")->click();
        QCOMPARE(rig.state->run.pumpOn, on);
        QVERIFY(shows(on));
    }
    rig.flow->btnControl->click();
    QVERIFY(!rig.state->flow.flowManual);
    QCOMPARE(rig.flow->btnControl->text(), QStringLiteral("PID"));
    QVERIFY(!Button(*rig.graph, "btnPump")->isEnabled());
}

void FlowWindowTest::spanishTexts()
{
    Rig rig;
    rig.flow->DrawRed();
    const LanguageScope inSpanish(rig.state->shell, Language::Spanish);
    QCOMPARE(rig.flow->windowTitle(), QString::fromUtf8("Simulación del Flujo"));
    QCOMPARE(rig.flow->btnStart->text(), QStringLiteral("EMPEZAR"));
    QCOMPARE(rig.flow->btnStop->text(), QStringLiteral("PARAR"));
    QCOMPARE(rig.flow->lblPG->text(), QStringLiteral("Kp"));
    QCOMPARE(rig.flow->controller()->lblI->text(), QStringLiteral("Ki"));
    QCOMPARE(rig.flow->lblTrafficLight->text(), QStringLiteral("Proceso parado"));
    QCOMPARE(rig.flow->btnControl->text(), QStringLiteral("PID"));
}

void FlowWindowTest::runMatchesHeadlessEngine()
{
    // On screen: a PG entry at record 50, the Sine at 120, Manual with the
    // pump on at 150, STOP at 200 (each between two cycles).
    Rig rig;
    VelmorState& s = *rig.state;
    rig.flow->driver()->setInterval(std::chrono::milliseconds(1));
    connect(rig.flow->driver(), &RunDriver::cycled, rig.flow.get(), [&rig, &s] {
        switch (s.run.sampleCount) {
        case 50:
            rig.enter(kCodePG, 3.5f);
            break;
        case 120:
            rig.flow->waveform()->chkSine->click();
            break;
        case 150:
            rig.flow->btnControl->click();
            Button(*rig.graph, "btnPump")->click();
            break;
        case 200:
            rig.flow->btnStop->click();
            break;
        default:
            break;
        }
    });
    rig.flow->btnStart->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.flow->driver()->running(), 20000);
    QCOMPARE(s.run.sampleCount, 200);
    QVERIFY(s.run.pumpOn);

    // Headless, from the state the shell gives a freshly opened Flow.
    auto reference = std::make_unique<VelmorState>();
    VelmorState& r = *reference;
    OpenExerciseState(r, Exercise::Flow, true);
    std::unique_ptr<LoopEngine> engine = MakeEngine(Exercise::Flow, r, nullptr);
    RunHeadless(*engine, [&r] {
        switch (r.run.sampleCount) {
        case 50:
            UpdateDisplay(r, Exercise::Flow, kCodePG, 3.5f, r.flow.flowGain);
            break;
        case 120:
            ChooseWaveform(r, Exercise::Flow, kSine);
            break;
        case 150:
            r.flow.flowManual = true;
            r.run.pumpOn = true;
            break;
        case 200:
            r.run.runActive = false;
            break;
        default:
            break;
        }
    });
    QCOMPARE(r.run.sampleCount, 200);
    QVERIFY(SameRecords(s, r, 200));
    QVERIFY(s.log.secondIndex == r.log.secondIndex);
    QCOMPARE(s.log.secondIndexFilled, r.log.secondIndexFilled);
    QCOMPARE(s.flow.flowLastSP, r.flow.flowLastSP);
    QCOMPARE(s.flow.flowLastPV, r.flow.flowLastPV);
}

void FlowWindowTest::secondRunStartsAfresh()
{
    // Run 1 on screen: the Step, PG 3.5 entered at record 50, Manual with
    // the pump on from 90, STOP at 120. Run 2: back to PID, START again.
    Rig rig;
    VelmorState& s = *rig.state;
    rig.flow->driver()->setInterval(std::chrono::milliseconds(0));
    rig.flow->waveform()->chkStep->click();
    int stopAt = 120;
    connect(rig.flow->driver(), &RunDriver::cycled, rig.flow.get(), [&] {
        if (s.run.sampleCount == 50 && stopAt == 120) {
            rig.enter(kCodePG, 3.5f);
        } else if (s.run.sampleCount == 90 && stopAt == 120) {
            rig.flow->btnControl->click();
            Button(*rig.graph, "btnPump")->click();
        } else if (s.run.sampleCount == stopAt) {
            rig.flow->btnStop->click();
        }
    });
    rig.flow->btnStart->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.flow->driver()->running(), 20000);
    QCOMPARE(s.flow.flowSegment, 2);
    rig.flow->btnControl->click();
    stopAt = 150;
    rig.flow->btnStart->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.flow->driver()->running(), 20000);
    QCOMPARE(s.run.sampleCount, 150);

    // What the second run carries over: PG and PB, the waveform and its
    // values. Everything else starts from rest: integral, error history,
    // plant histories, pump, segment, counts and the log.
    auto reference = std::make_unique<VelmorState>();
    VelmorState& r = *reference;
    OpenExerciseState(r, Exercise::Flow, true);
    ChooseWaveform(r, Exercise::Flow, kStep);
    UpdateDisplay(r, Exercise::Flow, kCodePG, 3.5f, r.flow.flowGain);
    std::unique_ptr<LoopEngine> engine = MakeEngine(Exercise::Flow, r, nullptr);
    RunHeadless(*engine, [&r] {
        if (r.run.sampleCount == 150) {
            r.run.runActive = false;
        }
    });
    QCOMPARE(s.flow.flowGain, 3.5f);
    QCOMPARE(s.flow.flowBand, r.flow.flowBand);
    QCOMPARE(s.flow.flowWaveform, kStep);
    QVERIFY(!s.run.pumpOn);
    QCOMPARE(s.flow.flowSegment, 1);
    QVERIFY(SameRecords(s, r, 150));
    QVERIFY(s.log.secondIndex == r.log.secondIndex);
    QCOMPARE(rig.graph->view().trendViewStart, 0);
}

void FlowWindowTest::stopInFirstWaitEndsWithTwoRecords()
{
    Rig rig;
    rig.flow->btnStartClick();
    QVERIFY(rig.flow->driver()->running());
    QCOMPARE(rig.state->run.sampleCount, 2);
    rig.flow->btnStop->click();
    // STOP ends the run at once, not at the end of the pacing wait.
    QVERIFY(!rig.flow->driver()->running());
    QCOMPARE(rig.state->run.sampleCount, 2);
    QVERIFY(!rig.state->run.runActive);
    QVERIFY(rig.flow->btnStart->isEnabled());
}

void FlowWindowTest::runIndicatorAndButtons()
{
    Rig rig;
    const QPoint redLamp(126 + 12, 340 + 11);
    const QPoint greenLamp(126 + 12, 340 + 31);
    // A read-out on its way when the run starts never comes up.
    auto* readout = rig.graph->findChild<QTimer*>(QStringLiteral("readoutTimer"));
    QVERIFY(readout != nullptr);
    readout->start();
    rig.flow->btnStartClick();
    QVERIFY(!rig.main.runMenus);
    QVERIFY(!readout->isActive());
    QVERIFY(!rig.flow->btnStart->isEnabled());
    QVERIFY(rig.flow->btnStop->isEnabled());
    QCOMPARE(rig.state->flow.lightState, 1);
    QCOMPARE(rig.flow->lblTrafficLight->text(), QStringLiteral("Process running"));
    const QColor lit = QColor(rig.pixel(greenLamp.x(), greenLamp.y()));
    QVERIFY(lit.green() > 150 && lit.red() < 150);
    QVERIFY(QColor(rig.pixel(redLamp.x(), redLamp.y())).red() < 150);

    rig.flow->btnStopClick();
    QVERIFY(rig.main.runMenus);
    QVERIFY(rig.flow->btnStart->isEnabled());
    QVERIFY(!rig.flow->btnStop->isEnabled());
    QCOMPARE(rig.state->flow.lightState, 2);
    QCOMPARE(rig.flow->lblTrafficLight->text(), QStringLiteral("Process stopped"));
    const QColor red = QColor(rig.pixel(redLamp.x(), redLamp.y()));
    QVERIFY(red.red() > 150 && red.green() < 150);
    QVERIFY(QColor(rig.pixel(greenLamp.x(), greenLamp.y())).green() < 150);
}

void FlowWindowTest::closeStopsRunAndNamesItself()
{
    Rig rig;
    QSignalSpy asks(rig.flow.get(), &LoopWindow::closeRequested);
    rig.flow->btnStartClick();
    rig.flow->close();
    QVERIFY(!rig.flow->driver()->running());
    QVERIFY(!rig.state->run.runActive);
    QCOMPARE(asks.count(), 1);
    QCOMPARE(asks.at(0).at(0).value<Exercise>(), Exercise::Flow);
    QVERIFY(!rig.main.checked);
    QVERIFY(!rig.main.fileNew);
    // MENU does the same; while the program ends it asks nothing.
    rig.state->shell.appRunning = false;
    rig.flow->btnMenu->click();
    QCOMPARE(asks.count(), 1);
}

VELMOR_TEST_MAIN(FlowWindowTest, exercises)
#include "FlowWindowTest.moc"
