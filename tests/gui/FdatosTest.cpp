// The study window and its string grids: initial content, pages and focus, tab order,
// field limits, the grids' editing and Tab modes, and the study read and written through
// the window.

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <memory>

#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "StudyFixtures.h"
#include "app/LdcApplication.h"
#include "study/CalibrationStudy.h"
#include "study/Fdatos.h"
#include "study/LdcError.h"
#include "study/Numbers.h"
#include "study/StringGrid.h"

using ldc::StudyField;
using ldc::StudyGrid;

namespace {

constexpr StudyField kFields[] = {StudyField::emetodo, StudyField::eanalista, StudyField::efecha,
                                  StudyField::ecanad,  StudyField::erecupera, StudyField::ComboBox1,
                                  StudyField::enivel};

// Lets the window report the focus changes the toolkit has just made.
void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

QWidget* focused() {
    return QApplication::focusWidget();
}

// The entry control holding the focus (a grid's cell editor counts as the grid).
QWidget* focusedIn(const TFinforma& form) {
    for (QWidget* w = focused(); w; w = w->parentWidget())
        if (w == form.stgnivel || w == form.stgdatos)
            return w;
    return focused();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(focused(), key, modifiers);
    settle();
}

void type(const QString& text) {
    QTest::keyClicks(focused(), text);
    settle();
}

void clickTab(TFinforma& form, int index) {
    QTabBar* bar = form.Thojas->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    settle();
}

QPoint cellCenter(const StringGrid& grid, int column, int row) {
    return grid.visualRect(grid.model()->index(row, column)).center();
}

// A window shown and active, with the first focus already taken. A complete study (the
// worked example) lets the focus go wherever the entry rules let a finished study go.
std::unique_ptr<TFinforma> openWindow(bool complete = true) {
    auto form = std::make_unique<TFinforma>();
    if (complete)
        copyStudy(ldc::testing::makeStudy(ldc::testing::workedExample()), *form);
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get()))
        return nullptr;
    settle();
    return form;
}

// A grid between two edits, so that leaving it has somewhere to go.
struct GridHost {
    QWidget window;
    QLineEdit* before = new QLineEdit;
    StringGrid* grid;
    QLineEdit* after = new QLineEdit;

    GridHost(int columns, int rows, int storedOnly = 0)
        : grid(new StringGrid(columns, rows, storedOnly)) {
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(before);
        layout->addWidget(grid);
        layout->addWidget(after);
        grid->setDefaultColumnWidth(60);
        grid->setDefaultRowHeight(24);
        grid->setMinimumSize(400, 300);
        window.show();
        window.activateWindow();
    }
    bool active() { return QTest::qWaitForWindowActive(&window); }
};

}  // namespace

class FdatosTest : public QObject {
    Q_OBJECT
private slots:
    // No test waits on a notice of the entry rules: they are recorded.
    void initTestCase() { ldc::setDecimalSeparator('.'); }
    void init() { m_dialogs = std::make_unique<ScriptedDialogs>(); }
    void cleanup() {
        QCOMPARE(m_dialogs->notices, QStringList());
        m_dialogs.reset();
    }

    void newWindowHoldsTheInitialStudy();
    void newWindowShowsItsControls();
    void firstFocusGoesToMethodOnPageZero();
    void pickingATabMovesTheCursor_data();
    void pickingATabMovesTheCursor();
    void altLetterMovesTheFocus_data();
    void altLetterMovesTheFocus();
    void ctrlTabPicksPagesLikeTheirTabs();
    void enterPressesTheFocusedButton();
    void aBasisTheProgramWritesIsThatItemChosen();
    void tabOrderOfEachPage_data();
    void tabOrderOfEachPage();
    void typingStopsAtTheFieldLimit_data();
    void typingStopsAtTheFieldLimit();
    void textSetByTheProgramIsKeptWhole();
    void basisIsTypedAsIs();

    void fixedCellsAreNeverEditedNorCurrent();
    void storedOnlyColumnKeepsTextUnseen();
    void resizingKeepsTheRemainingCells();
    void shrinkingUnderTheEditorKeepsTheFocus();
    void typingReachesTheCellAtOnce();
    void keysAreReportedBeforeTheyTakeEffect();
    void cellToCellTabWalksRowByRow();
    void leaveOnTabMovesToTheNextControl();
    void modeChangeEndsRangeSelectionAndColumnSizing();

    void exitHandlerMoveWinsOverTheUsers();
    void gridExitReadsTheLastKeystroke();
    void enterHandlerSendingOnLeavesNoExit();
    void errorInEnterHandlerKeepsTheFocusThere();
    void enterInEditIsReportedAndUsedUp();
    void popupItemRunsTheResultsCommand();

    void studyRoundTripThroughTheWindow();
    void openingAHundredThousandRows();

private:
    std::unique_ptr<ScriptedDialogs> m_dialogs;
};

