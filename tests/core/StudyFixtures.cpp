#include "StudyFixtures.h"

#include "study/Numbers.h"
#include "study/StudyLayout.h"

namespace ldc::testing {

CalibrationStudy makeStudy(const StudyOutline& outline) {
    using G = StudyTable;
    CalibrationStudy study;
    study.setText(StudyField::method, "Valoración de prueba");
    study.setText(StudyField::analyst, "Analista");
    study.setText(StudyField::date, "06/12/2026");
    study.setText(StudyField::addedUnits, outline.addedUnits);
    study.setText(StudyField::recoveredUnits, outline.recoveredUnits);
    study.setText(StudyField::limitBasis, outline.basis);
    study.setBlankReadings(outline.blanks);
    const int k = static_cast<int>(outline.levelValues.size());
    study.setText(StudyField::levelCount, integerText(k));
    study.setColumnCount(G::levels, k + 1);
    int n = 0;
    for (int i = 1; i <= k; ++i) {
        setLevelHeaderText(study, i, levelHeader(i));
        setLevelValueText(study, i, outline.levelValues[i - 1]);
        setReplicateCountText(study, i, integerText(outline.results[i - 1].size()));
        n += static_cast<int>(outline.results[i - 1].size());
    }
    study.setRowCount(G::results, n + 1);
    setRecoveredAmountText(study, 0, outline.recoveredUnits);
    int row = 1;
    for (const auto& level : outline.results)
        for (const auto& value : level)
            setRecoveredAmountText(study, row++, value);
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

StudyOutline uniformOutline(int levels, int replicates) {
    StudyOutline outline;
    for (int i = 1; i <= levels; ++i) {
        outline.levelValues.push_back(integerText(i));
        outline.results.emplace_back();
        for (int j = 1; j <= replicates; ++j)
            outline.results.back().push_back(integerText(i) + "." + integerText(j % 10));
    }
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
