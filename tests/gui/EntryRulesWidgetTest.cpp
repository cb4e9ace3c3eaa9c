// The entry rules on a real study window in the frame, driven with keys, clicks and tab
// picks: the Enter order of page 0, the units header, the basis, the level count and the
// sizing of the level grid, the level grid and data grid checks, the building of the data
// grid, the commands each step makes available, and the notices each path shows - the
// exact list, so that a check that runs twice or not at all is caught.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <memory>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "StudyFixtures.h"
#include "app/LdcApplication.h"
#include "app/Main.h"
#include "study/EntryRules.h"
#include "study/Fdatos.h"
#include "study/Numbers.h"

using namespace entry;
using ldc::StudyField;
using ldc::StudyGrid;
namespace notices = ldc::notices;

namespace {

const QString kMissingBasis = QStringLiteral("Falta hacer su selección");
const QString kMissingCount = QStringLiteral("Falta capturar el número de niveles.");
const QString kNotNumeric = QStringLiteral("El valor de captura no es un valor numérico.");
const QString kCountRange = QStringLiteral("Datos fuera de rango, 2-10 número de niveles");
const QString kCellsMismatch = QStringLiteral(
    "El número de celdas de captura para los niveles, no coincide con el número de niveles "
    "especificado.");
const QString kMissingLevelDatum = QStringLiteral("Falta capturar algún dato ");
const QString kLevelDatumNotNumeric =
    QStringLiteral("Algún dato capturado no es un valor numérico.");

// A notice box as the real one behaves: it takes the focus to a window of its own until
// it is dismissed, and the frame gets it back afterwards.
class FocusTakingDialogs : public ScriptedDialogs {
public:
    void notice(QWidget* parent, const QString& text) override {
        ScriptedDialogs::notice(parent, text);
        QLineEdit box;
        box.setWindowTitle(applicationTitle());
        box.show();
        QApplication::setActiveWindow(&box);
        box.setFocus();
        if (!QTest::qWaitForWindowActive(&box))
            QTest::qFail("the notice did not take the focus", __FILE__, __LINE__);
        QCoreApplication::processEvents();
        box.hide();
        QApplication::setActiveWindow(MainForm);
        if (!QTest::qWaitForWindowActive(MainForm))
            QTest::qFail("the frame did not get the focus back", __FILE__, __LINE__);
    }
};

struct Availability {
    bool calculos, results;
};

}  // namespace

class EntryRulesWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ldc::setDecimalSeparator('.'); }
    void init() { newStudy(std::make_unique<ScriptedDialogs>()); }
    void cleanup() {
        stopFrame();
        m_dialogs.reset();
    }

    void enterWalksPageZeroOnlyFromFilledFields();
    void leavingRecoveredUnitsHeadsTheDataAndGoesToTheBasis_data();
    void leavingRecoveredUnitsHeadsTheDataAndGoesToTheBasis();
    void basisOnLeaving_data();
    void basisOnLeaving();
    void levelCountOnLeaving_data();
    void levelCountOnLeaving();
    void emptyCountLeftByClickingTheGridIsReportedOnce();
    void countTypedWithoutSizingTheGrid();
    void acceptLevelsSizesTheGrid();
    void acceptLevelsWithABadCountSizesNothing();
    void levelGridWalkAndEnterOnTheLastCount();
    void levelGridOnLeaving_data();
    void levelGridOnLeaving();
    void dataGridEnteredWithAMissingLevelValue();
    void dataGridLabelsFromTheReplicateCounts();
    void allZeroCountsGiveNoDataRow();
    void commandsFollowTheAnalystsProgress();
    void dataGridOnLeaving();
    void tabOnTheLastDatumWrapsToTheFirst();
    void charactersAreNeverFiltered();
    void noticeThatTakesTheFocusSetsOffNoSecondCheck();
    void anotherWindowOrAMenuIsNoLeaving();

