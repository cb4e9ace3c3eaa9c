// The study window in the frame, driven as the analyst drives it: its initial content and
// pages, the entry rules with the exact notices each path shows (a check that runs twice or
// not at all is caught) and the grids' Tab modes, the edit marker, and closing with or
// without saving.

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "StudyFixtures.h"
#include "app/LdcApplication.h"
#include "files/StudyFile.h"
#include "study/Numbers.h"

using namespace entry;
using ldc::StudyField;
using ldc::StudyGrid;

namespace {

const QString kModified = QStringLiteral("Modificado");
const QString kMissingBasis = QStringLiteral("Falta hacer su selección");
const QString kMissingCount = QStringLiteral("Falta capturar el número de niveles.");
const QString kNotNumeric = QStringLiteral("El valor de captura no es un valor numérico.");
const QString kCountRange = QStringLiteral("Datos fuera de rango, 2-10 número de niveles");
const QString kCellsMismatch = QStringLiteral(
    "El número de celdas de captura para los niveles, no coincide con el número de niveles "
    "especificado.");
const QString kMissingLevelDatum = QStringLiteral("Falta capturar algún dato ");
const QString kQuestion =
    QStringLiteral("Guardar archivo?|Se realizaron cambios!\nQuiere guardar su información?");

// A notice box as the real one behaves: it takes the focus to a window of its own until
// it is dismissed, and the frame gets it back afterwards.
class FocusTakingDialogs : public ScriptedDialogs {
public:
    void notice(QWidget* parent, const QString& text) override {
        ScriptedDialogs::notice(parent, text);
        QLineEdit box;
        box.show();
        QApplication::setActiveWindow(&box);
        box.setFocus();
        const bool taken = QTest::qWaitForWindowActive(&box);
        box.hide();
        QApplication::setActiveWindow(MainForm);
        if (!taken || !QTest::qWaitForWindowActive(MainForm))
            QTest::qFail("the notice did not take the focus and give it back", __FILE__, __LINE__);
    }
};

ldc::CalibrationStudy workedExample() {
    return ldc::testing::makeStudy(ldc::testing::workedExample());
}

QPoint current(const StringGrid& grid) {
    return {grid.currentColumn(), grid.currentRow()};
}

QString estado() {
    return MainForm->estado->text();
}

// The frame's commands that follow the study, by group (a group split in two reads
// "name?"), from the frame's own list of what is available.
QString available() {
    const QStringList on = availableCommands().split(QLatin1Char(' '));
    const std::pair<const char*, QStringList> groups[] = {
        {"new", {"FileNewItem", "FileOpenItem"}},
        {"close", {"mnuclose"}},
        {"save", {"FileSaveItem", "FileSaveAsItem"}},
        {"calc", {"mnucalculos"}},
        {"results", {"mnudunet", "mnuinforme", "FilePrintItem", "printLasser"}}};
    QStringList names = on.filter(QStringLiteral("-broken"));
    for (const auto& [name, items] : groups) {
        const auto n = std::count_if(items.begin(), items.end(),
                                     [&](const QString& item) { return on.contains(item); });
        if (n)
            names << QString::fromLatin1(name) + QLatin1String(n < items.size() ? "?" : "");
    }
    // The data grid's popup item is the frame's results command offered there.
    if (Finforma && Finforma->pmnudunet->isEnabled() != on.contains(QStringLiteral("mnudunet")))
        names << QStringLiteral("pmnudunet?");
    return names.join(QLatin1Char(' '));
}

}  // namespace

class FdatosTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QTemporaryDir m_dir;
    QPointer<TFinforma> m_form;

    // A study window from New, or from Open on `file`.
    void start(const QString& file = {}) {
        if (!file.isEmpty())
            m_dialogs->openAnswers.push_back(file);
        TRIGGER_ENABLED(file.isEmpty() ? MainForm->FileNewItem : MainForm->FileOpenItem);
        settle();
        m_form = Finforma;
        QVERIFY(m_form);
        QCOMPARE(m_form->Thojas->currentIndex(), 0);
        QCOMPARE(focused(), m_form->emetodo);
    }
    QString writeStudy(const QString& name, const ldc::CalibrationStudy& study) {
        const QString file = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(file).path());
        ldc::saveStudyFile(QFile::encodeName(file).toStdString(), study);
        return file;
    }
    // The worked example as Open would leave it.
    void loadWorkedExample() { copyStudy(workedExample(), *m_form); }
    void setLevels(const QStringList& values, const QStringList& counts) {
        for (int i = 0; i < values.size(); ++i) {
            m_form->setCell(StudyGrid::stgnivel, i + 1, 1, values.at(i).toStdString());
            m_form->setCell(StudyGrid::stgnivel, i + 1, 2, counts.at(i).toStdString());
        }
    }
    QString cell(StudyGrid grid, int column, int row) const {
        return QString::fromStdString(m_form->cell(grid, column, row));
    }
    QStringList gridRow(StudyGrid grid, int row) const {
        QStringList texts;
        for (int c = 0; c < m_form->columnCount(grid); ++c)
            texts << cell(grid, c, row);
        return texts;
    }
    QStringList gridColumn(StudyGrid grid, int column) const {
        QStringList texts;
        for (int r = 0; r < m_form->rowCount(grid); ++r)
            texts << cell(grid, column, r);
        return texts;
    }
    // The notebook never shows one page with the cursor on another.
    void expectFocus(const QString& name) {
        QCOMPARE(focusedName(*m_form), name);
        QCOMPARE(m_form->Thojas->currentIndex(), m_form->pageOf(focusedIn(*m_form)));
    }

