#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "RecordingSurface.h"
#include "StudyFixtures.h"
#include "report/Uprint.h"
#include "report/Uprint1.h"
#include "study/LdcError.h"

namespace ldc {
namespace {

using namespace testing;

using Kind = RecordingSurface::Kind;

// clang-format off
struct Placed { std::string text; int x, y, page = 0; };
// clang-format on
void expectPlaced(const RecordingSurface& surface, const std::vector<Placed>& expected) {
    for (const Placed& p : expected)
        EXPECT_TRUE(surface.placed(p.text, p.x, p.y, p.page)) << p.text << " at y " << p.y;
}

const std::string kMark = "QORVAL v.w. 3.1";
const std::string kSignedBy = "Realizó:__________________________ ";
constexpr int kLaser = -1;  // in place of the DeskJet margin choice 0, 1, 2 ("1 cm" to "2.0 cm")

void printChoice(RecordingSurface& surface, const StudyDocument& study, int margin, int option) {
    CalibrationResults record;
    if (margin == kLaser)
        laser::printChoice(surface, study, option, record);
    else
        deskjet::printChoice(surface, study, option, deskJetMarginFactor(margin), record);
}

// Laser: header in 12 points, body in 10 from 45S, levels in steps of 55S (6.. in a second
// block from 95S), signatures, mark and rule at 56L to 59L. DeskJet: body in 11 from M·S,
// levels in steps of 25S, no signatures, mark and rule 6 and 7 lines below the data. Long
// lists go on over further pages with the header and the heading row again at 11L; laser
// pages end above the signatures and are each signed, DeskJet pages at 62L. Replicate counts
// beyond the data grid print the rows there are, and nothing more.
TEST(GeneralPage, PlacesEverythingByLayoutLevelsAndLength) {
    // clang-format off
    const struct { int margin, levels, replicates, pages; std::vector<Placed> expected;
                   const char* level3Count = nullptr; } rows[] = {
        {kLaser, 3, 3, 1,
         {{"Laboratorio de Análisis Farmacéutico", 1536, 500}, {"Control de Calidad", 1968, 600},
          {"Límite de Detección y Cuantificación del Método", 1272, 700}, {"rule", 0, 921},
          {"Información General", 2020, 1000}, {"Variabilidad", 540, 1200},
          {"Regresión", 540, 1300}, {"Nombre del método: Valoración de prueba", 540, 1500},
          {"3", 540, 2300}, {"Nivel 3", 2520, 2500}, {"Valor >>", 540, 2600}, {"mg", 1500, 3000},
          {"Nivel 1 , Replica 1", 540, 3100}, {"3.3", 1500, 3900}, {kSignedBy, 540, 5600},
          {"Revisó:__________________________ ", 2700, 5600}, {kMark, 4200, 5800},
          {"rule", 0, 5900}}},
        {kLaser, 6, 1, 1, {{"Nivel 5", 3840, 2500}, {"Nivel 6", 1140, 3000},
                           {"Valor >>", 540, 3100}, {"mg", 1500, 3500}}},
        {kLaser, 10, 1, 1, {{"Nivel 7", 1800, 3000}, {"Nivel 10", 3780, 3000}}},
        {kLaser, 3, 3, 1, {{"Nivel 3 , Replica 3", 540, 3900}}, "5"},
        {kLaser, 5, 5, 1, {{"Nivel 5 , Replica 5", 540, 5500}}},
        {kLaser, 7, 3, 2, {{"Nivel 7 , Replica 2", 540, 5500},
                           {"Nivel 7 , Replica 3", 540, 1200, 1}}},
        {kLaser, 4, 30, 4, {{"Nivel 3 , Replica 9", 540, 5500, 1}, {"mg", 1500, 1100, 2},
                            {"Nivel 3 , Replica 10", 540, 1200, 2},
                            {"Nivel 4 , Replica 30", 540, 1800, 3}}},
        {0, 3, 3, 1,
         {{"LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO", 1272, 700}, {"rule", 0, 921},
          {"INFORMACIÓN GENERAL", 1982, 1000}, {"VARIABILIDAD", 24, 1200},
          {"Regresión", 24, 1300}, {"Nombre del método: Valoración de prueba", 12, 1500},
          {"Nivel 1", 312, 2500}, {"Valor >>", 12, 2600}, {"mg", 492, 3000},
          {"Nivel 3 , Replica 3", 12, 3900}, {kMark, 4140, 4600}, {"rule", 0, 4700}}},
        {1, 8, 1, 1, {{"Nivel 5", 1536, 2500}, {"Nivel 6", 636, 3000}, {"Nivel 8", 1236, 3000},
                      {"Valor >>", 36, 3100}, {"rule", 0, 5100}}},
        {2, 2, 12, 1, {{"Nivel 2 , Replica 12", 60, 5400}, {kMark, 4140, 6100}, {"rule", 0, 6200}}},
        {1, 5, 5, 2, {{"Nivel 5 , Replica 5", 36, 5500}, {kMark, 4140, 1700, 1},
                      {"rule", 0, 1800, 1}}},
        {1, 4, 30, 3, {{"Nivel 2 , Replica 2", 36, 6200}, {"Nivel 2 , Replica 3", 36, 1200, 1},
                       {"mg", 516, 1100, 1}, {"Nivel 4 , Replica 30", 36, 4800, 2},
                       {kMark, 4140, 5500, 2}, {"rule", 0, 5600, 2}}},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << row.levels << " × " << row.replicates << ", M" << row.margin);
        RecordingSurface surface;
        CalibrationStudy study = makeStudy(uniformOutline(row.levels, row.replicates));
        if (row.level3Count)
            setReplicateCountText(study, 3, row.level3Count);
        printChoice(surface, study, row.margin, 0);
        expectPlaced(surface, row.expected);
        ASSERT_EQ(surface.count(Kind::newPage) + 1, static_cast<std::size_t>(row.pages));
        // Each data row once, and nothing more in the values column than the rows there are.
        const std::size_t dataRows = study.rowCount(StudyTable::results);
        for (std::size_t r = 1; r < dataRows; ++r)
            EXPECT_EQ(surface.find(rowLabelText(study, r)).size(), 1u) << r;
        const int valuesX = surface.find("mg").at(0).x;
        EXPECT_EQ(std::count_if(surface.ops.begin(), surface.ops.end(),
                                [&](auto& t) { return t.x == valuesX && t.text != "mg"; }),
                  dataRows - 1);
        const bool laser = row.margin == kLaser;
        EXPECT_EQ(surface.find("Regresión").at(0).points, laser ? 10 : 11);
        EXPECT_EQ(surface.find(kMark).size(), laser ? row.pages : 1);
        for (int p = 0; p < row.pages; ++p) {
            EXPECT_EQ(surface.find("Control de Calidad", p).at(0).points, 12) << p;
            EXPECT_EQ(surface.find(kSignedBy, p).size(), laser ? 1u : 0u) << p;
            EXPECT_TRUE(!laser || surface.placed(kMark, 4200, 5800, p)) << p;
        }
    }
}

// Statistics on lines 16 to 26, the intercept's deviation on 28 for its basis only, then the
// limit lines (a line closer on DeskJet), with a note instead of a figure for an unknown basis.
TEST(ResultsPage, StatisticsAndLimitLinesByLayoutAndBasis) {
    const std::string none = "no calculado: el estudio no tiene base de cálculo";
    // clang-format off
    const std::string values[] = {"0.991667", "1.05674", "0.926596", "0.0444444", "0.325581",
                                  "-0.236692", "0.134813", "3.36099", "0.994639", "0.118894"};
    const std::vector<std::string> laserLabels = {"Pendiente",
        "Límite Superior del Intervalo de Confianza", "Límite Inferior del Intervalo de Confianza",
        "Ordenada al Origen", "Límite Superior del Intervalo de Confianza de la Ordenada al Origen",
        "Límite Inferior del Intervalo de Confianza de la Ordenada al Origen",
        "Desviación Estándar de Regresión", "Coeficiente de Variación",
        "Coeficiente de Determinación", "Desviación Estándar de Ordenada al Origen",
        "Límite de Detección", "Límite de Cuantificación"};
    const std::vector<std::string> deskJetLabels = {"PENDIENTE",
        "LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA", "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA",
        "ORDENADA AL ORIGEN", "LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA DE LA ORDENADA AL ORIGEN",
        "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA DE LA ORDENADA AL ORIGEN",
        "DESVIACIÓN ESTANDAR DE REGRESIÓN", "COEFICIENTE DE VARIACIÓN",
        "COEFICIENTE DE DETERMINACIÓN", "DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN",
        "LÍMITE DE DETECCIÓN", "LÍMITE DE CUANTIFICACIÓN"};
    const struct { int margin; std::string basis; int x, limitY;
                   std::string detection, quantification; std::vector<Placed> expected; } rows[] = {
        {kLaser, "Regresión", 540, 2800, "0.448622 mg", "1.35946 mg",
         {{"Variabilidad", 540, 1300}, {"Regresión", 540, 1400}, {kSignedBy, 540, 5600},
          {"Nombre del método: Valoración de prueba", 540, 4500}, {"Fecha: 06/12/2026", 540, 4900},
          {"Unidades de la cantidad recuperada: mg", 540, 4800}, {kMark, 4200, 5800},
          {"rule", 0, 5900}}},
        {kLaser, "Ordenada al Origen", 540, 3000, "0.395648 mg", "1.19893 mg", {}},
        {kLaser, "regresión", 540, 2800, none, none, {}},
        {1, "Regresión", 36, 2700, "0.448622 mg", "1.35946 mg",
         {{"VARIABILIDAD", 24, 1300}, {"Regresión", 24, 1400}, {"Nombre del método:", 36, 3400},
          {"Valoración de prueba", 36, 3500}, {"06/12/2026", 36, 3900}, {kMark, 4140, 4100},
          {"rule", 0, 4300}}},
        {2, "Ordenada al Origen", 60, 2900, "0.395648 mg", "1.19893 mg", {}},
        {1, "", 36, 2700, none, none, {}},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.basis << ", M" << row.margin);
        RecordingSurface surface;
        printChoice(surface, makeStudy(workedExample(row.basis)), row.margin, 1);
        const auto& labels = row.margin == kLaser ? laserLabels : deskJetLabels;
        for (int i = 0; i < 9; ++i)
            EXPECT_TRUE(
                surface.placed(labels[i] + " = " + values[i], row.x, 100 * (16 + i + i / 3)))
                << labels[i];
        const bool intercept = row.basis == "Ordenada al Origen";
        EXPECT_EQ(surface.placed(labels[9] + " = " + values[9], row.x, 2800), intercept);
        const std::string quoted = " \"" + row.basis + "\" = ";
        expectPlaced(surface, row.expected);
        expectPlaced(surface,
                     {{labels[10] + quoted + row.detection, row.x, row.limitY},
                      {labels[11] + quoted + row.quantification, row.x, row.limitY + 100}});
    }
}

