#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StudyFixtures.h"
#include "calc/ResultsText.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

using testing::makeStudy;
using testing::workedExample;
using Lines = std::vector<std::string>;

class ResultsText : public ::testing::Test {
protected:
    void SetUp() override { setDecimalSeparator('.'); }
    void TearDown() override { setDecimalSeparator('.'); }

    static Lines linesFor(const testing::StudyOutline& outline) {
        CalibrationStudy study = makeStudy(outline);
        CalibrationResults results;
        LineList sink;
        calculateResults(study, results, sink);
        return sink.lines;
    }
};

Lines operator+(Lines head, const Lines& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// Lines 1 to 14 of the worked example, which every basis shares.
Lines statistics(const std::string& basis) {
    return Lines{"VARIABILIDAD \"" + basis + "\"", ""} + testing::workedExampleRegressionLines();
}

TEST_F(ResultsText, RegressionBasisGivesSeventeenLines) {
    const Lines expected =
        statistics("Regresión") + Lines{
                                      "LÍMITE DE DETECCIÓN \"Regresión\" = 0.448622 mg",
                                      "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1.35946 mg",
                                      "",
                                  };
    EXPECT_EQ(linesFor(workedExample("Regresión")), expected);
    EXPECT_EQ(expected.size(), 17u);
}

TEST_F(ResultsText, InterceptBasisAddsItsStandardDeviationFirst) {
    const Lines expected = statistics("Ordenada al Origen") +
                           Lines{
                               "DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0.118894",
                               "LÍMITE DE DETECCIÓN \"Ordenada al Origen\" = 0.395648 mg",
                               "LÍMITE DE CUANTIFICACIÓN \"Ordenada al Origen\" = 1.19893 mg",
                               "",
                           };
    EXPECT_EQ(linesFor(workedExample("Ordenada al Origen")), expected);
    EXPECT_EQ(expected.size(), 18u);
}

TEST_F(ResultsText, NoBasisGivesTheBlankLimits) {
    const Lines expected = statistics("") + Lines{
                                                "LÍMITE DE DETECCIÓN \"BLANCOS\" = 0 mg",
                                                "LÍMITE DE CUANTIFICACIÓN \"BLANCOS\" = 0 mg",
                                                "",
                                            };
    EXPECT_EQ(linesFor(workedExample("")), expected);
    EXPECT_EQ(expected.size(), 17u);
}

TEST_F(ResultsText, AnUnknownBasisStopsAfterTheStatistics) {
    for (const char* basis : {"regresión", "Ordenada al origen", " Regresión"})
        EXPECT_EQ(linesFor(workedExample(basis)), statistics(basis)) << basis;
}

TEST_F(ResultsText, LimitsCarryTheUnitsOfTheAddedAmount) {
    testing::StudyOutline outline = workedExample("Regresión");
    outline.addedUnits = "ppm";
    outline.recoveredUnits = "µg";
    const Lines lines = linesFor(outline);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[14], "LÍMITE DE DETECCIÓN \"Regresión\" = 0.448622 ppm");
    EXPECT_EQ(lines[15], "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1.35946 ppm");
}

TEST_F(ResultsText, ACommaLocaleReadsAndWritesCommas) {
    setDecimalSeparator(',');
    testing::StudyOutline outline = workedExample("Regresión");
    outline.results = {{"1,9", "2,1", "2,0"}, {"4,1", "3,9", "4,2"}, {"5,8", "6,1", "6,0"}};
    const Lines lines = linesFor(outline);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[2], "PENDIENTE = 0,991667");
    EXPECT_EQ(lines[8],
              "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA DE ORDENADA AL ORIGEN = -0,236692");
    EXPECT_EQ(lines[15], "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1,35946 mg");
}

TEST_F(ResultsText, AFailingCalculationWritesNoLine) {
    testing::StudyOutline outline = workedExample();
    outline.levelValues = {"1", "2"};
    outline.results = {{"1.1"}, {"3.3"}};
    CalibrationStudy study = makeStudy(outline);
    CalibrationResults results;
    LineList sink;
    try {
        calculateResults(study, results, sink);
        FAIL() << "two results cannot be calculated";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Floating point division by zero");
    }
    EXPECT_TRUE(sink.lines.empty());
}

TEST_F(ResultsText, LinesFollowTheRecordAsGiven) {
    CalibrationResults r;
    r.slope = 1234567;
    r.detectionLimit = 0.00004;
    r.quantificationLimit = 100;
    r.intercept = -0.0123456789;
    LineList sink;
    writeResultsLines("Regresión", r, "mg", sink);
    ASSERT_EQ(sink.lines.size(), 17u);
    EXPECT_EQ(sink.lines[2], "PENDIENTE = 1.23457E6");
    EXPECT_EQ(sink.lines[6], "ORDENADA AL ORIGEN = -0.0123457");
    EXPECT_EQ(sink.lines[14], "LÍMITE DE DETECCIÓN \"Regresión\" = 4E-5 mg");
    EXPECT_EQ(sink.lines[15], "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 100 mg");
}

}  // namespace
}  // namespace ldc
