// What every loop exercise window shares: the panel picture with its etched
// groups, the START, STOP and MENU buttons, the run driver and what a run
// start and end change on screen, the run indicator, the sample-time box,
// the keypad hand-off of its value boxes, the number gauges with their bars,
// and the close protocol (the window asks the shell to release it). A window class
// adds its own boxes, panels and texts.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/State.h"
#include "ui/common/PanelView.h"
#include "ui/common/ValueBox.h"
#include "ui/exercises/ControllerPanel.h"
#include "ui/exercises/ExerciseWindow.h"
#include "ui/exercises/PanelArt.h"
#include "ui/exercises/RunDriver.h"

#include <QColor>
#include <QImage>
#include <QWidget>

class QLabel;
class QPushButton;

namespace velmor {

class TfrmGraph;

// A number box above or below a bar gauge: the number in `colour` on black,
// centred in the 80 x 31 area at `base`; the bar 18 pixels wide from
// `barLeft`, 263 pixels for `fullScale`, bottom at y = 340.
struct GaugeLayout {
    QRect box;
    QPoint base;
    QColor textColour;
    QColor barColour;
    int barLeft = 0;
    float fullScale = 100;
    int decimals = 0;
    // Offsets of the centred text rounded to nearest instead of truncated.
    bool roundedOffsets = false;
    // What a screen reader calls the gauge (context "LoopWindow").
    const char* name = nullptr;
};

// The measured flow under the panel of Flow and Open loop: aqua, 2
// decimals, 263 pixels for 2 L/min.
inline const GaugeLayout kFlowGauge{Ltrb(16, 358, 97, 389),
                                    QPoint(17, 359),
                                    kAqua,
                                    kAqua,
                                    79,
                                    2.0f,
                                    2,
                                    false,
                                    QT_TRANSLATE_NOOP("LoopWindow", "Flow (L/min)")};

void DrawGauge(PanelView* panel, const GaugeLayout& gauge, float value, int fontSize = 14);

// The recessed wells of the two bar gauges at x 15..34 and 78..97 and the
// scale between them: ticks every fifth of `labelStep`, numbers at each
// `labelStep` with `decimals` digits, the unit and the two bars' names above.
void DrawBarScale(QImage& image, float fullScale, float labelStep, int decimals,
                  const QString& unit, const QString& left, const QString& right);

// One side's scale of two bars that measure different things.
struct BarScale {
    float fullScale;
    float labelStep;
    int decimals;
    QString unit;
    QString name;
};
// Two scales between the bars: the left bar's ticks and numbers against
// it, the right bar's against the right one.
void DrawDualBarScale(QImage& image, const BarScale& left, const BarScale& right);

class LoopWindow : public QWidget, public ExerciseWindow {
    Q_OBJECT

public:
    // Every panel picture is 225 pixels wide; the window is as wide and as
    // tall as its Trends window beside it.
    static constexpr QSize kPanelSize{225, 501};

    ~LoopWindow() override;

    // ExerciseWindow
    Exercise exercise() const override { return m_exercise; }
    QWidget* asWidget() override { return this; }
    void UpdateSettings() final;
    void SendSettings() override;
    void StopRun() override { btnStopClick(); }

    // Handlers every loop window has.
    void btnStartClick();
    void btnStopClick();
    void btnMenuClick();
    // A value box was clicked: the keypad opens with that box's range and
    // value (nothing for a box that cannot be clicked now).
    void imgPGClick(int code);
    void FormClose();

    // The run indicator: green while running, red after.
    virtual void DrawGreen();
    virtual void DrawRed();
    void DrawSample();

    // The painted gauges, sample time and run light as the keyboard and a
    // screen reader meet them.
    PanelItem* topGauge() const { return m_topGauge; }
    PanelItem* bottomGauge() const { return m_bottomGauge; }
    PanelItem* sampleItem() const { return m_sampleItem; }
    PanelItem* runLight() const { return m_runLight; }

