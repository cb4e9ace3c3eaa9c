#include <gtest/gtest.h>

#include <cmath>

#include "RecordingSurface.h"
#include "StudyFixtures.h"
#include "calc/CalibrationPlot.h"
#include "report/ValidationPage.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

using namespace testing;
using Kind = RecordingSurface::Kind;

std::vector<LevelResults> levelsOf(const StudyOutline& outline) {
    return validationInputs(makeStudy(outline)).levels;
}

// The textbook bands, ŷ ± t·s·√(1/N + (x − x̄)²/Q_x) and ± t·s·√(1 + 1/N + (x − x̄)²/Q_x), from
// plain sums and t(7; 0.975) = qt(0.975, 7) = 2.364624251592785 as R gives it.
TEST(CalibrationBands, MatchTheTextbookFormulaAndNeedALine) {
    const std::vector<LevelResults> levels = levelsOf(workedExample());
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0, syy = 0;
    for (const auto& level : levels)
        for (const long double y : level.recovered) {
            const double x = double(level.added), v = double(y);
            n += 1, sx += x, sy += v, sxx += x * x, sxy += x * v, syy += v * v;
        }
    const double qx = sxx - sx * sx / n, b = (sxy - sx * sy / n) / qx, a = (sy - b * sx) / n;
    const double s = std::sqrt((syy - sy * sy / n - b * b * qx) / (n - 2)), t = 2.364624251592785;
    const std::vector<BandPoint> band = calibrationBands(levels, 0, 8, 5);
    ASSERT_EQ(band.size(), 5u);
    for (const BandPoint& p : band) {
        const double spread = 1 / n + (p.x - sx / n) * (p.x - sx / n) / qx;
        const double fitted = a + b * p.x, ci = t * s * std::sqrt(spread),
                     pi = t * s * std::sqrt(1 + spread);
        EXPECT_NEAR(p.fitted, fitted, 1e-12) << p.x;
        EXPECT_NEAR(p.confidenceUpper, fitted + ci, 1e-12) << p.x;
        EXPECT_NEAR(p.confidenceLower, fitted - ci, 1e-12) << p.x;
        EXPECT_NEAR(p.predictionUpper, fitted + pi, 1e-12) << p.x;
        EXPECT_NEAR(p.predictionLower, fitted - pi, 1e-12) << p.x;
    }
    StudyOutline flat = workedExample();
    flat.levelValues = {"3", "3", "3"};
    EXPECT_TRUE(calibrationBands(levelsOf(flat), 0, 8, 5).empty()) << "one added amount";
    flat.results = {{"1"}, {"2"}, {}};
    EXPECT_TRUE(calibrationBands(levelsOf(flat), 0, 8, 5).empty()) << "two results";
}

// Title, identity, parameters, both plots and every approach; a long study goes on over
// pages, each headed and marked, nothing drawn outside the page or below the mark.
TEST(ValidationPage, ComposesEverythingInsideThePages) {
    const struct {
        StudyOutline outline;
        std::size_t pages, dots;  // in both plots, results on one another once; the legend's
    } rows[] = {
        {workedExample(), 2, 19}, {uniformOutline(4, 30), 5, 81}, {uniformOutline(2, 1), 2, 3}};
    for (const auto& row : rows) {
        RecordingSurface surface;
        printValidationPage(surface, makeStudy(row.outline), ValidationParameters{});
        ASSERT_EQ(surface.ops.back().kind, Kind::endDoc);
        EXPECT_EQ(surface.count(Kind::beginDoc), 1u);
        EXPECT_EQ(surface.count(Kind::newPage) + 1, row.pages);
        for (const char* text : {"Nombre del método: Valoración de prueba", "Fecha: 06/12/2026",
                                 "Unidades de la cantidad recuperada: mg"})
            EXPECT_EQ(surface.find(text, 0).size(), 1u) << text;
        for (const char* text : {kApproachResidual, kApproachIntercept, kApproachBlanks,
                                 kApproachDin, "Cantidad recuperada (mg)", "Residuo (mg)",
                                 "Parámetros: α = 0.01; β = 0.01; k = 3; m = 1"})
            EXPECT_EQ(surface.find(text).size(), 1u) << text;
        EXPECT_EQ(surface.find("Cantidad adicionada (mg)").size(), 2u) << "under both plots";
        EXPECT_EQ(surface.count(Kind::marker), row.dots);
        for (std::size_t page = 0; page < row.pages; ++page) {
            EXPECT_TRUE(surface.placed(kValidationTitle, 1872, 700, page)) << page;
            const int markY = surface.find("QORVAL v.w. 3.1", page).at(0).y;
            for (const auto& op : surface.ops) {
                const int right =
                    op.x + 4 * op.points *
                               std::count_if(op.text.begin(), op.text.end(),
                                             [](unsigned char c) { return (c & 0xC0) != 0x80; });
                const bool foot = op.text == "rule" || op.text == "QORVAL v.w. 3.1" ||
                                  (op.kind == Kind::moveTo && op.x == 0);
                EXPECT_TRUE(op.page != int(page) || foot ||
                            (op.x >= 0 && right <= 4800 && op.y >= 0 && op.y < markY))
                    << op.text << " at " << op.x << ", " << op.y << " page " << page;
            }
        }
        EXPECT_EQ(surface.find("Residuos (continuación)").size(), row.pages - 2);
    }
    RecordingSurface surface;
    printValidationPage(surface, makeStudy(workedExample()), ValidationParameters{});
    for (const PenStyle pen : {PenStyle::dashed, PenStyle::dotted})
        EXPECT_TRUE(std::any_of(surface.ops.begin(), surface.ops.end(),
                                [&](auto& op) { return op.text == "line" && op.pen == pen; }));
    EXPECT_EQ(surface.find("0.448622").size(), 1u) << "ICH residual detection limit";
    StudyOutline withBlanks = workedExample();
    withBlanks.blanks = {"0.11", "0.14", "0.09"};
    RecordingSurface blanks;
    printValidationPage(blanks, makeStudy(withBlanks), {});
    for (const char* text : {"Lecturas de blancos (mg)", "Blanco 2", "0.14",
                             "Desviación estándar (n = 3)", "0.0837461"})
        EXPECT_EQ(blanks.find(text).size(), 1u) << text << ": the readings behind the limits";
    setDecimalSeparator(',');
    RecordingSurface comma;
    printValidationPage(comma, makeStudy(workedExample()), {0.05, 0.01, 3, 2});
    setDecimalSeparator('.');
    EXPECT_EQ(comma.find("Parámetros: α = 0,05; β = 0,01; k = 3; m = 2").size(), 1u);
    EXPECT_EQ(comma.find("0,448622").size(), 1u);
}

// A study whose values do not convert begins no document; a printer failing mid-page
// abandons the one begun.
TEST(ValidationPage, StopsCleanly) {
    RecordingSurface surface;
    CalibrationStudy study = makeStudy(workedExample());
    study.setText(StudyField::levelCount, "tres");
    EXPECT_THROW(printValidationPage(surface, study, {}), Error);
    EXPECT_TRUE(surface.ops.empty());
    surface.failOnText = "Curva de calibración";
    EXPECT_THROW(printValidationPage(surface, makeStudy(workedExample()), {}), Error);
    EXPECT_EQ(surface.ops.back().kind, Kind::abortDoc);
}

}  // namespace
}  // namespace ldc
