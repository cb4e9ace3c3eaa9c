#pragma once

#include "calc/ValidationContent.h"

class QChart;
class QChartView;

// The validation window's plots as charts, from the same plot content the printed page
// draws: results as points, the fitted line inside its 95 % confidence and prediction bands,
// the limits marked on the amount axis by approach; the residuals about a zero line.
QChart* calibrationChart(const ldc::CalibrationPlot& plot, const ldc::StudyIdentity& identity);
QChart* residualChart(const ldc::ResidualPlot& plot, const ldc::StudyIdentity& identity);

// Shows `chart` in `view` in place of the chart it showed, which goes.
void replaceChart(QChartView* view, QChart* chart);
