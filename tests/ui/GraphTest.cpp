// The Trends window, rendered offscreen at device pixel ratio 1: pixels of
// its panel picture read at the coordinates the drawing rules give.
#include "LanguageScope.h"
#include "TrendControls.h"
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/FlowEngine.h"
#include "core/exercises/LoopEngine.h"
#include "core/trends/TrendTables.h"
#include "ui/common/PanelView.h"
#include "ui/trends/Scales.h"
#include "ui/trends/TfrmGraph.h"
#include "ui/trends/TrendLayout.h"
#include "ui/trends/TrendView.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <limits>
#include <memory>
#include <vector>

using namespace velmor;
using namespace velmor::test;

namespace {

const QColor kYellow(255, 255, 0);
const QColor kAqua(0, 255, 255);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kGrey(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kMark(210, 163, 0);

// A window as the shell opens it: the exercise's opening state, then the
// Trends window.
struct Opened {
    explicit Opened(Exercise e)
    {
        OpenExerciseState(state, e, true);
        window = std::make_unique<TfrmGraph>(state, e);
    }
    QColor at(int x, int y) const { return window->panel().pixelColor(x, y); }
    VelmorState state;
    std::unique_ptr<TfrmGraph> window;
};

int CountColour(const QImage& img, const QRect& r, const QColor& c)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            n += img.pixelColor(x, y) == c ? 1 : 0;
        }
    }
    return n;
}

bool AnyNotColour(const QImage& img, const QRect& r, const QColor& c)
{
    return CountColour(img, r, c) < r.width() * r.height();
}

const QRect kPlot(38, 47, 451, 314);

// Fills records 1..count at 0.1 s (record n at (n - 1) x 0.1 s) with the
// given flow values and builds the second index as a finished run does.
void FillFlowLog(VelmorState& s, int count, float sp, float mv, float q)
{
    s.log.resetSecondIndex();
    for (int n = 1; n <= count; ++n) {
        SampleRecord& r = s.log.record(n);
        r.time = (n - 1) * 0.1;
        r.field(kFieldFlowSP) = sp;
        r.field(kFieldFlowMV) = mv;
        r.field(kFieldOutput) = q;
        r.field(kFieldFlowPG) = 1;
        r.segment = 1;
        s.log.secondIndexStep(r.time, n);
    }
    s.run.sampleCount = count;
    s.log.finishSecondIndex(count);
}

const QColor kArrowLit(255, 236, 64);
const QColor kKnob(208, 208, 208);

// Enter typed into one of the time edits.
void TypeAndEnter(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// A finished Flow log to browse: records at 0.1 s, browsing allowed.
void Browsable(Opened& o, int count, float sp = 1.0f, float mv = 1.0f, float q = 50.0f)
{
    FillFlowLog(o.state, count, sp, mv, q);
    o.state.trend.trendNoData = false;
    o.window->DrawTrend();
}

} // namespace

class GraphTest : public QObject {
    Q_OBJECT

private slots:
    void configurationPerExercise();
    void leftScalePictures();
    void textsInBothLanguagesAndHeading();
    void scaleFunctionsOnThePlot();
    void liveFlowRunTracesAndScrolls();
    void liveTemperatureTraceFollowsTheMeasuredValue();
    void settingsChangeMidRunDrawsAMark();
    void aNewRunShowsItsOwnSettings();
    void marksAtEachNewSegmentInARedraw();
    void gridLinesAndLabelsPerSpan();
    void redrawFromAHeadlessRunAndCheckBoxes();
    void checkBoxesOnlyBlankWhileInitialising();
    void viewPastTheIndexStaysInside();
    void barsShowTheirRecord();
    void settingsBox();
    void gateAndPump();
    void closeIsRefused();
    void scaleNumbersUseTheSystemsDecimalMark();
    void timeEditsTakeDigitsOnly();
    void arrowsScrollWithinTheLog();
    void typedStartTimeAndTimeBase();
    void sliderClicksAndDrags();
    void cursorLineFollowsSpanAndView();
    void readOutNamesTheNearestTrace();
    void keyboardCursorAgreesWithTheMouse();
    void drawnAtPixelRatioTwo();
    void savedRunDrawnBehind();
    void aNewRunKeepsTheCursorOnlyWithoutEarlierData();
    void aRunBrowsedBackIsNotDrawnOver();
    void aLoadedRunShowsFromItsStart();
    void settingsColumnsStandByTheirPlace();
    void barHeightsRoundHalvesToEven();
};

void GraphTest::configurationPerExercise()
{
    struct Case {
        Exercise e;
        const char* caption;
        int span;
        std::vector<const char*> checked;
        std::vector<const char*> disabled;
    };
    const std::vector<Case> cases = {
        {Exercise::Flow,
         "Flow Trend",
         60,
         {"chkFlowSP", "chkFlowMV", "chkFlowQ"},
         {"chkTempSP", "chkTempMV", "chkTempQ", "chkVolSP", "chkVolMV"}},
        {Exercise::Temperature,
         "Temperature Trend",
         120,
         {"chkTempSP", "chkTempMV", "chkTempQ"},
         {"chkFlowSP", "chkFlowMV", "chkFlowQ", "chkVolSP", "chkVolMV"}},
        {Exercise::Batch,
         "Batch Volume Trend",
         180,
         {"chkFlowQ", "chkTempSP", "chkTempMV", "chkTempQ", "chkVolSP", "chkVolMV"},
         {"chkFlowSP", "chkFlowMV"}},
        {Exercise::Level,
         "Fluid Level Trend",
         120,
         {"chkLevelSP", "chkLevelMV", "chkFlowQ"},
         {"chkTempSP", "chkTempMV", "chkTempQ", "chkVolSP", "chkVolMV"}},
        {Exercise::Open,
         "Open Loop Trend",
         60,
         {"chkFlowMV", "chkFlowQ"},
         {"chkFlowSP", "chkTempSP", "chkTempMV", "chkTempQ", "chkVolSP", "chkVolMV"}},
    };
    const std::vector<const char*> all = {"chkFlowSP",  "chkFlowMV", "chkFlowQ", "chkTempSP",
                                          "chkTempMV",  "chkTempQ",  "chkVolSP", "chkVolMV",
                                          "chkLevelSP", "chkLevelMV"};
    for (const Case& c : cases) {
        Opened o(c.e);
        TfrmGraph& w = *o.window;
        QCOMPARE(w.windowTitle(), QString::fromLatin1(c.caption));
        QCOMPARE(o.state.trend.trendSpan, c.span);
        QCOMPARE(Edit(w, "txtTrendBase")->text(), QString::number(c.span));
        QCOMPARE(Edit(w, "txtStartTime")->text(), QStringLiteral("0"));
        QCOMPARE(w.size(), QSize(524, 501));
        QCOMPARE(w.panel().size(), QSize(524, 501));
        QVERIFY(o.window->view().trendInitialising);
        for (auto box : all) {
            const auto named = [box](const char* n) { return QByteArray(n) == box; };
            const bool checked = std::any_of(c.checked.begin(), c.checked.end(), named);
            const bool disabled = std::any_of(c.disabled.begin(), c.disabled.end(), named);
            QCheckBox* b = TraceBox(w, box);
            QVERIFY2(b != nullptr, box);
            QCOMPARE(b->isChecked(), checked);
            QCOMPARE(b->isEnabled(), !disabled);
            if (disabled) {
                QCOMPARE(b->palette().color(QPalette::Window), kSilver);
            }
        }
        // On screen: each box's colour, or silver when disabled.
        const QImage shown = w.grab().toImage();
        QCOMPARE(shown.devicePixelRatio(), 1.0);
        const QCheckBox* firstBox =
            c.e == Exercise::Level ? TraceBox(w, "chkLevelSP") : TraceBox(w, "chkFlowSP");
        const QPoint inBox = firstBox->geometry().topRight() + QPoint(-3, 7);
        QCOMPARE(shown.pixelColor(inBox), firstBox->isEnabled() ? kYellow : kSilver);
        const QPoint inVolMV = TraceBox(w, "chkVolMV")->geometry().topRight() + QPoint(-3, 7);
        QCOMPARE(shown.pixelColor(inVolMV),
                 TraceBox(w, "chkVolMV")->isEnabled() ? QColor(0, 128, 0) : kSilver);
        const bool level = c.e == Exercise::Level;
        QCOMPARE(TraceBox(w, "chkLevelSP")->isHidden(), !level);
        QCOMPARE(TraceBox(w, "chkLevelMV")->isHidden(), !level);
        QCOMPARE(TraceBox(w, "chkFlowSP")->isHidden(), level);
        QCOMPARE(TraceBox(w, "chkFlowMV")->isHidden(), level);
        // The pump-output box is grey while its trace is white.
        QCOMPARE(TraceBox(w, "chkFlowQ")->palette().color(QPalette::Window),
                 TraceBox(w, "chkFlowQ")->isEnabled() ? kGrey : kSilver);
        const bool gate = c.e == Exercise::Flow || c.e == Exercise::Open;
        QCOMPARE(Button(w, "btnChokeUp")->isEnabled(), gate);
        QCOMPARE(Button(w, "btnChokeDown")->isEnabled(), gate);
        QVERIFY(!Button(w, "btnPump")->isEnabled());
        QCOMPARE(o.state.run.gateValvePercent, 100);
        QCOMPARE(o.state.log.secondIndex[780], 1);
    }
}

