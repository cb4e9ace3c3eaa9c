// The frame's detection and quantification command: calculates the open study into the
// frame's record and shows the results in a new results window.

#include "app/HelpRequest.h"
#include "app/Main.h"
#include "calc/ui/Fresult.h"
#include "calc/ResultsText.h"
#include "study/ui/Fdatos.h"

namespace {

constexpr QSize kResultsWindowSize(540, 291);

}  // namespace

void TMainForm::mnudunetClick() {
    // The command is offered only while a study window is open; a closed one is never read.
    if (!Finforma)
        return;
    // The whole text is made before the window: a calculation that stops on an error
    // leaves no empty results window behind.
    ldc::LineList lines;
    ldc::calculateResults(*Finforma, CalibrationRecord, lines);

    auto* form = new TFinfo;
    for (const std::string& line : lines.lines)
        form->appendLine(QString::fromStdString(line));
    Finfo = form;
    addChild(form, kHelpResultsWindow, kResultsWindowSize, ChildPlace::Centred);
}
