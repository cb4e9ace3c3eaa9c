#include "report/ui/ReportCommands.h"

#include <QPlainTextEdit>
#include <QPrinter>

#include "app/Dialogs.h"
#include "app/HelpRequest.h"
#include "app/Main.h"
#include "calc/ui/ValidationWindow.h"
#include "report/ReportText.h"
#include "report/ui/Opruido.h"
#include "report/ui/PrintDialogs.h"
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
    ldc::writeReport(*Finforma, m_record, lines);
    form->mminforme->moveCursor(QTextCursor::Start);
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
