#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "StudyFixtures.h"
#include "calc/FormatGeneral.h"
#include "calc/Ucalculo.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

using testing::makeStudy;
using testing::workedExample;
using O = testing::StudyOutline;
using G = StudyGrid;
using R = CalibrationResults;

// The record's fields in the order the calculation writes them; the last two are the limits.
// clang-format off
constexpr double R::*kWriteOrder[] = {
    &R::slope, &R::residualStdDev, &R::slopeUpper, &R::slopeLower, &R::variationCoefficient,
    &R::determinationCoefficient, &R::interceptStdDev, &R::intercept, &R::interceptUpper,
    &R::interceptLower, &R::detectionLimit, &R::quantificationLimit};
// clang-format on
constexpr int kBeforeLimits = 10;
constexpr double kUntouched = 777.0;

R calculate(const O& outline) {
    R r;
    ComputeCalibration(makeStudy(outline), r);
    return r;
}

// The calculation must fail with `message` having written only the first `fieldsWritten`
// fields of kWriteOrder.
void expectFault(const StudyDocument& study, const char* message, int fieldsWritten,
                 const char* fault) {
    R r;
    for (auto field : kWriteOrder)
        r.*field = kUntouched;
    try {
        ComputeCalibration(study, r);
        ADD_FAILURE() << fault << ": no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), message) << fault;
    }
    for (int i = 0; i < static_cast<int>(std::size(kWriteOrder)); ++i)
        EXPECT_EQ(r.*kWriteOrder[i] != kUntouched, i < fieldsWritten) << fault << ' ' << i;
}

TEST(Calculation, WorkedExampleWithBothBases) {
    const char* statistics[kBeforeLimits] = {"0.991667", "0.134813", "1.05674",  "0.926596",
                                             "3.36099",  "0.994639", "0.118894", "0.0444444",
                                             "0.325581", "-0.236692"};
    const R intercept = calculate(workedExample("Ordenada al Origen"));
    const R regression = calculate(workedExample("Regresión"));
    for (int i = 0; i < kBeforeLimits; ++i) {
        EXPECT_EQ(formatGeneral(regression.*kWriteOrder[i]), statistics[i]) << i;
        EXPECT_EQ(intercept.*kWriteOrder[i], regression.*kWriteOrder[i]) << i;
    }
    EXPECT_EQ(formatGeneral(calibrationWork().slopeStdDev), "0.0275186");
    EXPECT_EQ(calibrationWork().observationCount, 9);
    EXPECT_EQ(calibrationWork().degreesOfFreedom, 7);
    EXPECT_EQ(formatGeneral(regression.detectionLimit), "0.448622");
    EXPECT_EQ(formatGeneral(regression.quantificationLimit), "1.35946");
    EXPECT_EQ(formatGeneral(intercept.detectionLimit), "0.395648");
    EXPECT_EQ(formatGeneral(intercept.quantificationLimit), "1.19893");
}

// Values worked out by a separate model of the arithmetic (each operation rounded to a 64-bit
// mantissa). A near-perfect line far from the origin: the residual sum of squares is the
// difference of numbers twelve digits larger; double intermediates would give 0.00145702.
TEST(Calculation, ExtendedIntermediatesDecideTheSixthDigit) {
    const R r = calculate(
        O{{"10", "20", "30"},
          {{"1000.000", "1000.003"}, {"2000.002", "2000.003"}, {"3000.001", "3000.000"}}});
    EXPECT_EQ(formatGeneral(r.residualStdDev), "0.00145716");
    EXPECT_EQ(r.residualStdDev, 0x1.7dfca159a3b8bp-10);
    // The factor 3.3 is the extended value nearest to it, not the double.
    O scattered{{"15", "18", "15"}, {{"14.93", "15.53"}, {"17.44", "18.55"}, {"14.96", "15.17"}}};
    scattered.basis = "Ordenada al Origen";
    EXPECT_EQ(calculate(scattered).detectionLimit, 0x1.da4ca200f1b73p+2);
}

TEST(Calculation, TheSameStudyTwiceGivesIdenticalRecords) {
    const R first = calculate(workedExample());
    calculate(O{{"1", "5"}, {{"0.9", "1.2"}, {"5.3", "4.8"}}});  // leaves its sums behind
    const R second = calculate(workedExample());
    for (auto field : kWriteOrder)
        EXPECT_EQ(second.*field, first.*field);
}

// y = x exactly only when every result meets its own level's x; the empty level at 5 must
// neither count nor take a data row.
TEST(Calculation, EachResultMeetsItsLevelAndAnEmptyLevelMovesNoRows) {
    const R r = calculate(O{{"1", "5", "2", "4"}, {{"1"}, {}, {"2", "2", "2"}, {"4", "4"}}});
    EXPECT_EQ(r.slope, 1.0);
    EXPECT_EQ(r.intercept, 0.0);
    EXPECT_EQ(r.residualStdDev, 0.0);
    EXPECT_EQ(calibrationWork().observationCount, 6);
    EXPECT_EQ(calibrationWork().sumX, 1 + 3 * 2 + 2 * 4);
}

