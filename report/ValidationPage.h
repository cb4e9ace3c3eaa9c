#pragma once

#include "calc/ValidationContent.h"
#include "report/DrawingSurface.h"
#include "study/StudyDocument.h"

// The printed validation page: the study's identity as on the general page, the parameters,
// the calibration and residual plots, the tables with the approach of every limit, and the
// reasons for any figure that could not be computed. One document, continued over further
// pages (each with the header and the program's mark) as far as the tables need.
namespace ldc {

// Drawn for the laser layout's 600 dpi grid, whose header it shares.
inline constexpr int kValidationLayoutResolution = 600;
inline constexpr const char* kValidationTitle = "Validación estadística";

// Reads the study first: a value that does not convert raises its error before any document
// begins.
void printValidationPage(DrawingSurface& surface, const StudyDocument& study,
                         const ValidationParameters& parameters);

// From values already read (the validation window's). A composition that stops on an error
// is abandoned and the error goes on to the caller.
void printValidationPage(DrawingSurface& surface, const ValidationInputs& inputs,
                         const ValidationParameters& parameters);

}  // namespace ldc
