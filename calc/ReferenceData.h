#pragma once

#include <span>
#include <string>
#include <vector>

#include "calc/SelfVerification.h"
#include "calc/ValidationStatistics.h"
#include "study/CalibrationStudy.h"

namespace ldc {

// Public data sets with certified or published results, built into the program so that a
// laboratory can show on its own machine that the program reproduces them.

// One result: the recovered amount (or signal) y at the added amount x.
struct ReferencePoint {
    long double y = 0;
    long double x = 0;
};

// NIST StRD linear regression, "Norris": 36 points.
std::span<const ReferencePoint> norrisPoints();
// NIST StRD "Pontius" load-cell data: 20 loads, each measured twice.
std::span<const ReferencePoint> pontiusPoints();
// DIN 32645's example of the calibration method: ten added amounts, one signal each.
std::span<const ReferencePoint> din32645Points();

// Points with the same added amount gathered into one level, in the order the amounts
// first appear.
std::vector<LevelResults> levelsOf(std::span<const ReferencePoint> points);

// The worked example of the help, as the study window would hold it: levels 2, 4 and 6 with
// three results each, on the given basis.
CalibrationStudy workedExampleStudy(const std::string& basis);

// Every case of the self-verification, each with its published values and their sources.
std::vector<ReferenceCase> referenceCases();

}  // namespace ldc
