#include "ui/mimic/MimicArt.h"

#include "core/mimic/MimicModel.h"
#include "ui/common/Language.h"
#include "ui/mimic/MimicGauges.h"
#include "ui/mimic/MimicLayout.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>
#include <vector>

namespace velmor::mimic {

namespace {

const QColor kGround{206, 212, 218};
const QColor kSignal{96, 104, 116};     // dashed instrument lines
const QColor kScaleFace{250, 238, 190}; // inverted: a deep navy bar
const QColor kScaleInk{64, 64, 64};
const QColor kTitleFill{34, 58, 96};

constexpr qreal kHalfPipe = kPipeWidth / 2.0;
constexpr qreal kHalfBore = kBore / 2.0;

// All pipes: the walls of every run first, then every bore, so tees join
// without a wall across them.
void PaintPipes(QPainter& p)
{
    const std::vector<QPainterPath> runs{
        // Pump outlet up the riser, across the cooler and down again.
        Polyline({{kRiserX, kPumpCentre.y()},
                  {kRiserX, kCoolerTopY},
                  {kReturnX, kCoolerTopY},
                  {kReturnX, kMiddleY}}),
        // The middle line from the diverter up and over into the tank.
        Polyline({{kSolenoidDiverter.left() + 4.0, kMiddleY},
                  {kUpX, kMiddleY},
                  {kUpX, kTopInletY},
                  {kInletX, kTopInletY},
                  {kInletX, 132}}),
        // Overflow down the left and along the bottom into the sump.
        Polyline({{kTank.left() + 1.0, kOverflowY},
                  {kOverflowX, kOverflowY},
                  {kOverflowX, kBottomY},
                  {kSump.left() + 3.0, kBottomY}}),
        // Drain from the tank bottom down to the bottom line.
        Polyline({{kDrainX, kTankFloor - 1.0}, {kDrainX, kBottomY}}),
        // Suction from the sump to the pump.
        Polyline(
            {{kSump.right() - 2.0, kSuctionY}, {kPumpCentre.x() - kPumpRadius + 1.0, kSuctionY}}),
    };
    p.setBrush(Qt::NoBrush);
    QPen wall(kEdge, kPipeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.setPen(wall);
    for (const QPainterPath& run : runs) {
        p.drawPath(run);
    }
    QPen bore(kBoreColour, kBore, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.setPen(bore);
    for (const QPainterPath& run : runs) {
        p.drawPath(run);
    }
}

void PaintTank(QPainter& p)
{
    const QRectF outer(kTank);
    // Shadow, walls, then the glass.
    p.fillRect(outer.translated(3, 3), QColor(0, 0, 0, 28));
    p.fillRect(outer, kEdge);
    p.fillRect(outer.adjusted(3, 3, -3, -3), kGlass);
    // Lid bridge carrying the stirrer motor.
    p.fillRect(QRectF(outer.left() - 4, outer.top() - 2, outer.width() + 8, 6), kEdge);
    // Level lines every 10 % on the glass, faint.
    p.setPen(QPen(QColor(200, 208, 218), 1));
    for (int k = 1; k < 10; ++k) {
        const qreal y = kTankFloor - k * 15 + 0.5;
        p.drawLine(QPointF(outer.left() + 3, y), QPointF(outer.left() + 10, y));
    }
}

void PaintSump(QPainter& p)
{
    const QRectF outer(kSump);
    p.fillRect(outer.translated(3, 3), QColor(0, 0, 0, 28));
    p.fillRect(outer, kEdge);
    const QRectF inside = outer.adjusted(3, 0, -3, -3);
    p.fillRect(inside, kGlass);
    QLinearGradient water(0, kSumpWaterY, 0, inside.bottom());
    water.setColorAt(0, kWater);
    water.setColorAt(1, kWater.darker(112));
    p.fillRect(QRectF(inside.left(), kSumpWaterY, inside.width(), inside.bottom() - kSumpWaterY),
               water);
    p.setPen(QPen(kWaterTop, 1.5));
    p.drawLine(QPointF(inside.left(), kSumpWaterY + 0.75),
               QPointF(inside.right(), kSumpWaterY + 0.75));
}

void PaintPump(QPainter& p)
{
    PaintPumpAt(p, QPointF(kPumpCentre), kPumpRadius);
}

void DashedLine(QPainter& p, QPointF from, QPointF to)
{
    QPen pen(kSignal, 1, Qt::CustomDashLine);
    pen.setDashPattern({3, 2});
    p.setPen(pen);
    p.drawLine(from, to);
}

void PaintGateValve(QPainter& p)
{
    PaintGateValveAt(p, QPointF(kGateX, kMiddleY));
}

void PaintFlowMeter(QPainter& p)
{
    PaintFlowMeterAt(p, QPointF(kMeterX, kMiddleY));
    DashedLine(p, QPointF(kMeterX, kMiddleY - 40), QPointF(kMeterX, kFlowNum.bottom() + 2));
}

void PaintFlowProbe(QPainter& p)
{
    const qreal x = kFlowTempX;
    const qreal y = kMiddleY;
    p.setPen(EdgePen(1.5));
    p.drawLine(QPointF(x, y - 5), QPointF(x, y - 18));
    PaintBubble(p, QPointF(x, y - 29), QStringLiteral("TT"));
    DashedLine(p, QPointF(x, y - 40), QPointF(x, kTempNum.bottom() + 2));
}

void PaintHeater(QPainter& p)
{
    PaintHeaterAt(p, kHeaterX, kTank.top() + 4, 190);
}

void PaintTankProbe(QPainter& p)
{
    const qreal x = kTankTempX;
    p.setPen(QPen(kEdge, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x, kTank.top() - 6), QPointF(x, 236));
    PaintBubble(p, QPointF(x, kTank.top() - 18), QStringLiteral("TT"));
}

void PaintSumpProbe(QPainter& p)
{
    const qreal x = kSumpTempX;
    p.setPen(QPen(kEdge, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x, 386), QPointF(x, 460));
    PaintBubble(p, QPointF(x, 375), QStringLiteral("TT"));
    DashedLine(p, QPointF(x, 364), QPointF(x, kSumpNum.bottom() + 2));
}

void PaintStirrerMotor(QPainter& p)
{
    const QRectF r(kStirrerMotor);
    const QPointF c(r.center().x(), r.top() + 14);
    // Shaft down to the impeller.
    p.setPen(QPen(kEdge, 2.5));
    p.drawLine(QPointF(c.x(), r.bottom()), QPointF(c.x(), kStirrer.top() + 8));
    // Mounting foot and the motor.
    p.setPen(EdgePen(1.3));
    p.setBrush(kMetalDark);
    p.drawRect(QRectF(r.left() + 6, r.bottom() - 8, r.width() - 12, 8));
    PaintMotorAt(p, c, 13);
}

void PaintCoolerCoil(QPainter& p)
{
    PaintCoolerAt(p, QRectF(kCooler), kCoolerTopY);
}

void PaintScaleFace(QPainter& p)
{
    const QRect s = kScale;
    p.setPen(EdgePen(1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(s).adjusted(-0.5, -0.5, 0.5, 0.5));
    p.fillRect(s, kScaleFace);
    // Ticks every 10 %, from the 0 % row upward 15 pixels apart.
    p.setPen(QPen(kScaleInk, 1));
    for (int k = 0; k <= 10; ++k) {
        const qreal y = s.top() + 171 - k * 15 + 0.5;
        const int length = k % 5 == 0 ? 9 : 5;
        p.drawLine(QPointF(s.left() + 16 - length, y), QPointF(s.left() + 16, y));
    }
    p.setFont(TagFont(8, false));
    p.setPen(kEdge);
    for (int k = 0; k <= 10; k += 5) {
        const qreal y = s.top() + 171 - k * 15;
        p.drawText(QRectF(s.right() + 3, y - 6, 22, 12), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::number(k * 10));
    }
    p.setFont(TagFont(8));
    p.drawText(QRectF(s.left() - 4, s.top() - 13, 28, 12), Qt::AlignCenter, QStringLiteral("%"));
}

void PaintDialFace(QPainter& p)
{
    const QRectF r(kHeatControl);
    const QPointF c(r.left() + 18, r.top() + 17);
    p.setPen(EdgePen(1.3));
    QRadialGradient rim(c, 17);
    rim.setColorAt(0.8, kMetal);
    rim.setColorAt(1, kMetalDark);
    p.setBrush(rim);
    p.drawEllipse(c, 16, 16);
    p.setBrush(Qt::white);
    p.drawEllipse(c, 12, 12);
    // Graduations over the 270 degrees of travel.
    p.setPen(QPen(kEdge, 1));
    for (int k = 0; k <= 10; ++k) {
        const qreal a = 3 * std::numbers::pi / 4 + k * (3 * std::numbers::pi / 2) / 10;
        p.drawLine(c + QPointF(13.5 * std::cos(a), 13.5 * std::sin(a)),
                   c + QPointF(15.5 * std::cos(a), 15.5 * std::sin(a)));
    }
}

void PaintTrack(QPainter& p)
{
    const QRectF r(kScroll);
    p.fillRect(r.translated(2, 2), QColor(0, 0, 0, 28));
    QLinearGradient plate(r.topLeft(), r.bottomLeft());
    plate.setColorAt(0, QColor(236, 239, 242));
    plate.setColorAt(1, QColor(212, 217, 223));
    p.setPen(EdgePen(1));
    p.setBrush(plate);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    // The groove the knob runs in, from its left to its right end.
    const qreal grooveLeft = r.left() + kKnobLeft + kKnobSize.width() / 2.0;
    const qreal grooveRight = r.left() + kKnobRight + kKnobSize.width() / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(kEdge);
    p.drawRoundedRect(QRectF(grooveLeft - 2, r.top() + 13, grooveRight - grooveLeft + 4, 5), 2.5,
                      2.5);
    p.setPen(QPen(kEdge, 1));
    for (int k = 0; k <= 10; ++k) {
        const qreal x = grooveLeft + (grooveRight - grooveLeft) * k / 10;
        const qreal length = k % 5 == 0 ? 5 : 3;
        p.drawLine(QPointF(x, r.bottom() - 2 - length), QPointF(x, r.bottom() - 2));
        p.drawLine(QPointF(x, r.top() + 2), QPointF(x, r.top() + 2 + length));
    }
}

void PaintTitle(QPainter& p, Language language)
{
    const QRectF r = LanguageOf(language).longTexts ? QRectF(kTitle.left(), kTitle.top(), 236, 39)
                                                    : QRectF(kTitle);
    p.fillRect(r.translated(2, 2), QColor(0, 0, 0, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(kTitleFill);
    p.drawRoundedRect(r, 4, 4);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(2.5, 2.5, -2.5, -2.5), 2.5, 2.5);
    const QString title =
        TextIn(language, "MimicArt", QT_TRANSLATE_NOOP("MimicArt", "KLN  SYSTEM MIMIC"));
    // The largest size up to 17 pixels that leaves a margin on the plate.
    QFont font = TagFont(17);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    while (font.pixelSize() > 10 && QFontMetricsF(font).horizontalAdvance(title) > r.width() - 20) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, title);
}

// Soft shadows under the labels and read-outs that stand on the diagram.
void PaintTagShadows(QPainter& p)
{
    for (const QRect& r : {kLblTankFull, kLblProcessTemp, kTankNum, kLblHeatInput, kHeatNum,
                           kLblManualHeat, kLblDrainValve, kLblSump, kSumpNum, kLblFlowRate,
                           kFlowNum, kLblFlowTemp, kTempNum, kLblCooler, kLblDiverted}) {
        p.fillRect(QRectF(r).translated(2, 2), QColor(0, 0, 0, 34));
    }
}

QPolygonF Triangle(QPointF apex, QPointF a, QPointF b)
{
    QPolygonF t;
    t << apex << a << b;
    return t;
}

void PaintSolenoid(QPainter& p, QPointF stemFrom, const QRectF& box, bool energised)
{
    p.setPen(EdgePen(1.5));
    p.drawLine(stemFrom, QPointF(box.left(), stemFrom.y()));
    p.setBrush(energised ? QColor(255, 214, 80) : QColor(250, 251, 252));
    p.drawRect(box);
    p.setFont(TagFont(9));
    p.setPen(kEdge);
    p.drawText(box, Qt::AlignCenter, QStringLiteral("S"));
}

const QColor kOpenPort{250, 251, 252};

} // namespace

QPen EdgePen(qreal width)
{
    QPen pen(kEdge, width);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QFont TagFont(int pixels, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void PaintBubble(QPainter& p, QPointF centre, const QString& tag)
{
    p.setPen(EdgePen(1.3));
    p.setBrush(QColor(250, 251, 252));
    p.drawEllipse(centre, 11, 11);
    p.setFont(TagFont(8));
    p.setPen(kEdge);
    p.drawText(QRectF(centre.x() - 11, centre.y() - 11, 22, 22), Qt::AlignCenter, tag);
}

void PaintPumpAt(QPainter& p, QPointF c, qreal radius)
{
    // Base.
    QPolygonF base;
    base << QPointF(c.x() - 11, c.y() + 12) << QPointF(c.x() + 11, c.y() + 12)
         << QPointF(c.x() + 16, c.y() + 24) << QPointF(c.x() - 16, c.y() + 24);
    p.setPen(EdgePen());
    p.setBrush(kMetalDark);
    p.drawPolygon(base);
    // Casing with its tangential outlet.
    QRadialGradient casing(c - QPointF(5, 5), radius + 6);
    casing.setColorAt(0, QColor(250, 251, 252));
    casing.setColorAt(1, kMetal);
    p.setBrush(casing);
    p.setPen(EdgePen(2));
    p.drawEllipse(c, radius, radius);
    // Impeller vanes, a quiet hint of what is inside.
    p.setPen(QPen(kMetalDark.darker(115), 1.4, Qt::SolidLine, Qt::RoundCap));
    for (int k = 0; k < 3; ++k) {
        const qreal a = k * 2 * std::numbers::pi / 3;
        p.drawLine(c + QPointF(3 * std::cos(a), 3 * std::sin(a)),
                   c + QPointF(10 * std::cos(a + 0.6), 10 * std::sin(a + 0.6)));
    }
    p.setBrush(kEdge);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, 2.5, 2.5);
}

void PaintGateValveAt(QPainter& p, QPointF at)
{
    const qreal x = at.x();
    const qreal y = at.y();
    QPolygonF body;
    body << QPointF(x - 14, y - 9) << QPointF(x + 14, y + 9) << QPointF(x + 14, y - 9)
         << QPointF(x - 14, y + 9);
    p.setPen(EdgePen(1.5));
    p.setBrush(QColor(250, 251, 252));
    p.drawPolygon(body);
    // Hand wheel on its stem.
    p.drawLine(QPointF(x, y), QPointF(x, y - 17));
    p.setPen(QPen(kEdge, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x - 8, y - 17), QPointF(x + 8, y - 17));
}

void PaintFlowMeterAt(QPainter& p, QPointF at)
{
    const qreal x = at.x();
    const qreal y = at.y();
    const QRectF body(x - 16, y - 9, 32, 18);
    p.setPen(EdgePen(1.5));
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, QColor(250, 251, 252));
    fill.setColorAt(1, kMetal);
    p.setBrush(fill);
    p.drawRect(body);
    // Turbine: a rotor across the bore.
    p.setPen(QPen(kEdge, 1.3));
    p.drawLine(QPointF(x - 8, y), QPointF(x + 8, y));
    p.drawLine(QPointF(x - 5, y - 5), QPointF(x + 5, y + 5));
    p.drawLine(QPointF(x - 5, y + 5), QPointF(x + 5, y - 5));
    p.drawLine(QPointF(x, y - 9), QPointF(x, y - 18));
    PaintBubble(p, QPointF(x, y - 29), QStringLiteral("FT"));
}

void PaintHeaterAt(QPainter& p, qreal x, qreal top, qreal coilTop)
{
    // Terminal box on the lid.
    p.setPen(EdgePen(1.3));
    p.setBrush(kMetalDark);
    p.drawRect(QRectF(x - 9, top - 18, 18, 12));
    // A hairpin element with its coiled heating length.
    QPainterPath element;
    element.moveTo(x - 5, top);
    element.lineTo(x - 5, coilTop);
    for (int k = 0; k < 6; ++k) {
        const qreal y = coilTop + k * 9;
        element.quadTo(x - 11, y + 2.25, x - 5, y + 4.5);
        element.quadTo(x + 1, y + 6.75, x - 5, y + 9);
    }
    element.lineTo(x - 5, coilTop + 60);
    element.arcTo(QRectF(x - 5, coilTop + 55, 10, 10), 180, 180);
    element.lineTo(x + 5, top);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 92, 60), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(element);
}

QPainterPath Polyline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF& point : points) {
        if (first) {
            path.moveTo(point);
            first = false;
        } else {
            path.lineTo(point);
        }
    }
    return path;
}

void PaintMotorAt(QPainter& p, QPointF c, qreal radius)
{
    QRadialGradient body(c - QPointF(4, 4), 16);
    body.setColorAt(0, QColor(252, 252, 253));
    body.setColorAt(1, kMetal);
    p.setBrush(body);
    p.setPen(EdgePen(1.8));
    p.drawEllipse(c, radius, radius);
    p.setFont(TagFont(static_cast<int>(radius) - 1));
    p.setPen(kEdge);
    p.drawText(QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius), Qt::AlignCenter,
               QStringLiteral("M"));
}

