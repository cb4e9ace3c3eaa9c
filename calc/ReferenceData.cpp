#include "calc/ReferenceData.h"

#include <algorithm>

#include "calc/Ucalculo.h"
#include "study/StudyLayout.h"

namespace ldc {

namespace {

// Transcribed from the NIST StRD data files (columns y, x, in the files' order).
constexpr ReferencePoint kNorris[] = {
    {0.1L, 0.2L},     {338.8L, 337.4L}, {118.1L, 118.2L}, {888.0L, 884.6L}, {9.2L, 10.1L},
    {228.1L, 226.5L}, {668.5L, 666.3L}, {998.5L, 996.3L}, {449.1L, 448.6L}, {778.9L, 777.0L},
    {559.2L, 558.2L}, {0.3L, 0.4L},     {0.1L, 0.6L},     {778.1L, 775.5L}, {668.8L, 666.9L},
    {339.3L, 338.0L}, {448.9L, 447.5L}, {10.8L, 11.6L},   {557.7L, 556.0L}, {228.3L, 228.1L},
    {998.0L, 995.8L}, {888.8L, 887.6L}, {119.6L, 120.2L}, {0.3L, 0.3L},     {0.6L, 0.3L},
    {557.6L, 556.8L}, {339.3L, 339.1L}, {888.0L, 887.2L}, {998.5L, 999.0L}, {778.9L, 779.0L},
    {10.2L, 11.1L},   {117.6L, 118.3L}, {228.9L, 229.2L}, {668.4L, 669.1L}, {449.2L, 448.9L},
    {0.2L, 0.5L},
};

constexpr ReferencePoint kPontius[] = {
    {.11019L, 150000L},   {.21956L, 300000L},   {.32949L, 450000L},   {.43899L, 600000L},
    {.54803L, 750000L},   {.65694L, 900000L},   {.76562L, 1050000L},  {.87487L, 1200000L},
    {.98292L, 1350000L},  {1.09146L, 1500000L}, {1.20001L, 1650000L}, {1.30822L, 1800000L},
    {1.41599L, 1950000L}, {1.52399L, 2100000L}, {1.63194L, 2250000L}, {1.73947L, 2400000L},
    {1.84646L, 2550000L}, {1.95392L, 2700000L}, {2.06128L, 2850000L}, {2.16844L, 3000000L},
    {.11052L, 150000L},   {.22018L, 300000L},   {.32939L, 450000L},   {.43886L, 600000L},
    {.54798L, 750000L},   {.65739L, 900000L},   {.76596L, 1050000L},  {.87474L, 1200000L},
    {.98300L, 1350000L},  {1.09150L, 1500000L}, {1.20004L, 1650000L}, {1.30818L, 1800000L},
    {1.41613L, 1950000L}, {1.52408L, 2100000L}, {1.63159L, 2250000L}, {1.73965L, 2400000L},
    {1.84696L, 2550000L}, {1.95445L, 2700000L}, {2.06177L, 2850000L}, {2.16829L, 3000000L},
};

constexpr ReferencePoint kDin32645[] = {
    {3060, 0.05L}, {3522, 0.10L}, {3707, 0.15L}, {4280, 0.20L}, {5058, 0.25L},
    {5510, 0.30L}, {5703, 0.35L}, {6205, 0.40L}, {7156, 0.45L}, {7178, 0.50L},
};

constexpr const char* kRegression = "Regresión";
constexpr const char* kIntercept = "Ordenada al Origen";

Figures workedExampleFigures(const std::string& basis) {
    const CalibrationStudy study = workedExampleStudy(basis);
    CalibrationResults r;
    ComputeCalibration(study, r);
    Figures f;
    auto set = [&f](Figure figure, double value) { f[static_cast<std::size_t>(figure)] = value; };
    set(Figure::slope, r.slope);
    set(Figure::slopeUpper, r.slopeUpper);
    set(Figure::slopeLower, r.slopeLower);
    set(Figure::intercept, r.intercept);
    set(Figure::interceptUpper, r.interceptUpper);
    set(Figure::interceptLower, r.interceptLower);
    set(Figure::interceptStdDev, r.interceptStdDev);
    set(Figure::residualStdDev, r.residualStdDev);
    set(Figure::variationCoefficient, r.variationCoefficient);
    set(Figure::determination, r.determinationCoefficient);
    set(Figure::detectionLimit, r.detectionLimit);
    set(Figure::quantificationLimit, r.quantificationLimit);
    return f;
}

// The data sets too large for a study run through the validation statistics directly.
Figures validationFigures(std::span<const ReferencePoint> points) {
    const ValidationStatistics v = computeValidationStatistics(levelsOf(points));
    Figures f;
    auto set = [&f](Figure figure, std::optional<double> value) {
        f[static_cast<std::size_t>(figure)] = value;
    };
    set(Figure::slope, v.slope);
    set(Figure::slopeStdDev, v.slopeStdDev);
    set(Figure::intercept, v.intercept);
    set(Figure::interceptStdDev, v.interceptStdDev);
    set(Figure::residualStdDev, v.residualStdDev);
    set(Figure::determination, v.determination);
    if (v.lackOfFit) {
        set(Figure::lackOfFitF, v.lackOfFit->f);
        set(Figure::lackOfFitNumeratorDf, v.lackOfFit->numeratorDf);
        set(Figure::lackOfFitDenominatorDf, v.lackOfFit->denominatorDf);
    }
    set(Figure::decisionLimit, v.din32645.decision);
    set(Figure::calibrationDetectionLimit, v.din32645.detection);
    set(Figure::calibrationQuantificationLimit, v.din32645.quantification);
    return f;
}

ReferenceCheck printed(Figure figure, const char* quantity, const char* reference) {
    return {figure, quantity, reference, roundedAsPrinted(reference)};
}

// Degrees of freedom are counts: nothing but the published number passes.
ReferenceCheck counted(Figure figure, const char* quantity, const char* reference) {
    return {figure, quantity, reference, {Tolerance::Kind::absolute, "0"}};
}

ReferenceCheck certified(Figure figure, const char* quantity, const char* reference,
                         const char* relative) {
    return {figure, quantity, reference, relativeTolerance(relative)};
}

constexpr const char* kWorkedExampleSource =
    "Ejemplo de la ayuda del programa, tema \"Detección y Cuantificación\" (6 cifras "
    "significativas)";

}  // namespace

std::span<const ReferencePoint> norrisPoints() {
    return kNorris;
}

std::span<const ReferencePoint> pontiusPoints() {
    return kPontius;
}

std::span<const ReferencePoint> din32645Points() {
    return kDin32645;
}

std::vector<LevelResults> levelsOf(std::span<const ReferencePoint> points) {
    std::vector<LevelResults> levels;
    for (const ReferencePoint& p : points) {
        auto it = std::find_if(levels.begin(), levels.end(),
                               [&](const LevelResults& l) { return l.added == p.x; });
        if (it == levels.end())
            it = levels.insert(levels.end(), LevelResults{p.x, {}});
        it->recovered.push_back(p.y);
    }
    return levels;
}

CalibrationStudy workedExampleStudy(const std::string& basis) {
    const char* const values[] = {"2", "4", "6"};
    const char* const results[][3] = {
        {"1.9", "2.1", "2.0"}, {"4.1", "3.9", "4.2"}, {"5.8", "6.1", "6.0"}};
    CalibrationStudy study;
    study.setText(StudyField::method, "Ejemplo de cálculo");
    study.setText(StudyField::addedUnits, "mg");
    study.setText(StudyField::recoveredUnits, "mg");
    study.setText(StudyField::limitBasis, basis);
    study.setText(StudyField::levelCount, "3");
    study.setColumnCount(StudyTable::levels, 4);
    study.setRowCount(StudyTable::results, 10);
    int row = 1;
    for (int i = 1; i <= 3; ++i) {
        setLevelHeaderText(study, i, levelHeader(i));
        setLevelValueText(study, i, values[i - 1]);
        setReplicateCountText(study, i, "3");
        for (const char* result : results[i - 1])
            setRecoveredAmountText(study, row++, result);
    }
    setRecoveredAmountText(study, 0, "mg");
    writeRowLabels(study, 3);
    return study;
}

std::vector<ReferenceCase> referenceCases() {
    using F = Figure;
    std::vector<ReferenceCase> cases;
    cases.push_back(
        {"Ejemplo de cálculo, base \"Regresión\"",
         kWorkedExampleSource,
         [] { return workedExampleFigures(kRegression); },
         {printed(F::slope, "Pendiente", "0.991667"),
          printed(F::slopeUpper, "Límite superior del intervalo de la pendiente", "1.05674"),
          printed(F::slopeLower, "Límite inferior del intervalo de la pendiente", "0.926596"),
          printed(F::intercept, "Ordenada al origen", "0.0444444"),
          printed(F::interceptUpper, "Límite superior del intervalo de la ordenada", "0.325581"),
          printed(F::interceptLower, "Límite inferior del intervalo de la ordenada", "-0.236692"),
          printed(F::residualStdDev, "Desviación estándar de regresión", "0.134813"),
          printed(F::variationCoefficient, "Coeficiente de variación (%)", "3.36099"),
          printed(F::determination, "Coeficiente de determinación", "0.994639"),
          printed(F::detectionLimit, "Límite de detección", "0.448622"),
          printed(F::quantificationLimit, "Límite de cuantificación", "1.35946")}});
    cases.push_back(
        {"Ejemplo de cálculo, base \"Ordenada al Origen\"",
         kWorkedExampleSource,
         [] { return workedExampleFigures(kIntercept); },
         {printed(F::interceptStdDev, "Desviación estándar de la ordenada al origen", "0.118894"),
          printed(F::detectionLimit, "Límite de detección", "0.395648"),
          printed(F::quantificationLimit, "Límite de cuantificación", "1.19893")}});
    // NIST expects a sound double-precision routine to reproduce 9 to 15 digits.
    cases.push_back(
        {"NIST StRD \"Norris\": recta de mínimos cuadrados",
         "NIST Statistical Reference Datasets, regresión lineal, \"Norris\" (valores "
         "certificados)",
         [] { return validationFigures(kNorris); },
         {certified(F::slope, "Pendiente (B1)", "1.00211681802045", "1E-9"),
          certified(F::intercept, "Ordenada al origen (B0)", "-0.262323073774029", "1E-9"),
          certified(F::slopeStdDev, "Desviación estándar de la pendiente", "0.429796848199937E-03",
                    "1E-9"),
          certified(F::interceptStdDev, "Desviación estándar de la ordenada al origen",
                    "0.232818234301152", "1E-9"),
          certified(F::residualStdDev, "Desviación estándar residual", "0.884796396144373", "1E-9"),
          certified(F::determination, "Coeficiente de determinación (R²)", "0.999993745883712",
                    "1E-9")}});
    // The handbook rounds its figures; an exact computation agrees with them to about 1e-6.
    cases.push_back(
        {"NIST \"Pontius\" ajustado por una recta: falta de ajuste",
         "NIST/SEMATECH e-Handbook of Statistical Methods, sección 4.6.1 (datos NIST StRD "
         "\"Pontius\")",
         [] { return validationFigures(kPontius); },
         {certified(F::residualStdDev, "Desviación estándar residual de la recta", "0.0021712694",
                    "1E-5"),
          certified(F::lackOfFitF, "F de la falta de ajuste", "214.7464", "1E-5"),
          counted(F::lackOfFitNumeratorDf, "Grados de libertad de la falta de ajuste", "18"),
          counted(F::lackOfFitDenominatorDf, "Grados de libertad del error puro", "20")}});
    cases.push_back(
        {"DIN 32645: método de calibración",
         "DIN 32645, ejemplo del método de calibración (alfa = beta = 0.01, k = 3, m = 1)",
         [] { return validationFigures(kDin32645); },
         {printed(F::decisionLimit, "Límite de decisión (x_NG)", "0.07"),
          printed(F::calibrationDetectionLimit, "Límite de detección (x_EG)", "0.14"),
          printed(F::calibrationQuantificationLimit, "Límite de cuantificación (x_BG)", "0.212")}});
    return cases;
}

}  // namespace ldc
