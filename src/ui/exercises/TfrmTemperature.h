// The Temperature exercise window: a PID loop on the heater holding the
// tank's temperature at an entered set point. Its panel shows the set point
// and the temperature as gauges, the controller settings, the run indicator
// with its words, and the Set Point and Initial Value boxes.
#pragma once

#include "ui/exercises/ControllerPanel.h"
#include "ui/exercises/LoopWindow.h"

class QLabel;

namespace velmor {

class TfrmTemperature : public LoopWindow {
    Q_OBJECT

public:
    TfrmTemperature(VelmorState& state, TfrmGraph* graph, MainLink* main,
                    QWidget* parent = nullptr);
    ~TfrmTemperature() override;

    // ExerciseWindow
    void InitValues() override;
    void SetLanguage() override;
    void ShowSettings() override;
    void UpdateDisplay(int code) override;

    void DrawSetPoint();
    void DrawInitialValue();
    void DrawSP();
    void DrawMV();
    void DrawGreen() override;
    void DrawRed() override;

    ControllerPanel* controller() { return m_controller; }

    ClickArea* imgSetP = nullptr;
    ClickArea* imgInitVal = nullptr;
    QLabel* lblSetpoint = nullptr;
    QLabel* lblInitialValue = nullptr;
    QLabel* lblEnterValue = nullptr;
    QLabel* lblEnterValue2 = nullptr;
    QLabel* lblControlMode = nullptr;
    QLabel* lblControl = nullptr;
    QLabel* lblController = nullptr;
    QLabel* lblPG = nullptr;
    QLabel* lblPB = nullptr;

protected:
    void DrawCycle() override;

private:
    void DrawBackground();
    void redrawSettings();
    // The indicator's words beside the signal head, one source text with
    // its two lines.
    void drawLightWords(const char* twoLines);

    ControllerPanel* m_controller = nullptr;
    ControllerLabels m_controllerLabels;
};

} // namespace velmor
