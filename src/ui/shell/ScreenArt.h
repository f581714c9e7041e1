// The large pictures of the shell's screens, painted as vectors for the
// screen's pixel ratio: the intro screen's splash and the easy menu screen's
// picture of the rig. Both come in English and in Spanish; their words are
// translated like every other text of the program.
#pragma once

#include "core/rundata/State.h"

#include <QImage>
#include <QSize>

namespace velmor {

// The splash of the intro screen: the program's name, what it is, and the
// rig with a trend beside it. The logo is laid on it at (21, 24).
inline constexpr QSize kSplashSize{514, 394};
inline constexpr QPoint kSplashLogoAt{21, 24};
inline constexpr int kSplashLogoSize = 64;
QImage SplashPicture(Language language, qreal ratio);

// The easy menu screen's picture: the rig with each of its parts named.
// The screen's heading covers its top 40 pixels and its button bar the
// bottom 77, so the drawing keeps to the band between them.
inline constexpr QSize kMenuPictureSize{650, 501};
QImage MenuPicture(Language language, qreal ratio);

} // namespace velmor
