#pragma once

#include <optional>
#include <string>
#include <vector>

#include "study/StudyDocument.h"

namespace ldc {

// The evidence a method validation shows beside the detection and quantification limits:
// the limits by every accepted approach, how the results deviate from the line, and the
// recovery. Every figure uses exact Student t and Fisher F quantiles. A figure that cannot
// be computed is empty, and the reason is one of the warnings, in the analyst's words.

struct ValidationParameters {
    double alpha = 0.01;  // error probability of the decision (first kind)
    double beta = 0.01;   // error probability of the detection (second kind)
    double k = 3;         // reciprocal of the relative uncertainty of the quantification limit
    double m = 1;         // replicate measurements of a sample
};

// Replicate readings of blanks, in the units of the recovered amount.
struct BlankSummary {
    double stdDev = 0;
    int count = 0;
};

// One level as the data grid holds it: the amount added and the recovered amounts.
struct LevelResults {
    long double added = 0;
    std::vector<long double> recovered;
};

struct LimitPair {
    std::optional<double> detection, quantification;
};

// The calibration method's limits as DIN 32645 (ISO 11843) defines them.
struct CalibrationMethodLimits {
    std::optional<double> criticalSignal;  // y_c
    std::optional<double> decision;        // x_NG
    std::optional<double> detection;       // x_EG
    std::optional<double> quantification;  // x_BG
};

struct LackOfFitTest {
    double f = 0;
    int numeratorDf = 0, denominatorDf = 0;
    double p = 0;
    double critical99 = 0;  // F(k − 2, N − k) at 99 %
};

// Mandel's test of the straight line against a quadratic.
struct MandelTest {
    double pw = 0;
    double critical99 = 0;  // F(1, N − 3) at 99 %
    double p = 0;
    double quadraticResidualStdDev = 0;
};

struct Interval {
    double lower = 0, upper = 0;
};

struct LevelRecovery {
    double added = 0;
    int count = 0;
    std::optional<double> mean, recoveryPct, rsdPct;
};

struct ValidationStatistics {
    int results = 0;  // N
    int levels = 0;   // distinct added amounts with results
    std::vector<std::string> warnings;

    std::optional<double> slope, intercept, residualStdDev, slopeStdDev, interceptStdDev;
    std::optional<double> determination;  // R²

    LimitPair ichRegression, ichIntercept;
    std::optional<LimitPair> ichBlank;
    CalibrationMethodLimits din32645;

    std::optional<LackOfFitTest> lackOfFit;
    std::optional<MandelTest> mandel;
    std::vector<double> residuals;  // data-grid order
    std::vector<std::optional<double>> relativeErrorPct;

    std::optional<Interval> slopeCi95, interceptCi95;
    std::optional<bool> slopeIncludesOne, interceptIncludesZero;
    std::vector<LevelRecovery> perLevel;
};

ValidationStatistics computeValidationStatistics(const std::vector<LevelResults>& levels,
                                                 const ValidationParameters& parameters = {},
                                                 std::optional<BlankSummary> blanks = {});

// The study's converted values, read as the calculation reads them; a value that does not
// convert raises ldc::Error with the calculation's context line.
std::vector<LevelResults> studyLevelResults(const StudyDocument& study);

// The study's blank readings, when it holds at least two that convert; a reading that does
// not convert raises ldc::Error naming it.
std::optional<BlankSummary> studyBlankSummary(const StudyDocument& study);

}  // namespace ldc
