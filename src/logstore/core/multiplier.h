#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pln {

// A decimal number as the user types it: optional sign, digits with at most
// one decimal separator, optional exponent. The separator is the user's or a
// ".": a user of a decimal comma who types 2.5 means 2.5. Empty when the whole
// text is not such a number or its value is not finite.
std::optional<double> parseDecimal(std::string_view text, char decimalSeparator = '.');

// Whether the whole text has the shape of a decimal number with a "."
// separator, whatever its size.
bool isDecimalText(std::string_view text);

// The number as "%g" writes it, with the user's decimal separator.
std::string formatNumber(double value, char decimalSeparator = '.');

// The value of a multiplier text: numbers joined by "*" and "/", evaluated
// from left to right ("24 * 3600 / 1024 / 1024"). The missing value (NaN)
// when the text is empty, a term is empty or not a number, an operator has
// nothing after it, a divisor is 0, or the result is 0 or not finite.
double getMultiplier(std::string_view text, char decimalSeparator = '.');

// The multiplier of a log being edited: its stored value while the box still
// shows the text it was filled with (a text that may round it), else the
// value of the text. The missing value when the result is 0 or not finite:
// a value read from a damaged file is checked as a typed one is.
double editedMultiplier(std::string_view text, std::string_view shown, double stored,
                        char decimalSeparator = '.');

} // namespace pln
