#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calc/CalibrationPlot.h"
#include "calc/ValidationStatistics.h"
#include "study/StudyDocument.h"

namespace ldc {

// Everything the validation window and the printed validation page show, computed once from
// the study's values and the parameters, in the analyst's Spanish.

// The study's identity as the general page prints it.
struct StudyIdentity {
    std::string method, analyst, date, addedUnits, recoveredUnits;
};

// The study's values taken once: the window keeps them, so that changing the parameters
// recomputes from the same values however the study is edited meanwhile.
struct ValidationInputs {
    StudyIdentity identity;
    std::vector<LevelResults> levels;
    std::optional<BlankSummary> blanks;
    std::vector<std::string> blankReadings;  // as typed
    std::vector<std::string> resultLabels;   // the data grid's row labels, one per result
};

// Reads the study; a value that does not convert raises ldc::Error naming it.
ValidationInputs validationInputs(const StudyDocument& study);

// A table as the window and the page show it: a title, headings and rows of texts.
struct ValidationTable {
    std::string title;
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
};

struct ValidationContent {
    ValidationStatistics statistics;
    CalibrationPlot calibration;
    ResidualPlot residuals;
    // The limits by approach, the linearity tests, the recovery intervals, the recovery per
    // level and the residuals per result, in that order.
    std::vector<ValidationTable> tables;
    // Why a figure could not be computed.
    std::vector<std::string> warnings;
};

ValidationContent validationContent(const ValidationInputs& inputs,
                                    const ValidationParameters& parameters);

// "Parámetros: α = 0.01; β = 0.01; k = 3; m = 1".
std::string parametersText(const ValidationParameters& parameters);
// "Cantidad adicionada (mg)", "Cantidad recuperada (mg)", "Residuo (mg)".
std::string addedAxisTitle(const StudyIdentity& identity);
std::string recoveredAxisTitle(const StudyIdentity& identity);
std::string residualAxisTitle(const StudyIdentity& identity);

}  // namespace ldc
