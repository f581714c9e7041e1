// The Trends window: plot, scales and traces of the sample log, the process
// bars, the settings box, the gate valve and the pump button, and the
// browsing of a run (scroll arrows, start time, time base, cursor line and
// floating read-out). A running loop tells it what happens through the
// TrendSink interface, in values; the window keeps its own view state and
// turns the values into pixels.
//
// Its work is split by responsibility: creation, texts and events here
// (TfrmGraph.cpp); axes and traces (TfrmGraphPlot.cpp); bars, settings box,
// gate and pump (TfrmGraphBars.cpp); arrows, time edits, slider, cursor line
// and read-out (TfrmGraphNavigation.cpp).
//
// The panel picture is drawn at the screen's device pixel ratio: every
// coordinate is a logical panel pixel, the picture holds the screen's.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/State.h"
#include "core/trends/TrendSink.h"
#include "core/trends/TrendTables.h"
#include "ui/trends/TrendCanvas.h"
#include "ui/trends/TrendComparison.h"
#include "ui/trends/TrendViewState.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>
#include <vector>

class QCheckBox;
class QCursor;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;

namespace velmor {

class PanelItem;

class TfrmGraph : public QWidget, public TrendSink {
    Q_OBJECT

public:
    // Creates the window for an exercise: creation steps and the exercise's
    // configuration (caption, scale picture, initial span, check boxes).
    // pixelRatio 0: the screen's (the parent's, or the primary screen's).
    TfrmGraph(VelmorState& state, Exercise exercise, QWidget* parent = nullptr,
              qreal pixelRatio = 0);
    ~TfrmGraph() override;

    Exercise exercise() const { return m_exercise; }

    // What the window shows and how far it has drawn.
    const TrendViewState& view() const { return m_view; }
    TrendViewState& view() { return m_view; }
    // The record under the cursor line; 0 when no line is shown.
    int cursorRecordShown() const;

    // TrendSink: what a running loop tells the window.
    void runStarted(const RunStart& start) override;
    void recordAppended(int recordNumber, double cycleTime, std::int32_t settingsSegment) override;
    void runFinished() override;

    // A loaded file's run, shown from its start at the file's time base.
    void ShowLoadedRun();
    // File > New: empty axes, empty bars and a settings box without values.
    void ClearRun();

    // Plot.
    void DrawNewAxes();
    void DrawAxisLine(int x, int label);
    int SetXPoints(double t);
    // One trace segment from the previous point to trendX (TrendSP ...
    // TrendLevelMV), if the trace is shown.
    void TrendSegment(TraceId id);
    void DrawMark();
    void PlotPoint(int recordNumber);
    void DrawTrend();

    // Bars, settings box, gate and pump.
    void DrawBars(int recordNumber);
    void PIDUpdate(int recordNumber);
    void DrawGate();
    // The Flow window's control-mode button enables the pump exactly in Manual.
    void setPumpEnabled(bool enabled);

    void Heading(const QString& fileName);
    void SetLanguage();
    // The main window's cross cursor over the two time edits.
    void setEditCursor(const QCursor& cursor);

    // imgPanel: the 524 x 501 picture everything is drawn on (that many
    // logical pixels; at a pixel ratio above 1, more of the screen's).
    const QImage& panel() const { return m_canvas.image(); }

    // The traces whose check boxes are checked, in trace order.
    std::array<bool, kTraceCount> shownTraces() const;

    // Navigation.
    void imgPanelMouseDown(Qt::MouseButton button, int x, int y);
    void imgPanelMouseMove(Qt::MouseButtons buttons, int x, int y);
    void txtFloatMouseMove(Qt::MouseButtons buttons, int x, int y);
    // Enter in the two edits (other keys are the edits' own); true when the
    // key was taken.
    bool txtStartTimeKeyPress(int key);
    bool txtTrendBaseKeyPress(int key);
    void Move(int arrow);
    void Highlight(int arrow);
    QImage ArrowHandle(int arrow, int state) const; // state 0 normal, 3 highlighted
    void DrawArrow(int x, const QImage& picture);
    void Slider(int offset);
    // Time-base slider track with its knob at offset k.
    void SliderAt(int k);
    int PosToPointer(int x) const;
    void LineAt(int x);
    void DrawLine();
    void RestoreLine();
    void BlankLine();
    void Info(int x, int y);
    // The floating read-out, when the mouse has rested on the plot for the
    // read-out delay.
    void Display();
    // The read-out delay's timer went off.
    void readoutTimerTimer();
    // A run starts: no read-out comes up during it.
    void stopReadout();
    // The mouse moved over the main window: an arrow left highlighted goes
    // back to its normal picture.
    void RemoveHighlight();

    // The keyboard on the plot after a run: Left and Right move the cursor
    // line by one record (Shift: 10 s), Home and End to the run's ends,
    // Page Up and Page Down scroll as the 10 s arrows do (Shift: the 60 s
    // ones), Escape removes the line. True when the key was taken.
    bool plotKeyPress(int key, Qt::KeyboardModifiers modifiers);
    // Puts the cursor line on record n (1..sampleCount), scrolling the view
    // when the record is outside it.
    void CursorToRecord(int recordNumber);
    // The first plot column whose record is n or later.
    int ColumnOfRecord(int recordNumber) const;
    // The plot as the keyboard and a screen reader meet it; it reads the
    // values under the cursor line.
    PanelItem* plotItem() const { return m_plotItem; }

