#pragma once
// The arithmetic and text services the game's rules rely on: rounding to a
// 16-bit integer, whole parts, the display patterns and the forgiving
// text-to-number reading that turns whatever is in a box into a value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quimbra {

// Largest whole number not above x.
double wholePart(double x);

// To nearest, ties to even, whatever the process's floating-point rounding
// mode. Empty when the result would leave -32768..32767
// (or x is not a number): callers decide what an overflow means, nothing wraps.
std::optional<std::int16_t> toInt16(double x);

// Decimal digits, "-" before a negative value, no blank.
std::string numberToText(long long value);

// The display patterns "00" (at least two digits, zero-padded) and "#0",
// "##0", "###0", "####0" (no leading zeros, zero as "0"); no group separators.
// The value is rounded to a whole number first, ties to even. Any other
// pattern is treated as "0".
std::string formatPattern(double value, std::string_view pattern);

// The number at the start of text: leading blanks and tabs skipped, optional
// sign, digits, decimal point, exponent. 0 when there is none; a line end, or
// any other character, ends it. A value too large for a double is +/-infinity.
double textToNumber(std::string_view text);

}  // namespace quimbra
