#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace ldc {

// The processor does not trap here as the calculation expects, so every operation that
// can fault is checked and raises the runtime's message:
// "Floating point division by zero", "Invalid floating point operation",
// "Floating point overflow".
//
// The checks are inline: the calculation stores five running sums per replicate result,
// and a call per stored quantity costs more than the addition it guards.

[[noreturn]] void raiseInvalidOperation();
[[noreturn]] void raiseOverflow();
[[noreturn]] void raiseDivisionByZero();

// An intermediate that is already infinite or undefined overflowed or was invalid in an
// earlier operation of the same step.
inline long double checkedOperand(long double value) {
    if (std::isnan(value))
        raiseInvalidOperation();
    if (std::isinf(value))
        raiseOverflow();
    return value;
}

// x / y in extended precision.
inline long double checkedDivide(long double dividend, long double divisor) {
    checkedOperand(dividend);
    checkedOperand(divisor);
    if (divisor == 0) {
        if (dividend == 0)
            raiseInvalidOperation();
        raiseDivisionByZero();
    }
    return checkedOperand(dividend / divisor);
}

// √x in extended precision.
inline long double checkedSqrt(long double value) {
    checkedOperand(value);
    if (value < 0)
        raiseInvalidOperation();
    return std::sqrt(value);
}

// Stores an extended intermediate as a double, as every named quantity is stored. An
// undefined intermediate stays undefined and an infinite one stays infinite in the
// double, so one test of the stored value covers the whole step.
//
// The test reads the stored double's exponent bits, and the double handed back is made
// from those bits: the running sums of a calculation then pass from one result to the next
// without the floating-point compare that used to hold each addition back, and the value
// is certainly the rounded double, never the extended intermediate.
inline double storeDouble(long double value) {
    constexpr std::uint64_t kExponentBits = 0x7FF0000000000000ULL;
    constexpr std::uint64_t kFractionBits = 0x000FFFFFFFFFFFFFULL;
    const auto bits = std::bit_cast<std::uint64_t>(static_cast<double>(value));
    if ((bits & kExponentBits) == kExponentBits) {
        if ((bits & kFractionBits) != 0)
            raiseInvalidOperation();
        raiseOverflow();
    }
    return std::bit_cast<double>(bits);
}

}  // namespace ldc
