// The Fluid level, Temperature, Open-loop and Batch volume windows: runs
// driven through each window (value boxes through the keypad's codes, check
// boxes, radio buttons, the Trends window's buttons) give exactly the
// records of the headless engine with the same settings by velmor-sim's
// names; gauges and boxes at their pixels; each window's own rules.
#include "LanguageScope.h"
#include "TrendControls.h"
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/SimFileWriter.h"
#include "ui/common/ValueBox.h"
#include "ui/exercises/ExerciseWindow.h"
#include "ui/exercises/TfrmBatch.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/exercises/TfrmLevel.h"
#include "ui/exercises/TfrmOpen.h"
#include "ui/exercises/TfrmTemperature.h"
#include "ui/trends/TfrmGraph.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "FakeMain.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace velmor;
using velmor::test::FakeMain;

namespace {

template <typename Window> struct LoopRig {
    std::unique_ptr<VelmorState> state = std::make_unique<VelmorState>();
    FakeMain main;
    std::unique_ptr<TfrmGraph> graph;
    std::unique_ptr<Window> window;

    explicit LoopRig(Exercise e)
    {
        state->shell.currentForm = std::string(FormName(e));
        graph = std::make_unique<TfrmGraph>(*state, e);
        window = std::make_unique<Window>(*state, graph.get(), &main);
        window->driver()->setInterval(std::chrono::milliseconds(0));
    }

    QRgb pixel(int x, int y) const { return window->imgPanel->image().pixel(x, y) & 0xFFFFFF; }

    // What the keypad does on OK with a value in range.
    bool enter(int code, float value)
    {
        const int shows = main.keypadShows;
        window->imgPGClick(code);
        if (main.keypadShows == shows) {
            return false; // the box took no click
        }
        state->keypad.keypadValue = value;
        window->UpdateDisplay(code);
        return true;
    }

    // START, then `atRecord` actions in the pacing waits, until the run ends
    // by itself or STOP after record `stopAt`.
    void run(const std::map<int, std::function<void()>>& atRecord, int stopAt)
    {
        QMetaObject::Connection c = QObject::connect(
            window->driver(), &RunDriver::cycled, window.get(), [this, &atRecord, stopAt] {
                const int n = state->run.sampleCount;
                if (auto it = atRecord.find(n); it != atRecord.end()) {
                    it->second();
                }
                if (n == stopAt) {
                    window->btnStop->click();
                }
            });
        window->btnStart->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window->driver()->running(), 30000);
        QObject::disconnect(c);
    }
};

using Named = std::vector<std::pair<std::string, std::string>>;

// The same run headless: the exercise as opened, `before` by name, then
// START with `atRecord` changes by name and STOP after `stopAt`.
std::unique_ptr<VelmorState> Headless(Exercise e, const Named& before,
                                      const std::map<int, Named>& atRecord, int stopAt)
{
    auto reference = std::make_unique<VelmorState>();
    VelmorState& r = *reference;
    OpenExerciseState(r, e, true);
    for (const auto& [name, value] : before) {
        const std::string refused = ApplySetting(r, e, name, value);
        if (!refused.empty()) {
            qWarning("%s", refused.c_str());
        }
    }
    std::unique_ptr<LoopEngine> engine = MakeEngine(e, r, nullptr);
    RunHeadless(*engine, [&] {
        const int n = r.run.sampleCount;
        if (auto it = atRecord.find(n); it != atRecord.end()) {
            for (const auto& [name, value] : it->second) {
                const std::string refused = ApplySetting(r, e, name, value);
                if (!refused.empty()) {
                    qWarning("%s", refused.c_str());
                }
            }
        }
        if (n == stopAt) {
            r.run.runActive = false;
        }
    });
    return reference;
}

bool SameRun(const VelmorState& a, const VelmorState& b)
{
    if (a.run.sampleCount != b.run.sampleCount) {
        qWarning("%d records against %d", a.run.sampleCount, b.run.sampleCount);
        return false;
    }
    for (int n = 1; n <= a.run.sampleCount; ++n) {
        if (!(a.log.record(n) == b.log.record(n))) {
            qWarning("record %d differs", n);
            return false;
        }
    }
    return a.log.secondIndex == b.log.secondIndex &&
           a.log.secondIndexFilled == b.log.secondIndexFilled;
}