private slots:
    void initTestCase() {
        ldc::setDecimalSeparator('.');
        QVERIFY(m_dir.isValid());
    }
    void init() {
        // A grid whose rows go from under its cell editor must not lose it.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("editor")));
        m_dialogs = std::make_unique<FocusTakingDialogs>();
        startFrame();
        QVERIFY(QTest::qWaitForWindowActive(MainForm));
    }
    void cleanup() {
        stopFrame();
        m_dialogs.reset();
    }

    // The window.

    void newWindowHoldsTheInitialStudy() {
        start();  // on page 0, the cursor in emetodo
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Nuevo"));
        for (int f = 0; f <= int(StudyField::enivel); ++f)
            QCOMPARE(m_form->text(StudyField(f)),
                     std::string(f == int(StudyField::enivel) ? "3" : ""));
        QCOMPARE(gridRow(StudyGrid::stgnivel, 0),
                 (QStringList{"", "Nivel 1", "Nivel 2", "Nivel 3"}));
        QCOMPARE(gridColumn(StudyGrid::stgnivel, 0),
                 (QStringList{"", "Valor >>", "Replicación >>"}));
        QCOMPARE(gridRow(StudyGrid::stgnivel, 1).mid(1) + gridRow(StudyGrid::stgnivel, 2).mid(1),
                 QStringList(6));
        for (int c = 0; c < ldc::kDataGridStoredColumns; ++c)
            QCOMPARE(gridColumn(StudyGrid::stgdatos, c), QStringList(10));
        QVERIFY(m_form->stgdatos->isColumnHidden(2));
        QCOMPARE(
            (QStringList{m_form->Thojas->tabText(0), m_form->Thojas->tabText(1),
                         m_form->Thojas->tabText(2)}),
            (QStringList{"Información General", "Información de niveles", "Captura de Datos"}));
        QCOMPARE((QStringList{m_form->ComboBox1->itemText(0), m_form->ComboBox1->itemText(1)}),
                 (QStringList{"Regresión", "Ordenada al Origen"}));
        QCOMPARE(m_form->bnivel->text(), QStringLiteral("Aceptar niveles"));
        QCOMPARE(m_form->botonr->text(), QStringLiteral("Aceptar replicas por nivel"));
        QCOMPARE(available(), QStringLiteral("close save"));
    }

    void pickingATabMovesTheCursor() {
        start();
        loadWorkedExample();
        // `earlier` is where the cursor last stood on the picked page: where the toolkit
        // alone would bring it back.
        const struct {
            const char *earlier, *from;
            int tab;
            const char* expected;
        } picks[] = {{"botonr", "eanalista", 1, "enivel"},
                     {"ecanad", "bnivel", 0, "emetodo"},
                     {"efecha", "ecanad", 2, "stgdatos"}};
        for (const auto& pick : picks) {
            for (const char* name : {pick.earlier, pick.from}) {
                m_form->focusControl(m_form->findChild<QWidget*>(QLatin1String(name)));
                settle();
            }
            clickTab(*m_form, pick.tab);
            expectFocus(QLatin1String(pick.expected));
        }
    }

    void textSetByTheProgramIsKeptWhole() {
        // A file written elsewhere may hold a longer name: saving it back must not cut it,
        // while the analyst still cannot type it any longer.
        start();
        const std::string longName(75, 'm');
        m_form->setText(StudyField::emetodo, longName);
        QTest::keyClicks(m_form->emetodo, QStringLiteral("xyz"));
        QCOMPARE(m_form->text(StudyField::emetodo), longName);
        m_form->setText(StudyField::emetodo, "Método A");  // the normal limit is back
        QTest::keyClicks(m_form->emetodo, QString(70, QLatin1Char('b')));
        QCOMPARE(m_form->emetodo->text().size(), 60);
    }

    // The entry rules.

    void enterWalksPageZeroOnlyFromFilledFields() {
        start();
        press(Qt::Key_Return);
        QCOMPARE(focused(), m_form->emetodo);
        QCOMPARE(estado(), kModified);  // every key marks, Enter in an empty field too
        for (QLineEdit* next : {m_form->eanalista, m_form->efecha, m_form->ecanad,
                                m_form->erecupera, m_form->erecupera}) {
            type(QStringLiteral("mg"));
            press(Qt::Key_Return);
            QCOMPARE(focused(), next);  // erecupera has no Enter rule of its own
        }
        QCOMPARE(m_dialogs->notices, QStringList());
    }

    void leavingAControl_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("leave");
        QTest::addColumn<QStringList>("notices");
        QTest::addColumn<QString>("focus");
        const auto row = [](const char* name, const char* control, const char* text,
                            const char* leave, const QStringList& notices, const char* focus,
                            QPoint at = {}) {
            QTest::newRow(name) << control << at << QString::fromUtf8(text) << leave << notices
                                << focus;
        };
        // Leaving the recovered units heads the data column and goes to the basis, however.
        row("units, Tab", "erecupera", "µg/mL", "Tab", {}, "ComboBox1");
        row("units, click on ecanad", "erecupera", "µg/mL", "ecanad", {}, "ComboBox1");
        row("units, Alt+M", "erecupera", "µg/mL", "Alt+M", {}, "ComboBox1");
        row("basis empty", "ComboBox1", "", "eanalista", {kMissingBasis}, "ComboBox1");
        row("basis empty, levels tab", "ComboBox1", "", "tab 1", {kMissingBasis}, "ComboBox1");
        row("basis Regres: back, no notice", "ComboBox1", "Regres", "eanalista", {}, "ComboBox1");
        row("basis Regresión", "ComboBox1", "Regresión", "eanalista", {}, "eanalista");
        row("basis Ordenada", "ComboBox1", "Ordenada al Origen", "eanalista", {}, "eanalista");
        row("count empty", "enivel", "", "Tab", {kMissingCount}, "enivel");
        row("count empty, grid clicked", "enivel", "", "level grid", {kMissingCount}, "enivel");
        row("count ab", "enivel", "ab", "Tab", {kNotNumeric}, "enivel");
        row("count 1", "enivel", "1", "Tab", {kCountRange}, "enivel");
        row("count 11", "enivel", "11", "Tab", {kCountRange}, "enivel");
        row("count 2", "enivel", "2", "Tab", {}, "bnivel");
        row("count 10", "enivel", "10", "Tab", {}, "bnivel");
        row("level grid complete", "stgnivel", "6", "Tab", {}, "botonr", {3, 2});
        row("level 2 value missing", "stgnivel", "", "tab 2", {kMissingLevelDatum}, "stgnivel",
            {2, 1});
        row("level 1 count missing", "stgnivel", "", "botonr", {kMissingLevelDatum}, "stgnivel",
            {1, 2});
        row("level value not a number", "stgnivel", "tres", "botonr",
            {"Algún dato capturado no es un valor numérico."}, "stgnivel", {3, 1});
        row("negative count refused", "stgnivel", "-1", "botonr",
            {"El número de replicas por nivel no puede ser negativo."}, "stgnivel", {2, 2});
        row("decimal count passes here", "stgnivel", "2.5", "botonr", {}, "botonr", {2, 2});
        row("datum abc", "stgdatos", "abc", "tab 0", {"El dato3 no es un valor numérico."},
            "stgdatos", {1, 3});
        row("datum missing", "stgdatos", "", "tab 1", {"Falta capturar el 5 º dato."}, "stgdatos",
            {1, 5});
        row("data complete: on to the page picked", "stgdatos", "3.9", "tab 0", {}, "emetodo",
            {1, 5});
        // The data grid is alone on its page: Tab on the last datum checks the data and goes
        // back to the first.
        row("Tab on the last datum", "stgdatos", "6.2", "Tab", {}, "stgdatos", {1, 9});
    }
    void leavingAControl() {
        QFETCH(QString, control);
        QFETCH(QPoint, at);
        QFETCH(QString, text);
        QFETCH(QString, leave);
        QFETCH(QStringList, notices);
        QFETCH(QString, focus);
        start();
        loadWorkedExample();
        QWidget* from = m_form->findChild<QWidget*>(control);
        m_form->focusControl(from);
        settle();
        auto* grid = qobject_cast<StringGrid*>(from);
        if (grid)
            clickCell(grid, at.x(), at.y());
        QLineEdit* edit = grid                        ? grid->editor()
                          : from == m_form->ComboBox1 ? m_form->ComboBox1->lineEdit()
                                                      : qobject_cast<QLineEdit*>(from);
        edit->selectAll();
        text.isEmpty() ? press(Qt::Key_Backspace) : type(text);
        QCOMPARE(edit->text(), text);  // nothing filtered, nothing completed

        QSignalSpy entered(m_form.data(), &TFinforma::controlEntered);
        const auto leaveIt = [&] {
            if (leave == "Tab")
                press(Qt::Key_Tab);
            else if (leave == "Alt+M")
                press(Qt::Key_M, Qt::AltModifier);
            else if (leave.startsWith("tab "))
                clickTab(*m_form, leave.back().digitValue());
            else if (leave == "level grid")
                clickCell(m_form->stgnivel, 2, 1);
            else
                clickOn(m_form->findChild<QWidget*>(leave));
        };
        leaveIt();
        QCOMPARE(m_dialogs->notices, notices);
        expectFocus(focus);
        // A control the check sent the focus away from, or back to, was never entered.
        QCOMPARE(entered.size(), focus == control ? 0 : 1);
        if (control == "erecupera")
            QCOMPARE(cell(StudyGrid::stgdatos, 1, 0), text);
        if (grid) {  // ready for the next visit
            QCOMPARE(current(*grid), QPoint(1, 1));
            QCOMPARE(grid->navigationMode(), GridNavigation::CellToCellTab);
        }
        if (focus == control) {  // refused: every later attempt is checked again, once
            leaveIt();
            QCOMPARE(m_dialogs->notices, notices + notices);
            expectFocus(focus);
        }
    }

    void levelCountTypedThenAccepted() {
        start();
        setLevels({"1", "2", "3"}, {"3", "3", "2"});
        clickTab(*m_form, 1);
        type(QStringLiteral("ab"));
        clickOn(m_form->bnivel);  // the click still reaches the button: it sizes nothing
        QCOMPARE(m_dialogs->notices, QStringList{kNotNumeric});
        QCOMPARE(m_form->stgnivel->colCount(), 4);
        m_form->enivel->selectAll();
        type(QStringLiteral("4"));
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);  // into the level grid, still 4 columns for 3 levels
        QCOMPARE(m_dialogs->notices.mid(1), QStringList{kCellsMismatch});
        expectFocus("enivel");
        press(Qt::Key_Tab);
        clickTab(*m_form, 2);  // the data grid checks the same
        QCOMPARE(m_dialogs->notices.mid(1), (QStringList{kCellsMismatch, kCellsMismatch}));
        expectFocus("enivel");
        press(Qt::Key_Tab);
        press(Qt::Key_Return);  // "Aceptar niveles" sizes the grid, values kept
        QCOMPARE(gridRow(StudyGrid::stgnivel, 0),
                 (QStringList{"", "Nivel 1", "Nivel 2", "Nivel 3", "Nivel 4"}));
        QCOMPARE(gridRow(StudyGrid::stgnivel, 2),
                 (QStringList{"Replicación >>", "3", "3", "2", ""}));
        press(Qt::Key_Backtab, Qt::ShiftModifier);  // fewer levels: the first ones stay
        m_form->enivel->selectAll();
        type(QStringLiteral("2"));
        press(Qt::Key_Tab);
        press(Qt::Key_Return);
        QCOMPARE(gridRow(StudyGrid::stgnivel, 0), (QStringList{"", "Nivel 1", "Nivel 2"}));
        QCOMPARE(gridRow(StudyGrid::stgnivel, 1), (QStringList{"Valor >>", "1", "2"}));
        press(Qt::Key_Tab);
        expectFocus("stgnivel");
        QCOMPARE(m_dialogs->notices.size(), 3);
    }

    void levelGridWalkAndEnterOnTheLastCount() {
        start();
        clickTab(*m_form, 1);
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);  // past "Aceptar niveles"
        expectFocus("stgnivel");
        QCOMPARE(current(*m_form->stgnivel), QPoint(1, 1));
        press(Qt::Key_Return);  // Enter means nothing before the last count
        expectFocus("stgnivel");
        typeCells({"1", "2", "3"});
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(current(*m_form->stgnivel), QPoint(2, 1));
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);  // from the last value on to the first count
        QCOMPARE(current(*m_form->stgnivel), QPoint(1, 2));
        typeCells({"3", "3", "2"});
        press(Qt::Key_Return);
        expectFocus("botonr");
        QCOMPARE(gridRow(StudyGrid::stgnivel, 2), (QStringList{"Replicación >>", "3", "3", "2"}));
        QCOMPARE(m_dialogs->notices, QStringList());
    }

    void enteringTheDataGrid_data() {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("counts");
        QTest::addColumn<QStringList>("notices");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("focus");
        const QStringList values = {"1", "2", "3"};
        QTest::newRow("counts 3, 3, 2") << values << QStringList{"3", "3", "2"} << QStringList()
                                        << QStringList() << 9 << "stgdatos";
        QTest::newRow("all counts 0: no data row, no notice")
            << values << QStringList{"0", "0", "0"} << QStringList() << QStringList() << 1
            << "stgdatos";
        QTest::newRow("value of level 2 missing")
            << QStringList{"1", "", "3"} << QStringList{"3", "3", "2"}
            << QStringList{"Falta capturar el valor del nivel 2"} << QStringList() << 10
            << "stgnivel";
        // Passed as a decimal number on leaving the level grid; it ends the building.
        QTest::newRow("count 2.5: conversion error, rows kept")
            << values << QStringList{"3", "2.5", "2"} << QStringList()
            << QStringList{"'2.5' is not a valid integer value."} << 10 << "stgdatos";
    }
    void enteringTheDataGrid() {
        QFETCH(QStringList, values);
        QFETCH(QStringList, counts);
        QFETCH(QStringList, notices);
        QFETCH(QStringList, errors);
        QFETCH(int, rows);
        QFETCH(QString, focus);
        start();
        setLevels(values, counts);
        m_form->setCell(StudyGrid::stgdatos, 1, 5, "1.95");
        m_form->focusControl(m_form->botonr);
        settle();
        press(Qt::Key_Space);
        QCOMPARE(available(), QStringLiteral("close save calc"));
        clickTab(*m_form, 2);
        QCOMPARE(m_dialogs->notices, notices);
        QCOMPARE(m_dialogs->errors, errors);
        expectFocus(focus);
        QCOMPARE(m_form->rowCount(StudyGrid::stgdatos), rows);
        QCOMPARE(available(), QStringLiteral("close save calc results"));  // before any check
        QCOMPARE(cell(StudyGrid::stgdatos, 1, 5), QString(rows > 5 ? "1.95" : ""));
        if (rows == 9)  // labels follow the counts, values stay put
            QCOMPARE(
                gridColumn(StudyGrid::stgdatos, 0),
                (QStringList{"", "Nivel 1 , Replica 1", "Nivel 1 , Replica 2",
                             "Nivel 1 , Replica 3", "Nivel 2 , Replica 1", "Nivel 2 , Replica 2",
                             "Nivel 2 , Replica 3", "Nivel 3 , Replica 1", "Nivel 3 , Replica 2"}));
    }

    void anotherWindowIsNoLeaving() {
        start();
        clickTab(*m_form, 1);
        type(QStringLiteral("ab"));
        auto* other = new QLineEdit;
        QMdiSubWindow* window = MainForm->addChild(other, 11);
        other->setFocus();
        settle();
        QCOMPARE(focused(), other);
        MainForm->ClientArea->setActiveSubWindow(
            qobject_cast<QMdiSubWindow*>(m_form->parentWidget()));
        settle();
        QCOMPARE(focused(), m_form->enivel);
        QCOMPARE(m_dialogs->notices, QStringList());
        // Back in the other window, a click on a control of the study: that is leaving.
        MainForm->ClientArea->setActiveSubWindow(window);
        settle();
        clickCell(m_form->stgnivel, 1, 1);
        QCOMPARE(m_dialogs->notices, QStringList{kNotNumeric});
        QCOMPARE(focused(), m_form->enivel);
    }

    // The edit marker and closing.

    void everyKeystrokeMarksTheStudy_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");  // a Qt::Key, or 0 for the text below
        QTest::addColumn<QString>("text");
        QTest::newRow("letter in emetodo") << "emetodo" << 0 << "a";
        QTest::newRow("Backspace in an empty eanalista")
            << "eanalista" << int(Qt::Key_Backspace) << "";
        QTest::newRow("Delete in efecha") << "efecha" << int(Qt::Key_Delete) << "";
        QTest::newRow("accent in ecanad") << "ecanad" << 0 << "µ";
        QTest::newRow("Enter in erecupera") << "erecupera" << int(Qt::Key_Return) << "";
        QTest::newRow("digit in enivel") << "enivel" << 0 << "4";
        QTest::newRow("basis typed") << "ComboBox1" << 0 << "R";
        QTest::newRow("basis chosen with the arrow") << "ComboBox1" << int(Qt::Key_Down) << "";
        QTest::newRow("level value") << "stgnivel" << 0 << "5";
        QTest::newRow("Backspace in an empty level cell")
            << "stgnivel" << int(Qt::Key_Backspace) << "";
        QTest::newRow("datum") << "stgdatos" << 0 << "2";
        QTest::newRow("Enter in the data grid") << "stgdatos" << int(Qt::Key_Return) << "";
    }
    void everyKeystrokeMarksTheStudy() {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(QString, text);
        start();
        m_form->efecha->setText(QStringLiteral("hoy"));
        if (control.startsWith("stg"))
            loadWorkedExample();
        if (control == "stgnivel")
            m_form->setCell(StudyGrid::stgnivel, 1, 1, "");
        m_form->focusControl(m_form->findChild<QWidget*>(control));
        settle();
        QCOMPARE(focusedName(*m_form), control);
        QCOMPARE(estado(), QString());
        key ? press(Qt::Key(key)) : type(text);
        QCOMPARE(estado(), kModified);
    }

    void closeQuestionAndItsAnswers_data() {
        QTest::addColumn<bool>("opened");  // else a new study
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("answer");      // -1: no question
        QTest::addColumn<QString>("saveAs");  // the save dialog's answer, "cancel", or none
        QTest::addColumn<int>("errors");
        QTest::addColumn<bool>("closes");
        QTest::newRow("opened, only the program wrote") << true << "walk" << -1 << "" << 0 << true;
        QTest::newRow("typed, then saved") << true << "save" << -1 << "" << 0 << true;
        QTest::newRow("Enter in an empty field, No") << true << "enter" << 0 << "" << 0 << true;
        QTest::newRow("only the basis chosen, No") << true << "basis" << 0 << "" << 0 << true;
        QTest::newRow("typed, Yes: saved to its file") << true << "type" << 1 << "" << 0 << true;
        QTest::newRow("new, Yes, save dialog cancelled: stays open")
            << false << "type" << 1 << "cancel" << 0 << false;
        QTest::newRow("opened, Yes, its folder gone: save fails, stays open")
            << true << "folder gone" << 1 << "" << 1 << false;
    }
    void closeQuestionAndItsAnswers() {
        QFETCH(bool, opened);
        QFETCH(QString, edit);
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(int, errors);
        QFETCH(bool, closes);
        ldc::CalibrationStudy study = workedExample();
        for (int r = 1; r < 10; ++r)  // the hidden column, which the window must keep
            study.setCell(StudyGrid::stgdatos, 2, r, "h" + std::to_string(r));
        QDir(m_dir.filePath("sub")).removeRecursively();
        const QString file = writeStudy("sub/estudio.w9c", study);
        start(opened ? file : QString());
        if (edit == "walk") {  // the units header, the sizing, the data rows and labels
            m_form->focusControl(m_form->erecupera);
            settle();
            press(Qt::Key_Tab);
            clickTab(*m_form, 1);
            press(Qt::Key_Tab);
            press(Qt::Key_Space);  // "Aceptar niveles"
            clickOn(m_form->botonr);
            clickTab(*m_form, 2);
            QCOMPARE(cell(StudyGrid::stgdatos, 1, 0), QStringLiteral("mg"));
        } else if (edit == "enter") {
            m_form->emetodo->clear();
            press(Qt::Key_Return);
        } else if (edit == "basis") {
            m_form->focusControl(m_form->ComboBox1);
            settle();
            press(Qt::Key_Down);  // the item the file named, then the other one
            press(Qt::Key_Down);
            QCOMPARE(m_form->ComboBox1->currentText(), QStringLiteral("Ordenada al Origen"));
        } else {
            type(QStringLiteral(" II"));
        }
        if (edit == "save")
            TRIGGER_ENABLED(MainForm->FileSaveItem);
        if (edit == "folder gone")
            QVERIFY(QDir(m_dir.filePath("sub")).removeRecursively());
        if (answer >= 0)
            m_dialogs->questionAnswers.push_back(answer);
        if (!saveAs.isEmpty())
            m_dialogs->saveAnswers.push_back(std::nullopt);
        const QString before = available();
        TRIGGER_ENABLED(MainForm->mnuclose);
        flushDeletes();
        QCOMPARE(m_dialogs->questions, answer >= 0 ? QStringList{kQuestion} : QStringList());
        QCOMPARE(m_dialogs->saveRequests.size(), saveAs.isEmpty() ? 0 : 1);
        QCOMPARE(m_dialogs->errors.size(), errors);
        QCOMPARE(!Finforma, closes);
        if (closes) {  // the reset leaves the calculations menu as it was
            QCOMPARE(estado(), QStringLiteral(" "));
            QCOMPARE(available().remove(" calc"), QStringLiteral("new"));
        } else {  // nothing was closed: the edits stay, and the next close asks again
            QCOMPARE(estado(), kModified);
            QCOMPARE(available(), before);
            m_dialogs->questionAnswers.push_back(false);
            TRIGGER_ENABLED(MainForm->mnuclose);
            flushDeletes();
            QVERIFY(!Finforma);
            QCOMPARE(m_dialogs->questions.size(), 2);
        }
        if (answer == 1 && closes) {  // the whole study as typed, the hidden column too
            study.setText(StudyField::emetodo, study.text(StudyField::emetodo) + " II");
            QFile saved(file);
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QCOMPARE(saved.readAll().toStdString(), ldc::studyFileBytes(study));
        }
    }

    void frameClosingAsksOnceAndStaysWhenTheSaveIsCalledOff() {
        start();
        type(QStringLiteral("Cafeína"));
        addPlainChild();
        m_dialogs->questionAnswers.push_back(true);
        m_dialogs->saveAnswers.push_back(std::nullopt);
        QVERIFY(!MainForm->close());
        flushDeletes();
        QCOMPARE(m_dialogs->questions, QStringList{kQuestion});
        QVERIFY(MainForm->isVisible());
        QVERIFY(Finforma);
        QCOMPARE(estado(), kModified);
        // Closing again: one question more, No, and the frame goes.
        m_dialogs->questionAnswers.push_back(false);
        QVERIFY(MainForm->close());
        QCOMPARE(m_dialogs->questions.size(), 2);
        QVERIFY(!MainForm->isVisible());
    }

    void closingTheStudyTakesItsCommandsAway() {
        start(writeStudy("resultados.w9c", workedExample()));
        clickTab(*m_form, 2);
        QCOMPARE(available(), QStringLiteral("close save calc results"));
        clickTab(*m_form, 1);
        clickOn(m_form->botonr);  // accepting the replicates again takes the results away
        QCOMPARE(available(), QStringLiteral("close save calc"));
        clickTab(*m_form, 2);
        QMdiSubWindow* results = addPlainChild();
        QVERIFY(qobject_cast<QMdiSubWindow*>(m_form->parentWidget())->close());  // its close box
        flushDeletes();
        QVERIFY(!Finforma);
        QCOMPARE(openChildren(), QList<QMdiSubWindow*>{results});
        // Nothing may reach the study any more; New and Open wait for the last window.
        QCOMPARE(available(), QStringLiteral("close calc"));
    }
};

int main(int argc, char** argv) {
    LdcApplication app(argc, argv);
    FdatosTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FdatosTest.moc"