void FdatosTest::newWindowHoldsTheInitialStudy() {
    TFinforma form;
    const ldc::CalibrationStudy reference;
    for (StudyField f : kFields)
        QCOMPARE(form.text(f), reference.text(f));
    QCOMPARE(form.text(StudyField::enivel), std::string("3"));
    QCOMPARE(form.columnCount(StudyGrid::stgnivel), 4);
    QCOMPARE(form.rowCount(StudyGrid::stgnivel), 3);
    QCOMPARE(form.columnCount(StudyGrid::stgdatos), 2);
    QCOMPARE(form.rowCount(StudyGrid::stgdatos), 10);
    const char* levelGrid[3][4] = {{"", "Nivel 1", "Nivel 2", "Nivel 3"},
                                   {"Valor >>", "", "", ""},
                                   {"Replicación >>", "", "", ""}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            QCOMPARE(form.cell(StudyGrid::stgnivel, c, r), std::string(levelGrid[r][c]));
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < ldc::kDataGridStoredColumns; ++c)
            QCOMPARE(form.cell(StudyGrid::stgdatos, c, r),
                     reference.cell(StudyGrid::stgdatos, c, r));
    QCOMPARE(form.caption(), std::string("Nuevo"));
}

void FdatosTest::newWindowShowsItsControls() {
    TFinforma form;
    QCOMPARE(form.size(), QSize(634, 368));
    QCOMPARE(form.windowTitle(), QStringLiteral("Nuevo"));
    QCOMPARE(form.property("helpContext").toInt(), 2);
    QCOMPARE(form.Thojas->currentIndex(), 1);
    QCOMPARE(form.Thojas->tabText(0), QStringLiteral("Información General"));
    QCOMPARE(form.Thojas->tabText(1), QStringLiteral("Información de niveles"));
    QCOMPARE(form.Thojas->tabText(2), QStringLiteral("Captura de Datos"));
    QCOMPARE(form.pageOf(form.ComboBox1), 0);
    QCOMPARE(form.pageOf(form.botonr), 1);
    QCOMPARE(form.pageOf(form.stgdatos), 2);

    QCOMPARE(form.enivel->text(), QStringLiteral("3"));
    QCOMPARE(form.stgnivel->item(0, 3)->text(), QStringLiteral("Nivel 3"));
    QCOMPARE(form.ComboBox1->currentIndex(), -1);
    QCOMPARE(form.ComboBox1->currentText(), QString());
    QCOMPARE(form.ComboBox1->count(), 2);
    QCOMPARE(form.ComboBox1->itemText(0), QStringLiteral("Regresión"));
    QCOMPARE(form.ComboBox1->itemText(1), QStringLiteral("Ordenada al Origen"));
    QCOMPARE(form.bnivel->text(), QStringLiteral("Aceptar niveles"));
    QCOMPARE(form.botonr->text(), QStringLiteral("Aceptar replicas por nivel"));

    QCOMPARE(form.stgnivel->columnWidth(1), 100);
    QCOMPARE(form.stgnivel->rowHeight(2), 24);
    QCOMPARE(form.stgdatos->columnWidth(0), 140);
    QCOMPARE(form.stgdatos->columnWidth(1), 110);
    QCOMPARE(form.stgdatos->rowHeight(9), 24);
    QCOMPARE(form.stgdatos->columnCount(), 3);
    QVERIFY(form.stgdatos->isColumnHidden(2));
    QVERIFY(form.stgnivel->horizontalHeader()->isHidden());
    QVERIFY(form.stgdatos->verticalHeader()->isHidden());

    QCOMPARE(form.stgdatos->toolTip(), QStringLiteral("opciones botón derecho"));
    QCOMPARE(form.pmenu->actions(), QList<QAction*>{form.pmnudunet});
    QCOMPARE(form.pmnudunet->text(), QStringLiteral("&Detección y Cuantificación"));
    QCOMPARE(form.pmnudunet->statusTip(),
             QStringLiteral("Límite de detección y cuantificación del método"));
    QCOMPARE(form.pmnudunet->toolTip(), QStringLiteral("Cálculos"));
    QVERIFY(!form.pmnudunet->isEnabled());
    for (const char* name : {"emetodo", "eanalista", "efecha", "ecanad", "erecupera", "ComboBox1",
                             "enivel", "bnivel", "stgnivel", "botonr", "stgdatos", "Thojas"})
        QVERIFY2(form.findChild<QWidget*>(QLatin1String(name)), name);
}

void FdatosTest::firstFocusGoesToMethodOnPageZero() {
    auto form = std::make_unique<TFinforma>();
    QSignalSpy entered(form.get(), &TFinforma::controlEntered);
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    settle();
    QCOMPARE(form->Thojas->currentIndex(), 0);
    QCOMPARE(focused(), form->emetodo);
    // The control the toolkit first chose on page 1 is passed over, never entered.
    QCOMPARE(entered.size(), 1);
    QCOMPARE(entered.at(0).at(0).value<QWidget*>(), form->emetodo);

    // Only the first focus does this: later the notebook keeps its page.
    form->focusControl(form->enivel);
    settle();
    QCOMPARE(focused(), form->enivel);
    QCOMPARE(form->Thojas->currentIndex(), 1);
}

