#include "ui/trends/TrendArt.h"

#include "ui/common/Picture.h"
#include "ui/trends/Scales.h"
#include "ui/trends/TrendView.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace velmor::trendart {

namespace {

constexpr int kPanelWidth = 524;
constexpr int kPanelHeight = 501;

void HLine(QPainter& p, int x0, int x1, int y, const QColor& c) // x1 inclusive
{
    p.fillRect(QRect(x0, y, x1 - x0 + 1, 1), c);
}

void VLine(QPainter& p, int x, int y0, int y1, const QColor& c) // y1 inclusive
{
    p.fillRect(QRect(x, y0, 1, y1 - y0 + 1), c);
}

// A 1-pixel bevel around r (r's edges themselves): raised or sunken.
void Bevel(QPainter& p, const QRect& r, bool raised)
{
    const QColor& lt = raised ? Qt::white : kShadow;
    const QColor& rb = raised ? kShadow : Qt::white;
    HLine(p, r.left(), r.right(), r.top(), lt);
    VLine(p, r.left(), r.top(), r.bottom(), lt);
    HLine(p, r.left(), r.right(), r.bottom(), rb);
    VLine(p, r.right(), r.top(), r.bottom(), rb);
}

// An etched frame: a groove two pixels wide, as group boxes have.
void Etched(QPainter& p, const QRect& r)
{
    Bevel(p, r, false);
    Bevel(p, r.adjusted(1, 1, -1, -1), true);
}

QFont ScaleFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(10);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

struct Graduation {
    int y;
    QString text; // empty: a minor tick
};

// One value scale: ticks ending against the plot frame and numbers beside
// them. leftSide: ticks at x 30..35 and numbers right-aligned up to x 26;
// else ticks at x 491..496 and numbers from x 499.
void DrawScale(QPainter& p, const std::vector<Graduation>& marks, bool leftSide)
{
    p.setFont(ScaleFont());
    p.setPen(kInk);
    for (const Graduation& g : marks) {
        const bool major = !g.text.isEmpty();
        if (leftSide) {
            HLine(p, major ? 30 : 33, 35, g.y, kInk);
            if (major) {
                p.drawText(QRect(0, g.y - 7, 27, 14), Qt::AlignRight | Qt::AlignVCenter, g.text);
            }
        } else {
            HLine(p, 491, major ? 496 : 493, g.y, kInk);
            if (major) {
                p.drawText(QRect(499, g.y - 7, 24, 14), Qt::AlignLeft | Qt::AlignVCenter, g.text);
            }
        }
    }
}

std::vector<Graduation> PercentMarks()
{
    std::vector<Graduation> marks;
    for (int v = 0; v <= 100; v += 5) {
        marks.push_back(
            {PlotFixed(static_cast<float>(v)), v % 10 == 0 ? QString::number(v) : QString()});
    }
    return marks;
}

void DrawArrowGlyphs(QPainter& p, int kind) // kind 1 large .. 4 small, pointing left
{
    auto triangle = [&](qreal tipX, qreal halfHeight, qreal width) {
        QPainterPath path;
        path.moveTo(tipX, 9.5);
        path.lineTo(tipX + width, 9.5 - halfHeight);
        path.lineTo(tipX + width, 9.5 + halfHeight);
        path.closeSubpath();
        p.fillPath(path, kInk);
    };
    switch (kind) {
    case 1:
        p.fillRect(QRectF(3.5, 5, 1.5, 9), kInk);
        triangle(5, 4.5, 4.5);
        triangle(9, 4.5, 4.5);
        break;
    case 2:
        triangle(4, 4.5, 4.5);
        triangle(8.5, 4.5, 4.5);
        break;
    case 3:
        triangle(5.5, 4.5, 6);
        break;
    default:
        triangle(6.5, 3, 4);
        break;
    }
}

QImage PanelWithoutLeftScale(qreal pixelRatio)
{
    QImage img = BlankPicture(QSize(kPanelWidth, kPanelHeight), pixelRatio);
    img.fill(kSilver);
    QPainter p(&img);

    // The window's own edge.
    Bevel(p, QRect(0, 0, kPanelWidth, kPanelHeight), true);

    // Plot well: a sunken frame round the plot area (38..488, 47..360).
    HLine(p, 36, 490, 45, kShadow);
    HLine(p, 37, 489, 46, kDarkShadow);
    VLine(p, 36, 45, 360, kShadow);
    VLine(p, 37, 46, 360, kDarkShadow);
    VLine(p, 489, 46, 360, kLight);
    VLine(p, 490, 45, 360, Qt::white);
    p.fillRect(QRect(38, 47, 451, 330), Qt::black);
    p.fillRect(QRect(27, 361, 474, 16), Qt::black);

    // Bar box: eight sunken bar places and the black strip of their texts.
    Etched(p, QRect(5, 381, 223, 115));
    const int placeLeft[8] = {15, 42, 69, 96, 123, 150, 177, 204};
    const char* placeName[8] = {"SP", "MV", "Q", "SP", "MV", "Q", "SP", "MV"};
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(9);
    p.setFont(small);
    p.setPen(kDarkShadow);
    for (int i = 0; i < 8; ++i) {
        const int x = placeLeft[i];
        p.fillRect(QRect(x, 403, 14, 64), Qt::black);
        Bevel(p, QRect(x - 1, 402, 16, 66), false);
        p.drawText(QRect(x - 5, 388, 24, 12), Qt::AlignCenter, QString::fromLatin1(placeName[i]));
    }
    // Quarter marks of the bars' height, and grooves between the groups.
    for (int q = 0; q <= 4; ++q) {
        HLine(p, 9, 12, 403 + q * 16 - (q == 4 ? 1 : 0), kShadow);
    }
    for (int x : {89, 170}) {
        VLine(p, x, 386, 467, kShadow);
        VLine(p, x + 1, 386, 467, Qt::white);
    }
    p.fillRect(QRect(10, 473, 213, 16), Qt::black);
    Bevel(p, QRect(9, 472, 215, 18), false);

    // Right edge of the settings box; the frame's other sides and the
    // labels come with the exercise's texts.
    VLine(p, 519, 429, 494, Qt::black);

    // Right value scale, 0..100.
    DrawScale(p, PercentMarks(), false);
    return img;
}

} // namespace