private:
    void newStudy(std::unique_ptr<ScriptedDialogs> dialogs) {
        m_dialogs = std::move(dialogs);
        setDialogs(m_dialogs.get());  // the set being replaced let go of the program's dialogs
        startFrame();
        QVERIFY(QTest::qWaitForWindowActive(MainForm));
        TRIGGER_ENABLED(MainForm->FileNewItem);
        settle();
        m_form = Finforma;
        QVERIFY(m_form);
        QCOMPARE(focused(), m_form->emetodo);
    }
    // The worked example as Open would leave it, with the cursor on page 0.
    void loadWorkedExample() {
        copyStudy(ldc::testing::makeStudy(ldc::testing::workedExample()), *m_form);
    }
    // Into the level grid as the analyst goes: from the count, past "Aceptar niveles".
    void enterLevelGrid(int column, int row) {
        clickTab(*m_form, 1);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), m_form->bnivel);
        press(Qt::Key_Tab);
        clickCell(m_form->stgnivel, column, row);
        QCOMPARE(focusedName(*m_form), QStringLiteral("stgnivel"));
    }
    void setLevels(const QStringList& values, const QStringList& counts) {
        for (int i = 0; i < values.size(); ++i) {
            m_form->setCell(StudyGrid::stgnivel, i + 1, 1, values.at(i).toStdString());
            m_form->setCell(StudyGrid::stgnivel, i + 1, 2, counts.at(i).toStdString());
        }
    }
    QString cell(StudyGrid grid, int column, int row) const {
        return QString::fromStdString(m_form->cell(grid, column, row));
    }
    void expectAvailability(const Availability& a) {
        QCOMPARE(MainForm->mnucalculos->menuAction()->isEnabled(), a.calculos);
        // The DeskJet item and button are never shown, and so never available either.
        for (QAction* result :
             {MainForm->mnudunet, MainForm->mnuinforme, MainForm->FilePrintItem->menuAction(),
              MainForm->printLasser, m_form->pmnudunet})
            QVERIFY2(result->isEnabled() == a.results, qPrintable(result->objectName()));
        QCOMPARE(MainForm->spdprint->isEnabled(), a.results);
        QVERIFY(!MainForm->PrintDeskjet->isVisible());
    }

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QPointer<TFinforma> m_form;
};

void EntryRulesWidgetTest::enterWalksPageZeroOnlyFromFilledFields() {
    press(Qt::Key_Return);
    QCOMPARE(focused(), m_form->emetodo);
    type(QStringLiteral("Cafeína"));
    press(Qt::Key_Return);
    QCOMPARE(focused(), m_form->eanalista);
    QCOMPARE(m_form->eanalista->text(), QString());  // the Enter went no further
    press(Qt::Key_Return);
    QCOMPARE(focused(), m_form->eanalista);
    type(QStringLiteral("Ana"));
    press(Qt::Key_Return);
    type(QStringLiteral("hoy"));
    press(Qt::Key_Return);
    QCOMPARE(focused(), m_form->ecanad);
    type(QStringLiteral("mg"));
    press(Qt::Key_Return);
    QCOMPARE(focused(), m_form->erecupera);
    type(QStringLiteral("mg"));
    press(Qt::Key_Return);  // no rule of its own: the units stay where they are typed
    QCOMPARE(focused(), m_form->erecupera);
    QCOMPARE(m_form->Thojas->currentIndex(), 0);
    QCOMPARE(m_dialogs->notices, QStringList());
}

void EntryRulesWidgetTest::leavingRecoveredUnitsHeadsTheDataAndGoesToTheBasis_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Tab") << "tab";
    QTest::newRow("Shift+Tab, back toward ecanad") << "backtab";
    QTest::newRow("click on ecanad") << "click";
    QTest::newRow("Alt+M, the method's label") << "alt";
    QTest::newRow("the levels tab") << "levels tab";
}

void EntryRulesWidgetTest::leavingRecoveredUnitsHeadsTheDataAndGoesToTheBasis() {
    QFETCH(QString, how);
    m_form->focusControl(m_form->erecupera);
    settle();
    type(QStringLiteral("µg/mL"));
    if (how == "tab")
        press(Qt::Key_Tab);
    else if (how == "backtab")
        press(Qt::Key_Backtab, Qt::ShiftModifier);
    else if (how == "click")
        clickOn(m_form->ecanad);
    else if (how == "alt")
        press(Qt::Key_M, Qt::AltModifier);
    else
        clickTab(*m_form, 1);
    QCOMPARE(focusedName(*m_form), QStringLiteral("ComboBox1"));
    QCOMPARE(m_form->Thojas->currentIndex(), 0);
    QCOMPARE(cell(StudyGrid::stgdatos, 1, 0), QStringLiteral("µg/mL"));
    QCOMPARE(m_dialogs->notices, QStringList());
}

