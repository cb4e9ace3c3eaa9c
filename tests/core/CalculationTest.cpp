#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StudyFixtures.h"
#include "calc/FormatGeneral.h"
#include "calc/Ucalculo.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

using testing::makeStudy;
using testing::StudyOutline;
using testing::workedExample;
using G = StudyGrid;
using R = CalibrationResults;

struct Field {
    const char* name;
    double R::*member;
};

// The record's fields in the order the calculation writes them; blankStdDev is never
// written.
constexpr Field kWriteOrder[] = {
    {"slope", &R::slope},
    {"residualStdDev", &R::residualStdDev},
    {"slopeUpper", &R::slopeUpper},
    {"slopeLower", &R::slopeLower},
    {"variationCoefficient", &R::variationCoefficient},
    {"determinationCoefficient", &R::determinationCoefficient},
    {"interceptStdDev", &R::interceptStdDev},
    {"intercept", &R::intercept},
    {"interceptUpper", &R::interceptUpper},
    {"interceptLower", &R::interceptLower},
    {"detectionLimit", &R::detectionLimit},
    {"quantificationLimit", &R::quantificationLimit},
};

constexpr double kUntouched = 777.0;

R untouchedRecord() {
    R r;
    r.blankStdDev = kUntouched;
    for (const Field& f : kWriteOrder)
        r.*f.member = kUntouched;
    return r;
}

