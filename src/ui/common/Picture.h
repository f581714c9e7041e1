// The blank picture every drawn picture starts from, for any window.
#pragma once

#include <QImage>
#include <QSize>

namespace velmor {

// An empty picture of `logical` size for a device pixel ratio: its size in
// logical pixels stays as given, its pixels are the screen's.
QImage BlankPicture(QSize logical, qreal pixelRatio);

} // namespace velmor
