// The study window's handlers: the entry rules that lead the analyst through the four
// pages, the marking of edits on the frame, and the close question. The verdicts of the
// checks are the core's (EntryRules.h); a handler gathers what the analyst did, asks the
// core and applies the answer.

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Dialogs.h"
#include "app/Main.h"
#include "study/ui/Fdatos.h"

using ldc::StudyTable;

namespace {

constexpr QChar kEnter = QChar(u'\r');

bool inLastColumn(const StringGrid* grid) {
    return grid->currentColumn() == grid->colCount() - 1;
}

bool inLastRow(const StringGrid* grid) {
    return grid->currentRow() == grid->rowCount() - 1;
}

}  // namespace

void TFinforma::connectEntryRules() {
    connect(this, &TFinforma::controlEntered, this, &TFinforma::controlEnter);
    connect(this, &TFinforma::controlExited, this, &TFinforma::controlExit);
    connect(this, &TFinforma::controlKeyPressed, this, &TFinforma::controlKeyPress);
    connect(bnivel, &QPushButton::clicked, this, &TFinforma::bnivelClick);
    connect(botonr, &QPushButton::clicked, this, &TFinforma::botonrClick);
    connect(this, &TFinforma::pmnudunetTriggered, this, &TFinforma::pmnudunetClick);
    connect(ComboBox1, &QComboBox::activated, this, &TFinforma::ComboBox1Click);

    // Keys that type no character still edit (Delete, pasting, undoing): they mark the
    // study too. Text the program writes sends none of these.
    for (QLineEdit* edit : {emetodo, eanalista, efecha, ecanad, erecupera, enivel})
        connect(edit, &QLineEdit::textEdited, this, &TFinforma::markModified);
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, &TFinforma::markModified);
    for (StringGrid* g : {stgnivel, stgdatos})
        connect(g, &StringGrid::cellEdited, this, &TFinforma::markModified);
    connect(stgblancos, &StringGrid::cellEdited, this, &TFinforma::stgblancosEdited);
    // The data grid is alone on its page: Tab after the last datum leaves it only to come
    // back, and its data are checked on the way as on any leaving.
    connect(stgdatos, &StringGrid::tabbedOutToItself, this, [this] {
        if (enteredControl() == stgdatos)
            stgdatosExit();
    });
}

void TFinforma::controlEnter(QWidget* control) {
    if (control == stgnivel)
        stgnivelEnter();
    else if (control == stgdatos)
        stgdatosEnter();
}

void TFinforma::controlExit(QWidget* control) {
    if (control == erecupera)
        erecuperaExit();
    else if (control == ComboBox1)
        ComboBox1Exit();
    else if (control == enivel)
        enivelExit();
    else if (control == stgnivel)
        stgnivelExit();
    else if (control == stgdatos)
        stgdatosExit();
    else if (control == stgblancos)
        stgblancosExit();
}

void TFinforma::controlKeyPress(QWidget* control, QChar key) {
    if (control == emetodo)
        emetodoKeyPress(key);
    else if (control == eanalista)
        eanalistaKeyPress(key);
    else if (control == efecha)
        efechaKeyPress(key);
    else if (control == ecanad)
        ecanadKeyPress(key);
    else if (control == erecupera)
        erecuperaKeyPress(key);
    else if (control == ComboBox1)
        ComboBox1KeyPress(key);
    else if (control == enivel)
        enivelKeyPress(key);
    else if (control == stgnivel)
        stgnivelKeyPress(key);
    else if (control == stgdatos)
        stgdatosKeyPress(key);
    else if (control == stgblancos)
        stgblancosKeyPress(key);
}

void TFinforma::markModified() {
    if (MainForm)
        MainForm->markModified();
}

void TFinforma::applyCommandState(CommandTransition transition) {
    if (MainForm)
        MainForm->applyCommandState(transition);
    // The popup item is the frame's results command offered in the data grid: it follows
    // the table's row for that command.
    for (const CommandRow& row : commandTable()) {
        if (qstrcmp(row.item, "mnudunet") != 0)
            continue;
        const CommandState state = row.states[static_cast<std::size_t>(transition)];
        if (state != CommandState::Same)
            pmnudunet->setEnabled(state == CommandState::On);
    }
}

void TFinforma::applyVerdict(const ldc::EntryVerdict& verdict) {
    if (verdict.notice)
        dialogs().notice(this, QString::fromStdString(*verdict.notice));
    // Where the focus goes where the analyst moved it, so does the page: the notebook
    // never shows one page with the cursor on another.
    QWidget* target = controlFor(verdict.focus);
    if (!target)
        return;
    if (verdict.page)
        showPage(*verdict.page);
    focusControl(target);
}

void TFinforma::enterMovesOn(QChar key, const QLineEdit* field, QWidget* next) {
    if (key == kEnter && !field->text().isEmpty())
        focusControl(next);
}

void TFinforma::emetodoKeyPress(QChar key) {
    markModified();
    enterMovesOn(key, emetodo, eanalista);
}

void TFinforma::eanalistaKeyPress(QChar key) {
    markModified();
    enterMovesOn(key, eanalista, efecha);
}

void TFinforma::efechaKeyPress(QChar key) {
    markModified();
    enterMovesOn(key, efecha, ecanad);
}