QImage PanelBackground(qreal pixelRatio)
{
    QImage img = PanelWithoutLeftScale(pixelRatio);
    QPainter p(&img);
    DrawScale(p, PercentMarks(), true);
    // The eight scroll arrows and the slider in their normal pictures.
    const int across[8] = {42, 58, 74, 90, 122, 138, 154, 170};
    for (int a = 1; a <= 8; ++a) {
        p.drawImage(across[a - 1], 27, ArrowPicture(a, false, pixelRatio));
    }
    return img;
}

namespace {

QImage Overlay(const QRect& where, const std::vector<Graduation>& marks, qreal pixelRatio)
{
    // The ground of the panel under the overlay, in the picture's pixels.
    const QImage panel = PanelWithoutLeftScale(pixelRatio);
    QImage img = panel.copy(QRect(where.topLeft() * pixelRatio, where.size() * pixelRatio));
    img.setDevicePixelRatio(pixelRatio);
    QPainter p(&img);
    p.translate(-where.left(), -where.top());
    DrawScale(p, marks, true);
    return img;
}

// A scale number with one decimal, as the system writes it.
QString OneDecimal(double value, QChar decimalMark)
{
    return QString::number(value, 'f', 1).replace(QLatin1Char('.'), decimalMark);
}

} // namespace

QImage LpermOverlay(QChar decimalMark, qreal pixelRatio)
{
    std::vector<Graduation> marks;
    for (int i = 0; i <= 20; ++i) {
        const float v = static_cast<float>(i) / 10.0f;
        marks.push_back({PlotRate(v), i % 2 == 0 ? OneDecimal(i / 10.0, decimalMark) : QString()});
    }
    return Overlay(QRect(2, 20, 34, 341), marks, pixelRatio);
}

