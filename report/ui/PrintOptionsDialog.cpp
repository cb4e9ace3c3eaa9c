#include "report/ui/PrintOptionsDialog.h"

#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

#include "app/Dialogs.h"
#include "files/ui/StudyAudit.h"
#include "report/IdentifiedSurface.h"
#include "report/ui/PrinterSurface.h"
#include "report/ui/RadioGroup.h"
#include "report/ui/StudyIdentity.h"
#include "study/ui/Fdatos.h"

namespace {

PrintOptionsDialog::SurfaceFactory g_surfaceFactory;

std::unique_ptr<ldc::DrawingSurface> surfaceOn(QPrinter& printer, int resolution) {
    if (g_surfaceFactory)
        return g_surfaceFactory(printer, resolution);
    return std::make_unique<PrinterSurface>(printer, resolution);
}

// The trail's words for a print: the layout, the page and where it went.
QString printDetail(const QString& dialogName, const QString& page, const QPrinter& printer) {
    const QString layout = dialogName == QLatin1String("Fopprt1") ? QStringLiteral("Lasser")
                                                                  : QStringLiteral("DeskJet");
    const QString target = printer.outputFileName().isEmpty()
                               ? QStringLiteral("impresora «") + printer.printerName()
                               : QStringLiteral("archivo «") + printer.outputFileName();
    return layout + QStringLiteral(": ") + page + QStringLiteral("; ") + target +
           QStringLiteral("»");
}

}  // namespace

PrintOptionsDialog::PrintOptionsDialog(const QString& name, const QString& choiceCaption,
                                       QWidget* parent)
    : QDialog(parent), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(name);
    setWindowTitle(QStringLiteral("opciones"));
    setFixedSize(381, 197);
    setAttribute(Qt::WA_QuitOnClose, false);

    opcion = new RadioGroup(QStringLiteral("opcion"), choiceCaption,
                            {QStringLiteral("Información y Datos Generales"),
                             QStringLiteral("Límite de Detección y Cuantificación del Método")},
                            this);
    opcion->setGeometry(8, 8, 365, 89);
    opcion->setItemIndex(0);

    BitBtn1 = new QPushButton(QStringLiteral("Aceptar"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(88, 112, 89, 33);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Cancelar"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(200, 112, 97, 33);

    connect(BitBtn1, &QPushButton::clicked, this, &PrintOptionsDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &PrintOptionsDialog::BitBtn2Click);
}

PrintOptionsDialog::~PrintOptionsDialog() = default;

void PrintOptionsDialog::setSurfaceFactory(SurfaceFactory factory) {
    g_surfaceFactory = std::move(factory);
}

void PrintOptionsDialog::BitBtn1Click() {
    // The options outlive the study window; with none open there is nothing to print, and
    // the analyst is told so rather than shown a print dialog that leads nowhere.
    if (!Finforma) {
        dialogs().notice(this, QStringLiteral("No hay un estudio abierto para imprimir."));
        return;
    }
    if (!dialogs().printDialog(this, m_printer.get()))
        return;
    if (!Finforma)
        return;
    const std::unique_ptr<ldc::DrawingSurface> surface = surfaceOn(*m_printer, layoutResolution());
    // Every printed page names the study's file and its content as they are now.
    ldc::IdentifiedSurface identified(*surface, openStudyIdentity());
    printChoice(identified, *Finforma, opcion->itemIndex());
    if (QRadioButton* page = opcion->item(opcion->itemIndex()))
        recordStudyAction(openStudyPath(), ldc::auditAction::print,
                          printDetail(objectName(), page->text(), *m_printer));
}

void PrintOptionsDialog::BitBtn2Click() {
    hide();
}
