#include "calc/FormatGeneral.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "study/Numbers.h"

namespace ldc {
namespace {

constexpr int kSignificantDigits = 6;

}  // namespace

std::string formatGeneral(double value) {
    if (value == 0)
        return "0";  // negative zero too
    // The calculation never stores these; written as the runtime writes them.
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";

    // The exact decimal expansion of a double ends well before 800 digits' worth of
    // precision matters here; 40 significant digits show the true seventh digit, which
    // decides the rounding (5 or more rounds up, never to even).
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.39e", std::fabs(value));
    // buffer: d.ddd…e±XX
    std::string digits;
    digits += buffer[0];
    digits.append(buffer + 2, buffer + 2 + kSignificantDigits);  // 7 digits in all
    const char* exponentText = std::strchr(buffer, 'e');
    int exponent = std::atoi(exponentText + 1) + 1;  // value = 0.d1d2… × 10^exponent

    const bool roundUp = digits[kSignificantDigits] >= '5';
    digits.resize(kSignificantDigits);
    if (roundUp) {
        int i = kSignificantDigits - 1;
        while (i >= 0 && digits[i] == '9') {
            digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++digits[i];
        } else {
            digits.insert(digits.begin(), '1');
            digits.resize(kSignificantDigits);
            ++exponent;
        }
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    const char separator = decimalSeparator();
    std::string text = value < 0 ? "-" : "";
    const int count = static_cast<int>(digits.size());
    if (exponent >= -3 && exponent <= 6) {
        if (exponent <= 0) {
            text += '0';
            text += separator;
            text.append(-exponent, '0');
            text += digits;
        } else if (count <= exponent) {
            text += digits;
            text.append(exponent - count, '0');
        } else {
            text.append(digits, 0, exponent);
            text += separator;
            text.append(digits, exponent);
        }
    } else {
        text += digits[0];
        if (count > 1) {
            text += separator;
            text.append(digits, 1);
        }
        text += 'E';
        text += std::to_string(exponent - 1);
    }
    return text;
}

}  // namespace ldc
