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
using Lines = std::vector<std::string>;

std::string blanks(int count) {
    return std::string(static_cast<std::size_t>(count), ' ');
}

Lines operator+(Lines head, const Lines& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

struct Outcome {
    Lines lines;
    std::string error;
};

Outcome report(const CalibrationStudy& study, CalibrationResults& results) {
    Outcome outcome;
    LineList sink;
    try {
        writeReport(study, results, sink);
    } catch (const Error& e) {
        outcome.error = e.what();
    }
    outcome.lines = sink.lines;
    return outcome;
}

Outcome report(const CalibrationStudy& study) {
    CalibrationResults results;
    return report(study, results);
}

class ReportText : public ::testing::Test {
protected:
    void SetUp() override { setDecimalSeparator('.'); }
    void TearDown() override { setDecimalSeparator('.'); }
};

// Lines 1 to 21 of the worked example: general information, levels and data.
Lines studyPart() {
    const std::string heading = blanks(20) + "Valor" + blanks(8) + "Replicación" + blanks(1);
    return {
        "LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO",
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
        heading,
        "Nivel 1" + blanks(9) + "2" + blanks(14) + "3",
        "Nivel 2" + blanks(9) + "4" + blanks(14) + "3",
        "Nivel 3" + blanks(9) + "6" + blanks(14) + "3",
        "",
        blanks(42) + "mg",
        "Nivel 1 , Replica 1" + blanks(12) + "1.9",
        "Nivel 1 , Replica 2" + blanks(12) + "2.1",
        "Nivel 1 , Replica 3" + blanks(12) + "2.0",
        "Nivel 2 , Replica 1" + blanks(12) + "4.1",
        "Nivel 2 , Replica 2" + blanks(12) + "3.9",
        "Nivel 2 , Replica 3" + blanks(12) + "4.2",
        "Nivel 3 , Replica 1" + blanks(12) + "5.8",
        "Nivel 3 , Replica 2" + blanks(12) + "6.1",
        "Nivel 3 , Replica 3" + blanks(12) + "6.0",
    };
}

// Lines 23 to 37: the statistics of the worked example.
Lines statisticsPart(const std::string& basis) {
    return Lines{"", "LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO",
                 "VARIABILIDAD \"" + basis + "\""} +
           testing::workedExampleRegressionLines();
}

TEST_F(ReportText, TheLevelHeadingIsFortyFiveCharacters) {
    const std::string heading = studyPart()[16];
    EXPECT_EQ(heading.size(), 46u) << "45 characters, Ó taking two bytes";
    EXPECT_EQ(heading.substr(0, 25), "                    Valor");
    EXPECT_EQ(heading.substr(25), "        Replicación ");
}

TEST_F(ReportText, RegressionBasis) {
    const Outcome out = report(makeStudy(workedExample("Regresión")));
    EXPECT_EQ(out.error, "");
    const Lines expected = studyPart() + statisticsPart("Regresión") +
                           Lines{
                               "LÍMITE DE DETECCIÓN  \"Regresión\" = 0.448622 mg",
                               "LÍMITE DE CUANTIFICACIÓN  \"Regresión\" = 1.35946 mg",
                           };
    EXPECT_EQ(out.lines, expected);
    EXPECT_EQ(out.lines.size(), 48u);
}

TEST_F(ReportText, InterceptBasisShowsItsStandardDeviationBeforeTheLimits) {
    const Outcome out = report(makeStudy(workedExample("Ordenada al Origen")));
    EXPECT_EQ(out.error, "");
    const Lines expected = studyPart() + statisticsPart("Ordenada al Origen") +
                           Lines{
                               "DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0.118894",
                               "LÍMITE DE DETECCIÓN  \"Ordenada al Origen\" = 0.395648 mg",
                               "LÍMITE DE CUANTIFICACIÓN  \"Ordenada al Origen\" = 1.19893 mg",
                           };
    EXPECT_EQ(out.lines, expected);
}

TEST_F(ReportText, AnyOtherBasisEndsWithTheEmptyLineAfterTheStatistics) {
    for (const char* basis : {"", "regresión", "Ordenada al origen"}) {
        const Outcome out = report(makeStudy(workedExample(basis)));
        EXPECT_EQ(out.error, "");
        EXPECT_EQ(out.lines, studyPart() + statisticsPart(basis)) << '"' << basis << '"';
    }
}

TEST_F(ReportText, TheLimitsAreInTheUnitsOfTheAddedAmount) {
    StudyOutline outline = workedExample("Regresión");
    outline.addedUnits = "ppm";
    outline.recoveredUnits = "µg";
    const Outcome out = report(makeStudy(outline));
    ASSERT_EQ(out.lines.size(), 48u);
    EXPECT_EQ(out.lines[7], "Unidades de la cantidad adicionada: ppm");
    EXPECT_EQ(out.lines[8], "Unidades de la cantidad recuperada: µg");
    EXPECT_EQ(out.lines[21], blanks(42) + "µg");
    EXPECT_EQ(out.lines[47], "LÍMITE DE CUANTIFICACIÓN  \"Regresión\" = 1.35946 ppm");
}

TEST_F(ReportText, TwoLevelsOfThreeReplicates) {
    StudyOutline outline;
    outline.levelValues = {"1.5", "3"};
    outline.results = {{"1.4", "1.6", "1.5"}, {"3.1", "2.9", "3.0"}};
    const Outcome out = report(makeStudy(outline));
    EXPECT_EQ(out.error, "");
    ASSERT_EQ(out.lines.size(), 17u + 2 + 2 + 6 + 15 + 2);
    EXPECT_EQ(out.lines[14], "2");
    EXPECT_EQ(out.lines[17], "Nivel 1         1.5              3");
    EXPECT_EQ(out.lines[18], "Nivel 2         3              3");
    EXPECT_EQ(out.lines[19], "");
    EXPECT_EQ(out.lines[20], blanks(42) + "mg");
    EXPECT_EQ(out.lines[21], "Nivel 1 , Replica 1            1.4");
    EXPECT_EQ(out.lines[26], "Nivel 2 , Replica 3            3.0");
    EXPECT_EQ(out.lines[27], "");
    EXPECT_EQ(out.lines[29], "VARIABILIDAD \"Regresión\"");
    EXPECT_EQ(out.lines[30], "PENDIENTE = 1");
}

TEST_F(ReportText, TextsAreCopiedAsTyped) {
    setDecimalSeparator(',');
    StudyOutline outline = workedExample("Regresión");
    outline.levelValues = {"2,0", " 4", "6"};
    outline.results = {{"1,9", "2,1", "2,0"}, {"4,1", "3,9", "4,2"}, {"5,8", "6,1", "6,0"}};
    CalibrationStudy study = makeStudy(outline);
    study.setCell(StudyGrid::stgnivel, 3, 2, "03");
    const Outcome out = report(study);
    EXPECT_EQ(out.error, "");
    ASSERT_EQ(out.lines.size(), 48u);
    EXPECT_EQ(out.lines[17], "Nivel 1" + blanks(9) + "2,0" + blanks(14) + "3");
    EXPECT_EQ(out.lines[18], "Nivel 2" + blanks(9) + " 4" + blanks(14) + "3");
    EXPECT_EQ(out.lines[19], "Nivel 3" + blanks(9) + "6" + blanks(14) + "03");
    EXPECT_EQ(out.lines[22], "Nivel 1 , Replica 1" + blanks(12) + "1,9");
    EXPECT_EQ(out.lines[34], "PENDIENTE = 0,991667");
    EXPECT_EQ(out.lines[40],
              "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA DE ORDENADA AL ORIGEN = -0,236692");
    EXPECT_EQ(out.lines[46], "LÍMITE DE DETECCIÓN  \"Regresión\" = 0,448622 mg");
}

TEST_F(ReportText, AFailingCalculationLeavesTheStudyLinesAndItsFields) {
    StudyOutline outline;
    outline.levelValues = {"1", "2", "3"};
    outline.results = {{"1", "3"}, {"2", "2"}, {"3", "1"}};  // slope exactly 0
    CalibrationResults results;
    results.detectionLimit = 5;
    const Outcome out = report(makeStudy(outline), results);
    EXPECT_EQ(out.error, "Floating point division by zero");
    ASSERT_EQ(out.lines.size(), 17u + 3 + 2 + 6);
    EXPECT_EQ(out.lines.back(), "Nivel 3 , Replica 2" + blanks(12) + "1");
    EXPECT_EQ(results.slope, 0);
    EXPECT_GT(results.residualStdDev, 0);
    EXPECT_EQ(results.detectionLimit, 5) << "the limits come after the failing step";
}

TEST_F(ReportText, ABadCountStopsTheReportWhereItIsRead) {
    struct Row {
        const char* fault;
        void (*spoil)(CalibrationStudy&);
        std::size_t lines;
        const char* message;
    };
    const Row rows[] = {
        {"level count: after the level-count line and the heading",
         [](CalibrationStudy& s) { s.setText(StudyField::enivel, "x"); }, 17,
         "'x' is not a valid integer value"},
        {"replicate count: after the level lines and the data heading",
         [](CalibrationStudy& s) { s.setCell(StudyGrid::stgnivel, 2, 2, "x"); }, 22,
         "'x' is not a valid integer value"},
        {"recovered amount: after every data line",
         [](CalibrationStudy& s) { s.setCell(StudyGrid::stgdatos, 1, 4, "abc"); }, 31,
         "'abc' is not a valid floating point value"},
    };
    for (const Row& row : rows) {
        CalibrationStudy study = makeStudy(workedExample());
        row.spoil(study);
        const Outcome out = report(study);
        EXPECT_EQ(out.error, row.message) << row.fault;
        EXPECT_EQ(out.lines.size(), row.lines) << row.fault;
        const Lines expected = studyPart();
        for (std::size_t i = 0; i < out.lines.size() && i < 31; ++i) {
            if (i != 14 && i != 18 && i != 25) {
                EXPECT_EQ(out.lines[i], expected[i]) << row.fault << ", line " << i + 1;
            }
        }
    }
}

TEST_F(ReportText, ARecalculationOverwritesTheRecord) {
    CalibrationResults results;
    report(makeStudy(workedExample("Ordenada al Origen")), results);
    const Outcome again = report(makeStudy(workedExample("Regresión")), results);
    EXPECT_EQ(again.lines.back(), "LÍMITE DE CUANTIFICACIÓN  \"Regresión\" = 1.35946 mg");
    EXPECT_NEAR(results.detectionLimit, 0.448622, 5e-7);
}

}  // namespace
}  // namespace ldc
