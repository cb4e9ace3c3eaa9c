#include <gtest/gtest.h>

#include <tuple>

#include "calc/FormatGeneral.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

TEST(FormatGeneral, SixSignificantDigitsFixedOrScientific) {
    const std::tuple<const char*, double, const char*> cases[] = {
        {"negative zero has no sign", -0.0, "0"},
        {"small limit goes scientific", 0.00004, "4E-5"},
        {"seven digits round and go scientific", 1234567, "1.23457E6"},
        {"whole numbers have no separator", 100, "100"},
        {"negative keeps its sign", -0.0123456789, "-0.0123457"},
        {"trailing zeros are dropped", 0.99873214, "0.998732"},
        {"lower fixed bound", 0.0001, "0.0001"},
        {"just below the lower bound", 0.00009999, "9.999E-5"},
        {"upper fixed bound", 999999, "999999"},
        {"rounding up to a million goes scientific", 999999.5, "1E6"},
        {"exact tie rounds up, not to even", 1234565, "1.23457E6"},
        {"rounding carries through nines", 9.9999996, "10"},
        {"tiny exponent", -1.5e-10, "-1.5E-10"},
    };
    for (const auto& [fault, value, text] : cases)
        EXPECT_EQ(formatGeneral(value), text) << fault;
    setDecimalSeparator(',');
    EXPECT_EQ(formatGeneral(0.0444444444), "0,0444444");
    EXPECT_EQ(formatGeneral(1234567), "1,23457E6");
    setDecimalSeparator('.');
}

}  // namespace
}  // namespace ldc
