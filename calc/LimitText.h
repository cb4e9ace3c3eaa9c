#pragma once

#include <string>

#include "calc/Ucalculo.h"

namespace ldc {

// Whether the basis names one of the regression's two standard deviations: the
// regression's or the intercept's.
bool limitsCalculated(const std::string& basis);

// Whether the limits of the last calculation into `results` stand on a standard deviation:
// the one the basis names or, for any other basis (empty included), that of at least two
// blank readings. Without either no figure may stand for them on a screen or a signed page.
bool limitsCalculated(const std::string& basis, const CalibrationResults& results);

// What follows a limit's label and " = " in the results window, the report and the printed
// results pages: the limit and the units of the added amount, or a note that the limit was
// not calculated.
std::string limitValueText(const std::string& basis, const CalibrationResults& results,
                           double limit, const std::string& addedUnits);

inline constexpr const char* kLimitNotCalculated =
    "no calculado: el estudio no tiene base de cálculo";

}  // namespace ldc
