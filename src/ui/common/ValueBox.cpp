#include "ui/common/ValueBox.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace velmor {

QFont PanelFont(int pointSize, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    // Points at 96 dots per inch, rounded to whole pixels, so that a text
    // measures the same on every screen.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pointSize * 96.0 / 72.0))));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

namespace {

std::string StripZeros(std::string text)
{
    if (text.find('.') == std::string::npos) {
        return text;
    }
    while (!text.empty() && text.back() == '0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return text;
}

QString Localised(const std::string& text, const QLocale& locale)
{
    QString result = QString::fromStdString(text);
    result.replace(QLatin1Char('.'), locale.decimalPoint());
    return result;
}

} // namespace

QString FormatGeneral(double value, int precision, const QLocale& locale)
{
    if (std::isnan(value)) {
        return QStringLiteral("NAN");
    }
    if (std::isinf(value)) {
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    }
    if (value == 0) {
        return QStringLiteral("0");
    }
    // Round to the precision first: the exponent is that of the rounded value.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, value);
    const std::string scientific(buffer);
    const std::size_t e = scientific.find('e');
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    const double rounded = std::strtod(buffer, nullptr);
    if (exponent < precision && std::fabs(rounded) >= 0.00001) {
        std::snprintf(buffer, sizeof buffer, "%.*f", std::max(precision - 1 - exponent, 0), value);
        return Localised(StripZeros(buffer), locale);
    }
    std::string mantissa = StripZeros(scientific.substr(0, e));
    std::snprintf(buffer, sizeof buffer, "E%s%02d", exponent < 0 ? "-" : "", std::abs(exponent));
    return Localised(mantissa + buffer, locale);
}

QString FormatFixed(double value, int decimals, const QLocale& locale)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return Localised(buffer, locale);
}

void DrawCentredText(QImage& panel, QPoint base, QSize area, const QString& text, const QFont& font,
                     const QColor& colour)
{
    const QFontMetrics metrics(font);
    const int x = base.x() + (area.width() - metrics.horizontalAdvance(text)) / 2;
    const int y = base.y() + (area.height() - metrics.height()) / 2;
    QPainter painter(&panel);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(x, y + metrics.ascent(), text);
}

void DrawValueBox(QImage& panel, const QRect& box, QPoint base, QSize area, const QString& text,
                  const QFont& font, const QColor& textColour, const QColor& fill)
{
    {
        QPainter painter(&panel);
        painter.fillRect(box, fill);
    }
    DrawCentredText(panel, base, area, text, font, textColour);
}

void DrawSunkenFrame(QImage& panel, const QRect& box)
{
    QPainter painter(&panel);
    const QRect outer = box.adjusted(-1, -1, 1, 1);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(outer.topLeft(), outer.topRight());
    painter.drawLine(outer.topLeft(), outer.bottomLeft());
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(outer.bottomLeft(), outer.bottomRight());
    painter.drawLine(outer.topRight(), outer.bottomRight());
}

} // namespace velmor
