// The frame's report command and the launchers of the print dialogs. The report text and
// the printed pages are the core's (ReportText.h, Uprint1.h, Uprint.h); these handlers
// make the windows and show the dialogs.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>

#include "app/HelpRequest.h"
#include "app/Main.h"
#include "report/ui/Opruido.h"
#include "report/ui/PrintDialogs.h"
#include "report/ReportText.h"
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

void TMainForm::mnuinformeClick() {
    // The command is offered only while a study window is open; a closed one is never read.
    if (!Finforma)
        return;
    auto* form = new Tfrminforme;
    addChild(form, kHelpReportWindow, kReportWindowSize);
    form->mminforme->setFocus();
    ReportWindowLines lines(*form);
    ldc::writeReport(*Finforma, CalibrationRecord, lines);
    form->mminforme->moveCursor(QTextCursor::Start);
}

void TMainForm::childWindowClosing(const QWidget* closing) {
    // Only the other windows count: a window asked to close a second time is already
    // hidden, and counting the shown ones would then take it for the last one.
    for (const QMdiSubWindow* child : ClientArea->subWindowList())
        if (!child->isHidden() && child->widget() != closing)
            return;
    applyCommandState(CommandTransition::LastChildClosed);
}

void TMainForm::PrintLasserClick() {
    showModeless(Fopprt1);
}

void TMainForm::FilePrint() {
    showModeless(Fopprt);
}

void TMainForm::mnuoprtClick() {
    if (FOPRT)
        dialogs().execModal(FOPRT);
}

void TMainForm::fileprt1() {
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
