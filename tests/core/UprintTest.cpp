#include <gtest/gtest.h>

#include <tuple>

#include "PrintFixtures.h"
#include "RecordingSurface.h"
#include "report/Uprint.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

using namespace testing;
using Kind = RecordingSurface::Kind;

const std::string kTitle = "LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO";
const std::string kMark = "QORVAL v.w. 3.1";

// Body font 11: 44 px per character. The margin choice moves everything at M·S (M = 1, 3, 5);
// "VARIABILIDAD" and the basis stay at 2S. No signature lines: the mark and the closing line
// follow the data, at (b + 6)L and (b + 7)L with b = 40.
TEST(DeskJetGeneralPage, WorkedExampleAtEachMargin) {
    struct Row {
        int marginItem, x, level1X, valuesX;
    } rows[] = {{0, 12, 312, 492}, {1, 36, 336, 516}, {2, 60, 360, 540}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.marginItem);
        RecordingSurface surface;
        Uprint::printGeneralPage(surface, makeStudy(workedExample()),
                                 deskJetMarginFactor(row.marginItem));
        expectPlaced(surface, {{kTitle, 1272, 700},
                               {"INFORMACIÓN GENERAL", 1982, 1000},
                               {"VARIABILIDAD", 24, 1200},
                               {"Regresión", 24, 1300},
                               {"Nombre del método: Valoración de prueba", row.x, 1500},
                               {"Nivel 1", row.level1X, 2500},
                               {"Valor >>", row.x, 2600},
                               {"mg", row.valuesX, 3000},
                               {"Nivel 3 , Replica 3", row.x, 3900},
                               {"6.0", row.valuesX, 3900},
                               {kMark, 4140, 4600}});
        EXPECT_TRUE(surface.hasRule(921) && surface.hasRule(4700));
        EXPECT_EQ(surface.find("VARIABILIDAD").at(0).pointSize, 11);
        EXPECT_TRUE(surface.find("Realizó:__________________________ ").empty());
    }
}

// Levels 6.. stand where levels 2.. stand in the first block.
TEST(DeskJetGeneralPage, EightLevelsInTwoBlocks) {
    RecordingSurface surface;
    Uprint::printGeneralPage(surface, makeStudy(uniformOutline(8, 1)), 3);
    expectPlaced(surface, {{"Nivel 5", 1536, 2500},
                           {"Nivel 6", 636, 3000},
                           {"Nivel 8", 1236, 3000},
                           {"mg", 516, 3500}});
    EXPECT_EQ(surface.find("Valor >>").at(1).y, 3100);
}

// The limits follow the coefficient of determination directly, a line higher than on the
// laser page.
TEST(DeskJetResultsPage, LimitLinesFollowTheBasisAndTheMargin) {
    struct Row {
        std::string basis;
        int marginItem, x, interceptStdDevY, limitY;
        std::string detection, quantification;
    } rows[] = {
        {"Regresión", 1, 36, 0, 2700, "0.448622", "1.35946"},
        {"Ordenada al Origen", 2, 60, 2800, 2900, "0.395648", "1.19893"},
    };
    setDecimalSeparator('.');
    for (const Row& row : rows) {
        RecordingSurface surface;
        CalibrationResults record;
        Uprint::printDeskJetChoice(surface, makeStudy(workedExample(row.basis)), 1,
                                   deskJetMarginFactor(row.marginItem), record);
        const std::string quoted = " \"" + row.basis + "\" = ";
        expectPlaced(
            surface,
            {{"LÍMITE DE DETECCIÓN" + quoted + row.detection + " mg", row.x, row.limitY},
             {"LÍMITE DE CUANTIFICACIÓN" + quoted + row.quantification + " mg", row.x,
              row.limitY + 100},
             {"VARIABILIDAD", 24, 1300},
             {row.basis, 24, 1400},
             {"PENDIENTE = 0.991667", row.x, 1600},
             {"LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA = 1.05674", row.x, 1700},
             {"LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA = 0.926596", row.x, 1800},
             {"ORDENADA AL ORIGEN = 0.0444444", row.x, 2000},
             {"LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA DE LA ORDENADA AL ORIGEN = 0.325581",
              row.x, 2100},
             {"LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA DE LA ORDENADA AL ORIGEN = -0.236692",
              row.x, 2200},
             {"DESVIACIÓN ESTANDAR DE REGRESIÓN = 0.134813", row.x, 2400},
             {"COEFICIENTE DE VARIACIÓN = 3.36099", row.x, 2500},
             {"COEFICIENTE DE DETERMINACIÓN = 0.994639", row.x, 2600},
             {"Nombre del método:", row.x, 3400},
             {"Valoración de prueba", row.x, 3500},
             {"06/12/2026", row.x, 3900},
             {kMark, 4140, 4100}});
        const auto sd = surface.find("DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0.118894");
        EXPECT_EQ(sd.empty() ? 0 : sd[0].y, row.interceptStdDevY) << row.basis;
        EXPECT_TRUE(surface.hasRule(4300));
    }
}

