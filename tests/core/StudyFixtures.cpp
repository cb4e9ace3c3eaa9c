#include "StudyFixtures.h"

#include "study/Numbers.h"
#include "study/StudyLayout.h"

namespace ldc::testing {

CalibrationStudy makeStudy(const StudyOutline& outline) {
    using G = StudyGrid;
    CalibrationStudy study;
    study.setText(StudyField::emetodo, "Valoración de prueba");
    study.setText(StudyField::eanalista, "Analista");
    study.setText(StudyField::efecha, "06/12/2026");
    study.setText(StudyField::ecanad, outline.addedUnits);
    study.setText(StudyField::erecupera, outline.recoveredUnits);
    study.setText(StudyField::ComboBox1, outline.basis);
    const int k = static_cast<int>(outline.levelValues.size());
    study.setText(StudyField::enivel, integerText(k));
    study.setColumnCount(G::stgnivel, k + 1);
    int n = 0;
    for (int i = 1; i <= k; ++i) {
        study.setCell(G::stgnivel, i, 0, levelHeader(i));
        study.setCell(G::stgnivel, i, 1, outline.levelValues[i - 1]);
        study.setCell(G::stgnivel, i, 2, integerText(outline.results[i - 1].size()));
        n += static_cast<int>(outline.results[i - 1].size());
    }
    study.setRowCount(G::stgdatos, n + 1);
    study.setCell(G::stgdatos, 1, 0, outline.recoveredUnits);
    int row = 1;
    for (const auto& level : outline.results)
        for (const auto& value : level)
            study.setCell(G::stgdatos, 1, row++, value);
    writeRowLabels(study, k);
    return study;
}

StudyOutline workedExample(const std::string& basis) {
    StudyOutline outline;
    outline.levelValues = {"2", "4", "6"};
    outline.results = {{"1.9", "2.1", "2.0"}, {"4.1", "3.9", "4.2"}, {"5.8", "6.1", "6.0"}};
    outline.basis = basis;
    return outline;
}

std::vector<std::string> workedExampleRegressionLines() {
    return {
        "PENDIENTE = 0.991667",
        "LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA = 1.05674",
        "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA = 0.926596",
        "",
        "ORDENADA AL ORIGEN = 0.0444444",
        "LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA DE ORDENADA AL ORIGEN = 0.325581",
        "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA DE ORDENADA AL ORIGEN = -0.236692",
        "",
        "DESVIACIÓN ESTÁNDAR DE REGRESIÓN = 0.134813",
        "COEFICIENTE DE VARIACIÓN = 3.36099",
        "COEFICIENTE DE DETERMINACIÓN = 0.994639",
        "",
    };
}

}  // namespace ldc::testing
