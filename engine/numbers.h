#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vastorim {

// A conversion whose result does not fit its type; reported, never wrapped.
class RangeError : public std::range_error {
  public:
    using std::range_error::range_error;
};

// Integer (16-bit) and Long (32-bit) conversions: round to nearest, ties to even.
std::int16_t toInteger(double value);
std::int32_t toLong(double value);

// The standard number-to-text form: the shortest text of at most 15 significant digits, "." as
// the decimal point, no trailing zeros, a zero before the point (0.5), exponent form for very
// small and very large magnitudes (1E-05, 1E+15). Values that are not finite give "inf", "-inf"
// and "nan".
std::string numberToText(double value);

// Text-to-number that reads back everything numberToText writes ("E" or "e" exponents, "inf",
// "nan" included). Surrounding blanks are allowed; anything else that is not a number gives
// nothing.
std::optional<double> textToNumber(std::string_view text);

// A whole number from a file or a command line, checked before it is converted: digits with an
// optional sign, or any form textToNumber reads ("1e3"), whose value is whole and from low to
// high. Nothing for anything else (a fraction, inf, nan, a value out of range).
std::optional<std::int64_t> wholeNumber(std::string_view text, std::int64_t low, std::int64_t high);

// The value that numberToText followed by textToNumber gives back: the number rounded to 15
// significant digits. Fast; identical to the text round trip for every input.
double round15(double value);

} // namespace vastorim
