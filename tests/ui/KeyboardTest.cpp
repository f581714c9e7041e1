// The windows from the keyboard alone: the Tab chain of each window in
// reading order, Enter and Space on a value box doing what a click does,
// the Trends cursor from the keys against the mouse's records, and a whole
// Flow exercise made with key events only.
#include "FakeMain.h"
#include "FocusChain.h"
#include "LanguageScope.h"
#include "ProgramFixture.h"
#include "TrendControls.h"
#include "WindowRun.h"

#include "ui/analysis/AnalysisMenu.h"
#include "ui/analysis/TfrmRunFigures.h"
#include "ui/exercises/TfrmBatch.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/exercises/TfrmLevel.h"
#include "ui/exercises/TfrmOpen.h"
#include "ui/exercises/TfrmTemperature.h"
#include "ui/mimic/MimicView.h"
#include "ui/mimic/TfrmManual.h"
#include "ui/trends/TfrmGraph.h"

#include <QCheckBox>
#include <QMdiArea>
#include <QRadioButton>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

using namespace velmor;
using velmor::test::FakeMain;
using velmor::test::FollowChain;
using velmor::test::NameOf;

namespace {

struct LoopRig {
    std::unique_ptr<VelmorState> state = std::make_unique<VelmorState>();
    FakeMain main;
    std::unique_ptr<TfrmGraph> graph;
    std::unique_ptr<LoopWindow> window;

    template <typename W> static std::unique_ptr<LoopRig> Make(Exercise e, const char* form)
    {
        auto rig = std::make_unique<LoopRig>();
        rig->state->shell.currentForm = form;
        rig->graph = std::make_unique<TfrmGraph>(*rig->state, e);
        rig->window = std::make_unique<W>(*rig->state, rig->graph.get(), &rig->main);
        return rig;
    }
    bool show()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        return QTest::qWaitForWindowActive(window.get());
    }
};

std::vector<QWidget*> Controller(ControllerPanel* c)
{
    return {c->imgPG, c->imgPB, c->chkI, c->imgI, c->chkD, c->imgD};
}

// The five waveform buttons are one stop, as a group of radio buttons is
// everywhere: the arrows choose among them.
std::vector<QWidget*> Waveform(WaveformPanel* w)
{
    return {w->chkFlat, w->imgSetA, w->imgSetB, w->imgSetC};
}

