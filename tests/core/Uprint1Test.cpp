#include <gtest/gtest.h>

#include <tuple>

#include "PrintFixtures.h"
#include "RecordingSurface.h"
#include "report/Uprint1.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

using namespace testing;
using Kind = RecordingSurface::Kind;

const std::string kSignedBy = "Realizó:__________________________ ";
const std::string kMark = "QORVAL v.w. 3.1";

// The header centred in 12 points (48 px per character) on lines 5 to 7, its rule at 9L + 21.
// One level block up to five levels; from six on a second block on lines 30 to 32 from 95S
// in steps of 55S, and the data list moves from 30L to 35L. Body font 10: 40 px per
// character; 45S = 540, 125S = 1500; the mark right-aligned.
TEST(LaserGeneralPage, PlacesTheTablesByLevelCount) {
    struct Row {
        const char* name;
        StudyOutline outline;
        std::vector<Placed> expected;
    } rows[] = {
        {"worked example, k = 3, N = 9",
         workedExample(),
         {{"Laboratorio de Análisis Farmacéutico", 1536, 500},
          {"Control de Calidad", 1968, 600},
          {"Límite de Detección y Cuantificación del Método", 1272, 700},
          {"Información General", 2020, 1000},
          {"Variabilidad", 540, 1200},
          {"Regresión", 540, 1300},
          {"Nombre del método: Valoración de prueba", 540, 1500},
          {"3", 540, 2300},
          {"Nivel 3", 2520, 2500},
          {"mg", 1500, 3000},
          {"Nivel 1 , Replica 1", 540, 3100},
          {"Nivel 3 , Replica 3", 540, 3900},
          {"6.0", 1500, 3900},
          {"Revisó:__________________________ ", 2700, 5600},
          {kMark, 4200, 5800}}},
        {"k = 5", uniformOutline(5, 1), {{"Nivel 5", 3840, 2500}, {"mg", 1500, 3000}}},
        {"k = 6", uniformOutline(6, 1), {{"Nivel 6", 1140, 3000}, {"mg", 1500, 3500}}},
        {"k = 10",
         uniformOutline(10, 1),
         {{"Nivel 7", 1800, 3000}, {"Nivel 9", 3120, 3000}, {"Nivel 10", 3780, 3000}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingSurface surface;
        Uprint1::printGeneralPage(surface, makeStudy(row.outline));
        expectPlaced(surface, row.expected);
        const auto valueLabels = surface.find("Valor >>");
        const bool twoBlocks = row.outline.levelValues.size() > 5;
        EXPECT_EQ(valueLabels.back().y, twoBlocks ? 3100 : 2600);
        EXPECT_EQ(valueLabels.size(), twoBlocks ? 2u : 1u);
        EXPECT_EQ(surface.find("Variabilidad").at(0).pointSize, 10);
        EXPECT_TRUE(surface.hasRule(921) && surface.hasRule(5900));
        EXPECT_EQ(surface.ops.back().kind, Kind::endDoc);
    }
}

// The intercept's deviation only on its own basis; any other basis text still gets the limit
// lines, quoted.
TEST(LaserResultsPage, LimitLinesFollowTheBasis) {
    struct Row {
        std::string basis;
        int interceptStdDevY, limitY;
        std::string detection, quantification;
    } rows[] = {
        {"Regresión", 0, 2800, "0.448622", "1.35946"},
        {"Ordenada al Origen", 2800, 3000, "0.395648", "1.19893"},
        {"regresión", 0, 2800, "0", "0"},
    };
    setDecimalSeparator('.');
    for (const Row& row : rows) {
        RecordingSurface surface;
        CalibrationResults record;
        const CalibrationStudy study = makeStudy(workedExample(row.basis));
        Uprint1::printLaserChoice(surface, study, -1, record);
        EXPECT_TRUE(surface.ops.empty()) << "no page chosen, nothing printed";
        Uprint1::printLaserChoice(surface, study, 1, record);
        const std::string quoted = " \"" + row.basis + "\" = ";
        expectPlaced(surface,
                     {{"Límite de Detección" + quoted + row.detection + " mg", 540, row.limitY},
                      {"Límite de Cuantificación" + quoted + row.quantification + " mg", 540,
                       row.limitY + 100},
                      {row.basis, 540, 1400},
                      {"Pendiente = 0.991667", 540, 1600},
                      {"Límite Superior del Intervalo de Confianza = 1.05674", 540, 1700},
                      {"Límite Inferior del Intervalo de Confianza = 0.926596", 540, 1800},
                      {"Ordenada al Origen = 0.0444444", 540, 2000},
                      {"Límite Superior del Intervalo de Confianza de la Ordenada al Origen = "
                       "0.325581",
                       540, 2100},
                      {"Límite Inferior del Intervalo de Confianza de la Ordenada al Origen = "
                       "-0.236692",
                       540, 2200},
                      {"Desviación Estándar de Regresión = 0.134813", 540, 2400},
                      {"Coeficiente de Variación = 3.36099", 540, 2500},
                      {"Coeficiente de Determinación = 0.994639", 540, 2600},
                      {"Nombre del método: Valoración de prueba", 540, 4500},
                      {"Fecha: 06/12/2026", 540, 4900},
                      {kSignedBy, 540, 5600},
                      {kMark, 4200, 5800}});
        const auto sd = surface.find("Desviación Estándar de Ordenada al Origen = 0.118894");
        EXPECT_EQ(sd.empty() ? 0 : sd[0].y, row.interceptStdDevY) << row.basis;
        EXPECT_TRUE(surface.hasRule(5900));
    }
}

// Rows that do not fit above the signature lines (25 under one level block, 20 under two) go
// on over further pages, each with the header, the heading row again at 11L, and its own
// signature lines and footer.
TEST(LaserPrint, LongDataListsContinueOnFurtherPages) {
    struct Row {
        int levels, replicates, pages;
        std::vector<std::tuple<int, int, int>> rowPlaces;  // data row, page, y
    } rows[] = {
        {5, 5, 1, {{25, 0, 5500}}},
        {2, 13, 2, {{25, 0, 5500}, {26, 1, 1200}}},
        {7, 3, 2, {{20, 0, 5500}, {21, 1, 1200}}},
        {4, 30, 4, {{69, 1, 5500}, {70, 2, 1200}, {114, 3, 1200}, {120, 3, 1800}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.levels * row.replicates);
        RecordingSurface surface;
        const CalibrationStudy study = makeStudy(uniformOutline(row.levels, row.replicates));
        Uprint1::printGeneralPage(surface, study);
        EXPECT_EQ(surface.count(Kind::newPage), row.pages - 1);
        for (const auto& [r, page, y] : row.rowPlaces)
            EXPECT_EQ(surface.find(study.cell(StudyGrid::stgdatos, 0, r), page).at(0).y, y) << r;
        for (int r = 1; r <= row.levels * row.replicates; ++r)
            EXPECT_EQ(surface.find(study.cell(StudyGrid::stgdatos, 0, r)).size(), 1u) << r;
        for (int p = 0; p < row.pages; ++p) {
            EXPECT_EQ(surface.find("Control de Calidad", p).at(0).pointSize, 12) << p;
            EXPECT_EQ(surface.find(kSignedBy, p).at(0).y, 5600) << p;
            EXPECT_EQ(surface.find(kMark, p).at(0).y, 5800) << p;
            EXPECT_TRUE(surface.hasRule(921, p) && surface.hasRule(5900, p)) << p;
            if (p > 0) {
                EXPECT_EQ(surface.find("mg", p).at(0).y, 1100) << p;
                EXPECT_EQ(surface.find("mg", p).at(0).pointSize, 10) << p;
                EXPECT_TRUE(surface.find("Variabilidad", p).empty()) << p;
            }
        }
    }
}

// A composition that stops on an error is abandoned and leaves the printer free for the
// next print; a calculation that fails begins no document at all.
TEST(LaserPrint, StoppedCompositionIsAbandoned) {
    struct Row {
        std::string levelCount, failOn;
        int option;
        std::string message;
        int begun;
    } rows[] = {
        {"tres", "", 0, "'tres' is not a valid integer value", 1},
        {"3", "Pendiente = 0.991667", 1, "Error de impresora", 1},
        {"1", "", 1, "Invalid floating point operation", 0},
    };
    for (const Row& row : rows) {
        RecordingSurface surface;
        surface.failOnText = row.failOn;
        CalibrationStudy study = makeStudy(workedExample());
        study.setText(StudyField::enivel, row.levelCount);
        CalibrationResults record;
        try {
            Uprint1::printLaserChoice(surface, study, row.option, record);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), row.message);
        }
        EXPECT_EQ(surface.count(Kind::beginDoc), row.begun) << row.message;
        EXPECT_EQ(surface.count(Kind::abortDoc), row.begun) << row.message;
        surface.failOnText.clear();
        Uprint1::printLaserChoice(surface, makeStudy(workedExample()), 0, record);
        EXPECT_EQ(surface.ops.back().kind, Kind::endDoc);
    }
}

}  // namespace
}  // namespace ldc
