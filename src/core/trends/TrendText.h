// Number texts of the Trends window: the settings box and the bar values.
// Texts are built with "." and then given the system's decimal mark.
#pragma once

#include <string>

namespace velmor {

// General notation with `precision` significant digits: fixed-point while
// the value has at most `precision` digits before the point and is at
// least 1e-5 in size, else d.dddE+XX; trailing zeros and a bare point go.
std::string FormatGeneral(double value, int precision, char decimalMark = '.');

// Fixed-point with `decimals` digits after the point, the value first
// rounded to `precision` significant digits (digits past them read 0).
// Values with more than `precision` digits before the point fall back to
// FormatGeneral.
std::string FormatFixed(double value, int precision, int decimals, char decimalMark = '.');

// The settings box's text of a gain, band or time: five significant digits
// cut to at most five characters (123.456 -> 123.4, 1234.5 -> 1234).
// With a comma as the mark the text has no "." and is kept whole.
std::string DisplayStr(float value, char decimalMark = '.');

} // namespace velmor