void EntryRulesWidgetTest::basisOnLeaving_data() {
    QTest::addColumn<QString>("basis");
    QTest::addColumn<QStringList>("notices");
    QTest::addColumn<QString>("focus");
    QTest::newRow("nothing chosen") << "" << QStringList{kMissingBasis} << "ComboBox1";
    QTest::newRow("part of an item: back, no notice") << "Regres" << QStringList() << "ComboBox1";
    QTest::newRow("lower case is not the item") << "regresión" << QStringList() << "ComboBox1";
    QTest::newRow("Regresión") << "Regresión" << QStringList() << "eanalista";
    QTest::newRow("Ordenada al Origen") << "Ordenada al Origen" << QStringList() << "eanalista";
}

void EntryRulesWidgetTest::basisOnLeaving() {
    QFETCH(QString, basis);
    QFETCH(QStringList, notices);
    QFETCH(QString, focus);
    m_form->focusControl(m_form->ComboBox1);
    settle();
    type(basis);
    QCOMPARE(m_form->ComboBox1->currentText(), basis);
    clickOn(m_form->eanalista);
    QCOMPARE(m_dialogs->notices, notices);
    QCOMPARE(focusedName(*m_form), focus);
    QCOMPARE(m_form->Thojas->currentIndex(), 0);

    // A refused basis is checked again on every attempt to leave, by the levels tab too.
    clickTab(*m_form, 1);
    if (focus == "ComboBox1") {
        QCOMPARE(m_dialogs->notices, notices + notices);
        QCOMPARE(focusedName(*m_form), focus);
        QCOMPARE(m_form->Thojas->currentIndex(), 0);
    } else {
        QCOMPARE(focusedName(*m_form), QStringLiteral("enivel"));
    }
}

void EntryRulesWidgetTest::levelCountOnLeaving_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("notices");
    QTest::addColumn<QString>("focus");
    QTest::newRow("empty") << "" << QStringList{kMissingCount} << "enivel";
    QTest::newRow("letters") << "ab" << QStringList{kNotNumeric} << "enivel";
    QTest::newRow("one level") << "1" << QStringList{kCountRange} << "enivel";
    QTest::newRow("eleven") << "11" << QStringList{kCountRange} << "enivel";
    QTest::newRow("negative") << "-2" << QStringList{kCountRange} << "enivel";
    QTest::newRow("two") << "2" << QStringList() << "bnivel";
    QTest::newRow("ten") << "10" << QStringList() << "bnivel";
}

void EntryRulesWidgetTest::levelCountOnLeaving() {
    QFETCH(QString, count);
    QFETCH(QStringList, notices);
    QFETCH(QString, focus);
    clickTab(*m_form, 1);
    QCOMPARE(focused(), m_form->enivel);
    if (count.isEmpty())
        press(Qt::Key_Backspace);
    else
        type(count);  // replaces the "3" the field was entered with
    QCOMPARE(m_form->enivel->text(), count);
    press(Qt::Key_Tab);
    QCOMPARE(m_dialogs->notices, notices);
    QCOMPARE(focusedName(*m_form), focus);
    QCOMPARE(m_form->Thojas->currentIndex(), 1);
    QCOMPARE(m_form->stgnivel->colCount(), 4);  // leaving the count sizes nothing
}

void EntryRulesWidgetTest::emptyCountLeftByClickingTheGridIsReportedOnce() {
    clickTab(*m_form, 1);
    press(Qt::Key_Backspace);
    QSignalSpy entered(m_form.data(), &TFinforma::controlEntered);
    clickCell(m_form->stgnivel, 2, 1);
    QCOMPARE(m_dialogs->notices, QStringList{kMissingCount});
    QCOMPARE(focused(), m_form->enivel);
    QCOMPARE(m_form->enteredControl(), m_form->enivel);
    // The level grid was never reached: its own check did not run on the way.
    QCOMPARE(entered.size(), 0);

    // The next attempt is checked again, once.
    press(Qt::Key_Tab);
    QCOMPARE(m_dialogs->notices, (QStringList{kMissingCount, kMissingCount}));
    QCOMPARE(focused(), m_form->enivel);
    type(QStringLiteral("3"));
    press(Qt::Key_Tab);
    QCOMPARE(focused(), m_form->bnivel);
    QCOMPARE(m_dialogs->notices.size(), 2);
}

