#pragma once

#include <string>

#include "study/StudyDocument.h"

namespace ldc {

// Fixed texts of the tables' headers.
inline constexpr const char* kValueRowHeader = "Valor >>";
inline constexpr const char* kReplicateRowHeader = "Replicación >>";

// "Nivel 2": header of level 2 in the level table.
std::string levelHeader(int level);
// "Nivel 2 , Replica 3": label of replicate 3 of level 2 in the results table.
std::string rowLabel(int level, int replicate);

// "Blanco 2": label of the second blank reading.
std::string blankLabel(int reading);

// Headers of a newly created study window: "Nivel i" for i = 1..k of the level-count
// text (initially "3") and the two row headers.
void applyInitialContent(StudyDocument& study);

// Labels the data rows level by level from the replicate counts of levels 1..levelCount,
// converting each count as it goes (a count that is not a whole number raises the
// conversion error). Labels go only on data rows that exist (1 .. rowCount-1); the values
// in columns 1 and 2 are never touched, so changing a count moves labels, not values.
void writeRowLabels(StudyDocument& study, int levelCount);

// Sum of the whole-number values of the replicate counts of levels 1..levelCount.
long long sumReplicateCounts(const StudyDocument& study, int levelCount);

}  // namespace ldc