void FdatosTest::pickingATabMovesTheCursor_data() {
    // `earlier` is where the cursor last stood on the picked page: where the toolkit alone
    // would bring it back.
    QTest::addColumn<QString>("earlier");
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("expected");
    QTest::newRow("levels tab") << "botonr"
                                << "eanalista" << 1 << "enivel";
    QTest::newRow("general tab") << "ecanad"
                                 << "bnivel" << 0 << "emetodo";
    QTest::newRow("general tab clicked again") << "ecanad"
                                               << "efecha" << 0 << "emetodo";
    QTest::newRow("data tab: into the data grid") << "efecha"
                                                  << "ecanad" << 2 << "stgdatos";
}

void FdatosTest::pickingATabMovesTheCursor() {
    QFETCH(QString, earlier);
    QFETCH(QString, from);
    QFETCH(int, tab);
    QFETCH(QString, expected);
    auto form = openWindow();
    QVERIFY(form);
    form->focusControl(form->findChild<QWidget*>(earlier));
    settle();
    form->focusControl(form->findChild<QWidget*>(from));
    settle();
    clickTab(*form, tab);
    QCOMPARE(form->Thojas->currentIndex(), tab);
    QCOMPARE(focusedIn(*form)->objectName(), expected);
}

void FdatosTest::altLetterMovesTheFocus_data() {
    QTest::addColumn<Qt::Key>("letter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("método") << Qt::Key_M << "emetodo";
    QTest::newRow("Analista") << Qt::Key_N << "eanalista";
    QTest::newRow("Fecha") << Qt::Key_F << "efecha";
    QTest::newRow("Unidades adicionada") << Qt::Key_U << "ecanad";
    QTest::newRow("recuperada") << Qt::Key_R << "erecupera";
}

void FdatosTest::altLetterMovesTheFocus() {
    QFETCH(Qt::Key, letter);
    QFETCH(QString, expected);
    auto form = openWindow();
    QVERIFY(form);
    form->focusControl(form->ComboBox1);
    settle();
    press(letter, Qt::AltModifier);
    QCOMPARE(focused()->objectName(), expected);
}

void FdatosTest::ctrlTabPicksPagesLikeTheirTabs() {
    auto form = openWindow();
    QVERIFY(form);
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(form->Thojas->currentIndex(), 1);
    QCOMPARE(focused(), form->enivel);
    QCOMPARE(form->enivel->selectedText(), QStringLiteral("3"));  // typing replaces it
    press(Qt::Key_PageDown, Qt::ControlModifier);  // a good count sends the cursor on
    QCOMPARE(form->Thojas->currentIndex(), 1);
    QCOMPARE(focused(), form->bnivel);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(form->Thojas->currentIndex(), 2);
    QCOMPARE(focusedIn(*form), form->stgdatos);
    // Complete data let the analyst go back a page, as the tab would.
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(form->Thojas->currentIndex(), 1);
    QCOMPARE(focused(), form->enivel);
    press(Qt::Key_PageUp, Qt::ControlModifier);  // a good count sends the cursor on
    QCOMPARE(form->Thojas->currentIndex(), 1);
    QCOMPARE(focused(), form->bnivel);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(form->Thojas->currentIndex(), 0);
    QCOMPARE(focused(), form->emetodo);
    QCOMPARE(m_dialogs->notices, QStringList());
}

void FdatosTest::enterPressesTheFocusedButton() {
    auto form = openWindow();
    QVERIFY(form);
    for (QPushButton* button : {form->bnivel, form->botonr}) {
        QSignalSpy clicks(button, &QPushButton::clicked);
        form->focusControl(button);
        settle();
        press(Qt::Key_Return);
        QCOMPARE(clicks.size(), 1);
        press(Qt::Key_Space);
        QCOMPARE(clicks.size(), 2);
    }
}

void FdatosTest::aBasisTheProgramWritesIsThatItemChosen() {
    // Otherwise the combo box would choose it itself when the focus leaves it, as if the
    // analyst had.
    auto form = openWindow(false);
    QVERIFY(form);
    QSignalSpy chosen(form->ComboBox1, &QComboBox::activated);
    form->setText(StudyField::ComboBox1, "Ordenada al Origen");
    QCOMPARE(form->ComboBox1->currentIndex(), 1);
    form->focusControl(form->ComboBox1);
    settle();
    form->focusControl(form->emetodo);
    settle();
    QCOMPARE(chosen.size(), 0);
    form->setText(StudyField::ComboBox1, "regresión");
    QCOMPARE(form->ComboBox1->currentIndex(), -1);
    QCOMPARE(form->text(StudyField::ComboBox1), std::string("regresión"));
}

void FdatosTest::tabOrderOfEachPage_data() {
    QTest::addColumn<QStringList>("order");
    QTest::newRow("page 0") << QStringList{"emetodo", "eanalista", "efecha",
                                           "ecanad",  "erecupera", "ComboBox1"};
    QTest::newRow("page 1") << QStringList{"enivel", "bnivel", "stgnivel", "botonr"};
    QTest::newRow("page 2") << QStringList{"stgdatos"};
}

void FdatosTest::tabOrderOfEachPage() {
    QFETCH(QStringList, order);
    auto form = openWindow();
    QVERIFY(form);
    // The grids walk their cells on Tab until told to let it go.
    form->setNavigationMode(StudyGrid::stgnivel, GridNavigation::LeaveOnTab);
    form->setNavigationMode(StudyGrid::stgdatos, GridNavigation::LeaveOnTab);
    form->focusControl(form->findChild<QWidget*>(order.front()));
    settle();
    for (int i = 1; i <= order.size(); ++i) {
        press(Qt::Key_Tab);
        QCOMPARE(focusedIn(*form)->objectName(), order.at(i % order.size()));
    }
    // Shift+Tab walks the same chain backwards (with the keys, the rules of the fields
    // that send the focus on would have their say).
    QStringList backwards;
    QWidget* w = form->findChild<QWidget*>(order.front());
    do {
        w = w->previousInFocusChain();
        if (order.contains(w->objectName()) && !backwards.contains(w->objectName()))
            backwards << w->objectName();
    } while (w->objectName() != order.front());
    QCOMPARE(backwards, QStringList(order.rbegin(), order.rend()));
}

void FdatosTest::typingStopsAtTheFieldLimit_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("limit");
    QTest::newRow("emetodo") << "emetodo" << 60;
    QTest::newRow("eanalista") << "eanalista" << 60;
    QTest::newRow("efecha") << "efecha" << 20;
    QTest::newRow("ecanad") << "ecanad" << 5;
    QTest::newRow("erecupera") << "erecupera" << 5;
    QTest::newRow("enivel") << "enivel" << 2;
}

