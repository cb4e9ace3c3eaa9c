#include <gtest/gtest.h>

#include "study/CalibrationStudy.h"
#include "study/LdcError.h"
#include "study/StudyLayout.h"

namespace ldc {
namespace {

using G = StudyGrid;

TEST(CalibrationStudy, StartsWithTheInitialContent) {
    CalibrationStudy study;
    EXPECT_EQ(study.text(StudyField::enivel), "3");
    EXPECT_EQ(study.text(StudyField::emetodo), "");
    EXPECT_EQ(study.text(StudyField::ComboBox1), "");
    EXPECT_EQ(study.columnCount(G::stgnivel), 4);
    EXPECT_EQ(study.rowCount(G::stgnivel), 3);
    EXPECT_EQ(study.columnCount(G::stgdatos), 2);
    EXPECT_EQ(study.rowCount(G::stgdatos), 10);
    EXPECT_EQ(study.cell(G::stgnivel, 0, 0), "");
    EXPECT_EQ(study.cell(G::stgnivel, 1, 0), "Nivel 1");
    EXPECT_EQ(study.cell(G::stgnivel, 3, 0), "Nivel 3");
    EXPECT_EQ(study.cell(G::stgnivel, 0, 1), "Valor >>");
    EXPECT_EQ(study.cell(G::stgnivel, 0, 2), "Replicación >>");
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(study.cell(G::stgdatos, 0, r), "");
    EXPECT_EQ(study.caption(), "Nuevo");
}

TEST(CalibrationStudy, DataGridHoldsAHiddenThirdColumnAndIgnoresCellsOutside) {
    CalibrationStudy study;
    study.setCell(G::stgdatos, 2, 4, "oculto");
    EXPECT_EQ(study.cell(G::stgdatos, 2, 4), "oculto");
    study.setCell(G::stgdatos, 1, 10, "fuera");
    EXPECT_EQ(study.cell(G::stgdatos, 1, 10), "");
    study.setCell(G::stgnivel, 4, 1, "fuera");
    EXPECT_EQ(study.cell(G::stgnivel, 4, 1), "");
    EXPECT_EQ(study.cell(G::stgnivel, -1, 1), "");
}

TEST(CalibrationStudy, ResizingKeepsTheCellsThatRemain) {
    CalibrationStudy study;
    study.setCell(G::stgnivel, 2, 1, "4");
    study.setCell(G::stgnivel, 3, 1, "6");
    study.setColumnCount(G::stgnivel, 3);
    EXPECT_EQ(study.cell(G::stgnivel, 2, 1), "4");
    study.setColumnCount(G::stgnivel, 4);
    EXPECT_EQ(study.cell(G::stgnivel, 3, 1), "") << "a removed column comes back empty";

    study.setCell(G::stgdatos, 1, 2, "2.1");
    study.setRowCount(G::stgdatos, 0);
    EXPECT_EQ(study.rowCount(G::stgdatos), 1) << "the header row always remains";
    study.setRowCount(G::stgdatos, 5);
    EXPECT_EQ(study.cell(G::stgdatos, 1, 2), "");
}

TEST(StudyLayout, LabelsWithoutLeadingZeros) {
    EXPECT_EQ(levelHeader(10), "Nivel 10");
    EXPECT_EQ(rowLabel(2, 3), "Nivel 2 , Replica 3");
}

TEST(StudyLayout, RowLabelsFollowTheReplicateCountsAndLeaveValuesAlone) {
    CalibrationStudy study;
    study.setRowCount(G::stgdatos, 9);
    study.setCell(G::stgnivel, 1, 2, "3");
    study.setCell(G::stgnivel, 2, 2, "3");
    study.setCell(G::stgnivel, 3, 2, "2");
    study.setCell(G::stgdatos, 1, 4, "4.1");
    writeRowLabels(study, 3);
    EXPECT_EQ(study.cell(G::stgdatos, 0, 1), "Nivel 1 , Replica 1");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 4), "Nivel 2 , Replica 1");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 6), "Nivel 2 , Replica 3");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 8), "Nivel 3 , Replica 2");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 0), "");
    EXPECT_EQ(study.cell(G::stgdatos, 1, 4), "4.1");
    EXPECT_EQ(sumReplicateCounts(study, 3), 8);
}

TEST(StudyLayout, RowLabelsNeverLeaveTheDataRows) {
    CalibrationStudy study;
    study.setRowCount(G::stgdatos, 4);
    study.setCell(G::stgnivel, 1, 2, "-2");
    study.setCell(G::stgnivel, 2, 2, "2000000000");
    writeRowLabels(study, 2);  // must neither loop for long nor touch the header row
    EXPECT_EQ(study.cell(G::stgdatos, 0, 0), "");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 1), "Nivel 2 , Replica 3");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 3), "Nivel 2 , Replica 5");
}

TEST(StudyLayout, ANonWholeReplicateCountRaisesTheConversionError) {
    CalibrationStudy study;
    study.setCell(G::stgnivel, 1, 2, "2.5");
    try {
        writeRowLabels(study, 1);
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "'2.5' is not a valid integer value");
    }
}

}  // namespace
}  // namespace ldc