std::vector<QWidget*> Join(std::initializer_list<std::vector<QWidget*>> parts)
{
    std::vector<QWidget*> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// The windows with the order their stops are read in, before a run: STOP
// is disabled and no stop, nor is a blank waveform row (each window shows
// the Sine waveform, all rows in use).
struct WindowCase {
    const char* name;
    std::function<std::unique_ptr<LoopRig>()> make;
    std::function<std::vector<QWidget*>(LoopWindow&)> order;
};

template <typename W> W& As(LoopWindow& w)
{
    return dynamic_cast<W&>(w);
}

std::vector<WindowCase> Windows()
{
    return {
        {"Flow", [] { return LoopRig::Make<TfrmFlow>(Exercise::Flow, "frmFlow"); },
         [](LoopWindow& w) {
             auto& f = As<TfrmFlow>(w);
             return Join({{f.topGauge(), f.bottomGauge(), f.btnStart, f.btnMenu, f.sampleItem(),
                           f.btnControl},
                          Controller(f.controller()),
                          {f.runLight()},
                          Waveform(f.waveform())});
         }},
        {"Level", [] { return LoopRig::Make<TfrmLevel>(Exercise::Level, "frmLevel"); },
         [](LoopWindow& w) {
             auto& l = As<TfrmLevel>(w);
             return Join({{l.topGauge(), l.bottomGauge(), l.runLight(), l.btnStart, l.btnMenu,
                           l.sampleItem()},
                          Controller(l.controller()),
                          {l.imgInitialValue, l.chkAutodrain, l.drainLamp()},
                          Waveform(l.waveform())});
         }},
        {"Open", [] { return LoopRig::Make<TfrmOpen>(Exercise::Open, "frmOpen"); },
         [](LoopWindow& w) {
             auto& o = As<TfrmOpen>(w);
             return Join({{o.topGauge(), o.bottomGauge(), o.runLight(), o.btnStart, o.btnMenu,
                           o.sampleItem()},
                          Waveform(o.waveform())});
         }},
        {"Temperature",
         [] { return LoopRig::Make<TfrmTemperature>(Exercise::Temperature, "frmTemperature"); },
         [](LoopWindow& w) {
             auto& t = As<TfrmTemperature>(w);
             return Join({{t.topGauge(), t.bottomGauge(), t.btnStart, t.btnMenu, t.sampleItem()},
                          Controller(t.controller()),
                          {t.runLight(), t.imgSetP, t.imgInitVal}});
         }},
        {"Batch", [] { return LoopRig::Make<TfrmBatch>(Exercise::Batch, "frmBatch"); },
         [](LoopWindow& w) {
             auto& b = As<TfrmBatch>(w);
             return Join({{b.sampleItem(), b.imgExpTime, b.runLight(), b.btnStart, b.btnMenu},
                          Controller(b.volumePanel()),
                          Controller(b.temperaturePanel()),
                          {b.imgVolSetP, b.imgTempSetP, b.imgSumpTank}});
         }},
    };
}

WaveformPanel* WaveformOf(LoopWindow& w)
{
    if (auto* f = dynamic_cast<TfrmFlow*>(&w)) {
        return f->waveform();
    }
    if (auto* l = dynamic_cast<TfrmLevel*>(&w)) {
        return l->waveform();
    }
    if (auto* o = dynamic_cast<TfrmOpen*>(&w)) {
        return o->waveform();
    }
    return nullptr;
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void tabFollowsReadingOrderInEachLoopWindow();
    void tabOrderOfTrendsAndMimic();
    void enterAndSpaceOnAValueBoxDoWhatAClickDoes();
    void focusFrameOnlyForKeyboardFocus();
    void levelDrainLampReadsTheDrain();
    void runButtonsKeepTheFocusAcrossARun();
    void gaugeChangesAreToldAtMostTwiceASecond();
    void wholeFlowExerciseFromTheKeyboard();
};

void KeyboardTest::tabFollowsReadingOrderInEachLoopWindow()
{
    for (const WindowCase& c : Windows()) {
        auto rig = c.make();
        if (WaveformPanel* w = WaveformOf(*rig->window)) {
            w->chkSine->click();
        }
        QVERIFY2(rig->show(), c.name);
        const std::vector<QWidget*> order = c.order(*rig->window);
        for (QWidget* stop : order) {
            QVERIFY2(stop != nullptr, c.name);
        }
        const QString failure = FollowChain(order);
        QVERIFY2(failure.isEmpty(),
                 qPrintable(QLatin1String(c.name) + QStringLiteral(": ") + failure));
    }
}

void KeyboardTest::tabOrderOfTrendsAndMimic()
{
    {
        auto rig = LoopRig::Make<TfrmFlow>(Exercise::Flow, "frmFlow");
        TfrmGraph& g = *rig->graph;
        g.show();
        QApplication::setActiveWindow(&g);
        QVERIFY(QTest::qWaitForWindowActive(&g));
        using velmor::test::Button;
        using velmor::test::Edit;
        using velmor::test::TraceBox;
        // The Flow window's traces and gate valve; the pump is off in PID
        // mode, and no stop while disabled.
        const std::vector<QWidget*> order = {g.plotItem(),
                                             Edit(g, "txtStartTime"),
                                             Edit(g, "txtTrendBase"),
                                             TraceBox(g, "chkFlowSP"),
                                             TraceBox(g, "chkFlowMV"),
                                             TraceBox(g, "chkFlowQ"),
                                             Button(g, "btnChokeUp"),
                                             Button(g, "btnChokeDown")};
        const QString failure = FollowChain(order);
        QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("Trends: ") + failure));
        // A window brought forward gives the plot the focus, never an edit
        // (whose text cursor would show to a mouse user).
        QVERIFY(!Edit(g, "txtStartTime")->hasFocus());
    }
    {
        VelmorState state;
        std::int64_t now = 0;
        TfrmManual manual(state, nullptr, [&now] { return now; });
        manual.show();
        QApplication::setActiveWindow(&manual);
        QVERIFY(QTest::qWaitForWindowActive(&manual));
        const QString failure = FollowChain(
            {manual.imgScroll, manual.imgTankFull.item, manual.SolenoidDrain,
             manual.imgDrainLight.item, manual.SolenoidDiverter, manual.imgDivLight.item,
             manual.imgCooler, manual.imgCoolLight.item, manual.imgStirrer, manual.btnMenu});
        QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("Manual: ") + failure));
        // The knob from the arrows, the parts from Space.
        manual.imgScroll->setFocus(Qt::TabFocusReason);
        const int before = state.mimic.pumpKnobX;
        now += 10000;
        QTest::keyClick(manual.imgScroll, Qt::Key_Right);
        QVERIFY(state.mimic.pumpKnobX > before);
        now += 10000;
        QTest::keyClick(manual.imgScroll, Qt::Key_End);
        QCOMPARE(state.mimic.pumpKnobX, kKnobRight);
        // Down the knob goes by a page, then by a step; up again alike.
        const auto moved = [&](Qt::Key key) {
            const int x = state.mimic.pumpKnobX;
            now += 10000;
            QTest::keyClick(manual.imgScroll, key);
            return state.mimic.pumpKnobX - x;
        };
        const int pageDown = moved(Qt::Key_PageDown);
        const int stepDown = moved(Qt::Key_Down);
        QVERIFY2(pageDown < stepDown && stepDown < 0, qPrintable(QString::number(pageDown)));
        const int pageUp = moved(Qt::Key_PageUp);
        const int stepUp = moved(Qt::Key_Up);
        QVERIFY2(pageUp > stepUp && stepUp > 0, qPrintable(QString::number(pageUp)));
        const bool drain = state.mimic.mimicDrainOpen;
        manual.SolenoidDrain->setFocus(Qt::TabFocusReason);
        QCOMPARE(manual.imgDrainLight.item->valueText(), QStringLiteral("dark"));
        QTest::keyClick(manual.SolenoidDrain, Qt::Key_Space);
        QCOMPARE(state.mimic.mimicDrainOpen, !drain);
        // The lamp that came on says so; a click on it puts it out again.
        QCOMPARE(manual.imgDrainLight.item->spokenName(),
                 QStringLiteral("Drain valve open lamp: lit"));
        QTest::mouseClick(manual.DrainValveInd, Qt::LeftButton);
        QCOMPARE(manual.imgDrainLight.item->valueText(), QStringLiteral("dark"));
        const bool stirrer = state.mimic.mimicStirrerOn;
        QTest::keyClick(manual.imgStirrer, Qt::Key_Space);
        QCOMPARE(state.mimic.mimicStirrerOn, !stirrer);
    }
}

