#include "ui/common/Picture.h"

namespace velmor {

QImage BlankPicture(QSize logical, qreal pixelRatio)
{
    QImage image(logical * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    return image;
}

} // namespace velmor
