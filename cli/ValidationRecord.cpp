#include "cli/ValidationRecord.h"

#include <exception>
#include <optional>
#include <vector>

#include "calc/LimitText.h"
#include "calc/Ucalculo.h"
#include "files/JsonLine.h"
#include "files/StudyFile.h"
#include "study/CalibrationStudy.h"
#include "study/LdcError.h"

namespace ldc {
namespace {

void limitPair(JsonLine& j, const LimitPair& pair) {
    j.beginObject().key("ld").value(pair.detection).key("lc").value(pair.quantification);
    j.endObject();
}

void interval(JsonLine& j, const std::optional<Interval>& ci) {
    if (!ci) {
        j.null();
        return;
    }
    j.beginArray().value(std::optional<double>(ci->lower)).value(std::optional<double>(ci->upper));
    j.endArray();
}

void optionalBool(JsonLine& j, std::optional<bool> flag) {
    if (flag)
        j.value(*flag);
    else
        j.null();
}

// The figures exactly as the results window computes them, with its own t table.
void calculationResults(JsonLine& j, const CalibrationResults& r) {
    const CalibrationWork& w = calibrationWork();
    const bool basis = limitsCalculated(w.limitBasis, r);
    const auto d = [](double x) { return std::optional<double>(x); };
    j.beginObject();
    j.key("pendiente").value(d(r.slope)).key("pendiente_ls").value(d(r.slopeUpper));
    j.key("pendiente_li").value(d(r.slopeLower)).key("ordenada").value(d(r.intercept));
    j.key("ordenada_ls").value(d(r.interceptUpper)).key("ordenada_li").value(d(r.interceptLower));
    j.key("s_yx").value(d(r.residualStdDev)).key("cv").value(d(r.variationCoefficient));
    j.key("r2").value(d(r.determinationCoefficient)).key("s_ordenada").value(d(r.interceptStdDev));
    j.key("s_pendiente").value(d(w.slopeStdDev));
    j.key("t").value(d(studentT(w.studentT, w.observationCount - 2)));
    j.key("base").value(std::string_view(w.limitBasis));
    j.key("ld").value(basis ? d(r.detectionLimit) : std::nullopt);
    j.key("lc").value(basis ? d(r.quantificationLimit) : std::nullopt);
    j.endObject();
}

void limits(JsonLine& j, const ValidationStatistics& v, const ValidationParameters& p,
            const std::optional<BlankSummary>& blanks) {
    const CalibrationMethodLimits& din = v.din32645;
    j.beginObject();
    j.key("ich_regresion");
    limitPair(j, v.ichRegression);
    j.key("ich_ordenada");
    limitPair(j, v.ichIntercept);
    j.key("ich_blancos");
    if (v.ichBlank && blanks) {
        j.beginObject().key("ld").value(v.ichBlank->detection);
        j.key("lc").value(v.ichBlank->quantification);
        j.key("n_blancos").value(static_cast<long long>(blanks->count));
        j.key("s_blancos").value(std::optional(blanks->stdDev)).endObject();
    } else {
        j.null();
    }
    j.key("din32645").beginObject();
    j.key("alfa").value(std::optional<double>(p.alpha)).key("beta").value(std::optional(p.beta));
    j.key("k").value(std::optional(p.k)).key("m").value(std::optional(p.m));
    j.key("y_critico").value(din.criticalSignal).key("x_ng").value(din.decision);
    j.key("x_eg").value(din.detection).key("x_bg").value(din.quantification);
    j.endObject().endObject();
}

void linearity(JsonLine& j, const ValidationStatistics& v) {
    j.beginObject().key("falta_de_ajuste");
    if (const auto& lof = v.lackOfFit) {
        j.beginObject().key("F").value(std::optional(lof->f));
        j.key("gl_num").value(static_cast<long long>(lof->numeratorDf));
        j.key("gl_den").value(static_cast<long long>(lof->denominatorDf));
        j.key("p").value(std::optional(lof->p)).endObject();
    } else {
        j.null();
    }
    j.key("mandel");
    if (const auto& mandel = v.mandel) {
        j.beginObject().key("PW").value(std::optional(mandel->pw));
        j.key("F_critico_99").value(std::optional(mandel->critical99));
        j.key("p").value(std::optional(mandel->p)).endObject();
    } else {
        j.null();
    }
    j.key("residuos").beginArray();
    for (const double e : v.residuals)
        j.value(std::optional(e));
    j.endArray().key("error_relativo_pct").beginArray();
    for (const std::optional<double>& e : v.relativeErrorPct)
        j.value(e);
    j.endArray().endObject();
}

void recovery(JsonLine& j, const ValidationStatistics& v) {
    j.beginObject().key("pendiente_ic95");
    interval(j, v.slopeCi95);
    j.key("ordenada_ic95");
    interval(j, v.interceptCi95);
    j.key("pendiente_incluye_1");
    optionalBool(j, v.slopeIncludesOne);
    j.key("ordenada_incluye_0");
    optionalBool(j, v.interceptIncludesZero);
    j.key("por_nivel").beginArray();
    for (const LevelRecovery& level : v.perLevel) {
        j.beginObject().key("x").value(std::optional(level.added));
        j.key("n").value(static_cast<long long>(level.count)).key("media").value(level.mean);
        j.key("recuperacion_pct").value(level.recoveryPct).key("drs_pct").value(level.rsdPct);
        j.endObject();
    }
    j.endArray().endObject();
}

// The ICH approaches on the regression's, the intercept's and the blanks' standard deviation
// are the results window's limits: a laboratory system comparing "resultados" with "limites"
// must find the very same numbers, not the same figures computed in another order.
void useResultsWindowLimits(ValidationStatistics& v, const CalibrationResults& r) {
    const CalibrationWork& w = calibrationWork();
    v.ichRegression = {w.regressionDetectionLimit, w.regressionQuantificationLimit};
    v.ichIntercept = {w.interceptDetectionLimit, w.interceptQuantificationLimit};
    if (v.ichBlank && !limitsCalculated(w.limitBasis) && limitsCalculated(w.limitBasis, r))
        v.ichBlank = LimitPair{w.blankDetectionLimit, w.blankQuantificationLimit};
}

}  // namespace

bool validationRecord(const std::string& path, const ValidationParameters& parameters,
                      std::string& line) {
    std::optional<std::string> error;
    std::optional<CalibrationResults> results;
    std::optional<ValidationStatistics> statistics;
    std::optional<BlankSummary> blanks;
    try {
        CalibrationStudy study;
        openStudyFile(path, study);
        try {
            CalibrationResults r;
            ComputeCalibration(study, r);
            results = r;
        } catch (const Error&) {
            // The statistics still say what they can of a study the calculation stops on.
            error = errorBoxText(std::current_exception());
        }
        try {
            blanks = studyBlankSummary(study);
        } catch (const Error&) {
            // A blank reading that does not convert takes only the blank limits with it.
            if (!error)
                error = errorBoxText(std::current_exception());
        }
        statistics = computeValidationStatistics(studyLevelResults(study), parameters, blanks);
        if (results)
            useResultsWindowLimits(*statistics, *results);
    } catch (const Error&) {
        if (!error)
            error = errorBoxText(std::current_exception());
    }

    JsonLine j;
    j.beginObject().key("archivo").value(std::string_view(path)).key("error");
    if (error)
        j.value(std::string_view(*error));
    else
        j.null();
    j.key("avisos").beginArray();
    if (statistics)
        for (const std::string& warning : statistics->warnings)
            j.value(std::string_view(warning));
    j.endArray();
    if (statistics) {
        j.key("n").value(static_cast<long long>(statistics->results));
        j.key("niveles").value(static_cast<long long>(statistics->levels));
    } else {
        j.key("n").null().key("niveles").null();
    }
    j.key("resultados");
    if (results)
        calculationResults(j, *results);
    else
        j.null();
    if (statistics) {
        j.key("limites");
        limits(j, *statistics, parameters, blanks);
        j.key("linealidad");
        linearity(j, *statistics);
        j.key("recuperacion");
        recovery(j, *statistics);
    } else {
        j.key("limites").null().key("linealidad").null().key("recuperacion").null();
    }
    j.endObject();
    line = j.text();
    return !error;
}

}  // namespace ldc
