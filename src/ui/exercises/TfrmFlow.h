// The Flow exercise window: a PID (or Manual) loop on the pump against a
// set point that is fixed or follows a waveform. Its panel shows the set
// point and the measured flow as gauges, the controller settings, the
// sample time, the run indicator and the waveform panel.
#pragma once

#include "core/rundata/State.h"
#include "ui/exercises/ControllerPanel.h"
#include "ui/exercises/ExerciseWindow.h"
#include "ui/exercises/PanelView.h"
#include "ui/exercises/RunDriver.h"
#include "ui/exercises/WaveformPanel.h"

#include <QImage>
#include <QWidget>

class QLabel;
class QPushButton;

namespace velmor {

class TfrmGraph;

class TfrmFlow : public QWidget, public ExerciseWindow {
    Q_OBJECT

public:
    // The panel picture's size; the window's client area is as wide.
    static constexpr QSize kPanelSize{225, 501};

    // FormCreate: the Trends window exists already and is the run's sink.
    TfrmFlow(VelmorState& state, TfrmGraph* graph, MainLink* main, QWidget* parent = nullptr);
    ~TfrmFlow() override;

    // ExerciseWindow
    Exercise exercise() const override { return Exercise::Flow; }
    QWidget* asWidget() override { return this; }
    void InitValues() override;
    void SetLanguage() override;
    void UpdateSettings() override;
    void SendSettings() override;
    void UpdateDisplay(int code) override;
    void StopRun() override { btnStopClick(); }

    // Drawing on imgPanel.
    void DrawSP();
    void DrawMV();
    void DrawPG() { m_controller->DrawPG(); }
    void DrawPB() { m_controller->DrawPB(); }
    void DrawI() { m_controller->DrawI(); }
    void DrawD() { m_controller->DrawD(); }
    void DrawSample();
    void DrawGreen();
    void DrawRed();
    void DrawControl();

    // Handlers.
    void btnStartClick();
    void btnStopClick();
    void btnMenuClick();
    void btnControlClick();
    void imgPGClick(int code);
    void FormClose();

    RunDriver* driver() { return m_driver; }
    PanelView* imgPanel = nullptr;
    ControllerPanel* controller() { return m_controller; }
    WaveformPanel* waveform() { return m_waveform; }

    QPushButton* btnStart = nullptr;
    QPushButton* btnStop = nullptr;
    QPushButton* btnMenu = nullptr;
    QPushButton* btnControl = nullptr;
    QLabel* lblSampleTime = nullptr;
    QLabel* lblControlMode = nullptr;
    QLabel* lblController = nullptr;
    QLabel* lblSetpoint = nullptr;
    QLabel* lblPG = nullptr;
    QLabel* lblPB = nullptr;
    QLabel* lblTrafficLight = nullptr;
    // Hidden sources of the run indicator.
    QImage imgTrafGreen;
    QImage imgTrafRed;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void DrawBackground();
    QLabel* makeLabel(const QRect& place, int pointSize, Qt::Alignment alignment);
    QPushButton* makeButton(const QRect& place);
    void runStarted();
    void runEnded();

    VelmorState& m_state;
    TfrmGraph* m_graph;
    MainLink* m_main;
    ControllerPanel* m_controller = nullptr;
    WaveformPanel* m_waveform = nullptr;
    RunDriver* m_driver = nullptr;
};

} // namespace velmor