// Rows y0..y1 of columns x0..x1 all of one colour.
template <typename R> bool Band(const R& rig, int x0, int x1, int y0, int y1, QRgb colour)
{
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (rig.pixel(x, y) != (colour & 0xFFFFFFu)) {
                return false;
            }
        }
    }
    return true;
}

const QRgb kSilverRgb = 0xC0C0C0;

} // namespace

class LoopWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void levelRunMatchesHeadless();
    void levelGaugesDrainAndFiles();
    void temperatureRunMatchesHeadless();
    void temperatureBoxesAndIndicator();
    void openRunMatchesHeadlessWithoutMarks();
    void openGaugesAndActivationGuard();
    void batchRunEndsAtTheExpectedTime();
    void batchBoxesAndSpanish();
    void closingFollowsEachWindowsRule();
    void saveAndPrintFollowTheRunInEveryWindow();
    void windowReleasedMidRunFinishesItsRun();
};

namespace {

// Save and Print: off during a run, on once it has ended, off again when
// the window closes.
template <typename Window> void CheckFileCommands(Exercise e)
{
    LoopRig<Window> rig(e);
    rig.main.fileCommands = true; // say, a file was opened before
    bool duringRun = true;
    rig.run({{3, [&] { duringRun = rig.main.fileCommands; }}}, 5);
    QVERIFY2(!duringRun, FormName(e).data());
    QVERIFY2(rig.main.fileCommands, FormName(e).data());
    rig.window->close();
    QVERIFY2(!rig.main.fileCommands, FormName(e).data());
}

// A window released while its run goes (the shell's release, the end of
// the program) still ends the run as STOP would: the same records, the
// second index finished, the last values a file keeps, nothing live.
template <typename Window> void CheckReleaseMidRun(Exercise e)
{
    LoopRig<Window> rig(e);
    QEventLoop atRecord50;
    QObject::connect(rig.window->driver(), &RunDriver::cycled, &atRecord50, [&] {
        if (rig.state->run.sampleCount == 50) {
            atRecord50.quit();
        }
    });
    QObject::connect(rig.window->driver(), &RunDriver::finished, &atRecord50, &QEventLoop::quit);
    rig.window->btnStart->click();
    atRecord50.exec();
    QVERIFY2(rig.window->driver()->running(), FormName(e).data());
    rig.window.reset();

    const VelmorState& s = *rig.state;
    const std::unique_ptr<VelmorState> stopped = Headless(e, {}, {}, 50);
    QVERIFY2(SameRun(s, *stopped), FormName(e).data());
    QVERIFY(!s.run.runActive);
    QVERIFY(!rig.graph->view().trendLive);
    SendSettings(*rig.state, e);
    SendSettings(*stopped, e);
    QVERIFY2(SimulationFileText(e, s.simSettings, s.run.gateValvePercent, s.log, 50) ==
                 SimulationFileText(e, stopped->simSettings, stopped->run.gateValvePercent,
                                    stopped->log, 50),
             FormName(e).data());
}

} // namespace

void LoopWindowsTest::windowReleasedMidRunFinishesItsRun()
{
    CheckReleaseMidRun<TfrmFlow>(Exercise::Flow);
    CheckReleaseMidRun<TfrmLevel>(Exercise::Level);
    CheckReleaseMidRun<TfrmOpen>(Exercise::Open);
    CheckReleaseMidRun<TfrmTemperature>(Exercise::Temperature);
    CheckReleaseMidRun<TfrmBatch>(Exercise::Batch);
}

void LoopWindowsTest::saveAndPrintFollowTheRunInEveryWindow()
{
    CheckFileCommands<TfrmFlow>(Exercise::Flow);
    CheckFileCommands<TfrmLevel>(Exercise::Level);
    CheckFileCommands<TfrmOpen>(Exercise::Open);
    CheckFileCommands<TfrmTemperature>(Exercise::Temperature);
    CheckFileCommands<TfrmBatch>(Exercise::Batch);
}

