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

std::string blankLabel(int reading) {
    return "Blanco " + integerText(reading);
}

void applyInitialContent(StudyDocument& study) {
    study.setText(StudyField::levelCount, "3");
    const int k0 = parseInteger(study.text(StudyField::levelCount));
    for (int i = 1; i <= k0; ++i)
        setLevelHeaderText(study, i, levelHeader(i));
    study.setCell(StudyTable::levels, 0, 1, kValueRowHeader);
    study.setCell(StudyTable::levels, 0, 2, kReplicateRowHeader);
}

void writeRowLabels(StudyDocument& study, int levelCount) {
    const long long rows = resultRows(study);
    long long offset = 0;
    for (int i = 1; i <= levelCount; ++i) {
        const long long count = parseInteger(replicateCountText(study, i));
        // Only replicates that land on an existing results row get a label; a huge count
        // must not turn into a long loop of labels that go nowhere.
        const long long first = std::max(1LL, 1 - offset);
        const long long last = std::min(count, rows - offset);
        for (long long j = first; j <= last; ++j)
            setRowLabelText(study, static_cast<int>(offset + j), rowLabel(i, static_cast<int>(j)));
        offset += count;
    }
}

long long sumReplicateCounts(const StudyDocument& study, int levelCount) {
    long long sum = 0;
    for (int i = 1; i <= levelCount; ++i)
        sum += parseInteger(replicateCountText(study, i));
    return sum;
}

}  // namespace ldc
