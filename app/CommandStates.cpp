#include "app/CommandStates.h"

#include <QAction>
#include <QWidget>
#include <QtGlobal>

namespace {

constexpr CommandState on = CommandState::On;
constexpr CommandState off = CommandState::Off;
constexpr CommandState same = CommandState::Same;

// Columns: start-up, after New, after Open, after Close of the study window, last child
// window closed, replicates accepted, data grid entered, study window closed.
constexpr CommandRow kRows[] = {
    {"FileNewItem", "spdnuevo", false, {on, off, off, on, on, same, same, same}},
    {"FileOpenItem", "spdabrir", false, {on, off, off, on, on, same, same, same}},
    {"mnuclose", "spdclose", false, {off, on, on, off, off, same, same, same}},
    {"FileSaveItem", "spdguardar", false, {off, on, on, off, off, same, same, off}},
    {"FileSaveAsItem", nullptr, false, {off, on, on, off, off, same, same, off}},
    {"FilePrintItem", nullptr, false, {off, same, on, off, off, off, on, off}},
    {"printLasser", "spdprint", false, {off, same, on, off, off, off, on, off}},
    {"PrintDeskjet", "spdprint1", true, {off, same, on, off, off, off, on, off}},
    {"FileExportRecordItem", nullptr, false, {off, same, on, off, off, off, on, off}},
    {"mnucalculos", nullptr, false, {off, same, same, same, same, on, on, same}},
    {"mnudunet", nullptr, false, {off, same, same, off, same, off, on, off}},
    {"mnuinforme", nullptr, false, {off, same, same, off, same, off, on, off}},
    {"mnuvalidacion", nullptr, false, {off, same, same, off, same, off, on, off}},
    {"WindowTileItem", "spdmosaico", false, {off, same, on, off, off, same, same, same}},
    {"WindowCascadeItem", "spdcascada", false, {off, same, on, off, off, same, same, same}},
    {"WindowMenu", nullptr, false, {on, same, same, same, same, same, same, same}},
    {"HelpMenu", nullptr, false, {on, same, same, same, same, same, same, same}},
    {"HelpContentsItem", "spdcontenido", false, {on, same, same, same, same, same, same, same}},
    {"HelpSearchItem", nullptr, false, {on, same, same, same, same, same, same, same}},
    {"HelpHowToUseItem", nullptr, true, {on, same, same, same, same, same, same, same}},
    {"HelpVerifyItem", nullptr, false, {on, same, same, same, same, same, same, same}},
    {"HelpHistoryItem", nullptr, false, {off, on, on, off, off, same, same, off}},
    {"HelpAboutItem", nullptr, false, {on, same, same, same, same, same, same, same}},
    {"FileExitItem", "spdexit", false, {on, same, same, same, same, same, same, same}},
};

}  // namespace

std::span<const CommandRow> commandTable() {
    return kRows;
}

void applyCommandTransition(QObject* frame, CommandTransition transition) {
    const auto column = static_cast<std::size_t>(transition);
    for (const CommandRow& row : kRows) {
        auto* action = frame->findChild<QAction*>(QLatin1String(row.item));
        Q_ASSERT_X(action, "applyCommandTransition", row.item);
        if (!action)
            continue;
        const CommandState state = row.states[column];
        if (state != CommandState::Same)
            action->setEnabled(state == CommandState::On);
        if (row.hidden) {
            action->setVisible(false);
            // A speed button follows its action's availability but not its visibility.
            if (row.button)
                if (auto* button = frame->findChild<QWidget*>(QLatin1String(row.button)))
                    button->setVisible(false);
        }
    }
}
