// The Open-loop exercise window: the waveform drives the pump output
// directly and the flow answers. Its panel shows the output and the flow as
// gauges, the run indicator, the sample time and the waveform panel; there
// is no controller.
#pragma once

#include "ui/exercises/LoopWindow.h"
#include "ui/exercises/WaveformPanel.h"

#include <QTimer>

class QLabel;

namespace velmor {

class TfrmOpen : public LoopWindow {
    Q_OBJECT

public:
    // How long after the window's activation a waveform click is ignored.
    static constexpr int kTripMs = 250;

    TfrmOpen(VelmorState& state, TfrmGraph* graph, MainLink* main, QWidget* parent = nullptr);
    ~TfrmOpen() override;

    // ExerciseWindow
    void InitValues() override;
    void SetLanguage() override;
    void ShowSettings() override;
    void UpdateDisplay(int code) override;

    void DrawQ();
    void DrawMV();

    // The window became active: for a moment a waveform click only snaps
    // back, so that the click that activated it cannot change the waveform.
    void FormActivate();
    void tmrTripTimer();

    WaveformPanel* waveform() { return m_waveform; }

    QLabel* lblControlMode = nullptr;
    QLabel* lblMode = nullptr;
    QLabel* lblSetpoint = nullptr;
    QTimer* tmrTrip = nullptr;

protected:
    void DrawCycle() override;
    bool event(QEvent* event) override;

private:
    void DrawBackground();

    WaveformPanel* m_waveform = nullptr;
};

} // namespace velmor
