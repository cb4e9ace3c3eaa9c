#include "calc/ui/ValidationWindow.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPrinter>
#include <QPushButton>
#include <QScatterSeries>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>
#include <QValueAxis>

#include "app/Dialogs.h"
#include "app/Main.h"
#include "calc/ui/ValidationTableWidget.h"
#include "report/ValidationPage.h"
#include "report/ui/PrinterSurface.h"

namespace {

const char* const kTableNames[] = {"tbllimites", "tbllinealidad", "tblintervalos", "tblniveles",
                                   "tblresiduos"};

QString qt(const std::string& text) {
    return QString::fromStdString(text);
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
    for (const ldc::PlotPoint& p : plot.results)
        results->append(p.x, p.y);
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
            marks->setName(QStringLiteral("Límites: %1").arg(qt(mark.approach)));
            marks->setMarkerShape(shapes[++approach % 4]);
            marks->setMarkerSize(11);
            attach(chart, marks, x, y);
        }
        marks->append(mark.x, plot.y.min);
    }
    // At the side, where every name reads whole.
    chart->legend()->setAlignment(Qt::AlignRight);
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
    for (const ldc::PlotPoint& p : plot.residuals)
        residuals->append(p.x, p.y);
    attach(chart, residuals, x, y);
    chart->legend()->hide();
    return chart;
}

void replaceChart(QChartView* view, QChart* chart) {
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

QDoubleSpinBox* probabilityBox(const char* name, double value) {
    auto* box = new QDoubleSpinBox;
    box->setObjectName(QLatin1String(name));
    box->setDecimals(4);
    // 0 < α, β < 0.5: an error probability of one half or more decides nothing.
    box->setRange(0.0001, 0.4999);
    box->setSingleStep(0.01);
    box->setValue(value);
    return box;
}

}  // namespace

ValidationWindow::ValidationWindow(ldc::ValidationInputs inputs, QWidget* parent)
    : QWidget(parent),
      m_inputs(std::move(inputs)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("Fvalidacion"));
    setWindowTitle(QStringLiteral("Validación estadística"));

    const ldc::ValidationParameters defaults;
    ealfa = probabilityBox("ealfa", defaults.alpha);
    ebeta = probabilityBox("ebeta", defaults.beta);
    ek = new QDoubleSpinBox;
    ek->setObjectName(QStringLiteral("ek"));
    ek->setDecimals(3);
    ek->setRange(0.001, 1000);
    ek->setValue(defaults.k);
    em = new QSpinBox;
    em->setObjectName(QStringLiteral("em"));
    em->setRange(1, 1000);
    em->setValue(static_cast<int>(defaults.m));
    btnimprimir = new QPushButton(QStringLiteral("Imprimir…"));
    btnimprimir->setObjectName(QStringLiteral("btnimprimir"));
    btnpdf = new QPushButton(QStringLiteral("Exportar PDF…"));
    btnpdf->setObjectName(QStringLiteral("btnpdf"));

    auto* parameterRow = new QHBoxLayout;
    const auto addParameter = [&](const QString& label, QWidget* box, const QString& tip) {
        auto* caption = new QLabel(label);
        caption->setBuddy(box);
        box->setToolTip(tip);
        parameterRow->addWidget(caption);
        parameterRow->addWidget(box);
        parameterRow->addSpacing(12);
    };
    addParameter(QStringLiteral("&α:"), ealfa,
                 QStringLiteral("Probabilidad de error de primera especie (decisión)"));
    addParameter(QStringLiteral("&β:"), ebeta,
                 QStringLiteral("Probabilidad de error de segunda especie (detección)"));
    addParameter(
        QStringLiteral("&k:"), ek,
        QStringLiteral("Inverso de la incertidumbre relativa del límite de cuantificación"));
    addParameter(QStringLiteral("&m:"), em, QStringLiteral("Mediciones repetidas de una muestra"));
    parameterRow->addStretch(1);
    parameterRow->addWidget(btnimprimir);
    parameterRow->addWidget(btnpdf);

    m_calibrationView = new QChartView;
    m_calibrationView->setObjectName(QStringLiteral("chtcalibracion"));
    m_calibrationView->setRenderHint(QPainter::Antialiasing);
    m_calibrationView->setMinimumSize(280, 220);
    m_residualView = new QChartView;
    m_residualView->setObjectName(QStringLiteral("chtresiduos"));
    m_residualView->setRenderHint(QPainter::Antialiasing);
    m_residualView->setMinimumSize(220, 220);
    auto* plots = new QSplitter(Qt::Horizontal);
    plots->addWidget(m_calibrationView);
    plots->addWidget(m_residualView);
    plots->setStretchFactor(0, 3);
    plots->setStretchFactor(1, 2);

    auto* tablesPage = new QWidget;
    auto* tablesColumn = new QVBoxLayout(tablesPage);
    for (const char* name : kTableNames) {
        auto* title = new QLabel;
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        title->setObjectName(QLatin1String(name) + QStringLiteral("_titulo"));
        auto* table = new ValidationTableWidget(QLatin1String(name));
        tablesColumn->addWidget(title);
        tablesColumn->addWidget(table);
        m_tables.push_back(table);
    }
    auto* warningsTitle = new QLabel(QStringLiteral("Avisos"));
    QFont bold = warningsTitle->font();
    bold.setBold(true);
    warningsTitle->setFont(bold);
    m_warnings = new QLabel;
    m_warnings->setObjectName(QStringLiteral("lavisos"));
    m_warnings->setWordWrap(true);
    m_warnings->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    tablesColumn->addWidget(warningsTitle);
    tablesColumn->addWidget(m_warnings);
    tablesColumn->addStretch(1);
    auto* scroll = new QScrollArea;
    scroll->setWidget(tablesPage);
    scroll->setWidgetResizable(true);

    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(plots);
    split->addWidget(scroll);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto* column = new QVBoxLayout(this);
    column->addLayout(parameterRow);
    column->addWidget(split, 1);

    for (QDoubleSpinBox* box : {ealfa, ebeta, ek}) {
        // Recomputed when the analyst has finished a value, not at every keystroke.
        box->setKeyboardTracking(false);
        connect(box, &QDoubleSpinBox::valueChanged, this, &ValidationWindow::recompute);
    }
    em->setKeyboardTracking(false);
    connect(em, &QSpinBox::valueChanged, this, &ValidationWindow::recompute);
    connect(btnimprimir, &QPushButton::clicked, this, &ValidationWindow::printPage);
    connect(btnpdf, &QPushButton::clicked, this, &ValidationWindow::exportPdf);
    recompute();
}