void FdatosTest::typingStopsAtTheFieldLimit() {
    QFETCH(QString, name);
    QFETCH(int, limit);
    auto form = openWindow();
    QVERIFY(form);
    auto* edit = form->findChild<QLineEdit*>(name);
    form->focusControl(edit);
    edit->clear();
    QTest::keyClicks(edit, QString(limit + 4, QLatin1Char('7')));
    QCOMPARE(edit->text(), QString(limit, QLatin1Char('7')));
}

void FdatosTest::textSetByTheProgramIsKeptWhole() {
    // A study file written elsewhere may hold a longer method name; saving it back must
    // not cut it, while the analyst still cannot type it any longer.
    auto form = openWindow();
    QVERIFY(form);
    const std::string longName(75, 'm');
    form->setText(StudyField::emetodo, longName);
    QCOMPARE(form->text(StudyField::emetodo), longName);
    form->focusControl(form->emetodo);
    form->emetodo->end(false);
    QTest::keyClicks(form->emetodo, QStringLiteral("xyz"));
    QCOMPARE(form->text(StudyField::emetodo), longName);
    // A normal text brings the normal limit back.
    form->setText(StudyField::emetodo, "Método A");
    QTest::keyClicks(form->emetodo, QString(70, QLatin1Char('b')));
    QCOMPARE(form->emetodo->text().size(), 60);
}

void FdatosTest::basisIsTypedAsIs() {
    // The basis is compared with the item texts literally: a prefix must stay a prefix,
    // not be completed to an item, and Enter must not add it to the list.
    auto form = openWindow();
    QVERIFY(form);
    form->ComboBox1->setEditText(QString());
    form->focusControl(form->ComboBox1);
    settle();
    type(QStringLiteral("Regres"));
    press(Qt::Key_Return);
    QCOMPARE(form->text(StudyField::ComboBox1), std::string("Regres"));
    QCOMPARE(form->ComboBox1->count(), 2);
    form->ComboBox1->setCurrentIndex(1);
    QCOMPARE(form->text(StudyField::ComboBox1), std::string("Ordenada al Origen"));
}

void FdatosTest::fixedCellsAreNeverEditedNorCurrent() {
    GridHost host(4, 3);
    QVERIFY(host.active());
    StringGrid& grid = *host.grid;
    for (const QPoint& fixed :
         {QPoint(0, 0), QPoint(0, 1), QPoint(0, 2), QPoint(1, 0), QPoint(3, 0)}) {
        QVERIFY(!grid.isEditableCell(fixed.x(), fixed.y()));
        QVERIFY(!(grid.model()->flags(grid.model()->index(fixed.y(), fixed.x())) &
                  (Qt::ItemIsEditable | Qt::ItemIsSelectable)));
    }
    grid.setCurrentCell(2, 1);
    grid.setCurrentCell(0, 2);  // refused
    QCOMPARE(grid.currentColumn(), 2);
    QCOMPARE(grid.currentRow(), 1);
    grid.setFocus();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCenter(grid, 1, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCenter(grid, 0, 2));
    QCOMPARE(grid.currentColumn(), 2);
    QCOMPARE(grid.currentRow(), 1);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCenter(grid, 3, 2));
    QCOMPARE(grid.currentColumn(), 3);
    QCOMPARE(grid.currentRow(), 2);
    QVERIFY(grid.editor() && grid.editor()->isVisible());
}

