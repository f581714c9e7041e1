// The Trends window: plot, scales and traces of the sample log, the process
// bars, the settings box, the gate valve and the pump button, and the
// browsing of a run (scroll arrows, start time, time base, cursor line and
// floating read-out). A running loop draws on it through the TrendSink
// interface.
//
// The panel picture is drawn at the screen's device pixel ratio: every
// coordinate is a logical panel pixel, the picture holds the screen's.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/State.h"
#include "core/trends/TrendSink.h"
#include "core/trends/TrendTables.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmor {

enum class TraceId;

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

    // TrendSink: what a running loop calls.
    void DrawNewAxes() override;
    void RestoreLine() override;
    void ShowStartTime(int seconds) override;
    void HideFloat() override;
    void DrawBars(int recordNumber) override;
    int SetXPoints(double t) override;
    void TrendSP() override;
    void TrendMV() override;
    void TrendQ() override;
    void TrendTempSP() override;
    void TrendTempMV() override;
    void TrendTempQ() override;
    void TrendVolSP() override;
    void TrendVolMV() override;
    void TrendLevelSP() override;
    void TrendLevelMV() override;
    void DrawMark() override;
    void PIDUpdate(int recordNumber) override;

    void DrawAxisLine(int x, int label);
    void PlotPoint(int recordNumber);
    void DrawTrend();
    void Heading(const QString& fileName);
    void SetLanguage();
    void DrawGate();
    // Time-base slider track with its knob at offset k.
    void SliderAt(int k);
    // File > New: empty axes, empty bars and a settings box without values.
    void ClearRun();
    // The Flow window's control-mode button enables the pump exactly in Manual.
    void setPumpEnabled(bool enabled);

    // imgPanel: the 524 x 501 picture everything is drawn on (that many
    // logical pixels; at a pixel ratio above 1, more of the screen's).
    const QImage& panel() const { return m_panel; }

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
    int PosToPointer(int x) const;
    void LineAt(int x);
    void DrawLine();
    void BlankLine();
    void Info(int x, int y);
    // The floating read-out, when the main window's timer says it is due.
    void Display();
    // The mouse moved over the main window: an arrow left highlighted goes
    // back to its normal picture.
    void RemoveHighlight();

    // A saved run of the same exercise drawn behind the current traces in
    // dimmed, dashed lines, until cleared (Analysis > Compare with saved run).
    // `name` is the saved file's name, as the Analysis menu shows it.
    void SetComparison(std::vector<SampleRecord> records,
                       const std::array<std::int32_t, kSecondIndexEntries>& secondIndex,
                       const QString& name = {});
    void ClearComparison();
    bool hasComparison() const { return !m_comparison.empty(); }
    const QString& comparisonName() const { return m_comparisonName; }

    // Controls, by the names the whole program uses for them.
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

signals:
    // The close box was pressed while the program runs: the shell puts the
    // open exercise's name into its mailbox, which closes both windows.
    void closeRequested();
    // DrawTrend stops the main window's read-out timer.
    void mainTimerStopRequested();
    // The mouse rests on the plot: the main window's timer is to run (not
    // restarted when it runs already) and then asks for the read-out.
    void mainTimerStartRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Creation steps and the exercise's configuration.
    void FormCreate();
    void CreateControls();
    void ApplyExerciseConfiguration();
    void DrawGateBox();

    QCheckBox* checkBoxOf(TraceId id) const;
    float& currentValueOf(TraceId id);
    std::int32_t& previousYOf(TraceId id);
    // One trace segment: the body of TrendSP and its nine siblings.
    void DrawTraceSegment(TraceId id);
    // A trace check box changed: blank its bar, then redraw the plot.
    void chkTraceClick(TraceId id);

    void BlankFlowSP();
    void BlankFlowMV();
    void BlankFlowQ();
    void BlankTempSP();
    void BlankTempMV();
    void BlankTempQ();
    void BlankVolSP();
    void BlankVolMV();
    void BlankPlace(int place);

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
    // A new span from the slider or the time-base edit.
    void applySpan(std::int32_t span);
    // After the view start changed under a shown cursor: its new record.
    void cursorFollowsView();
    // The saved run, behind the traces of the view.
    void DrawComparison();

    // Pixel work in logical panel coordinates, at any pixel ratio.
    int dev(int logical) const;
    QRect devRect(int left, int top, int right, int bottom) const;
    void fillPanelRect(int left, int top, int right, int bottom, QRgb colour);
    // A 1-pixel line that leaves out its end point; dashed, it continues
    // the dash pattern from *dashPhase.
    void panelLine(int x0, int y0, int x1, int y1, QRgb colour, int* dashPhase = nullptr);
    // Copies pixels of the same logical rectangle from another picture of
    // this ratio (or puts a saved column back).
    void copyPanelRect(const QImage& from, const QRect& deviceSource, QPoint deviceTarget);
    QFont arialFont(int points, bool bold = false) const;
    char decimalMark() const;
    void refreshPanel();

    VelmorState& m_state;
    Exercise m_exercise;
    qreal m_ratio = 1;
    QImage m_panel;      // imgPanel
    QImage m_background; // the panel as laid out, for restoring the plot frame
    QImage imgLpermOverlay;
    QImage imgLitresOverlay;
    QImage imgLineBackground; // column saved under the cursor line
    QImage m_sliderTrack;
    QImage m_sliderKnob;
    std::array<QImage, 8> m_arrows;         // normal pictures
    std::array<QImage, 8> m_arrowsLit;      // highlighted pictures
    bool arrowRedrawn = false;              // refresh the panel after the move
    std::vector<SampleRecord> m_comparison; // the saved run's records
    QString m_comparisonName;
    std::array<std::int32_t, kSecondIndexEntries> m_comparisonIndex{};
    QFont m_axisFont;
    int m_axisFontAscent = 0;
    int m_axisFontHeight = 0;

    // Gate box geometry, measured once at creation.
    int gateTextX = 0;
    int gateTextY = 0;
    int gateTextWidth = 0;
    int gateTextHeight = 0;
};

} // namespace velmor
