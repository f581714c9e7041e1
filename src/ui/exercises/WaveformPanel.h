// The set-point waveform panel of the Flow, Fluid level and Open-loop
// windows: five radio buttons with their pictures, the label column whose
// words follow the waveform, and the three value boxes A, B and C.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/State.h"
#include "ui/common/PanelView.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <array>

class QRadioButton;

namespace velmor {

struct WaveformGeometry {
    // Silver boxes behind the row labels: one for the column (Flow, Fluid
    // level) or one per row (Open loop).
    std::array<QRect, 3> labelBoxes;
    int labelBoxCount = 1;
    QPoint sp, initial, initialLong, final, max, min, period;
    std::array<QRect, 3> valueBoxes;
    int textX = 0; // left of the area each value is centred in
    // Radio buttons and pictures.
    int radioLeft = 0;
    int pictureLeft = 0;
    QSize pictureSize;
    std::array<int, 5> tops{};
};

WaveformGeometry FlowWaveformGeometry();
WaveformGeometry LevelWaveformGeometry();
WaveformGeometry OpenWaveformGeometry();

class WaveformPanel : public QObject {
    Q_OBJECT

public:
    WaveformPanel(VelmorState& state, Exercise exercise, PanelView* panel,
                  const WaveformGeometry& geometry, const std::int32_t& panelFontSize);

    QRadioButton* chkFlat = nullptr;
    QRadioButton* chkRamp = nullptr;
    QRadioButton* chkSine = nullptr;
    QRadioButton* chkStep = nullptr;
    QRadioButton* chkSawtooth = nullptr;
    ClickLabel* imgFlat = nullptr;
    ClickLabel* imgRamp = nullptr;
    ClickLabel* imgSine = nullptr;
    ClickLabel* imgStep = nullptr;
    ClickLabel* imgSawtooth = nullptr;
    ClickArea* imgSetA = nullptr;
    ClickArea* imgSetB = nullptr;
    ClickArea* imgSetC = nullptr;

    // Radio button of type 1..5 (nullptr outside).
    QRadioButton* radio(std::int32_t type) const;

    // chkFlatClick .. chkSawtoothClick: the button of `type` was clicked.
    void chkClick(std::int32_t type);
    // imgFlatClick ..: check the radio button beside the picture.
    void imgClick(std::int32_t type);
    // Check the button of the current waveform (without choosing anew).
    void ResetWaveform();
    // Labels and enabled rows for the current waveform, then the values.
    void SetWaveform();
    void DrawSetpointValues();
    // Redraws the values after a keypad entry of a row's code (5, 6, 7);
    // false for a code of some other box.
    bool DrawFor(int code);
    void DrawSPBlankBlank();
    void DrawInitialFinalBlank();
    void DrawMaxMinPeriod();
    void DrawA(bool show, float value);
    void DrawB(bool show, float value);
    void DrawC(bool show, float value);
    // Sunken frames round the value boxes, part of the panel's background.
    void DrawFrames();

signals:
    // A value row was clicked: codes 5, 6, 7; the window opens the keypad.
    void boxClicked(int code);

private:
    void drawRow(int row, bool show, float value);
    void drawLabels(std::initializer_list<std::pair<QPoint, QString>> labels);
    void nameRows(std::initializer_list<QString> names);

    VelmorState& m_state;
    Exercise m_exercise;
    PanelView* m_panel;
    WaveformGeometry m_geometry;
    const std::int32_t& m_fontSize;
};

} // namespace velmor