void EntryRulesWidgetTest::countTypedWithoutSizingTheGrid() {
    clickTab(*m_form, 1);
    type(QStringLiteral("4"));
    press(Qt::Key_Tab);
    QCOMPARE(focused(), m_form->bnivel);
    press(Qt::Key_Tab);  // into the level grid, still 4 columns for 3 levels
    QCOMPARE(m_dialogs->notices, QStringList{kCellsMismatch});
    QCOMPARE(focused(), m_form->enivel);
    QCOMPARE(m_form->Thojas->currentIndex(), 1);

    press(Qt::Key_Tab);
    clickTab(*m_form, 2);  // the data grid checks the same
    QCOMPARE(m_dialogs->notices, (QStringList{kCellsMismatch, kCellsMismatch}));
    QCOMPARE(focused(), m_form->enivel);
    QCOMPARE(m_form->Thojas->currentIndex(), 1);

    // "Aceptar niveles" gives the grid its fourth level; then the grid may be entered.
    press(Qt::Key_Tab);
    press(Qt::Key_Space);
    QCOMPARE(m_form->stgnivel->colCount(), 5);
    QCOMPARE(cell(StudyGrid::stgnivel, 4, 0), QStringLiteral("Nivel 4"));
    press(Qt::Key_Tab);
    QCOMPARE(focusedName(*m_form), QStringLiteral("stgnivel"));
    QCOMPARE(m_dialogs->notices.size(), 2);
}

void EntryRulesWidgetTest::acceptLevelsSizesTheGrid() {
    setLevels({"1", "2", "3"}, {"3", "3", "2"});
    clickTab(*m_form, 1);
    type(QStringLiteral("5"));
    press(Qt::Key_Tab);
    press(Qt::Key_Space);
    QCOMPARE(m_form->stgnivel->colCount(), 6);
    QCOMPARE(m_form->stgnivel->rowCount(), 3);
    const QStringList headers = {"", "Nivel 1", "Nivel 2", "Nivel 3", "Nivel 4", "Nivel 5"};
    for (int c = 0; c < 6; ++c)
        QCOMPARE(cell(StudyGrid::stgnivel, c, 0), headers.at(c));
    QCOMPARE(cell(StudyGrid::stgnivel, 3, 1), QStringLiteral("3"));
    QCOMPARE(cell(StudyGrid::stgnivel, 3, 2), QStringLiteral("2"));
    QCOMPARE(cell(StudyGrid::stgnivel, 5, 1), QString());
    QCOMPARE(cell(StudyGrid::stgnivel, 0, 2), QStringLiteral("Replicación >>"));

    // Fewer levels: the first ones keep their values.
    clickOn(m_form->enivel);
    m_form->enivel->selectAll();
    type(QStringLiteral("2"));
    clickOn(m_form->bnivel);
    QCOMPARE(m_form->stgnivel->colCount(), 3);
    QCOMPARE(cell(StudyGrid::stgnivel, 2, 1), QStringLiteral("2"));
    QCOMPARE(cell(StudyGrid::stgnivel, 2, 2), QStringLiteral("3"));
    QCOMPARE(m_dialogs->notices, QStringList());
}

void EntryRulesWidgetTest::acceptLevelsWithABadCountSizesNothing() {
    clickTab(*m_form, 1);
    type(QStringLiteral("ab"));
    clickOn(m_form->bnivel);  // the click still reaches the button
    QCOMPARE(m_dialogs->notices, QStringList{kNotNumeric});
    QCOMPARE(focused(), m_form->enivel);
    QCOMPARE(m_form->stgnivel->colCount(), 4);
    QCOMPARE(cell(StudyGrid::stgnivel, 3, 0), QStringLiteral("Nivel 3"));
}