// Without a known basis the limits are the blank standard deviation's (nothing sets it, so
// 0), never what an earlier study left in the record; the statistics are unchanged.
TEST(Calculation, AnUnknownBasisGivesBlankLimitsNotLeftovers) {
    const R regression = calculate(workedExample("Regresión"));
    for (const char* basis : {"", "regresión", "Regresión "}) {
        R r = regression;
        ComputeCalibration(makeStudy(workedExample(basis)), r);
        EXPECT_EQ(r.detectionLimit, 0) << '"' << basis << '"';
        EXPECT_EQ(r.quantificationLimit, 0) << '"' << basis << '"';
        for (int i = 0; i < kBeforeLimits; ++i)
            EXPECT_EQ(r.*kWriteOrder[i], regression.*kWriteOrder[i]) << basis << i;
    }
}

TEST(Calculation, DegreesOfFreedomPickTheirTableEntry) {
    // df = N - 2; beyond the table's 324 entries the last band's value holds.
    const std::pair<int, double> rows[] = {{5, 3.1825}, {326, 1.9719}, {327, 1.9719}};
    for (const auto& [results, t] : rows) {
        O s{{"1", "2", "3"}, {{}, {}, {}}};
        for (int i = 0; i < results; ++i)
            s.results[i % 3].push_back(integerText(10 * (i % 3 + 1) + i % 7) + ".5");
        const R r = calculate(s);
        const long double spread = static_cast<long double>(t) * calibrationWork().slopeStdDev;
        EXPECT_EQ(r.slopeUpper, static_cast<double>(spread + r.slope)) << results;
        EXPECT_EQ(r.slopeLower, static_cast<double>(r.slope - spread)) << results;
    }
}

TEST(Calculation, AConversionErrorNamesTheFirstBadCellAndWritesNoField) {
    const struct {
        const char* fault;
        void (*spoil)(CalibrationStudy&);
        const char* message;
    } rows[] = {
        {"recovered amount", [](CalibrationStudy& s) { s.setCell(G::stgdatos, 1, 5, "abc"); },
         "'abc' is not a valid floating point value"},
        {"level value", [](CalibrationStudy& s) { s.setCell(G::stgnivel, 2, 1, "x"); },
         "'x' is not a valid floating point value"},
        {"level count", [](CalibrationStudy& s) { s.setText(StudyField::enivel, "x"); },
         "'x' is not a valid integer value"},
        {"replicate count", [](CalibrationStudy& s) { s.setCell(G::stgnivel, 3, 2, "2.5"); },
         "'2.5' is not a valid integer value"},
        {"a level's results are read before its value",
         [](CalibrationStudy& s) {
             s.setCell(G::stgnivel, 2, 1, "x2");
             s.setCell(G::stgdatos, 1, 4, "y4");
         },
         "'y4' is not a valid floating point value"},
        {"level 1's results come before level 2's count",
         [](CalibrationStudy& s) {
             s.setCell(G::stgdatos, 1, 3, "y3");
             s.setCell(G::stgnivel, 2, 2, "n2");
         },
         "'y3' is not a valid floating point value"},
        {"more replicates than data rows",
         [](CalibrationStudy& s) { s.setCell(G::stgnivel, 3, 2, "4"); },
         "'' is not a valid floating point value"},
    };
    for (const auto& row : rows) {
        CalibrationStudy study = makeStudy(workedExample());
        row.spoil(study);
        expectFault(study, row.message, 0, row.fault);
    }
}

TEST(Calculation, AnArithmeticFaultStopsAtItsStepAndKeepsWhatCameBefore) {
    const char* const invalid = "Invalid floating point operation";
    const char* const byZero = "Floating point division by zero";
    const char* const overflow = "Floating point overflow";
    struct Row {
        const char* fault;
        O study;
        const char* message;
        int fieldsWritten;  // leading entries of kWriteOrder
    };
    const Row rows[] = {
        {"every level at the same value: 0/0 at the slope",
         O{{"2", "2", "2"}, {{"1.9", "2.1"}, {"4.1", "3.9"}, {"5.8"}}}, invalid, 0},
        {"N = 2 on an exact line: 0/0 degrees of freedom", O{{"1", "2"}, {{"1"}, {"3"}}}, invalid,
         1},
        {"N = 2, residue of rounding: x/0 degrees of freedom", O{{"1", "2"}, {{"1.1"}, {"3.3"}}},
         byZero, 1},
        {"residual sum rounds below zero", O{{"1", "2", "3"}, {{"0.3"}, {"0.6"}, {"0.9"}}}, invalid,
         1},
        {"recovered amounts summing to zero", O{{"1", "2", "3"}, {{"-2"}, {"1"}, {"1"}}}, byZero,
         4},
        {"every recovered amount equal: 0/0 in the determination",
         O{{"1", "2", "3"}, {{"5"}, {"5"}, {"5"}}}, invalid, 5},
        {"slope exactly zero: first limit",
         O{{"1", "2", "3"}, {{"1", "3"}, {"2", "2"}, {"3", "1"}}}, byZero, 6},
        {"huge amounts overflow their sum of squares",
         O{{"1", "2", "3"}, {{"1e300"}, {"2e300"}, {"3e300"}}}, overflow, 0},
        {"huge coefficient of variation",
         O{{"1", "2", "3"}, {{"10000000000"}, {"-10000000000"}, {"1e-300"}}}, overflow, 4},
    };
    for (const Row& row : rows)
        expectFault(makeStudy(row.study), row.message, row.fieldsWritten, row.fault);
}

}  // namespace
}  // namespace ldc
