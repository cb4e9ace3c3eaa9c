#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

std::string errorOf(auto&& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(ParseInteger, SignedDecimalDigitsWithin32BitsOnly) {
    for (const auto& [text, value] : {std::pair{"3", 3},
                                      {"-12", -12},
                                      {"+7", 7},
                                      {"007", 7},
                                      {"2147483647", INT32_MAX},
                                      {"-2147483648", INT32_MIN}})
        EXPECT_EQ(parseInteger(text), value) << text;
    for (const std::string text : {"", "abc", "2.5", "2,5", "1e3", " 3", "3 ", "+", "-",
                                   "2147483648", "-2147483649", "99999999999999999999", "0x10"})
        EXPECT_EQ(errorOf([&] { parseInteger(text); }),
                  "'" + text + "' is not a valid integer value");
}

// A study typed where the separator is a comma reads where it is a point, and the reverse.
TEST(ParseDecimal, EitherSeparatorWhateverTheLocaleInExtendedPrecision) {
    const std::pair<const char*, long double> accepted[] = {
        {"1.5", 1.5L},     {"-0,25", -0.25L}, {",5", 0.5L},  {"5.", 5.0L}, {"1E3", 1000.0L},
        {"2,5e-1", 0.25L}, {" 4 ", 4.0L},     {"0.1", 0.1L}, {"0,1", 0.1L}};
    for (const char locale : {'.', ','}) {
        setDecimalSeparator(locale);
        for (const auto& [text, value] : accepted)
            EXPECT_EQ(parseDecimal(text), value) << text << " " << locale;
        for (const std::string text : {"", " ", "abc", "1.2.3", "1,2.3", "1.5,", "1e", "e5", "--1",
                                       "1 2", "inf", "nan", "0x1p3", "1e99999", ".", ","})
            EXPECT_EQ(errorOf([&] { parseDecimal(text); }),
                      "'" + text + "' is not a valid floating point value");
    }
    setDecimalSeparator('.');
    EXPECT_NE(parseDecimal("0.1"), static_cast<long double>(0.1)) << "rounded through a double";
    // A NUL or another control character from a file neither cuts nor garbles the message.
    EXPECT_EQ(errorOf([] { parseDecimal(std::string("4\0,\x7f\xC2\x81\xC2\xA0", 8)); }),
              "'4\\x00,\\x7F\\x81\xC2\xA0' is not a valid floating point value");
}

// The fast road for short decimals (19 digits, 10^±27) rounds as the C library does.
TEST(ParseDecimal, EveryShapeRoundsAsTheCLibraryDoes) {
    std::istringstream edges(
        "1e27 1e28 1e-27 1e-28 9999999999999999999 18446744073709551615 "
        "1234567890123456789e9 0.0000000000000000000000000001");
    std::vector<std::string> texts(std::istream_iterator<std::string>(edges), {});
    std::mt19937_64 random(88172645463325252ULL);
    for (int i = 0; i < 20000; ++i) {
        std::string text = random() % 4 == 0 ? "-" : "";
        const int digits = 1 + static_cast<int>(random() % 22);
        const int point = static_cast<int>(random() % (digits + 1));
        for (int d = 0; d < digits; ++d)
            text += (d == point && d > 0 ? "." : "") + std::to_string(random() % 10);
        if (random() % 3 == 0)
            text += "e" + std::to_string(static_cast<int>(random() % 81) - 40);
        texts.push_back(text);
    }
    for (const std::string& text : texts)
        EXPECT_EQ(parseDecimal(text), std::strtold(text.c_str(), nullptr)) << text;
}

}  // namespace
}  // namespace ldc
