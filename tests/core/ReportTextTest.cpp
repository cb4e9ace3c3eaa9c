#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StudyFixtures.h"
#include "report/ReportText.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

using testing::makeStudy;
using testing::StudyOutline;
using testing::workedExample;
using G = StudyGrid;
using Lines = std::vector<std::string>;

std::string blanks(int count) {
    return std::string(static_cast<std::size_t>(count), ' ');
}

Lines operator+(Lines head, const Lines& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// The report's lines, then "! " and the message of the error that stopped it, if any.
Lines report(const CalibrationStudy& study) {
    CalibrationResults results;
    LineList sink;
    try {
        writeReport(study, results, sink);
    } catch (const Error& e) {
        sink.lines.push_back("! " + std::string(e.what()));
    }
    return sink.lines;
}

// Lines 1 to 21 of the worked example: general information, levels and data.
Lines studyPart() {
    Lines lines = {"LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO",
                   "VARIABILIDAD: CURVA DE CALIBRACIÓN",
                   "Información General",
                   "",
                   "Nombre del Método: Valoración de prueba",
                   "Nombre del Analista: Analista",
                   "Fecha: 06/12/2026",
                   "Unidades de la cantidad adicionada: mg",
                   "Unidades de la cantidad recuperada: mg",
                   "",
                   "",
                   "Información de niveles",
                   "",
                   "Número de niveles de cantidad adicionada:",
                   "3",
                   "",
                   blanks(20) + "Valor" + blanks(8) + "Replicación" + blanks(1),
                   "Nivel 1" + blanks(9) + "2" + blanks(14) + "3",
                   "Nivel 2" + blanks(9) + "4" + blanks(14) + "3",
                   "Nivel 3" + blanks(9) + "6" + blanks(14) + "3",
                   "",
                   blanks(42) + "mg"};
    const char* values[] = {"1.9", "2.1", "2.0", "4.1", "3.9", "4.2", "5.8", "6.1", "6.0"};
    for (int i = 0; i < 9; ++i)
        lines.push_back("Nivel " + integerText(i / 3 + 1) + " , Replica " + integerText(i % 3 + 1) +
                        blanks(12) + values[i]);
    return lines;
}

// Lines 23 to 37: the statistics of the worked example.
Lines statisticsPart(const std::string& basis) {
    return Lines{"", "LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO",
                 "VARIABILIDAD \"" + basis + "\""} +
           testing::workedExampleRegressionLines();
}

TEST(ReportText, LinesOneToFortyByBasis) {
    EXPECT_EQ(report(makeStudy(workedExample("Regresión"))),
              (studyPart() + statisticsPart("Regresión") +
               Lines{"LÍMITE DE DETECCIÓN  \"Regresión\" = 0.448622 mg",
                     "LÍMITE DE CUANTIFICACIÓN  \"Regresión\" = 1.35946 mg"}));
    EXPECT_EQ(report(makeStudy(workedExample("Ordenada al Origen"))),
              (studyPart() + statisticsPart("Ordenada al Origen") +
               Lines{"DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0.118894",
                     "LÍMITE DE DETECCIÓN  \"Ordenada al Origen\" = 0.395648 mg",
                     "LÍMITE DE CUANTIFICACIÓN  \"Ordenada al Origen\" = 1.19893 mg"}));
    for (const char* basis : {"", "regresión"})
        EXPECT_EQ(report(makeStudy(workedExample(basis))), studyPart() + statisticsPart(basis));
}

// Two levels of three replicates with decimal commas; cell texts are copied as typed.
TEST(ReportText, TwoLevelsInACommaLocale) {
    setDecimalSeparator(',');
    StudyOutline outline{{"1,5", " 3"}, {{"1,4", "1,6", "1,5"}, {"3,1", "2,9", "3,0"}}};
    outline.addedUnits = "ppm";
    outline.recoveredUnits = "µg";
    CalibrationStudy study = makeStudy(outline);
    study.setCell(G::stgnivel, 2, 2, "03");
    const Lines lines = report(study);
    setDecimalSeparator('.');
    ASSERT_EQ(lines.size(), 17u + 2 + 2 + 6 + 15 + 2);
    EXPECT_EQ(lines[14], "2");
    EXPECT_EQ(lines[17], "Nivel 1" + blanks(9) + "1,5" + blanks(14) + "3");
    EXPECT_EQ(lines[18], "Nivel 2" + blanks(9) + " 3" + blanks(14) + "03");
    EXPECT_EQ(lines[19], "");
    EXPECT_EQ(lines[20], blanks(42) + "µg");
    EXPECT_EQ(lines[26], "Nivel 2 , Replica 3" + blanks(12) + "3,0");
    EXPECT_EQ(lines[27], "");
    EXPECT_EQ(lines[42], "LÍMITE DE DETECCIÓN  \"Regresión\" = 0,33 ppm");
}

// Lines go out as they are made: a failure keeps those before it.
TEST(ReportText, AFailureStopsTheReportWhereItHappens) {
    const Lines zeroSlope =
        report(makeStudy({{"1", "2", "3"}, {{"1", "3"}, {"2", "2"}, {"3", "1"}}}));
    ASSERT_EQ(zeroSlope.size(), 17u + 3 + 2 + 6 + 1);
    EXPECT_EQ(zeroSlope[27], "Nivel 3 , Replica 2" + blanks(12) + "1");
    EXPECT_EQ(zeroSlope[28], "! Floating point division by zero");

    CalibrationStudy study = makeStudy(workedExample());
    study.setCell(G::stgnivel, 2, 2, "x");  // a replicate count, read after the level lines
    EXPECT_EQ(report(study).size(), 23u);
    EXPECT_EQ(report(study).back(), "! 'x' is not a valid integer value");
    study.setCell(G::stgnivel, 2, 2, "3");
    study.setCell(G::stgdatos, 1, 4, "x");  // a recovered amount, read after every data line
    EXPECT_EQ(report(study).size(), 32u);
    EXPECT_EQ(report(study).back(), "! 'x' is not a valid floating point value");
}

}  // namespace
}  // namespace ldc
