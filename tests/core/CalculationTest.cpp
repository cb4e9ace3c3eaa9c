#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "StudyFixtures.h"
#include "calc/FormatGeneral.h"
#include "calc/StudentTTable.h"
#include "calc/Ucalculo.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

using testing::makeStudy;
using testing::workedExample;
using O = testing::StudyOutline;
using G = StudyTable;
using R = CalibrationResults;

// The record's fields in the order the calculation writes them; the last two are the limits.
// clang-format off
constexpr double R::*kWriteOrder[] = {
    &R::slope, &R::residualStdDev, &R::slopeUpper, &R::slopeLower, &R::variationCoefficient,
    &R::determinationCoefficient, &R::interceptStdDev, &R::intercept, &R::interceptUpper,
    &R::interceptLower, &R::detectionLimit, &R::quantificationLimit};
// clang-format on
constexpr double kUntouched = 777.0;

R calculate(const O& outline) {
    R r;
    ComputeCalibration(makeStudy(outline), r);
    return r;
}

// Fails with `message` and `context`, having written the first `fieldsWritten` of kWriteOrder.
R expectFault(const StudyDocument& study, const char* message, int fieldsWritten, const char* fault,
              const std::string& context = {}) {
    R r;
    for (auto field : kWriteOrder)
        r.*field = kUntouched;
    try {
        ComputeCalibration(study, r);
        ADD_FAILURE() << fault << ": no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), message) << fault;
        EXPECT_EQ(e.context(), context) << fault;
    }
    for (int i = 0; i < static_cast<int>(std::size(kWriteOrder)); ++i)
        EXPECT_EQ(r.*kWriteOrder[i] != kUntouched, i < fieldsWritten) << fault << ' ' << i;
    return r;
}

// Worked out by a model rounding each operation to a 64-bit mantissa: a near-perfect line far
// off the origin, whose residual sum of squares double intermediates would give as 0.00145702.
TEST(Calculation, ExtendedIntermediatesDecideTheSixthDigit) {
    const R r = calculate(
        O{{"10", "20", "30"},
          {{"1000.000", "1000.003"}, {"2000.002", "2000.003"}, {"3000.001", "3000.000"}}});
    EXPECT_EQ(formatGeneral(r.residualStdDev), "0.00145716");
    EXPECT_EQ(r.residualStdDev, 0x1.7dfca159a3b8bp-10);
    // The factor 3.3 is the extended value nearest to it, not the double.
    O scattered{{"15", "18", "15"}, {{"14.93", "15.53"}, {"17.44", "18.55"}, {"14.96", "15.17"}}};
    scattered.basis = "Ordenada al Origen";
    EXPECT_EQ(calculate(scattered).detectionLimit, 0x1.da4ca200f1b73p+2);
    // A slope twelve digits below the results is small, not zero: its figure is kept.
    O tiny{{"1", "2", "3"}, {{"0.99", "1.01"}, {"0.99", "1.01"}, {"0.99", "1.010000000001"}}};
    EXPECT_EQ(formatGeneral(calculate(tiny).slope), "2.50022E-13");
}

// y = x only when every result meets its own level's x; the empty level 5 takes no data row.
TEST(Calculation, EachResultMeetsItsLevelAndAnEmptyLevelMovesNoRows) {
    const R r = calculate(O{{"1", "5", "2", "4"}, {{"1"}, {}, {"2", "2", "2"}, {"4", "4"}}});
    EXPECT_EQ(std::tuple(r.slope, r.intercept, r.residualStdDev), std::tuple(1.0, 0.0, 0.0));
    EXPECT_EQ(calibrationWork().observationCount, 6);
    EXPECT_EQ(calibrationWork().sumX, 1 + 3 * 2 + 2 * 4);
}

// The laboratory's table: one value per df from 1 to 29, then bands valued at their first df.
// clang-format off
constexpr double kSingles[29] = {12.706, 4.3027, 3.1825, 2.7764, 2.5706, 2.4469, 2.3646, 2.306,
                                 2.2622, 2.2281, 2.201,  2.1788, 2.1604, 2.1448, 2.1315, 2.1199,
                                 2.1098, 2.1009, 2.093,  2.086,  2.0796, 2.0739, 2.0687, 2.0639,
                                 2.059,  2.0555, 2.0518, 2.0484, 2.0452};
