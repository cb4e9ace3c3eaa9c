#include "report/ReportText.h"

#include <algorithm>

#include "calc/FormatGeneral.h"
#include "calc/LimitText.h"
#include "calc/ResultsText.h"
#include "calc/StudyValues.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

std::string blanks(int count) {
    return std::string(static_cast<std::size_t>(count), ' ');
}
std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

void writeReport(const StudyDocument& study, CalibrationResults& results, LineSink& sink) {
    using F = StudyField;

    sink.appendLine("LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO");
    sink.appendLine("VARIABILIDAD: CURVA DE CALIBRACIÓN");
    sink.appendLine("Información General");
    sink.appendLine("");
    sink.appendLine("Nombre del Método: " + study.text(F::method));
    sink.appendLine("Nombre del Analista: " + study.text(F::analyst));
    sink.appendLine("Fecha: " + study.text(F::date));
    sink.appendLine("Unidades de la cantidad adicionada: " + study.text(F::addedUnits));
    sink.appendLine("Unidades de la cantidad recuperada: " + study.text(F::recoveredUnits));
    sink.appendLine("");
    sink.appendLine("");
    sink.appendLine("Información de niveles");
    sink.appendLine("");
    sink.appendLine("Número de niveles de cantidad adicionada:");
    sink.appendLine(study.text(F::levelCount));
    sink.appendLine("");
    sink.appendLine(blanks(20) + "Valor" + blanks(8) + "Replicación" + blanks(1));

    const int k = levelCount(study);
    for (int i = 1; i <= k; ++i)
        sink.appendLine("Nivel " + integerText(i) + blanks(9) + levelValueText(study, i) +
                        blanks(14) + replicateCountText(study, i));
    sink.appendLine("");
    sink.appendLine(blanks(42) + study.text(F::recoveredUnits));
    // Rows beyond the results table hold nothing; listing them would only let a mistyped
    // replicate count fill memory with empty lines before the calculation refuses it.
    const long long n = std::min<long long>(replicateTotal(study, k), resultRows(study));
    for (long long r = 1; r <= n; ++r) {
        const int row = static_cast<int>(r);
        sink.appendLine(rowLabelText(study, row) + blanks(12) + recoveredAmountText(study, row));
    }

    ComputeCalibration(study, results);

    const std::string basis = study.text(F::limitBasis);
    const std::string units = study.text(F::addedUnits);
    sink.appendLine("");
    sink.appendLine("LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO");
    sink.appendLine("VARIABILIDAD " + quoted(basis));
    writeRegressionLines(results, sink);
    if (basis == kBasisIntercept)
        sink.appendLine("DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = " +
                        formatGeneral(results.interceptStdDev));
    // The report leaves out the limits of a study without a basis altogether.
    if (limitsCalculated(basis)) {
        sink.appendLine("LÍMITE DE DETECCIÓN  " + quoted(basis) + " = " +
                        limitValueText(basis, results, results.detectionLimit, units));
        sink.appendLine("LÍMITE DE CUANTIFICACIÓN  " + quoted(basis) + " = " +
                        limitValueText(basis, results, results.quantificationLimit, units));
    }
}

}  // namespace ldc
