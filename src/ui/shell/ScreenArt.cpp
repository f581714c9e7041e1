#include "ui/shell/ScreenArt.h"

#include "ui/common/Language.h"
#include "ui/mimic/MimicArt.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>
#include <vector>

namespace velmor {

namespace {

using mimic::EdgePen;
using mimic::kBoreColour;
using mimic::kEdge;
using mimic::kGlass;
using mimic::kMetal;
using mimic::kMetalDark;
using mimic::kWater;
using mimic::kWaterTop;
using mimic::Polyline;
using mimic::TagFont;

// The mimic's palette, and for these pictures a lighter ground, the blue of
// moving water and the navy of the title plates.
const QColor kGroundTop{226, 230, 235};
const QColor kGroundBottom{200, 207, 215};
const QColor kRunning{40, 104, 214};
const QColor kNavy{34, 58, 96};
const QColor kNavyDark{22, 38, 66};

// The rig in its own coordinates, 600 x 340; each picture places and
// scales it.
constexpr QRectF kTank{60, 110, 150, 160};
constexpr qreal kTankWaterTop = 170;
constexpr QRectF kSump{262, 276, 200, 60};
constexpr qreal kSumpWaterTop = 292;
constexpr QPointF kPump{528, 312};
constexpr qreal kPumpRadius = 16;
constexpr qreal kRiserX = 540;
constexpr qreal kTopY = 16;    // the line through the cooler
constexpr qreal kMiddleY = 80; // the flow line to the tank
constexpr qreal kCoolerReturnX = 420;
constexpr qreal kInletX = 186;
constexpr qreal kInletEndY = 132;
constexpr qreal kDrainX = 178;
constexpr qreal kReturnY = 316;
constexpr qreal kMeterX = 300;
constexpr qreal kGateX = 372;
constexpr QPointF kMotor{108, 88};
constexpr qreal kHeaterX = 82;
constexpr qreal kProbeX = 150;
constexpr QPointF kLevelBubble{244, 200};
constexpr QRectF kCooler{440, 4, 80, 24};
constexpr QPointF kFan{480, 54};
constexpr qreal kFanRadius = 19;
constexpr qreal kPipeWall = 10;
constexpr qreal kPipeBore = 6;

QImage Canvas(QSize size, qreal ratio)
{
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

void Ground(QPainter& p, const QRectF& area)
{
    QLinearGradient ground(area.topLeft(), area.bottomLeft());
    ground.setColorAt(0, kGroundTop);
    ground.setColorAt(1, kGroundBottom);
    p.fillRect(area, ground);
}

// Pipes: the walls of every run first, then the bores, so that tees join
// without a wall across them. Runs with water moving show it in the bore.
void PaintPipes(QPainter& p)
{
    const std::vector<QPainterPath> running{
        // Sump to pump, pump up the riser to the diverter, along the flow
        // line and down into the tank.
        Polyline({{kSump.right() - 2, kPump.y()}, {kPump.x(), kPump.y()}}),
        Polyline({{kRiserX, kPump.y()},
                  {kRiserX, kMiddleY},
                  {kInletX, kMiddleY},
                  {kInletX, kInletEndY}}),
    };
    const std::vector<QPainterPath> still{
        // Through the cooler when the diverter sends the water that way.
        Polyline({{kRiserX, kMiddleY},
                  {kRiserX, kTopY},
                  {kCoolerReturnX, kTopY},
                  {kCoolerReturnX, kMiddleY}}),
        // Drain from the tank floor back to the sump.
        Polyline(
            {{kDrainX, kTank.bottom() - 1}, {kDrainX, kReturnY}, {kSump.left() + 3, kReturnY}}),
    };
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kEdge, kPipeWall, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    for (const auto* runs : {&running, &still}) {
        for (const QPainterPath& run : *runs) {
            p.drawPath(run);
        }
    }
    p.setPen(QPen(kBoreColour, kPipeBore, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    for (const QPainterPath& run : still) {
        p.drawPath(run);
    }
    p.setPen(QPen(kRunning, kPipeBore, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    for (const QPainterPath& run : running) {
        p.drawPath(run);
    }
}

void PaintVessel(QPainter& p, const QRectF& outer, qreal waterTop, bool open)
{
    p.fillRect(outer.translated(3, 3), QColor(0, 0, 0, 28));
    p.fillRect(outer, kEdge);
    const QRectF inside = outer.adjusted(3, open ? 0 : 3, -3, -3);
    p.fillRect(inside, kGlass);
    QLinearGradient water(0, waterTop, 0, inside.bottom());
    water.setColorAt(0, kWater);
    water.setColorAt(1, kWater.darker(112));
    p.fillRect(QRectF(inside.left(), waterTop, inside.width(), inside.bottom() - waterTop), water);
    p.setPen(QPen(kWaterTop, 1.5));
    p.drawLine(QPointF(inside.left(), waterTop + 0.75), QPointF(inside.right(), waterTop + 0.75));
}

void PaintTank(QPainter& p)
{
    PaintVessel(p, kTank, kTankWaterTop, false);
    // Lid bridge carrying the motor, the heater and the probe.
    p.fillRect(QRectF(kTank.left() - 4, kTank.top() - 2, kTank.width() + 8, 6), kEdge);
    // Faint level marks every 10 %.
    p.setPen(QPen(QColor(196, 204, 214), 1));
    for (int k = 1; k < 10; ++k) {
        const qreal y = kTank.bottom() - 3 - k * 15.4 + 0.5;
        p.drawLine(QPointF(kTank.left() + 3, y), QPointF(kTank.left() + 10, y));
    }
}

void PaintHeater(QPainter& p)
{
    mimic::PaintHeaterAt(p, kHeaterX, kTank.top() + 4, 188);
}

void PaintStirrer(QPainter& p)
{
    const QPointF c = kMotor;
    p.setPen(QPen(kEdge, 2.5));
    p.drawLine(QPointF(c.x(), kTank.top()), QPointF(c.x(), 232));
    mimic::PaintStirrer(p, QRect(static_cast<int>(c.x()) - 28, 226, 56, 20), 2);
    p.setPen(EdgePen(1.3));
    p.setBrush(kMetalDark);
    p.drawRect(QRectF(c.x() - 10, c.y() + 10, 20, 10));
    mimic::PaintMotorAt(p, c, 12);
}

void PaintProbes(QPainter& p)
{
    p.setPen(QPen(kEdge, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(kProbeX, kTank.top() - 6), QPointF(kProbeX, 230));
    mimic::PaintBubble(p, QPointF(kProbeX, kMotor.y()), QStringLiteral("TT"));
    p.setPen(EdgePen(1.5));
    p.drawLine(QPointF(kTank.right(), kLevelBubble.y()),
               QPointF(kLevelBubble.x() - 11, kLevelBubble.y()));
    mimic::PaintBubble(p, kLevelBubble, QStringLiteral("LT"));
}

void PaintLineFittings(QPainter& p)
{
    mimic::PaintFlowMeterAt(p, QPointF(kMeterX, kMiddleY));
    mimic::PaintGateValveAt(p, QPointF(kGateX, kMiddleY));

    // The diverter where the riser meets the flow line, the drain valve
    // under the tank: the mimic's own pictures.
    mimic::PaintDiverter(
        p, QRect(static_cast<int>(kRiserX) - 16, static_cast<int>(kMiddleY) - 23, 42, 46), false);
    mimic::PaintDrainValve(p, QRect(static_cast<int>(kDrainX) - 14, 266, 40, 48), false);
}

void PaintCooler(QPainter& p)
{
    mimic::PaintCoolerAt(p, kCooler, kTopY);
    // The fan that blows through it, drawn as the mimic draws its fan.
    p.save();
    p.translate(kFan - QPointF(kFanRadius, kFanRadius));
    p.scale(2 * kFanRadius / 91.0, 2 * kFanRadius / 91.0);
    mimic::PaintFan(p, QRect(0, 0, 91, 91), 1);
    p.restore();
}

// The whole rig, in its own coordinates.
void PaintRig(QPainter& p)
{
    PaintTank(p);
    PaintVessel(p, kSump, kSumpWaterTop, true);
    PaintPipes(p);
    PaintHeater(p);
    PaintStirrer(p);
    PaintProbes(p);
    mimic::PaintPumpAt(p, kPump, kPumpRadius);
    PaintLineFittings(p);
    PaintCooler(p);
}

// A part of the rig named on the picture: a tag with a leader line.
struct Callout {
    QPointF anchor; // rig coordinates
    QPointF tag;    // picture coordinates of the tag's top-left corner
    const char* english;
};

void PaintCallout(QPainter& p, const QTransform& rig, const Callout& callout, const QString& text)
{
    const QFont font = TagFont(11, true);
    const QFontMetricsF metrics(font);
    const QRectF box(callout.tag, QSizeF(metrics.horizontalAdvance(text) + 14, 20));
    const QPointF anchor = rig.map(callout.anchor);
    // The leader leaves the tag's nearer side, at mid height.
    const QPointF from(anchor.x() < box.center().x() ? box.left() : box.right(), box.center().y());
    p.setPen(QPen(QColor(62, 70, 82, 200), 1));
    p.drawLine(from, anchor);
    p.setPen(Qt::NoPen);
    p.setBrush(kEdge);
    p.drawEllipse(anchor, 2.5, 2.5);
    p.fillRect(box.translated(1.5, 1.5), QColor(0, 0, 0, 40));
    p.setPen(QPen(kEdge, 1));
    p.setBrush(QColor(252, 252, 250));
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setFont(font);
    p.setPen(kNavy);
    p.drawText(box, Qt::AlignCenter, text);
}

// A short trend as the Trends window draws one: the set point steps up,
// the measured value follows with an overshoot, the output leads it.
void PaintTrendInset(QPainter& p, const QRectF& r)
{
    p.fillRect(r.translated(2, 2), QColor(0, 0, 0, 60));
    p.fillRect(r, Qt::black);
    p.setPen(QPen(QColor(70, 70, 70), 1, Qt::DotLine));
    for (int k = 1; k < 4; ++k) {
        const qreal x = r.left() + r.width() * k / 4;
        p.drawLine(QPointF(x, r.top() + 2), QPointF(x, r.bottom() - 2));
    }
    const qreal stepAt = r.left() + r.width() * 0.18;
    const auto yOf = [&r](qreal value) { return r.bottom() - 8 - value * (r.height() - 16); };
    QPainterPath setPoint;
    setPoint.moveTo(r.left() + 2, yOf(0.25));
    setPoint.lineTo(stepAt, yOf(0.25));
    setPoint.lineTo(stepAt, yOf(0.75));
    setPoint.lineTo(r.right() - 2, yOf(0.75));
    QPainterPath measured;
    QPainterPath output;
    const int steps = 80;
    for (int k = 0; k <= steps; ++k) {
        const qreal x = r.left() + 2 + (r.width() - 4) * k / steps;
        const qreal t = std::max<qreal>(0, (x - stepAt) / r.width() * 9);
        const qreal response =
            1 - std::exp(-0.7 * t) * (std::cos(1.6 * t) + 0.44 * std::sin(1.6 * t));
        const qreal value = 0.25 + 0.5 * response;
        const qreal drive = 0.35 + 0.45 * std::exp(-0.9 * t) * (t > 0 ? 1 : 0) + 0.12 * response;
        if (k == 0) {
            measured.moveTo(x, yOf(value));
            output.moveTo(x, yOf(drive));
        } else {
            measured.lineTo(x, yOf(value));
            output.lineTo(x, yOf(drive));
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1.2));
    p.drawPath(output);
    p.setPen(QPen(QColor(255, 255, 0), 1.6));
    p.drawPath(setPoint);
    p.setPen(QPen(QColor(0, 255, 255), 1.6));
    p.drawPath(measured);
    p.setPen(QPen(QColor(150, 156, 166), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(-0.5, -0.5, 0.5, 0.5));
}

QString Say(Language language, const char* context, const char* english)
{
    return TextIn(language, context, english);
}

} // namespace

QImage SplashPicture(Language language, qreal ratio)
{
    const auto say = [language](const char* english) {
        return Say(language, "TfrmIntro", english);
    };
    QImage image = Canvas(kSplashSize, ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF all(QPointF(0, 0), QSizeF(kSplashSize));

    // The name band, with room for the logo at its left.
    const QRectF band(0, 0, all.width(), 112);
    QLinearGradient navy(band.topLeft(), band.bottomLeft());
    navy.setColorAt(0, kNavy);
    navy.setColorAt(1, kNavyDark);
    p.fillRect(band, navy);
    Ground(p, QRectF(0, band.bottom(), all.width(), all.height() - band.bottom()));
    p.setPen(QPen(QColor(255, 214, 80), 2));
    p.drawLine(QPointF(0, band.bottom() + 1), QPointF(all.width(), band.bottom() + 1));

    QFont name = TagFont(42, true);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 5);
    p.setFont(name);
    p.setPen(Qt::white);
    const qreal textLeft = kSplashLogoAt.x() + kSplashLogoSize + 20;
    p.drawText(QRectF(textLeft, 18, all.width() - textLeft - 16, 50),
               Qt::AlignLeft | Qt::AlignVCenter, say(QT_TRANSLATE_NOOP("TfrmIntro", "VELMOR")));
    p.setFont(TagFont(14, false));
    p.setPen(QColor(196, 210, 230));
    p.drawText(QRectF(textLeft, 68, all.width() - textLeft - 12, 24),
               Qt::AlignLeft | Qt::AlignVCenter,
               say(QT_TRANSLATE_NOOP("TfrmIntro", "Process-control training simulator")));

    // The rig, and beside it what a run of it looks like.
    const qreal scale = 0.6;
    p.save();
    p.translate(14, 128);
    p.scale(scale, scale);
    PaintRig(p);
    p.restore();
    PaintTrendInset(p, QRectF(390, 150, 108, 74));
    p.setFont(TagFont(10, true));
    p.setPen(kEdge);
    p.drawText(QRectF(386, 228, 116, 16), Qt::AlignCenter,
               say(QT_TRANSLATE_NOOP("TfrmIntro", "Trends")));

    // What the program offers, and how to go on.
    const QRectF foot(0, all.height() - 58, all.width(), 58);
    p.setPen(QPen(QColor(150, 158, 170), 1));
    p.drawLine(QPointF(16, foot.top() + 0.5), QPointF(all.width() - 16, foot.top() + 0.5));
    p.setFont(TagFont(11, false));
    p.setPen(kEdge);
    QStringList exercises;
    for (const char* exercise :
         {QT_TRANSLATE_NOOP("TfrmIntro", "Flow"), QT_TRANSLATE_NOOP("TfrmIntro", "Temperature"),
          QT_TRANSLATE_NOOP("TfrmIntro", "Batch volume"),
          QT_TRANSLATE_NOOP("TfrmIntro", "Fluid level"),
          QT_TRANSLATE_NOOP("TfrmIntro", "Open loop"),
          QT_TRANSLATE_NOOP("TfrmIntro", "System mimic")}) {
        exercises << say(exercise);
    }
    p.drawText(QRectF(16, foot.top() + 6, all.width() - 32, 20), Qt::AlignCenter,
               exercises.join(QStringLiteral("  \u00b7  ")));
    p.setFont(TagFont(10, false));
    p.setPen(QColor(96, 104, 116));
    p.drawText(QRectF(16, foot.top() + 30, all.width() - 32, 18), Qt::AlignCenter,
               say(QT_TRANSLATE_NOOP("TfrmIntro", "Click to continue")));
    // A fine edge keeps the borderless window apart from what is behind it.
    p.setPen(QPen(kNavyDark, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
    return image;
}

QImage MenuPicture(Language language, qreal ratio)
{
    QImage image = Canvas(kMenuPictureSize, ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Ground(p, QRectF(QPointF(0, 0), QSizeF(kMenuPictureSize)));

    QTransform rig;
    rig.translate(22, 66);
    p.save();
    p.setTransform(rig, true);
    PaintRig(p);
    p.restore();

    static const Callout kCallouts[] = {
        {{kMotor.x() - 12, kMotor.y()}, {24, 112}, QT_TRANSLATE_NOOP("TfrmMenu", "Stirrer")},
        {{kProbeX, kMotor.y() - 11},
         {112, 48},
         QT_TRANSLATE_NOOP("TfrmMenu", "Temperature sensor")},
        {{kHeaterX - 6, 205}, {8, 214}, QT_TRANSLATE_NOOP("TfrmMenu", "Heater")},
        {{kTank.left() + 24, kTank.bottom() - 12},
         {26, 398},
         QT_TRANSLATE_NOOP("TfrmMenu", "Process tank")},
        {{kLevelBubble.x() + 10, kLevelBubble.y() + 6},
         {296, 292},
         QT_TRANSLATE_NOOP("TfrmMenu", "Level sensor")},
        {{kDrainX - 8, 292}, {206, 404}, QT_TRANSLATE_NOOP("TfrmMenu", "Drain valve")},
        {{kSump.center().x(), kSump.bottom() - 14},
         {330, 404},
         QT_TRANSLATE_NOOP("TfrmMenu", "Sump")},
        {{kPump.x() - 10, kPump.y() + 14}, {470, 404}, QT_TRANSLATE_NOOP("TfrmMenu", "Pump")},
        {{kMeterX + 11, kMiddleY - 30}, {344, 48}, QT_TRANSLATE_NOOP("TfrmMenu", "Flow meter")},
        {{kGateX, kMiddleY + 8}, {350, 190}, QT_TRANSLATE_NOOP("TfrmMenu", "Gate valve")},
        {{kRiserX + 24, kMiddleY + 6}, {508, 190}, QT_TRANSLATE_NOOP("TfrmMenu", "Diverter")},
        {{kFan.x() + 6, kFan.y() + 14},
         {430, 160},
         QT_TRANSLATE_NOOP("TfrmMenu", "Cooler and fan")},
    };
    for (const Callout& callout : kCallouts) {
        PaintCallout(p, rig, callout, Say(language, "TfrmMenu", callout.english));
    }
    return image;
}

} // namespace velmor