void PaintCoolerAt(QPainter& p, const QRectF& r, qreal lineY)
{
    p.fillRect(r.translated(2, 2), QColor(0, 0, 0, 28));
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(244, 246, 248));
    fill.setColorAt(1, kMetalDark);
    p.setPen(EdgePen(1.5));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.75, 0.75, -0.75, -0.75), 2, 2);
    // Fins.
    p.setPen(QPen(QColor(120, 130, 142), 1));
    for (qreal x = r.left() + 5.5; x < r.right() - 3; x += 4) {
        p.drawLine(QPointF(x, r.top() + 4), QPointF(x, r.bottom() - 4));
    }
    // The tube's four passes through the fins.
    const qreal pitch = (r.width() - 12) / 4;
    p.setPen(QPen(kEdge, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath coil;
    coil.moveTo(r.right(), lineY);
    coil.lineTo(r.right() - 6, lineY);
    for (int k = 0; k < 4; ++k) {
        const qreal x0 = r.right() - 6 - k * pitch;
        coil.lineTo(x0 - pitch / 2, r.top() + 7);
        coil.lineTo(x0 - pitch, r.bottom() - 7);
    }
    coil.lineTo(r.left(), lineY);
    p.setBrush(Qt::NoBrush);
    p.drawPath(coil);
}

void PaintDiagram(QPainter& p, Language language)
{
    p.fillRect(QRect(QPoint(0, 0), kDiagramSize), kGround);
    PaintTagShadows(p);
    PaintTank(p);
    PaintSump(p);
    PaintPipes(p);
    PaintPump(p);
    PaintGateValve(p);
    PaintFlowMeter(p);
    PaintFlowProbe(p);
    PaintHeater(p);
    PaintTankProbe(p);
    PaintSumpProbe(p);
    PaintStirrerMotor(p);
    PaintCoolerCoil(p);
    PaintScaleFace(p);
    PaintDialFace(p);
    PaintTrack(p);
    PaintTitle(p, language);
    for (const QRect& lamp : {kTankFullLamp, kDrainLamp, kCoolLamp, kDivLamp}) {
        PaintLamp(p, lamp, false);
    }
}

void PaintLamp(QPainter& p, const QRect& place, bool lit)
{
    const QRectF r(place);
    const QPointF c = r.center();
    const qreal outer = r.width() / 2.0;
    // Bezel.
    QRadialGradient bezel(c - QPointF(2, 2), outer + 2);
    bezel.setColorAt(0, QColor(200, 206, 214));
    bezel.setColorAt(1, QColor(90, 98, 110));
    p.setPen(QPen(kEdge, 1));
    p.setBrush(bezel);
    p.drawEllipse(c, outer - 0.5, outer - 0.5);
    // Lens.
    const qreal lens = outer - 3.5;
    QRadialGradient glass(c - QPointF(lens / 3, lens / 3), lens * 1.6);
    if (lit) {
        glass.setColorAt(0, QColor(255, 190, 180));
        glass.setColorAt(0.35, QColor(250, 40, 30));
        glass.setColorAt(1, QColor(170, 10, 10));
    } else {
        glass.setColorAt(0, QColor(150, 96, 96));
        glass.setColorAt(0.4, QColor(108, 46, 46));
        glass.setColorAt(1, QColor(70, 30, 30));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawEllipse(c, lens, lens);
}

void PaintDrainValve(QPainter& p, const QRect& place, bool open)
{
    const QPointF o(place.topLeft());
    const QPointF centre = o + QPointF(14, 26);
    const QColor shut = kEdge;
    p.setPen(EdgePen(1.5));
    p.setBrush(open ? kOpenPort : shut);
    p.drawPolygon(Triangle(centre, o + QPointF(5, 12), o + QPointF(23, 12)));
    p.drawPolygon(Triangle(centre, o + QPointF(5, 40), o + QPointF(23, 40)));
    PaintSolenoid(p, centre, QRectF(o + QPointF(27, 18), QSizeF(12, 16)), open);
}

void PaintDiverter(QPainter& p, const QRect& place, bool open)
{
    const QPointF o(place.topLeft());
    const QPointF centre = o + QPointF(16, 23);
    const QColor shut = kEdge;
    p.setPen(EdgePen(1.5));
    // From the pump: always open.
    p.setBrush(kOpenPort);
    p.drawPolygon(Triangle(centre, o + QPointF(7, 35), o + QPointF(25, 35)));
    // To the cooler: open when diverted.
    p.setBrush(open ? kOpenPort : shut);
    p.drawPolygon(Triangle(centre, o + QPointF(7, 11), o + QPointF(25, 11)));
    // Straight on along the middle line: shut when diverted.
    p.setBrush(open ? shut : kOpenPort);
    p.drawPolygon(Triangle(centre, o + QPointF(4, 14), o + QPointF(4, 32)));
    PaintSolenoid(p, centre, QRectF(o + QPointF(29, 15), QSizeF(12, 16)), open);
}

void PaintFan(QPainter& p, const QRect& place, int frame)
{
    const QRectF r(place);
    const QPointF c = r.center();
    const qreal radius = r.width() / 2.0 - 1;
    p.save();
    // Housing.
    p.setPen(EdgePen(2));
    QRadialGradient housing(c, radius);
    housing.setColorAt(0.86, QColor(232, 236, 240));
    housing.setColorAt(1, kMetalDark);
    p.setBrush(housing);
    p.drawEllipse(c, radius, radius);
    p.setPen(QPen(kMetalDark, 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, radius - 6, radius - 6);
    // Five blades, turned a third of their pitch each frame.
    p.translate(c);
    p.rotate((frame - 1) * 24.0);
    QPainterPath blade;
    blade.moveTo(0, -6);
    blade.cubicTo(10, -14, 14, -30, 6, -36);
    blade.cubicTo(-4, -38, -12, -30, -7, -12);
    blade.closeSubpath();
    p.setPen(QPen(kEdge, 1.2));
    QLinearGradient bladeFill(0, -36, 0, 0);
    bladeFill.setColorAt(0, QColor(120, 132, 148));
    bladeFill.setColorAt(1, QColor(78, 88, 102));
    p.setBrush(bladeFill);
    for (int k = 0; k < 5; ++k) {
        p.drawPath(blade);
        p.rotate(72);
    }
    p.setBrush(QColor(238, 240, 243));
    p.setPen(EdgePen(1.5));
    p.drawEllipse(QPointF(0, 0), 8, 8);
    p.setBrush(kEdge);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(0, 0), 2.5, 2.5);
    p.restore();
    // Guard struts over the blades.
    p.setPen(QPen(QColor(62, 70, 82, 120), 1));
    p.drawLine(QPointF(c.x() - radius + 6, c.y()), QPointF(c.x() + radius - 6, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - radius + 6), QPointF(c.x(), c.y() + radius - 6));
}

void PaintStirrer(QPainter& p, const QRect& place, int frame)
{
    const QRectF r(place);
    const qreal cx = r.center().x();
    const qreal cy = r.top() + 12;
    // A two-blade paddle seen from the side at 0, 45, 90 and 135 degrees.
    const qreal angle = (frame - 1) * std::numbers::pi / 4;
    const qreal reach = 25 * std::cos(angle);
    const bool frontIsRight = std::sin(angle) >= 0;
    p.setPen(QPen(kEdge, 1.2));
    const auto bladeRect = [&](qreal sign) {
        const qreal x0 = cx;
        const qreal x1 = cx + sign * reach;
        return QRectF(QPointF(std::min(x0, x1), cy - 4), QPointF(std::max(x0, x1), cy + 4));
    };
    const QColor front(150, 160, 174);
    const QColor back(96, 106, 120);
    if (std::abs(reach) < 1.5) {
        // Edge on: the blades are a thin line through the hub.
        p.setBrush(back);
        p.drawRect(QRectF(cx - 1.5, cy - 4, 3, 8));
    } else {
        p.setBrush(frontIsRight ? back : front);
        p.drawRect(bladeRect(-1));
        p.setBrush(frontIsRight ? front : back);
        p.drawRect(bladeRect(1));
    }
    p.setBrush(kEdge);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(cx - 3, cy - 6, 6, 12), 1.5, 1.5);
}

void PaintTankWater(QPainter& p, int pixels)
{
    if (pixels <= 0) {
        return;
    }
    const QRectF inside = QRectF(kTank).adjusted(3, 3, -3, -3);
    const qreal top = kTankFloor - pixels;
    QLinearGradient water(0, top, 0, kTankFloor);
    water.setColorAt(0, kWater);
    water.setColorAt(1, kWater.darker(112));
    p.fillRect(QRectF(inside.left(), top, inside.width(), kTankFloor - top), water);
    // Flat ends: the surface stops at the walls, whether the whole diagram
    // or only the tank's inside is being drawn.
    p.setPen(QPen(kWaterTop, 1.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(inside.left(), top + 0.75), QPointF(inside.right(), top + 0.75));
}

void InvertLevelBar(QPainter& p, int pixels)
{
    if (pixels <= 0) {
        return;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(QRect(kScale.left(), kScale.top() + 172 - pixels, 15, pixels), Qt::white);
    p.restore();
}

void PaintNeedle(QPainter& p, int pos, const QColor& colour)
{
    const DialPoint end = MimicNeedleEnd(pos);
    const QPointF o(kHeatControl.topLeft());
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(o + QPointF(18, 17), o + QPointF(end.x, end.y));
    p.setPen(Qt::NoPen);
    p.setBrush(kEdge);
    p.drawEllipse(o + QPointF(18, 17), 2, 2);
}

void PaintKnob(QPainter& p, int x)
{
    const QRectF r(QPointF(kScroll.left() + x, kScroll.top()), QSizeF(kKnobSize));
    const QRectF cap = r.adjusted(1, 2, -1, -2);
    p.fillRect(cap.translated(1.5, 1.5), QColor(0, 0, 0, 50));
    QLinearGradient metal(cap.topLeft(), cap.topRight());
    metal.setColorAt(0, QColor(246, 248, 250));
    metal.setColorAt(0.5, QColor(206, 212, 220));
    metal.setColorAt(1, QColor(150, 160, 172));
    p.setPen(EdgePen(1.2));
    p.setBrush(metal);
    p.drawRoundedRect(cap, 2, 2);
    // Grip lines and the pointer line at the centre.
    p.setPen(QPen(QColor(110, 120, 134), 1));
    for (const qreal dy : {-6.0, 6.0}) {
        p.drawLine(QPointF(cap.left() + 3, cap.center().y() + dy + 0.5),
                   QPointF(cap.right() - 3, cap.center().y() + dy + 0.5));
    }
    p.setPen(QPen(QColor(200, 30, 30), 1.5));
    p.drawLine(QPointF(cap.center().x(), cap.top() + 3),
               QPointF(cap.center().x(), cap.bottom() - 3));
}

} // namespace velmor::mimic