void KeyboardTest::enterAndSpaceOnAValueBoxDoWhatAClickDoes()
{
    // Every enabled box of every window: the mouse's click and the keys
    // open the keypad on the same field with the same range and value.
    for (const WindowCase& c : Windows()) {
        auto rig = c.make();
        if (WaveformPanel* w = WaveformOf(*rig->window)) {
            w->chkSine->click();
        }
        QVERIFY2(rig->show(), c.name);
        int boxes = 0;
        for (ClickArea* box : rig->window->imgPanel->findChildren<ClickArea*>()) {
            if (!box->isEnabled()) {
                continue;
            }
            ++boxes;
            const QString where = QLatin1String(c.name) + QLatin1Char(' ') + NameOf(box);
            rig->state->keypad = {};
            QTest::mouseClick(box, Qt::LeftButton);
            const KeypadState byMouse = rig->state->keypad;
            const int mouseShows = rig->main.keypadShows;
            QVERIFY2(mouseShows > 0, qPrintable(where));
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
                rig->state->keypad = {};
                box->setFocus(Qt::TabFocusReason);
                QVERIFY2(box->hasFocus(), qPrintable(where));
                const int shows = rig->main.keypadShows;
                QTest::keyClick(box, key);
                QVERIFY2(rig->main.keypadShows == shows + 1, qPrintable(where));
                const KeypadState& k = rig->state->keypad;
                QVERIFY2(k.keypadTarget == byMouse.keypadTarget, qPrintable(where));
                QVERIFY2(k.keypadMin == byMouse.keypadMin && k.keypadMax == byMouse.keypadMax,
                         qPrintable(where));
                QVERIFY2(k.keypadOld == byMouse.keypadOld, qPrintable(where));
            }
            // A box read as its label and the value it shows.
            QVERIFY2(!box->label().isEmpty() && !box->valueText().isEmpty(), qPrintable(where));
        }
        QVERIFY2(boxes >= 3, c.name);
    }
}