void LoopWindowsTest::levelRunMatchesHeadless()
{
    LoopRig<TfrmLevel> rig(Exercise::Level);
    QVERIFY(rig.enter(kCodeSetPoint, 48.4f)); // rounds to 48
    rig.window->chkAutodrain->click();
    rig.window->waveform()->chkStep->click();
    QVERIFY(rig.enter(kCodeWaveRow1, 70));
    QVERIFY(rig.enter(kCodeWaveRow3, 30));
    QVERIFY(rig.enter(kCodeD, 0.5f));
    // With D above 0 the drain box's click counts a new segment (it runs
    // the D box's handler).
    rig.run({{100, [&] { QVERIFY(rig.enter(kCodePG, 4)); }},
             {200, [&] { rig.window->controller()->chkI->click(); }},
             {250, [&] { rig.window->chkAutodrain->click(); }},
             {300, [&] { QVERIFY(rig.enter(kCodeI, 5)); }}},
            400);
    const auto r = Headless(Exercise::Level,
                            {{"initialLevel", "48.4"},
                             {"chkAutodrain", "1"},
                             {"levelWaveform", "4"},
                             {"waveA", "70"},
                             {"waveC", "30"},
                             {"levelDerivativeTime", "0.5"}},
                            {{100, {{"levelGain", "4"}}},
                             {200, {{"chkI", "0"}}},
                             {250, {{"chkAutodrain", "0"}}},
                             {300, {{"levelIntegralTime", "5"}}}},
                            400);
    QCOMPARE(rig.state->level.initialLevel, 48);
    QCOMPARE(rig.state->log.record(1).field(kFieldLevelSP), 48.0f);
    QVERIFY(SameRun(*rig.state, *r));
    QCOMPARE(rig.state->level.levelSegment, r->level.levelSegment);
}

void LoopWindowsTest::levelGaugesDrainAndFiles()
{
    LoopRig<TfrmLevel> rig(Exercise::Level);
    // 50 % on both gauges: Trunc(50 / 100 x 263 + 0.5) = 132 pixels, from 208.
    rig.state->run.levelSetPoint = 50;
    rig.state->run.levelPercent = 50;
    rig.window->DrawSP();
    rig.window->DrawMV();
    QVERIFY(Band(rig, 16, 33, 208, 339, qRgb(255, 255, 0)));
    QVERIFY(Band(rig, 16, 33, 77, 207, kSilverRgb));
    QVERIFY(Band(rig, 79, 96, 208, 339, qRgb(0, 255, 255)));
    // The initial level box (142, 353)-(195, 370) is silver round its number.
    QCOMPARE(rig.pixel(142, 353), kSilverRgb);
    QCOMPARE(rig.pixel(194, 369), kSilverRgb);

    // Drain: open above the set point while ticked; unticked, it stays as
    // it is and the level keeps falling.
    rig.window->chkAutodrain->click();
    QVERIFY(rig.state->level.chkAutodrain);
    QVERIFY(rig.enter(kCodeSetPoint, 60));
    QVERIFY(rig.enter(kCodeWaveRow1, 20));
    bool seenOpen = false;
    float levelWhenUnticked = 0;
    rig.run({{30,
              [&] {
                  seenOpen = rig.state->level.drainOpen;
                  // The drain picture at (194, 382) is red while open.
                  const QColor drain(rig.window->imgPanel->image().pixel(194 + 3, 382 + 10));
                  QVERIFY(!seenOpen || drain.red() > 150);
                  rig.window->chkAutodrain->click();
                  levelWhenUnticked = rig.state->run.levelPercent;
              }}},
            60);
    QVERIFY(seenOpen);
    QVERIFY(!rig.state->level.chkAutodrain);
    QVERIFY(rig.state->level.drainOpen);
    QVERIFY(rig.state->run.levelPercent < levelWhenUnticked);
    // The end of a run offers Save and Print.
    QVERIFY(rig.main.fileCommands);
    QVERIFY(rig.main.runMenus);
}

