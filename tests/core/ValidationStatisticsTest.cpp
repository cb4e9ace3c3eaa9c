#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "StudyFixtures.h"
#include "calc/Ucalculo.h"
#include "calc/ValidationStatistics.h"

namespace ldc {
namespace {

using Levels = std::vector<LevelResults>;

// A reference data set (columns y,x), results with the same x gathered into one level in
// the order they first appear.
Levels readReference(const std::string& name) {
    std::ifstream in(std::string(LDC_REFERENCE_DIR) + "/" + name);
    Levels levels;
    std::string line;
    std::getline(in, line);
    for (long double y, x; std::getline(in, line);) {
        const auto comma = line.find(',');
        y = std::stold(line.substr(0, comma));
        x = std::stold(line.substr(comma + 1));
        auto it = std::find_if(levels.begin(), levels.end(), [&](auto& l) { return l.added == x; });
        (it == levels.end() ? levels.emplace_back(LevelResults{x, {}}) : *it)
            .recovered.push_back(y);
    }
    return levels;
}

void expectRelative(std::optional<double> actual, double expected, double tolerance) {
    ASSERT_TRUE(actual.has_value());
    EXPECT_NEAR(*actual, expected, std::fabs(expected) * tolerance);
}

// NIST StRD "Norris": certified values of the straight-line fit.
TEST(ValidationStatistics, NorrisCertifiedFit) {
    const ValidationStatistics v = computeValidationStatistics(readReference("norris.csv"));
    EXPECT_EQ(v.results, 36);
    expectRelative(v.slope, 1.00211681802045, 1e-12);
    expectRelative(v.intercept, -0.262323073774029, 1e-10);
    expectRelative(v.slopeStdDev, 0.429796848199937E-03, 1e-10);
    expectRelative(v.interceptStdDev, 0.232818234301152, 1e-10);
    expectRelative(v.residualStdDev, 0.884796396144373, 1e-10);
    expectRelative(v.determination, 0.999993745883712, 1e-12);
}

// NIST StRD "Pontius" (20 loads measured twice): the straight line's residual SD and
// lack-of-fit F from the NIST/SEMATECH e-Handbook, section 4.6.1; the quadratic's certified
// residual SD, which Mandel's test compares with. The handbook's figures agree with an exact
// rational computation (s = 0.00217127260, F = 214.74692) to about 1e-6.
TEST(ValidationStatistics, PontiusLackOfFitAndQuadratic) {
    const ValidationStatistics v = computeValidationStatistics(readReference("pontius.csv"));
    EXPECT_EQ(v.levels, 20);
    expectRelative(v.residualStdDev, 0.0021712694, 1e-5);
    ASSERT_TRUE(v.lackOfFit && v.mandel);
    EXPECT_NEAR(v.lackOfFit->f, 214.7464, 214.7464 * 1e-5);
    EXPECT_EQ(v.lackOfFit->numeratorDf, 18);
    EXPECT_EQ(v.lackOfFit->denominatorDf, 20);
    EXPECT_LT(v.lackOfFit->p, 1e-15);
    EXPECT_NEAR(v.mandel->quadraticResidualStdDev, 0.205177424076185E-03, 0.2052E-03 * 1e-9);
    EXPECT_GT(v.mandel->pw, v.mandel->critical99);
}

// DIN 32645's example of the calibration method (α = β = 0.01, k = 3, m = 1), with the
// limits at the rounding the standard prints: x_NG 0.07, x_EG 0.14, x_BG 0.212.
TEST(ValidationStatistics, Din32645Example) {
    const double signals[] = {3060, 3522, 3707, 4280, 5058, 5510, 5703, 6205, 7156, 7178};
    Levels levels;
    for (int i = 0; i < 10; ++i)
        levels.push_back({0.05L * (i + 1), {signals[i]}});
    const CalibrationMethodLimits din = computeValidationStatistics(levels).din32645;
    ASSERT_TRUE(din.decision && din.detection && din.quantification && din.criticalSignal);
    EXPECT_NEAR(*din.decision, 0.07, 0.005);
    EXPECT_NEAR(*din.detection, 0.14, 0.005);
    EXPECT_NEAR(*din.quantification, 0.212, 0.0005);
}

// The ICH limits are the results window's "Regresión" and "Ordenada al Origen" figures.
TEST(ValidationStatistics, IchLimitsAreTheCalculationsOnTheWorkedExample) {
    for (const char* basis : {"Regresión", "Ordenada al Origen"}) {
        const CalibrationStudy study = testing::makeStudy(testing::workedExample(basis));
        CalibrationResults r;
        ComputeCalibration(study, r);
        const ValidationStatistics v = computeValidationStatistics(studyLevelResults(study));
        const LimitPair& ich = std::string(basis) == "Regresión" ? v.ichRegression : v.ichIntercept;
        expectRelative(ich.detection, r.detectionLimit, 1e-12);
        expectRelative(ich.quantification, r.quantificationLimit, 1e-12);
        EXPECT_EQ(v.residuals.size(), 9u);
        EXPECT_EQ(v.perLevel.size(), 3u);
        // Three levels of three: both tests against F(1, 6) at 99 %, 13.745 in the F tables.
        ASSERT_TRUE(v.lackOfFit && v.mandel);
        EXPECT_NEAR(v.lackOfFit->critical99, 13.745, 0.0005);
        EXPECT_EQ(v.lackOfFit->critical99, v.mandel->critical99);
    }
}

// Each degenerate study names what cannot be computed and leaves it empty, never NaN.
TEST(ValidationStatistics, DegenerateInputsGiveReasonsAndEmptyFigures) {
    using V = ValidationStatistics;
    struct Row {
        Levels levels;
        std::optional<BlankSummary> blanks;
        const char* reason;
        bool (*computed)(const V&);
    } rows[] = {
        {{{1, {1.0L}}, {2, {2.0L}}},
         {},
         "menos de tres resultados",
         [](const V& v) { return v.slope.has_value(); }},
        {{{2, {1.0L, 2.0L, 3.0L}}},
         {},
         "misma cantidad adicionada",
         [](const V& v) { return v.slope.has_value(); }},
        {{{1, {5.0L, 6.0L}}, {2, {4.0L, 7.0L}}, {3, {5.0L, 6.0L}}},
         {},
         "pendiente es cero",
         [](const V& v) { return v.ichRegression.detection || v.din32645.decision; }},
        {{{0, {1.0L, 1.0L}}, {1, {2.0L, 2.0L}}, {2, {2.5L, 2.5L}}},
         {},
         "error puro cero",
         [](const V& v) { return v.lackOfFit.has_value(); }},
        {{{1, {1.0L}}, {2, {2.1L}}, {3, {2.9L}}},
         BlankSummary{0.1, 1},
         "dos lecturas de blancos",
         [](const V& v) { return v.ichBlank.has_value(); }},
    };
    for (const Row& row : rows) {
        const V v = computeValidationStatistics(row.levels, {}, row.blanks);
        SCOPED_TRACE(row.reason);
        EXPECT_TRUE(std::any_of(v.warnings.begin(), v.warnings.end(), [&](const std::string& w) {
            return w.find(row.reason) != std::string::npos;
        }));
        EXPECT_FALSE(row.computed(v));
        for (const auto& e : v.relativeErrorPct)
            EXPECT_TRUE(!e || std::isfinite(*e));
    }
    const ValidationStatistics zero = computeValidationStatistics(rows[3].levels);
    EXPECT_FALSE(zero.relativeErrorPct[0] || zero.perLevel[0].recoveryPct);
}

}  // namespace
}  // namespace ldc
