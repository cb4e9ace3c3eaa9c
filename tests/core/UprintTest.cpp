#include <gtest/gtest.h>

#include <tuple>

#include "PrintFixtures.h"
#include "RecordingSurface.h"
#include "StudyFixtures.h"
#include "report/Uprint.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

using testing::expectPlaced;
using testing::makeStudy;
using testing::RecordingSurface;
using testing::SurfaceOp;
using testing::uniformOutline;
using testing::workedExample;
using Kind = SurfaceOp::Kind;

constexpr int kDefaultMargin = 3;  // "1.5 cm"

class DeskJetPage : public ::testing::Test {
protected:
    void SetUp() override { setDecimalSeparator('.'); }
    RecordingSurface surface;
};

TEST_F(DeskJetPage, GeneralPageOfTheWorkedExample) {
    Uprint::printGeneralPage(surface, makeStudy(workedExample()), kDefaultMargin);
    // Body font 11: 44 px per character; M·S = 36, (M + 40)S = 516.
    expectPlaced(surface, {
                              {"LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO", 1272, 700},
                              {"INFORMACIÓN GENERAL", 1982, 1000},
                              {"VARIABILIDAD", 24, 1200},
                              {"Regresión", 24, 1300},
                              {"Nombre del método: Valoración de prueba", 36, 1500},
                              {"Nombre del Analista: Analista", 36, 1600},
                              {"Fecha: 06/12/2026", 36, 1700},
                              {"Unidades de la cantidad adicionada: mg", 36, 1800},
                              {"Unidades de la cantidad recuperada: mg", 36, 1900},
                              {"Número de niveles de cantidad adicionada:", 36, 2200},
                              {"Valor >>", 36, 2600},
                              {"Nivel 1", 336, 2500},
                              {"Nivel 3", 936, 2500},
                              {"mg", 516, 3000},
                              {"Nivel 1 , Replica 1", 36, 3100},
                              {"1.9", 516, 3100},
                              {"Nivel 3 , Replica 3", 36, 3900},
                              {"6.0", 516, 3900},
                              {"QORVAL v.w. 3.1", 4140, 4600},  // (b + 6)L with b = 40
                          });
    EXPECT_TRUE(surface.hasRule(921, 4800));
    EXPECT_TRUE(surface.hasRule(4700, 4800));
    EXPECT_EQ(surface.first("VARIABILIDAD").pointSize, 11);
    EXPECT_TRUE(surface.find("Realizó:__________________________ ").empty());
    EXPECT_EQ(surface.count(Kind::newPage), 0);
    EXPECT_EQ(surface.ops.back().kind, Kind::endDoc);
}

// The margin choice moves everything at M·S; the basis stays at 2S.
TEST_F(DeskJetPage, MarginChoiceMovesTheLeftEdge) {
    struct Row {
        int marginItem;
        int methodX, level1X, values1X;
    } rows[] = {
        {0, 12, 312, 492},  // "1 cm": M = 1
        {1, 36, 336, 516},  // "1.5 cm": M = 3
        {2, 60, 360, 540},  // "2.0 cm": M = 5
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.marginItem);
        RecordingSurface surface;
        const CalibrationStudy study = makeStudy(workedExample());
        Uprint::printGeneralPage(surface, study, deskJetMarginFactor(row.marginItem));
        expectPlaced(surface, {{"Nombre del método: Valoración de prueba", row.methodX, 1500},
                               {"Nivel 1", row.level1X, 2500},
                               {"1.9", row.values1X, 3100},
                               {"VARIABILIDAD", 24, 1200}});

        RecordingSurface results;
        CalibrationResults record;
        Uprint::printDeskJetChoice(results, study, 1, deskJetMarginFactor(row.marginItem), record);
        expectPlaced(results,
                     {{"PENDIENTE = 0.991667", row.methodX, 1600}, {"VARIABILIDAD", 24, 1300}});
    }
}

// Levels 6.. stand where levels 2.. stand in the first block.
TEST_F(DeskJetPage, EightLevelsInTwoBlocks) {
    Uprint::printGeneralPage(surface, makeStudy(uniformOutline(8, 1)), kDefaultMargin);
    expectPlaced(surface, {{"Nivel 1", 336, 2500},
                           {"Nivel 5", 1536, 2500},
                           {"Nivel 6", 636, 3000},
                           {"Nivel 7", 936, 3000},
                           {"Nivel 8", 1236, 3000},
                           {"mg", 516, 3500}});
    const auto labels = surface.find("Valor >>");
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[1].x, 36);
    EXPECT_EQ(labels[1].y, 3100);
}

TEST_F(DeskJetPage, ResultsPageOfTheWorkedExample) {
    CalibrationResults record;
    Uprint::printDeskJetChoice(surface, makeStudy(workedExample()), 1, kDefaultMargin, record);
    expectPlaced(
        surface,
        {
            {"VARIABILIDAD", 24, 1300},
            {"Regresión", 24, 1400},
            {"PENDIENTE = 0.991667", 36, 1600},
            {"LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA = 1.05674", 36, 1700},
            {"LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA = 0.926596", 36, 1800},
            {"ORDENADA AL ORIGEN = 0.0444444", 36, 2000},
            {"LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA DE LA ORDENADA AL ORIGEN = 0.325581", 36,
             2100},
            {"LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA DE LA ORDENADA AL ORIGEN = -0.236692", 36,
             2200},
            {"DESVIACIÓN ESTANDAR DE REGRESIÓN = 0.134813", 36, 2400},
            {"COEFICIENTE DE VARIACIÓN = 3.36099", 36, 2500},
            {"COEFICIENTE DE DETERMINACIÓN = 0.994639", 36, 2600},
            {"LÍMITE DE DETECCIÓN \"Regresión\" = 0.448622 mg", 36, 2700},
            {"LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1.35946 mg", 36, 2800},
            {"Nombre del método:", 36, 3400},
            {"Valoración de prueba", 36, 3500},
            {"Nombre del Analista:", 36, 3600},
            {"Analista", 36, 3700},
            {"Fecha:", 36, 3800},
            {"06/12/2026", 36, 3900},
            {"QORVAL v.w. 3.1", 4140, 4100},
        });
    EXPECT_TRUE(surface.hasRule(4300, 4800));
    EXPECT_TRUE(surface.find("DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0.118894").empty());
}

