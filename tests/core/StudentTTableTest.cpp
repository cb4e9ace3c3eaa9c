#include <gtest/gtest.h>

#include <utility>

#include "calc/StudentTTable.h"

namespace ldc {
namespace {

TEST(StudentTTable, HoldsTheLaboratoryValuesAndTheirBandEdges) {
    StudentTTable table;
    table.fill(-1.0);  // a fill that skips an entry shows up
    FillStudentTTable(table);
    // Spot values, each band's first entry and edges; past df 324 the last band's value.
    const std::pair<int, double> rows[] = {
        {1, 12.706},   {2, 4.3027},   {3, 3.1825},   {29, 2.0452},    {30, 2.0423},
        {34, 2.0423},  {35, 2.0301},  {40, 2.0211},  {45, 2.0141},    {50, 2.0086},
        {60, 2.0003},  {70, 1.9945},  {80, 1.9901},  {90, 1.9867},    {100, 1.984},
        {120, 1.9799}, {140, 1.9771}, {160, 1.9749}, {180, 1.9733},   {199, 1.9733},
        {200, 1.9719}, {324, 1.9719}, {325, 1.9719}, {100000, 1.9719}};
    for (const auto& [df, value] : rows)
        EXPECT_EQ(studentT(table, df), value) << "df " << df;
    for (int df = 2; df <= kStudentTEntries; ++df) {
        EXPECT_GT(table[df], 1.9) << "df " << df;
        EXPECT_LE(table[df], table[df - 1]) << "df " << df;
    }
}

}  // namespace
}  // namespace ldc