void FdatosTest::storedOnlyColumnKeepsTextUnseen() {
    GridHost host(2, 4, 1);
    QVERIFY(host.active());
    StringGrid& grid = *host.grid;
    QCOMPARE(grid.colCount(), 2);
    grid.setCell(2, 1, QStringLiteral("segundo"));
    grid.setCell(1, 1, QStringLiteral("1.5"));
    grid.setCell(3, 1, QStringLiteral("fuera"));  // beyond every column: ignored
    grid.setCell(1, 4, QStringLiteral("fuera"));  // beyond the last row: ignored
    QCOMPARE(grid.cell(2, 1), QStringLiteral("segundo"));
    QCOMPARE(grid.cell(3, 1), QString());
    QCOMPARE(grid.cell(1, 4), QString());
    QVERIFY(grid.isColumnHidden(2));
    QVERIFY(!grid.isEditableCell(2, 1));

    // Tab walks past it: from the only visible data column straight to the next row.
    grid.setFocus();
    grid.setCurrentCell(1, 1);
    press(Qt::Key_Tab);
    QCOMPARE(grid.currentColumn(), 1);
    QCOMPARE(grid.currentRow(), 2);

    // Resizing the rows and the visible columns carries it along.
    grid.setRowCount(8);
    grid.setColCount(3);
    QCOMPARE(grid.colCount(), 3);
    QCOMPARE(grid.cell(3, 1), QStringLiteral("segundo"));
    QVERIFY(grid.isColumnHidden(3));
    QVERIFY(!grid.isColumnHidden(2));
    grid.setColCount(2);
    QCOMPARE(grid.cell(2, 1), QStringLiteral("segundo"));
    QCOMPARE(grid.cell(1, 1), QStringLiteral("1.5"));
}

