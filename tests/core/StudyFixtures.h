#pragma once

#include <string>
#include <vector>

#include "study/CalibrationStudy.h"

namespace ldc::testing {

// A complete study: level values and replicate results, the grids as the window leaves them.
struct StudyOutline {
    std::vector<std::string> levelValues;
    std::vector<std::vector<std::string>> results;  // per level, one text per replicate
    std::string basis = "Regresión";
    std::string addedUnits = "mg";
    std::string recoveredUnits = "mg";
    std::vector<std::string> blanks = {};
};

CalibrationStudy makeStudy(const StudyOutline& outline);

// `levels` levels x = 1, 2, ... with `replicates` results each, for the layouts' tables.
StudyOutline uniformOutline(int levels, int replicates);

// The worked example: x = 2, 4, 6 with three replicates each (N = 9).
StudyOutline workedExample(const std::string& basis = "Regresión");

// The worked example's lines from "PENDIENTE = 0.991667" to the blank after DETERMINACIÓN.
std::vector<std::string> workedExampleRegressionLines();

}  // namespace ldc::testing