void LoopWindowsTest::temperatureRunMatchesHeadless()
{
    LoopRig<TfrmTemperature> rig(Exercise::Temperature);
    QVERIFY(rig.enter(kCodeSetPoint, 45));
    QVERIFY(rig.enter(kCodeInitialValue, 25));
    rig.run({{150, [&] { QVERIFY(rig.enter(kCodeI, 2)); }},
             {250,
              [&] {
                  rig.window->controller()->chkD->click();
                  // The initial value takes no entry while the run goes.
                  QVERIFY(!rig.enter(kCodeInitialValue, 60));
              }},
             {260, [&] { QVERIFY(rig.enter(kCodeD, 1)); }},
             {270, [&] { rig.window->controller()->lblD->clicked(); }}},
            500);
    const auto r =
        Headless(Exercise::Temperature, {{"tempEnteredSP", "45"}, {"initialTemperature", "25"}},
                 {{150, {{"tempIntegralTime", "2"}}},
                  {250, {{"chkD", "0"}}},
                  {260, {{"tempDerivativeTime", "1"}}},
                  {270, {{"chkD", "1"}}}},
                 500);
    QCOMPARE(rig.state->temp.initialTemperature, 25.0f);
    QVERIFY(SameRun(*rig.state, *r));
    QCOMPARE(rig.state->temp.tempSegment, r->temp.tempSegment);
}

void LoopWindowsTest::temperatureBoxesAndIndicator()
{
    LoopRig<TfrmTemperature> rig(Exercise::Temperature);
    // Set point 30 on the green gauge: 79 pixels from 261; temperature 20 on
    // the red one: 53 pixels from 287.
    QVERIFY(Band(rig, 16, 33, 261, 339, qRgb(0, 255, 0)));
    QVERIFY(Band(rig, 16, 33, 77, 260, kSilverRgb));
    QVERIFY(Band(rig, 79, 96, 287, 339, qRgb(255, 0, 0)));
    // Set Point (30, 447)-(84, 464) and Initial Value (140, 446)-(193, 463).
    QCOMPARE(rig.pixel(30, 447), kSilverRgb);
    QCOMPARE(rig.pixel(83, 463), kSilverRgb);
    QCOMPARE(rig.pixel(140, 446), kSilverRgb);
    QCOMPARE(rig.pixel(192, 462), kSilverRgb);
    QCOMPARE(rig.window->lblControl->text(), QStringLiteral("PID"));

    // The indicator's words follow the language: drawn at x 154 from y 338.
    rig.window->DrawRed();
    QCOMPARE(rig.state->temp.lightState, 2);
    const QImage english = rig.window->imgPanel->image().copy(154, 338, 66, 40);
    const LanguageScope inSpanish(rig.state->shell, Language::Spanish);
    QCOMPARE(rig.window->windowTitle(), QString::fromUtf8("Simulación de la Temperatura"));
    QCOMPARE(rig.window->lblEnterValue->text(), QStringLiteral("Valor entero"));
    QCOMPARE(rig.window->lblControl->text(), QStringLiteral("PID"));
    QCOMPARE(rig.window->btnStart->text(), QStringLiteral("EMPEZAR"));
    QVERIFY(rig.window->imgPanel->image().copy(154, 338, 66, 40) != english);
}

void LoopWindowsTest::openRunMatchesHeadlessWithoutMarks()
{
    LoopRig<TfrmOpen> rig(Exercise::Open);
    rig.window->waveform()->chkStep->click();
    QVERIFY(rig.enter(kCodeWaveRow3, 10));
    rig.run({{100, [&] { velmor::test::Button(*rig.graph, "btnChokeDown")->click(); }},
             {150, [&] { QVERIFY(rig.enter(kCodeWaveRow2, 30)); }}},
            300);
    const auto r = Headless(Exercise::Open, {{"openWaveform", "4"}, {"waveC", "10"}},
                            {{100, {{"gateValvePercent", "90"}}}, {150, {{"waveB", "30"}}}}, 300);
    QVERIFY(SameRun(*rig.state, *r));
    // No settings mark anywhere on the plot, and no settings box.
    const QImage& plot = rig.graph->panel();
    for (int y = 47; y < 361; ++y) {
        for (int x = 38; x < 489; ++x) {
            QVERIFY((plot.pixel(x, y) & 0xFFFFFF) != 0xD2A300u);
        }
    }
}

