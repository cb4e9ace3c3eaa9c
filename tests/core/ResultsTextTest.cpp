#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StudyFixtures.h"
#include "calc/ResultsText.h"

namespace ldc {
namespace {

using testing::workedExample;
using Lines = std::vector<std::string>;

Lines linesFor(const testing::StudyOutline& outline) {
    CalibrationResults results;
    LineList sink;
    calculateResults(testing::makeStudy(outline), results, sink);
    return sink.lines;
}

// Lines 1 to 14 of the worked example, which every basis shares.
Lines statisticsAnd(const std::string& basis, const Lines& tail) {
    Lines lines = {"VARIABILIDAD \"" + basis + "\"", ""};
    for (const Lines& part : {testing::workedExampleRegressionLines(), tail})
        lines.insert(lines.end(), part.begin(), part.end());
    return lines;
}

TEST(ResultsText, TheLimitLinesFollowTheBasis) {
    testing::StudyOutline regression = workedExample("Regresión");
    regression.addedUnits = "ppm";  // the limits are amounts added, not recovered
    regression.recoveredUnits = "µg";
    EXPECT_EQ(
        linesFor(regression),
        statisticsAnd("Regresión", {"LÍMITE DE DETECCIÓN \"Regresión\" = 0.448622 ppm",
                                    "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1.35946 ppm", ""}));
    EXPECT_EQ(linesFor(workedExample("Ordenada al Origen")),
              statisticsAnd("Ordenada al Origen",
                            {"DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0.118894",
                             "LÍMITE DE DETECCIÓN \"Ordenada al Origen\" = 0.395648 mg",
                             "LÍMITE DE CUANTIFICACIÓN \"Ordenada al Origen\" = 1.19893 mg", ""}));
    EXPECT_EQ(linesFor(workedExample("")),
              statisticsAnd("", {"LÍMITE DE DETECCIÓN \"BLANCOS\" = 0 mg",
                                 "LÍMITE DE CUANTIFICACIÓN \"BLANCOS\" = 0 mg", ""}));
    // The basis is compared exactly: any other text stops after the statistics.
    for (const char* basis : {"regresión", "Ordenada al origen"})
        EXPECT_EQ(linesFor(workedExample(basis)), statisticsAnd(basis, {})) << basis;
}

}  // namespace
}  // namespace ldc