ValidationWindow::~ValidationWindow() = default;

ldc::ValidationParameters ValidationWindow::parameters() const {
    return {ealfa->value(), ebeta->value(), ek->value(), static_cast<double>(em->value())};
}

void ValidationWindow::recompute() {
    const ldc::ValidationContent content = ldc::validationContent(m_inputs, parameters());
    replaceChart(m_calibrationView, calibrationChart(content.calibration, m_inputs.identity));
    replaceChart(m_residualView, residualChart(content.residuals, m_inputs.identity));
    for (std::size_t i = 0; i < m_tables.size() && i < content.tables.size(); ++i) {
        m_tables[i]->fill(content.tables[i]);
        if (auto* title = findChild<QLabel*>(m_tables[i]->objectName() + QStringLiteral("_titulo")))
            title->setText(qt(content.tables[i].title));
    }
    QStringList warnings;
    for (const std::string& warning : content.warnings)
        warnings << QStringLiteral("• ") + qt(warning);
    m_warnings->setText(warnings.isEmpty() ? QStringLiteral("Ninguno.") : warnings.join('\n'));
}

void ValidationWindow::printPage() {
    printValidation(this, *m_printer, m_inputs, parameters());
}

void ValidationWindow::exportPdf() {
    const FileDialogRequest request{QStringLiteral("Exportar PDF"),
                                    QStringLiteral("Documento PDF (*.pdf)"), QStringLiteral("pdf"),
                                    QStringLiteral("validacion.pdf")};
    const std::optional<QString> name = dialogs().saveFileName(this, request);
    if (!name)
        return;
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(*name);
    PrinterSurface surface(pdf, ldc::kValidationLayoutResolution);
    ldc::printValidationPage(surface, m_inputs, parameters());
}

void ValidationWindow::FormClose() {
    if (MainForm)
        MainForm->childWindowClosing(this);
}

void ValidationWindow::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void printValidation(QWidget* parent, QPrinter& printer, const ldc::ValidationInputs& inputs,
                     const ldc::ValidationParameters& parameters) {
    if (!dialogs().printDialog(parent, &printer))
        return;
    PrinterSurface surface(printer, ldc::kValidationLayoutResolution);
    ldc::printValidationPage(surface, inputs, parameters);
}
