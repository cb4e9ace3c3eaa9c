#include "calc/BlankReadings.h"

#include <string>
#include <vector>

#include "calc/FloatChecks.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {

BlankSummary blankReadingsSummary(const StudyDocument& study) {
    using X = long double;
    BlankSummary summary;
    summary.count = study.blankCount();
    std::vector<X> readings;
    readings.reserve(static_cast<std::size_t>(summary.count));
    for (int i = 1; i <= summary.count; ++i) {
        const std::string text = study.blankReadingText(i);
        readings.push_back(
            withErrorContext([&] { return parseDecimal(text); },
                             [&] {
                                 return "La lectura " + integerText(i) + " de Blancos " +
                                        (text.empty() ? "está vacía." : "no es un número.");
                             }));
    }
    if (summary.count < 2)
        return summary;
    // Deviations from the mean, not the sum of squares less the square of the sum: blanks
    // sit close together, and the difference of two large sums would lose their spread.
    summary.stdDev = withErrorContext(
        [&] {
            X sum = 0;
            for (const X y : readings)
                sum += y;
            const X mean = checkedOperand(sum / summary.count);
            X squares = 0;
            for (const X y : readings)
                squares += (y - mean) * (y - mean);
            return storeDouble(checkedSqrt(checkedDivide(squares, summary.count - 1)));
        },
        [] {
            return std::string(
                "El cálculo se detuvo en la desviación estándar de los blancos: las lecturas "
                "son demasiado grandes.");
        });
    return summary;
}

}  // namespace ldc
