#include <gtest/gtest.h>

#include "StudyFixtures.h"
#include "calc/FormatGeneral.h"
#include "calc/Ucalculo.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

using testing::makeStudy;
using testing::workedExample;

TEST(WorkedExample, EveryFigureToSixSignificantDigits) {
    setDecimalSeparator('.');
    CalibrationStudy study = makeStudy(workedExample());
    CalibrationResults r;
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
    EXPECT_EQ(formatGeneral(r.detectionLimit), "0.448622");
    EXPECT_EQ(formatGeneral(r.quantificationLimit), "1.35946");
    EXPECT_EQ(calibrationWork().observationCount, 9);
}

}  // namespace
}  // namespace ldc
