#include "ui/exercises/PanelArt.h"

#include "ui/common/Picture.h"
#include "ui/common/ValueBox.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace velmor {

namespace {

void Lamp(QPainter& p, QPointF centre, qreal radius, QColor lit, QColor dark, bool on)
{
    p.setPen(QPen(QColor(20, 20, 22), 1.2));
    if (on) {
        QRadialGradient glow(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.3);
        glow.setColorAt(0.0, QColor(255, 255, 255));
        glow.setColorAt(0.25, lit.lighter(130));
        glow.setColorAt(1.0, lit.darker(140));
        p.setBrush(glow);
    } else {
        QRadialGradient shade(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.2);
        shade.setColorAt(0.0, dark.lighter(160));
        shade.setColorAt(1.0, dark);
        p.setBrush(shade);
    }
    p.drawEllipse(centre, radius, radius);
}

} // namespace

void DrawEtchedFrame(QPainter& p, const QRect& r)
{
    p.setPen(QColor(128, 128, 128));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(QColor(255, 255, 255));
    p.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
    p.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 1);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

QImage DrainPicture(bool open, qreal pixelRatio)
{
    QImage image = BlankPicture(QSize(16, 16), pixelRatio);
    image.fill(QColor(192, 192, 192));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = open ? QColor(220, 30, 30) : QColor(20, 20, 20);
    // Two triangles point to point: the valve body; a stem and a handle.
    QPainterPath body;
    body.moveTo(1.5, 6.5);
    body.lineTo(8, 10.5);
    body.lineTo(1.5, 14.5);
    body.closeSubpath();
    body.moveTo(14.5, 6.5);
    body.lineTo(8, 10.5);
    body.lineTo(14.5, 14.5);
    body.closeSubpath();
    p.setPen(QPen(ink, 1));
    p.setBrush(open ? ink : QColor(192, 192, 192));
    p.drawPath(body);
    p.drawLine(QPointF(8, 10.5), QPointF(8, 3.5));
    p.drawLine(QPointF(4.5, 2.5), QPointF(11.5, 2.5));
    return image;
}

QImage TrafficLightPicture(RunLamp lit, qreal pixelRatio)
{
    QImage image = BlankPicture(QSize(93, 46), pixelRatio);
    image.fill(kSilver);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Housing with a soft shadow on the panel.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 150, 150));
    p.drawRoundedRect(QRectF(3.5, 2.5, 21, 42), 5, 5);
    QLinearGradient body(0, 0, 26, 0);
    body.setColorAt(0.0, QColor(70, 72, 78));
    body.setColorAt(0.5, QColor(44, 46, 52));
    body.setColorAt(1.0, QColor(30, 31, 35));
    p.setBrush(body);
    p.setPen(QPen(QColor(18, 18, 20), 1));
    p.drawRoundedRect(QRectF(1.5, 0.5, 21, 42), 5, 5);
    Lamp(p, QPointF(12, 11.5), 7, QColor(235, 40, 30), QColor(70, 18, 16), lit == RunLamp::Red);
    Lamp(p, QPointF(12, 31.5), 7, QColor(40, 220, 60), QColor(16, 58, 22), lit == RunLamp::Green);
    return image;
}

QPainterPath SinePath(qreal x0, qreal midY, qreal amplitude, qreal period, int steps)
{
    QPainterPath path;
    for (int i = 0; i <= steps; ++i) {
        const QPointF point(x0 + i, midY - amplitude * std::sin(2 * std::numbers::pi * i / period));
        if (i == 0) {
            path.moveTo(point);
        } else {
            path.lineTo(point);
        }
    }
    return path;
}

QImage WaveformPicture(int type, qreal pixelRatio)
{
    QImage image = BlankPicture(QSize(73, 14), pixelRatio);
    image.fill(kSilver);
    QPainter p(&image);
    p.setPen(QColor(128, 128, 128));
    p.drawLine(0, 0, 72, 0);
    p.drawLine(0, 0, 0, 13);
    p.setPen(QColor(255, 255, 255));
    p.drawLine(1, 13, 72, 13);
    p.drawLine(72, 1, 72, 13);
    p.fillRect(QRect(1, 1, 71, 12), QColor(16, 24, 32));
    p.setRenderHint(QPainter::Antialiasing);

    const qreal top = 3.5;
    const qreal bottom = 10.5;
    QPainterPath path;
    switch (type) {
    case 1: // Flat
        path.moveTo(4, 7);
        path.lineTo(69, 7);
        break;
    case 2: // Ramp: climbs once per time axis and starts again
        path.moveTo(4, bottom);
        path.lineTo(52, top);
        path.lineTo(52, bottom);
        path.lineTo(69, bottom - 7.0 * 17 / 48);
        break;
    case 3: // Sine: rises first from the mid value
        path = SinePath(4, 7, 3.5, 32.5, 65);
        break;
    case 4: // Step: Min for the first half period, Max for the second
        path.moveTo(4, bottom);
        path.lineTo(20, bottom);
        path.lineTo(20, top);
        path.lineTo(36, top);
        path.lineTo(36, bottom);
        path.lineTo(52, bottom);
        path.lineTo(52, top);
        path.lineTo(69, top);
        break;
    case 5: // Sawtooth: Min up to Max over each period
        path.moveTo(4, bottom);
        for (int tooth = 0; tooth < 3; ++tooth) {
            const qreal x0 = 4 + tooth * 21.67;
            path.lineTo(x0 + 21.67, top);
            if (tooth < 2) {
                path.lineTo(x0 + 21.67, bottom);
            }
        }
        break;
    default:
        break;
    }
    p.setPen(QPen(QColor(90, 255, 120), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    return image;
}

} // namespace velmor
