// Tolerant number reading for simulation files: "." and "," both work as the
// decimal mark whatever the system uses, so a file saved on one machine opens
// on any other. Thousands separators, "inf", "nan" and hex are not numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmor {

enum class NumberError {
    None,
    NotANumber, // no number at all: empty, a word, two separate marks
    OutOfRange, // a number too large for the variable it goes to
};

struct RealValue {
    double value = 0;
    NumberError error = NumberError::None;
};

struct Float32Value {
    float value = 0;
    NumberError error = NumberError::None;
};

// The conversion: optional sign, digits, one decimal
// mark ("." or ","; a run of marks counts as one, so "1..5" is 1.5), optional
// exponent, blanks around it allowed. decimalComma says which mark the system
// uses; the value does not depend on it. Magnitudes beyond a double are out
// of range; ones below its smallest read as zero.
RealValue ParseSafeReal(std::string_view text, bool decimalComma) noexcept;

// The same for a value stored as a 32-bit float: out of range as well when
// the float would be infinite.
Float32Value ParseSafeFloat32(std::string_view text, bool decimalComma) noexcept;

// The standard decimal integer conversion into a 32-bit signed integer:
// optional sign, digits, blanks around them allowed; nothing else.
std::optional<std::int32_t> ParseInteger32(std::string_view text) noexcept;

// The conversion messages: "'%s' is not a valid floating point value",
// "'%s' is not a valid integer value" and "'%s' is out of range for a
// floating point value".
std::string NotARealMessage(std::string_view text);
std::string NotAnIntegerMessage(std::string_view text);
std::string OutOfRangeMessage(std::string_view text);

} // namespace velmor
