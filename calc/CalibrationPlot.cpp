#include "calc/CalibrationPlot.h"

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <unordered_set>

namespace ldc {
namespace {

using X = long double;

constexpr int kBandSamples = 41;
constexpr double kMargin = 0.05;  // of the span, around what a plot shows

struct Fit {
    X n = 0, meanX = 0, qx = 0, a = 0, b = 0, s = 0;
};

bool fitLine(const std::vector<LevelResults>& levels, Fit& fit) {
    X sumX = 0, sumY = 0;
    for (const LevelResults& level : levels)
        for (const X y : level.recovered) {
            fit.n += 1;
            sumX += level.added;
            sumY += y;
        }
    if (fit.n < 3)
        return false;
    fit.meanX = sumX / fit.n;
    const X meanY = sumY / fit.n;
    X sxy = 0;
    for (const LevelResults& level : levels)
        for (const X y : level.recovered) {
            const X dx = level.added - fit.meanX;
            fit.qx += dx * dx;
            sxy += dx * (y - meanY);
        }
    if (fit.qx == 0)
        return false;
    fit.b = sxy / fit.qx;
    fit.a = meanY - fit.b * fit.meanX;
    X ssRes = 0;
    for (const LevelResults& level : levels)
        for (const X y : level.recovered) {
            const X e = y - (fit.a + fit.b * level.added);
            ssRes += e * e;
        }
    fit.s = std::sqrt(ssRes / (fit.n - 2));
    return true;
}

// Widens a range by the margin on both sides; a range of one value gets a unit span.
PlotRange padded(double low, double high) {
    if (!(high > low)) {
        const double half = low == 0 ? 1 : std::fabs(low) * 0.5;
        return {low - half, high + half};
    }
    const double pad = (high - low) * kMargin;
    return {low - pad, high + pad};
}

void addMark(std::vector<LimitMark>& marks, const char* code, const char* approach,
             const std::optional<double>& x) {
    if (x && std::isfinite(*x))
        marks.push_back({code, approach, *x});
}

}  // namespace

std::vector<BandPoint> calibrationBands(const std::vector<LevelResults>& levels, double from,
                                        double to, int samples) {
    Fit fit;
    if (!fitLine(levels, fit) || samples < 2)
        return {};
    const X t = boost::math::quantile(boost::math::students_t_distribution<X>(fit.n - 2), 0.975L);
    std::vector<BandPoint> band;
    band.reserve(samples);
    for (int i = 0; i < samples; ++i) {
        const X x = X(from) + (X(to) - X(from)) * i / (samples - 1);
        const X fitted = fit.a + fit.b * x;
        const X spread = 1 / fit.n + (x - fit.meanX) * (x - fit.meanX) / fit.qx;
        const X confidence = t * fit.s * std::sqrt(spread);
        const X prediction = t * fit.s * std::sqrt(1 + spread);
        band.push_back(
            {static_cast<double>(x), static_cast<double>(fitted),
             static_cast<double>(fitted - confidence), static_cast<double>(fitted + confidence),
             static_cast<double>(fitted - prediction), static_cast<double>(fitted + prediction)});
    }
    return band;
}

CalibrationPlot calibrationPlot(const std::vector<LevelResults>& levels,
                                const ValidationStatistics& statistics) {
    CalibrationPlot plot;
    const ValidationStatistics& v = statistics;
    addMark(plot.limits, "LD1", kApproachResidual, v.ichRegression.detection);
    addMark(plot.limits, "LC1", kApproachResidual, v.ichRegression.quantification);
    addMark(plot.limits, "LD2", kApproachIntercept, v.ichIntercept.detection);
    addMark(plot.limits, "LC2", kApproachIntercept, v.ichIntercept.quantification);
    if (v.ichBlank) {
        addMark(plot.limits, "LD3", kApproachBlanks, v.ichBlank->detection);
        addMark(plot.limits, "LC3", kApproachBlanks, v.ichBlank->quantification);
    }
    const char* din = kApproachDin;
    addMark(plot.limits, "xNG", din, v.din32645.decision);
    addMark(plot.limits, "xEG", din, v.din32645.detection);
    addMark(plot.limits, "xBG", din, v.din32645.quantification);

    double xLow = 0, xHigh = 0, yLow = 0, yHigh = 0;
    bool any = false;
    const auto takeY = [&](double y) {
        yLow = any ? std::min(yLow, y) : y;
        yHigh = any ? std::max(yHigh, y) : y;
        any = true;
    };
    for (const LevelResults& level : levels)
        for (const X y : level.recovered) {
            const PlotPoint p{static_cast<double>(level.added), static_cast<double>(y)};
            plot.results.push_back(p);
            xLow = std::min(xLow, p.x);
            xHigh = std::max(xHigh, p.x);
            takeY(p.y);
        }
    for (const LimitMark& mark : plot.limits) {
        xLow = std::min(xLow, mark.x);
        xHigh = std::max(xHigh, mark.x);
    }
    plot.x = padded(xLow, xHigh);
    plot.line = calibrationBands(levels, plot.x.min, plot.x.max, kBandSamples);
    for (const BandPoint& b : plot.line) {
        takeY(b.predictionLower);
        takeY(b.predictionUpper);
    }
    plot.y = padded(yLow, yHigh);
    plot.results = distinctPlotCells(plot.results, plot.x, plot.y, kPlotCells);
    return plot;
}

ResidualPlot residualPlot(const std::vector<LevelResults>& levels,
                          const ValidationStatistics& statistics) {
    ResidualPlot plot;
    double xLow = 0, xHigh = 0, largest = 0;
    std::size_t i = 0;
    for (const LevelResults& level : levels)
        for (std::size_t j = 0; j < level.recovered.size(); ++j, ++i) {
            const double x = static_cast<double>(level.added);
            xLow = std::min(xLow, x);
            xHigh = std::max(xHigh, x);
            if (i < statistics.residuals.size()) {
                const double e = statistics.residuals[i];
                plot.residuals.push_back({x, e});
                largest = std::max(largest, std::fabs(e));
            }
        }
    plot.x = padded(xLow, xHigh);
    // Symmetric about the zero line, so that a bias to one side shows at a glance.
    const double half = largest > 0 ? largest * (1 + 2 * kMargin) : 1;
    plot.y = {-half, half};
    plot.residuals = distinctPlotCells(plot.residuals, plot.x, plot.y, kPlotCells);
    return plot;
}

std::vector<PlotPoint> distinctPlotCells(const std::vector<PlotPoint>& points, PlotRange x,
                                         PlotRange y, int cells) {
    const auto cell = [cells](double v, const PlotRange& r) {
        const double at = std::floor((v - r.min) / (r.max - r.min) * cells);
        return static_cast<long long>(std::clamp(at, 0.0, double(cells - 1)));
    };
    std::unordered_set<long long> taken;
    std::vector<PlotPoint> kept;
    for (const PlotPoint& p : points)
        if (taken.insert(cell(p.x, x) * cells + cell(p.y, y)).second)
            kept.push_back(p);
    return kept;
}

std::vector<double> axisTicks(PlotRange range, int count) {
    std::vector<double> ticks;
    const double span = range.max - range.min;
    if (!(span > 0) || !std::isfinite(span) || count < 1)
        return ticks;
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= raw) {
            step = factor * power;
            break;
        }
    for (double t = std::ceil(range.min / step) * step; t <= range.max + step * 1e-9; t += step)
        ticks.push_back(std::fabs(t) < step * 1e-9 ? 0.0 : t);
    return ticks;
}

}  // namespace ldc
