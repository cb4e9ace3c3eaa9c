// The study window as the analyst drives it: pages, entry checks, grids, edit marker, closing.

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "StudyFixtures.h"
#include "files/StudyFile.h"
#include "study/Numbers.h"

using namespace entry;
using ldc::StudyField;
using ldc::StudyTable;

namespace {

const QString kModified = QStringLiteral("Modificado");

// A control visited: `text` typed over its text (empty: Delete), then left by `leave`.
struct Visit {
    QString control, text, leave;
    QStringList notices;
    QString focus;
    QPoint at{};
};
// How a study window is closed; `after`: the commands then, or "" when nothing closed.
struct Closing {
    bool opened;  // else a new study
    QString edit;
    int answer;  // -1: no question; 2: Yes, then the save is cancelled
    bool box;    // its close box, with a results window open
    QString after;
};

// A notice box takes the focus to a window of its own; the frame gets it back afterwards.
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

// The frame's commands that follow the study, by group ("name?": a group split in two); the
// data grid's popup item goes with the frame's results command.
QString available() {
    const QStringList on = availableCommands().split(QLatin1Char(' '));
    QStringList names = on.filter(QStringLiteral("-broken"));
    for (const QStringList& group :
         {QStringList{"new", "FileNewItem", "FileOpenItem"},
          {"close", "mnuclose"},
          {"save", "FileSaveItem", "FileSaveAsItem"},
          {"calc", "mnucalculos"},
          {"results", "mnudunet", "mnuinforme", "FilePrintItem", "printLasser"}}) {
        const auto n = std::count_if(group.begin() + 1, group.end(),
                                     [&](const QString& item) { return on.contains(item); });
        if (n)
            names << group.front() + QLatin1String(n + 1 < group.size() ? "?" : "");
    }
    if (Finforma && Finforma->pmnudunet->isEnabled() != on.contains(QStringLiteral("mnudunet")))
        names << QStringLiteral("pmnudunet?");
    return names.join(QLatin1Char(' '));
}

}  // namespace

class StudyWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QTemporaryDir m_dir;
    QPointer<TFinforma> m_form;

    // A study window from New, or from Open on `file`.
    void start(const QString& file = {}) {
        if (!file.isEmpty())
            m_dialogs->openAnswers.push_back(file);
        TRIGGER_ENABLED(file.isEmpty() ? frameAction("FileNewItem") : frameAction("FileOpenItem"));
        settle();
        m_form = Finforma;
        QVERIFY(m_form);
        QCOMPARE(m_form->Thojas->currentIndex(), 0);
        QCOMPARE(QApplication::focusWidget(), m_form->emetodo);
    }
    void loadWorkedExample() {
        copyStudy(ldc::testing::makeStudy(ldc::testing::workedExample()), *m_form);
    }
    // Cells from (column, row) on, along a row or down a column, to the grid's end.
    QStringList cells(StudyTable grid, int column, int row, bool along) const {
        QStringList texts;
        const int end = along ? m_form->columnCount(grid) : m_form->rowCount(grid);
        for (int i = along ? column : row; i < end; ++i)
            texts << QString::fromStdString(
                m_form->cell(grid, along ? i : column, along ? row : i));
        return texts;
    }
    // The notebook never shows one page with the cursor on another.
    void expectFocus(const QString& name) {
        QCOMPARE(focusedIn(*m_form) ? focusedIn(*m_form)->objectName() : QString(), name);
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

    void newWindowAndItsPages() {
        start();  // on page 0, the cursor in emetodo
        for (int f = 0; f <= int(StudyField::levelCount); ++f)
            QCOMPARE(m_form->text(StudyField(f)), f == int(StudyField::levelCount) ? "3" : "");
        QCOMPARE(cells(StudyTable::levels, 0, 0, true) + cells(StudyTable::levels, 0, 1, false),
                 (QStringList{"", "Nivel 1", "Nivel 2", "Nivel 3", "Valor >>", "Replicación >>"}));
        QCOMPARE(cells(StudyTable::levels, 1, 1, true) + cells(StudyTable::results, 0, 0, false),
                 QStringList(13));
        QVERIFY(m_form->stgdatos->isColumnHidden(2));
        QStringList captions{m_form->bnivel->text(), m_form->botonr->text()};
        for (int i = 0; i < m_form->Thojas->count(); ++i)
            captions << m_form->Thojas->tabText(i);
        for (int i = 0; i < m_form->ComboBox1->count(); ++i)
            captions << m_form->ComboBox1->itemText(i);
        QCOMPARE(captions,
                 (QStringList{"Aceptar niveles", "Aceptar replicas por nivel",
                              "Información General", "Información de niveles", "Captura de Datos",
                              "Blancos", "Regresión", "Ordenada al Origen"}));
        QCOMPARE(available(), QStringLiteral("close save"));
        loadWorkedExample();
        // A picked page gets the cursor back where it last stood, as the toolkit alone would.
        const std::tuple<const char*, const char*, int, const char*> picks[] = {
            {"botonr", "eanalista", 1, "enivel"},
            {"ecanad", "bnivel", 0, "emetodo"},
            {"efecha", "ecanad", 2, "stgdatos"}};
        for (const auto& [earlier, from, tab, expected] : picks) {
            for (const char* name : {earlier, from}) {
                m_form->focusControl(m_form->findChild<QWidget*>(QLatin1String(name)));
                settle();
            }
            clickTab(*m_form, tab);
            expectFocus(QLatin1String(expected));
        }
    }

    void textSetByTheProgramIsKeptWhole() {
        // A longer name from a file survives saving, though the analyst cannot type one so long.
        start();
        const std::string longName(75, 'm');
        m_form->setText(StudyField::method, longName);
        QTest::keyClicks(m_form->emetodo, QStringLiteral("xyz"));
        QCOMPARE(m_form->text(StudyField::method), longName);
        m_form->setText(StudyField::method, "Método A");  // the normal limit is back
        QTest::keyClicks(m_form->emetodo, QString(70, QLatin1Char('b')));
        QCOMPARE(m_form->emetodo->text().size(), 60);
    }

    void headersStayWhileTheCellsScroll() {
        start();
        copyStudy(ldc::testing::makeStudy(ldc::testing::uniformOutline(10, 20)), *m_form);
        // 200 results scrolled down keep the units row; 10 levels sideways the row headers.
        for (StringGrid* g : {m_form->stgdatos, m_form->stgnivel}) {
            const bool down = g == m_form->stgdatos;
            m_form->focusControl(g);  // the cell editor open in cell (1, 1)
            settle();
            QWidget* view = g->viewport();
            const auto shot = [&] {  // what the screen shows, not a fresh painting
                const QPoint at = view->mapTo(view->window(), QPoint(0, 0));
                return view->screen()
                    ->grabWindow(view->window()->winId(), at.x(), at.y(), view->width(),
                                 view->height())
                    .toImage();
            };
            const QRect staying = down ? QRect(0, 0, view->width(), g->rowHeight(0))
                                       : QRect(0, 0, g->columnWidth(0), view->height());
            const QImage before = shot();
            QScrollBar* bar = down ? g->verticalScrollBar() : g->horizontalScrollBar();
            for (int value : {1, bar->maximum()}) {  // first the edited cell just under it
                bar->setValue(value);
                settle();
                QVERIFY2(shot().copy(staying) == before.copy(staying), qPrintable(g->objectName()));
            }
            const QModelIndex last = g->model()->index(g->rowCount() - 1, g->colCount() - 1);
            QVERIFY(view->rect().contains(g->visualRect(last)));
        }
    }

    void typingAndLeavingAControl_data() {
        QTest::addColumn<Visit>("visit");
        const auto row = [](const char* name, const Visit& v) { QTest::newRow(name) << v; };
        // Enter moves on through page 0 from a field that holds text; every key marks.
        row("emetodo emptied, Enter stays", {"emetodo", "", "Enter", {}, "emetodo"});
        row("eanalista, Enter", {"eanalista", "Ana", "Enter", {}, "efecha"});
        row("efecha, Enter", {"efecha", "hoy", "Enter", {}, "ecanad"});
        row("ecanad, Enter", {"ecanad", "µg", "Enter", {}, "erecupera"});
        row("erecupera, Enter: no rule of its own", {"erecupera", "mL", "Enter", {}, "erecupera"});
        // Leaving the recovered units heads the data column and goes to the basis, however.
        row("units, Tab", {"erecupera", "µg/mL", "Tab", {}, "ComboBox1"});
        row("units, click on ecanad", {"erecupera", "µg/mL", "ecanad", {}, "ComboBox1"});
        row("basis empty, levels tab",
            {"ComboBox1", "", "tab1", {"Falta hacer su selección"}, "ComboBox1"});
        row("basis Regresión", {"ComboBox1", "Regresión", "eanalista", {}, "eanalista"});
        // Choosing the basis changes the limits: an unsaved choice is an unsaved edit.
        row("basis chosen with the arrow", {"ComboBox1", "Regres", "Down", {}, "ComboBox1"});
        row("count empty, grid clicked",
            {"enivel", "", "level grid", {"Falta capturar el número de niveles."}, "enivel"});
        row("level grid complete", {"stgnivel", "6", "Tab", {}, "botonr", {3, 2}});
        row("level 2 value missing",
            {"stgnivel", "", "tab2", {"Falta capturar algún dato "}, "stgnivel", {2, 1}});
        row("datum abc",
            {"stgdatos", "abc", "tab0", {"El dato3 no es un valor numérico."}, "stgdatos", {1, 3}});
        row("data complete: on to the page picked",
            {"stgdatos", "3.9", "tab0", {}, "emetodo", {1, 5}});
        // The data grid is alone on its page: Tab there checks the data and goes to the first.
        row("Tab on the last datum", {"stgdatos", "6.2", "Tab", {}, "stgdatos", {1, 9}});
        const QString blankAbc = "La lectura 1 de blancos no es un valor numérico.";
        row("blank abc", {"stgblancos", "abc", "tab2", {blankAbc}, "stgblancos", {1, 1}});
        row("blank: on to the page picked", {"stgblancos", "0,02", "tab1", {}, "enivel", {1, 1}});
    }
    void typingAndLeavingAControl() {
        QFETCH(Visit, visit);
        const auto& [control, text, leave, notices, focus, at] = visit;
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
        text.isEmpty() ? press(Qt::Key_Delete) : type(text);
        QCOMPARE(edit->text(), text);  // nothing filtered, nothing completed
        QCOMPARE(framePanel("estado")->text(), kModified);
        framePanel("estado")->clear();

        QSignalSpy entered(m_form.data(), &TFinforma::controlEntered);
        const QHash<QString, Qt::Key> keys{
            {"Tab", Qt::Key_Tab}, {"Enter", Qt::Key_Return}, {"Down", Qt::Key_Down}};
        const auto leaveIt = [&] {
            if (keys.contains(leave))
                press(keys[leave]);
            else if (leave.startsWith("tab"))
                clickTab(*m_form, leave.back().digitValue());
            else if (leave == "level grid")
                clickCell(m_form->stgnivel, 2, 1);
            else
                clickOn(m_form->findChild<QWidget*>(leave));
        };
        leaveIt();
        QCOMPARE(m_dialogs->notices, notices);
        expectFocus(focus);
        // Every key marks the study, Enter too; what the checks write does not.
        QCOMPARE(framePanel("estado")->text(),
                 keys.contains(leave) && leave != "Tab" ? kModified : QString());
        // A control the check sent the focus away from, or back to, was never entered.
        QCOMPARE(entered.size(), focus == control ? 0 : 1);
        if (control == "erecupera" && focus != control)
            QCOMPARE(m_form->cell(StudyTable::results, 1, 0), text.toStdString());
        if (grid && leave != "Enter") {  // ready for the next visit
            QCOMPARE(QPoint(grid->currentColumn(), grid->currentRow()), QPoint(1, 1));
            QCOMPARE(grid->navigationMode(), GridNavigation::CellToCellTab);
        }
        if (focus == control) {  // refused: every later attempt is checked again, once
            leaveIt();
            QCOMPARE(m_dialogs->notices, notices + notices);
            expectFocus(focus);
        }
    }

    void levelsTypedFromTheKeyboard() {
        start();
        clickTab(*m_form, 1);
        type(QStringLiteral("ab"));
        clickOn(m_form->bnivel);  // the click still reaches the button: it sizes nothing
        QCOMPARE(m_dialogs->notices, QStringList{"El valor de captura no es un valor numérico."});
        QCOMPARE(m_form->stgnivel->colCount(), 4);
        m_form->enivel->selectAll();
        type(QStringLiteral("4"));
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);  // into the level grid, still 4 columns for 3 levels
        expectFocus("enivel");
        press(Qt::Key_Tab);
        clickTab(*m_form, 2);  // the data grid checks the same
        QCOMPARE(m_dialogs->notices.mid(1),
                 QStringList(
                     2,
                     "El número de celdas de captura para los niveles, no coincide con el número "
                     "de niveles especificado."));
        expectFocus("enivel");
        press(Qt::Key_Tab);
        press(Qt::Key_Return);  // "Aceptar niveles" sizes the grid
        press(Qt::Key_Tab);
        expectFocus("stgnivel");
        // Tab walks the level values, then the replicate counts; Shift+Tab ("<") goes back.
        for (const char* text : {"1", "2", "3", "3", "<", "3", "2", "2", "2"}) {
            if (*text != '<')
                type(QLatin1String(text));
            press(*text == '<' ? Qt::Key_Backtab : Qt::Key_Tab,
                  *text == '<' ? Qt::ShiftModifier : Qt::NoModifier);
        }
        QCOMPARE(QPoint(m_form->stgnivel->currentColumn(), m_form->stgnivel->currentRow()),
                 QPoint(4, 2));
        type(QStringLiteral("1"));
        press(Qt::Key_Return);  // Enter on the last count leaves the grid
        expectFocus("botonr");
        QCOMPARE(cells(StudyTable::levels, 0, 0, true) + cells(StudyTable::levels, 1, 1, true) +
                     cells(StudyTable::levels, 1, 2, true),
                 (QStringList{"", "Nivel 1", "Nivel 2", "Nivel 3", "Nivel 4", "1", "2", "3", "3",
                              "2", "2", "2", "1"}));
        press(Qt::Key_Space);
        QCOMPARE(available(), QStringLiteral("close save calc"));
        clickTab(*m_form, 2);  // one row for each replicate, labelled level by level
        QCOMPARE(available(), QStringLiteral("close save calc results"));
        QCOMPARE(cells(StudyTable::results, 0, 4, false),
                 (QStringList{"Nivel 2 , Replica 2", "Nivel 3 , Replica 1", "Nivel 3 , Replica 2",
                              "Nivel 4 , Replica 1"}));
        QCOMPARE(m_dialogs->notices.size(), 3);
    }

    // A row follows the last reading as the analyst types; Open fills the page, Save writes it.
    void blankReadingsTypedOpenedAndSaved() {
        start();
        clickTab(*m_form, 3);
        expectFocus("stgblancos");
        for (const char* text : {"0.10", "\r", "0.12", "\r", "\r"})
            *text == '\r' ? press(Qt::Key_Return) : type(QLatin1String(text));
        QCOMPARE(framePanel("estado")->text(), kModified);
        type(QStringLiteral("0.14"));  // Enter in the empty last row stayed there
        QCOMPARE(m_form->stgblancos->cell(0, 4), QStringLiteral("Blanco 4"));
        QCOMPARE(ldc::blankReadingTexts(*m_form),
                 (std::vector<std::string>{"0.10", "0.12", "0.14"}));

        const QString file = m_dir.filePath("blancos.w9c");
        ldc::testing::StudyOutline outline = ldc::testing::workedExample("");
        outline.blanks = {"0,5", "", "0,7"};
        ldc::saveStudyFile(QFile::encodeName(file).toStdString(), ldc::testing::makeStudy(outline));
        m_dialogs->questionAnswers.push_back(false);
        TRIGGER_ENABLED(frameAction("mnuclose"));
        flushDeletes();
        start(file);
        QCOMPARE(ldc::blankReadingTexts(*m_form), outline.blanks);
        QCOMPARE(m_form->stgblancos->cell(0, 4), QStringLiteral("Blanco 4"));
        // Edits elsewhere leave the readings for Save to write as they came.
        type(QStringLiteral(" II"));
        TRIGGER_ENABLED(frameAction("FileSaveItem"));
        ldc::CalibrationStudy saved;
        ldc::openStudyFile(QFile::encodeName(file).toStdString(), saved);
        QCOMPARE(saved.text(StudyField::method), "Valoración de prueba II");
        QCOMPARE(ldc::blankReadingTexts(saved), outline.blanks);
    }

    void closeQuestionAndItsAnswers_data() {
        QTest::addColumn<Closing>("closing");
        QTest::newRow("opened, nothing typed") << Closing{true, {}, -1, false, "new"};
        QTest::newRow("typed, Yes: saved to its file") << Closing{true, "type", 1, false, "new"};
        QTest::newRow("new, Yes, save cancelled: stays open")
            << Closing{false, "type", 2, false, ""};
        QTest::newRow("opened, Yes, its folder gone: save fails, stays open")
            << Closing{true, "folder gone", 1, false, ""};
        // Nothing may reach the study any more; New and Open wait for the last window.
        QTest::newRow("close box, a results window open") << Closing{true, {}, -1, true, "close"};
    }
    void closeQuestionAndItsAnswers() {
        QFETCH(Closing, closing);
        const auto& [opened, edit, answer, box, after] = closing;
        const QString file = m_dir.filePath("sub/estudio.w9c");
        QVERIFY(QDir(m_dir.path()).mkpath("sub"));
        ldc::saveStudyFile(QFile::encodeName(file).toStdString(),
                           ldc::testing::makeStudy(ldc::testing::workedExample()));
        framePanel("estado")->setText(QStringLiteral(" "));  // as a study closed before leaves it
        start(opened ? file : QString());
        // The data column is headed by the units, as when the analyst typed them.
        QCOMPARE(m_form->cell(StudyTable::results, 1, 0), opened ? "mg" : "");
        if (!edit.isEmpty())
            type(QStringLiteral(" II"));
        if (edit == "folder gone")
            QVERIFY(QDir(m_dir.filePath("sub")).removeRecursively());
        if (answer >= 0)
            m_dialogs->questionAnswers.push_back(answer != 0);
        if (answer == 2)
            m_dialogs->saveAnswers.push_back(std::nullopt);
        QMdiSubWindow* results = box ? addPlainChild() : nullptr;
        const auto closeIt = [&] {
            if (box)
                qobject_cast<QMdiSubWindow*>(m_form->parentWidget())->close();
            else
                TRIGGER_ENABLED(frameAction("mnuclose"));
            flushDeletes();
        };
        closeIt();
        QCOMPARE(m_dialogs->questions.size(), answer >= 0 ? 1 : 0);
        QCOMPARE(m_dialogs->saveRequests.size(), answer == 2 ? 1 : 0);
        QCOMPARE(m_dialogs->errors.size(), edit == "folder gone" ? 1 : 0);
        QCOMPARE(!Finforma, !after.isEmpty());
        if (!after.isEmpty()) {
            QCOMPARE(framePanel("estado")->text(), QStringLiteral(" "));
            QCOMPARE(available(), after);
            QCOMPARE(openChildren().contains(results), box);
        } else {  // nothing was closed: the edits stay, and the next close asks again
            QCOMPARE(framePanel("estado")->text(), kModified);
            m_dialogs->questionAnswers.push_back(false);
            closeIt();
            QVERIFY(!Finforma);
            QCOMPARE(m_dialogs->questions, QStringList(2,
                                                       "Guardar archivo?|Se realizaron cambios!\n"
                                                       "Quiere guardar su información?"));
        }
        if (answer == 1 && after.size()) {  // saved as typed
            ldc::CalibrationStudy saved;
            ldc::openStudyFile(QFile::encodeName(file).toStdString(), saved);
            QCOMPARE(saved.text(StudyField::method), "Valoración de prueba II");
        }
    }
};

LDC_WIDGET_TEST_MAIN(StudyWindowTest)

#include "StudyWindowTest.moc"
