// The Fluid level exercise window: a PID loop on the pump holding the level
// of the process tank, with an automatic drain. Its panel shows the set
// point and the level in percent, the controller settings, the initial
// level, the drain and the waveform panel.
#pragma once

#include "ui/exercises/ControllerPanel.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/exercises/WaveformPanel.h"

class QCheckBox;
class QLabel;

namespace velmor {

class TfrmLevel : public LoopWindow {
    Q_OBJECT

public:
    TfrmLevel(VelmorState& state, TfrmGraph* graph, MainLink* main, QWidget* parent = nullptr);
    ~TfrmLevel() override;

    // ExerciseWindow
    void InitValues() override;
    void SetLanguage() override;
    void ShowSettings() override;
    void UpdateDisplay(int code) override;

    void DrawSP();
    void DrawMV();
    void DrawInitialValue();
    void DrawDrain();

    ControllerPanel* controller() { return m_controller; }
    WaveformPanel* waveform() { return m_waveform; }
    // The drain lamp as a screen reader reads it: open or closed.
    PanelItem* drainLamp() const { return m_drainLamp; }

    ClickArea* imgInitialValue = nullptr;
    QCheckBox* chkAutodrain = nullptr;
    QLabel* lblAutoDrain = nullptr;
    QLabel* lblInitialValue = nullptr;
    QLabel* lblLevel = nullptr;
    QLabel* lblControlMode = nullptr;
    QLabel* lblPID = nullptr;
    QLabel* lblController = nullptr;
    QLabel* lblSetpoint = nullptr;
    QLabel* lblPG = nullptr;
    QLabel* lblPB = nullptr;
    QImage imgDrainRed;
    QImage imgDrainBlack;

protected:
    void DrawCycle() override;

private:
    void DrawBackground();
    void redrawSettings();
    void tellDrain();

    ControllerPanel* m_controller = nullptr;
    ControllerLabels m_controllerLabels;
    WaveformPanel* m_waveform = nullptr;
    PanelItem* m_drainLamp = nullptr;
};

} // namespace velmor
