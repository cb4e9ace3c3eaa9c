#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StudyFixtures.h"
#include "calc/ResultsText.h"
#include "report/ReportText.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

using testing::makeStudy;
using testing::StudyOutline;
using testing::workedExample;
using G = StudyTable;
using Lines = std::vector<std::string>;

std::string blanks(int count) {
    return std::string(static_cast<std::size_t>(count), ' ');
}

Lines operator+(Lines head, const Lines& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// The results window's or the report's lines, then "! " and the error box text, if any.
Lines linesOf(const CalibrationStudy& study, bool report = false) {
    CalibrationResults results;
    LineList sink;
    try {
        report ? writeReport(study, results, sink) : calculateResults(study, results, sink);
    } catch (const Error& e) {
        sink.lines.push_back("! " + errorBoxText(e));
    }
    return sink.lines;
}

// Lines 1 to 21 of the worked example: general information, levels and data.
Lines studyPart() {
    // clang-format off
    Lines lines = {"LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO",
                   "VARIABILIDAD: CURVA DE CALIBRACIÓN", "Información General", "",
                   "Nombre del Método: Valoración de prueba", "Nombre del Analista: Analista",
                   "Fecha: 06/12/2026", "Unidades de la cantidad adicionada: mg",
                   "Unidades de la cantidad recuperada: mg", "", "", "Información de niveles", "",
                   "Número de niveles de cantidad adicionada:", "3", "",
                   blanks(20) + "Valor" + blanks(8) + "Replicación" + blanks(1),
                   "Nivel 1" + blanks(9) + "2" + blanks(14) + "3",
                   "Nivel 2" + blanks(9) + "4" + blanks(14) + "3",
                   "Nivel 3" + blanks(9) + "6" + blanks(14) + "3", "", blanks(42) + "mg"};
    // clang-format on
    const char* values[] = {"1.9", "2.1", "2.0", "4.1", "3.9", "4.2", "5.8", "6.1", "6.0"};
    for (int i = 0; i < 9; ++i)
        lines.push_back("Nivel " + integerText(i / 3 + 1) + " , Replica " + integerText(i % 3 + 1) +
                        blanks(12) + values[i]);
    return lines;
}

// Limit lines by basis: after results lines 1-14, report lines 1-37; others stop before them.
TEST(ResultsAndReportText, TheLimitLinesFollowTheBasis) {
    const std::string none = " = no calculado: el estudio no tiene base de cálculo";
    const std::string sd = "DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0.118894";
    // clang-format off
    const Lines blankLimits = {"LÍMITE DE DETECCIÓN \"BLANCOS\" = 0.0665546 mg",
                               "LÍMITE DE CUANTIFICACIÓN \"BLANCOS\" = 0.201681 mg", ""};
    const struct { std::string basis; Lines results, report; std::vector<std::string> blanks = {}; } rows[] = {
        {"Regresión",
         {"LÍMITE DE DETECCIÓN \"Regresión\" = 0.448622 mg",
          "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1.35946 mg", ""},
         {"LÍMITE DE DETECCIÓN  \"Regresión\" = 0.448622 mg",
          "LÍMITE DE CUANTIFICACIÓN  \"Regresión\" = 1.35946 mg"}},
        {"Ordenada al Origen",
         {sd, "LÍMITE DE DETECCIÓN \"Ordenada al Origen\" = 0.395648 mg",
          "LÍMITE DE CUANTIFICACIÓN \"Ordenada al Origen\" = 1.19893 mg", ""},
         {sd, "LÍMITE DE DETECCIÓN  \"Ordenada al Origen\" = 0.395648 mg",
          "LÍMITE DE CUANTIFICACIÓN  \"Ordenada al Origen\" = 1.19893 mg"}},
        // Without a basis the limits stand on two blank readings or more, else on nothing.
        {"", {"LÍMITE DE DETECCIÓN \"BLANCOS\"" + none,
              "LÍMITE DE CUANTIFICACIÓN \"BLANCOS\"" + none, ""}, {}, {"0.1"}},
        {"", blankLimits, {}, {"0.10", "0.12", "0,14"}},
        {"Regresión", {"LÍMITE DE DETECCIÓN \"Regresión\" = 0.448622 mg",
          "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1.35946 mg", ""},
         {"LÍMITE DE DETECCIÓN  \"Regresión\" = 0.448622 mg",
          "LÍMITE DE CUANTIFICACIÓN  \"Regresión\" = 1.35946 mg"}, {"0.1", "no se lee"}},
        {"regresión", {}, {}},
        {"Ordenada al origen", {}, {}},
    };
    // clang-format on
    for (const auto& row : rows) {
        StudyOutline outline = workedExample(row.basis);
        outline.blanks = row.blanks;
        const CalibrationStudy study = makeStudy(outline);
        const Lines statistics{"VARIABILIDAD \"" + row.basis + "\""};
        EXPECT_EQ(linesOf(study),
                  statistics + Lines{""} + testing::workedExampleRegressionLines() + row.results)
            << row.basis;
        EXPECT_EQ(linesOf(study, true),
                  (studyPart() + Lines{"", "LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO"} +
                   statistics + testing::workedExampleRegressionLines() + row.report))
            << row.basis;
    }
    StudyOutline units = workedExample();  // the limits are amounts added, not recovered
    units.addedUnits = "ppm";
    units.recoveredUnits = "µg";
    const Lines lines = linesOf(makeStudy(units));
    EXPECT_EQ(Lines(lines.begin() + 14, lines.end()),
              Lines({"LÍMITE DE DETECCIÓN \"Regresión\" = 0.448622 ppm",
                     "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1.35946 ppm", ""}));
}

// Two levels of three replicates with decimal commas; cell texts are copied as typed.
TEST(ReportText, TwoLevelsInACommaLocale) {
    setDecimalSeparator(',');
    CalibrationStudy study = makeStudy(
        {{"1,5", " 3"}, {{"1,4", "1,6", "1,5"}, {"3,1", "2,9", "3,0"}}, "Regresión", "ppm", "µg"});
    setReplicateCountText(study, 2, "03");
    const Lines lines = linesOf(study, true);
    setDecimalSeparator('.');
    ASSERT_EQ(lines.size(), 17u + 2 + 2 + 6 + 15 + 2);
    EXPECT_EQ(lines[18], "Nivel 2" + blanks(9) + " 3" + blanks(14) + "03");
    EXPECT_EQ(lines[20], blanks(42) + "µg");
    EXPECT_EQ(lines[26], "Nivel 2 , Replica 3" + blanks(12) + "3,0");
    EXPECT_EQ(lines[42], "LÍMITE DE DETECCIÓN  \"Regresión\" = 0,33 ppm");
}

// Lines go out as they are made: a failure keeps those before it. Replicate counts beyond
// the data rows list the rows there are, and the calculation stops at the first missing one.
TEST(ReportText, AFailureStopsTheReportWhereItHappens) {
    // clang-format off
    const struct { G grid; int column, row; const char* text; std::size_t lines;
                   std::string beforeError, error; } rows[] = {
        {G::levels, 2, 2, "x", 23, blanks(42) + "mg",
         "El número de réplicas del nivel 2 no es un número entero.\n"
         "'x' is not a valid integer value."},
        {G::results, 1, 4, "x", 32, "Nivel 3 , Replica 3" + blanks(12) + "6.0",
         "El dato de la fila 4 de Captura de Datos no es un número.\n"
         "'x' is not a valid floating point value."},
        {G::levels, 3, 2, "5", 32, "Nivel 3 , Replica 3" + blanks(12) + "6.0",
         "El dato de la fila 10 de Captura de Datos está vacío.\n"
         "'' is not a valid floating point value."},
    };
    // clang-format on
    for (const auto& row : rows) {
        CalibrationStudy study = makeStudy(workedExample());
        study.setCell(row.grid, row.column, row.row, row.text);
        const Lines lines = linesOf(study, true);
        ASSERT_EQ(lines.size(), row.lines) << row.error;
        EXPECT_EQ(lines[row.lines - 2], row.beforeError);
        EXPECT_EQ(lines.back(), "! " + row.error);
    }
}

}  // namespace
}  // namespace ldc
