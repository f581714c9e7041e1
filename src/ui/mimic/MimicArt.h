// The pictures of the mimic diagram, painted as vectors in logical pixels
// of the diagram (the painter's device may have any pixel ratio): the static
// rig, and the pictures that change with the model (lamps, valves, fan and
// stirrer frames, tank water, level bar, dial needle, slider knob).
#pragma once

#include "core/rundata/State.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRect>

#include <initializer_list>

namespace velmor::mimic {

// A restrained palette: grey ground, slate equipment, colour only where the
// rig says something (water, flow, lamps). The shell's pictures of the rig
// use it too.
inline const QColor kEdge{62, 70, 82};          // outlines and pipe walls
inline const QColor kBoreColour{238, 241, 244}; // an empty pipe's bore
inline const QColor kMetal{222, 226, 231};      // equipment bodies
inline const QColor kMetalDark{176, 184, 194};
inline const QColor kGlass{236, 242, 247};      // inside the tanks
inline const QColor kWater{110, 165, 225, 190}; // clear enough to show what is in the tank
inline const QColor kWaterTop{72, 128, 196};

// Flow-path colour (pen and brush of every path rectangle).
inline const QColor kFlowBlue{0, 0, 255};
// The dial needle and the face it is erased to.
inline const QColor kNeedleGrey{128, 128, 128};

// Parts of the rig that other pictures of the program draw as well, each
// placed where the caller says: the slate outline pen, the tag lettering,
// an instrument bubble with its tag, the pump, the gate valve, the flow
// meter with its transmitter, the heater through a lid at `top` with its
// coil from `coilTop` down, and the finned cooler `r` on the line at height
// `lineY`.
QPen EdgePen(qreal width = 1.5);
QFont TagFont(int pixels, bool bold = true);
// A path through `points` in order (a pipe's run).
QPainterPath Polyline(std::initializer_list<QPointF> points);
// A motor: a disc of `radius` with its "M".
void PaintMotorAt(QPainter& p, QPointF centre, qreal radius);
void PaintBubble(QPainter& p, QPointF centre, const QString& tag);
void PaintPumpAt(QPainter& p, QPointF centre, qreal radius);
void PaintGateValveAt(QPainter& p, QPointF at);
void PaintFlowMeterAt(QPainter& p, QPointF at);
void PaintHeaterAt(QPainter& p, qreal x, qreal top, qreal coilTop);
void PaintCoolerAt(QPainter& p, const QRectF& r, qreal lineY);

// Everything that does not change with the model; `spanish` picks the
// title plate.
void PaintDiagram(QPainter& p, Language language);

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
