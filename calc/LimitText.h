#pragma once

#include <string>

namespace ldc {

// The two limits stand on the standard deviation the basis names: the regression's or the
// intercept's. Any other basis, empty included, would need the standard deviation of blank
// readings, which nothing in the program supplies, so its limits are not calculated and no
// figure may stand for them on a screen or a signed page.
bool limitsCalculated(const std::string& basis);

// What follows a limit's label and " = " in the results window, the report and the printed
// results pages: the limit and the units of the added amount, or a note that the limit was
// not calculated.
std::string limitValueText(const std::string& basis, double limit, const std::string& addedUnits);

inline constexpr const char* kLimitNotCalculated =
    "no calculado: el estudio no tiene base de cálculo";

}  // namespace ldc