TEST_F(DeskJetPage, InterceptBasisPutsItsDeviationAboveTheLimits) {
    CalibrationResults record;
    Uprint::printDeskJetChoice(surface, makeStudy(workedExample("Ordenada al Origen")), 1,
                               kDefaultMargin, record);
    expectPlaced(surface,
                 {{"DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0.118894", 36, 2800},
                  {"LÍMITE DE DETECCIÓN \"Ordenada al Origen\" = 0.395648 mg", 36, 2900},
                  {"LÍMITE DE CUANTIFICACIÓN \"Ordenada al Origen\" = 1.19893 mg", 36, 3000}});
}

// The list goes on over further pages within the printable height (6300 px: lines up to
// 62); the mark and the closing line follow the last row, on a page of their own when the
// closing line would fall outside the printable area.
TEST_F(DeskJetPage, LongDataListsContinueAndTheClosingFollowsThem) {
    struct Row {
        const char* name;
        int levels, replicates;
        int height;
        int pages;
        std::vector<std::tuple<int, int, int>> rowPlaces;  // data row, page, y
        int closingPage, markY;
    } rows[] = {
        {"24 rows and the closing fit", 2, 12, 6300, 1, {{24, 0, 5400}}, 0, 6100},
        {"25 rows fit, the closing line would not", 5, 5, 6300, 2, {{25, 0, 5500}}, 1, 1700},
        {"a full first page", 2, 16, 6300, 2, {{32, 0, 6200}}, 1, 1700},
        {"40 rows", 2, 20, 6300, 2, {{32, 0, 6200}, {33, 1, 1200}, {40, 1, 1900}}, 1, 2600},
        {"120 rows",
         4,
         30,
         6300,
         3,
         {{32, 0, 6200}, {33, 1, 1200}, {83, 1, 6200}, {84, 2, 1200}, {120, 2, 4800}},
         2,
         5500},
        {"a short page", 3, 3, 4000, 2, {{9, 0, 3900}}, 1, 1700},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingSurface surface(600, 4800, row.height);
        const CalibrationStudy study = makeStudy(uniformOutline(row.levels, row.replicates));
        Uprint::printGeneralPage(surface, study, kDefaultMargin);
        EXPECT_EQ(surface.count(Kind::newPage), row.pages - 1);
        EXPECT_EQ(surface.count(Kind::endDoc), 1);

        for (const auto& [r, page, y] : row.rowPlaces) {
            const std::string label = study.cell(StudyGrid::stgdatos, 0, r);
            const auto found = surface.find(label);
            ASSERT_EQ(found.size(), 1u) << label;
            EXPECT_EQ(found[0].page, page) << label;
            EXPECT_EQ(found[0].y, y) << label;
        }
        int labels = 0;
        for (const SurfaceOp& op : surface.texts()) {
            if (op.text.find(" , Replica ") != std::string::npos) {
                ++labels;
                EXPECT_LT(op.y + 100, row.height + 1) << op.text;
            }
        }
        EXPECT_EQ(labels, row.levels * row.replicates);

        const auto marks = surface.find("QORVAL v.w. 3.1");
        ASSERT_EQ(marks.size(), 1u);
        EXPECT_EQ(marks[0].page, row.closingPage);
        EXPECT_EQ(marks[0].y, row.markY);
        EXPECT_TRUE(surface.hasRule(row.markY + 100, 4800, row.closingPage));
        for (int p = 1; p < row.pages; ++p) {
            int headers = 0;
            for (const SurfaceOp& op : surface.textsOnPage(p))
                headers += op.text == "LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO";
            EXPECT_EQ(headers, 1) << "page " << p;
        }
    }
}

TEST_F(DeskJetPage, CompositionStoppedByAnErrorIsAbandoned) {
    CalibrationStudy study = makeStudy(workedExample());
    study.setCell(StudyGrid::stgnivel, 3, 2, "");
    EXPECT_THROW(Uprint::printGeneralPage(surface, study, kDefaultMargin), Error);
    EXPECT_EQ(surface.count(Kind::abortDoc), 1);
    EXPECT_EQ(surface.count(Kind::endDoc), 0);
    EXPECT_FALSE(surface.inDocument());

    testing::StudyOutline flat;  // every level the same value: no slope to divide by
    flat.levelValues = {"2", "2", "2"};
    flat.results = {{"1"}, {"2"}, {"3"}};
    surface.clear();
    CalibrationResults record;
    EXPECT_THROW(Uprint::printDeskJetChoice(surface, makeStudy(flat), 1, kDefaultMargin, record),
                 Error);
    EXPECT_TRUE(surface.ops.empty());

    Uprint::printDeskJetChoice(surface, makeStudy(workedExample()), 0, kDefaultMargin, record);
    EXPECT_EQ(surface.ops.front().kind, Kind::beginDoc);
    EXPECT_EQ(surface.ops.back().kind, Kind::endDoc);
}

}  // namespace
}  // namespace ldc
