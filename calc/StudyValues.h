#pragma once

#include <cstdint>
#include <string>

#include "study/StudyDocument.h"

namespace ldc {

// The study's numbers as the calculation, the report and the printed pages read them, each
// converted when it is read. A text that does not convert raises the runtime's English
// message with a Spanish line above it saying, in the analyst's words, which value it is:
// the number of levels, a level's value or replicate count, or a row of "Captura de Datos".

std::int32_t levelCount(const StudyDocument& study);
std::int32_t replicateCount(const StudyDocument& study, int level);
long double levelValue(const StudyDocument& study, int level);
long double recoveredAmount(const StudyDocument& study, int row);

// Sum of the replicate counts of levels 1..levels: the number of results the study claims.
long long replicateTotal(const StudyDocument& study, int levels);

}  // namespace ldc
