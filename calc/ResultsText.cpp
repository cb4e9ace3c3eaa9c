#include "calc/ResultsText.h"

#include "calc/FormatGeneral.h"
#include "calc/LimitText.h"

namespace ldc {
namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

void writeRegressionLines(const CalibrationResults& r, LineSink& sink) {
    sink.appendLine("PENDIENTE = " + formatGeneral(r.slope));
    sink.appendLine("LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA = " + formatGeneral(r.slopeUpper));
    sink.appendLine("LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA = " + formatGeneral(r.slopeLower));
    sink.appendLine("");
    sink.appendLine("ORDENADA AL ORIGEN = " + formatGeneral(r.intercept));
    sink.appendLine("LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA DE ORDENADA AL ORIGEN = " +
                    formatGeneral(r.interceptUpper));
    sink.appendLine("LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA DE ORDENADA AL ORIGEN = " +
                    formatGeneral(r.interceptLower));
    sink.appendLine("");
    sink.appendLine("DESVIACIÓN ESTÁNDAR DE REGRESIÓN = " + formatGeneral(r.residualStdDev));
    sink.appendLine("COEFICIENTE DE VARIACIÓN = " + formatGeneral(r.variationCoefficient));
    sink.appendLine("COEFICIENTE DE DETERMINACIÓN = " + formatGeneral(r.determinationCoefficient));
    sink.appendLine("");
}

void writeResultsLines(const std::string& basis, const CalibrationResults& r,
                       const std::string& addedUnits, LineSink& sink) {
    sink.appendLine("VARIABILIDAD " + quoted(basis));
    sink.appendLine("");
    writeRegressionLines(r, sink);
    if (basis == kBasisIntercept)
        sink.appendLine("DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = " +
                        formatGeneral(r.interceptStdDev));
    // Without a basis the limits are named after the blank readings they stand on.
    if (basis.empty() || limitsCalculated(basis)) {
        const std::string name = quoted(basis.empty() ? "BLANCOS" : basis);
        sink.appendLine("LÍMITE DE DETECCIÓN " + name + " = " +
                        limitValueText(basis, r, r.detectionLimit, addedUnits));
        sink.appendLine("LÍMITE DE CUANTIFICACIÓN " + name + " = " +
                        limitValueText(basis, r, r.quantificationLimit, addedUnits));
        sink.appendLine("");
    }
}

void calculateResults(const StudyDocument& study, CalibrationResults& results, LineSink& sink) {
    const std::string basis = study.text(StudyField::limitBasis);
    ComputeCalibration(study, results);
    writeResultsLines(basis, results, study.text(StudyField::addedUnits), sink);
}

}  // namespace ldc