void TFinforma::ecanadKeyPress(QChar key) {
    markModified();
    enterMovesOn(key, ecanad, erecupera);
}

void TFinforma::erecuperaKeyPress(QChar) {
    markModified();
}

void TFinforma::erecuperaExit() {
    // The data and blank columns are headed by the units of the recovered amount.
    ldc::setRecoveredAmountText(*this, 0, erecupera->text().toStdString());
    stgblancos->setCell(1, 0, erecupera->text());
    focusControl(ComboBox1);
}

void TFinforma::ComboBox1KeyPress(QChar) {
    markModified();
}

void TFinforma::ComboBox1Click() {
    // Choosing the basis changes the limits: an unsaved choice is an unsaved edit.
    markModified();
}

void TFinforma::ComboBox1Exit() {
    applyVerdict(ldc::checkBasisOnExit(text(ldc::StudyField::limitBasis)));
}

void TFinforma::enivelKeyPress(QChar) {
    markModified();
}

void TFinforma::enivelExit() {
    applyVerdict(ldc::checkLevelCountOnExit(text(ldc::StudyField::levelCount)));
}

void TFinforma::bnivelClick() {
    // A count that is not valid was reported when the focus left enivel; a click that
    // reaches the button all the same sizes nothing.
    ldc::sizeLevelTable(*this);
}

void TFinforma::stgnivelEnter() {
    applyVerdict(ldc::checkLevelTableOnEnter(*this));
}

void TFinforma::stgnivelKeyPress(QChar key) {
    markModified();
    if (!inLastColumn(stgnivel))
        return;
    if (!inLastRow(stgnivel)) {
        setNavigationMode(StudyTable::levels, GridNavigation::CellToCellTab);
        return;
    }
    // The replicate count of the last level: Tab or Enter leave the grid.
    setNavigationMode(StudyTable::levels, GridNavigation::LeaveOnTab);
    if (key == kEnter) {
        showPage(1);
        focusControl(botonr);
    }
}

void TFinforma::stgnivelExit() {
    setNavigationMode(StudyTable::levels, GridNavigation::CellToCellTab);
    setCurrentCell(StudyTable::levels, 1, 1);
    showPage(1);
    applyVerdict(ldc::checkLevelTableOnExit(*this));
}

void TFinforma::botonrClick() {
    applyCommandState(CommandTransition::LevelsAccepted);
}

void TFinforma::stgdatosEnter() {
    // Available from here on, even when the levels turn out to be incomplete.
    applyCommandState(CommandTransition::DataGridEntered);
    applyVerdict(ldc::buildResultsTableOnEnter(*this));
}

void TFinforma::stgdatosKeyPress(QChar) {
    markModified();
    if (inLastColumn(stgdatos))
        setNavigationMode(StudyTable::results, inLastRow(stgdatos) ? GridNavigation::LeaveOnTab
                                                                   : GridNavigation::CellToCellTab);
    applyCommandState(CommandTransition::DataGridEntered);
}

void TFinforma::stgdatosExit() {
    setNavigationMode(StudyTable::results, GridNavigation::CellToCellTab);
    setCurrentCell(StudyTable::results, 1, 1);
    applyVerdict(ldc::checkResultsTableOnExit(*this));
}

void TFinforma::stgblancosKeyPress(QChar key) {
    markModified();
    // Enter goes on to the next reading, always there: a row follows the last one typed.
    if (key == kEnter && !inLastRow(stgblancos))
        stgblancos->setCurrentCell(1, stgblancos->currentRow() + 1);
}

void TFinforma::stgblancosEdited() {
    markModified();
    const int last = stgblancos->rowCount() - 1;
    if (stgblancos->cell(1, last).isEmpty())
        return;
    stgblancos->appendRows(1);
    labelBlankRows(last + 1);
}

void TFinforma::stgblancosExit() {
    applyVerdict(ldc::checkBlankReadingsOnExit(*this));
}

void TFinforma::pmnudunetClick() {
    if (MainForm)
        MainForm->showResults();
}

bool TFinforma::FormCloseQuery() {
    if (!MainForm)
        return true;
    if (MainForm->isModified() &&
        dialogs().question(
            this, QStringLiteral("Guardar archivo?"),
            QStringLiteral("Se realizaron cambios!\nQuiere guardar su información?"))) {
        MainForm->saveStudy(this);
        // Save clears the marker only once the study is on disk. A save dialog the analyst
        // cancelled keeps the study open, edits and all.
        if (MainForm->isModified())
            return false;
    }
    MainForm->blankModified();
    return true;
}

void TFinforma::FormClose() {
    if (Finforma == this)
        Finforma = nullptr;
    if (!MainForm)
        return;
    // Nothing may reach the study from now on, whatever other windows stay open.
    MainForm->applyCommandState(CommandTransition::StudyClosed);
    MainForm->childWindowClosing(this);
}

void TFinforma::closeEvent(QCloseEvent* event) {
    // Refused until the question lets it go: a save that fails on its way (its error goes
    // on to the error box) keeps the window and the study open.
    event->ignore();
    if (!FormCloseQuery())
        return;
    event->accept();
    FormClose();
}
