#include "calc/FloatChecks.h"

#include <cfloat>
#include <cmath>

#include "study/LdcError.h"

namespace ldc {
namespace {

[[noreturn]] void invalidOperation() { throw Error("Invalid floating point operation"); }
[[noreturn]] void overflow() { throw Error("Floating point overflow"); }

// An intermediate that is already infinite or undefined overflowed or was invalid in an
// earlier operation of the same step.
long double checkedOperand(long double value) {
    if (std::isnan(value))
        invalidOperation();
    if (std::isinf(value))
        overflow();
    return value;
}

}  // namespace

long double checkedDivide(long double dividend, long double divisor) {
    checkedOperand(dividend);
    checkedOperand(divisor);
    if (divisor == 0) {
        if (dividend == 0)
            invalidOperation();
        throw Error("Floating point division by zero");
    }
    return checkedOperand(dividend / divisor);
}

long double checkedSqrt(long double value) {
    checkedOperand(value);
    if (value < 0)
        invalidOperation();
    return std::sqrt(value);
}

double storeDouble(long double value) {
    checkedOperand(value);
    const double stored = static_cast<double>(value);
    if (std::isinf(stored))
        overflow();
    return stored;
}

}  // namespace ldc
