#include <gtest/gtest.h>

#include "calc/FormatGeneral.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

struct FormatCase {
    const char* fault;
    double value;
    const char* point;
};

TEST(FormatGeneral, SixSignificantDigitsFixedOrScientific) {
    setDecimalSeparator('.');
    const FormatCase cases[] = {
        {"zero is a plain 0", 0.0, "0"},
        {"negative zero has no sign", -0.0, "0"},
        {"small limit goes scientific", 0.00004, "4E-5"},
        {"seven digits round and go scientific", 1234567, "1.23457E6"},
        {"whole numbers have no separator", 100, "100"},
        {"negative keeps its sign", -0.0123456789, "-0.0123457"},
        {"trailing zeros are dropped", 0.99873214, "0.998732"},
        {"worked example slope", 0.99166666666666667, "0.991667"},
        {"lower fixed bound", 0.0001, "0.0001"},
        {"just below lower bound", 0.00009999, "9.999E-5"},
        {"upper fixed bound", 999999, "999999"},
        {"rounding up to a million goes scientific", 999999.5, "1E6"},
        {"a million is scientific", 1000000, "1E6"},
        {"exact tie rounds up, not to even", 1234565, "1.23457E6"},
        {"exact tie below one rounds up", 0.5000005 * 2 - 0.000001, "1"},
        {"rounding carries through nines", 9.9999996, "10"},
        {"digits after the point", 12.5, "12.5"},
        {"padding zeros before the point", 120000, "120000"},
        {"large exponent", 6.02214076e23, "6.02214E23"},
        {"tiny exponent", -1.5e-10, "-1.5E-10"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatGeneral(c.value), c.point) << c.fault;
}

TEST(FormatGeneral, UsesTheLocaleSeparator) {
    setDecimalSeparator(',');
    EXPECT_EQ(formatGeneral(0.0444444444), "0,0444444");
    EXPECT_EQ(formatGeneral(1234567), "1,23457E6");
    EXPECT_EQ(formatGeneral(100), "100");
    setDecimalSeparator('.');
}

}  // namespace
}  // namespace ldc