void GraphTest::leftScalePictures()
{
    // Graduation ticks of the left scale (x 30..35) sit at the y of each
    // graduation: 0.0..2.0 L/min in steps of 0.2, 0..6 L, or 0..100 in
    // steps of 10 (358 - v x 155.5, 358 - v x 311 / 6, 358 - v x 3.11,
    // rounded, halves to even); the pixels between are the silver ground.
    const std::vector<int> tenths{358, 327, 296, 265, 234, 202, 171, 140, 109, 78, 47};
    const std::vector<int> litres{358, 306, 254, 202, 151, 99, 47};
    struct Case {
        Exercise e;
        const std::vector<int>& ys;
    };
    const Case cases[] = {
        {Exercise::Flow, tenths},        {Exercise::Open, tenths},  {Exercise::Batch, litres},
        {Exercise::Temperature, tenths}, {Exercise::Level, tenths},
    };
    for (const Case& c : cases) {
        Opened o(c.e);
        for (std::size_t i = 0; i < c.ys.size(); ++i) {
            const int y = c.ys[i];
            QVERIFY2(o.at(31, y).lightness() < 60,
                     qPrintable(QString("tick %1 at y %2").arg(i).arg(y)));
            QCOMPARE(o.at(31, y + 2), kSilver);
            QCOMPARE(o.at(31, y - 2), kSilver);
        }
        // The right scale is always 0..100.
        for (int y : tenths) {
            QVERIFY(o.at(495, y).lightness() < 60);
        }
    }
    // The flow-rate and litres pictures replace the 0..100 scale (whose
    // steps of 10 % meet those of 0.2 L/min: only the numbers differ).
    Opened flow(Exercise::Flow);
    Opened temperature(Exercise::Temperature);
    Opened batch(Exercise::Batch);
    const QRect leftScale(2, 48, 34, 312);
    QVERIFY(flow.window->panel().copy(leftScale) != temperature.window->panel().copy(leftScale));
    QVERIFY(batch.window->panel().copy(leftScale) != temperature.window->panel().copy(leftScale));
    QVERIFY(batch.window->panel().copy(leftScale) != flow.window->panel().copy(leftScale));
}

