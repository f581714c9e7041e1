#include "ui/shell/ShellArt.h"

#include "ui/exercises/PanelArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <cmath>
#include <numbers>

// The pictures live in a resource of the (static) window library.
static void InitShellResources()
{
    Q_INIT_RESOURCE(velmor);
}

namespace velmor {

namespace {

const QColor kInk(40, 44, 52);
const QColor kShellArtWater(40, 130, 220);
const QColor kWaterLight(120, 190, 250);

QPen Ink(qreal width = 1.4)
{
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Page(QPainter& p)
{
    QPainterPath page;
    page.moveTo(5.5, 2.5);
    page.lineTo(14.5, 2.5);
    page.lineTo(19.5, 7.5);
    page.lineTo(19.5, 21.5);
    page.lineTo(5.5, 21.5);
    page.closeSubpath();
    p.setPen(Ink(1.1));
    p.setBrush(QColor(255, 255, 255));
    p.drawPath(page);
    p.setBrush(QColor(215, 220, 228));
    QPainterPath fold;
    fold.moveTo(14.5, 2.5);
    fold.lineTo(14.5, 7.5);
    fold.lineTo(19.5, 7.5);
    fold.closeSubpath();
    p.drawPath(fold);
}

void DrawNew(QPainter& p)
{
    Page(p);
    p.setPen(QPen(QColor(150, 160, 175), 1));
    for (int y = 11; y <= 18; y += 3) {
        p.drawLine(QPointF(8, y), QPointF(17, y));
    }
}

void DrawOpen(QPainter& p)
{
    p.setPen(Ink(1.1));
    p.setBrush(QColor(226, 180, 70));
    p.drawRoundedRect(QRectF(2.5, 5.5, 17, 14), 1.5, 1.5);
    QPainterPath flap;
    flap.moveTo(5.5, 10.5);
    flap.lineTo(22.5, 10.5);
    flap.lineTo(19.5, 19.5);
    flap.lineTo(2.5, 19.5);
    flap.closeSubpath();
    p.setBrush(QColor(250, 210, 105));
    p.drawPath(flap);
}

void DrawSave(QPainter& p)
{
    p.setPen(Ink(1.1));
    p.setBrush(QColor(60, 100, 170));
    p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
    p.setBrush(QColor(235, 238, 244));
    p.drawRect(QRectF(7.5, 3.5, 9, 6));
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(QRectF(6.5, 13.5, 11, 7));
}

void DrawPrint(QPainter& p)
{
    p.setPen(Ink(1.1));
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(QRectF(7.5, 2.5, 9, 7));
    p.setBrush(QColor(150, 156, 166));
    p.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 2, 2);
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(QRectF(7.5, 14.5, 9, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 200, 90));
    p.drawEllipse(QPointF(18, 11.5), 1, 1);
}

void DrawPreferences(QPainter& p)
{
    p.setPen(Ink(1.6));
    for (int k = 0; k < 3; ++k) {
        const qreal y = 6 + k * 6;
        p.drawLine(QPointF(3.5, y), QPointF(20.5, y));
    }
    p.setPen(Ink(1.1));
    p.setBrush(QColor(230, 120, 40));
    p.drawEllipse(QPointF(8, 6), 2.6, 2.6);
    p.drawEllipse(QPointF(16, 12), 2.6, 2.6);
    p.drawEllipse(QPointF(11, 18), 2.6, 2.6);
}

void DrawHelp(QPainter& p)
{
    QRadialGradient ball(QPointF(9, 8), 13);
    ball.setColorAt(0, QColor(110, 170, 250));
    ball.setColorAt(1, QColor(30, 90, 190));
    p.setPen(QPen(QColor(20, 60, 140), 1));
    p.setBrush(ball);
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 24, 24.5), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawManual(QPainter& p)
{
    // The rig in miniature: sump, pump and process tank.
    p.setPen(Ink(1.1));
    p.setBrush(QColor(235, 240, 246));
    p.drawRect(QRectF(12.5, 3.5, 9, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(kWaterLight);
    p.drawRect(QRectF(13, 8, 8, 6));
    p.setPen(Ink(1.1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(12.5, 3.5, 9, 11));
    p.setBrush(kShellArtWater);
    p.drawRect(QRectF(2.5, 16.5, 19, 5));
    p.setPen(QPen(kInk, 1.6));
    p.drawLine(QPointF(6, 16.5), QPointF(6, 6));
    p.drawLine(QPointF(6, 6), QPointF(12.5, 6));
    p.setPen(Ink(1.1));
    p.setBrush(QColor(230, 120, 40));
    p.drawEllipse(QPointF(6, 12), 2.8, 2.8);
}

void DrawFlow(QPainter& p)
{
    QLinearGradient pipe(0, 8, 0, 16);
    pipe.setColorAt(0, QColor(200, 206, 214));
    pipe.setColorAt(0.5, QColor(245, 247, 250));
    pipe.setColorAt(1, QColor(150, 158, 170));
    p.setPen(Ink(1.1));
    p.setBrush(pipe);
    p.drawRect(QRectF(1.5, 8.5, 21, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(kShellArtWater);
    QPainterPath arrow;
    arrow.moveTo(5, 10.5);
    arrow.lineTo(13, 10.5);
    arrow.lineTo(13, 7);
    arrow.lineTo(20, 12);
    arrow.lineTo(13, 17);
    arrow.lineTo(13, 13.5);
    arrow.lineTo(5, 13.5);
    arrow.closeSubpath();
    p.drawPath(arrow);
}

void DrawTemperature(QPainter& p)
{
    p.setPen(Ink(1.1));
    p.setBrush(QColor(255, 255, 255));
    p.drawRoundedRect(QRectF(9.5, 2.5, 5, 15), 2.5, 2.5);
    p.setBrush(QColor(220, 40, 30));
    p.drawEllipse(QPointF(12, 18.5), 4, 4);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(11, 8, 2, 9));
    p.setPen(QPen(kInk, 1));
    for (int y = 5; y <= 13; y += 4) {
        p.drawLine(QPointF(15.5, y), QPointF(18, y));
    }
}

void DrawBatchVolume(QPainter& p)
{
    QPainterPath beaker;
    beaker.moveTo(5.5, 3.5);
    beaker.lineTo(5.5, 19.5);
    beaker.quadTo(5.5, 21.5, 7.5, 21.5);
    beaker.lineTo(16.5, 21.5);
    beaker.quadTo(18.5, 21.5, 18.5, 19.5);
    beaker.lineTo(18.5, 3.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kWaterLight);
    p.drawRect(QRectF(6, 11, 12, 10));
    p.setPen(Ink(1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(beaker);
    p.setPen(QPen(kInk, 1));
    for (int y = 7; y <= 17; y += 5) {
        p.drawLine(QPointF(6, y), QPointF(10, y));
    }
}

void DrawFluidLevel(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kShellArtWater);
    p.drawRect(QRectF(4, 11, 16, 10));
    p.setPen(Ink(1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3.5, 3.5, 17, 18));
    p.setPen(QPen(QColor(230, 120, 40), 1.4, Qt::DashLine));
    p.drawLine(QPointF(1, 11), QPointF(23, 11));
}

void DrawOpenLoop(QPainter& p)
{
    const QPainterPath wave = SinePath(2, 12, 5, 12, 12);
    p.setPen(QPen(QColor(40, 160, 80), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(wave);
    p.setPen(Ink(1.4));
    p.drawLine(QPointF(15, 12), QPointF(21, 12));
    QPainterPath head;
    head.moveTo(22.5, 12);
    head.lineTo(18, 8.5);
    head.lineTo(18, 15.5);
    head.closeSubpath();
    p.setBrush(kInk);
    p.drawPath(head);
}

void Draw(QPainter& p, ToolPicture picture)
{
    switch (picture) {
    case ToolPicture::New:
        DrawNew(p);
        return;
    case ToolPicture::Open:
        DrawOpen(p);
        return;
    case ToolPicture::Save:
        DrawSave(p);
        return;
    case ToolPicture::Print:
        DrawPrint(p);
        return;
    case ToolPicture::Preferences:
        DrawPreferences(p);
        return;
    case ToolPicture::Help:
        DrawHelp(p);
        return;
    case ToolPicture::Manual:
        DrawManual(p);
        return;
    case ToolPicture::Flow:
        DrawFlow(p);
        return;
    case ToolPicture::Temperature:
        DrawTemperature(p);
        return;
    case ToolPicture::BatchVolume:
        DrawBatchVolume(p);
        return;
    case ToolPicture::FluidLevel:
        DrawFluidLevel(p);
        return;
    case ToolPicture::OpenLoop:
        DrawOpenLoop(p);
        return;
    }
}

QPixmap Render(ToolPicture picture, bool disabled)
{
    QPixmap pixmap(48, 48);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (disabled) {
        p.setOpacity(0.35);
    }
    Draw(p, picture);
    return pixmap;
}

} // namespace

QIcon ToolbarIcon(ToolPicture picture)
{
    QIcon icon;
    icon.addPixmap(Render(picture, false), QIcon::Normal);
    icon.addPixmap(Render(picture, true), QIcon::Disabled);
    return icon;
}

QPixmap ProgramPicture(int size, qreal ratio)
{
    InitShellResources();
    // The same drawing as the installed icon, so the two never differ.
    QSvgRenderer svg(QStringLiteral(":/icons/velmor.svg"));
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p, QRectF(0, 0, size, size));
    return pixmap;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(ProgramPicture(size, 1));
    }
    return icon;
}

QPixmap CrossPicture()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    // A white halo keeps the thin black cross visible on the black plot.
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(15, 2, 15, 12);
    p.drawLine(15, 18, 15, 28);
    p.drawLine(2, 15, 12, 15);
    p.drawLine(18, 15, 28, 15);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(15, 2, 15, 12);
    p.drawLine(15, 18, 15, 28);
    p.drawLine(2, 15, 12, 15);
    p.drawLine(18, 15, 28, 15);
    p.drawPoint(15, 15);
    return pixmap;
}

QCursor CrossCursor()
{
    return QCursor(CrossPicture(), 15, 15);
}

} // namespace velmor
