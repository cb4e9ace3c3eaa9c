#include "calc/StudentTTable.h"

namespace ldc {
namespace {

struct Band {
    int firstDf;
    int lastDf;
    double value;
};

// df 1 to 29 one value each; from 30 on, every df of a band takes the value of the
// band's first df (the more conservative one).
constexpr double kSingles[29] = {
    12.706, 4.3027, 3.1825, 2.7764, 2.5706, 2.4469, 2.3646, 2.306,  2.2622, 2.2281,
    2.201,  2.1788, 2.1604, 2.1448, 2.1315, 2.1199, 2.1098, 2.1009, 2.093,  2.086,
    2.0796, 2.0739, 2.0687, 2.0639, 2.059,  2.0555, 2.0518, 2.0484, 2.0452,
};

constexpr Band kBands[] = {
    {30, 34, 2.0423},   {35, 39, 2.0301},   {40, 44, 2.0211},   {45, 49, 2.0141},
    {50, 59, 2.0086},   {60, 69, 2.0003},   {70, 79, 1.9945},   {80, 89, 1.9901},
    {90, 99, 1.9867},   {100, 119, 1.984},  {120, 139, 1.9799}, {140, 159, 1.9771},
    {160, 179, 1.9749}, {180, 199, 1.9733}, {200, 324, 1.9719},
};

}  // namespace

void FillStudentTTable(StudentTTable& table) {
    table[0] = 0;
    for (int df = 1; df <= 29; ++df)
        table[df] = kSingles[df - 1];
    for (const Band& band : kBands)
        for (int df = band.firstDf; df <= band.lastDf; ++df)
            table[df] = band.value;
}

double studentT(const StudentTTable& table, int degreesOfFreedom) {
    if (degreesOfFreedom > kStudentTEntries)
        return table[kStudentTEntries];
    return table[degreesOfFreedom];
}

}  // namespace ldc
