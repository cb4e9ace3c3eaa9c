#pragma once

#include <string>
#include <vector>

#include "calc/ValidationStatistics.h"

namespace ldc {

// What the calibration and residual plots show, in the study's own amounts; the window draws
// it with charts and the printed page with lines, so both show the same thing.

// The names of the approaches, as every table, plot and page names them.
inline constexpr const char* kApproachResidual = "ICH, σ = DE residual";
inline constexpr const char* kApproachIntercept = "ICH, σ = DE de la ordenada";
inline constexpr const char* kApproachBlanks = "ICH, σ = DE de blancos";
inline constexpr const char* kApproachDin = "DIN 32645 (método de calibración)";

struct PlotPoint {
    double x = 0, y = 0;
};

// The fitted line at one added amount with its two-sided 95 % bands: the confidence band of
// the line itself and the prediction band of a single new result.
struct BandPoint {
    double x = 0, fitted = 0;
    double confidenceLower = 0, confidenceUpper = 0;
    double predictionLower = 0, predictionUpper = 0;
};

struct PlotRange {
    double min = 0, max = 1;
};

// A limit marked on the amount axis: a short code for the page, the approach it comes from.
struct LimitMark {
    std::string code;
    std::string approach;
    double x = 0;
};

// Results that would stand on one another in a plot are shown once: one point for each cell
// of a kPlotCells × kPlotCells grid over the plot, finer than a screen or a page tells
// apart. A study of 100,000 results plots as quickly as one of nine, its outliers included.
inline constexpr int kPlotCells = 500;

struct CalibrationPlot {
    std::vector<PlotPoint> results;  // (added, recovered), one per grid cell
    std::vector<BandPoint> line;     // empty when no line can be fitted
    std::vector<LimitMark> limits;
    PlotRange x, y;
};

struct ResidualPlot {
    std::vector<PlotPoint> residuals;  // (added, residual), one per grid cell
    PlotRange x, y;
};

// The line and its bands at `samples` evenly spaced amounts from `from` to `to`, with the
// exact Student t quantile for N − 2 degrees of freedom. Empty with fewer than three
// results or a single added amount.
std::vector<BandPoint> calibrationBands(const std::vector<LevelResults>& levels, double from,
                                        double to, int samples);

// The plots' content and ranges: the amount axis from zero (or the least amount) past the
// largest amount and limit, the other axis around everything drawn.
CalibrationPlot calibrationPlot(const std::vector<LevelResults>& levels,
                                const ValidationStatistics& statistics);
ResidualPlot residualPlot(const std::vector<LevelResults>& levels,
                          const ValidationStatistics& statistics);

// The first point of every occupied cell of a cells × cells grid over the ranges, in order.
std::vector<PlotPoint> distinctPlotCells(const std::vector<PlotPoint>& points, PlotRange x,
                                         PlotRange y, int cells);

// Round tick values (1, 2 or 5 times a power of ten apart) inside `range`, about `count`.
std::vector<double> axisTicks(PlotRange range, int count);

}  // namespace ldc
