#include "calc/LimitText.h"

#include "calc/FormatGeneral.h"
#include "study/StudyDocument.h"

namespace ldc {

bool limitsCalculated(const std::string& basis) {
    return basis == kBasisRegression || basis == kBasisIntercept;
}

std::string limitValueText(const std::string& basis, double limit, const std::string& addedUnits) {
    if (!limitsCalculated(basis))
        return kLimitNotCalculated;
    return formatGeneral(limit) + " " + addedUnits;
}

}  // namespace ldc
