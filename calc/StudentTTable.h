#pragma once

#include <array>

namespace ldc {

inline constexpr int kStudentTEntries = 324;

// Two-sided 95 % Student t critical values by degrees of freedom, indexed from 1
// (index 0 is unused). The entries are the laboratory's fixed table, not computed.
using StudentTTable = std::array<double, kStudentTEntries + 1>;

void FillStudentTTable(StudentTTable& table);

// The critical value for df degrees of freedom, df >= 1. Beyond the table (df > 324)
// the last band's value 1.9719 applies.
double studentT(const StudentTTable& table, int degreesOfFreedom);

}  // namespace ldc
