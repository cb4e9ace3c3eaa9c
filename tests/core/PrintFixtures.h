#pragma once

#include <string>

#include "StudyFixtures.h"
#include "study/Numbers.h"

namespace ldc::testing {

// A study of `levels` levels x = 1, 2, ... with `replicates` results each, for the layouts'
// tables: the data rows are labelled "Nivel i , Replica j" as the study window labels them.
inline StudySpec uniformSpec(int levels, int replicates) {
    StudySpec spec;
    for (int i = 1; i <= levels; ++i) {
        spec.levelValues.push_back(integerText(i));
        spec.results.emplace_back();
        for (int j = 1; j <= replicates; ++j)
            spec.results.back().push_back(integerText(i) + "." + integerText(j % 10));
    }
    return spec;
}

}  // namespace ldc::testing
