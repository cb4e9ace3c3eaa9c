#include <gtest/gtest.h>

#include "study/CalibrationStudy.h"
#include "study/StudyLayout.h"

namespace ldc {
namespace {

using G = StudyGrid;

// Labels go on existing data rows only, values stay; odd counts neither loop nor reach row 0.
TEST(StudyLayout, RowLabelsFollowTheCountsWithinTheDataRows) {
    EXPECT_EQ(levelHeader(10), "Nivel 10");
    CalibrationStudy study;
    study.setRowCount(G::stgdatos, 9);
    for (const auto& [level, count] : {std::pair{1, "3"}, {2, "3"}, {3, "2"}})
        study.setCell(G::stgnivel, level, 2, count);
    study.setCell(G::stgdatos, 1, 4, "4.1");
    study.setCell(G::stgdatos, 2, 4, "oculto");  // the data grid's hidden third column
    writeRowLabels(study, 3);
    EXPECT_EQ(study.cell(G::stgdatos, 0, 6), "Nivel 2 , Replica 3");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 8), "Nivel 3 , Replica 2");
    EXPECT_EQ(study.cell(G::stgdatos, 1, 4) + study.cell(G::stgdatos, 2, 4), "4.1oculto");

    study.setRowCount(G::stgdatos, 4);
    study.setCell(G::stgnivel, 1, 2, "-2");
    study.setCell(G::stgnivel, 2, 2, "2000000000");
    writeRowLabels(study, 2);
    EXPECT_EQ(study.cell(G::stgdatos, 0, 0), "");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 3), "Nivel 2 , Replica 5");
    study.setRowCount(G::stgdatos, 0);
    EXPECT_EQ(study.rowCount(G::stgdatos), 1) << "the header row always remains";
}

}  // namespace
}  // namespace ldc
