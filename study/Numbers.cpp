#include "study/Numbers.h"

#include <langinfo.h>
#include <locale.h>
#include <array>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "study/LdcError.h"

namespace ldc {
namespace {

char g_decimalSeparator = '.';

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void invalidInteger(const std::string& text) {
    throw Error("'" + visibleText(text) + "' is not a valid integer value");
}

[[noreturn]] void invalidFloat(const std::string& text) {
    throw Error("'" + visibleText(text) + "' is not a valid floating point value");
}

bool isDecimalSeparator(char c) {
    return c == '.' || c == ',';
}

constexpr int kExactPowers = 27;  // 10^27 = 2^27 · 5^27, and 5^27 < 2^64

constexpr std::array<long double, kExactPowers + 1> kPowersOfTen = [] {
    std::array<long double, kExactPowers + 1> powers{};
    powers[0] = 1;
    for (int i = 1; i <= kExactPowers; ++i)
        powers[i] = powers[i - 1] * 10;
    return powers;
}();

// The values analysts type (a few digits, a small exponent) are an integer of at most 19
// digits and a power of ten up to 10^27, both held exactly in extended precision, so one
// rounded multiplication or division gives the correctly rounded value that from_chars
// gives, many times faster; a calculation reads every result this way. `plain` is the
// validated C-locale form. Anything longer or further out is left to from_chars.
std::optional<long double> exactDecimal(std::string_view plain) {
    std::size_t pos = 0;
    const bool negative = plain[0] == '-';
    if (negative)
        ++pos;
    std::uint64_t mantissa = 0;
    int digits = 0;  // significant digits so far
    int scale = 0;   // the value is mantissa · 10^scale
    bool fraction = false;
    for (; pos < plain.size() && plain[pos] != 'e'; ++pos) {
        const char c = plain[pos];
        if (c == '.') {
            fraction = true;
            continue;
        }
        if (fraction)
            --scale;
        if (mantissa == 0 && c == '0')
            continue;
        if (++digits > 19)
            return std::nullopt;
        mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
    }
    if (pos < plain.size()) {
        ++pos;
        const bool negativeExponent = plain[pos] == '-';
        if (plain[pos] == '-' || plain[pos] == '+')
            ++pos;
        int exponent = 0;
        for (; pos < plain.size(); ++pos) {
            exponent = exponent * 10 + (plain[pos] - '0');
            if (exponent > 1000)
                return std::nullopt;
        }
        scale += negativeExponent ? -exponent : exponent;
    }
    if (scale < -kExactPowers || scale > kExactPowers)
        return std::nullopt;
    long double value = static_cast<long double>(mantissa);
    value = scale < 0 ? value / kPowersOfTen[-scale] : value * kPowersOfTen[scale];
    return negative ? -value : value;
}

}  // namespace

std::optional<std::int32_t> integerValue(const std::string& text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size())
        return std::nullopt;
    long long magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (!isDigit(text[pos]))
            return std::nullopt;
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > 2147483648LL)
            return std::nullopt;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > 2147483647LL)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t parseInteger(const std::string& text) {
    if (const std::optional<std::int32_t> value = integerValue(text))
        return *value;
    invalidInteger(text);
}

long double parseDecimal(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;

    // Validate the shape ourselves, then hand a plain C-locale form to from_chars,
    // which neither depends on the process locale nor accepts "inf" or hex.
    std::string plain;
    std::size_t pos = begin;
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-')
            plain += '-';
        ++pos;
    }
    int mantissaDigits = 0;
    bool separatorSeen = false;
    for (; pos < end; ++pos) {
        const char c = text[pos];
        if (isDigit(c)) {
            plain += c;
            ++mantissaDigits;
        } else if (isDecimalSeparator(c) && !separatorSeen) {
            plain += '.';
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        invalidFloat(text);
    if (pos < end && (text[pos] == 'e' || text[pos] == 'E')) {
        plain += 'e';
        ++pos;
        if (pos < end && (text[pos] == '+' || text[pos] == '-'))
            plain += text[pos++];
        int exponentDigits = 0;
        for (; pos < end && isDigit(text[pos]); ++pos, ++exponentDigits)
            plain += text[pos];
        if (exponentDigits == 0)
            invalidFloat(text);
    }
    if (pos != end)
        invalidFloat(text);

    if (const std::optional<long double> exact = exactDecimal(plain))
        return *exact;
    long double value = 0;
    const auto [last, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || last != plain.data() + plain.size())
        invalidFloat(text);
    return value;
}

char decimalSeparator() {
    return g_decimalSeparator;
}

void setDecimalSeparator(char separator) {
    g_decimalSeparator = separator;
}

char decimalSeparatorFromEnvironment() {
    const char* name = nullptr;
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            name = value;
            break;
        }
    }
    if (name == nullptr)
        return '.';
    locale_t locale = newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr))
        return '.';
    const char* radix = nl_langinfo_l(RADIXCHAR, locale);
    const char separator =
        (radix != nullptr && radix[0] != '\0' && radix[1] == '\0') ? radix[0] : '.';
    freelocale(locale);
    return separator;
}

std::string integerText(long long value) {
    return std::to_string(value);
}

}  // namespace ldc
