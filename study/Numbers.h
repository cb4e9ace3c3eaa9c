#pragma once

#include <cstdint>
#include <string>

namespace ldc {

// Study values stay text as typed; every consumer converts a value when it reads it.
// Whole numbers use the standard integer parse, decimals the decimal separator of the
// user's locale, taken once at start-up (setDecimalSeparator) and settable in tests.

// Optional sign and decimal digits only, within the 32-bit range.
// Raises "'<text>' is not a valid integer value".
std::int32_t parseInteger(const std::string& text);

// Optional blanks around an optional sign, digits with at most one decimal separator
// (the locale's), and an optional exponent. The value keeps extended precision.
// Raises "'<text>' is not a valid floating point value".
long double parseDecimal(const std::string& text);

char decimalSeparator();
void setDecimalSeparator(char separator);

// The separator of the locale named by LC_ALL, LC_NUMERIC or LANG (in that order of
// precedence), or '.' when the locale is not known on this machine.
char decimalSeparatorFromEnvironment();

// Decimal text of a whole number, no leading zeros or blanks.
std::string integerText(long long value);

}  // namespace ldc
