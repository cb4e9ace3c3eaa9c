#include "calc/StudyValues.h"

#include <string_view>

#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

// "El valor del nivel 2 no es un número." or, for a cell left empty, "... está vacío.".
// Built only when a conversion has failed.
std::string notA(const std::string& what, std::string_view text, const char* kind) {
    return what + (text.empty() ? " está vacío." : std::string(" no es un ") + kind + ".");
}

}  // namespace

std::int32_t levelCount(const StudyDocument& study) {
    const std::string text = study.text(StudyField::levelCount);
    return withErrorContext([&] { return parseInteger(text); },
                            [&] { return notA("El número de niveles", text, "número entero"); });
}

std::int32_t replicateCount(const StudyDocument& study, int level) {
    std::string scratch;
    const std::string_view text = replicateCountView(study, level, scratch);
    return withErrorContext([&] { return parseInteger(text); },
                            [&] {
                                return notA("El número de réplicas del nivel " + integerText(level),
                                            text, "número entero");
                            });
}

long double levelValue(const StudyDocument& study, int level) {
    std::string scratch;
    const std::string_view text = levelValueView(study, level, scratch);
    return withErrorContext(
        [&] { return parseDecimal(text); },
        [&] { return notA("El valor del nivel " + integerText(level), text, "número"); });
}

long double recoveredAmount(const StudyDocument& study, int row) {
    std::string scratch;
    const std::string_view text = recoveredAmountView(study, row, scratch);
    return withErrorContext(
        [&] { return parseDecimal(text); },
        [&] {
            return notA("El dato de la fila " + integerText(row) + " de Captura de Datos", text,
                        "número");
        });
}

long long replicateTotal(const StudyDocument& study, int levels) {
    long long total = 0;
    for (int i = 1; i <= levels; ++i)
        total += replicateCount(study, i);
    return total;
}

}  // namespace ldc