constexpr struct { int first, last; double value; } kBands[] = {
    {30, 34, 2.0423},   {35, 39, 2.0301},   {40, 44, 2.0211},   {45, 49, 2.0141},
    {50, 59, 2.0086},   {60, 69, 2.0003},   {70, 79, 1.9945},   {80, 89, 1.9901},
    {90, 99, 1.9867},   {100, 119, 1.984},  {120, 139, 1.9799}, {140, 159, 1.9771},
    {160, 179, 1.9749}, {180, 199, 1.9733}, {200, 324, 1.9719}};
// clang-format on

TEST(StudentTTable, HoldsEveryValueOfTheLaboratoryTable) {
    StudentTTable table;
    table.fill(-1.0);  // a fill that skips an entry shows up
    FillStudentTTable(table);
    for (int df = 1; df <= 29; ++df)
        EXPECT_EQ(studentT(table, df), kSingles[df - 1]) << "df " << df;
    for (const auto& band : kBands)
        for (int df = band.first; df <= band.last; ++df)
            EXPECT_EQ(studentT(table, df), band.value) << "df " << df;
}

TEST(Calculation, DegreesOfFreedomPickTheirTableEntry) {
    // df = N - 2; beyond the table's 324 entries the last band's value holds.
    const std::pair<int, double> rows[] = {{5, 3.1825}, {326, 1.9719}, {327, 1.9719}};
    for (const auto& [results, t] : rows) {
        O s{{"1", "2", "3"}, {{}, {}, {}}};
        for (int i = 0; i < results; ++i)
            s.results[i % 3].push_back(integerText(10 * (i % 3 + 1) + i % 7) + ".5");
        const R r = calculate(s);
        const long double spread = static_cast<long double>(t) * calibrationWork().slopeStdDev;
        EXPECT_EQ(r.slopeUpper, static_cast<double>(spread + r.slope)) << results;
        EXPECT_EQ(r.slopeLower, static_cast<double>(r.slope - spread)) << results;
    }
}

// The message is the runtime's; the line above it says, in the analyst's words, which value.
TEST(Calculation, AConversionErrorNamesTheFirstBadCellAndWritesNoField) {
    using S = CalibrationStudy;
    // clang-format off
    const struct {
        const char* fault;
        void (*spoil)(S&);
        const char *message, *context;
    } rows[] = {
        {"recovered amount", [](S& s) { setRecoveredAmountText(s, 5, "abc"); },
         "'abc' is not a valid floating point value",
         "El dato de la fila 5 de Captura de Datos no es un número."},
        {"level value", [](S& s) { setLevelValueText(s, 2, "x"); },
         "'x' is not a valid floating point value", "El valor del nivel 2 no es un número."},
        {"level count", [](S& s) { s.setText(StudyField::levelCount, "x"); },
         "'x' is not a valid integer value", "El número de niveles no es un número entero."},
        {"replicate count", [](S& s) { setReplicateCountText(s, 3, "2.5"); },
         "'2.5' is not a valid integer value",
         "El número de réplicas del nivel 3 no es un número entero."},
        {"a level's results are read before its value",
         [](S& s) { setLevelValueText(s, 2, "x2"); setRecoveredAmountText(s, 4, "y4"); },
         "'y4' is not a valid floating point value",
         "El dato de la fila 4 de Captura de Datos no es un número."},
        {"level 1's results come before level 2's count",
         [](S& s) { setRecoveredAmountText(s, 3, "y3"); setReplicateCountText(s, 2, "n2"); },
         "'y3' is not a valid floating point value",
         "El dato de la fila 3 de Captura de Datos no es un número."},
        {"more replicates than data rows", [](S& s) { setReplicateCountText(s, 3, "4"); },
         "'' is not a valid floating point value",
         "El dato de la fila 10 de Captura de Datos está vacío."},
        {"a blank reading, when the limits stand on the blanks",
         [](S& s) { s.setText(StudyField::limitBasis, "x"); s.setBlankReadings({"1", "", "2"}); },
         "'' is not a valid floating point value", "La lectura 2 de Blancos está vacía."},
        {"the data come before the blanks",
         [](S& s) { s.setText(StudyField::limitBasis, ""); s.setBlankReadings({"b1", "1"});
                    setRecoveredAmountText(s, 9, "y9"); },
         "'y9' is not a valid floating point value",
         "El dato de la fila 9 de Captura de Datos no es un número."},
    };
    // clang-format on
    for (const auto& row : rows) {
        CalibrationStudy study = makeStudy(workedExample());
        row.spoil(study);
        expectFault(study, row.message, 0, row.fault, row.context);
    }
}