void LoopWindowsTest::openGaugesAndActivationGuard()
{
    LoopRig<TfrmOpen> rig(Exercise::Open);
    // Output 80 %: a black bar of 210 pixels from 130; flow 0 leaves the
    // aqua bar empty.
    QVERIFY(Band(rig, 16, 33, 130, 339, qRgb(0, 0, 0)));
    QVERIFY(Band(rig, 16, 33, 77, 129, kSilverRgb));
    QVERIFY(Band(rig, 79, 96, 77, 339, kSilverRgb));
    QCOMPARE(rig.state->run.outputPercent, 80.0f);
    // Row 3 takes 0.5 s here, not only whole seconds from 1 as elsewhere.
    rig.window->waveform()->chkSine->click();
    QVERIFY(rig.enter(kCodeWaveRow3, 0.5f));
    QCOMPARE(rig.state->open.waveParams.C(kSine), 0.5f);

    // Just after activation a waveform click only snaps back.
    rig.window->FormActivate();
    QVERIFY(rig.window->tmrTrip->isActive());
    QVERIFY(rig.window->tmrTrip->interval() <= 500); // only a moment
    // The waveform panel's names follow the language.
    const QString sine = rig.window->waveform()->chkSine->accessibleName();
    {
        const LanguageScope inSpanish(rig.state->shell, Language::Spanish);
        QVERIFY(rig.window->waveform()->chkSine->accessibleName() != sine);
    }
    rig.window->waveform()->chkStep->click();
    QCOMPARE(rig.state->open.openWaveform, kSine);
    QVERIFY(rig.window->waveform()->chkSine->isChecked());
    QTRY_VERIFY(!rig.state->open.openActivating);
    rig.window->waveform()->chkStep->click();
    QCOMPARE(rig.state->open.openWaveform, kStep);
}

void LoopWindowsTest::batchRunEndsAtTheExpectedTime()
{
    LoopRig<TfrmBatch> rig(Exercise::Batch);
    QVERIFY(rig.enter(kCodeExpectedTime, 60));
    QVERIFY(rig.enter(kCodeBatchTempSP, 45));
    QVERIFY(rig.enter(kCodeSetPoint, 1.2f));
    rig.run({{100, [&] { QVERIFY(rig.enter(kCodeTempPG, 15)); }},
             {200, [&] { rig.window->volumePanel()->chkD->click(); }},
             {300, [&] { QVERIFY(rig.enter(kCodeSumpTemperature, 12)); }}},
            -1);
    // 60 s at 0.1 s: 600 records, then START is back with the menus.
    QCOMPARE(rig.state->run.sampleCount, 600);
    QVERIFY(rig.window->btnStart->isEnabled());
    QVERIFY(!rig.window->btnStop->isEnabled());
    QVERIFY(rig.main.runMenus);
    const auto r = Headless(
        Exercise::Batch, {{"expectedTime", "60"}, {"batchTempSP", "45"}, {"batchVolumeSP", "1.2"}},
        {{100, {{"batchTempGain", "15"}}},
         {200, {{"chkVolD", "0"}}},
         {300, {{"sumpTemperature", "12"}}}},
        -1);
    QVERIFY(SameRun(*rig.state, *r));
}

