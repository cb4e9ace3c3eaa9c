#pragma once

#include <string>

#include "study/CalibrationStudy.h"
#include "study/StudyLayout.h"

namespace ldc::bench {

// A study of `results` replicate results spread over up to ten levels, the recovered
// amounts scattered around y = x as an analyst would type them, or (flat) the same
// amounts at every level, a line of slope zero the calculation refuses.
inline CalibrationStudy studyOf(int results, bool flat = false) {
    const int levels = results < 10 ? 3 : 10;
    CalibrationStudy study;
    study.setText(StudyField::addedUnits, "mg");
    study.setText(StudyField::recoveredUnits, "mg");
    study.setText(StudyField::limitBasis, kBasisRegression);
    study.setText(StudyField::levelCount, std::to_string(levels));
    study.setColumnCount(StudyTable::levels, levels + 1);
    study.setRowCount(StudyTable::results, results + 1);
    int row = 1;
    for (int i = 1; i <= levels; ++i) {
        const int count = results / levels + (i <= results % levels ? 1 : 0);
        setLevelValueText(study, i, std::to_string(2 * i));
        setReplicateCountText(study, i, std::to_string(count));
        for (int j = 0; j < count; ++j, ++row)
            study.setCell(StudyTable::results, 1, row,
                          std::to_string(flat ? 2 : 2 * i) + "." +
                              std::to_string(100 + (flat ? j % 7 : row % 97)));
    }
    writeRowLabels(study, levels);
    return study;
}

}  // namespace ldc::bench
