// Pictures of the exercise panels that the design leaves to us: the run
// indicator lights and the small waveform pictures beside the radio buttons.
#pragma once

#include <QImage>

namespace velmor {

// Source pictures of the run indicator (`imgTrafGreen`, `imgTrafRed`): a
// signal head in the left 26 pixels on silver, 93 x 46, so that every
// window's copy (26, 56 or 93 pixels wide from the left) shows it whole.
QImage TrafficLightPicture(bool green);

// A waveform's picture, 73 x 14: Flat, Ramp, Sine, Step or Sawtooth (1..5).
QImage WaveformPicture(int type);

} // namespace velmor