void LoopWindowsTest::batchBoxesAndSpanish()
{
    LoopRig<TfrmBatch> rig(Exercise::Batch);
    // The value boxes of this window are silver round their numbers.
    for (const QPoint& corner :
         {QPoint(30, 364), QPoint(83, 380), QPoint(142, 364), QPoint(142, 447), QPoint(28, 72),
          QPoint(79, 88), QPoint(48, 205), QPoint(159, 206), QPoint(49, 304), QPoint(160, 304)}) {
        QVERIFY2(rig.pixel(corner.x(), corner.y()) == kSilverRgb,
                 qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
    }
    QCOMPARE(rig.window->btnVolControl->text(), QStringLiteral("PID"));
    // Each panel's boxes hand the keypad their own codes: 1..4 for the
    // volume loop, 11..14 for the temperature loop.
    const std::pair<ClickArea*, int> boxes[] = {
        {rig.window->volumePanel()->imgPG, kCodePG},
        {rig.window->volumePanel()->imgD, kCodeD},
        {rig.window->temperaturePanel()->imgPG, kCodeTempPG},
        {rig.window->temperaturePanel()->imgI, kCodeTempI},
        {rig.window->imgTempSetP, kCodeBatchTempSP},
        {rig.window->imgSumpTank, kCodeSumpTemperature}};
    for (const auto& [box, code] : boxes) {
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(rig.state->keypad.keypadTarget, code);
    }
    QCOMPARE(rig.state->keypad.keypadOld, rig.state->batch.sumpTemperature);
    const LanguageScope inSpanish(rig.state->shell, Language::Spanish);
    QCOMPARE(rig.window->windowTitle(), QString::fromUtf8("Simulación del Volumen del Lote"));
    QCOMPARE(rig.window->lblVolSetpoint->text(), QStringLiteral("SP Vol"));
    QCOMPARE(rig.window->lblTempSetpoint->text(), QStringLiteral("SP Temp"));
    QCOMPARE(rig.window->lblSumpTank->text(), QStringLiteral("Tanque Dep."));
    QCOMPARE(rig.window->lblVolEnterValue->text(), QStringLiteral("Valor Entero"));
    QCOMPARE(rig.window->lblSumpTankEnterValue->text(), QStringLiteral("Enter Value"));
    QCOMPARE(rig.window->btnTempControl->text(), QStringLiteral("PID"));
    QCOMPARE(rig.window->lblPG2->text(), QStringLiteral("Kp"));
}

void LoopWindowsTest::closingFollowsEachWindowsRule()
{
    // Level, Open and Batch stop the run at once; Temperature leaves it to
    // the shell. Level also takes back Save and Print.
    {
        LoopRig<TfrmLevel> rig(Exercise::Level);
        QSignalSpy asks(rig.window.get(), &LoopWindow::closeRequested);
        rig.main.fileCommands = true;
        rig.window->btnStartClick();
        rig.window->close();
        QVERIFY(!rig.state->run.runActive);
        QVERIFY(!rig.window->driver()->running());
        QCOMPARE(asks.count(), 1);
        QCOMPARE(asks.at(0).at(0).value<Exercise>(), Exercise::Level);
        QVERIFY(!rig.main.fileCommands);
        QVERIFY(!rig.main.checked);
        QVERIFY(rig.main.keypadHides > 0);
    }
    {
        LoopRig<TfrmTemperature> rig(Exercise::Temperature);
        QSignalSpy asks(rig.window.get(), &LoopWindow::closeRequested);
        rig.window->btnStartClick();
        rig.window->btnMenu->click();
        QVERIFY(rig.state->run.runActive);
        QCOMPARE(asks.count(), 1);
        QCOMPARE(asks.at(0).at(0).value<Exercise>(), Exercise::Temperature);
        QVERIFY(!rig.main.fileNew);
    }
    {
        LoopRig<TfrmOpen> rig(Exercise::Open);
        QSignalSpy asks(rig.window.get(), &LoopWindow::closeRequested);
        rig.window->btnStartClick();
        rig.window->close();
        QVERIFY(!rig.window->driver()->running());
        QCOMPARE(asks.count(), 1);
        QCOMPARE(asks.at(0).at(0).value<Exercise>(), Exercise::Open);
    }
    {
        LoopRig<TfrmBatch> rig(Exercise::Batch);
        QSignalSpy asks(rig.window.get(), &LoopWindow::closeRequested);
        rig.window->btnStartClick();
        rig.state->shell.appRunning = false;
        rig.window->close();
        QVERIFY(!rig.window->driver()->running());
        QVERIFY(rig.window->btnStart->isEnabled());
        // While the program ends the window asks nothing.
        QCOMPARE(asks.count(), 0);
    }
}

VELMOR_TEST_MAIN(LoopWindowsTest, exercises)
#include "LoopWindowsTest.moc"
