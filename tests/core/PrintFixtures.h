#pragma once

#include <string>

#include "StudyFixtures.h"
#include "study/Numbers.h"

namespace ldc::testing {

// A study of `levels` levels x = 1, 2, ... with `replicates` results each, for the layouts'
// tables: the data rows are labelled "Nivel i , Replica j" as the study window labels them.
inline StudyOutline uniformOutline(int levels, int replicates) {
    StudyOutline outline;
    for (int i = 1; i <= levels; ++i) {
        outline.levelValues.push_back(integerText(i));
        outline.results.emplace_back();
        for (int j = 1; j <= replicates; ++j)
            outline.results.back().push_back(integerText(i) + "." + integerText(j % 10));
    }
    return outline;
}

}  // namespace ldc::testing