QImage LitresOverlay(QChar decimalMark, qreal pixelRatio)
{
    std::vector<Graduation> marks;
    for (int i = 0; i <= 12; ++i) {
        const float v = static_cast<float>(i) / 2.0f;
        marks.push_back(
            {PlotCumulative(v), i % 2 == 0 ? OneDecimal(i / 2.0, decimalMark) : QString()});
    }
    return Overlay(QRect(2, 19, 36, 345), marks, pixelRatio);
}

QImage ArrowPicture(int arrow, bool highlighted, qreal pixelRatio)
{
    QImage img = BlankPicture(QSize(17, 19), pixelRatio);
    img.fill(highlighted ? QColor(255, 236, 64) : kSilver);
    QPainter p(&img);
    HLine(p, 0, 16, 0, Qt::white);
    VLine(p, 0, 0, 18, Qt::white);
    HLine(p, 0, 16, 18, kDarkShadow);
    VLine(p, 16, 0, 18, kDarkShadow);
    HLine(p, 1, 15, 17, kShadow);
    VLine(p, 15, 1, 17, kShadow);
    p.setRenderHint(QPainter::Antialiasing);
    if (arrow >= 5) {
        p.translate(17, 0);
        p.scale(-1, 1);
    }
    const int kind = arrow <= 4 ? arrow : 9 - arrow; // 1 large .. 4 small
    DrawArrowGlyphs(p, kind);
    return img;
}

QImage SliderTrack(qreal pixelRatio)
{
    QImage img = BlankPicture(QSize(71, 16), pixelRatio);
    img.fill(kSilver);
    QPainter p(&img);
    // Groove along the knob's travel, ticks at every span of 10 s.
    const QRect groove(6, 6, 59, 4);
    p.fillRect(groove.adjusted(1, 1, -1, -1), QColor(96, 96, 96));
    Bevel(p, groove, false);
    for (int span = 20; span <= 180; span += 10) {
        const int x = SliderKnobOffset(span) + 7;
        const int len = (span % 50 == 0 || span == 20) ? 3 : 2;
        VLine(p, x, 12, 11 + len, kDarkShadow);
    }
    return img;
}

QImage SliderKnob(qreal pixelRatio)
{
    QImage img = BlankPicture(QSize(15, 16), pixelRatio);
    img.fill(QColor(208, 208, 208));
    QPainter p(&img);
    HLine(p, 0, 14, 0, Qt::white);
    VLine(p, 0, 0, 15, Qt::white);
    HLine(p, 0, 14, 15, kDarkShadow);
    VLine(p, 14, 0, 15, kDarkShadow);
    HLine(p, 1, 13, 14, kShadow);
    VLine(p, 13, 1, 14, kShadow);
    for (int x : {5, 7, 9}) {
        VLine(p, x, 4, 11, kShadow);
        VLine(p, x + 1, 4, 11, Qt::white);
    }
    return img;
}

QIcon PumpIcon(bool on)
{
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor body = on ? QColor(40, 170, 60) : QColor(150, 150, 150);
    // Casing with its outlet, and the impeller's triangle.
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(body);
    p.drawRect(QRectF(11, 2.5, 8.5, 5));
    p.drawEllipse(QRectF(2.5, 3.5, 15, 15));
    QPainterPath blade;
    blade.moveTo(6.5, 7.5);
    blade.lineTo(14.5, 11);
    blade.lineTo(6.5, 14.5);
    blade.closeSubpath();
    p.setBrush(on ? QColor(230, 255, 230) : QColor(235, 235, 235));
    p.drawPath(blade);
    p.end();
    return QIcon(pm);
}

QIcon GateIcon(bool opening)
{
    QPixmap pm(14, 9);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    if (opening) {
        path.moveTo(7, 1);
        path.lineTo(13, 8);
        path.lineTo(1, 8);
    } else {
        path.moveTo(1, 1);
        path.lineTo(13, 1);
        path.lineTo(7, 8);
    }
    path.closeSubpath();
    p.fillPath(path, kInk);
    p.end();
    return QIcon(pm);
}

} // namespace velmor::trendart