// The list goes on over further pages within the printable height (6300 px: rows down to
// 62L); the mark and closing line follow the last row, on a page of their own when the
// closing line would fall outside the printable area.
TEST(DeskJetPrint, LongDataListsContinueAndTheClosingFollowsThem) {
    struct Row {
        int levels, replicates, pages;
        std::vector<std::tuple<int, int, int>> rowPlaces;  // data row, page, y
        int closingPage, markY;
    } rows[] = {
        {2, 12, 1, {{24, 0, 5400}}, 0, 6100},  // the closing line is the page's last
        {5, 5, 2, {{25, 0, 5500}}, 1, 1700},
        {2, 20, 2, {{32, 0, 6200}, {33, 1, 1200}, {40, 1, 1900}}, 1, 2600},
        {4, 30, 3, {{83, 1, 6200}, {84, 2, 1200}, {120, 2, 4800}}, 2, 5500},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.levels * row.replicates);
        RecordingSurface surface;
        const CalibrationStudy study = makeStudy(uniformOutline(row.levels, row.replicates));
        Uprint::printGeneralPage(surface, study, 3);
        EXPECT_EQ(surface.count(Kind::newPage), row.pages - 1);
        for (const auto& [r, page, y] : row.rowPlaces)
            EXPECT_EQ(surface.find(study.cell(StudyGrid::stgdatos, 0, r), page).at(0).y, y) << r;
        for (int r = 1; r <= row.levels * row.replicates; ++r)
            EXPECT_EQ(surface.find(study.cell(StudyGrid::stgdatos, 0, r)).size(), 1u) << r;
        for (int p = 0; p < row.pages; ++p)
            EXPECT_EQ(surface.find(kTitle, p).size(), 1u) << "header on page " << p;
        ASSERT_EQ(surface.find(kMark).size(), 1u);
        EXPECT_EQ(surface.find(kMark, row.closingPage).at(0).y, row.markY);
        EXPECT_TRUE(surface.hasRule(row.markY + 100, row.closingPage));
    }
}

// A composition stopped by an error is abandoned; a calculation that fails begins nothing.
TEST(DeskJetPrint, StoppedCompositionIsAbandoned) {
    RecordingSurface surface;
    CalibrationStudy study = makeStudy(workedExample());
    study.setCell(StudyGrid::stgnivel, 3, 2, "");
    EXPECT_THROW(Uprint::printGeneralPage(surface, study, 3), Error);
    EXPECT_EQ(surface.count(Kind::abortDoc), 1);

    study.setText(StudyField::enivel, "1");  // one level: no line to fit
    RecordingSurface untouched;
    CalibrationResults record;
    EXPECT_THROW(Uprint::printDeskJetChoice(untouched, study, 1, 3, record), Error);
    EXPECT_TRUE(untouched.ops.empty());

    Uprint::printDeskJetChoice(surface, makeStudy(workedExample()), 0, 3, record);
    EXPECT_EQ(surface.ops.back().kind, Kind::endDoc);
}

}  // namespace
}  // namespace ldc
