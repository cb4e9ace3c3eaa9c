#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
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

class SeparatorGuard {
public:
    explicit SeparatorGuard(char separator) : m_saved(decimalSeparator()) {
        setDecimalSeparator(separator);
    }
    ~SeparatorGuard() { setDecimalSeparator(m_saved); }

private:
    char m_saved;
};

TEST(ParseInteger, AcceptsSignedDecimalDigitsWithin32Bits) {
    EXPECT_EQ(parseInteger("3"), 3);
    EXPECT_EQ(parseInteger("-12"), -12);
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_EQ(parseInteger("007"), 7);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
}

TEST(ParseInteger, RefusesAnythingElseWithTheRuntimeMessage) {
    for (const char* text : {"", "abc", "2.5", "2,5", "1e3", " 3", "3 ", "+", "-", "2147483648",
                             "-2147483649", "99999999999999999999", "0x10"}) {
        EXPECT_EQ(errorOf([&] { parseInteger(text); }),
                  std::string("'") + text + "' is not a valid integer value")
            << text;
    }
}

TEST(ParseDecimal, ReadsWithTheLocaleSeparatorOnly) {
    {
        SeparatorGuard point('.');
        EXPECT_EQ(parseDecimal("1.5"), 1.5L);
        EXPECT_EQ(parseDecimal("-0.25"), -0.25L);
        EXPECT_EQ(parseDecimal(".5"), 0.5L);
        EXPECT_EQ(parseDecimal("5."), 5.0L);
        EXPECT_EQ(parseDecimal("1E3"), 1000.0L);
        EXPECT_EQ(parseDecimal("2.5e-1"), 0.25L);
        EXPECT_EQ(parseDecimal(" 4 "), 4.0L);
        EXPECT_EQ(errorOf([] { parseDecimal("1,5"); }),
                  "'1,5' is not a valid floating point value");
    }
    SeparatorGuard comma(',');
    EXPECT_EQ(parseDecimal("1,5"), 1.5L);
    EXPECT_EQ(errorOf([] { parseDecimal("1.5"); }), "'1.5' is not a valid floating point value");
}

TEST(ParseDecimal, KeepsExtendedPrecision) {
    SeparatorGuard point('.');
    // 0.1 in extended precision differs from 0.1 rounded to double.
    EXPECT_NE(parseDecimal("0.1"), static_cast<long double>(0.1));
    EXPECT_EQ(parseDecimal("0.1"), 0.1L);
}

TEST(ParseDecimal, RefusesMalformedTextsWithTheRuntimeMessage) {
    SeparatorGuard point('.');
    for (const char* text : {"", " ", "abc", "1.2.3", "1e", "e5", "--1", "1 2", "inf", "nan",
                             "0x1p3", "1e99999", "."}) {
        EXPECT_EQ(errorOf([&] { parseDecimal(text); }),
                  std::string("'") + text + "' is not a valid floating point value")
            << text;
    }
}

// Short decimals take a faster road than long ones; both must give the correctly rounded
// extended value that the C library's reading gives.
TEST(ParseDecimal, EveryShapeRoundsAsTheCLibraryDoes) {
    SeparatorGuard point('.');
    std::vector<std::string> texts = {
        "0.1",
        "-0.3",
        "2.0",
        "1e27",
        "1e28",
        "1e-27",
        "1e-28",
        "9999999999999999999",
        "18446744073709551615",
        "12345678901234567890",
        "0.0000000000000000000000000001",
        "123456789012345678.9e-10",
        "4.35e-20",
        "-0",
        "0e400",
        "7.000000000000000000000",
        "3.14159265358979323846",
        "1234567890123456789e8",
        "1234567890123456789e9",
    };
    std::uint64_t seed = 88172645463325252ULL;
    auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return seed;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = next() % 4 == 0 ? "-" : "";
        const int digits = 1 + static_cast<int>(next() % 22);
        const int point = static_cast<int>(next() % (digits + 1));
        for (int d = 0; d < digits; ++d) {
            if (d == point && d > 0)
                text += '.';
            text += static_cast<char>('0' + next() % 10);
        }
        if (next() % 3 == 0)
            text += "e" + std::to_string(static_cast<int>(next() % 81) - 40);
        texts.push_back(text);
    }
    for (const std::string& text : texts)
        EXPECT_EQ(parseDecimal(text), std::strtold(text.c_str(), nullptr)) << text;
}

TEST(DecimalSeparatorFromEnvironment, FollowsLocaleVariablesAndFallsBackToPoint) {
    const char* saved = std::getenv("LC_ALL");
    const std::string savedText = saved ? saved : "";
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(decimalSeparatorFromEnvironment(), '.');
    setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
    EXPECT_EQ(decimalSeparatorFromEnvironment(), '.');
    if (saved)
        setenv("LC_ALL", savedText.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

TEST(ErrorBoxText, AddsAFinalPeriodOnlyWhereMissing) {
    EXPECT_EQ(errorBoxText("Floating point overflow"), "Floating point overflow.");
    EXPECT_EQ(errorBoxText("Falta capturar el 5 º dato."), "Falta capturar el 5 º dato.");
}

}  // namespace
}  // namespace ldc
