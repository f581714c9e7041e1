// The controller settings panel of the loop exercise windows: the PG, PB,
// I and D boxes, the I and D check boxes with their clickable letters, the
// sample-time box and the run indicator. The arithmetic of an entry lives in
// the core (ControllerSettings.h); this is what the student sees and clicks.
#pragma once

#include "core/exercises/ControllerSettings.h"
#include "core/rundata/State.h"
#include "ui/common/PanelView.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

class QCheckBox;

namespace velmor {

// A value box: its rectangle and the top-left of the area its text is
// centred in.
struct BoxPlace {
    QRect box;
    QPoint base;
};

struct ControllerGeometry {
    BoxPlace pg, pb, i, d;
};

// Flow, Fluid level and Temperature share one geometry.
ControllerGeometry FlowControllerGeometry();
ControllerGeometry BatchVolumeControllerGeometry();
ControllerGeometry BatchTemperatureControllerGeometry();

// The grey sample-time box of each window.
BoxPlace FlowSampleBox();
BoxPlace LevelSampleBox();
BoxPlace TemperatureSampleBox();
BoxPlace BatchSampleBox();
BoxPlace OpenSampleBox();

// Where each window shows its run indicator and how much of the picture.
struct LightPlace {
    QSize size;
    QPoint at;
};
LightPlace FlowLight();
LightPlace LevelLight();
LightPlace OpenLight();
LightPlace TemperatureLight();
LightPlace BatchLight();

// The window's placement of the panel's own controls (its layout table).
struct ControllerLayout {
    QPoint chkI;
    QPoint chkD;
    QRect lblI;
    QRect lblD;
};

class ControllerPanel : public QObject {
    Q_OBJECT

public:
    using LoopOf = PidLoop (*)(VelmorState&);

    // codeOffset is 0, or 10 for the Batch temperature loop (codes 11..14).
    ControllerPanel(VelmorState& state, PanelView* panel, LoopOf loop, int codeOffset,
                    const ControllerGeometry& geometry, const ControllerLayout& layout,
                    const std::int32_t& panelFontSize);

    // Value boxes laid over the panel, check boxes and letters.
    ClickArea* imgPG = nullptr;
    ClickArea* imgPB = nullptr;
    ClickArea* imgI = nullptr;
    ClickArea* imgD = nullptr;
    QCheckBox* chkI = nullptr;
    QCheckBox* chkD = nullptr;
    ClickLabel* lblI = nullptr;
    ClickLabel* lblD = nullptr;

    void DrawPG();
    void DrawPB();
    void DrawI();
    void DrawD();
    void DrawAll();
    // Sunken frames round the four boxes, part of the panel's background.
    void DrawFrames();

    // The check boxes show the loop's box states (after the core set them).
    void SyncChecks();
    // After the defaults: the boxes follow the switches, which are on.
    void ResetChecks();
    // Redraws what a keypad entry of this panel's code changed (PG and PB
    // together); false for a code of some other box.
    bool DrawFor(int code);

    // Handlers of the check boxes (whatever changed their state) and letters.
    void chkIClick();
    void chkDClick();
    void lblIClick();
    void lblDClick();

    // The keypad's limits and old value for one of this panel's codes.
    const ControllerGeometry& geometry() const { return m_geometry; }

signals:
    // imgPGClick: a value box was clicked; the window opens the keypad.
    void boxClicked(int code);

private:
    void drawBox(const BoxPlace& place, float value, int precision);

    VelmorState& m_state;
    PanelView* m_panel;
    LoopOf m_loop;
    int m_codeOffset;
    ControllerGeometry m_geometry;
    const std::int32_t& m_fontSize;
};

// DrawSample: the sample time in grey on its silver box.
void DrawSampleTime(PanelView* panel, const BoxPlace& place, float samplePeriod, int fontSize);

// DrawGreen / DrawRed: a rectangle of the source picture from its top-left
// corner onto the panel.
void DrawRunLight(PanelView* panel, const QImage& source, const LightPlace& place);

} // namespace velmor