void GraphTest::textsInBothLanguagesAndHeading()
{
    Opened o(Exercise::Flow);
    TfrmGraph& w = *o.window;
    QCOMPARE(TraceBox(w, "chkFlowQ")->text(), QStringLiteral("Pump Output"));
    QCOMPARE(Label(w, "lblLeftUnit")->text(), QStringLiteral("L/min"));
    QCOMPARE(Label(w, "lblRightUnit")->text(), QStringLiteral("%"));
    QCOMPARE(Label(w, "lblTimeBase")->text(), QStringLiteral("TimeBase"));

    w.Heading(QStringLiteral("run1.psm"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Flow Trend - run1.psm"));
    w.Heading(QStringLiteral("run2.psm"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Flow Trend - run2.psm"));

    const QRect labels(424, 430, 55, 63);
    const QImage englishLabels = w.panel().copy(labels);
    const LanguageScope inSpanish(o.state.shell, Language::Spanish);
    QCOMPARE(w.windowTitle(), QStringLiteral("Tendencias del Flujo - run2.psm"));
    // The settings box's labels are redrawn in Spanish ("Kp Flujo:" ...).
    QVERIFY(w.panel().copy(labels) != englishLabels);
    QVERIFY(AnyNotColour(w.panel(), labels, kSilver));
    QCOMPARE(TraceBox(w, "chkFlowQ")->text(), QStringLiteral("Q flujo"));
    QCOMPARE(TraceBox(w, "chkVolSP")->text(), QStringLiteral("SP vol"));
    QCOMPARE(Label(w, "lblStartTime")->text(), QStringLiteral("Tiempo Inicio"));
    QCOMPARE(Label(w, "lblSecs2")->text(), QStringLiteral("segs"));
    QCOMPARE(Label(w, "lblTimeBase")->text(), QStringLiteral("Tiempo Base"));
    QCOMPARE(Button(w, "btnChokeUp")->toolTip(), QStringLiteral("Más caudal"));
    QCOMPARE(Button(w, "btnPump")->toolTip(), QStringLiteral("Bomba"));

    Opened level(Exercise::Level);
    UseLanguage(level.state.shell, Language::Spanish);
    level.window->SetLanguage(); // built in Spanish already: no switch reaches it
    QCOMPARE(level.window->windowTitle(), QStringLiteral("Tendencias del Nivel del Fluido"));
    QCOMPARE(Label(*level.window, "lblLeftUnit")->text(), QStringLiteral("Nivel"));
    QCOMPARE(TraceBox(*level.window, "chkLevelMV")->text(), QStringLiteral("MV nivel"));

    UseLanguage(level.state.shell, Language::English);
    Opened batch(Exercise::Batch);
    QCOMPARE(Label(*batch.window, "lblRightUnit")->text(), QStringLiteral("°C / %"));
    QCOMPARE(TraceBox(*batch.window, "chkVolMV")->text(), QStringLiteral("Vol MV"));
}

void GraphTest::scaleFunctionsOnThePlot()
{
    QCOMPARE(PlotFixed(50), 202);
    QCOMPARE(PlotRate(1), 202);
    QCOMPARE(PlotRate(2.5f), 47);

    // A logged set point of 2.5 L/min lies on the top row of the plot, a
    // negative flow on the bottom one, 50 % output at y = 202.
    Opened o(Exercise::Flow);
    FillFlowLog(o.state, 601, 2.5f, -0.3f, 50.0f);
    o.window->DrawTrend();
    for (int x : {60, 200, 400}) {
        QCOMPARE(o.at(x, 47), kYellow);
        QCOMPARE(o.at(x, 358), kAqua);
        QCOMPARE(o.at(x, 202), kWhite);
        QCOMPARE(o.at(x, 48), kBlack);
        QCOMPARE(o.at(x, 357), kBlack);
    }
}

void GraphTest::liveFlowRunTracesAndScrolls()
{
    {
        // The set point alone: a flat 1.5 L/min after the first step from
        // the Flat slot's B value (record 1); 0.75 pixel per 0.1 s.
        Opened sp(Exercise::Flow);
        TraceBox(*sp.window, "chkFlowMV")->setChecked(false);
        TraceBox(*sp.window, "chkFlowQ")->setChecked(false);
        FlowEngine engine(sp.state, sp.window.get());
        engine.start();
        QVERIFY(sp.window->view().trendLive);
        for (int i = 0; i < 10; ++i) {
            engine.cycle();
        }
        const int ySP = PlotRate(1.5f);
        for (int x = 39; x < 46; ++x) {
            QCOMPARE(sp.at(x, ySP), kYellow);
        }
        QCOMPARE(sp.window->view().trendX, 46); // t = 1.0 s
        QCOMPARE(sp.at(46, ySP), kBlack);       // the end pixel is left out
        // The first segment climbs from B (0.5 L/min) in column 38.
        QCOMPARE(sp.at(38, PlotRate(0.5f)), kYellow);
        QCOMPARE(CountColour(sp.window->panel(), kPlot, kAqua), 0);
        QVERIFY(!sp.window->view().trendInitialising);
    }

    Opened o(Exercise::Flow);
    VelmorState& s = o.state;
    FlowEngine engine(s, o.window.get());
    engine.start();
    // t = 60 s is the last column; t = 60.1 s scrolls to start 10.
    while (s.run.sampleCount < 601) {
        engine.cycle();
    }
    QCOMPARE(o.window->view().trendX, 488);
    QCOMPARE(o.window->view().trendViewStart, 0);
    engine.cycle();
    QCOMPARE(o.window->view().trendViewStart, 10);
    QCOMPARE(Edit(*o.window, "txtStartTime")->text(), QStringLiteral("10"));
    QCOMPARE(o.window->view().trendX, 414);
    QCOMPARE(o.window->view().trendPrevX, 414);
    // The newest segment starts at x = 413; the output trace comes last.
    QCOMPARE(o.at(413, o.window->view().prevY(TraceId::FlowQ)), kWhite);
    // The plot was rebuilt for 10..70 s: no trace right of the newest point.
    QCOMPARE(CountColour(o.window->panel(), QRect(416, 48, 60, 300), kWhite), 0);
    QCOMPARE(CountColour(o.window->panel(), QRect(416, 48, 60, 300), kYellow), 0);
    QCOMPARE(CountColour(o.window->panel(), QRect(416, 48, 60, 300), kAqua), 0);
    engine.finish();
    QVERIFY(!o.window->view().trendLive);
}

void GraphTest::liveTemperatureTraceFollowsTheMeasuredValue()
{
    // Set point 60 degrees, far from the tank's 20: the measured trace
    // climbs from 20 below the flat set point line.
    Opened o(Exercise::Temperature);
    VelmorState& s = o.state;
    QVERIFY(UpdateDisplay(s, Exercise::Temperature, kCodeSetPoint, 60.0f,
                          KeypadOldFor(s, Exercise::Temperature, kCodeSetPoint)));
    std::unique_ptr<LoopEngine> engine = MakeEngine(Exercise::Temperature, s, o.window.get());
    engine->start();
    for (int i = 0; i < 200; ++i) {
        engine->cycle();
    }
    const float measured = s.run.measuredTemperature;
    QVERIFY(measured > 20.5f && measured < 50.0f);
    QCOMPARE(o.window->view().prevY(TraceId::TempMV), PlotFixed(measured));
    QCOMPARE(o.window->view().prevY(TraceId::TempSP), PlotFixed(60.0f));
    QVERIFY(o.at(o.window->view().trendPrevX, PlotFixed(measured)) != kBlack);
    engine->finish();
}

void GraphTest::settingsChangeMidRunDrawsAMark()
{
    Opened o(Exercise::Flow);
    VelmorState& s = o.state;
    FlowEngine engine(s, o.window.get());
    engine.start();
    for (int i = 0; i < 30; ++i) {
        engine.cycle();
    }
    QCOMPARE(o.window->view().trendSegmentShown, 1);
    QCOMPARE(CountColour(o.window->panel(), kPlot, kMark), 0);
    const QImage settingsBefore = o.window->panel().copy(480, 432, 38, 58);

    QVERIFY(UpdateDisplay(s, Exercise::Flow, kCodePG, 2.0f, s.flow.flowGain));
    engine.cycle();
    const int x = o.window->view().trendX;
    for (int y : {47, 100, 200, 300, 361}) {
        QCOMPARE(o.at(x, y), kMark);
        QCOMPARE(o.at(x - 1, y), kMark);
        QCOMPARE(o.at(x + 1, y), kMark);
    }
    QVERIFY(o.at(x - 2, 100) != kMark);
    QVERIFY(o.at(x + 2, 100) != kMark);
    QCOMPARE(o.window->view().trendSegmentShown, 2);
    // The settings box shows the new gain (and band).
    QVERIFY(o.window->panel().copy(480, 432, 38, 58) != settingsBefore);

    QCOMPARE(CountColour(o.window->panel(), kPlot, kMark), 3 * 314);

    // One mark per change only; later segments start on its column.
    for (int i = 0; i < 5; ++i) {
        engine.cycle();
    }
    QCOMPARE(CountColour(o.window->panel(), QRect(x - 1, 47, 1, 314), kMark), 314);
    QVERIFY(CountColour(o.window->panel(), kPlot, kMark) <= 3 * 314);
}

void GraphTest::aNewRunShowsItsOwnSettings()
{
    // A run, then PG changed between runs: the next run draws as in a
    // window that never ran before, its box showing the new PG.
    const QRect box(480, 432, 38, 58);
    Opened again(Exercise::Flow);
    {
        FlowEngine first(again.state, again.window.get());
        first.start();
        for (int i = 0; i < 5; ++i) {
            first.cycle();
        }
        first.finish();
    }
    const QImage firstBox = again.window->panel().copy(box);
    Opened fresh(Exercise::Flow);
    for (Opened* o : {&again, &fresh}) {
        QVERIFY(UpdateDisplay(o->state, Exercise::Flow, kCodePG, 2.0f, o->state.flow.flowGain));
        FlowEngine engine(o->state, o->window.get());
        engine.start();
        for (int i = 0; i < 5; ++i) {
            engine.cycle();
        }
        engine.finish();
    }
    QVERIFY(again.window->panel().copy(box) != firstBox);
    QCOMPARE(again.window->panel().copy(box), fresh.window->panel().copy(box));
    // Its traces start at the left edge, as the fresh window's do.
    QCOMPARE(again.window->panel().copy(kPlot), fresh.window->panel().copy(kPlot));
}

void GraphTest::marksAtEachNewSegmentInARedraw()
{
    // Segments 1, 1, 2, 2, 3 at 0..4 s: marks at the first records of
    // segments 2 and 3 only.
    Opened o(Exercise::Flow);
    VelmorState& s = o.state;
    s.log.resetSecondIndex();
    const int segments[5] = {1, 1, 2, 2, 3};
    for (int n = 1; n <= 5; ++n) {
        SampleRecord& r = s.log.record(n);
        r.time = n - 1;
        r.segment = segments[n - 1];
        r.field(kFieldFlowSP) = 1.0f;
        s.log.secondIndexStep(r.time, n);
    }
    s.run.sampleCount = 5;
    s.log.finishSecondIndex(5);
    s.trend.trendSpan = 20;
    o.window->DrawTrend();
    auto xOf = [](double t) { return TimeToX(t, 0, 20); };
    QCOMPARE(o.at(xOf(2), 100), kMark);
    QCOMPARE(o.at(xOf(4), 100), kMark);
    for (double t : {0.0, 1.0, 3.0}) {
        QVERIFY(o.at(xOf(t), 100) != kMark);
    }
    QCOMPARE(CountColour(o.window->panel(), QRect(38, 100, 451, 1), kMark), 6);
}

void GraphTest::gridLinesAndLabelsPerSpan()
{
    struct Case {
        int span;
        int step;
        bool extraAt489;
    };
    for (const Case& c :
         {Case{40, 2, true}, Case{100, 5, true}, Case{180, 10, false}, Case{60, 5, false}}) {
        Opened o(Exercise::Flow);
        o.state.trend.trendSpan = c.span;
        o.window->view().trendViewStart = 30;
        o.window->DrawNewAxes();
        const QImage& img = o.window->panel();
        int lines = 0;
        for (int i = 0; i <= 19; ++i) {
            const int x = TickX(i, c.span);
            if (x >= 498) {
                continue;
            }
            ++lines;
            // Dotted: grey on every other row from y = 47.
            QCOMPARE(o.at(x, 47), kGrey);
            QCOMPARE(o.at(x, 48), kBlack);
            QCOMPARE(o.at(x, 359), kGrey);
            // A grey label below each line.
            QVERIFY2(AnyNotColour(img, QRect(x - 4, 362, 9, 14), kBlack),
                     qPrintable(QString("label of line %1, span %2").arg(i).arg(c.span)));
        }
        QCOMPARE(TickStep(c.span), c.step);
        QCOMPARE(o.at(489, 47) == kGrey, c.extraAt489);
        // Columns between the lines stay black.
        QCOMPARE(o.at(TickX(0, c.span) + 3, 47), kBlack);
        if (c.span == 180) {
            QCOMPARE(lines, 19);
            QCOMPARE(TickX(18, 180), 488);
        }
        if (c.extraAt489) {
            QCOMPARE(lines, 20);
            QVERIFY(AnyNotColour(img, QRect(484, 362, 11, 14), kBlack));
        }
    }
}

void GraphTest::redrawFromAHeadlessRunAndCheckBoxes()
{
    Opened o(Exercise::Flow);
    VelmorState& s = o.state;
    FlowEngine headless(s, nullptr);
    RunHeadless(headless);
    QCOMPARE(s.run.sampleCount, 6000);

    s.trend.trendSpan = 180;
    o.window->view().trendViewStart = 0;
    o.window->DrawTrend();
    QVERIFY(!o.window->view().trendLive);
    const QImage full = o.window->panel().copy();
    QVERIFY(CountColour(full, kPlot, kAqua) > 100);
    QVERIFY(CountColour(full, kPlot, kYellow) > 20);
    QVERIFY(CountColour(full, kPlot, kWhite) > 100);

    TraceBox(*o.window, "chkFlowMV")->setChecked(false);
    const QImage without = o.window->panel().copy();
    QCOMPARE(CountColour(without, kPlot, kAqua), 0);
    QVERIFY(CountColour(without, kPlot, kYellow) >= CountColour(full, kPlot, kYellow));
    TraceBox(*o.window, "chkFlowMV")->setChecked(true);
    QCOMPARE(o.window->panel(), full);

    // A later view of the same run reaches its last record.
    o.window->view().trendViewStart = 420;
    o.window->DrawTrend();
    QVERIFY(!o.window->view().trendLive);
    QVERIFY(CountColour(o.window->panel(), QRect(470, 47, 19, 314), kWhite) > 0);
}

void GraphTest::checkBoxesOnlyBlankWhileInitialising()
{
    Opened o(Exercise::Flow);
    FillFlowLog(o.state, 601, 1.0f, 1.0f, 50.0f);
    o.window->DrawBars(601);
    QCOMPARE(o.at(22, 450), kYellow);
    QVERIFY(o.window->view().trendInitialising);
    const QImage before = o.window->panel().copy(kPlot);
    TraceBox(*o.window, "chkFlowSP")->setChecked(false);
    // The bar is blanked; the plot is not redrawn.
    QCOMPARE(o.at(22, 450), kBlack);
    QCOMPARE(o.window->panel().copy(kPlot), before);

    o.window->SetXPoints(0.0);
    QVERIFY(!o.window->view().trendInitialising);
    TraceBox(*o.window, "chkFlowSP")->setChecked(true);
    QVERIFY(o.window->panel().copy(kPlot) != before);
    QCOMPARE(o.at(38, 47), kGrey); // grid of the redraw
}

void GraphTest::viewPastTheIndexStaysInside()
{
    Opened o(Exercise::Flow);
    VelmorState& s = o.state;
    FlowEngine headless(s, nullptr);
    RunHeadless(headless);
    for (int start : {780, 900, -40}) {
        o.window->view().trendViewStart = start;
        s.trend.trendSpan = 180;
        o.window->DrawTrend();
        QVERIFY(!o.window->view().trendLive);
    }
    // During a run a view past the index is live and draws the newest data.
    s.run.sampleCount = 100;
    s.log.secondIndex[780] = 0;
    o.window->view().trendViewStart = 780;
    o.window->DrawTrend();
    QVERIFY(o.window->view().trendLive);
}

void GraphTest::barsShowTheirRecord()
{
    Opened o(Exercise::Flow);
    VelmorState& s = o.state;
    s.log.record(1).field(kFieldFlowMV) = 2.0f;
    s.log.record(6000).field(kFieldFlowMV) = 1.0f;
    s.log.record(6000).field(kFieldOutput) = 50.0f;
    for (int n : {0, 7000, 6000}) {
        o.window->DrawBars(n);
        QCOMPARE(o.at(49, 435), kAqua); // 467 - Round(1 / 2 x 64)
        QCOMPARE(o.at(49, 434), kBlack);
        QCOMPARE(o.at(76, 435), kSilver);
        QCOMPARE(o.at(76, 434), kBlack);
    }
    o.window->DrawBars(1);
    QCOMPARE(o.at(49, 403), kAqua);

    // 2.6 L/min measured: a full bar, and the clamped value's text.
    s.log.record(2).field(kFieldFlowMV) = 2.6f;
    s.log.record(2).field(kFieldFlowSP) = 2.6f;
    o.window->DrawBars(2);
    QCOMPARE(CountColour(o.window->panel(), QRect(42, 403, 14, 64), kAqua), 14 * 64);
    QCOMPARE(o.at(49, 402) == kAqua, false);
    // The set point is not clamped: 19 pixels above the bar's top.
    QCOMPARE(o.at(22, 384), kYellow);
    QVERIFY(o.at(22, 383) != kYellow);
    QVERIFY(AnyNotColour(o.window->panel(), QRect(38, 473, 24, 16), kBlack));

    // An unchecked trace's bar is blanked and not drawn again.
    TraceBox(*o.window, "chkFlowQ")->setChecked(false);
    o.window->DrawBars(6000);
    QCOMPARE(CountColour(o.window->panel(), QRect(69, 403, 14, 64), kBlack), 14 * 64);
    QCOMPARE(CountColour(o.window->panel(), QRect(62, 473, 28, 16), kBlack), 28 * 16);

    // Level bars take the flow places.
    Opened level(Exercise::Level);
    level.state.log.record(3).field(kFieldLevelMV) = 100.0f;
    level.state.log.record(3).field(kFieldLevelSP) = 50.0f;
    level.window->DrawBars(3);
    QCOMPARE(level.at(49, 403), kAqua);
    QCOMPARE(level.at(22, 435), kYellow);
    QCOMPARE(level.at(22, 434), kBlack);
}

void GraphTest::settingsBox()
{
    auto line = [](const Opened& o, int left, int y) {
        return AnyNotColour(o.window->panel(), QRect(left, y, 36, 14), kSilver);
    };
    Opened o(Exercise::Flow);
    FillFlowLog(o.state, 10, 1.0f, 1.0f, 0.0f);
    o.state.log.record(5).field(kFieldFlowPG) = 0.0f;
    o.state.log.record(5).field(kFieldFlowI) = 0.8f;
    o.state.log.record(5).segment = 4;
    o.window->PIDUpdate(5);
    QCOMPARE(o.window->view().trendSegmentShown, 4);
    QVERIFY(line(o, 480, 432));  // gain 0
    QVERIFY(!line(o, 480, 447)); // no band for a gain of 0
    QVERIFY(line(o, 480, 462));  // I
    o.window->PIDUpdate(6);      // gain 1: band 100
    QVERIFY(line(o, 480, 447));
    // Past the run's last record: the last record's settings.
    o.state.log.record(10).segment = 7;
    o.window->PIDUpdate(7000);
    QCOMPARE(o.window->view().trendSegmentShown, 7);
    // Labels and frame of the Flow box.
    QCOMPARE(o.at(423, 460), kBlack);
    QCOMPARE(o.at(470, 429), kBlack);
    QVERIFY(AnyNotColour(o.window->panel(), QRect(428, 432, 40, 14), kSilver));

    Opened batch(Exercise::Batch);
    FillFlowLog(batch.state, 3, 0, 0, 0);
    batch.state.log.record(2).field(kFieldVolPG) = 0.5f;
    batch.state.log.record(2).field(kFieldTempPG) = 1.0f;
    batch.window->PIDUpdate(2);
    QVERIFY(line(batch, 385, 432));
    QVERIFY(line(batch, 385, 447));
    QVERIFY(line(batch, 480, 447));
    QCOMPARE(batch.at(336, 460), kBlack);

    Opened open(Exercise::Open);
    FillFlowLog(open.state, 3, 0, 0, 0);
    const QImage before = open.window->panel().copy();
    open.window->PIDUpdate(2);
    QCOMPARE(open.window->panel(), before);
    QCOMPARE(open.at(519, 460), kSilver); // the box's edge erased
    QCOMPARE(batch.at(519, 460), kBlack);

    // The cursor back on an earlier segment shows that segment's settings.
    Opened back(Exercise::Flow);
    Browsable(back, 100);
    for (int n = 51; n <= 100; ++n) {
        back.state.log.record(n).segment = 2;
        back.state.log.record(n).field(kFieldFlowPG) = 0.5f;
    }
    const QRect box(480, 432, 38, 58);
    back.window->CursorToRecord(10);
    const QImage first = back.window->panel().copy(box);
    back.window->CursorToRecord(90);
    QVERIFY(back.window->panel().copy(box) != first);
    back.window->CursorToRecord(10);
    QCOMPARE(back.window->panel().copy(box), first);

    // A second click moves the line: the first one's column is as before.
    const QRect column(100, 47, 1, 315);
    const QImage bare = back.window->panel().copy(column);
    back.window->imgPanelMouseDown(Qt::LeftButton, 100, 200);
    QVERIFY(back.window->panel().copy(column) != bare);
    back.window->imgPanelMouseDown(Qt::LeftButton, 300, 200);
    QCOMPARE(back.window->panel().copy(column), bare);
}

void GraphTest::gateAndPump()
{
    Opened o(Exercise::Flow);
    TfrmGraph& w = *o.window;
    const QImage at100 = w.panel().copy(380, 429, 50, 40);
    Button(w, "btnChokeUp")->click();
    QCOMPARE(o.state.run.gateValvePercent, 100);
    Button(w, "btnChokeDown")->click();
    QCOMPARE(o.state.run.gateValvePercent, 90);
    QVERIFY(w.panel().copy(380, 429, 50, 40) != at100);
    for (int i = 0; i < 12; ++i) {
        Button(w, "btnChokeDown")->click();
    }
    QCOMPARE(o.state.run.gateValvePercent, 0);
    for (int i = 0; i < 10; ++i) {
        Button(w, "btnChokeUp")->click();
    }
    QCOMPARE(o.state.run.gateValvePercent, 100);
    QCOMPARE(w.panel().copy(380, 429, 50, 40), at100);

    QVERIFY(!Button(w, "btnPump")->isEnabled());
    w.setPumpEnabled(true);
    QVERIFY(Button(w, "btnPump")->isEnabled());
    QCOMPARE(Button(w, "btnPump")->toolTip(), QStringLiteral("Pump"));
    Button(w, "btnPump")->click();
    QVERIFY(o.state.run.pumpOn);
    QCOMPARE(Button(w, "btnPump")->toolTip(), QStringLiteral("Pump: On"));
    Button(w, "btnPump")->click();
    QVERIFY(!o.state.run.pumpOn);
    QCOMPARE(Button(w, "btnPump")->toolTip(), QStringLiteral("Pump: Off"));
    w.setPumpEnabled(false);
    QVERIFY(!Button(w, "btnPump")->isEnabled());

    Opened es(Exercise::Flow);
    const LanguageScope inSpanish(es.state.shell, Language::Spanish);
    es.window->setPumpEnabled(true);
    Button(*es.window, "btnPump")->click();
    QCOMPARE(Button(*es.window, "btnPump")->toolTip(), QStringLiteral("Bomba: On"));

    Opened temp(Exercise::Temperature);
    Button(*temp.window, "btnChokeDown")->click(); // disabled: nothing
    QCOMPARE(temp.state.run.gateValvePercent, 100);
}

void GraphTest::closeIsRefused()
{
    Opened o(Exercise::Flow);
    o.window->show();
    QSignalSpy spy(o.window.get(), &TfrmGraph::closeRequested);
    QVERIFY(!o.window->close());
    QVERIFY(o.window->isVisible());
    QVERIFY(o.window->view().trendClosing);
    QCOMPARE(spy.count(), 1);

    Opened quitting(Exercise::Flow);
    quitting.state.shell.appRunning = false;
    quitting.window->show();
    QSignalSpy quiet(quitting.window.get(), &TfrmGraph::closeRequested);
    QVERIFY(!quitting.window->close());
    QCOMPARE(quiet.count(), 0);
    QVERIFY(quitting.window->view().trendClosing);

    // A redraw while closing leaves the read-out delay alone; otherwise it
    // cancels it.
    auto* quittingReadout = quitting.window->findChild<QTimer*>(QStringLiteral("readoutTimer"));
    quittingReadout->start();
    quitting.window->DrawTrend();
    QVERIFY(quittingReadout->isActive());
    auto* readout = o.window->findChild<QTimer*>(QStringLiteral("readoutTimer"));
    readout->start();
    o.window->view().trendClosing = false;
    o.window->DrawTrend();
    QVERIFY(!readout->isActive());
}

void GraphTest::scaleNumbersUseTheSystemsDecimalMark()
{
    for (Exercise e : {Exercise::Flow, Exercise::Batch}) {
        VelmorState point;
        VelmorState comma;
        OpenExerciseState(point, e, true);
        OpenExerciseState(comma, e, true);
        comma.shell.decimalComma = true;
        TfrmGraph withPoint(point, e);
        TfrmGraph withComma(comma, e);
        // Only the numbers of the left scale (L/min or litres) differ.
        const QRect scale(2, 19, 36, 345);
        int differ = 0;
        for (int y = 0; y < 501; ++y) {
            for (int x = 0; x < 524; ++x) {
                if (withPoint.panel().pixel(x, y) != withComma.panel().pixel(x, y)) {
                    QVERIFY2(scale.contains(x, y),
                             qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                    ++differ;
                }
            }
        }
        QVERIFY(differ > 0);
    }
}

void GraphTest::timeEditsTakeDigitsOnly()
{
    Opened o(Exercise::Flow);
    // Before any data the start time cannot be typed at all.
    QTest::keyClicks(Edit(*o.window, "txtStartTime"), QStringLiteral("12"));
    QCOMPARE(Edit(*o.window, "txtStartTime")->text(), QStringLiteral("0"));
    o.state.trend.trendNoData = false;
    for (QLineEdit* edit : {Edit(*o.window, "txtStartTime"), Edit(*o.window, "txtTrendBase")}) {
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("1a2-b 3,4"));
        QCOMPARE(edit->text(), QStringLiteral("123"));
    }
}

void GraphTest::arrowsScrollWithinTheLog()
{
    Opened o(Exercise::Flow);
    TfrmGraph& w = *o.window;
    FillFlowLog(o.state, 950, 1.0f, 1.0f, 50.0f); // 95 logged seconds
    // No data yet: the arrows do nothing.
    w.imgPanelMouseDown(Qt::LeftButton, 175, 35);
    QCOMPARE(o.window->view().trendViewStart, 0);

    o.state.trend.trendNoData = false;
    w.imgPanelMouseDown(Qt::LeftButton, 175, 35);  // arrow 8, +60
    QCOMPARE(o.window->view().trendViewStart, 40); // 100 - 60, not 60
    QCOMPARE(Edit(w, "txtStartTime")->text(), QStringLiteral("40"));
    // The plot was redrawn for 40..100 s: the trace ends where the log does
    // (94.9 s at x = 450).
    QCOMPARE(o.at(449, 202), kWhite);
    QCOMPARE(o.at(452, 202), kBlack);
    w.imgPanelMouseDown(Qt::LeftButton, 80, 35); // arrow 3, -20
    QCOMPARE(o.window->view().trendViewStart, 20);
    w.imgPanelMouseDown(Qt::LeftButton, 45, 35); // arrow 1, -60
    QCOMPARE(o.window->view().trendViewStart, 0);

    // Moving over an arrow lights it; moving off puts it back.
    const QColor normal = o.at(Across(5) + 2, 29);
    w.imgPanelMouseMove(Qt::NoButton, 125, 35);
    QCOMPARE(o.window->view().litArrow, 5);
    QCOMPARE(o.at(Across(5) + 2, 29), kArrowLit);
    QCOMPARE(w.cursor().shape(), Qt::PointingHandCursor);
    w.imgPanelMouseMove(Qt::NoButton, 300, 10);
    QCOMPARE(o.window->view().litArrow, 0);
    QCOMPARE(o.at(Across(5) + 2, 29), normal);
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    // The main window takes a highlight back the same way.
    w.Highlight(2);
    QCOMPARE(o.at(Across(2) + 2, 29), kArrowLit);
    w.RemoveHighlight();
    QCOMPARE(o.window->view().litArrow, 0);
    QCOMPARE(o.at(Across(2) + 2, 29), normal);
}

void GraphTest::typedStartTimeAndTimeBase()
{
    Opened o(Exercise::Flow);
    TfrmGraph& w = *o.window;
    Browsable(o, 1500); // 150 logged seconds
    TypeAndEnter(Edit(w, "txtStartTime"), QStringLiteral("37"));
    QCOMPARE(o.window->view().trendViewStart, 40);
    QCOMPARE(Edit(w, "txtStartTime")->text(), QStringLiteral("40"));
    TypeAndEnter(Edit(w, "txtStartTime"), QStringLiteral("200"));
    QCOMPARE(o.window->view().trendViewStart, 40);
    QCOMPARE(Edit(w, "txtStartTime")->text(), QStringLiteral("200")); // left as typed
    TypeAndEnter(Edit(w, "txtStartTime"), QString());
    QCOMPARE(o.window->view().trendViewStart, 40);

    // The time base: rounded to 10 s, 20..180 only; the knob follows.
    TypeAndEnter(Edit(w, "txtTrendBase"), QStringLiteral("15"));
    QCOMPARE(o.state.trend.trendSpan, 20);
    QCOMPARE(Edit(w, "txtTrendBase")->text(), QStringLiteral("20"));
    QCOMPARE(o.at(398 + 2, 37), kKnob);
    TypeAndEnter(Edit(w, "txtTrendBase"), QStringLiteral("185"));
    QCOMPARE(o.state.trend.trendSpan, 20);
    QCOMPARE(o.at(398 + 2, 37), kKnob);
    TypeAndEnter(Edit(w, "txtTrendBase"), QStringLiteral("175"));
    QCOMPARE(o.state.trend.trendSpan, 180);
    QCOMPARE(o.at(398 + 55 + 2, 37), kKnob);
    QVERIFY(o.at(398 + 2, 37) != kKnob);
    // A span reaching the end of the log keeps the view's right edge.
    QCOMPARE(o.window->view().trendViewStart, 0); // 40 + 20 - 180, at least 0

    Opened short45(Exercise::Flow);
    Browsable(short45, 450);
    TypeAndEnter(Edit(*short45.window, "txtStartTime"), QStringLiteral("37"));
    QCOMPARE(short45.window->view().trendViewStart, 0);
}

void GraphTest::sliderClicksAndDrags()
{
    Opened o(Exercise::Flow);
    TfrmGraph& w = *o.window;
    Browsable(o, 600);
    w.imgPanelMouseDown(Qt::LeftButton, 402, 35);
    QCOMPARE(o.state.trend.trendSpan, 20);
    QCOMPARE(Edit(w, "txtTrendBase")->text(), QStringLiteral("20"));
    QCOMPARE(o.at(398 + 2, 37), kKnob);
    w.imgPanelMouseDown(Qt::LeftButton, 460, 35);
    QCOMPARE(o.state.trend.trendSpan, 180);
    QCOMPARE(o.at(398 + 55 + 2, 37), kKnob);
    // Dragging needs a button held and no run.
    w.imgPanelMouseMove(Qt::NoButton, 422, 35);
    QCOMPARE(o.state.trend.trendSpan, 180);
    w.imgPanelMouseMove(Qt::LeftButton, 422, 35); // k = 18: 70 s
    QCOMPARE(o.state.trend.trendSpan, 70);
    o.state.run.runActive = true;
    w.imgPanelMouseMove(Qt::LeftButton, 460, 35);
    QCOMPARE(o.state.trend.trendSpan, 70);
}

void GraphTest::cursorLineFollowsSpanAndView()
{
    Opened o(Exercise::Flow);
    TfrmGraph& w = *o.window;
    FillFlowLog(o.state, 1200, 1.0f, 1.0f, 50.0f); // 120 s
    o.state.log.record(301).field(kFieldFlowSP) = 2.0f;
    o.state.log.record(302).field(kFieldFlowSP) = 1.5f;
    // No data to browse: a click on the plot draws no line.
    w.imgPanelMouseDown(Qt::LeftButton, 263, 200);
    QVERIFY(!o.window->view().cursorShown);
    o.state.trend.trendNoData = false;
    w.DrawTrend();
    const QRect plotAndLabels(27, 47, 474, 330);
    const QImage plain = w.panel().copy(plotAndLabels);

    w.imgPanelMouseDown(Qt::LeftButton, 263, 200);
    QVERIFY(o.window->view().cursorShown);
    QCOMPARE(o.window->view().cursorRecord, 301);
    QCOMPARE(CountColour(w.panel(), QRect(263, 47, 1, 315), kWhite), 315);
    QCOMPARE(o.at(263, 362), kBlack); // the end pixel is left out
    QCOMPARE(o.at(22, 403), kYellow); // record 301's set point fills its bar

    // Span 60 -> 120: the line keeps its time (30 s) at x = 151, and the
    // record under it is read in the new view.
    TypeAndEnter(Edit(w, "txtTrendBase"), QStringLiteral("120"));
    QCOMPARE(o.window->view().cursorX, 151);
    QVERIFY(o.window->view().cursorShown);
    QCOMPARE(o.window->view().cursorRecord, 302);
    QCOMPARE(CountColour(w.panel(), QRect(151, 47, 1, 315), kWhite), 315);
    QVERIFY(CountColour(w.panel(), QRect(263, 47, 1, 315), kWhite) < 315);
    QCOMPARE(o.at(22, 419), kYellow); // 1.5 of 2: 48 pixels from the bottom
    QCOMPARE(o.at(22, 418), kBlack);

    // Dragged off the plot's left edge the line stops at 38.
    w.imgPanelMouseMove(Qt::LeftButton, 300, 200);
    QCOMPARE(o.window->view().cursorX, 300);
    w.imgPanelMouseMove(Qt::LeftButton, 10, 200);
    QCOMPARE(o.window->view().cursorX, 38);
    QCOMPARE(o.window->view().cursorRecord, 1);

    // A click beside the plot removes the line; a second one changes nothing.
    w.imgPanelMouseDown(Qt::LeftButton, 10, 200);
    QVERIFY(!o.window->view().cursorShown);
    TypeAndEnter(Edit(w, "txtTrendBase"), QStringLiteral("60"));
    QCOMPARE(w.panel().copy(plotAndLabels), plain);
    const QImage blank = w.panel().copy();
    w.imgPanelMouseDown(Qt::LeftButton, 10, 10);
    QCOMPARE(w.panel(), blank);

    // Scrolling keeps the line at its pixel; it now marks another record.
    w.imgPanelMouseDown(Qt::LeftButton, 263, 200);
    w.imgPanelMouseDown(Qt::LeftButton, 175, 35); // +60: start 60
    QCOMPARE(o.window->view().trendViewStart, 60);
    QCOMPARE(o.window->view().cursorX, 263);
    QCOMPARE(o.window->view().cursorRecord, 900);
    QCOMPARE(CountColour(w.panel(), QRect(263, 47, 1, 315), kWhite), 315);
}

void GraphTest::keyboardCursorAgreesWithTheMouse()
{
    Opened o(Exercise::Flow);
    TfrmGraph& w = *o.window;
    Browsable(o, 1200); // 120 s
    QWidget* plot = w.plotItem();
    const auto press = [plot](Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(plot, key, mods);
    };
    // What a click at the line's column reads; the line goes back to the
    // keyboard's record afterwards.
    const auto mouseRecordAtLine = [&] {
        const int keyed = w.view().cursorRecord;
        w.imgPanelMouseDown(Qt::LeftButton, w.view().cursorX, 200);
        const int clicked = w.view().cursorRecord;
        w.CursorToRecord(keyed);
        return clicked;
    };

    // At 20 s a view every record has a column of its own: the keys reach
    // each record, and the mouse at the line reads the same one.
    TypeAndEnter(Edit(w, "txtTrendBase"), QStringLiteral("20"));
    press(Qt::Key_Home);
    QVERIFY(w.view().cursorShown);
    QCOMPARE(w.view().cursorRecord, 1);
    QCOMPARE(w.view().cursorX, 38);
    for (int n = 2; n <= 260; ++n) {
        press(Qt::Key_Right);
        QCOMPARE(w.view().cursorRecord, n);
        QCOMPARE(mouseRecordAtLine(), n);
    }
    // Past the right edge the view moved on in 10 s steps.
    QCOMPARE(w.view().trendViewStart, 10);
    press(Qt::Key_Right, Qt::ShiftModifier); // 10 s
    QCOMPARE(w.view().cursorRecord, 360);
    QCOMPARE(mouseRecordAtLine(), 360);
    press(Qt::Key_End);
    QCOMPARE(w.view().cursorRecord, 1200);
    QCOMPARE(mouseRecordAtLine(), 1200);
    press(Qt::Key_Right); // nothing after the last record
    QCOMPARE(w.view().cursorRecord, 1200);
    press(Qt::Key_Home);
    QCOMPARE(w.view().trendViewStart, 0);
    press(Qt::Key_Left);
    QCOMPARE(w.view().cursorRecord, 1);

    // At 60 s three records share two columns: the keys still step one
    // record, and the line stands where the mouse reads that record or
    // the next.
    TypeAndEnter(Edit(w, "txtTrendBase"), QStringLiteral("60"));
    press(Qt::Key_Home);
    int lastX = w.view().cursorX;
    for (int n = 2; n <= 700; ++n) {
        press(Qt::Key_Right);
        QCOMPARE(w.view().cursorRecord, n);
        const int read = mouseRecordAtLine();
        QVERIFY2(read >= n && read <= n + 1, qPrintable(QString::number(n)));
        QVERIFY(w.view().cursorX >= lastX || w.view().trendViewStart > 0);
        lastX = w.view().cursorX;
    }

    // Page Down scrolls as the 10 s arrow does: the line keeps its column
    // and marks the record the mouse reads there.
    // Page Up as the -10 s arrow.
    const int start = w.view().trendViewStart;
    QVERIFY(start + 20 <= 60); // 120 s logged, a 60 s span
    press(Qt::Key_PageDown);
    QCOMPARE(w.view().trendViewStart, start + 10);
    QCOMPARE(w.view().cursorRecord, mouseRecordAtLine());
    press(Qt::Key_PageDown);
    press(Qt::Key_PageUp);
    QCOMPARE(w.view().trendViewStart, start + 10);
    press(Qt::Key_PageUp, Qt::ShiftModifier);
    QCOMPARE(w.view().trendViewStart, std::max(start + 10 - 60, 0));
    // The read-out is text a screen reader reads.
    QVERIFY(w.plotItem()->valueText().startsWith(QStringLiteral("Time ")));
    QVERIFY(w.plotItem()->valueText().contains(QStringLiteral("L/min")));

    press(Qt::Key_Escape);
    QVERIFY(!w.view().cursorShown);
    QVERIFY(w.plotItem()->valueText().isEmpty());
    // No cursor from the keys while a run goes.
    o.state.run.runActive = true;
    press(Qt::Key_Home);
    QVERIFY(!w.view().cursorShown);
    o.state.run.runActive = false;
}

void GraphTest::readOutNamesTheNearestTrace()
{
    Opened o(Exercise::Flow);
    TfrmGraph& w = *o.window;
    Browsable(o, 601, 1.25f, 0.5f, 0.0f); // set point at y = 164
    auto* readout = w.findChild<QTimer*>(QStringLiteral("readoutTimer"));
    QVERIFY(readout != nullptr);
    QVERIFY(readout->isSingleShot());
    QCOMPARE(readout->interval(), 500);
    o.state.shell.trendsOpen = true;
    w.imgPanelMouseMove(Qt::NoButton, 200, 170);
    QVERIFY(readout->isActive());
    QCOMPARE(o.window->view().hoverBlock, 1);
    QCOMPARE(o.window->view().hoverRecord, 217); // 162 / 450 x 600 + 1
    QCOMPARE(w.cursor().shape(), Qt::PointingHandCursor);
    // The read-out waits for its timer, then comes by itself.
    QVERIFY(!Label(w, "txtFloat")->isVisibleTo(&w));
    QSignalSpy fired(readout, &QTimer::timeout);
    QVERIFY(fired.wait());
    QVERIFY(Label(w, "txtFloat")->isVisibleTo(&w));
    // A still mouse does not start the delay again.
    w.imgPanelMouseMove(Qt::NoButton, 201, 171);
    QVERIFY(!readout->isActive());
    // Nor does a mouse moving on put it off: the read-out comes half a
    // second after the first move while the mouse goes on moving.
    Label(w, "txtFloat")->hide();
    int moves = 0;
    QVERIFY(QTest::qWaitFor(
        [&] {
            if (Label(w, "txtFloat")->isVisibleTo(&w)) {
                return true;
            }
            w.imgPanelMouseMove(Qt::NoButton, 210 + 2 * (++moves % 2), 170);
            return false;
        },
        5000));
    // With the exercise closing, the delay runs out without a read-out.
    Label(w, "txtFloat")->hide();
    o.state.shell.trendsOpen = false;
    w.imgPanelMouseMove(Qt::NoButton, 205, 170);
    QVERIFY(readout->isActive());
    QVERIFY(fired.wait());
    QVERIFY(!Label(w, "txtFloat")->isVisibleTo(&w));
    w.imgPanelMouseMove(Qt::NoButton, 200, 170);
    readout->stop();
    w.Display();
    QVERIFY(Label(w, "txtFloat")->isVisibleTo(&w));
    QCOMPARE(Label(w, "txtFloat")->text(), QStringLiteral("Flow Set Point\nValue: 1.25L/min"));
    QCOMPARE(Label(w, "txtFloat")->pos(), QPoint(200, 186));
    // The run's last point has one too.
    w.imgPanelMouseMove(Qt::NoButton, 488, 170);
    QCOMPARE(o.window->view().hoverRecord, 601);
    readout->stop();
    w.Display();
    QVERIFY(Label(w, "txtFloat")->isVisibleTo(&w));

    // Off the plot the read-out goes; far from every trace none comes.
    w.imgPanelMouseMove(Qt::NoButton, 10, 10);
    QVERIFY(!Label(w, "txtFloat")->isVisibleTo(&w));
    w.imgPanelMouseMove(Qt::NoButton, 200, 225);
    w.Display();
    QVERIFY(!Label(w, "txtFloat")->isVisibleTo(&w));

    // Low on the plot it opens above the pointer; Spanish texts.
    const LanguageScope inSpanish(o.state.shell, Language::Spanish);
    w.imgPanelMouseMove(Qt::NoButton, 480, 355);
    w.Display();
    QCOMPARE(Label(w, "txtFloat")->text(), QStringLiteral("Q Flujo\nValor: 0%"));
    QCOMPARE(Label(w, "txtFloat")->y(), 395 - Label(w, "txtFloat")->height());
    QCOMPARE(Label(w, "txtFloat")->x(), 524 - Label(w, "txtFloat")->width());
    UseLanguage(o.state.shell, Language::English);

    // Equal distances: the earlier trace in the table wins.
    Opened tie(Exercise::Flow);
    Browsable(tie, 601, 1.0f, 1.0f, 50.0f);
    tie.window->imgPanelMouseMove(Qt::NoButton, 200, 210);
    tie.window->Display();
    QCOMPARE(Label(*tie.window, "txtFloat")->text(),
             QStringLiteral("Flow Set Point\nValue: 1.00L/min"));
    TraceBox(*tie.window, "chkFlowSP")->setChecked(false);
    tie.window->Display();
    QCOMPARE(Label(*tie.window, "txtFloat")->text(),
             QStringLiteral("Flow Measured Value\nValue: 1.00L/min"));

    // Never while the cursor line is shown or the view is live.
    tie.window->LineAt(100);
    tie.window->Display();
    QVERIFY(!Label(*tie.window, "txtFloat")->isVisibleTo(tie.window.get()));
    tie.window->BlankLine();
    tie.window->view().trendLive = true;
    tie.window->Display();
    QVERIFY(!Label(*tie.window, "txtFloat")->isVisibleTo(tie.window.get()));
}

void GraphTest::drawnAtPixelRatioTwo()
{
    VelmorState state;
    OpenExerciseState(state, Exercise::Flow, true);
    TfrmGraph one(state, Exercise::Flow, nullptr, 1.0);
    VelmorState state2;
    OpenExerciseState(state2, Exercise::Flow, true);
    TfrmGraph two(state2, Exercise::Flow, nullptr, 2.0);
    QCOMPARE(two.panel().size(), QSize(1048, 1002));
    QCOMPARE(two.panel().devicePixelRatio(), 2.0);
    QCOMPARE(two.size(), QSize(524, 501));
    for (VelmorState* s : {&state, &state2}) {
        FillFlowLog(*s, 601, 2.5f, -0.3f, 50.0f);
        s->trend.trendNoData = false;
    }
    for (TfrmGraph* w : {&one, &two}) {
        w->DrawTrend();
        w->DrawBars(601);
    }
    // Every logical pixel read at ratio 1 is a 2 x 2 block at ratio 2.
    const auto same = [&](int x, int y) {
        const QColor c = one.panel().pixelColor(x, y);
        for (int dy = 0; dy < 2; ++dy) {
            for (int dx = 0; dx < 2; ++dx) {
                if (two.panel().pixelColor(2 * x + dx, 2 * y + dy) != c) {
                    return false;
                }
            }
        }
        return true;
    };
    for (int x : {60, 200, 400}) {
        QVERIFY(same(x, 47));  // set point on the top row
        QVERIFY(same(x, 48));  // black below it
        QVERIFY(same(x, 202)); // output at 50 %
        QVERIFY(same(x, 358)); // negative flow on the bottom row
    }
    QVERIFY(same(TickX(1, 60), 49)); // a grid dot
    QVERIFY(same(TickX(1, 60), 50));
    QVERIFY(same(76, 435)); // output bar: filled from 435
    QVERIFY(same(76, 434));
    QVERIFY(same(36, 100)); // the plot's frame
    QVERIFY(same(489, 100));
    // The cursor line is two device pixels wide and leaves no trace.
    const QImage before = two.panel().copy();
    two.LineAt(263);
    QCOMPARE(two.panel().pixelColor(526, 94), kWhite);
    QCOMPARE(two.panel().pixelColor(527, 723), kWhite);
    QCOMPARE(two.panel().pixelColor(527, 724), one.panel().pixelColor(263, 362));
    two.BlankLine();
    QCOMPARE(two.panel(), before);
    // Texts are drawn for the finer pixels, not enlarged.
    const QRect labels(27, 361, 474, 16);
    const QImage enlarged = one.panel().copy(labels).scaled(labels.size() * 2);
    QVERIFY(two.panel().copy(QRect(labels.topLeft() * 2, labels.size() * 2)) != enlarged);
}

void GraphTest::savedRunDrawnBehind()
{
    Opened o(Exercise::Flow);
    TfrmGraph& w = *o.window;
    Browsable(o, 601, 1.0f, 0.5f, 0.0f);
    // A saved run whose set point stood at 1.5 L/min (y = 125), its flow
    // at 0.25 L/min (y = 319).
    VelmorState saved;
    FillFlowLog(saved, 601, 1.5f, 0.25f, 80.0f);
    std::vector<SampleRecord> records(saved.log.records.begin(), saved.log.records.begin() + 601);
    const QColor dimYellow(153, 153, 0);
    const QColor dimAqua(0, 153, 153);
    w.SetComparison(records, saved.log.secondIndex);
    QVERIFY(w.hasComparison());
    const int dashes = CountColour(w.panel(), QRect(38, 125, 451, 1), dimYellow);
    QVERIFY2(dashes > 150 && dashes < 400, qPrintable(QString::number(dashes)));
    QVERIFY(CountColour(w.panel(), QRect(38, 319, 451, 1), dimAqua) > 150);
    // The current traces are drawn over it, and a redraw keeps it.
    QCOMPARE(o.at(200, 202), kYellow);
    w.DrawTrend();
    QCOMPARE(CountColour(w.panel(), QRect(38, 125, 451, 1), dimYellow), dashes);
    // Only shown traces are compared.
    TraceBox(w, "chkFlowSP")->setChecked(false);
    QCOMPARE(CountColour(w.panel(), kPlot, dimYellow), 0);
    w.ClearComparison();
    QVERIFY(!w.hasComparison());
    QCOMPARE(CountColour(w.panel(), kPlot, dimAqua), 0);
    // The log was never touched.
    QCOMPARE(o.state.run.sampleCount, 601);
    QCOMPARE(o.state.log.record(300).field(kFieldFlowSP), 1.0f);
}

void GraphTest::aNewRunKeepsTheCursorOnlyWithoutEarlierData()
{
    for (const bool hadNoData : {true, false}) {
        Opened o(Exercise::Flow);
        Browsable(o, 1200);
        o.window->imgPanelMouseDown(Qt::LeftButton, 175, 35); // start 60
        o.window->LineAt(250);
        RunStart start;
        start.hadNoData = hadNoData;
        o.window->runStarted(start);
        // Fresh axes from 0, live; the line drawn again only over no data.
        QVERIFY(o.window->view().trendLive);
        QCOMPARE(o.window->view().trendViewStart, 0);
        QCOMPARE(Edit(*o.window, "txtStartTime")->text(), QStringLiteral("0"));
        QCOMPARE(o.window->view().cursorShown, hadNoData);
        QCOMPARE(CountColour(o.window->panel(), QRect(250, 47, 1, 315), kWhite),
                 hadNoData ? 315 : 0);
        QCOMPARE(CountColour(o.window->panel(), QRect(39, 48, 449, 310), kYellow), 0);
    }
}

void GraphTest::aRunBrowsedBackIsNotDrawnOver()
{
    Opened o(Exercise::Flow);
    VelmorState& s = o.state;
    FlowEngine engine(s, o.window.get());
    engine.start();
    while (s.run.sampleCount < 1000) {
        engine.cycle();
    }
    QVERIFY(o.window->view().trendLive);
    o.window->imgPanelMouseDown(Qt::LeftButton, 45, 35); // 60 s back: the past
    QVERIFY(!o.window->view().trendLive);
    const QImage plot = o.window->panel().copy(kPlot);
    const QImage bars = o.window->panel().copy(10, 403, 80, 86);
    s.flow.flowGain = 5; // the flow moves
    for (int i = 0; i < 20; ++i) {
        engine.cycle();
    }
    // The bars follow the run; the plot stays as browsed.
    QCOMPARE(o.window->panel().copy(kPlot), plot);
    QVERIFY(o.window->panel().copy(10, 403, 80, 86) != bars);
    QCOMPARE(o.window->view().trendPrevX, o.window->view().trendX);
    engine.finish();
}

void GraphTest::aLoadedRunShowsFromItsStart()
{
    Opened o(Exercise::Flow);
    TfrmGraph& w = *o.window;
    Browsable(o, 1500, 1.0f, 1.0f, 50.0f);
    w.imgPanelMouseDown(Qt::LeftButton, 175, 35); // start 60
    w.LineAt(263);
    o.state.trend.trendSpan = 120; // the file's
    w.ShowLoadedRun();
    QCOMPARE(w.view().trendViewStart, 0);
    QCOMPARE(Edit(w, "txtStartTime")->text(), QStringLiteral("0"));
    QCOMPARE(Edit(w, "txtTrendBase")->text(), QStringLiteral("120"));
    QCOMPARE(o.at(398 + SliderKnobOffset(120) + 2, 37), kKnob);
    QVERIFY(!w.view().cursorShown);
    // No cursor line (a white column); the output trace still crosses it.
    QVERIFY(CountColour(w.panel(), QRect(263, 47, 1, 315), kWhite) < 315);
    // Drawn from 0 s: the output trace starts at the plot's left edge, and
    // the bars show the last record.
    QCOMPARE(o.at(39, 202), kWhite);
    QCOMPARE(o.at(22, 435), kYellow);
}

void GraphTest::settingsColumnsStandByTheirPlace()
{
    const auto labelsFrom = [](const Opened& o, int x) {
        return AnyNotColour(o.window->panel(), QRect(x, 432, 5, 58), kSilver);
    };
    // One loop at the right: frame 5 pixels left of its labels.
    for (Exercise e : {Exercise::Temperature, Exercise::Level}) {
        Opened o(e);
        QCOMPARE(o.at(418, 460), kBlack);
        QCOMPARE(o.at(419, 460), kSilver);
        QVERIFY(labelsFrom(o, 423));
    }
    // Flow's stands further in.
    Opened flow(Exercise::Flow);
    QCOMPARE(flow.at(423, 460), kBlack);
    QVERIFY(!AnyNotColour(flow.window->panel(), QRect(424, 430, 4, 63), kSilver));
    QVERIFY(labelsFrom(flow, 428));
    // Batch: the volume loop's labels left of the temperature loop's.
    Opened batch(Exercise::Batch);
    QVERIFY(labelsFrom(batch, 341));
    QVERIFY(labelsFrom(batch, 423));
    QVERIFY(!AnyNotColour(batch.window->panel(), QRect(337, 430, 4, 63), kSilver));
}

void GraphTest::barHeightsRoundHalvesToEven()
{
    const BarInfo& q = BarOf(TraceId::FlowQ);
    QCOMPARE(BarFilledTop(q, 50.78125f), 467 - 32);   // 32.5 -> 32
    QCOMPARE(BarFilledTop(q, 52.34375f), 467 - 34);   // 33.5 -> 34
    QCOMPARE(BarEmptyBottom(q, 50.78125f), 403 + 32); // 31.5 -> 32
    // The volume set point against 12 L, the volume against 6 L.
    QCOMPARE(BarFilledTop(BarOf(TraceId::VolSP), 6.0f), 467 - 32);
    QCOMPARE(BarFilledTop(BarOf(TraceId::VolMV), 6.0f), 403);
    // Whatever a file holds, the heights stay in range.
    QCOMPARE(BarFilledTop(q, 1e30f), 467 - 100000);
    QCOMPARE(BarFilledTop(q, std::numeric_limits<float>::quiet_NaN()), 467);
}

int GraphTestMain(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    GraphTest test;
    return QTest::qExec(&test, argc, argv);
}

VELMOR_TEST_MAIN_FUNCTION(GraphTest, trends, GraphTestMain)

#include "GraphTest.moc"
