#include <gtest/gtest.h>

#include "study/CalibrationStudy.h"
#include "study/StudyLayout.h"

namespace ldc {
namespace {

using G = StudyGrid;

TEST(CalibrationStudy, InitialContentAndTheGridsBounds) {
    CalibrationStudy study;
    EXPECT_EQ(study.caption(), "Nuevo");
    EXPECT_EQ(study.text(StudyField::enivel), "3");
    EXPECT_EQ(study.columnCount(G::stgnivel), 4);
    EXPECT_EQ(study.rowCount(G::stgnivel), 3);
    EXPECT_EQ(study.columnCount(G::stgdatos), 2);
    EXPECT_EQ(study.rowCount(G::stgdatos), 10);
    EXPECT_EQ(study.cell(G::stgnivel, 1, 0), "Nivel 1");
    EXPECT_EQ(study.cell(G::stgnivel, 3, 0), "Nivel 3");
    EXPECT_EQ(study.cell(G::stgnivel, 0, 1), "Valor >>");
    EXPECT_EQ(study.cell(G::stgnivel, 0, 2), "Replicación >>");

    study.setCell(G::stgdatos, 2, 4, "oculto");  // the data grid's hidden third column
    EXPECT_EQ(study.cell(G::stgdatos, 2, 4), "oculto");
    study.setCell(G::stgdatos, 1, 10, "fuera");
    EXPECT_EQ(study.cell(G::stgdatos, 1, 10), "");
    EXPECT_EQ(study.cell(G::stgnivel, -1, 1), "");
    study.setRowCount(G::stgdatos, 0);
    EXPECT_EQ(study.rowCount(G::stgdatos), 1) << "the header row always remains";
}

// Labels go level by level on the data rows that exist, never on the header row, and leave
// the values where they are.
TEST(StudyLayout, RowLabelsFollowTheCountsWithinTheDataRows) {
    EXPECT_EQ(levelHeader(10), "Nivel 10");
    CalibrationStudy study;
    study.setRowCount(G::stgdatos, 9);
    study.setCell(G::stgnivel, 1, 2, "3");
    study.setCell(G::stgnivel, 2, 2, "3");
    study.setCell(G::stgnivel, 3, 2, "2");
    study.setCell(G::stgdatos, 1, 4, "4.1");
    writeRowLabels(study, 3);
    EXPECT_EQ(study.cell(G::stgdatos, 0, 1), "Nivel 1 , Replica 1");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 6), "Nivel 2 , Replica 3");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 8), "Nivel 3 , Replica 2");
    EXPECT_EQ(study.cell(G::stgdatos, 1, 4), "4.1");
    EXPECT_EQ(sumReplicateCounts(study, 3), 8);

    study.setRowCount(G::stgdatos, 4);
    study.setCell(G::stgnivel, 1, 2, "-2");
    study.setCell(G::stgnivel, 2, 2, "2000000000");
    writeRowLabels(study, 2);  // must neither loop for long nor touch the header row
    EXPECT_EQ(study.cell(G::stgdatos, 0, 0), "");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 1), "Nivel 2 , Replica 3");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 3), "Nivel 2 , Replica 5");
}

}  // namespace
}  // namespace ldc
