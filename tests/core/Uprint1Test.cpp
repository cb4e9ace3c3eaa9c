#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "PrintFixtures.h"
#include "RecordingSurface.h"
#include "StudyFixtures.h"
#include "calc/FormatGeneral.h"
#include "report/Uprint1.h"
#include "study/LdcError.h"
#include "study/Numbers.h"
#include "study/StudyLayout.h"

namespace ldc {
namespace {

using testing::expectPlaced;
using testing::makeStudy;
using testing::Placed;
using testing::RecordingSurface;
using testing::SurfaceOp;
using testing::uniformOutline;
using testing::workedExample;
using Kind = SurfaceOp::Kind;

const std::string kSignedBy = "Realizó:__________________________ ";
const std::string kCheckedBy = "Revisó:__________________________ ";

class LaserPage : public ::testing::Test {
protected:
    void SetUp() override { setDecimalSeparator('.'); }
    RecordingSurface surface;
};

// The header takes its grid from the printer: the lines follow the resolution, the centring
// the printable width; 921 is line 9 plus 21 pixels at 600 dpi.
TEST(LaserHeader, LinesCentredAndRuleFollowThePrinter) {
    struct Row {
        const char* name;
        int dpi, width;
        int organisationX, qualityX, titleX, rule;
    } rows[] = {
        // Widths at 12 points: organisation 36 characters, 1728 px; "Control de Calidad"
        // 864; title 47 characters, 2256.
        {"600 dpi", 600, 4800, 1536, 1968, 1272, 921},
        {"300 dpi halves the lines", 300, 2400, 336, 768, 72, 471},
        {"odd width truncates the half pixel", 600, 4801, 1536, 1968, 1272, 921},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingSurface surface(row.dpi, row.width);
        const PageGeometry page = Uprint1::printHeader(surface);
        const int line = row.dpi / 6;
        EXPECT_EQ(page.lineHeight, line);
        EXPECT_EQ(page.columnUnit, 12);
        EXPECT_EQ(surface.ops.front().kind, Kind::beginDoc);
        expectPlaced(surface,
                     {{"Laboratorio de Análisis Farmacéutico", row.organisationX, 5 * line},
                      {"Control de Calidad", row.qualityX, 6 * line},
                      {"Límite de Detección y Cuantificación del Método", row.titleX, 7 * line}});
        EXPECT_TRUE(surface.hasRule(row.rule, row.width));
        EXPECT_EQ(surface.first("Control de Calidad").pointSize, 12);
        EXPECT_TRUE(surface.inDocument());
    }
}

TEST_F(LaserPage, GeneralPageOfTheWorkedExample) {
    const CalibrationStudy study = makeStudy(workedExample());
    Uprint1::printGeneralPage(surface, study);

    // Body font 10: 40 px per character; S = 12, so 45S = 540, 125S = 1500.
    expectPlaced(surface, {
                              {"Información General", 2020, 1000},
                              {"Variabilidad", 540, 1200},
                              {"Regresión", 540, 1300},
                              {"Nombre del método: Valoración de prueba", 540, 1500},
                              {"Nombre del Analista: Analista", 540, 1600},
                              {"Fecha: 06/12/2026", 540, 1700},
                              {"Unidades de la cantidad adicionada: mg", 540, 1800},
                              {"Unidades de la cantidad recuperada: mg", 540, 1900},
                              {"Número de niveles de cantidad adicionada:", 540, 2200},
                              {"Valor >>", 540, 2600},
                              {"Replicación >>", 540, 2700},
                              {"Nivel 1", 1200, 2500},
                              {"Nivel 2", 1860, 2500},
                              {"Nivel 3", 2520, 2500},
                              {"mg", 1500, 3000},
                              {"Nivel 1 , Replica 1", 540, 3100},
                              {"1.9", 1500, 3100},
                              {"Nivel 3 , Replica 3", 540, 3900},
                              {"6.0", 1500, 3900},
                              {kSignedBy, 540, 5600},
                              {kCheckedBy, 2700, 5600},
                              {"QORVAL v.w. 3.1", 4200, 5800},
                          });
    EXPECT_EQ(surface.first("3").y, 2300);  // the level count, before the table's counts
    EXPECT_EQ(surface.first("Variabilidad").pointSize, 10);
    EXPECT_EQ(surface.first("Información General").fontName, "ARIAL");
    EXPECT_TRUE(surface.hasRule(5900, 4800));
    EXPECT_EQ(surface.count(Kind::newPage), 0);
    EXPECT_EQ(surface.count(Kind::endDoc), 1);
    EXPECT_EQ(surface.ops.back().kind, Kind::endDoc);
}

TEST_F(LaserPage, DataColumnZeroIsCompleteBeforeColumnOne) {
    Uprint1::printGeneralPage(surface, makeStudy(workedExample()));
    const auto texts = surface.texts();
    std::size_t lastLabel = 0, firstValue = texts.size();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].text.rfind("Nivel 3 , Replica 3", 0) == 0)
            lastLabel = i;
        if (texts[i].text == "1.9")
            firstValue = std::min(firstValue, i);
    }
    EXPECT_LT(lastLabel, firstValue);
}