void EntryRulesWidgetTest::levelGridWalkAndEnterOnTheLastCount() {
    StringGrid* grid = m_form->stgnivel;
    enterLevelGrid(1, 1);
    press(Qt::Key_Return);  // Enter means nothing before the last count
    QCOMPARE(focusedName(*m_form), QStringLiteral("stgnivel"));
    typeCells({"1", "2", "3"});
    QCOMPARE(grid->navigationMode(), GridNavigation::CellToCellTab);
    press(Qt::Key_Tab);  // from the last value on to the first count
    QCOMPARE(grid->currentColumn(), 1);
    QCOMPARE(grid->currentRow(), 2);
    typeCells({"3", "3", "2"});
    QCOMPARE(grid->navigationMode(), GridNavigation::LeaveOnTab);
    press(Qt::Key_Return);
    QCOMPARE(focused(), m_form->botonr);
    QCOMPARE(m_form->Thojas->currentIndex(), 1);
    QCOMPARE(m_dialogs->notices, QStringList());
    QCOMPARE(cell(StudyGrid::stgnivel, 3, 2), QStringLiteral("2"));
    // Left behind ready for the next visit.
    QCOMPARE(grid->navigationMode(), GridNavigation::CellToCellTab);
    QCOMPARE(grid->currentColumn(), 1);
    QCOMPARE(grid->currentRow(), 1);
    QCOMPARE(m_form->enteredControl(), m_form->botonr);
}

void EntryRulesWidgetTest::levelGridOnLeaving_data() {
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("notices");
    QTest::addColumn<QString>("focus");
    QTest::newRow("complete") << QPoint(1, 1) << "1" << QStringList() << "botonr";
    QTest::newRow("value of level 2 missing")
        << QPoint(2, 1) << "" << QStringList{kMissingLevelDatum} << "stgnivel";
    QTest::newRow("count of level 1 missing")
        << QPoint(1, 2) << "" << QStringList{kMissingLevelDatum} << "stgnivel";
    QTest::newRow("value not a number")
        << QPoint(3, 1) << "tres" << QStringList{kLevelDatumNotNumeric} << "stgnivel";
    QTest::newRow("negative count refused")
        << QPoint(2, 2) << "-1" << QStringList{QString::fromUtf8(notices::kNegativeReplicates)}
        << "stgnivel";
    QTest::newRow("decimal count passes here")
        << QPoint(2, 2) << "2.5" << QStringList() << "botonr";
}

void EntryRulesWidgetTest::levelGridOnLeaving() {
    QFETCH(QPoint, cell);
    QFETCH(QString, text);
    QFETCH(QStringList, notices);
    QFETCH(QString, focus);
    setLevels({"1", "2", "3"}, {"3", "3", "2"});
    m_form->setCell(StudyGrid::stgnivel, cell.x(), cell.y(), text.toStdString());
    enterLevelGrid(3, 2);
    type(QStringLiteral("2"));  // the last count: Tab now leaves the grid
    press(Qt::Key_Tab);
    QCOMPARE(m_dialogs->notices, notices);
    QCOMPARE(focusedName(*m_form), focus);
    QCOMPARE(m_form->Thojas->currentIndex(), 1);
    QCOMPARE(m_form->stgnivel->currentColumn(), 1);
    QCOMPARE(m_form->stgnivel->currentRow(), 1);
}

void EntryRulesWidgetTest::dataGridEnteredWithAMissingLevelValue() {
    setLevels({"1", "", "3"}, {"3", "3", "2"});
    m_form->focusControl(m_form->botonr);
    settle();
    clickTab(*m_form, 2);
    QCOMPARE(m_dialogs->notices, QStringList{"Falta capturar el valor del nivel 2"});
    QCOMPARE(focusedName(*m_form), QStringLiteral("stgnivel"));
    QCOMPARE(m_form->Thojas->currentIndex(), 1);
    QCOMPARE(m_form->stgdatos->rowCount(), 10);  // nothing built
    expectAvailability({true, true});            // made available before the check

    m_form->setCell(StudyGrid::stgnivel, 2, 1, "2");
    m_form->setCell(StudyGrid::stgnivel, 3, 2, "");
    m_form->focusControl(m_form->botonr);  // leaving the grid: its own check reports first
    settle();
    QCOMPARE(m_dialogs->notices.last(), kMissingLevelDatum);
    QCOMPARE(focusedName(*m_form), QStringLiteral("stgnivel"));
}

