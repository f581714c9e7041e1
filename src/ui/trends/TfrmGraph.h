// The Trends window: plot, scales and traces of the sample log, the process
// bars, the settings box, the gate valve and the pump button. A running loop
// draws on it through the TrendSink interface.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/State.h"
#include "core/trends/TrendSink.h"

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
    TfrmGraph(VelmorState& state, Exercise exercise, QWidget* parent = nullptr);
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
    // File > New: empty axes, empty bars and a settings box without values.
    void ClearRun();
    // The Flow window's control-mode button enables the pump exactly in Manual.
    void setPumpEnabled(bool enabled);

    // imgPanel: the 524 x 501 picture everything is drawn on.
    const QImage& panel() const { return m_panel; }

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

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

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
    using SettingsTexts = std::array<QString, 4>;
    void DrawSettingsValues(const std::vector<SettingsTexts>& values);
    // Time-base slider track with its knob at offset k.
    void SliderAt(int k);
    void DrawAxisLine(QPainter& painter, int x, int label);

    void fillPanelRect(int left, int top, int right, int bottom, QRgb colour);
    void panelLine(int x0, int y0, int x1, int y1, QRgb colour);
    QFont arialFont(int points, bool bold = false) const;
    char decimalMark() const;
    void refreshPanel();

    VelmorState& m_state;
    Exercise m_exercise;
    QImage m_panel;      // imgPanel
    QImage m_background; // the panel as laid out, for restoring the plot frame
    QImage imgLpermOverlay;
    QImage imgLitresOverlay;
    QImage imgLineBackground; // column saved under the cursor line
    QImage m_sliderTrack;
    QImage m_sliderKnob;
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
