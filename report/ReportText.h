#pragma once

#include "calc/Ucalculo.h"
#include "study/LineSink.h"
#include "study/StudyDocument.h"

namespace ldc {

// The report of the study: general information, level table and every replicate result,
// then a fresh calculation into `results` and the statistics. Lines go to the sink as
// they are made, so a failing conversion or calculation leaves the lines before it.
void writeReport(const StudyDocument& study, CalibrationResults& results, LineSink& sink);

}  // namespace ldc