// Decimal studies stop where whole-number ones do, after what exact arithmetic gives: a flat
// line has slope 0, equal results no residuals.
TEST(Calculation, AnArithmeticFaultStopsAtItsStepAndKeepsWhatCameBefore) {
    const char* const invalid = "Invalid floating point operation";
    const char* const byZero = "Floating point division by zero";
    const char* const overflow = "Floating point overflow";
    const char* const levels =
        "Todos los niveles tienen la misma cantidad adicionada: no hay una recta que ajustar.";
    const char* const equal =
        "Todas las cantidades recuperadas son iguales: no hay una recta que ajustar.";
    const char* const zeroSlope =
        "La pendiente es cero: los límites de detección y de cuantificación no se pueden calcular.";
    const char* const few =
        "El estudio tiene menos de tres resultados: hacen falta al menos tres para calcular la "
        "regresión.";
    // clang-format off
    const decltype(O::results) scattered = {{"1.9", "2.1"}, {"4.1", "3.9"}, {"5.8"}};
    const std::vector<std::string> flat = {"1.1", "1.2", "1.3"};
    const struct {
        const char* fault;
        O study;
        const char* message;
        int fieldsWritten;
        const char* context;
    } rows[] = {
        {"levels all 2: 0/0 at the slope", O{{"2", "2", "2"}, scattered}, invalid, 0, levels},
        {"levels all 0.1", O{{"0.1", "0.1", "0.1"}, scattered}, invalid, 0, levels},
        {"N = 2, exact: 0/0 by df", O{{"1", "2"}, {{"1"}, {"3"}}}, invalid, 1, few},
        {"N = 2, rounding: x/0 by df", O{{"1", "2"}, {{"1.1"}, {"3.3"}}}, byZero, 1, few},
        {"residuals round below 0", O{{"1", "2", "3"}, {{"0.3"}, {"0.6"}, {"0.9"}}}, invalid, 1, "El cálculo se detuvo en la desviación estándar de regresión."},
        {"results sum to 0", O{{"1", "2", "3"}, {{"-2"}, {"1"}, {"1"}}}, byZero, 4, "El cálculo se detuvo en el coeficiente de variación."},
        {"results all 5: 0/0 in r²", O{{"1", "2", "3"}, {{"5"}, {"5"}, {"5"}}}, invalid, 5, equal},
        {"results all 0.1", O{{"1", "2", "3"}, {{"0.1", "0.1"}, {"0.1"}, {"0.1"}}}, invalid, 5, equal},
        {"slope exactly 0", O{{"1", "2", "3"}, {{"1", "3"}, {"2", "2"}, {"3", "1"}}}, byZero, 6, zeroSlope},
        {"same decimals at each level", O{{"0.1", "0.2", "0.3"}, {flat, flat, flat}}, byZero, 6, zeroSlope},
        {"squares overflow", O{{"1", "2", "3"}, {{"1e300"}, {"2e300"}, {"3e300"}}}, overflow, 0, "El cálculo se detuvo al sumar los datos: son demasiado grandes."},
        {"variation overflows", O{{"1", "2", "3"}, {{"1e10"}, {"-1e10"}, {"1e-300"}}}, overflow, 4, "El cálculo se detuvo en el coeficiente de variación."},
    };
    // clang-format on
    for (const auto& row : rows) {
        const R r = expectFault(makeStudy(row.study), row.message, row.fieldsWritten, row.fault,
                                row.context);
        EXPECT_TRUE(row.fieldsWritten < 5 || r.slope == 0) << row.fault;
        EXPECT_TRUE(row.fieldsWritten != 5 ||
                    r.residualStdDev + r.slopeUpper + r.variationCoefficient == 0)
            << row.fault;
    }
}

}  // namespace
}  // namespace ldc
