// The frame's detection and quantification command: calculates the open study into the
// frame's record and shows the results in a new results window.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>

#include <algorithm>

#include "app/HelpRequest.h"
#include "app/Main.h"
#include "calc/Fresult.h"
#include "calc/ResultsText.h"
#include "study/Fdatos.h"

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
    QMdiSubWindow* window = addChild(form, kHelpResultsWindow);
    window->resize(kResultsWindowSize);
    const QRect area = ClientArea->viewport()->rect();
    window->move(std::max(0, (area.width() - window->width()) / 2),
                 std::max(0, (area.height() - window->height()) / 2));
}