    // A saved run of the same exercise drawn behind the current traces in
    // dimmed, dashed lines, until cleared (Analysis > Compare with saved run).
    // `name` is the saved file's name, as the Analysis menu shows it.
    void SetComparison(std::vector<SampleRecord> records,
                       const std::array<std::int32_t, kSecondIndexEntries>& secondIndex,
                       const QString& name = {});
    void ClearComparison();
    bool hasComparison() const { return !m_comparison.empty(); }
    const QString& comparisonName() const { return m_comparison.name(); }

signals:
    // The close box was pressed while the program runs: the shell closes
    // the open exercise, and this window with it.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    // The language switch: QEvent::LanguageChange runs SetLanguage.
    void changeEvent(QEvent* event) override;

private:
    // Per trace, in TraceId order: its check box, the run variable that
    // holds its newest value (plotting a stored record loads the record's
    // field into it) and the box's text in the layout.
    struct TraceBinding {
        QCheckBox* TfrmGraph::*box;
        float RunState::*value;
        const char* layoutText;
    };
    static const std::array<TraceBinding, kTraceCount> kTraceBindings;
    QCheckBox* checkBoxOf(TraceId id) const;
    float& currentValueOf(TraceId id);

    // Creation steps and the exercise's configuration.
    void FormCreate();
    void LoadPictures();
    void CreateTopRow();
    void CreateFloat();
    void CreateCheckBoxes();
    void CreateButtons();
    void ApplyExerciseConfiguration();
    void DrawGateBox();

    // A trace check box changed: blank its bar, then redraw the plot.
    void chkTraceClick(TraceId id);
    // Blanks bar place 0..7 (BlankFlowSP ... BlankVolMV).
    void BlankPlace(int place);
    void DrawOneBar(const BarInfo& bar, const SampleRecord& record, const QFont& font);

    void btnPumpClick();
    void btnChokeUpClick();
    void btnChokeDownClick();

    // The settings box's labels and frame (drawn by SetLanguage).
    void DrawSettingsLabels();
    // The values of the settings box: PG, PB, I, D of each loop's column
    // (the exercise's profile gives the columns); empty texts blank a line,
    // missing ones the whole column.
    using BoxTexts = std::array<QString, 4>;
    void DrawSettingsValues(const std::vector<BoxTexts>& values);
    void DrawAxisLine(QPainter& painter, int x, int label);
    void ShowStartTime(int seconds);
    // A new span from the slider or the time-base edit.
    void applySpan(std::int32_t span);
    // After the view start changed under a shown cursor: its new record.
    void cursorFollowsView();
    // The segment of record min(n, sampleCount) is not the one the settings
    // box shows: the box shows record n's settings.
    void showSettingsOf(int recordNumber);
    // The hand pointer over what a click acts on, the default elsewhere.
    void updatePointer(int block);
    void DrawComparison();

    // The plot's read-out for a screen reader: the time and the shown
    // traces' values of the record under the cursor line.
    void tellCursorValues();
    void CreateKeyboardOrder();

    QFont arialFont(int points, bool bold = false) const;
    char decimalMark() const;
    void refreshPanel();

    VelmorState& m_state;
    Exercise m_exercise;
    TrendViewState m_view;
    // 500 ms of the mouse resting on the plot before the read-out shows.
    QTimer* readoutTimer = nullptr;
    TrendCanvas m_canvas; // imgPanel
    QImage m_background;  // the panel as laid out, for restoring the plot frame
    QImage imgLpermOverlay;
    QImage imgLitresOverlay;
    QImage imgLineBackground; // column saved under the cursor line
    QImage m_sliderTrack;
    QImage m_sliderKnob;
    std::array<QImage, 8> m_arrows;    // normal pictures
    std::array<QImage, 8> m_arrowsLit; // highlighted pictures
    bool arrowRedrawn = false;         // refresh the panel after the move
    TrendComparison m_comparison;
    QFont m_axisFont;
    int m_axisFontAscent = 0;
    int m_axisFontHeight = 0;

    // Gate box geometry, measured once at creation.
    int gateTextX = 0;
    int gateTextY = 0;
    int gateTextWidth = 0;
    int gateTextHeight = 0;

    // Controls, by the names the whole program uses for them (and their
    // object names).
    QCheckBox* chkFlowSP = nullptr;
    QCheckBox* chkFlowMV = nullptr;
    QCheckBox* chkFlowQ = nullptr;
    QCheckBox* chkTempSP = nullptr;
    QCheckBox* chkTempMV = nullptr;
    QCheckBox* chkTempQ = nullptr;
    QCheckBox* chkVolSP = nullptr;
    QCheckBox* chkVolMV = nullptr;
    QCheckBox* chkLevelSP = nullptr;
    QCheckBox* chkLevelMV = nullptr;
    QPushButton* btnPump = nullptr;
    QPushButton* btnChokeUp = nullptr;
    QPushButton* btnChokeDown = nullptr;
    QLineEdit* txtStartTime = nullptr;
    QLineEdit* txtTrendBase = nullptr;
    QLabel* txtFloat = nullptr;
    QLabel* lblLeftUnit = nullptr;
    QLabel* lblRightUnit = nullptr;
    QLabel* lblStartTime = nullptr;
    QLabel* lblTimeBase = nullptr;
    QLabel* lblSecs = nullptr;
    QLabel* lblSecs2 = nullptr;
    PanelItem* m_plotItem = nullptr;
};

} // namespace velmor