// Up to five levels share one block; from six on a second block stands on lines 30 to 32,
// its level 6 five units left of level 1, and the data list moves down to 35L.
TEST_F(LaserPage, LevelTableBlocks) {
    struct Row {
        int levels;
        std::vector<Placed> expected;
        int dataHeadingY;
        int valueLabels;  // "Valor >>" printed once per block
    } rows[] = {
        {5, {{"Nivel 1", 1200, 2500}, {"Nivel 5", 3840, 2500}}, 3000, 1},
        {6, {{"Nivel 5", 3840, 2500}, {"Nivel 6", 1140, 3000}}, 3500, 2},
        {10,
         {{"Nivel 6", 1140, 3000},
          {"Nivel 7", 1800, 3000},
          {"Nivel 8", 2460, 3000},
          {"Nivel 9", 3120, 3000},
          {"Nivel 10", 3780, 3000}},
         3500,
         2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.levels);
        RecordingSurface surface;
        Uprint1::printGeneralPage(surface, makeStudy(uniformOutline(row.levels, 1)));
        expectPlaced(surface, row.expected);
        const auto valueLabels = surface.find("Valor >>");
        ASSERT_EQ(static_cast<int>(valueLabels.size()), row.valueLabels);
        EXPECT_EQ(valueLabels.back().x, 540);
        EXPECT_EQ(valueLabels.back().y, row.valueLabels == 1 ? 2600 : 3100);
        EXPECT_EQ(surface.first("Nivel 1 , Replica 1").y, row.dataHeadingY + 100);
        EXPECT_EQ(surface.first("mg").y, row.dataHeadingY);
    }
}

struct LimitCase {
    const char* basis;
    int interceptStdDevY;  // 0: not printed
    int detectionY;
    std::string detection;
    std::string quantification;
};

TEST_F(LaserPage, ResultsPageLimitLinesFollowTheBasis) {
    const LimitCase cases[] = {
        {"Regresión", 0, 2800, "Límite de Detección \"Regresión\" = 0.448622 mg",
         "Límite de Cuantificación \"Regresión\" = 1.35946 mg"},
        {"Ordenada al Origen", 2800, 3000,
         "Límite de Detección \"Ordenada al Origen\" = 0.395648 mg",
         "Límite de Cuantificación \"Ordenada al Origen\" = 1.19893 mg"},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.basis);
        RecordingSurface surface;
        const CalibrationStudy study = makeStudy(workedExample(c.basis));
        CalibrationResults record;
        Uprint1::printLaserChoice(surface, study, 1, record);
        expectPlaced(surface, {{c.detection, 540, c.detectionY},
                               {c.quantification, 540, c.detectionY + 100}});
        const auto sd = surface.find("Desviación Estándar de Ordenada al Origen = 0.118894");
        EXPECT_EQ(sd.size(), c.interceptStdDevY ? 1u : 0u);
        if (!sd.empty()) {
            EXPECT_EQ(sd.front().y, c.interceptStdDevY);
        }
    }
}

