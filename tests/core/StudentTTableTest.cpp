#include <gtest/gtest.h>

#include "calc/StudentTTable.h"

namespace ldc {
namespace {

StudentTTable filledTable() {
    StudentTTable table;
    table.fill(-1.0);  // a fill that skips an entry shows up
    FillStudentTTable(table);
    return table;
}

TEST(StudentTTable, HoldsTheLaboratoryValuesNotTheExactQuantiles) {
    struct Row {
        int df;
        double value;
    };
    const Row rows[] = {
        {1, 12.706},  {2, 4.3027},  {3, 3.1825},  {4, 2.7764},   {25, 2.059},
        {28, 2.0484}, {29, 2.0452}, {70, 1.9945}, {180, 1.9733}, {199, 1.9733},
    };
    const StudentTTable table = filledTable();
    for (const Row& row : rows)
        EXPECT_EQ(table[row.df], row.value) << "df " << row.df;
}

TEST(StudentTTable, BandsTakeTheValueOfTheirFirstDegreeOfFreedom) {
    struct Row {
        int firstDf;
        int lastDf;
        double value;
    };
    const Row bands[] = {
        {30, 34, 2.0423},   {35, 39, 2.0301},   {40, 44, 2.0211},   {45, 49, 2.0141},
        {50, 59, 2.0086},   {60, 69, 2.0003},   {70, 79, 1.9945},   {80, 89, 1.9901},
        {90, 99, 1.9867},   {100, 119, 1.984},  {120, 139, 1.9799}, {140, 159, 1.9771},
        {160, 179, 1.9749}, {180, 199, 1.9733}, {200, 324, 1.9719},
    };
    const StudentTTable table = filledTable();
    for (const Row& band : bands)
        for (int df = band.firstDf; df <= band.lastDf; ++df)
            EXPECT_EQ(table[df], band.value) << "df " << df;
}

TEST(StudentTTable, EveryEntryIsFilledAndNoneGrowsWithTheDegrees) {
    const StudentTTable table = filledTable();
    for (int df = 2; df <= kStudentTEntries; ++df) {
        EXPECT_GT(table[df], 1.9) << "df " << df;
        EXPECT_LE(table[df], table[df - 1]) << "df " << df;
    }
}

TEST(StudentTTable, LookupBeyondTheTableUsesTheLastBand) {
    const StudentTTable table = filledTable();
    EXPECT_EQ(studentT(table, 1), 12.706);
    EXPECT_EQ(studentT(table, 31), 2.0423);
    EXPECT_EQ(studentT(table, 200), 1.9719);
    EXPECT_EQ(studentT(table, 324), 1.9719);
    EXPECT_EQ(studentT(table, 325), 1.9719);
    EXPECT_EQ(studentT(table, 100000), 1.9719);
}

}  // namespace
}  // namespace ldc