void FdatosTest::resizingKeepsTheRemainingCells() {
    StringGrid grid(4, 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 1; c < 4; ++c)
            grid.setCell(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    grid.setColCount(3);
    QCOMPARE(grid.colCount(), 3);
    QCOMPARE(grid.cell(2, 2), QStringLiteral("2:2"));
    QCOMPARE(grid.cell(3, 1), QString());  // dropped with its column
    grid.setColCount(5);
    QCOMPARE(grid.cell(3, 1), QString());  // a column added back starts empty
    QCOMPARE(grid.cell(1, 0), QStringLiteral("1:0"));
    QVERIFY(!grid.isEditableCell(4, 0));
    QVERIFY(grid.isEditableCell(4, 2));
    QVERIFY(!(grid.model()->flags(grid.model()->index(0, 4)) & Qt::ItemIsEditable));

    grid.setRowCount(2);
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(grid.cell(2, 1), QStringLiteral("2:1"));
    grid.setRowCount(6);
    QCOMPARE(grid.cell(2, 2), QString());
    QVERIFY(!(grid.model()->flags(grid.model()->index(5, 0)) & Qt::ItemIsEditable));
    grid.setRowCount(0);
    QCOMPARE(grid.rowCount(), 1);
    QCOMPARE(grid.cell(1, 0), QStringLiteral("1:0"));
}

void FdatosTest::shrinkingUnderTheEditorKeepsTheFocus() {
    // Entering the data grid rebuilds its rows while the cursor may stand on one that goes.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("editor")));
    GridHost host(2, 8, 1);
    QVERIFY(host.active());
    StringGrid& grid = *host.grid;
    grid.setNavigationMode(GridNavigation::LeaveOnTab);  // as after typing in the last row
    grid.setFocus();
    grid.setCurrentCell(1, 6);
    type(QStringLiteral("3.5"));
    grid.setRowCount(4);
    settle();
    QVERIFY(grid.containsFocus());
    QCOMPARE(QPoint(grid.currentColumn(), grid.currentRow()), QPoint(1, 3));
    QVERIFY(grid.editor() && grid.editor()->hasFocus());
    grid.setRowCount(1);  // no data row left: nothing to edit, the grid keeps the focus
    settle();
    QVERIFY(grid.containsFocus());
    grid.setRowCount(5);
    grid.setCell(1, 1, QStringLiteral("7"));
    QCOMPARE(QPoint(grid.currentColumn(), grid.currentRow()), QPoint(1, 1));
    QVERIFY(grid.editor() && grid.editor()->hasFocus());
    QCOMPARE(grid.editor()->text(), QStringLiteral("7"));
}

void FdatosTest::typingReachesTheCellAtOnce() {
    GridHost host(4, 3);
    QVERIFY(host.active());
    StringGrid& grid = *host.grid;
    grid.setCell(2, 1, QStringLiteral("9"));
    grid.setFocus();
    grid.setCurrentCell(2, 1);
    QVERIFY(grid.editor() && grid.editor()->hasFocus());
    grid.editor()->end(false);
    type(QStringLiteral(",25"));
    QCOMPARE(grid.cell(2, 1), QStringLiteral("9,25"));  // editor still open
    QVERIFY(grid.editor()->hasFocus());
    grid.editor()->setCursorPosition(1);
    press(Qt::Key_Backspace);
    QCOMPARE(grid.cell(2, 1), QStringLiteral(",25"));
    QCOMPARE(grid.editor()->cursorPosition(), 0);  // the commit leaves the cursor alone
    // Enter and Escape keep the editor, and what was typed, in place.
    const QPointer<QLineEdit> editor = grid.editor();
    press(Qt::Key_Return);
    press(Qt::Key_Escape);
    QCOMPARE(grid.editor(), editor.data());
    QVERIFY(editor && editor->hasFocus());
    QCOMPARE(editor->cursorPosition(), 0);
    QCOMPARE(grid.cell(2, 1), QStringLiteral(",25"));
}

void FdatosTest::keysAreReportedBeforeTheyTakeEffect() {
    GridHost host(4, 3);
    QVERIFY(host.active());
    StringGrid& grid = *host.grid;
    QStringList seen;  // the key and the cell's text when the key arrives
    connect(&grid, &StringGrid::keyPressed, &grid, [&](QChar key) {
        seen << QString(key) + QLatin1Char('|') +
                    grid.cell(grid.currentColumn(), grid.currentRow());
    });
    grid.setFocus();
    type(QStringLiteral("4"));
    press(Qt::Key_Return);
    press(Qt::Key_Backspace);
    press(Qt::Key_Tab);    // navigation, not a character
    press(Qt::Key_Right);  // neither
    press(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(seen, (QStringList{"4|", "\r|4", "\b|4"}));
}

void FdatosTest::cellToCellTabWalksRowByRow() {
    GridHost host(4, 3);
    QVERIFY(host.active());
    StringGrid& grid = *host.grid;
    QCOMPARE(grid.navigationMode(), GridNavigation::CellToCellTab);
    grid.setFocus();
    grid.setCurrentCell(1, 1);
    const QList<QPoint> forward = {{2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}, {1, 1}};
    for (const QPoint& cell : forward) {
        press(Qt::Key_Tab);
        QCOMPARE(QPoint(grid.currentColumn(), grid.currentRow()), cell);
        QVERIFY(grid.editor() && grid.editor()->hasFocus());
    }
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QPoint(grid.currentColumn(), grid.currentRow()), QPoint(3, 2));

    // A grid in this mode that has no data row has nothing to walk: Tab lets go.
    grid.setRowCount(1);
    grid.setFocus();
    press(Qt::Key_Tab);
    QCOMPARE(focused(), host.after);
}

void FdatosTest::leaveOnTabMovesToTheNextControl() {
    GridHost host(4, 3);
    QVERIFY(host.active());
    StringGrid& grid = *host.grid;
    grid.setNavigationMode(GridNavigation::LeaveOnTab);
    grid.setFocus();
    grid.setCurrentCell(2, 1);
    type(QStringLiteral("8"));
    press(Qt::Key_Tab);
    QCOMPARE(focused(), host.after);
    QCOMPARE(grid.cell(2, 1), QStringLiteral("8"));
    grid.setFocus();
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focused(), host.before);

    grid.setNavigationMode(GridNavigation::CellToCellTab);
    grid.setFocus();
    press(Qt::Key_Tab);
    QVERIFY(grid.containsFocus());
}

void FdatosTest::modeChangeEndsRangeSelectionAndColumnSizing() {
    GridHost host(2, 6, 1);
    QVERIFY(host.active());
    StringGrid& grid = *host.grid;
    grid.setColumnSizing(true);
    grid.setFocus();
    QWidget* viewport = grid.viewport();
    const auto selectRange = [&] {
        grid.clearSelection();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, cellCenter(grid, 1, 1));
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, cellCenter(grid, 1, 4));
        return grid.selectionModel()->selectedIndexes().size();
    };
    const auto dragColumnLine = [&] {
        const int before = grid.columnWidth(0);
        const QPoint edge(grid.columnViewportPosition(0) + before, grid.rowHeight(0) / 2);
        QTest::mousePress(viewport, Qt::LeftButton, {}, edge);
        QMouseEvent move(QEvent::MouseMove, QPointF(edge + QPoint(30, 0)),
                         viewport->mapToGlobal(QPointF(edge + QPoint(30, 0))), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, edge + QPoint(30, 0));
        return grid.columnWidth(0) - before;
    };
    QVERIFY(grid.rangeSelection());
    QCOMPARE(selectRange(), 4);
    QCOMPARE(dragColumnLine(), 30);

    grid.setNavigationMode(GridNavigation::CellToCellTab);
    QCOMPARE(grid.navigationMode(), GridNavigation::CellToCellTab);
    QVERIFY(!grid.rangeSelection());
    QVERIFY(!grid.columnSizing());
    QCOMPARE(selectRange(), 1);
    QCOMPARE(dragColumnLine(), 0);
}