void EntryRulesWidgetTest::dataGridLabelsFromTheReplicateCounts() {
    setLevels({"1", "2", "3"}, {"3", "3", "2"});
    m_form->setCell(StudyGrid::stgdatos, 1, 5, "1.95");
    m_form->focusControl(m_form->botonr);
    settle();
    clickTab(*m_form, 2);
    QCOMPARE(m_dialogs->notices, QStringList());
    QCOMPARE(focusedName(*m_form), QStringLiteral("stgdatos"));
    QCOMPARE(m_form->stgdatos->rowCount(), 9);
    const QStringList labels = {"",
                                "Nivel 1 , Replica 1",
                                "Nivel 1 , Replica 2",
                                "Nivel 1 , Replica 3",
                                "Nivel 2 , Replica 1",
                                "Nivel 2 , Replica 2",
                                "Nivel 2 , Replica 3",
                                "Nivel 3 , Replica 1",
                                "Nivel 3 , Replica 2"};
    for (int r = 0; r < 9; ++r)
        QCOMPARE(cell(StudyGrid::stgdatos, 0, r), labels.at(r));
    QCOMPARE(cell(StudyGrid::stgdatos, 1, 5), QStringLiteral("1.95"));  // values stay put
}

void EntryRulesWidgetTest::allZeroCountsGiveNoDataRow() {
    setLevels({"1", "2", "3"}, {"0", "0", "0"});
    m_form->focusControl(m_form->botonr);
    settle();
    clickTab(*m_form, 2);
    QCOMPARE(m_dialogs->notices, QStringList());
    QCOMPARE(m_form->stgdatos->rowCount(), 1);
    QCOMPARE(m_form->Thojas->currentIndex(), 2);
}

void EntryRulesWidgetTest::commandsFollowTheAnalystsProgress() {
    expectAvailability({false, false});
    loadWorkedExample();
    clickTab(*m_form, 1);
    clickOn(m_form->botonr);
    expectAvailability({true, false});
    clickTab(*m_form, 2);
    expectAvailability({true, true});

    // Accepting the replicates again takes the results away; typing a datum brings them back.
    MainForm->applyCommandState(CommandTransition::LevelsAccepted);
    m_form->pmnudunet->setEnabled(false);
    clickCell(m_form->stgdatos, 1, 4);
    expectAvailability({true, false});
    type(QStringLiteral("7"));
    expectAvailability({true, true});
    QCOMPARE(m_dialogs->notices, QStringList());
}

void EntryRulesWidgetTest::dataGridOnLeaving() {
    loadWorkedExample();
    m_form->setCell(StudyGrid::stgdatos, 1, 3, "abc");
    m_form->setCell(StudyGrid::stgdatos, 1, 5, "");
    clickTab(*m_form, 2);
    clickCell(m_form->stgdatos, 1, 7);
    QCOMPARE(m_dialogs->notices, QStringList());

    clickTab(*m_form, 0);
    QCOMPARE(m_dialogs->notices, QStringList{"El dato3 no es un valor numérico."});
    QCOMPARE(focusedName(*m_form), QStringLiteral("stgdatos"));
    QCOMPARE(m_form->Thojas->currentIndex(), 2);
    QCOMPARE(m_form->stgdatos->currentRow(), 1);
    QCOMPARE(m_form->stgdatos->navigationMode(), GridNavigation::CellToCellTab);

    m_form->setCell(StudyGrid::stgdatos, 1, 3, "2.0");
    clickTab(*m_form, 1);
    QCOMPARE(m_dialogs->notices.last(), QStringLiteral("Falta capturar el 5 º dato."));
    QCOMPARE(focusedName(*m_form), QStringLiteral("stgdatos"));
    QCOMPARE(m_form->Thojas->currentIndex(), 2);

    // Every datum present: the analyst goes on to the page picked, not back to the data.
    m_form->setCell(StudyGrid::stgdatos, 1, 5, "3.9");
    clickTab(*m_form, 0);
    QCOMPARE(m_dialogs->notices.size(), 2);
    QCOMPARE(focusedName(*m_form), QStringLiteral("emetodo"));
    QCOMPARE(m_form->Thojas->currentIndex(), 0);
}

void EntryRulesWidgetTest::tabOnTheLastDatumWrapsToTheFirst() {
    loadWorkedExample();
    clickTab(*m_form, 2);
    StringGrid* grid = m_form->stgdatos;
    clickCell(grid, 1, 8);
    grid->editor()->selectAll();
    type(QStringLiteral("5.9"));
    QCOMPARE(grid->navigationMode(), GridNavigation::CellToCellTab);
    press(Qt::Key_Tab);
    QCOMPARE(grid->currentRow(), 9);
    grid->editor()->selectAll();
    type(QStringLiteral("6.2"));
    QCOMPARE(grid->navigationMode(), GridNavigation::LeaveOnTab);
    press(Qt::Key_Tab);
    QCOMPARE(focusedName(*m_form), QStringLiteral("stgdatos"));
    QCOMPARE(grid->currentRow(), 1);
    QCOMPARE(grid->navigationMode(), GridNavigation::CellToCellTab);
    QCOMPARE(cell(StudyGrid::stgdatos, 1, 9), QStringLiteral("6.2"));
    QCOMPARE(m_dialogs->notices, QStringList());
}

