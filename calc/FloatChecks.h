#pragma once

namespace ldc {

// The processor does not trap here as the calculation expects, so every operation that
// can fault is checked and raises the runtime's message:
// "Floating point division by zero", "Invalid floating point operation",
// "Floating point overflow".

// x / y in extended precision.
long double checkedDivide(long double dividend, long double divisor);
// √x in extended precision.
long double checkedSqrt(long double value);
// Stores an extended intermediate as a double, as every named quantity is stored.
double storeDouble(long double value);

}  // namespace ldc
