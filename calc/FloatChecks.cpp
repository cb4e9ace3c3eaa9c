#include "calc/FloatChecks.h"

#include "study/LdcError.h"

namespace ldc {

void raiseInvalidOperation() {
    throw Error("Invalid floating point operation");
}

void raiseOverflow() {
    throw Error("Floating point overflow");
}

void raiseDivisionByZero() {
    throw Error("Floating point division by zero");
}

}  // namespace ldc