TEST_F(LaserPage, ResultsPageOfTheWorkedExample) {
    const CalibrationStudy study = makeStudy(workedExample());
    CalibrationResults record;
    Uprint1::printLaserChoice(surface, study, 1, record);
    expectPlaced(surface,
                 {
                     {"Variabilidad", 540, 1300},
                     {"Regresión", 540, 1400},
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
                     {"Nombre del Analista: Analista", 540, 4600},
                     {"Unidades de la cantidad adicionada: mg", 540, 4700},
                     {"Unidades de la cantidad recuperada: mg", 540, 4800},
                     {"Fecha: 06/12/2026", 540, 4900},
                     {kSignedBy, 540, 5600},
                     {kCheckedBy, 2700, 5600},
                     {"QORVAL v.w. 3.1", 4200, 5800},
                 });
    EXPECT_TRUE(surface.hasRule(5900, 4800));
    EXPECT_EQ(formatGeneral(record.slope), "0.991667");  // the unit's record was calculated
    EXPECT_EQ(surface.ops.back().kind, Kind::endDoc);
}

// A basis the calculation does not know still gets its limit lines, with the values the
// record holds and the text between the quotes.
TEST_F(LaserPage, UnknownBasisStillPrintsTheLimitsTheRecordHolds) {
    CalibrationStudy study = makeStudy(workedExample("regresión"));
    CalibrationResults record;
    record.detectionLimit = 0.00004;
    record.quantificationLimit = 1234567;
    Uprint1::printResultsPage(surface, study, record);
    expectPlaced(surface, {{"Límite de Detección \"regresión\" = 4E-5 mg", 540, 2800},
                           {"Límite de Cuantificación \"regresión\" = 1.23457E6 mg", 540, 2900}});
}

TEST_F(LaserPage, NumbersTakeTheDecimalSeparator) {
    const CalibrationStudy study = makeStudy(workedExample());
    CalibrationResults record;
    ComputeCalibration(study, record);
    setDecimalSeparator(',');
    Uprint1::printResultsPage(surface, study, record);
    EXPECT_EQ(surface.first("Pendiente = 0,991667").y, 1600);
    setDecimalSeparator('.');
}

TEST_F(LaserPage, ChoiceOutsideTheTwoPagesPrintsNothing) {
    CalibrationResults record;
    Uprint1::printLaserChoice(surface, makeStudy(workedExample()), -1, record);
    EXPECT_TRUE(surface.ops.empty());
    Uprint1::printLaserChoice(surface, makeStudy(workedExample()), 0, record);
    EXPECT_EQ(surface.first("Información General").y, 1000);
    EXPECT_EQ(record.slope, 0.0);  // the general page calculates nothing
}