void FdatosTest::exitHandlerMoveWinsOverTheUsers() {
    auto form = openWindow();
    QVERIFY(form);
    QList<QWidget*> entered;
    connect(form.get(), &TFinforma::controlEntered, form.get(),
            [&](QWidget* control) { entered << control; });
    // As the level count check does with a bad count: back to the field, however it was left.
    connect(form.get(), &TFinforma::controlExited, form.get(), [&](QWidget* control) {
        if (control == form->enivel)
            form->focusControl(form->ComboBox1);
    });
    form->focusControl(form->enivel);
    settle();
    entered.clear();
    press(Qt::Key_Tab);  // toward bnivel
    QCOMPARE(focused(), form->ComboBox1);
    QCOMPARE(form->Thojas->currentIndex(), 0);
    QCOMPARE(entered, QList<QWidget*>{form->ComboBox1});  // bnivel was never entered
    QCOMPARE(form->enteredControl(), form->ComboBox1);
}

void FdatosTest::gridExitReadsTheLastKeystroke() {
    auto form = openWindow();
    QVERIFY(form);
    QString seenOnExit;
    connect(form.get(), &TFinforma::controlExited, form.get(), [&](QWidget* control) {
        if (control == form->stgnivel)
            seenOnExit = QString::fromStdString(form->cell(StudyGrid::stgnivel, 3, 2));
    });
    form->setNavigationMode(StudyGrid::stgnivel, GridNavigation::LeaveOnTab);
    form->focusControl(form->stgnivel);
    form->setCurrentCell(StudyGrid::stgnivel, 3, 2);
    settle();
    type(QStringLiteral("12"));
    press(Qt::Key_Tab);
    QCOMPARE(focused(), form->botonr);
    QCOMPARE(seenOnExit, QStringLiteral("12"));
}

void FdatosTest::enterHandlerSendingOnLeavesNoExit() {
    auto form = openWindow();
    QVERIFY(form);
    QList<QWidget*> exited;
    connect(form.get(), &TFinforma::controlExited, form.get(),
            [&](QWidget* control) { exited << control; });
    // As the level grid does when its columns do not match the count.
    connect(form.get(), &TFinforma::controlEntered, form.get(), [&](QWidget* control) {
        if (control == form->stgnivel)
            form->focusControl(form->enivel);
    });
    form->focusControl(form->bnivel);
    settle();
    exited.clear();
    press(Qt::Key_Tab);
    QCOMPARE(focused(), form->enivel);
    QCOMPARE(exited, QList<QWidget*>{form->bnivel});
}

void FdatosTest::errorInEnterHandlerKeepsTheFocusThere() {
    ScriptedDialogs dialogs;
    auto form = openWindow();
    QVERIFY(form);
    QList<QWidget*> exited;
    connect(form.get(), &TFinforma::controlEntered, form.get(), [&](QWidget* control) {
        if (control == form->stgdatos)
            throw ldc::Error("'2.5' is not a valid integer value");
    });
    connect(form.get(), &TFinforma::controlExited, form.get(),
            [&](QWidget* control) { exited << control; });
    clickTab(*form, 2);
    QCOMPARE(dialogs.errors, QStringList{"'2.5' is not a valid integer value."});
    QCOMPARE(focusedIn(*form), form->stgdatos);
    // The grid did take the focus, so leaving it is reported like any other.
    exited.clear();
    clickTab(*form, 1);
    QCOMPARE(exited, QList<QWidget*>{form->stgdatos});
}

void FdatosTest::enterInEditIsReportedAndUsedUp() {
    auto form = openWindow(false);
    QVERIFY(form);
    QStringList keys;
    connect(form.get(), &TFinforma::controlKeyPressed, form.get(),
            [&](QWidget* control, QChar key) {
                keys << control->objectName() + QLatin1Char(':') + QString(key);
                if (control == form->emetodo && key == QLatin1Char('\r') &&
                    !form->emetodo->text().isEmpty())
                    form->focusControl(form->eanalista);
            });
    QSignalSpy returns(form->emetodo, &QLineEdit::returnPressed);
    press(Qt::Key_Return);
    QCOMPARE(focused(), form->emetodo);  // empty: Enter goes nowhere
    type(QStringLiteral("A"));
    press(Qt::Key_Return);
    QCOMPARE(focused(), form->eanalista);
    QCOMPARE(returns.size(), 1);  // the Enter that moved the focus on was used up
    QCOMPARE(form->eanalista->text(), QString());
    QCOMPARE(keys, (QStringList{"emetodo:\r", "emetodo:A", "emetodo:\r"}));

    keys.clear();
    form->focusControl(form->stgnivel);
    settle();
    type(QStringLiteral("5"));
    QCOMPARE(keys, QStringList{"stgnivel:5"});
}

