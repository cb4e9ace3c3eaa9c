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

[[noreturn]] void invalidInteger(std::string_view text) {
    throw Error("'" + visibleText(text) + "' is not a valid integer value");
}

[[noreturn]] void invalidFloat(std::string_view text) {
    throw Error("'" + visibleText(text) + "' is not a valid floating point value");
}

bool isDecimalSeparator(char c) {
    return c == '.' || c == ',';
}

constexpr int kExactPowers = 27;  // 10^27 = 2^27 · 5^27, and 5^27 < 2^64
constexpr int kExactDigits = 19;  // every 19-digit integer fits in 64 bits
constexpr int kExponentLimit = 1000;

constexpr std::array<long double, kExactPowers + 1> kPowersOfTen = [] {
    std::array<long double, kExactPowers + 1> powers{};
    powers[0] = 1;
    for (int i = 1; i <= kExactPowers; ++i)
        powers[i] = powers[i - 1] * 10;
    return powers;
}();

// The decimal text[begin, end), already validated, read by from_chars in its C-locale
// form: no leading '+', a point for the separator, a lower-case exponent mark.
long double fromChars(std::string_view text, std::size_t begin, std::size_t end) {
    std::string plain;
    plain.reserve(end - begin);
    for (std::size_t i = begin; i < end; ++i) {
        const char c = text[i];
        if (i == begin && c == '+')
            continue;
        plain += c == ',' ? '.' : c == 'E' ? 'e' : c;
    }
    long double value = 0;
    const auto [last, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || last != plain.data() + plain.size())
        invalidFloat(text);
    return value;
}

// The shape nearly every typed value has, read in one tight pass: an optional sign, at most
// 19 digits with at most one separator, nothing else. Its value is the one the full reading
// below gives (the same integer divided by the same power of ten); any other text is left
// to that reading.
std::optional<long double> plainDecimal(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    const char* const first = p;
    const char* separator = nullptr;
    std::uint64_t mantissa = 0;  // wraps past 19 digits, when it is not used
    for (; p != end; ++p) {
        const auto digit = static_cast<unsigned>(*p - '0');
        if (digit < 10)
            mantissa = mantissa * 10 + digit;
        else if (isDecimalSeparator(*p) && separator == nullptr)
            separator = p;
        else
            return std::nullopt;
    }
    const long digits = (end - first) - (separator != nullptr ? 1 : 0);
    if (digits == 0 || digits > kExactDigits)
        return std::nullopt;
    const long fraction = separator != nullptr ? end - separator - 1 : 0;
    long double value = static_cast<long double>(mantissa);
    if (fraction > 0)
        value /= kPowersOfTen[fraction];
    return negative ? -value : value;
}

}  // namespace

std::optional<std::int32_t> integerValue(std::string_view text) {
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

std::int32_t parseInteger(std::string_view text) {
    if (const std::optional<std::int32_t> value = integerValue(text))
        return *value;
    invalidInteger(text);
}

// The shape is validated here, which also gathers the value: the values analysts type (a
// few digits, a small exponent) are an integer of at most 19 significant digits and a
// power of ten up to 10^27, both held exactly in extended precision, so one rounded
// multiplication or division gives the correctly rounded value that from_chars gives, many
// times faster; a calculation reads every result this way. Anything longer or further out
// is left to from_chars, which neither depends on the process locale nor accepts "inf" or
// hex.
long double parseDecimal(std::string_view text) {
    if (const std::optional<long double> plain = plainDecimal(text))
        return *plain;
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;

    std::size_t pos = begin;
    bool negative = false;
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::uint64_t mantissa = 0;
    int mantissaDigits = 0;
    int significantDigits = 0;
    int scale = 0;  // the value is mantissa · 10^scale
    bool separatorSeen = false;
    for (; pos < end; ++pos) {
        const char c = text[pos];
        if (isDigit(c)) {
            ++mantissaDigits;
            if (separatorSeen)
                --scale;
            if (mantissa == 0 && c == '0')
                continue;
            if (++significantDigits <= kExactDigits)
                mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
        } else if (isDecimalSeparator(c) && !separatorSeen) {
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        invalidFloat(text);
    bool exponentTooLarge = false;
    if (pos < end && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < end && (text[pos] == '+' || text[pos] == '-'))
            negativeExponent = text[pos++] == '-';
        int exponentDigits = 0;
        int exponent = 0;
        for (; pos < end && isDigit(text[pos]); ++pos, ++exponentDigits) {
            if (!exponentTooLarge)
                exponent = exponent * 10 + (text[pos] - '0');
            exponentTooLarge = exponentTooLarge || exponent > kExponentLimit;
        }
        if (exponentDigits == 0)
            invalidFloat(text);
        scale += negativeExponent ? -exponent : exponent;
    }
    if (pos != end)
        invalidFloat(text);

    if (significantDigits > kExactDigits || exponentTooLarge || scale < -kExactPowers ||
        scale > kExactPowers)
        return fromChars(text, begin, end);
    long double value = static_cast<long double>(mantissa);
    value = scale < 0 ? value / kPowersOfTen[-scale] : value * kPowersOfTen[scale];
    return negative ? -value : value;
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
