// The Flow exercise window: a PID (or Manual) loop on the pump against a
// set point that is fixed or follows a waveform. Its panel shows the set
// point and the measured flow as gauges, the controller settings, the
// sample time, the run indicator and the waveform panel.
#pragma once

#include "ui/exercises/ControllerPanel.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/exercises/WaveformPanel.h"

class QLabel;
class QPushButton;

namespace velmor {

class TfrmFlow : public LoopWindow {
    Q_OBJECT

public:
    // FormCreate: the Trends window exists already and is the run's sink.
    TfrmFlow(VelmorState& state, TfrmGraph* graph, MainLink* main, QWidget* parent = nullptr);
    ~TfrmFlow() override;

    // ExerciseWindow
    void InitValues() override;
    void SetLanguage() override;
    void ShowSettings() override;
    void UpdateDisplay(int code) override;

    // Drawing on imgPanel.
    void DrawSP();
    void DrawMV();
    void DrawPG() { m_controller->DrawPG(); }
    void DrawPB() { m_controller->DrawPB(); }
    void DrawI() { m_controller->DrawI(); }
    void DrawD() { m_controller->DrawD(); }
    void DrawGreen() override;
    void DrawRed() override;
    void DrawControl();

    void btnControlClick();

    ControllerPanel* controller() { return m_controller; }
    WaveformPanel* waveform() { return m_waveform; }

    QPushButton* btnControl = nullptr;
    QLabel* lblControlMode = nullptr;
    QLabel* lblController = nullptr;
    QLabel* lblSetpoint = nullptr;
    QLabel* lblPG = nullptr;
    QLabel* lblPB = nullptr;
    QLabel* lblTrafficLight = nullptr;

protected:
    void DrawCycle() override;
    void runEndedOwn() override;

private:
    void DrawBackground();

    ControllerPanel* m_controller = nullptr;
    ControllerLabels m_controllerLabels;
    WaveformPanel* m_waveform = nullptr;
};

} // namespace velmor
