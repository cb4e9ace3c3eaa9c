#pragma once

#include "calc/ValidationStatistics.h"
#include "study/StudyDocument.h"

namespace ldc {

// The study's blank readings, converted as the data are: their count and, from two
// readings on, their sample standard deviation (zero below two). A reading that does not
// convert raises the conversion error with a context naming it; readings too large to
// square raise the floating point error.
BlankSummary blankReadingsSummary(const StudyDocument& study);

}  // namespace ldc
