#include "calc/Ucalculo.h"

#include <cstdint>
#include <optional>

#include "calc/FloatChecks.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

using F = StudyField;
using G = StudyGrid;
using X = long double;  // every intermediate is extended precision

// Extended value nearest to 3.3, as the limit of detection's factor.
constexpr X kDetectionFactor = 3.3L;
constexpr X kQuantificationFactor = 10.0L;

// The calculation's unit-level variables, kept between calculations.
CalibrationWork g_work;

// Row and result counters are 32-bit and wrap as the runtime's integers do, instead of
// overflowing (undefined in C++) on absurd replicate counts.
std::int32_t wrappingAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

void readStudy(const StudyDocument& study) {
    CalibrationWork& w = g_work;
    const int k = parseInteger(study.text(F::enivel));
    for (int i = 1; i <= k; ++i) {
        const int n = parseInteger(study.cell(G::stgnivel, i, 2));
        // Every replicate of a level reads the same level value. It is converted at the
        // level's first result, where a bad one stops the calculation, and reused: the
        // outcome is the same and a large study is read twice as fast.
        std::optional<X> levelValue;
        for (int j = 1; j <= n; ++j) {
            const int r = wrappingAdd(w.rowOffset, j);
            const X y = parseDecimal(study.cell(G::stgdatos, 1, r));
            w.sumY = storeDouble(w.sumY + y);
            w.sumY2 = storeDouble(w.sumY2 + y * y);
            if (!levelValue)
                levelValue = parseDecimal(study.cell(G::stgnivel, i, 1));
            const X x = *levelValue;
            w.sumX = storeDouble(w.sumX + x);
            w.sumX2 = storeDouble(w.sumX2 + x * x);
            w.sumXY = storeDouble(w.sumXY + x * y);
        }
        w.rowOffset = wrappingAdd(w.rowOffset, parseInteger(study.cell(G::stgnivel, i, 2)));
    }
    const int kAgain = parseInteger(study.text(F::enivel));
    for (int i = 1; i <= kAgain; ++i)
        w.observationCount =
            wrappingAdd(w.observationCount, parseInteger(study.cell(G::stgnivel, i, 2)));
    w.limitBasis = study.text(F::ComboBox1);
    FillStudentTTable(w.studentT);
}

}  // namespace

void ClearAccumulators() {
    g_work.rowOffset = 0;
    g_work.observationCount = 0;
    g_work.sumX = g_work.sumX2 = g_work.sumY = g_work.sumY2 = g_work.sumXY = 0;
    g_work.meanX = 0;
}

const CalibrationWork& calibrationWork() { return g_work; }

void ComputeCalibration(const StudyDocument& study, CalibrationResults& results) {
    ClearAccumulators();
    readStudy(study);

    CalibrationWork& w = g_work;
    CalibrationResults& r = results;
    const X n = w.observationCount;
    const X sumX = w.sumX, sumX2 = w.sumX2, sumY = w.sumY, sumY2 = w.sumY2, sumXY = w.sumXY;

    r.slope = storeDouble(checkedDivide(n * sumXY - sumX * sumY, n * sumX2 - sumX * sumX));
    const X slope = r.slope;
    const double a = storeDouble(checkedDivide(sumY - slope * sumX, n));
    w.residualSumOfSquares = storeDouble((sumY2 - slope * sumXY) - X(a) * sumY);
    const std::int32_t df = wrappingAdd(w.observationCount, -2);
    w.degreesOfFreedom = df;
    w.residualVariance = storeDouble(checkedDivide(w.residualSumOfSquares, w.degreesOfFreedom));
    r.residualStdDev = storeDouble(checkedSqrt(w.residualVariance));
    const X s = r.residualStdDev;
    w.sxx = storeDouble(sumX2 - checkedDivide(sumX * sumX, n));
    w.slopeStdDev = storeDouble(checkedDivide(s, checkedSqrt(w.sxx)));

    // With fewer than three results an earlier step has already failed for any exact
    // arithmetic; rounding of x·x can still let a single result through, and the table
    // has no entry for it.
    if (df < 1)
        throw Error("Invalid floating point operation");
    const X t = studentT(w.studentT, df);
    r.slopeUpper = storeDouble(t * w.slopeStdDev + slope);
    r.slopeLower = storeDouble(slope - t * w.slopeStdDev);

    r.variationCoefficient = storeDouble(checkedDivide(s * 100 * n, sumY));
    const X covariance = n * sumXY - sumX * sumY;
    r.determinationCoefficient = storeDouble(checkedDivide(
        covariance * covariance, (n * sumX2 - sumX * sumX) * (n * sumY2 - sumY * sumY)));

    w.regressionDetectionLimit = storeDouble(checkedDivide(kDetectionFactor * s, slope));
    w.regressionQuantificationLimit = storeDouble(checkedDivide(kQuantificationFactor * s, slope));

    w.meanX = storeDouble(checkedDivide(sumX, n));
    const X meanX = w.meanX;
    r.interceptStdDev = storeDouble(
        checkedSqrt(checkedDivide(meanX * meanX, sumX2 - checkedDivide(sumX * sumX, n)) +
                    checkedDivide(1, n)) *
        s);
    const X interceptStdDev = r.interceptStdDev;
    r.intercept = storeDouble(checkedDivide(sumY - slope * sumX, n));
    r.interceptUpper = storeDouble(t * interceptStdDev + X(r.intercept));
    r.interceptLower = storeDouble(X(r.intercept) - t * interceptStdDev);

    w.interceptDetectionLimit = storeDouble(checkedDivide(kDetectionFactor * interceptStdDev, slope));
    w.interceptQuantificationLimit =
        storeDouble(checkedDivide(kQuantificationFactor * interceptStdDev, slope));

    if (w.limitBasis == kBasisRegression) {
        r.detectionLimit = w.regressionDetectionLimit;
        r.quantificationLimit = w.regressionQuantificationLimit;
    } else if (w.limitBasis == kBasisIntercept) {
        r.detectionLimit = w.interceptDetectionLimit;
        r.quantificationLimit = w.interceptQuantificationLimit;
    } else {
        // No basis chosen (or one the program does not know): the limits come from the
        // blank standard deviation, never from whatever an earlier study left here.
        const X blank = r.blankStdDev;
        w.blankDetectionLimit = storeDouble(checkedDivide(kDetectionFactor * blank, slope));
        w.blankQuantificationLimit = storeDouble(checkedDivide(kQuantificationFactor * blank, slope));
        r.detectionLimit = w.blankDetectionLimit;
        r.quantificationLimit = w.blankQuantificationLimit;
    }
}

}  // namespace ldc
