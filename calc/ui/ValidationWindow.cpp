#include "calc/ui/ValidationWindow.h"

#include <QChartView>
#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Main.h"
#include "calc/ui/ValidationCharts.h"
#include "calc/ui/ValidationTableWidget.h"
#include "files/ui/StudyAudit.h"
#include "report/IdentifiedSurface.h"
#include "report/ValidationPage.h"
#include "report/ui/PrinterSurface.h"
#include "report/ui/StudyIdentity.h"
#include "study/ui/Fdatos.h"

namespace {

const char* const kTableNames[] = {"tbllimites", "tbllinealidad", "tblintervalos",
                                   "tblniveles", "tblresiduos",   "tblblancos"};

QString qt(const std::string& text) {
    return QString::fromStdString(text);
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
    // The calibration plot carries the legend.
    plots->setStretchFactor(0, 2);
    plots->setStretchFactor(1, 1);

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

// A page names the study file as it is when printed, so it must show the study as it is
// then, not as it was when the window opened: the window takes the study's values again.
void ValidationWindow::refreshFromStudy() {
    if (!Finforma)
        return;
    m_inputs = ldc::validationInputs(*Finforma);
    recompute();
}

void ValidationWindow::printPage() {
    refreshFromStudy();
    printValidation(this, *m_printer, m_inputs, parameters());
}

void ValidationWindow::exportPdf() {
    const FileDialogRequest request{QStringLiteral("Exportar PDF"),
                                    QStringLiteral("Documento PDF (*.pdf)"), QStringLiteral("pdf"),
                                    QStringLiteral("validacion.pdf")};
    const std::optional<QString> name = dialogs().saveFileName(this, request);
    if (!name || !Finforma)
        return;
    refreshFromStudy();
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(*name);
    PrinterSurface surface(pdf, ldc::kValidationLayoutResolution);
    const QString studyPath = openStudyPath();
    ldc::IdentifiedSurface identified(surface, openStudyIdentity());
    ldc::printValidationPage(identified, m_inputs, parameters());
    recordStudyAction(studyPath, ldc::auditAction::exportPdf, QFileInfo(*name).fileName());
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
    if (!dialogs().printDialog(parent, &printer) || !Finforma)
        return;
    PrinterSurface surface(printer, ldc::kValidationLayoutResolution);
    const QString studyPath = openStudyPath();
    ldc::IdentifiedSurface identified(surface, openStudyIdentity());
    ldc::printValidationPage(identified, inputs, parameters);
    recordStudyAction(studyPath, ldc::auditAction::print, QString::fromUtf8(ldc::kValidationTitle));
}
