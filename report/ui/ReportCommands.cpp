#include "report/ui/ReportCommands.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPrinter>

#include "app/BusyPointer.h"
#include "app/Dialogs.h"
#include "app/HelpRequest.h"
#include "app/Main.h"
#include "calc/ui/ValidationWindow.h"
#include "files/ui/StudyAudit.h"
#include "report/ReportText.h"
#include "report/ui/Opruido.h"
#include "report/ui/PrintDialogs.h"
#include "report/ui/RecordPdf.h"
#include "report/ui/StudyIdentity.h"
#include "report/ui/Uinforme.h"
#include "report/ui/Uopprt.h"
#include "report/ui/Uopprt1.h"
#include "report/ui/Uoprt.h"
#include "study/ui/Fdatos.h"

namespace {

constexpr QSize kReportWindowSize(435, 300);

// The report's lines go straight into the window as they are made, so a report that stops
// on an error shows what came before it.
class ReportWindowLines : public ldc::LineSink {
public:
    explicit ReportWindowLines(Tfrminforme& form) : m_form(form) {}
    void appendLine(const std::string& line) override {
        m_form.appendLine(QString::fromStdString(line));
    }

private:
    Tfrminforme& m_form;
};

}  // namespace

void showModeless(QWidget* dialog) {
    if (!dialog)
        return;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

ReportCommands::ReportCommands(TMainForm& frame, ldc::CalibrationResults& record)
    : QObject(&frame),
      m_frame(frame),
      m_record(record),
      m_validationPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("ReportCommands"));
}

ReportCommands::~ReportCommands() = default;

void ReportCommands::mnuinformeClick() {
    // The command is offered only while a study window is open; a closed one is never read.
    if (!Finforma)
        return;
    auto* form = new Tfrminforme;
    m_frame.addChild(form, kHelpReportWindow, kReportWindowSize);
    form->mminforme->setFocus();
    ReportWindowLines lines(*form);
    QStringList identity;
    for (const std::string& line : ldc::identityLines(openStudyIdentity()))
        identity << QString::fromStdString(line);
    form->setIdentity(identity);
    ldc::writeReport(*Finforma, m_record, lines);
    form->mminforme->moveCursor(QTextCursor::Start);
}

void ReportCommands::FileExportRecord() {
    if (!Finforma)
        return;
    // Proposed beside the study file, with its name; a new study's record as "Nuevo.pdf".
    const QFileInfo study(Finforma->windowTitle());
    const QString proposed = study.completeBaseName() + QStringLiteral(".pdf");
    const FileDialogRequest request{QStringLiteral("Exportar registro PDF"),
                                    QStringLiteral("Documento PDF (*.pdf)"), QStringLiteral("pdf"),
                                    study.isAbsolute() ? study.dir().filePath(proposed) : proposed};
    const std::optional<QString> chosen = dialogs().saveFileName(&m_frame, request);
    if (!chosen || !Finforma)
        return;
    BusyPointer busy;
    const QString studyPath = openStudyPath();
    writeRecordPdf(*chosen, *Finforma, openStudyIdentity());
    recordStudyAction(studyPath, ldc::auditAction::exportPdf, QFileInfo(*chosen).fileName());
}

void ReportCommands::PrintLasserClick() {
    showModeless(Fopprt1);
}

void ReportCommands::FilePrint() {
    showModeless(Fopprt);
}

void ReportCommands::printValidacionClick() {
    if (!Finforma)
        return;
    // Read before the print dialog: a study whose values do not convert asks for no printer.
    printValidation(&m_frame, *m_validationPrinter, ldc::validationInputs(*Finforma), {});
}

void ReportCommands::mnuoprtClick() {
    if (FOPRT)
        dialogs().execModal(FOPRT);
}

void ReportCommands::fileprt1() {
    showModeless(oprui);
}

void createPrintDialogs() {
    Fopprt1 = new TFopprt1;
    FOPRT = new TFOPRT;
    oprui = new Toprui;
    Fopprt = new TFopprt;
}

void destroyPrintDialogs() {
    delete Fopprt.data();
    delete oprui.data();
    delete FOPRT.data();
    delete Fopprt1.data();
}
