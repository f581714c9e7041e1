// Each picture is drawn for a device pixel ratio: its size in logical
// pixels stays as given, its pixels are the screen's.
// Pictures of the exercise panels, drawn by us: the run
// indicator lights and the small waveform pictures beside the radio buttons.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRect>

namespace velmor {

// Source pictures of the run indicator (`imgTrafGreen`, `imgTrafRed`, and
// the unlit head shown before the first run): a signal head in the left 26
// pixels on silver, 93 x 46, so that every window's copy (26, 56 or 93
// pixels wide from the left) shows it whole.
enum class RunLamp { None, Red, Green };
QImage TrafficLightPicture(RunLamp lit, qreal pixelRatio = 1);

// An etched group frame on a panel (a dark line with a light one inside).
void DrawEtchedFrame(QPainter& painter, const QRect& frame);

// The drain valve's picture, 16 x 16 (`imgDrainRed` open, `imgDrainBlack`
// closed): a valve symbol on silver.
QImage DrainPicture(bool open, qreal pixelRatio = 1);

// A waveform's picture, 73 x 14: Flat, Ramp, Sine, Step or Sawtooth (1..5).
QImage WaveformPicture(int type, qreal pixelRatio = 1);

// One period of a sine rising first from midY, sampled at `steps` + 1
// points from x0 with the given amplitude and period (pixels).
QPainterPath SinePath(qreal x0, qreal midY, qreal amplitude, qreal period, int steps);

} // namespace velmor
