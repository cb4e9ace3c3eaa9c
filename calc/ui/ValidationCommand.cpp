#include "calc/ui/ValidationCommand.h"

#include "app/HelpRequest.h"
#include "app/Main.h"
#include "calc/ui/ValidationWindow.h"
#include "files/ui/StudyAudit.h"
#include "report/ValidationPage.h"
#include "study/ui/Fdatos.h"

namespace {

constexpr QSize kValidationWindowSize(1100, 720);

}  // namespace

ValidationCommand::ValidationCommand(TMainForm& frame) : QObject(&frame), m_frame(frame) {
    setObjectName(QStringLiteral("ValidationCommand"));
}

void ValidationCommand::mnuvalidacionClick() {
    // The command is offered only while a study window is open; a closed one is never read.
    if (!Finforma)
        return;
    auto* form = new ValidationWindow(ldc::validationInputs(*Finforma));
    m_frame.addChild(form, kHelpValidationWindow, kValidationWindowSize,
                     TMainForm::ChildPlace::Centred);
    recordStudyAction(openStudyPath(), ldc::auditAction::calculate,
                      QString::fromUtf8(ldc::kValidationTitle));
}
