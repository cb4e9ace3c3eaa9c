#pragma once

#include <string>

#include "calc/StudentTTable.h"
#include "study/StudyDocument.h"

namespace ldc {

// The outcome of one calculation. Plain record; a field keeps what the last calculation
// that reached it wrote (zeros before the first).
struct CalibrationResults {
    // The sample standard deviation of the study's blank readings and their count, read
    // only for a study whose basis names neither standard deviation of the regression: its
    // limits stand on the blanks, from two readings on.
    double blankStdDev = 0;
    int blankCount = 0;
    double slope = 0;
    double slopeUpper = 0;
    double slopeLower = 0;
    double residualStdDev = 0;
    double variationCoefficient = 0;
    double determinationCoefficient = 0;
    double detectionLimit = 0;
    double quantificationLimit = 0;
    double interceptStdDev = 0;
    double intercept = 0;
    double interceptUpper = 0;
    double interceptLower = 0;
};

// The calculation's working quantities, kept from one calculation to the next.
struct CalibrationWork {
    int rowOffset = 0;
    int observationCount = 0;
    double sumX = 0, sumX2 = 0, sumY = 0, sumY2 = 0, sumXY = 0;
    double meanX = 0;
    double residualSumOfSquares = 0;
    double degreesOfFreedom = 0;
    double residualVariance = 0;
    double sxx = 0;
    double slopeStdDev = 0;
    double regressionDetectionLimit = 0, regressionQuantificationLimit = 0;
    double interceptDetectionLimit = 0, interceptQuantificationLimit = 0;
    double blankDetectionLimit = 0, blankQuantificationLimit = 0;
    std::string limitBasis;
    StudentTTable studentT{};
};

// Least-squares line y = a + b·x through every replicate result of the study, its 95 %
// confidence limits, and the limits of detection (3.3·s/b) and quantification (10·s/b).
// Reads the study's texts, converting each when it is read; raises ldc::Error with the
// runtime's conversion or floating point message at the first failing step, leaving the
// fields written before it with their new values. A conversion error says in its context
// which value failed, a blank reading included. Studies without a line to fit (every result at one
// level value, every recovered amount equal, a slope of zero) are recognised from the converted
// values and stop where the same study typed in whole numbers does.
void ComputeCalibration(const StudyDocument& study, CalibrationResults& results);

void ClearAccumulators();

// The working quantities of the last calculation (slopeStdDev, sums, ...).
const CalibrationWork& calibrationWork();

}  // namespace ldc
