#include "calc/LimitText.h"

#include "calc/FormatGeneral.h"
#include "study/StudyDocument.h"

namespace ldc {

bool limitsCalculated(const std::string& basis) {
    return basis == kBasisRegression || basis == kBasisIntercept;
}

bool limitsCalculated(const std::string& basis, const CalibrationResults& results) {
    return limitsCalculated(basis) || results.blankCount >= 2;
}

std::string limitValueText(const std::string& basis, const CalibrationResults& results,
                           double limit, const std::string& addedUnits) {
    if (!limitsCalculated(basis, results))
        return kLimitNotCalculated;
    return formatGeneral(limit) + " " + addedUnits;
}

}  // namespace ldc
