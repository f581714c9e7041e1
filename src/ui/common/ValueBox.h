// Painting of the value boxes and number texts shared by every exercise
// panel. Coordinates are panel pixels; rectangles are left, top, right,
// bottom with right and bottom exclusive, as the layout tables give them.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLocale>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace velmor {

inline const QColor kSilver{192, 192, 192};
inline const QColor kGrey{128, 128, 128};
inline const QColor kYellow{255, 255, 0};
inline const QColor kAqua{0, 255, 255};

// A rectangle given as left, top, right, bottom (right and bottom exclusive).
constexpr QRect Ltrb(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// "Arial" at a point size taken at 96 dots per inch, so a
// text measures the same on every screen and in every test.
QFont PanelFont(int pointSize, bool bold = true);

// General number format: the shorter of fixed and scientific notation with
// at most `precision` significant digits, trailing zeros dropped, exponent
// with at least two digits; the decimal mark is the locale's.
QString FormatGeneral(double value, int precision, const QLocale& locale = QLocale());

// Fixed-point text with `decimals` digits after the locale's decimal mark.
QString FormatFixed(double value, int decimals, const QLocale& locale = QLocale());

// One text centred in the area of size `area` whose top-left is `base`:
// offsets (W - text width) / 2 and (H - text height) / 2, halved toward zero.
void DrawCentredText(QImage& panel, QPoint base, QSize area, const QString& text, const QFont& font,
                     const QColor& colour);

// A value box: the rectangle filled with `fill`, then the centred text.
void DrawValueBox(QImage& panel, const QRect& box, QPoint base, QSize area, const QString& text,
                  const QFont& font, const QColor& textColour, const QColor& fill = kSilver);

// A sunken bevel just outside a box, so the box's own pixels stay exact.
void DrawSunkenFrame(QImage& panel, const QRect& box);

} // namespace velmor
