#include "calc/ui/ResultsCommand.h"

#include "app/HelpRequest.h"
#include "app/Main.h"
#include "calc/ResultsText.h"
#include "calc/ui/Fresult.h"
#include "files/ui/StudyAudit.h"
#include "study/ui/Fdatos.h"

namespace {

constexpr QSize kResultsWindowSize(540, 291);

}  // namespace

ResultsCommand::ResultsCommand(TMainForm& frame, ldc::CalibrationResults& record)
    : QObject(&frame), m_frame(frame), m_record(record) {
    setObjectName(QStringLiteral("ResultsCommand"));
}

void ResultsCommand::mnudunetClick() {
    // The command is offered only while a study window is open; a closed one is never read.
    if (!Finforma)
        return;
    // The whole text is made before the window: a calculation that stops on an error
    // leaves no empty results window behind.
    ldc::LineList lines;
    ldc::calculateResults(*Finforma, m_record, lines);

    auto* form = new TFinfo;
    for (const std::string& line : lines.lines)
        form->appendLine(QString::fromStdString(line));
    Finfo = form;
    m_frame.addChild(form, kHelpResultsWindow, kResultsWindowSize, TMainForm::ChildPlace::Centred);
    recordStudyAction(openStudyPath(), ldc::auditAction::calculate,
                      QStringLiteral("Detección y Cuantificación"));
}
