#include "calc/ui/VerificationWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

#include "app/Dialogs.h"
#include "app/Main.h"
#include "calc/ReferenceData.h"
#include "report/VerificationPage.h"
#include "report/ui/PrinterSurface.h"

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

void printOn(QPrinter& printer, const std::vector<ldc::VerificationRow>& rows,
             const ldc::VerificationContext& context) {
    PrinterSurface surface(printer, ldc::verification::kLayoutResolution);
    ldc::verification::printVerificationPage(surface, rows, context);
}

}  // namespace

VerificationWindow::VerificationWindow(QWidget* parent)
    : QWidget(parent),
      m_rows(ldc::runSelfVerification(ldc::referenceCases())),
      m_context(ldc::currentVerificationContext()) {
    setObjectName(QStringLiteral("Fverificacion"));
    setWindowTitle(qt(ldc::kVerificationTitle));

    tablaVerificacion = new QTableWidget(this);
    tablaVerificacion->setObjectName(QStringLiteral("tablaVerificacion"));
    tablaVerificacion->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tablaVerificacion->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tablaVerificacion->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(QStringLiteral("&Copiar"), tablaVerificacion);
    copy->setObjectName(QStringLiteral("copiar"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    tablaVerificacion->addAction(copy);
    connect(copy, &QAction::triggered, this, &VerificationWindow::copySelection);

    lresumen = new QLabel(qt(ldc::verificationSummary(m_rows)), this);
    lresumen->setObjectName(QStringLiteral("lresumen"));
    QFont bold = lresumen->font();
    bold.setBold(true);
    lresumen->setFont(bold);
    QStringList context;
    for (const std::string& line : ldc::contextLines(m_context))
        context << qt(line);
    lcontexto = new QLabel(context.join(QStringLiteral("    ")), this);
    lcontexto->setObjectName(QStringLiteral("lcontexto"));
    lcontexto->setTextInteractionFlags(Qt::TextSelectableByMouse);

    btnimprimir = new QPushButton(QStringLiteral("Imprimir…"), this);
    btnimprimir->setObjectName(QStringLiteral("btnimprimir"));
    btnpdf = new QPushButton(QStringLiteral("Exportar PDF…"), this);
    btnpdf->setObjectName(QStringLiteral("btnpdf"));
    connect(btnimprimir, &QPushButton::clicked, this, &VerificationWindow::btnimprimirClick);
    connect(btnpdf, &QPushButton::clicked, this, &VerificationWindow::btnpdfClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lresumen, 1);
    buttons->addWidget(btnimprimir);
    buttons->addWidget(btnpdf);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lcontexto);
    layout->addWidget(tablaVerificacion, 1);
    layout->addLayout(buttons);

    fillTable();
}

void VerificationWindow::fillTable() {
    const QStringList headings{QStringLiteral("Caso"),
                               QStringLiteral("Magnitud"),
                               QStringLiteral("Valor de referencia"),
                               QStringLiteral("Fuente"),
                               QStringLiteral("Valor del programa"),
                               QStringLiteral("Tolerancia"),
                               QStringLiteral("Resultado")};
    tablaVerificacion->setColumnCount(static_cast<int>(headings.size()));
    tablaVerificacion->setHorizontalHeaderLabels(headings);
    tablaVerificacion->setRowCount(static_cast<int>(m_rows.size()));
    for (int r = 0; r < tablaVerificacion->rowCount(); ++r) {
        const ldc::VerificationRow& row = m_rows[static_cast<std::size_t>(r)];
        const std::string cells[] = {row.caseTitle,
                                     row.quantity,
                                     row.reference,
                                     row.source,
                                     row.programValue,
                                     row.tolerance,
                                     ldc::verdictText(row.passed)};
        for (int c = 0; c < tablaVerificacion->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(qt(cells[c]));
            item->setToolTip(item->text());
            tablaVerificacion->setItem(r, c, item);
        }
        if (!row.passed)
            tablaVerificacion->item(r, 6)->setForeground(Qt::darkRed);
    }
    tablaVerificacion->resizeColumnsToContents();
    // The case and the source repeat down the table and their tooltips hold them whole;
    // narrower, they leave the figures and the verdicts in view.
    for (const int column : {0, 3})
        tablaVerificacion->setColumnWidth(column, std::min(tablaVerificacion->columnWidth(column),
                                                           14 * fontMetrics().averageCharWidth()));
    tablaVerificacion->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tablaVerificacion->horizontalHeader()->setStretchLastSection(true);
}

void VerificationWindow::copySelection() {
    // Rows then columns in the table's order, whatever order the cells were picked in.
    std::map<int, std::map<int, QString>> picked;
    for (const QTableWidgetItem* item : tablaVerificacion->selectedItems())
        picked[item->row()][item->column()] = item->text();
    QStringList lines;
    for (const auto& [row, cells] : picked) {
        QStringList texts;
        for (const auto& [column, text] : cells)
            texts << text;
        lines << texts.join(QLatin1Char('\t'));
    }
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void VerificationWindow::btnimprimirClick() {
    QPrinter printer(QPrinter::HighResolution);
    if (!dialogs().printDialog(this, &printer))
        return;
    printOn(printer, m_rows, m_context);
}

void VerificationWindow::btnpdfClick() {
    const std::optional<QString> path = dialogs().saveFileName(
        this, {QStringLiteral("Exportar PDF"), QStringLiteral("Documento PDF (*.pdf)"),
               QStringLiteral("pdf"), QStringLiteral("verificacion.pdf")});
    if (!path)
        return;
    // The printer writes beside the file and puts it in place only when complete.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*path);
    printer.setDocName(qt(ldc::kVerificationTitle));
    printer.setCreator(qt(m_context.version));
    printOn(printer, m_rows, m_context);
}

void VerificationWindow::closeEvent(QCloseEvent* event) {
    if (MainForm)
        MainForm->childWindowClosing(this);
    event->accept();
}
