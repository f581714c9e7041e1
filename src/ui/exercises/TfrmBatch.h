// The Batch volume exercise window: a volume loop on the pump and a
// temperature loop on the heater, filling a set volume within an expected
// time at a set temperature. Its panel shows both controller panels, the
// volume and temperature set points, the expected time, the sump
// temperature, the sample time and the run indicator; the measured values
// are on the Trends window.
#pragma once

#include "ui/exercises/ControllerPanel.h"
#include "ui/exercises/LoopWindow.h"

class QLabel;
class QPushButton;

namespace velmor {

class TfrmBatch : public LoopWindow {
    Q_OBJECT

public:
    TfrmBatch(VelmorState& state, TfrmGraph* graph, MainLink* main, QWidget* parent = nullptr);
    ~TfrmBatch() override;

    // ExerciseWindow
    void InitValues() override;
    void SetLanguage() override;
    void ShowSettings() override;
    void UpdateDisplay(int code) override;

    void DrawVolSP();
    void DrawTempSP();
    void DrawSumpTemp();
    void DrawExpTime();

    ControllerPanel* volumePanel() { return m_volume; }
    ControllerPanel* temperaturePanel() { return m_temperature; }

    ClickArea* imgVolSetP = nullptr;
    ClickArea* imgTempSetP = nullptr;
    ClickArea* imgExpTime = nullptr;
    ClickArea* imgSumpTank = nullptr;
    QPushButton* btnVolControl = nullptr;
    QPushButton* btnTempControl = nullptr;
    QLabel* lblVolume = nullptr;
    QLabel* lblTemperature = nullptr;
    QLabel* lblVolControl = nullptr;
    QLabel* lblTempControl = nullptr;
    QLabel* lblVolController = nullptr;
    QLabel* lblTempController = nullptr;
    QLabel* lblPG = nullptr;
    QLabel* lblPB = nullptr;
    QLabel* lblPG2 = nullptr;
    QLabel* lblPB2 = nullptr;
    QLabel* lblVolSetpoint = nullptr;
    QLabel* lblTempSetpoint = nullptr;
    QLabel* lblSumpTank = nullptr;
    QLabel* lblExpTime = nullptr;
    QLabel* lblVolEnterValue = nullptr;
    QLabel* lblTempEnterValue = nullptr;
    QLabel* lblSumpEnterValue = nullptr;
    QLabel* lblSumpTankEnterValue = nullptr;

protected:
    void DrawCycle() override;

private:
    void DrawBackground();
    void redrawSettings();

    ControllerPanel* m_volume = nullptr;
    ControllerPanel* m_temperature = nullptr;
    ControllerLabels m_volumeLabels;
    ControllerLabels m_temperatureLabels;
};

} // namespace velmor
