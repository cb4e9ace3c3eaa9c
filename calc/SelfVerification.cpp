#include "calc/SelfVerification.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "study/LdcError.h"
#include "study/Numbers.h"
#include "study/Workstation.h"

namespace ldc {

namespace {

// Fifteen significant digits: as many as a double holds for certain, so that the table
// shows how close the program came, not a rounding of it.
std::string programValueText(double value) {
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    std::string text(buffer, end);
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    return text;
}

std::string toleranceText(const Tolerance& tolerance) {
    return "±" + tolerance.amount +
           (tolerance.kind == Tolerance::Kind::relative ? " relativa" : "");
}

bool withinTolerance(double value, const ReferenceCheck& check) {
    const long double reference = parseDecimal(check.reference);
    long double allowed = parseDecimal(check.tolerance.amount);
    if (check.tolerance.kind == Tolerance::Kind::relative)
        allowed *= std::fabs(reference);
    // A NaN compares false and fails.
    return std::fabs(static_cast<long double>(value) - reference) <= allowed;
}

// Columns as wide as their longest text, counted in characters (UTF-8 lead bytes).
std::size_t displayWidth(const std::string& text) {
    std::size_t width = 0;
    for (const unsigned char c : text)
        width += (c & 0xC0) != 0x80;
    return width;
}

}  // namespace

Tolerance roundedAsPrinted(const std::string& referenceText) {
    const std::size_t exponentAt = referenceText.find_first_of("eE");
    const std::string mantissa = referenceText.substr(0, exponentAt);
    const std::size_t point = mantissa.find('.');
    const int decimals = point == std::string::npos ? 0 : int(mantissa.size() - point - 1);
    if (exponentAt == std::string::npos)
        return {Tolerance::Kind::absolute, "0." + std::string(decimals, '0') + "5"};
    const int exponent = std::atoi(referenceText.c_str() + exponentAt + 1);
    return {Tolerance::Kind::absolute, "5E" + std::to_string(exponent - decimals - 1)};
}

Tolerance relativeTolerance(const std::string& amount) {
    return {Tolerance::Kind::relative, amount};
}

std::vector<VerificationRow> runSelfVerification(const std::vector<ReferenceCase>& cases) {
    std::vector<VerificationRow> rows;
    for (const ReferenceCase& c : cases) {
        Figures figures;
        std::string failure;
        try {
            figures = c.compute();
        } catch (const Error& e) {
            // The verification reports a case that stops as failed and goes on with the
            // others: the table must show every check.
            failure = errorBoxText(e);
        }
        for (const ReferenceCheck& check : c.checks) {
            VerificationRow row{c.title,  check.quantity, check.reference,
                                c.source, failure,        toleranceText(check.tolerance)};
            if (const auto value = figures[static_cast<std::size_t>(check.figure)]) {
                row.programValue = programValueText(*value);
                row.passed = withinTolerance(*value, check);
            } else if (failure.empty()) {
                row.programValue = "no calculado";
            }
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

bool allPassed(const std::vector<VerificationRow>& rows) {
    for (const VerificationRow& row : rows)
        if (!row.passed)
            return false;
    return !rows.empty();
}

std::string verdictText(bool passed) {
    return passed ? "Cumple" : "No cumple";
}

std::string verificationSummary(const std::vector<VerificationRow>& rows) {
    std::size_t failed = 0;
    for (const VerificationRow& row : rows)
        failed += !row.passed;
    const std::string total = integerText(static_cast<long long>(rows.size()));
    if (allPassed(rows))
        return "Verificación superada: cumplen las " + total + " comprobaciones.";
    return "Verificación NO superada: " + std::string(failed == 1 ? "no cumple " : "no cumplen ") +
           integerText(static_cast<long long>(failed)) + " de " + total + " comprobaciones.";
}

VerificationContext currentVerificationContext() {
    return {workstationHost(), workstationUser(), programNameAndVersion(), isoLocalTimeNow()};
}

std::vector<std::string> contextLines(const VerificationContext& context) {
    return {"Equipo: " + context.machine, "Usuario: " + context.user,
            "Programa: " + context.version, "Fecha: " + context.date};
}

std::array<std::string, 5> verificationHeadings() {
    return {"Magnitud", "Valor de referencia", "Valor del programa", "Tolerancia", "Resultado"};
}

std::array<std::string, 5> verificationCells(const VerificationRow& row) {
    return {row.quantity, row.reference, row.programValue, row.tolerance, verdictText(row.passed)};
}

std::vector<std::string> verificationTextLines(const std::vector<VerificationRow>& rows,
                                               const VerificationContext& context) {
    std::array<std::size_t, 5> widths{};
    auto widen = [&widths](const std::array<std::string, 5>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            widths[i] = std::max(widths[i], displayWidth(cells[i]));
    };
    widen(verificationHeadings());
    for (const VerificationRow& row : rows)
        widen(verificationCells(row));
    auto aligned = [&widths](const std::array<std::string, 5>& cells) {
        std::string line = "  ";
        for (std::size_t i = 0; i < cells.size(); ++i) {
            line += cells[i];
            if (i + 1 < cells.size())
                line += std::string(widths[i] - displayWidth(cells[i]) + 2, ' ');
        }
        return line;
    };

    std::vector<std::string> lines{kVerificationTitle};
    for (std::string& line : contextLines(context))
        lines.push_back(std::move(line));
    lines.emplace_back();
    lines.push_back(aligned(verificationHeadings()));
    const std::string* caseTitle = nullptr;
    for (const VerificationRow& row : rows) {
        if (!caseTitle || *caseTitle != row.caseTitle) {
            caseTitle = &row.caseTitle;
            lines.emplace_back();
            lines.push_back(row.caseTitle);
            lines.push_back("Fuente: " + row.source);
        }
        lines.push_back(aligned(verificationCells(row)));
    }
    lines.emplace_back();
    lines.push_back(verificationSummary(rows));
    return lines;
}

}  // namespace ldc