// A stopped composition is abandoned, freeing the printer; a failed calculation begins none.
TEST(PrintStops, AStoppedCompositionIsAbandoned) {
    // clang-format off
    const struct { int margin; std::string levelCount, failOn; int option; std::string message;
                   std::size_t begun; } rows[] = {
        {kLaser, "tres", "", 0, "'tres' is not a valid integer value", 1},
        {kLaser, "3", "Pendiente = 0.991667", 1, "Error de impresora", 1},
        {kLaser, "1", "", 1, "Invalid floating point operation", 0},
        {1, "tres", "", 0, "'tres' is not a valid integer value", 1},
        {1, "1", "", 1, "Invalid floating point operation", 0},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.message << ", M" << row.margin);
        RecordingSurface surface;
        surface.failOnText = row.failOn;
        CalibrationStudy study = makeStudy(workedExample());
        study.setText(StudyField::levelCount, row.levelCount);
        EXPECT_THROW(printChoice(surface, study, row.margin, row.option), Error);
        EXPECT_EQ(surface.count(Kind::beginDoc), row.begun);
        EXPECT_EQ(surface.count(Kind::abortDoc), row.begun);
        surface.failOnText.clear();
        printChoice(surface, makeStudy(workedExample()), row.margin, 0);
        EXPECT_EQ(surface.ops.back().kind, Kind::endDoc);
    }
    RecordingSurface surface;
    printChoice(surface, makeStudy(workedExample()), kLaser, -1);
    EXPECT_TRUE(surface.ops.empty()) << "no page chosen, nothing printed";
}

}  // namespace
}  // namespace ldc
