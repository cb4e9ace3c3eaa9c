#include "study/StudyLayout.h"

#include <algorithm>

#include "study/Numbers.h"

namespace ldc {

std::string levelHeader(int level) {
    return "Nivel " + integerText(level);
}

std::string rowLabel(int level, int replicate) {
    return "Nivel " + integerText(level) + " , " + "Replica " + integerText(replicate);
}

void applyInitialContent(StudyDocument& study) {
    study.setText(StudyField::enivel, "3");
    const int k0 = parseInteger(study.text(StudyField::enivel));
    for (int i = 1; i <= k0; ++i)
        study.setCell(StudyGrid::stgnivel, i, 0, levelHeader(i));
    study.setCell(StudyGrid::stgnivel, 0, 1, kValueRowHeader);
    study.setCell(StudyGrid::stgnivel, 0, 2, kReplicateRowHeader);
}

void writeRowLabels(StudyDocument& study, int levelCount) {
    const long long rows = study.rowCount(StudyGrid::stgdatos);
    long long offset = 0;
    for (int i = 1; i <= levelCount; ++i) {
        const long long count = parseInteger(study.cell(StudyGrid::stgnivel, i, 2));
        // Only replicates that land on an existing data row get a label; a huge count
        // must not turn into a long loop of labels that go nowhere.
        const long long first = std::max(1LL, 1 - offset);
        const long long last = std::min(count, rows - 1 - offset);
        for (long long j = first; j <= last; ++j)
            study.setCell(StudyGrid::stgdatos, 0, static_cast<int>(offset + j),
                          rowLabel(i, static_cast<int>(j)));
        offset += count;
    }
}

long long sumReplicateCounts(const StudyDocument& study, int levelCount) {
    long long sum = 0;
    for (int i = 1; i <= levelCount; ++i)
        sum += parseInteger(study.cell(StudyGrid::stgnivel, i, 2));
    return sum;
}

}  // namespace ldc
