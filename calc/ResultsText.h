#pragma once

#include <string>

#include "calc/Ucalculo.h"
#include "study/LineSink.h"

namespace ldc {

// The statistics of the fitted line, the same in the results window and the report: slope
// and intercept with their confidence limits, the standard deviation of the regression and
// the coefficients of variation and determination, each group closed by an empty line.
void writeRegressionLines(const CalibrationResults& results, LineSink& sink);

// The lines of the results window for a finished calculation: the basis text as it was
// when the command started, the record, and the units of the added amount.
void writeResultsLines(const std::string& basis, const CalibrationResults& results,
                       const std::string& addedUnits, LineSink& sink);

// The whole results command on a study: takes the basis, calculates into `results`,
// then writes the lines. A failing calculation writes nothing.
void calculateResults(const StudyDocument& study, CalibrationResults& results, LineSink& sink);

}  // namespace ldc