void KeyboardTest::focusFrameOnlyForKeyboardFocus()
{
    auto rig = LoopRig::Make<TfrmFlow>(Exercise::Flow, "frmFlow");
    QVERIFY(rig->show());
    auto& flow = dynamic_cast<TfrmFlow&>(*rig->window);
    ClickArea* pg = flow.controller()->imgPG;
    const QRect box = pg->geometry();
    const auto grabBox = [&] { return flow.grab(box.translated(flow.imgPanel->pos())).toImage(); };
    const QImage plain = grabBox();
    // A click opens the keypad and leaves the box as it was.
    QTest::mouseClick(pg, Qt::LeftButton);
    QVERIFY(!pg->hasFocus());
    QCOMPARE(grabBox(), plain);
    // Tab onto it: a frame in the highlight colour round the box.
    flow.topGauge()->setFocus(Qt::OtherFocusReason);
    while (QApplication::focusWidget() != pg) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const QImage framed = grabBox();
    QVERIFY(framed != plain);
    QCOMPARE(framed.pixelColor(1, box.height() / 2), flow.palette().color(QPalette::Highlight));
}

void KeyboardTest::levelDrainLampReadsTheDrain()
{
    auto rig = LoopRig::Make<TfrmLevel>(Exercise::Level, "frmLevel");
    auto& level = As<TfrmLevel>(*rig->window);
    for (const bool open : {true, false, true}) {
        rig->state->level.drainOpen = open;
        level.DrawDrain();
        QCOMPARE(level.drainLamp()->spokenName(), open ? QStringLiteral("Drain valve: open")
                                                       : QStringLiteral("Drain valve: closed"));
    }
    const LanguageScope inSpanish(rig->state->shell, Language::Spanish);
    QCOMPARE(level.drainLamp()->spokenName(), QStringLiteral("Válvula de vaciado: abierta"));
}

void KeyboardTest::runButtonsKeepTheFocusAcrossARun()
{
    // Space on START and then Space again must stop the run, not close the
    // window: the focus goes from START to STOP and back.
    auto rig = LoopRig::Make<TfrmFlow>(Exercise::Flow, "frmFlow");
    QVERIFY(rig->show());
    LoopWindow& w = *rig->window;
    w.driver()->setInterval(std::chrono::milliseconds(0));
    w.btnStart->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.btnStart, Qt::Key_Space);
    QTRY_VERIFY(rig->state->run.sampleCount > 20);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.btnStop));
    QCOMPARE(w.runLight()->valueText(), QStringLiteral("Process running"));
    QTest::keyClick(w.btnStop, Qt::Key_Space);
    QTRY_VERIFY(!w.driver()->running());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.btnStart));
    QCOMPARE(w.runLight()->valueText(), QStringLiteral("Process stopped"));
    QVERIFY(rig->main.checked); // MENU was never pressed
}

void KeyboardTest::gaugeChangesAreToldAtMostTwiceASecond()
{
    auto rig = LoopRig::Make<TfrmFlow>(Exercise::Flow, "frmFlow");
    auto& flow = dynamic_cast<TfrmFlow&>(*rig->window);
    QSignalSpy told(flow.bottomGauge(), &PanelItem::told);
    // Ten cycles' worth of flows at once: at most the first is told at once
    // (none if the window's own first values were told just now), the rest
    // wait, and the last value is the one told at the end of the wait.
    for (int k = 1; k <= 10; ++k) {
        rig->state->run.flowRate = 0.1f * static_cast<float>(k);
        flow.DrawMV();
    }
    QVERIFY(told.count() <= 1);
    const int before = static_cast<int>(told.count());
    QVERIFY(told.wait());
    QCOMPARE(told.count(), before + 1);
    QCOMPARE(told.last().at(0).toString(), QStringLiteral("Flow (L/min): 1.00"));
    // Just told: the next change waits for its turn too.
    rig->state->run.flowRate = 1.5f;
    flow.DrawMV();
    QCOMPARE(told.count(), before + 1);
    QVERIFY(told.wait());
    QCOMPARE(told.last().at(0).toString(), QStringLiteral("Flow (L/min): 1.50"));
    QCOMPARE(flow.bottomGauge()->number().value_or(0), 1.5);
}