void FdatosTest::popupItemRunsTheResultsCommand() {
    auto form = openWindow();
    QVERIFY(form);
    QSignalSpy runs(form.get(), &TFinforma::pmnudunetTriggered);
    form->pmnudunet->trigger();  // unavailable until the data grid is entered
    QCOMPARE(runs.size(), 0);
    clickTab(*form, 2);
    QVERIFY(form->pmnudunet->isEnabled());
    settle();
    QSignalSpy exits(form.get(), &TFinforma::controlExited);
    QSignalSpy entries(form.get(), &TFinforma::controlEntered);
    QWidget* viewport = form->stgdatos->viewport();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(20, 40),
                                 viewport->mapToGlobal(QPoint(20, 40)));
    QApplication::sendEvent(viewport, &rightClick);
    QTRY_VERIFY(form->pmenu->isVisible());
    QTest::mouseClick(form->pmenu, Qt::LeftButton, {},
                      form->pmenu->actionGeometry(form->pmnudunet).center());
    QCOMPARE(runs.size(), 1);
    QVERIFY(!form->pmenu->isVisible());
    // A popup is not another control: going there and back is neither a leave nor an enter.
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    settle();
    QCOMPARE(focusedIn(*form), form->stgdatos);
    QCOMPARE(exits.size(), 0);
    QCOMPARE(entries.size(), 0);
}

void FdatosTest::studyRoundTripThroughTheWindow() {
    TFinforma form;
    const std::string texts[] = {"Cafeína por HPLC",
                                 "Q. F. B. Núñez",
                                 "3 de marzo",
                                 "µg/mL",
                                 "mg",
                                 "Ordenada al Origen",
                                 "4"};
    for (std::size_t i = 0; i < std::size(kFields); ++i)
        form.setText(kFields[i], texts[i]);
    form.setColumnCount(StudyGrid::stgnivel, 5);
    form.setRowCount(StudyGrid::stgdatos, 13);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 3; ++r)
            form.setCell(StudyGrid::stgnivel, c, r,
                         "n" + std::to_string(c) + "," + std::to_string(r));
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 13; ++r)
            form.setCell(StudyGrid::stgdatos, c, r,
                         "d" + std::to_string(c) + "," + std::to_string(r));
    form.setCaption("C:\\estudios\\cafeína.w9c");

    for (std::size_t i = 0; i < std::size(kFields); ++i)
        QCOMPARE(form.text(kFields[i]), texts[i]);
    QCOMPARE(form.columnCount(StudyGrid::stgnivel), 5);
    QCOMPARE(form.rowCount(StudyGrid::stgnivel), 3);
    QCOMPARE(form.columnCount(StudyGrid::stgdatos), 2);
    QCOMPARE(form.rowCount(StudyGrid::stgdatos), 13);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 3; ++r)
            QCOMPARE(form.cell(StudyGrid::stgnivel, c, r),
                     "n" + std::to_string(c) + "," + std::to_string(r));
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 13; ++r)
            QCOMPARE(form.cell(StudyGrid::stgdatos, c, r),
                     "d" + std::to_string(c) + "," + std::to_string(r));
    QCOMPARE(form.cell(StudyGrid::stgnivel, 5, 1), std::string());
    QCOMPARE(form.cell(StudyGrid::stgdatos, 3, 1), std::string());
    QCOMPARE(form.cell(StudyGrid::stgdatos, 1, 13), std::string());
    QCOMPARE(form.caption(), std::string("C:\\estudios\\cafeína.w9c"));
    QCOMPARE(form.windowTitle(), QStringLiteral("C:\\estudios\\cafeína.w9c"));
    QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("Ordenada al Origen"));
    QCOMPARE(form.ecanad->text(), QStringLiteral("µg/mL"));
}

void FdatosTest::openingAHundredThousandRows() {
    auto form = openWindow();
    QVERIFY(form);
    form->focusControl(form->stgdatos);
    settle();
    form->setRowCount(StudyGrid::stgdatos, 100001);
    form->setCurrentCell(StudyGrid::stgdatos, 1, 50000);  // an editor over a cell never written
    QVERIFY(form->stgdatos->editor());
    for (int r = 1; r <= 100000; ++r)
        form->setCell(StudyGrid::stgdatos, 1, r, std::to_string(r));
    QCOMPARE(form->rowCount(StudyGrid::stgdatos), 100001);
    QCOMPARE(form->cell(StudyGrid::stgdatos, 1, 100000), std::string("100000"));
    QVERIFY(!(form->stgdatos->model()->flags(form->stgdatos->model()->index(100000, 0)) &
              Qt::ItemIsEditable));
    // The cell under the open editor shows what the program wrote there.
    QCOMPARE(form->stgdatos->editor()->text(), QStringLiteral("50000"));
}

int main(int argc, char** argv) {
    LdcApplication app(argc, argv);
    FdatosTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FdatosTest.moc"
