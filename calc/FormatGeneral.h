#pragma once

#include <string>

namespace ldc {

// The number format of every result shown or printed: 6 significant digits, a seventh
// digit of 5 or more rounding the magnitude up, no trailing zeros; fixed notation for
// 0.0001 <= |value| < 1000000, otherwise scientific (1.23457E6, 4E-5). Uses the
// locale's decimal separator (decimalSeparator()).
std::string formatGeneral(double value);

}  // namespace ldc