    RunDriver* driver() { return m_driver; }
    TfrmGraph* graph() const { return m_graph; }

    PanelView* imgPanel = nullptr;
    QPushButton* btnStart = nullptr;
    QPushButton* btnStop = nullptr;
    QPushButton* btnMenu = nullptr;
    QLabel* lblSampleTime = nullptr;
    // Hidden sources of the run indicator.
    QImage imgTrafGreen;
    QImage imgTrafRed;

signals:
    // The close box or MENU while the program runs: the shell is to release
    // this window (and its Trends window) a moment later.
    void closeRequested(velmor::Exercise exercise);

protected:
    // What the close handler does besides stopping the run, turning File >
    // Save and Print off and reporting to the shell; the exercises differ
    // in these.
    struct CloseRule {
        bool resetsRun = true;   // START on, STOP off, runActive cleared
        bool disablesNew = true; // the main window's File > New
    };
    struct Layout {
        BoxPlace sampleBox;
        LightPlace light;
        CloseRule close;
        // The exercise's panelFontSize and, where the indicator has words,
        // its lightState (0 none, 1 green, 2 red).
        std::int32_t* panelFontSize = nullptr;
        std::int32_t* lightState = nullptr;
    };

    LoopWindow(VelmorState& state, Exercise exercise, TfrmGraph* graph, MainLink* main,
               const Layout& layout, QWidget* parent);

    // Creation steps that come after the window's own controls exist:
    // defaults, texts, sample box, File > New, no run indicator yet.
    void finishCreation();

    QLabel* makeLabel(const QRect& place, int pointSize, Qt::Alignment alignment);
    // A controller group's caption (at captionAt) and the PG and PB labels
    // beside their boxes (left x, tops pgTop and pbTop).
    struct ControllerLabels {
        QLabel* caption = nullptr;
        QLabel* pg = nullptr;
        QLabel* pb = nullptr;
    };
    ControllerLabels makeControllerLabels(QPoint captionAt, int x, int pgTop, int pbTop);
    // The texts of a controller group: the same words in every window.
    void setControllerTexts(const ControllerLabels& labels, ControllerPanel* panel);
    QPushButton* makeButton(const QRect& place, int pointSize = 9);
    void makeRunButtons(const QRect& start, const QRect& stop, const QRect& menu);
    // A group's etched frame and the window's common background.
    void drawPanelGround(std::initializer_list<QRect> groups);
    // The two bar wells at x 15..34 and 78..97 with their number boxes,
    // sunk into the panel; each window's scale goes between them first.
    void drawGaugeWells(const GaugeLayout& top, const GaugeLayout& bottom);

    // Per window: the number displays after each cycle, and the steps of a
    // run's start and end of its own (after the common ones).
    virtual void DrawCycle() = 0;
    virtual void runStartedOwn() {}
    virtual void runEndedOwn() {}
    // Texts of START, STOP, MENU and the sample-time label, and the names
    // of the gauges, the sample time and the run light.
    void setRunTexts();
    // The Tab chain of the window, in reading order.
    void setReadingOrder(std::initializer_list<QWidget*> order);

    VelmorState& m_state;
    const Exercise m_exercise;
    TfrmGraph* m_graph;
    MainLink* m_main;
    const Layout m_layout;
    std::int32_t& m_panelFontSize;

protected:
    // The language switch: QEvent::LanguageChange runs SetLanguage.
    void changeEvent(QEvent* event) override;

private:
    void runStarted();
    void runEnded();
    void closeEvent(QCloseEvent* event) override;

    RunDriver* m_driver = nullptr;
    PanelItem* m_topGauge = nullptr;
    PanelItem* m_bottomGauge = nullptr;
    const char* m_topGaugeName = nullptr;
    const char* m_bottomGaugeName = nullptr;
    PanelItem* m_sampleItem = nullptr;
    PanelItem* m_runLight = nullptr;
};

} // namespace velmor
