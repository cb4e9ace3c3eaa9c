#include "calc/ValidationContent.h"

#include "calc/FormatGeneral.h"
#include "calc/StudyValues.h"

namespace ldc {
namespace {

constexpr const char* kNone = "—";

std::string number(const std::optional<double>& value) {
    return value ? formatGeneral(*value) : kNone;
}

std::string number(double value) {
    return formatGeneral(value);
}

std::string yesNo(const std::optional<bool>& flag) {
    return flag ? (*flag ? "sí" : "no") : kNone;
}

ValidationTable limitsTable(const ValidationStatistics& v, const StudyIdentity& id) {
    ValidationTable t{"Límites (" + id.addedUnits + "; señal crítica en " + id.recoveredUnits + ")",
                      {"Enfoque", "Decisión", "Detección", "Cuantificación", "Señal crítica"},
                      {}};
    const auto ich = [&](const char* approach, const std::optional<LimitPair>& pair) {
        t.rows.push_back({approach, kNone, number(pair ? pair->detection : std::nullopt),
                          number(pair ? pair->quantification : std::nullopt), kNone});
    };
    ich(kApproachResidual, v.ichRegression);
    ich(kApproachIntercept, v.ichIntercept);
    ich(kApproachBlanks, v.ichBlank);
    const CalibrationMethodLimits& din = v.din32645;
    t.rows.push_back({kApproachDin, number(din.decision), number(din.detection),
                      number(din.quantification), number(din.criticalSignal)});
    return t;
}

ValidationTable linearityTable(const ValidationStatistics& v) {
    ValidationTable t{
        "Linealidad", {"Prueba", "Estadístico", "Grados de libertad", "F crítico (99 %)", "p"}, {}};
    if (const auto& f = v.lackOfFit)
        t.rows.push_back({"Falta de ajuste (F)", number(f->f),
                          std::to_string(f->numeratorDf) + "; " + std::to_string(f->denominatorDf),
                          number(f->critical99), number(f->p)});
    else
        t.rows.push_back({"Falta de ajuste (F)", kNone, kNone, kNone, kNone});
    if (const auto& m = v.mandel)
        t.rows.push_back({"Mandel (PW)", number(m->pw), "1; " + std::to_string(v.results - 3),
                          number(m->critical99), number(m->p)});
    else
        t.rows.push_back({"Mandel (PW)", kNone, kNone, kNone, kNone});
    return t;
}

ValidationTable intervalsTable(const ValidationStatistics& v) {
    ValidationTable t{
        "Intervalos de confianza del 95 %",
        {"Parámetro", "Valor", "Límite inferior", "Límite superior", "Valor ideal", "¿Lo incluye?"},
        {}};
    const auto row = [&](const char* name, const std::optional<double>& value,
                         const std::optional<Interval>& ci, const char* ideal,
                         const std::optional<bool>& includes) {
        t.rows.push_back({name, number(value), ci ? number(ci->lower) : kNone,
                          ci ? number(ci->upper) : kNone, ideal, yesNo(includes)});
    };
    row("Pendiente", v.slope, v.slopeCi95, "1", v.slopeIncludesOne);
    row("Ordenada al origen", v.intercept, v.interceptCi95, "0", v.interceptIncludesZero);
    return t;
}

ValidationTable perLevelTable(const ValidationStatistics& v) {
    ValidationTable t{
        "Recuperación por nivel",
        {"Cantidad adicionada", "n", "Media recuperada", "Recuperación (%)", "DER (%)"},
        {}};
    for (const LevelRecovery& level : v.perLevel)
        t.rows.push_back({number(level.added), std::to_string(level.count), number(level.mean),
                          number(level.recoveryPct), number(level.rsdPct)});
    return t;
}

ValidationTable residualsTable(const ValidationInputs& inputs, const ValidationStatistics& v) {
    ValidationTable t{"Residuos",
                      {"Resultado", "Cantidad adicionada", "Cantidad recuperada", "Residuo",
                       "Error relativo (%)"},
                      {}};
    std::size_t i = 0;
    for (const LevelResults& level : inputs.levels)
        for (const long double y : level.recovered) {
            t.rows.push_back(
                {i < inputs.resultLabels.size() ? inputs.resultLabels[i] : "",
                 number(static_cast<double>(level.added)), number(static_cast<double>(y)),
                 i < v.residuals.size() ? number(v.residuals[i]) : kNone,
                 i < v.relativeErrorPct.size() ? number(v.relativeErrorPct[i]) : kNone});
            ++i;
        }
    return t;
}

// The readings behind the blank approach's limits, as typed, so that a record shows the data
// its figures came from.
ValidationTable blanksTable(const ValidationInputs& inputs) {
    ValidationTable t{
        "Lecturas de blancos (" + inputs.identity.recoveredUnits + ")", {"Lectura", "Valor"}, {}};
    for (std::size_t i = 0; i < inputs.blankReadings.size(); ++i)
        t.rows.push_back({"Blanco " + std::to_string(i + 1), inputs.blankReadings[i]});
    if (inputs.blanks)
        t.rows.push_back({"Desviación estándar (n = " + std::to_string(inputs.blanks->count) + ")",
                          number(inputs.blanks->stdDev)});
    if (t.rows.empty())
        t.rows.push_back({kNone, "sin lecturas"});
    return t;
}

}  // namespace

ValidationInputs validationInputs(const StudyDocument& study) {
    using F = StudyField;
    ValidationInputs inputs;
    inputs.identity = {study.text(F::method), study.text(F::analyst), study.text(F::date),
                       study.text(F::addedUnits), study.text(F::recoveredUnits)};
    inputs.levels = studyLevelResults(study);
    inputs.blanks = studyBlankSummary(study);
    inputs.blankReadings = blankReadingTexts(study);
    // The labels of the rows the values came from, counted as studyLevelResults counts them.
    const int k = levelCount(study);
    int row = 0;
    for (int i = 1; i <= k; ++i) {
        const int n = replicateCount(study, i);
        for (int j = 1; j <= n; ++j)
            inputs.resultLabels.push_back(rowLabelText(study, row + j));
        row += n;
    }
    return inputs;
}

ValidationContent validationContent(const ValidationInputs& inputs,
                                    const ValidationParameters& parameters) {
    ValidationContent c;
    c.statistics = computeValidationStatistics(inputs.levels, parameters, inputs.blanks);
    c.calibration = calibrationPlot(inputs.levels, c.statistics);
    c.residuals = residualPlot(inputs.levels, c.statistics);
    c.tables = {limitsTable(c.statistics, inputs.identity),
                linearityTable(c.statistics),
                intervalsTable(c.statistics),
                perLevelTable(c.statistics),
                residualsTable(inputs, c.statistics),
                blanksTable(inputs)};
    c.warnings = c.statistics.warnings;
    if (!inputs.blanks)
        c.warnings.push_back(
            "El estudio no tiene al menos dos lecturas de blancos: los límites con su "
            "desviación estándar no se calculan.");
    return c;
}

std::string parametersText(const ValidationParameters& p) {
    // Semicolons between them: with a decimal comma, "α = 0,01, β" would read as one list.
    return "Parámetros: α = " + formatGeneral(p.alpha) + "; β = " + formatGeneral(p.beta) +
           "; k = " + formatGeneral(p.k) + "; m = " + formatGeneral(p.m);
}

std::string addedAxisTitle(const StudyIdentity& identity) {
    return "Cantidad adicionada (" + identity.addedUnits + ")";
}

std::string recoveredAxisTitle(const StudyIdentity& identity) {
    return "Cantidad recuperada (" + identity.recoveredUnits + ")";
}

std::string residualAxisTitle(const StudyIdentity& identity) {
    return "Residuo (" + identity.recoveredUnits + ")";
}

}  // namespace ldc
