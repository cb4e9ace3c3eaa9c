#include "calc/ValidationStatistics.h"

#include <algorithm>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <limits>
#include <map>

#include "calc/BlankReadings.h"
#include "calc/StudyValues.h"

namespace ldc {
namespace {

using X = long double;

constexpr X kDetectionFactor = 3.3L;
constexpr X kQuantificationFactor = 10.0L;

X tQuantile(X df, X probability) {
    return boost::math::quantile(boost::math::students_t_distribution<X>(df), probability);
}

X fUpperTail(X df1, X df2, X f) {
    return boost::math::cdf(boost::math::complement(boost::math::fisher_f_distribution<X>(df1, df2),
                                                    std::max(f, X(0))));
}

std::optional<double> finite(X value) {
    const double stored = static_cast<double>(value);
    return std::isfinite(stored) ? std::optional<double>(stored) : std::nullopt;
}

// Results at one added amount, gathered from every level that holds it: count, mean and
// the sum of squared deviations from the mean (combined exactly, level by level).
struct Group {
    X n = 0, mean = 0, squares = 0;

    void merge(X otherN, X otherMean, X otherSquares) {
        const X total = n + otherN;
        const X delta = otherMean - mean;
        squares += otherSquares + delta * delta * n * otherN / total;
        mean += delta * otherN / total;
        n = total;
    }
};

struct LevelSummary {
    X n = 0, mean = 0, squares = 0;
};

LevelSummary summarise(const std::vector<X>& values) {
    LevelSummary s;
    s.n = X(values.size());
    for (const X y : values)
        s.mean += y;
    s.mean /= s.n;
    for (const X y : values)
        s.squares += (y - s.mean) * (y - s.mean);
    return s;
}

class Warnings {
public:
    explicit Warnings(std::vector<std::string>& list) : m_list(list) {}
    void add(const std::string& text) {
        if (std::find(m_list.begin(), m_list.end(), text) == m_list.end())
            m_list.push_back(text);
    }

private:
    std::vector<std::string>& m_list;
};

bool parametersValid(const ValidationParameters& p) {
    return p.alpha > 0 && p.alpha < 1 && p.beta > 0 && p.beta < 1 && p.k > 0 && p.m >= 1 &&
           std::isfinite(p.k) && std::isfinite(p.m);
}

// x_BG = c·√(A + (x_BG − x̄)²/Q_x). The right side minus x is concave and negative at
// zero, and it grows without bound only when c < √Q_x: then its one positive root is
// reached by Newton steps from zero, each staying below the root.
std::optional<X> quantificationLimit(X c, X a, X meanX, X qx) {
    if (!(c < std::sqrt(qx)))
        return std::nullopt;
    X x = 0;
    for (int i = 0; i < 200; ++i) {
        const X root = std::sqrt(a + (x - meanX) * (x - meanX) / qx);
        const X g = x - c * root;
        const X slope = 1 - c * (x - meanX) / (qx * root);
        const X next = x - g / slope;
        if (std::fabs(next - x) <= 4 * std::numeric_limits<X>::epsilon() * std::fabs(next))
            return next;
        x = next;
    }
    return x;
}

}  // namespace

ValidationStatistics computeValidationStatistics(const std::vector<LevelResults>& levels,
                                                 const ValidationParameters& parameters,
                                                 std::optional<BlankSummary> blanks) {
    ValidationStatistics v;
    Warnings warn(v.warnings);

    X sumX = 0, sumY = 0;
    long long n = 0;
    std::map<X, Group> groups;
    for (const LevelResults& level : levels) {
        if (level.recovered.empty())
            continue;
        const LevelSummary s = summarise(level.recovered);
        n += level.recovered.size();
        sumX += s.n * level.added;
        sumY += s.n * s.mean;
        groups[level.added].merge(s.n, s.mean, s.squares);

        LevelRecovery row{
            static_cast<double>(level.added), static_cast<int>(s.n), finite(s.mean), {}, {}};
        if (level.added != 0)
            row.recoveryPct = finite(100 * s.mean / level.added);
        if (s.n > 1 && s.mean != 0)
            row.rsdPct = finite(100 * std::sqrt(s.squares / (s.n - 1)) / std::fabs(s.mean));
        v.perLevel.push_back(row);
    }
    v.results = static_cast<int>(n);
    v.levels = static_cast<int>(groups.size());
    if (n < 3) {
        warn.add(
            "El estudio tiene menos de tres resultados: hacen falta al menos tres para "
            "calcular la regresión.");
        return v;
    }
    const X count = X(n);
    const X meanX = sumX / count, meanY = sumY / count;
    X qx = 0, sxy = 0, syy = 0;
    for (const LevelResults& level : levels) {
        const X dx = level.added - meanX;
        for (const X y : level.recovered) {
            qx += dx * dx;
            sxy += dx * (y - meanY);
            syy += (y - meanY) * (y - meanY);
        }
    }
    if (qx == 0) {
        warn.add(
            "Todos los niveles tienen la misma cantidad adicionada: no hay una recta que "
            "ajustar.");
        return v;
    }
    const X b = sxy / qx;
    const X a = meanY - b * meanX;
    X ssRes = 0;
    v.residuals.reserve(n);
    v.relativeErrorPct.reserve(n);
    for (const LevelResults& level : levels)
        for (const X y : level.recovered) {
            const X e = y - (a + b * level.added);
            ssRes += e * e;
            v.residuals.push_back(static_cast<double>(e));
            v.relativeErrorPct.push_back(
                b != 0 && level.added != 0 ? finite(100 * ((y - a) / b - level.added) / level.added)
                                           : std::nullopt);
        }
    const X df = count - 2;
    const X s = std::sqrt(ssRes / df);
    const X slopeSd = s / std::sqrt(qx);
    const X interceptSd = s * std::sqrt(1 / count + meanX * meanX / qx);
    v.slope = finite(b);
    v.intercept = finite(a);
    v.residualStdDev = finite(s);
    v.slopeStdDev = finite(slopeSd);
    v.interceptStdDev = finite(interceptSd);
    if (syy > 0)
        v.determination = finite(1 - ssRes / syy);

    const X t95 = tQuantile(df, 0.975L);
    v.slopeCi95 =
        Interval{static_cast<double>(b - t95 * slopeSd), static_cast<double>(b + t95 * slopeSd)};
    v.interceptCi95 = Interval{static_cast<double>(a - t95 * interceptSd),
                               static_cast<double>(a + t95 * interceptSd)};
    v.slopeIncludesOne = v.slopeCi95->lower <= 1 && 1 <= v.slopeCi95->upper;
    v.interceptIncludesZero = v.interceptCi95->lower <= 0 && 0 <= v.interceptCi95->upper;

    const int k = v.levels;
    if (k > 2 && count > k) {
        X ssPe = 0;
        for (const auto& [x, g] : groups)
            ssPe += g.squares;
        if (ssPe > 0) {
            const X dfNum = k - 2, dfDen = count - k;
            const X f = ((ssRes - ssPe) / dfNum) / (ssPe / dfDen);
            const X critical99 =
                boost::math::quantile(boost::math::fisher_f_distribution<X>(dfNum, dfDen), 0.99L);
            v.lackOfFit = LackOfFitTest{
                static_cast<double>(std::max(f, X(0))), k - 2, static_cast<int>(n - k),
                static_cast<double>(fUpperTail(dfNum, dfDen, f)), static_cast<double>(critical99)};
        } else {
            warn.add(
                "Los resultados de cada nivel son iguales entre sí (error puro cero): la "
                "prueba de falta de ajuste no se puede calcular.");
        }
    }

    // The quadratic fitted through orthogonal polynomials of the centred amounts: the part
    // of u² not explained by 1 and u, projected on the straight line's residuals, is what
    // the quadratic removes from the residual sum of squares.
    if (n > 3 && k > 2) {
        X meanU2 = 0;
        for (const LevelResults& level : levels)
            meanU2 += level.recovered.size() * (level.added - meanX) * (level.added - meanX);
        meanU2 /= count;
        X pu = 0;
        for (const LevelResults& level : levels) {
            const X u = level.added - meanX;
            pu += level.recovered.size() * (u * u - meanU2) * u;
        }
        const X along = pu / qx;
        X pp = 0, pe = 0;
        std::size_t i = 0;
        for (const LevelResults& level : levels) {
            const X u = level.added - meanX;
            const X p = u * u - meanU2 - along * u;
            for (std::size_t j = 0; j < level.recovered.size(); ++j, ++i) {
                pp += p * p;
                pe += p * (level.recovered[j] - (a + b * level.added));
            }
        }
        const X ssQuad = std::max(ssRes - pe * pe / pp, X(0));
        const X s2Squared = ssQuad / (count - 3);
        if (s2Squared > 0) {
            const X pw = ((count - 2) * s * s - (count - 3) * s2Squared) / s2Squared;
            const boost::math::fisher_f_distribution<X> f(1, count - 3);
            v.mandel = MandelTest{static_cast<double>(pw),
                                  static_cast<double>(boost::math::quantile(f, 0.99L)),
                                  static_cast<double>(fUpperTail(1, count - 3, pw)),
                                  static_cast<double>(std::sqrt(s2Squared))};
        } else {
            warn.add(
                "La parábola pasa exactamente por todos los resultados: la prueba de Mandel "
                "no se puede calcular.");
        }
    }

    if (b == 0) {
        warn.add(
            "La pendiente es cero: los límites de detección y de cuantificación no se "
            "pueden calcular.");
        return v;
    }
    v.ichRegression = {finite(kDetectionFactor * s / b), finite(kQuantificationFactor * s / b)};
    v.ichIntercept = {finite(kDetectionFactor * interceptSd / b),
                      finite(kQuantificationFactor * interceptSd / b)};
    if (blanks) {
        if (blanks->count >= 2)
            v.ichBlank = LimitPair{finite(kDetectionFactor * blanks->stdDev / b),
                                   finite(kQuantificationFactor * blanks->stdDev / b)};
        else
            warn.add(
                "Hacen falta al menos dos lecturas de blancos para calcular los límites "
                "con su desviación estándar.");
    }

    if (!parametersValid(parameters)) {
        warn.add(
            "Los parámetros de DIN 32645 no son válidos: alfa y beta deben estar entre 0 y "
            "1, k ser positivo y m al menos 1.");
        return v;
    }
    const X sx0 = s / b;
    const X tAlpha = tQuantile(df, 1 - X(parameters.alpha));
    const X tBeta = tQuantile(df, 1 - X(parameters.beta));
    const X spread = 1 / X(parameters.m) + 1 / count;
    const X root = std::sqrt(spread + meanX * meanX / qx);
    v.din32645.criticalSignal = finite(a + s * tAlpha * root);
    v.din32645.decision = finite(std::fabs(sx0) * tAlpha * root);
    v.din32645.detection = finite(std::fabs(sx0) * (tAlpha + tBeta) * root);
    const X c = X(parameters.k) * std::fabs(sx0) * tQuantile(df, 1 - X(parameters.alpha) / 2);
    if (const std::optional<X> xbg = quantificationLimit(c, spread, meanX, qx))
        v.din32645.quantification = finite(*xbg);
    else
        warn.add(
            "La incertidumbre de la calibración es demasiado grande: el límite de "
            "cuantificación de DIN 32645 no existe.");
    return v;
}

std::vector<LevelResults> studyLevelResults(const StudyDocument& study) {
    std::vector<LevelResults> levels;
    const int k = levelCount(study);
    int row = 0;
    for (int i = 1; i <= k; ++i) {
        // Rows follow the replicate counts as the calculation counts them, a negative
        // count included.
        const int n = replicateCount(study, i);
        if (n > 0) {
            LevelResults level;
            level.recovered.reserve(n);
            for (int j = 1; j <= n; ++j)
                level.recovered.push_back(recoveredAmount(study, row + j));
            level.added = levelValue(study, i);
            levels.push_back(std::move(level));
        }
        row += n;
    }
    return levels;
}

std::optional<BlankSummary> studyBlankSummary(const StudyDocument& study) {
    const BlankSummary blanks = blankReadingsSummary(study);
    if (blanks.count < 2)
        return std::nullopt;
    return blanks;
}

}  // namespace ldc
