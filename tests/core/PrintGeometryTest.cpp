#include <gtest/gtest.h>

#include "PrintFixtures.h"
#include "StudyFixtures.h"
#include "report/PrintGeometry.h"

namespace ldc {
namespace {

TEST(PrintGeometry, CentringTruncatesTowardZero) {
    struct Row {
        const char* name;
        int page, text, centred, right;
    } rows[] = {
        {"even difference", 4800, 864, 1968, 3936},
        {"odd difference drops the half pixel", 4801, 864, 1968, 3937},
        {"text wider than the page, odd", 801, 1728, -463, -927},
        {"text as wide as the page", 100, 100, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(centredX(row.page, row.text), row.centred);
        EXPECT_EQ(rightAlignedX(row.page, row.text), row.right);
    }
}

TEST(PrintGeometry, MarginChoiceGivesTheMarginFactor) {
    EXPECT_EQ(deskJetMarginFactor(0), 1);
    EXPECT_EQ(deskJetMarginFactor(1), 3);
    EXPECT_EQ(deskJetMarginFactor(2), 5);
    EXPECT_EQ(deskJetMarginFactor(-1), 3);  // no choice: the initial one
}

TEST(PrintGeometry, LevelTableBlocksAndTheGridsEnd) {
    struct Row {
        const char* name;
        int levels, lastGridColumn;
        std::size_t cells;
        int nextLine;
    } rows[] = {
        {"three levels", 3, 3, 12, 28},
        {"five levels, one block", 5, 5, 18, 28},
        {"six levels: label column again, then level 6", 6, 6, 24, 33},
        {"ten levels", 10, 10, 36, 33},
        {"count beyond the grid stops at its last column", 1000000, 3, 15, 33},
        {"negative count, nothing", -2, 3, 0, 28},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto places = levelTablePlaces(row.levels, row.lastGridColumn);
        EXPECT_EQ(places.size(), row.cells);
        EXPECT_EQ(levelTableNextLine(row.levels), row.nextLine);
        for (const LevelCellPlace& p : places)
            EXPECT_EQ(p.line, (p.secondBlock ? 30 : 25) + p.row);
    }
}

TEST(PrintGeometry, DataListEndsAtTheGridsLastRow) {
    using testing::makeStudy;
    CalibrationStudy study = makeStudy(testing::workedExample());
    EXPECT_EQ(dataListLastRow(study, 3), 9);
    EXPECT_EQ(dataListLastRow(study, 2), 6);
    study.setCell(StudyGrid::stgnivel, 3, 2, "2000000000");  // nothing stands there
    EXPECT_EQ(dataListLastRow(study, 3), 9);
    study.setCell(StudyGrid::stgnivel, 3, 2, "-20");
    EXPECT_EQ(dataListLastRow(study, 3), -1);
}

TEST(PrintGeometry, PaginationKeepsRowsAboveTheLastLine) {
    struct Row {
        const char* name;
        int lastRow, firstLine, lastLine;
        std::vector<DataSlice> slices;
    } rows[] = {
        {"fits", 9, 30, 55, {{0, 9, 30, false}}},
        {"exactly fills", 25, 30, 55, {{0, 25, 30, false}}},
        {"one more row", 26, 30, 55, {{0, 25, 30, false}, {26, 26, 12, true}}},
        {"three pages",
         120,
         30,
         55,
         {{0, 25, 30, false}, {26, 69, 12, true}, {70, 113, 12, true}, {114, 120, 12, true}}},
        {"no rows at all", -1, 30, 55, {{0, -1, 30, false}}},
        {"first page already full still takes a row",
         2,
         30,
         20,
         {{0, 0, 30, false}, {1, 2, 12, true}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto slices = paginateDataRows(row.lastRow, row.firstLine, row.lastLine);
        ASSERT_EQ(slices.size(), row.slices.size());
        for (std::size_t i = 0; i < slices.size(); ++i) {
            EXPECT_EQ(slices[i].firstRow, row.slices[i].firstRow) << i;
            EXPECT_EQ(slices[i].lastRow, row.slices[i].lastRow) << i;
            EXPECT_EQ(slices[i].firstLine, row.slices[i].firstLine) << i;
            EXPECT_EQ(slices[i].repeatsHeading, row.slices[i].repeatsHeading) << i;
        }
    }
    EXPECT_EQ(paginateDataRows(-1, 30, 55).front().endLine(), 30);
    EXPECT_EQ(paginateDataRows(9, 30, 55).front().endLine(), 40);
}

}  // namespace
}  // namespace ldc
