#include "calc/ui/ValidationCharts.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// Handed over at once, rather than one change signal per point.
QList<QPointF> pointsOf(const std::vector<ldc::PlotPoint>& points) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const ldc::PlotPoint& p : points)
        list.append(QPointF(p.x, p.y));
    return list;
}

// Ticks at the same round values as the printed page's.
QValueAxis* axis(const std::string& title, const ldc::PlotRange& range) {
    auto* a = new QValueAxis;
    a->setTitleText(qt(title));
    a->setRange(range.min, range.max);
    a->setLabelFormat(QStringLiteral("%.4g"));
    const std::vector<double> ticks = ldc::axisTicks(range, 6);
    if (ticks.size() > 1) {
        a->setTickType(QValueAxis::TicksDynamic);
        a->setTickAnchor(ticks.front());
        a->setTickInterval(ticks[1] - ticks[0]);
    }
    return a;
}

void attach(QChart* chart, QAbstractSeries* series, QValueAxis* x, QValueAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

QLineSeries* curve(const std::vector<ldc::BandPoint>& band, double ldc::BandPoint::*value,
                   QObject* parent) {
    auto* series = new QLineSeries(parent);
    for (const ldc::BandPoint& b : band)
        series->append(b.x, b.*value);
    return series;
}

QAreaSeries* bandArea(const std::vector<ldc::BandPoint>& band, double ldc::BandPoint::*lower,
                      double ldc::BandPoint::*upper, const QString& name, QColor colour) {
    auto* area = new QAreaSeries;
    area->setUpperSeries(curve(band, upper, area));
    area->setLowerSeries(curve(band, lower, area));
    area->setName(name);
    colour.setAlpha(70);
    area->setBrush(colour);
    area->setPen(QPen(colour.darker(), 1, Qt::DashLine));
    return area;
}

}  // namespace

QChart* calibrationChart(const ldc::CalibrationPlot& plot, const ldc::StudyIdentity& identity) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Curva de calibración"));
    QValueAxis* x = axis(ldc::addedAxisTitle(identity), plot.x);
    QValueAxis* y = axis(ldc::recoveredAxisTitle(identity), plot.y);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    if (!plot.line.empty()) {
        using B = ldc::BandPoint;
        attach(chart,
               bandArea(plot.line, &B::predictionLower, &B::predictionUpper,
                        QStringLiteral("Banda de predicción del 95 %"), QColor(120, 170, 230)),
               x, y);
        attach(chart,
               bandArea(plot.line, &B::confidenceLower, &B::confidenceUpper,
                        QStringLiteral("Banda de confianza del 95 %"), QColor(240, 160, 60)),
               x, y);
        QLineSeries* fitted = curve(plot.line, &B::fitted, nullptr);
        fitted->setName(QStringLiteral("Recta ajustada"));
        fitted->setPen(QPen(Qt::black, 2));
        attach(chart, fitted, x, y);
    }
    auto* results = new QScatterSeries;
    results->setName(QStringLiteral("Resultados"));
    results->setMarkerSize(8);
    results->replace(pointsOf(plot.results));
    attach(chart, results, x, y);
    // The limits on the amount axis, one kind of mark per approach.
    QScatterSeries* marks = nullptr;
    const QScatterSeries::MarkerShape shapes[] = {
        QScatterSeries::MarkerShapeTriangle, QScatterSeries::MarkerShapeRectangle,
        QScatterSeries::MarkerShapeStar, QScatterSeries::MarkerShapeRotatedRectangle};
    int approach = -1;
    for (std::size_t i = 0; i < plot.limits.size(); ++i) {
        const ldc::LimitMark& mark = plot.limits[i];
        if (i == 0 || plot.limits[i - 1].approach != mark.approach) {
            marks = new QScatterSeries;
            // The legend is narrow: the standard's name stands for its calibration method.
            const QString approachName = mark.approach == ldc::kApproachDin
                                             ? QStringLiteral("DIN 32645")
                                             : qt(mark.approach);
            marks->setName(QStringLiteral("Límites %1").arg(approachName));
            marks->setMarkerShape(shapes[++approach % 4]);
            marks->setMarkerSize(11);
            attach(chart, marks, x, y);
        }
        // Just above the axis, where the whole mark shows.
        marks->append(mark.x, plot.y.min + (plot.y.max - plot.y.min) * 0.015);
    }
    // At the side, where every name reads whole.
    chart->legend()->setAlignment(Qt::AlignRight);
    QFont small = chart->legend()->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    chart->legend()->setFont(small);
    return chart;
}

QChart* residualChart(const ldc::ResidualPlot& plot, const ldc::StudyIdentity& identity) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Residuos frente a la cantidad adicionada"));
    QValueAxis* x = axis(ldc::addedAxisTitle(identity), plot.x);
    QValueAxis* y = axis(ldc::residualAxisTitle(identity), plot.y);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    auto* zero = new QLineSeries;
    zero->append(plot.x.min, 0);
    zero->append(plot.x.max, 0);
    zero->setPen(QPen(Qt::gray, 1, Qt::DashLine));
    attach(chart, zero, x, y);
    auto* residuals = new QScatterSeries;
    residuals->setMarkerSize(8);
    residuals->replace(pointsOf(plot.residuals));
    attach(chart, residuals, x, y);
    chart->legend()->hide();
    return chart;
}

void replaceChart(QChartView* view, QChart* chart) {
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}