// Rows that do not fit above the signature lines go on over further pages, each with the
// header, the heading row again at 11L, and its own signature lines and footer.
TEST_F(LaserPage, LongDataListsContinueOnFurtherPages) {
    struct Row {
        const char* name;
        int levels, replicates;
        int pages;
        std::vector<std::tuple<int, int, int>> rowPlaces;  // data row, page, y
    } rows[] = {
        {"25 rows fit", 5, 5, 1, {{1, 0, 3100}, {25, 0, 5500}}},
        {"26 rows", 2, 13, 2, {{25, 0, 5500}, {26, 1, 1200}}},
        {"20 rows under two level blocks fit", 10, 2, 1, {{20, 0, 5500}}},
        {"21 rows under two level blocks", 7, 3, 2, {{20, 0, 5500}, {21, 1, 1200}}},
        {"40 rows", 2, 20, 2, {{1, 0, 3100}, {25, 0, 5500}, {26, 1, 1200}, {40, 1, 2600}}},
        {"120 rows",
         4,
         30,
         4,
         {{25, 0, 5500},
          {26, 1, 1200},
          {69, 1, 5500},
          {70, 2, 1200},
          {113, 2, 5500},
          {114, 3, 1200},
          {120, 3, 1800}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingSurface surface;
        const CalibrationStudy study = makeStudy(uniformOutline(row.levels, row.replicates));
        Uprint1::printGeneralPage(surface, study);
        EXPECT_EQ(surface.count(Kind::newPage), row.pages - 1);
        EXPECT_EQ(surface.count(Kind::endDoc), 1);

        for (const auto& [r, page, y] : row.rowPlaces) {
            const std::string label = study.cell(StudyGrid::stgdatos, 0, r);
            const auto found = surface.find(label);
            ASSERT_EQ(found.size(), 1u) << label;
            EXPECT_EQ(found[0].page, page) << label;
            EXPECT_EQ(found[0].y, y) << label;
            EXPECT_EQ(surface.find(study.cell(StudyGrid::stgdatos, 1, r)).empty(), false);
        }
        // Every row printed once, none at or below the signature lines.
        const int n = row.levels * row.replicates;
        int labels = 0;
        for (const SurfaceOp& op : surface.texts()) {
            if (op.text.find(" , Replica ") != std::string::npos) {
                ++labels;
                EXPECT_LE(op.y, 5500) << op.text;
            }
        }
        EXPECT_EQ(labels, n);

        for (int p = 0; p < row.pages; ++p) {
            SCOPED_TRACE(p);
            const auto texts = surface.textsOnPage(p);
            auto on = [&](const std::string& text, int y) {
                return std::count_if(texts.begin(), texts.end(), [&](const SurfaceOp& op) {
                    return op.text == text && op.y == y;
                });
            };
            EXPECT_EQ(on("Control de Calidad", 600), 1);
            EXPECT_EQ(on(kSignedBy, 5600), 1);
            EXPECT_EQ(on("QORVAL v.w. 3.1", 5800), 1);
            EXPECT_TRUE(surface.hasRule(921, 4800, p));
            EXPECT_TRUE(surface.hasRule(5900, 4800, p));
            if (p > 0) {
                EXPECT_EQ(on("mg", 1100), 1);  // heading row repeated
                for (const SurfaceOp& op : texts)
                    if (op.text == "Variabilidad")
                        ADD_FAILURE() << "general information repeated on page " << p;
                for (const SurfaceOp& op : texts) {
                    if (op.text == "Control de Calidad") {
                        EXPECT_EQ(op.pointSize, 12);
                    }
                    if (op.text == "mg") {
                        EXPECT_EQ(op.pointSize, 10);
                    }
                }
            }
        }
    }
}

// A composition that stops on an error leaves nothing to print and the printer free.
TEST_F(LaserPage, CompositionStoppedByAnErrorIsAbandoned) {
    struct Row {
        const char* name;
        std::function<void(CalibrationStudy&)> spoil;
        std::string message;
    } rows[] = {
        {"level count", [](CalibrationStudy& s) { s.setText(StudyField::enivel, "tres"); },
         "'tres' is not a valid integer value"},
        {"replicate count",
         [](CalibrationStudy& s) { s.setCell(StudyGrid::stgnivel, 2, 2, "2,5"); },
         "'2,5' is not a valid integer value"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingSurface surface;
        CalibrationStudy study = makeStudy(workedExample());
        row.spoil(study);
        try {
            Uprint1::printGeneralPage(surface, study);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), row.message);
        }
        EXPECT_EQ(surface.count(Kind::abortDoc), 1);
        EXPECT_EQ(surface.count(Kind::endDoc), 0);
        EXPECT_FALSE(surface.inDocument());

        surface.clear();
        Uprint1::printGeneralPage(surface, makeStudy(workedExample()));
        EXPECT_EQ(surface.ops.front().kind, Kind::beginDoc);
        EXPECT_EQ(surface.ops.back().kind, Kind::endDoc);
    }
}

TEST_F(LaserPage, FailingCalculationBeginsNoDocument) {
    // Two levels with one result each: no degrees of freedom left.
    testing::StudyOutline outline;
    outline.levelValues = {"1", "2"};
    outline.results = {{"1.0"}, {"2.1"}};
    CalibrationResults record;
    EXPECT_THROW(Uprint1::printLaserChoice(surface, makeStudy(outline), 1, record), Error);
    EXPECT_TRUE(surface.ops.empty());

    Uprint1::printLaserChoice(surface, makeStudy(workedExample()), 1, record);
    EXPECT_EQ(surface.count(Kind::beginDoc), 1);
    EXPECT_EQ(surface.count(Kind::endDoc), 1);
}

TEST_F(LaserPage, PrinterFailingMidPageAbandonsTheDocument) {
    surface.failOnText = "Pendiente = 0.991667";
    CalibrationResults record;
    EXPECT_THROW(Uprint1::printLaserChoice(surface, makeStudy(workedExample()), 1, record), Error);
    EXPECT_EQ(surface.count(Kind::abortDoc), 1);
    EXPECT_EQ(surface.count(Kind::endDoc), 0);
    EXPECT_FALSE(surface.inDocument());
}

}  // namespace
}  // namespace ldc