void EntryRulesWidgetTest::charactersAreNeverFiltered() {
    type(QStringLiteral("ab;12,xy"));
    QCOMPARE(m_form->emetodo->text(), QStringLiteral("ab;12,xy"));
    clickTab(*m_form, 1);
    type(QStringLiteral("x9z"));  // two characters fit
    QCOMPARE(m_form->enivel->text(), QStringLiteral("x9"));
    m_form->enivel->setText(QStringLiteral("3"));
    enterLevelGrid(1, 1);
    type(QStringLiteral("1,5e3 mg"));
    QCOMPARE(cell(StudyGrid::stgnivel, 1, 1), QStringLiteral("1,5e3 mg"));
    QCOMPARE(m_dialogs->notices, QStringList());
}

void EntryRulesWidgetTest::noticeThatTakesTheFocusSetsOffNoSecondCheck() {
    // As with the real notice box, the focus leaves the frame while the notice is up.
    stopFrame();
    newStudy(std::make_unique<FocusTakingDialogs>());

    clickTab(*m_form, 1);
    press(Qt::Key_Backspace);
    QSignalSpy entered(m_form.data(), &TFinforma::controlEntered);
    QSignalSpy exited(m_form.data(), &TFinforma::controlExited);
    clickCell(m_form->stgnivel, 1, 1);
    settle();
    QCOMPARE(m_dialogs->notices, QStringList{kMissingCount});
    QCOMPARE(focused(), m_form->enivel);
    QCOMPARE(entered.size(), 0);
    QCOMPARE(exited.size(), 1);

    // An enter check whose notice takes the focus: it runs once, and so does the leaving.
    type(QStringLiteral("4"));
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    QCOMPARE(m_dialogs->notices, (QStringList{kMissingCount, kCellsMismatch}));
    QCOMPARE(focused(), m_form->enivel);

    // A data check, with the focus going back to the grid the analyst tried to leave.
    m_form->enivel->setText(QStringLiteral("3"));
    loadWorkedExample();
    m_form->setCell(StudyGrid::stgdatos, 1, 2, "");
    press(Qt::Key_Tab);
    clickTab(*m_form, 2);
    QCOMPARE(m_dialogs->notices.size(), 2);
    entered.clear();
    clickTab(*m_form, 0);
    QCOMPARE(m_dialogs->notices.last(), QStringLiteral("Falta capturar el 2 º dato."));
    QCOMPARE(m_dialogs->notices.size(), 3);
    QCOMPARE(focusedName(*m_form), QStringLiteral("stgdatos"));
    QCOMPARE(entered.size(), 0);  // not entered again: no second build of the rows
}

void EntryRulesWidgetTest::anotherWindowOrAMenuIsNoLeaving() {
    clickTab(*m_form, 1);
    type(QStringLiteral("ab"));
    // Another child window takes the focus, and gives it back.
    auto* other = new QLineEdit;
    QMdiSubWindow* window = MainForm->addChild(other, 11);
    other->setFocus();
    settle();
    QCOMPARE(focused(), other);
    MainForm->ClientArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(m_form->parentWidget()));
    settle();
    QCOMPARE(focused(), m_form->enivel);
    // A menu opened and closed.
    MainForm->FileMenu->popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(MainForm->FileMenu));
    MainForm->FileMenu->close();
    settle();
    QCOMPARE(m_dialogs->notices, QStringList());
    QCOMPARE(m_form->enivel->text(), QStringLiteral("ab"));

    // Back in the other window, a click on a control of the study: that is leaving.
    other->setFocus();
    MainForm->ClientArea->setActiveSubWindow(window);
    settle();
    clickCell(m_form->stgnivel, 1, 1);
    QCOMPARE(m_dialogs->notices, QStringList{kNotNumeric});
    QCOMPARE(focused(), m_form->enivel);
}

int main(int argc, char** argv) {
    LdcApplication app(argc, argv);
    EntryRulesWidgetTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EntryRulesWidgetTest.moc"
