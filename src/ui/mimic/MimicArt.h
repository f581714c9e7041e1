// The pictures of the mimic diagram, painted as vectors in logical pixels
// of the diagram (the painter's device may have any pixel ratio): the static
// rig, and the pictures that change with the model (lamps, valves, fan and
// stirrer frames, tank water, level bar, dial needle, slider knob).
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

namespace velmor::mimic {

// Flow-path colour (pen and brush of every path rectangle).
inline const QColor kFlowBlue{0, 0, 255};
// The dial needle and the face it is erased to.
inline const QColor kNeedleGrey{128, 128, 128};

// Everything that does not change with the model; `spanish` picks the
// title plate.
void PaintDiagram(QPainter& p, bool spanish);

// A red indicator lamp, lit or dark, filling `place`.
void PaintLamp(QPainter& p, const QRect& place, bool lit);

// The drain valve (`SolenoidDrain`, 40 x 48) and the diverter
// (`SolenoidDiverter`, 42 x 46), open or closed, over their pipes.
void PaintDrainValve(QPainter& p, const QRect& place, bool open);
void PaintDiverter(QPainter& p, const QRect& place, bool open);

// Fan frames 1..3 (91 x 91) and stirrer frames 1..4 (56 x 20).
void PaintFan(QPainter& p, const QRect& place, int frame);
void PaintStirrer(QPainter& p, const QRect& place, int frame);

// Water in the process tank, `pixels` high above the floor.
void PaintTankWater(QPainter& p, int pixels);

// The level bar: inverts the scale's pixels of the bar, `pixels` high.
void InvertLevelBar(QPainter& p, int pixels);

// The dial needle at dial position `pos` in `colour`.
void PaintNeedle(QPainter& p, int pos, const QColor& colour);

// The slider knob with its left edge at slider x.
void PaintKnob(QPainter& p, int x);

} // namespace velmor::mimic