std::string errorOf(const StudyDocument& study, R& results) {
    try {
        ComputeCalibration(study, results);
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

StudyOutline outline(std::vector<std::string> levels,
                     std::vector<std::vector<std::string>> results) {
    StudyOutline s;
    s.levelValues = std::move(levels);
    s.results = std::move(results);
    return s;
}

class Calculation : public ::testing::Test {
protected:
    void SetUp() override { setDecimalSeparator('.'); }
    void TearDown() override { setDecimalSeparator('.'); }
};

TEST_F(Calculation, WorkedExampleToSixSignificantDigitsWithBothBases) {
    struct Row {
        const char* basis;
        const char* detection;
        const char* quantification;
    };
    const Row rows[] = {
        {"Regresión", "0.448622", "1.35946"},
        {"Ordenada al Origen", "0.395648", "1.19893"},
    };
    for (const Row& row : rows) {
        CalibrationStudy study = makeStudy(workedExample(row.basis));
        R r;
        ComputeCalibration(study, r);
        EXPECT_EQ(formatGeneral(r.slope), "0.991667");
        EXPECT_EQ(formatGeneral(r.slopeUpper), "1.05674");
        EXPECT_EQ(formatGeneral(r.slopeLower), "0.926596");
        EXPECT_EQ(formatGeneral(r.intercept), "0.0444444");
        EXPECT_EQ(formatGeneral(r.interceptUpper), "0.325581");
        EXPECT_EQ(formatGeneral(r.interceptLower), "-0.236692");
        EXPECT_EQ(formatGeneral(r.residualStdDev), "0.134813");
        EXPECT_EQ(formatGeneral(r.variationCoefficient), "3.36099");
        EXPECT_EQ(formatGeneral(r.determinationCoefficient), "0.994639");
        EXPECT_EQ(formatGeneral(r.interceptStdDev), "0.118894");
        EXPECT_EQ(formatGeneral(calibrationWork().slopeStdDev), "0.0275186");
        EXPECT_EQ(formatGeneral(r.detectionLimit), row.detection) << row.basis;
        EXPECT_EQ(formatGeneral(r.quantificationLimit), row.quantification) << row.basis;
        EXPECT_EQ(calibrationWork().observationCount, 9);
        EXPECT_EQ(calibrationWork().degreesOfFreedom, 7);
    }
}

// Every bit of two studies, as worked out by a separate model of the arithmetic (each
// operation rounded to a 64-bit mantissa, each named quantity to a double). A calculation
// that drops to double, takes 3.3 as a double, reads a quantity before it is stored or
// reorders a formula moves some of these last bits.
TEST_F(Calculation, TwoStudiesToTheLastBit) {
    struct Row {
        const char* name;
        StudyOutline study;
        double slope, slopeUpper, slopeLower, residualStdDev, variationCoefficient,
            determinationCoefficient, interceptStdDev, intercept, interceptUpper, interceptLower,
            detectionLimit, quantificationLimit;
        double residualSumOfSquares, slopeStdDev;
        double regressionDetectionLimit, regressionQuantificationLimit;
    };
    const Row rows[] = {
        {"worked example", workedExample("Ordenada al Origen"), 0x1.fbbbbbbbbbbb5p-1,
         0x1.0e8654adb9dc9p+0, 0x1.da6ace1c03bd8p-1, 0x1.1418f38a050d6p-3, 0x1.ae350fafb37c0p+1,
         0x1.fd414237b77fbp-1, 0x1.e6fd7ad152d75p-4, 0x1.6c16c16c16ddcp-5, 0x1.4d65351854ca3p-2,
         -0x1.e4bf097a9e257p-3, 0x1.9524a04294842p-2, 0x1.32ed339749b97p+0, 0x1.048d159e26e68p-3,
         0x1.c2dd829b99c52p-6, 0x1.cb639984d6edcp-2, 0x1.5c05a2d8ffea7p+0},
        {"two levels at 15",
         [] {
             StudyOutline s = outline({"15", "18", "15"},
                                      {{"14.93", "15.53"}, {"17.44", "18.55"}, {"14.96", "15.17"}});
             s.basis = "Ordenada al Origen";
             return s;
         }(),
         0x1.e5f92c5f92cabp-1, 0x1.514f082a87717p+0, 0x1.2954486a16b27p-1, 0x1.d6bda36634b0bp-2,
         0x1.6d8ec25256670p+1, 0x1.dade926817b62p-1, 0x1.10d7869117ba8p+1, 0x1.d1eb851eb8065p-1,
         0x1.b4ffc66d90920p+2, -0x1.4084e525e2907p+2, 0x1.da4ca200f1b73p+2, 0x1.675153f1333d3p+4,
         0x1.b0ce703afb56fp-1, 0x1.0fc845a857059p-3, 0x1.9928fd0dfdaf0p+0, 0x1.35f843963c4e4p+2},
    };
    for (const Row& row : rows) {
        CalibrationStudy study = makeStudy(row.study);
        R r;
        ComputeCalibration(study, r);
        const CalibrationWork& w = calibrationWork();
        EXPECT_EQ(r.slope, row.slope) << row.name;
        EXPECT_EQ(r.slopeUpper, row.slopeUpper) << row.name;
        EXPECT_EQ(r.slopeLower, row.slopeLower) << row.name;
        EXPECT_EQ(r.residualStdDev, row.residualStdDev) << row.name;
        EXPECT_EQ(r.variationCoefficient, row.variationCoefficient) << row.name;
        EXPECT_EQ(r.determinationCoefficient, row.determinationCoefficient) << row.name;
        EXPECT_EQ(r.interceptStdDev, row.interceptStdDev) << row.name;
        EXPECT_EQ(r.intercept, row.intercept) << row.name;
        EXPECT_EQ(r.interceptUpper, row.interceptUpper) << row.name;
        EXPECT_EQ(r.interceptLower, row.interceptLower) << row.name;
        EXPECT_EQ(r.detectionLimit, row.detectionLimit) << row.name;
        EXPECT_EQ(r.quantificationLimit, row.quantificationLimit) << row.name;
        EXPECT_EQ(w.residualSumOfSquares, row.residualSumOfSquares) << row.name;
        EXPECT_EQ(w.slopeStdDev, row.slopeStdDev) << row.name;
        EXPECT_EQ(w.regressionDetectionLimit, row.regressionDetectionLimit) << row.name;
        EXPECT_EQ(w.regressionQuantificationLimit, row.regressionQuantificationLimit) << row.name;
    }
}

// A near-perfect line far from the origin: the residual sum of squares is the difference
// of numbers twelve digits larger. In double arithmetic the standard deviation of the
// regression would come out 0.00145702; the extended intermediates give 0.00145716.
TEST_F(Calculation, ExtendedIntermediatesDecideTheSixthDigit) {
    CalibrationStudy study = makeStudy(
        outline({"10", "20", "30"},
                {{"1000.000", "1000.003"}, {"2000.002", "2000.003"}, {"3000.001", "3000.000"}}));
    R r;
    ComputeCalibration(study, r);
    EXPECT_EQ(formatGeneral(r.residualStdDev), "0.00145716");
    EXPECT_EQ(r.residualStdDev, 0x1.7dfca159a3b8bp-10);
}

TEST_F(Calculation, TheSameStudyTwiceGivesIdenticalRecords) {
    CalibrationStudy study = makeStudy(workedExample());
    R first;
    ComputeCalibration(study, first);
    // Another study in between leaves its sums behind unless each calculation starts
    // from zero.
    CalibrationStudy other = makeStudy(outline({"1", "5"}, {{"0.9", "1.2"}, {"5.3", "4.8"}}));
    R scratch;
    ComputeCalibration(other, scratch);
    R second = first;
    ComputeCalibration(study, second);
    R third;
    ComputeCalibration(study, third);
    for (const Field& f : kWriteOrder) {
        EXPECT_EQ(second.*f.member, first.*f.member) << f.name;
        EXPECT_EQ(third.*f.member, first.*f.member) << f.name;
    }
    EXPECT_EQ(calibrationWork().observationCount, 9);
    EXPECT_EQ(calibrationWork().rowOffset, 9);
}

TEST_F(Calculation, ALevelWithNoReplicatesContributesNothingAndMovesNoRows) {
    R expected;
    ComputeCalibration(makeStudy(workedExample()), expected);

    StudyOutline withEmptyLevel = workedExample();
    withEmptyLevel.levelValues = {"2", "3", "4", "6"};
    withEmptyLevel.results.insert(withEmptyLevel.results.begin() + 1, std::vector<std::string>());
    CalibrationStudy study = makeStudy(withEmptyLevel);
    ASSERT_EQ(study.cell(G::stgnivel, 2, 2), "0");
    ASSERT_EQ(study.rowCount(G::stgdatos), 10);
    R r;
    ComputeCalibration(study, r);
    for (const Field& f : kWriteOrder)
        EXPECT_EQ(r.*f.member, expected.*f.member) << f.name;
}

TEST_F(Calculation, ResultsArePairedWithTheirOwnLevel) {
    // y = x exactly when every result meets its own level's x: one replicate at 1, three
    // at 2, two at 4. Paired with the wrong level the line tilts.
    CalibrationStudy study =
        makeStudy(outline({"1", "2", "4"}, {{"1"}, {"2", "2", "2"}, {"4", "4"}}));
    R r;
    ComputeCalibration(study, r);
    EXPECT_EQ(r.slope, 1.0);
    EXPECT_EQ(r.intercept, 0.0);
    EXPECT_EQ(r.residualStdDev, 0.0);
    EXPECT_EQ(r.determinationCoefficient, 1.0);
    EXPECT_EQ(calibrationWork().sumX, 1 + 3 * 2 + 2 * 4);
}

TEST_F(Calculation, ChangingOnlyTheBasisChangesOnlyTheTwoLimits) {
    R regression;
    ComputeCalibration(makeStudy(workedExample("Regresión")), regression);
    for (const char* basis : {"Ordenada al Origen", "", "regresión"}) {
        R other;
        ComputeCalibration(makeStudy(workedExample(basis)), other);
        for (const Field& f : kWriteOrder) {
            const bool limit =
                f.member == &R::detectionLimit || f.member == &R::quantificationLimit;
            if (limit)
                EXPECT_NE(other.*f.member, regression.*f.member) << basis << ' ' << f.name;
            else
                EXPECT_EQ(other.*f.member, regression.*f.member) << basis << ' ' << f.name;
        }
    }
}

// With no basis, or one the program does not know, the limits are those of the blank
// standard deviation (which nothing sets, so 0) rather than whatever an earlier study
// left in the record.
TEST_F(Calculation, AnUnknownBasisGivesBlankLimitsNotLeftovers) {
    for (const char* basis : {"", "regresión", "Ordenada al origen", "Regresión "}) {
        R r;
        ComputeCalibration(makeStudy(workedExample("Regresión")), r);
        ASSERT_NE(r.detectionLimit, 0);
        ComputeCalibration(makeStudy(workedExample(basis)), r);
        EXPECT_EQ(r.detectionLimit, 0) << '"' << basis << '"';
        EXPECT_EQ(r.quantificationLimit, 0) << '"' << basis << '"';
        EXPECT_EQ(r.blankStdDev, 0);
        EXPECT_EQ(formatGeneral(r.detectionLimit), "0");
        EXPECT_EQ(formatGeneral(calibrationWork().regressionDetectionLimit), "0.448622");
    }
}

TEST_F(Calculation, DegreesOfFreedomPickTheirTableEntry) {
    struct Row {
        int results;
        double t;
    };
    const Row rows[] = {
        {3, 12.706},   {5, 3.1825},   {27, 2.059},   {31, 2.0452},  {32, 2.0423},
        {36, 2.0423},  {37, 2.0301},  {72, 1.9945},  {201, 1.9733}, {202, 1.9719},
        {326, 1.9719}, {327, 1.9719}, {400, 1.9719},
    };
    for (const Row& row : rows) {
        // Three levels sharing the results, with some scatter.
        StudyOutline s;
        s.levelValues = {"1", "2", "3"};
        s.results.resize(3);
        for (int i = 0; i < row.results; ++i) {
            const int level = i % 3;
            s.results[level].push_back(integerText(10 * (level + 1) + i % 7) + ".5");
        }
        CalibrationStudy study = makeStudy(s);
        R r;
        ComputeCalibration(study, r);
        const long double t = row.t;
        const long double spread = t * calibrationWork().slopeStdDev;
        EXPECT_EQ(r.slopeUpper, static_cast<double>(spread + r.slope)) << row.results;
        EXPECT_EQ(r.slopeLower, static_cast<double>(r.slope - spread)) << row.results;
        EXPECT_EQ(calibrationWork().degreesOfFreedom, row.results - 2);
    }
}

TEST_F(Calculation, AConversionErrorNamesTheFirstBadCellAndWritesNoField) {
    struct Row {
        const char* fault;
        void (*spoil)(CalibrationStudy&);
        const char* message;
    };
    const Row rows[] = {
        {"recovered amount", [](CalibrationStudy& s) { s.setCell(G::stgdatos, 1, 5, "abc"); },
         "'abc' is not a valid floating point value"},
        {"empty recovered amount", [](CalibrationStudy& s) { s.setCell(G::stgdatos, 1, 9, ""); },
         "'' is not a valid floating point value"},
        {"comma with a point locale",
         [](CalibrationStudy& s) { s.setCell(G::stgdatos, 1, 4, "4,1"); },
         "'4,1' is not a valid floating point value"},
        {"level value", [](CalibrationStudy& s) { s.setCell(G::stgnivel, 2, 1, "cuatro"); },
         "'cuatro' is not a valid floating point value"},
        {"level count", [](CalibrationStudy& s) { s.setText(StudyField::enivel, "x"); },
         "'x' is not a valid integer value"},
        {"replicate count", [](CalibrationStudy& s) { s.setCell(G::stgnivel, 2, 2, "x"); },
         "'x' is not a valid integer value"},
        {"fractional replicate count",
         [](CalibrationStudy& s) { s.setCell(G::stgnivel, 3, 2, "2.5"); },
         "'2.5' is not a valid integer value"},
        {"recovered amount is read before its level value",
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
    for (const Row& row : rows) {
        CalibrationStudy study = makeStudy(workedExample());
        row.spoil(study);
        R r = untouchedRecord();
        EXPECT_EQ(errorOf(study, r), row.message) << row.fault;
        EXPECT_EQ(r.blankStdDev, kUntouched);
        for (const Field& f : kWriteOrder)
            EXPECT_EQ(r.*f.member, kUntouched) << row.fault << ": " << f.name;
    }
}

TEST_F(Calculation, AnArithmeticFaultStopsAtItsStepAndKeepsWhatCameBefore) {
    struct Row {
        const char* fault;
        StudyOutline study;
        const char* message;
        int fieldsWritten;  // leading entries of kWriteOrder
    };
    const Row rows[] = {
        {"every level at the same value, exact: 0/0 at the slope",
         outline({"2", "2", "2"}, {{"1.9", "2.1"}, {"4.1", "3.9"}, {"5.8"}}),
         "Invalid floating point operation", 0},
        {"every level at the same value, rounded: x/0 at the slope",
         outline({"3", "3", "3"}, {{"1.9", "2.1"}, {"4.1", "3.9"}, {"5.8"}}),
         "Floating point division by zero", 0},
        {"two results on an exact line: 0/0 degrees of freedom",
         outline({"1", "2"}, {{"1"}, {"3"}}), "Invalid floating point operation", 1},
        {"two results, residue of rounding: x/0 degrees of freedom",
         outline({"1", "2"}, {{"1.1"}, {"3.3"}}), "Floating point division by zero", 1},
        {"results on a line, residual sum rounds below zero",
         outline({"1", "2", "3"}, {{"0.3"}, {"0.6"}, {"0.9"}}), "Invalid floating point operation",
         1},
        {"recovered amounts summing to zero", outline({"1", "2", "3"}, {{"-2"}, {"1"}, {"1"}}),
         "Floating point division by zero", 4},
        {"every recovered amount equal: 0/0 in the determination",
         outline({"1", "2", "3"}, {{"5"}, {"5"}, {"5"}}), "Invalid floating point operation", 5},
        {"slope exactly zero with scatter: first limit",
         outline({"1", "2", "3"}, {{"1", "3"}, {"2", "2"}, {"3", "1"}}),
         "Floating point division by zero", 6},
        {"huge recovered amounts overflow their sum of squares",
         outline({"1", "2", "3"}, {{"1e300"}, {"2e300"}, {"3e300"}}), "Floating point overflow", 0},
        {"huge slope", outline({"1e-160", "2e-160", "3e-160"}, {{"1e150"}, {"2e150"}, {"4e150"}}),
         "Floating point overflow", 0},
        {"huge coefficient of variation",
         outline({"1", "2", "3"}, {{"10000000000"}, {"-10000000000"}, {"1e-300"}}),
         "Floating point overflow", 4},
    };
    for (const Row& row : rows) {
        CalibrationStudy study = makeStudy(row.study);
        R r = untouchedRecord();
        EXPECT_EQ(errorOf(study, r), row.message) << row.fault;
        int index = 0;
        for (const Field& f : kWriteOrder) {
            if (index++ < row.fieldsWritten)
                EXPECT_NE(r.*f.member, kUntouched) << row.fault << ": " << f.name;
            else
                EXPECT_EQ(r.*f.member, kUntouched) << row.fault << ": " << f.name;
        }
    }
}

TEST_F(Calculation, TheFaultsComeWhereTheirStepsSay) {
    R r;
    // The residual sum is stored, negative, before its square root fails.
    EXPECT_EQ(errorOf(makeStudy(outline({"1", "2", "3"}, {{"0.3"}, {"0.6"}, {"0.9"}})), r),
              "Invalid floating point operation");
    EXPECT_LT(calibrationWork().residualSumOfSquares, 0);
    // A slope of exactly zero still yields its statistics up to the limits.
    r = untouchedRecord();
    EXPECT_EQ(errorOf(makeStudy(outline({"1", "2", "3"}, {{"1", "3"}, {"2", "2"}, {"3", "1"}})), r),
              "Floating point division by zero");
    EXPECT_EQ(r.slope, 0);
    EXPECT_EQ(r.determinationCoefficient, 0);
    EXPECT_GT(r.residualStdDev, 0);
    // The huge slope passes the reading: the sums are complete before the slope fails.
    EXPECT_EQ(errorOf(makeStudy(outline({"1e-160", "2e-160", "3e-160"},
                                        {{"1e150"}, {"2e150"}, {"4e150"}})),
                      r),
              "Floating point overflow");
    EXPECT_EQ(formatGeneral(calibrationWork().sumY), "7E150");
}

}  // namespace
}  // namespace ldc