void KeyboardTest::wholeFlowExerciseFromTheKeyboard()
{
    velmor::test::Program p;
    TfrmMain& m = p.m();
    QApplication::setActiveWindow(&m);
    QVERIFY(QTest::qWaitForWindowActive(&m));
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* target = QApplication::activePopupWidget() != nullptr
                              ? QApplication::activePopupWidget()
                              : QApplication::focusWidget();
        if (target == nullptr) {
            target = QApplication::activeWindow();
        }
        QTest::keyClick(target, k, mods);
    };
    const auto tabTo = [&](QWidget* target) {
        for (int k = 0; k < 60 && QApplication::focusWidget() != target; ++k) {
            key(Qt::Key_Tab);
        }
        return QApplication::focusWidget() == target;
    };

    // Control > Flow.
    key(Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
    key(Qt::Key_F);
    LoopWindow* window = velmor::test::OpenedWindow(m, Exercise::Flow);
    QVERIFY(window != nullptr);
    auto* flow = dynamic_cast<TfrmFlow*>(window);
    QTRY_VERIFY(flow->isAncestorOf(QApplication::focusWidget()));

    // PG = 2 through the keypad.
    QVERIFY(tabTo(flow->controller()->imgPG));
    key(Qt::Key_Return);
    QTRY_VERIFY(m.keypad()->isVisible() && m.keypad()->txtValue->hasFocus());
    QTest::keyClicks(m.keypad()->txtValue, QStringLiteral("2"));
    key(Qt::Key_Return);
    QTRY_VERIFY(!m.keypad()->isVisible());
    QCOMPARE(p.state->flow.flowGain, 2.0f);

    // The Step waveform: Tab to the waveform buttons, arrows to Step.
    QApplication::setActiveWindow(&m);
    QTRY_VERIFY(flow->isAncestorOf(QApplication::focusWidget()));
    QVERIFY(tabTo(flow->waveform()->chkFlat));
    for (int k = 0; k < 3; ++k) {
        key(Qt::Key_Down);
    }
    QTRY_COMPARE(p.state->flow.flowWaveform, 4);

    // START, then STOP with the focus START hands on.
    QVERIFY(tabTo(flow->btnStart));
    key(Qt::Key_Space);
    QTRY_VERIFY(p.state->run.sampleCount >= 300);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(flow->btnStop));
    key(Qt::Key_Space);
    QTRY_VERIFY(!flow->driver()->running());

    // Ctrl+Tab to the Trends window; the cursor from the keys.
    TfrmGraph* graph = flow->graph();
    key(Qt::Key_Tab, Qt::ControlModifier);
    QTRY_VERIFY(m.mdiArea()->activeSubWindow() == m.graphSubWindow());
    QTRY_VERIFY(graph->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == graph);
    QVERIFY(tabTo(graph->plotItem()));
    key(Qt::Key_Home);
    QCOMPARE(graph->view().cursorRecord, 1);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    QCOMPARE(graph->view().cursorRecord, 3);
    key(Qt::Key_End);
    QCOMPARE(graph->view().cursorRecord, p.state->run.sampleCount);
    QVERIFY(graph->plotItem()->valueText().contains(QStringLiteral("Flow")));
    key(Qt::Key_Escape);
    QVERIFY(!graph->view().cursorShown);
    // And back to the exercise.
    key(Qt::Key_Tab, Qt::ControlModifier);
    QTRY_VERIFY(m.mdiArea()->activeSubWindow() == m.exerciseSubWindow());

    // Analysis > Run figures.
    key(Qt::Key_A, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
    key(Qt::Key_F);
    QTRY_VERIFY(m.analysisMenu()->figuresWindow() != nullptr &&
                m.analysisMenu()->figuresWindow()->isVisible());
}

VELMOR_TEST_MAIN(KeyboardTest, shell)

#include "KeyboardTest.moc"
