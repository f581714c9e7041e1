// Arithmetic of the "New value" keypad: what may be typed, and the value
// that OK makes of the text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmor {

// Digits after the decimal mark that an entry may hold. The value is formed
// as integer / 10^n, which only works for n up to 7.
constexpr int kKeypadMaxDecimals = 7;

// Whether a typed character is accepted into `text` (digits, one decimal
// mark "." or ",", at most seven digits after it).
bool KeypadAcceptsChar(std::string_view text, char c);

// What a value box takes; its conversion message names it.
enum class KeypadNumber { Decimal, Whole };

// OK: the text as a value. The digits (without the mark) are read as a
// 32-bit integer and divided by 10^n for n digits after the mark. On a text
// that is no number, `error` gets the conversion message for the text as
// typed and the kind of number the box takes.
std::optional<float> KeypadTextValue(std::string_view text, std::string* error = nullptr,
                                     KeypadNumber kind = KeypadNumber::Decimal);

// The keypad text nearest to a value (at most seven decimals, the digits
// within a 32-bit integer, trailing zeros dropped): "0.3", "12", "0.1234568".
// Absent for a negative or non-finite value or one too large to type.
std::optional<std::string> KeypadText(double value);

// Whether value lies within [min, max] as the keypad compares (32-bit).
inline bool KeypadInRange(float value, float min, float max)
{
    return !(value > max || value < min);
}

} // namespace velmor
