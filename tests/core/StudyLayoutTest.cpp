#include <gtest/gtest.h>

#include "study/CalibrationStudy.h"
#include "study/StudyLayout.h"

namespace ldc {
namespace {

using G = StudyTable;

// Labels go on existing data rows only, values stay; odd counts neither loop nor reach row 0.
TEST(StudyLayout, RowLabelsFollowTheCountsWithinTheDataRows) {
    EXPECT_EQ(levelHeader(10), "Nivel 10");
    CalibrationStudy study;
    study.setRowCount(G::results, 9);
    for (const auto& [level, count] : {std::pair{1, "3"}, {2, "3"}, {3, "2"}})
        setReplicateCountText(study, level, count);
    setRecoveredAmountText(study, 4, "4.1");
    setSecondValueText(study, 4, "oculto");  // the data grid's hidden third column
    writeRowLabels(study, 3);
    EXPECT_EQ(rowLabelText(study, 6), "Nivel 2 , Replica 3");
    EXPECT_EQ(rowLabelText(study, 8), "Nivel 3 , Replica 2");
    EXPECT_EQ(recoveredAmountText(study, 4) + secondValueText(study, 4), "4.1oculto");

    study.setRowCount(G::results, 4);
    setReplicateCountText(study, 1, "-2");
    setReplicateCountText(study, 2, "2000000000");
    writeRowLabels(study, 2);
    EXPECT_EQ(rowLabelText(study, 0), "");
    EXPECT_EQ(rowLabelText(study, 3), "Nivel 2 , Replica 5");
    study.setRowCount(G::results, 0);
    EXPECT_EQ(study.rowCount(G::results), 1) << "the header row always remains";
}

}  // namespace
}  // namespace ldc
