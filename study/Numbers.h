#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ldc {

// Study values stay text as typed; every consumer converts a value when it reads it.
// Whole numbers use the standard integer parse. Decimals accept a comma or a point as
// the separator, so that a study typed on any machine (or with the keypad's point on a
// Spanish keyboard) reads everywhere; no thousands separator exists to make either
// ambiguous. Results are written with the locale's separator, taken once at start-up
// (setDecimalSeparator) and settable in tests.
//
// A conversion error quotes the text as visibleText shows it.

// Optional sign and decimal digits only, within the 32-bit range.
// Raises "'<text>' is not a valid integer value".
std::int32_t parseInteger(std::string_view text);

// The value parseInteger gives, or nothing where it would raise.
std::optional<std::int32_t> integerValue(std::string_view text);

// Optional blanks around an optional sign, digits with at most one decimal separator
// (',' or '.'), and an optional exponent. The value keeps extended precision.
// Raises "'<text>' is not a valid floating point value".
long double parseDecimal(std::string_view text);

// The separator results are written with.
char decimalSeparator();
void setDecimalSeparator(char separator);

// The separator of the locale named by LC_ALL, LC_NUMERIC or LANG (in that order of
// precedence), or '.' when the locale is not known on this machine.
char decimalSeparatorFromEnvironment();

// Decimal text of a whole number, no leading zeros or blanks.
std::string integerText(long long value);

}  // namespace ldc
