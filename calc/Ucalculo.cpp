#include "calc/Ucalculo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "calc/BlankReadings.h"
#include "calc/FloatChecks.h"
#include "calc/LimitText.h"
#include "calc/StudyValues.h"
#include "study/LdcError.h"

namespace ldc {
namespace {

using F = StudyField;
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

// What the reading learns beyond the sums about a study without a line to fit.
struct Reading {
    bool levelsEqual = true;  // every result present at the same level value (none: vacuously)
    long long results = 0;    // results summed
};

// A result's share of the running sums: first what its recovered amount y adds, then what
// its level value x adds.
void addRecoveredAmount(CalibrationWork& w, X y) {
    w.sumY = storeDouble(w.sumY + y);
    w.sumY2 = storeDouble(w.sumY2 + y * y);
}
void addLevelValue(CalibrationWork& w, X x, X y) {
    w.sumX = storeDouble(w.sumX + x);
    w.sumX2 = storeDouble(w.sumX2 + x * x);
    w.sumXY = storeDouble(w.sumXY + x * y);
}

Reading readStudy(const StudyDocument& study) {
    CalibrationWork& w = g_work;
    Reading reading;
    std::optional<X> firstLevelValue;
    // Each replicate count is converted once: the texts do not change while the study is
    // read, so every later reading would give the same count.
    std::int32_t observations = 0;
    const int k = levelCount(study);
    for (int i = 1; i <= k; ++i) {
        const int n = replicateCount(study, i);
        // Every replicate of a level reads the same level value. It is converted after the
        // level's first recovered amount, where a bad one stops the calculation, and reused:
        // the outcome is the same and a large study is read twice as fast. The later
        // replicates then add up without a conversion between their recovered amount and
        // their sums.
        if (n >= 1) {
            X y = recoveredAmount(study, wrappingAdd(w.rowOffset, 1));
            addRecoveredAmount(w, y);
            const X x = levelValue(study, i);
            addLevelValue(w, x, y);
            for (int j = 2; j <= n; ++j) {
                y = recoveredAmount(study, wrappingAdd(w.rowOffset, j));
                addRecoveredAmount(w, y);
                addLevelValue(w, x, y);
            }
            if (!firstLevelValue)
                firstLevelValue = x;
            reading.levelsEqual = reading.levelsEqual && x == *firstLevelValue;
            reading.results += n;
        }
        w.rowOffset = wrappingAdd(w.rowOffset, n);
        observations = wrappingAdd(observations, n);
    }
    w.observationCount = wrappingAdd(w.observationCount, observations);
    w.limitBasis = study.text(F::limitBasis);
    FillStudentTTable(w.studentT);
    return reading;
}

// Magnitudes of the terms of the running sums, which bound how far the slope's numerator
// can stray from the value exact arithmetic gives.
struct Magnitudes {
    long long results = 0;
    X absX = 0, absY = 0, absXY = 0;  // Σ|x|, Σ|y|, Σ|x·y|
};

// Whether the slope's numerator N·Σxy − Σx·Σy, as computed from the stored sums, lies
// within the rounding error of its own computation, so that the converted values may make
// it exactly zero (as every study with the same results at every level does). Each stored
// sum of n terms strays at most (n + 1)·u·Σ|term| from its exact value (u the double's
// unit roundoff, widened a little for the extended rounding of each term and addition);
// the three extended operations of the numerator add their own roundings. The bound is
// doubled to stay rigorous without a finer analysis: a real slope exceeds it by many
// orders of magnitude.
bool withinRoundingOfZero(X numerator, X n, X sumX, X sumY, X sumXY, const Magnitudes& m) {
    constexpr X kDoubleRoundoff = std::numeric_limits<double>::epsilon() / 2;
    constexpr X kExtendedRoundoff = std::numeric_limits<X>::epsilon() / 2;
    const X sums = (m.results + 1) * kDoubleRoundoff * 1.01L;
    const X bound = sums * (std::fabs(n) * m.absXY + 2.01L * m.absX * m.absY) +
                    2 * kExtendedRoundoff * (std::fabs(n * sumXY) + std::fabs(sumX * sumY));
    return std::fabs(numerator) <= 2 * bound;
}

// Magnitudes no smaller than the true ones, from the sums of squares alone (Cauchy-Schwarz,
// widened for the sums' own rounding): enough to clear every study with a real slope
// without a second look at its values.
Magnitudes magnitudesFromSums(long long results, X sumX2, X sumY2) {
    constexpr X kWidening = 1.01L;
    return {results, std::sqrt(results * sumX2) * kWidening, std::sqrt(results * sumY2) * kWidening,
            std::sqrt(sumX2 * sumY2) * kWidening};
}

// A second look at the converted values of a study whose slope the sums cannot tell from
// zero: the exact magnitudes, and whether every recovered amount is the same.
Magnitudes measureValues(const StudyDocument& study, bool& resultsEqual) {
    Magnitudes m;
    X minY = std::numeric_limits<X>::infinity();
    X maxY = -minY;
    std::int32_t row = 0;
    const int k = levelCount(study);
    for (int i = 1; i <= k; ++i) {
        const int n = replicateCount(study, i);
        X levelAbsY = 0;
        for (int j = 1; j <= n; ++j) {
            const X y = recoveredAmount(study, wrappingAdd(row, j));
            levelAbsY += std::fabs(y);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
        if (n > 0) {
            const X absX = std::fabs(levelValue(study, i));
            m.results += n;
            m.absX += n * absX;
            m.absY += levelAbsY;
            m.absXY += absX * levelAbsY;
        }
        row = wrappingAdd(row, n);
    }
    resultsEqual = minY == maxY;
    return m;
}

// The Spanish line above an arithmetic fault of the calculation.
std::string arithmeticContext(const char* step, bool levelsEqual, bool resultsEqual, bool flat,
                              std::int32_t results) {
    if (levelsEqual)
        return "Todos los niveles tienen la misma cantidad adicionada: no hay una recta que "
               "ajustar.";
    if (resultsEqual)
        return "Todas las cantidades recuperadas son iguales: no hay una recta que ajustar.";
    if (flat)
        return "La pendiente es cero: los límites de detección y de cuantificación no se "
               "pueden calcular.";
    if (results < 3)
        return "El estudio tiene menos de tres resultados: hacen falta al menos tres para "
               "calcular la regresión.";
    return std::string("El cálculo se detuvo en ") + step + ".";
}

}  // namespace

void ClearAccumulators() {
    g_work.rowOffset = 0;
    g_work.observationCount = 0;
    g_work.sumX = g_work.sumX2 = g_work.sumY = g_work.sumY2 = g_work.sumXY = 0;
    g_work.meanX = 0;
}

const CalibrationWork& calibrationWork() {
    return g_work;
}

void ComputeCalibration(const StudyDocument& study, CalibrationResults& results) {
    ClearAccumulators();
    // Conversions say which value failed; sums too large for a double say so here.
    const Reading reading = withErrorContext(
        [&] { return readStudy(study); },
        [] {
            return std::string("El cálculo se detuvo al sumar los datos: son demasiado grandes.");
        });
    // A study with a basis never reads its blank readings: one mistyped there cannot stop
    // the limits it does not use.
    if (!limitsCalculated(g_work.limitBasis)) {
        const BlankSummary blanks = blankReadingsSummary(study);
        results.blankStdDev = blanks.stdDev;
        results.blankCount = blanks.count;
    }

    // An arithmetic fault says in English what went wrong; the line above it says, in the
    // analyst's words, what the study lacks or which figure could not be calculated.
    const char* step = "la pendiente";
    bool levelsEqual = reading.levelsEqual, resultsEqual = false, flat = false;
    try {
        CalibrationWork& w = g_work;
        CalibrationResults& r = results;
        const X n = w.observationCount;
        const X sumX = w.sumX, sumX2 = w.sumX2, sumY = w.sumY, sumY2 = w.sumY2, sumXY = w.sumXY;

        // The three studies without a line are decided from the converted values, and take
        // from there on what exact arithmetic gives them: the same level value everywhere
        // makes the slope 0/0; the same result everywhere makes the slope and the residuals
        // exactly zero, so that the determination is 0/0; any other zero slope stops at the
        // first limit. Every other study is computed exactly as it always was.
        if (levelsEqual)
            raiseInvalidOperation();
        const X covariance = n * sumXY - sumX * sumY;
        if (withinRoundingOfZero(covariance, n, sumX, sumY, sumXY,
                                 magnitudesFromSums(reading.results, sumX2, sumY2))) {
            const Magnitudes exact = measureValues(study, resultsEqual);
            flat = resultsEqual || withinRoundingOfZero(covariance, n, sumX, sumY, sumXY, exact);
        }
        const X xSpread = n * sumX2 - sumX * sumX;
        const X ySpread = resultsEqual ? 0 : n * sumY2 - sumY * sumY;

        step = "la pendiente";
        r.slope = flat ? 0.0 : storeDouble(checkedDivide(covariance, xSpread));
        const X slope = r.slope;
        step = "la ordenada al origen";
        const double a = storeDouble(checkedDivide(sumY - slope * sumX, n));
        step = "la suma de cuadrados residual";
        w.residualSumOfSquares =
            resultsEqual ? 0.0 : storeDouble((sumY2 - slope * sumXY) - X(a) * sumY);
        const std::int32_t df = wrappingAdd(w.observationCount, -2);
        w.degreesOfFreedom = df;
        step = "la varianza residual";
        w.residualVariance = storeDouble(checkedDivide(w.residualSumOfSquares, w.degreesOfFreedom));
        step = "la desviación estándar de regresión";
        r.residualStdDev = storeDouble(checkedSqrt(w.residualVariance));
        const X s = r.residualStdDev;
        step = "la desviación estándar de la pendiente";
        w.sxx = storeDouble(sumX2 - checkedDivide(sumX * sumX, n));
        w.slopeStdDev = storeDouble(checkedDivide(s, checkedSqrt(w.sxx)));

        // With fewer than three results an earlier step has already failed; replicate counts
        // that do not add up to the results read (a negative count) can still arrive here
        // with no degrees of freedom, and the table has no entry for them.
        if (df < 1)
            throw Error("Invalid floating point operation");
        const X t = studentT(w.studentT, df);
        step = "los límites de confianza de la pendiente";
        r.slopeUpper = storeDouble(t * w.slopeStdDev + slope);
        r.slopeLower = storeDouble(slope - t * w.slopeStdDev);

        step = "el coeficiente de variación";
        r.variationCoefficient = storeDouble(checkedDivide(s * 100 * n, sumY));
        step = "el coeficiente de determinación";
        const X explained = flat ? 0 : covariance;
        r.determinationCoefficient =
            storeDouble(checkedDivide(explained * explained, xSpread * ySpread));

        step = "los límites de detección y de cuantificación";
        w.regressionDetectionLimit = storeDouble(checkedDivide(kDetectionFactor * s, slope));
        w.regressionQuantificationLimit =
            storeDouble(checkedDivide(kQuantificationFactor * s, slope));

        step = "la desviación estándar de la ordenada al origen";
        w.meanX = storeDouble(checkedDivide(sumX, n));
        const X meanX = w.meanX;
        r.interceptStdDev = storeDouble(
            checkedSqrt(checkedDivide(meanX * meanX, sumX2 - checkedDivide(sumX * sumX, n)) +
                        checkedDivide(1, n)) *
            s);
        const X interceptStdDev = r.interceptStdDev;
        step = "la ordenada al origen y sus límites de confianza";
        r.intercept = storeDouble(checkedDivide(sumY - slope * sumX, n));
        r.interceptUpper = storeDouble(t * interceptStdDev + X(r.intercept));
        r.interceptLower = storeDouble(X(r.intercept) - t * interceptStdDev);

        step = "los límites de detección y de cuantificación";
        w.interceptDetectionLimit =
            storeDouble(checkedDivide(kDetectionFactor * interceptStdDev, slope));
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
            // blank readings, never from whatever an earlier study left here; with fewer than
            // two readings they are zero and shown as not calculated.
            const X blank = r.blankStdDev;
            w.blankDetectionLimit = storeDouble(checkedDivide(kDetectionFactor * blank, slope));
            w.blankQuantificationLimit =
                storeDouble(checkedDivide(kQuantificationFactor * blank, slope));
            r.detectionLimit = w.blankDetectionLimit;
            r.quantificationLimit = w.blankQuantificationLimit;
        }
    } catch (const Error& e) {
        if (!e.context().empty())
            throw;
        throw Error(e.message(), arithmeticContext(step, levelsEqual, resultsEqual, flat,
                                                   g_work.observationCount));
    }
}

}  // namespace ldc
