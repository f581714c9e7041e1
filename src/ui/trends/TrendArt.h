// Pictures of the Trends window, drawn in code: the panel background, the
// two left-scale overlays, the scroll arrows, the time-base slider and the
// button glyphs. Scale graduations sit at the y of the scale functions.
// Each picture is drawn for a device pixel ratio: its size in logical
// pixels stays as given, its pixels are the screen's.
#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>

namespace velmor::trendart {

inline const QColor kSilver{192, 192, 192};
inline const QColor kShadow{128, 128, 128};
inline const QColor kDarkShadow{64, 64, 64};
inline const QColor kLight{223, 223, 223};
inline const QColor kInk{24, 24, 24};

// 524 x 501: ground, plot frame, value scales 0..100 on both sides, the
// arrow and slider strip, the bar box and the settings-box edge.
QImage PanelBackground(qreal pixelRatio = 1);

// imgLpermOverlay, 34 x 341 (copied at 2, 20): L/min 0.0..2.0 by 0.2,
// written with the system's decimal mark.
QImage LpermOverlay(QChar decimalMark, qreal pixelRatio = 1);
// imgLitresOverlay, 36 x 345 (copied at 2, 19): litres 0.0..6.0 by 1.0.
QImage LitresOverlay(QChar decimalMark, qreal pixelRatio = 1);

// Scroll arrow 1..8 (17 x 19), normal or highlighted (yellow face).
QImage ArrowPicture(int arrow, bool highlighted, qreal pixelRatio = 1);
// imgSlider (71 x 16) and imgKnob (15 x 16).
QImage SliderTrack(qreal pixelRatio = 1);
QImage SliderKnob(qreal pixelRatio = 1);

QIcon PumpIcon(bool on);
QIcon GateIcon(bool opening);

} // namespace velmor::trendart
