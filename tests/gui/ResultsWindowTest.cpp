// The detection and quantification command and its results window: the lines of the worked
// example for each basis and decimal separator, the window itself, its two entry points,
// windows that outlive the study, the frame's reset when the last child goes, and a
// calculation that stops on an error.

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolButton>
#include <QtTest>

#include <memory>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "StudyFixtures.h"
#include "app/HelpRequest.h"
#include "app/LdcApplication.h"
#include "app/Main.h"
#include "calc/Fresult.h"
#include "study/Fdatos.h"
#include "study/Numbers.h"

using namespace entry;
using ldc::StudyGrid;

namespace {

// The worked example with the given separator in its numbers.
ldc::testing::StudyOutline workedExample(const std::string& basis, char separator) {
    ldc::testing::StudyOutline outline = ldc::testing::workedExample(basis);
    for (auto& level : outline.results)
        for (std::string& value : level)
            for (char& c : value)
                if (c == '.')
                    c = separator;
    return outline;
}

// Lines 2 to 14, the same for every basis.
QStringList statistics(const QString& d) {
    QStringList lines = {
        "",
        "PENDIENTE = 0.991667",
        "LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA = 1.05674",
        "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA = 0.926596",
        "",
        "ORDENADA AL ORIGEN = 0.0444444",
        "LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA DE ORDENADA AL ORIGEN = 0.325581",
        "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA DE ORDENADA AL ORIGEN = -0.236692",
        "",
        "DESVIACIÓN ESTÁNDAR DE REGRESIÓN = 0.134813",
        "COEFICIENTE DE VARIACIÓN = 3.36099",
        "COEFICIENTE DE DETERMINACIÓN = 0.994639",
        ""};
    for (QString& line : lines)
        line.replace(QLatin1Char('.'), d);
    return lines;
}

QStringList memoLines(const TFinfo* form) {
    QStringList lines;
    for (QTextBlock b = form->memo->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines;
}

QList<TFinfo*> resultsWindows() {
    QList<TFinfo*> windows;
    for (QMdiSubWindow* child : openChildren())
        if (auto* form = qobject_cast<TFinfo*>(child->widget()))
            windows << form;
    return windows;
}

}  // namespace

class ResultsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ldc::setDecimalSeparator('.');
        m_dialogs = std::make_unique<ScriptedDialogs>();
        startFrame();
        QVERIFY(QTest::qWaitForWindowActive(MainForm));
    }
    void cleanup() {
        stopFrame();
        QCOMPARE(m_dialogs->notices, QStringList());
        m_dialogs.reset();
    }

    void workedExampleTypedFromTheKeyboard();
    void linesOfTheWorkedExample_data();
    void linesOfTheWorkedExample();
    void theWindowShowsTheTextAsItStands();
    void popupItemRunsTheSameCommand();
    void eachRunIsANewWindowThatOutlivesTheStudy();
    void closingTheLastChildResetsTheFrame();
    void closingAResultsWindowBesideTheStudyChangesNothing();
    void aCalculationThatStopsOpensNoWindow();

private:
    // A study typed in: the window filled as Open leaves it, then the data grid entered.
    void studyReady(const ldc::testing::StudyOutline& outline) {
        TRIGGER_ENABLED(MainForm->FileNewItem);
        settle();
        QVERIFY(Finforma);
        copyStudy(ldc::testing::makeStudy(outline), *Finforma);
        clickTab(*Finforma, 2);
        QCOMPARE(focusedName(*Finforma), QStringLiteral("stgdatos"));
    }
    void runResults() { chooseMenuItem(MainForm->mnucalculos, MainForm->mnudunet); }

    std::unique_ptr<ScriptedDialogs> m_dialogs;
};

void ResultsWindowTest::workedExampleTypedFromTheKeyboard() {
    // The analyst never touches the mouse: every step below is a key.
    QTest::keyClick(MainForm, Qt::Key_N, Qt::ControlModifier);
    settle();
    QVERIFY(Finforma);
    QCOMPARE(focused(), Finforma->emetodo);
    for (const char* field : {"Valoración de prueba", "Analista", "06/12/2026", "mg"}) {
        type(QString::fromUtf8(field));
        press(Qt::Key_Return);
    }
    type(QStringLiteral("mg"));
    press(Qt::Key_Tab);
    QCOMPARE(focusedName(*Finforma), QStringLiteral("ComboBox1"));
    type(QStringLiteral("Regresión"));
    press(Qt::Key_Tab, Qt::ControlModifier);  // the levels page
    QCOMPARE(focused(), Finforma->enivel);
    type(QStringLiteral("3"));
    press(Qt::Key_Tab);
    press(Qt::Key_Return);  // "Aceptar niveles"
    press(Qt::Key_Tab);
    QCOMPARE(focusedName(*Finforma), QStringLiteral("stgnivel"));
    typeCells({"2", "4", "6"});
    press(Qt::Key_Tab);
    typeCells({"3", "3", "3"});
    press(Qt::Key_Return);
    QCOMPARE(focused(), Finforma->botonr);
    press(Qt::Key_Return);  // "Aceptar replicas por nivel"
    QVERIFY(MainForm->mnucalculos->menuAction()->isEnabled());
    press(Qt::Key_Tab, Qt::ControlModifier);  // the data page
    QCOMPARE(focusedName(*Finforma), QStringLiteral("stgdatos"));
    typeCells({"1.9", "2.1", "2.0", "4.1", "3.9", "4.2", "5.8", "6.1", "6.0"});
    QCOMPARE(m_dialogs->notices, QStringList());

    press(Qt::Key_C, Qt::AltModifier);  // Cálculos
    QTRY_COMPARE(QApplication::activePopupWidget(), MainForm->mnucalculos);
    QTest::keyClick(MainForm->mnucalculos, Qt::Key_D);  // Detección y Cuantificación
    settle();
    QVERIFY(Finfo);
    const QStringList expected =
        QStringList{"VARIABILIDAD \"Regresión\""} + statistics(QStringLiteral(".")) +
        QStringList{"LÍMITE DE DETECCIÓN \"Regresión\" = 0.448622 mg",
                    "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1.35946 mg", ""};
    QCOMPARE(memoLines(Finfo), expected);
    QCOMPARE(MainForm->estado->text(), QStringLiteral("Modificado"));
}

void ResultsWindowTest::linesOfTheWorkedExample_data() {
    QTest::addColumn<QString>("basis");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QStringList>("limits");  // the lines after line 14
    QTest::newRow("Regresión: 17 lines")
        << "Regresión" << QChar('.')
        << QStringList{"LÍMITE DE DETECCIÓN \"Regresión\" = 0.448622 mg",
                       "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1.35946 mg", ""};
    QTest::newRow("Ordenada al Origen: 18 lines")
        << "Ordenada al Origen" << QChar('.')
        << QStringList{"DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0.118894",
                       "LÍMITE DE DETECCIÓN \"Ordenada al Origen\" = 0.395648 mg",
                       "LÍMITE DE CUANTIFICACIÓN \"Ordenada al Origen\" = 1.19893 mg", ""};
    QTest::newRow("no basis: the BLANCOS lines")
        << "" << QChar('.')
        << QStringList{"LÍMITE DE DETECCIÓN \"BLANCOS\" = 0 mg",
                       "LÍMITE DE CUANTIFICACIÓN \"BLANCOS\" = 0 mg", ""};
    QTest::newRow("regresión in lower case: 14 lines")
        << "regresión" << QChar('.') << QStringList();
    QTest::newRow("decimal comma")
        << "Regresión" << QChar(',')
        << QStringList{"LÍMITE DE DETECCIÓN \"Regresión\" = 0,448622 mg",
                       "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1,35946 mg", ""};
}

void ResultsWindowTest::linesOfTheWorkedExample() {
    QFETCH(QString, basis);
    QFETCH(QChar, separator);
    QFETCH(QStringList, limits);
    const char d = separator.toLatin1();
    ldc::setDecimalSeparator(d);
    // The basis as the analyst leaves it; a refused one only through the program.
    studyReady(workedExample(basis.toStdString(), d));
    runResults();
    QVERIFY(Finfo);
    const QStringList expected =
        QStringList{"VARIABILIDAD \"" + basis + "\""} + statistics(QString(separator)) + limits;
    QCOMPARE(memoLines(Finfo), expected);
    QCOMPARE(m_dialogs->errors, QStringList());
}

void ResultsWindowTest::theWindowShowsTheTextAsItStands() {
    studyReady(workedExample("Regresión", '.'));
    runResults();
    TFinfo* form = Finfo;
    QVERIFY(form);
    QMdiSubWindow* window = MainForm->ClientArea->currentSubWindow();
    QCOMPARE(window->widget(), form);  // the active child
    QCOMPARE(form->windowTitle(),
             QStringLiteral("Límite de detección y cuantificación del método"));
    QCOMPARE(window->size(), QSize(540, 291));
    QCOMPARE(form->property(kHelpContextProperty).toUInt(), 11u);
    QVERIFY(form->memo->isReadOnly());
    QVERIFY(!form->memo->isEnabled());
    QCOMPARE(form->memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(form->memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(form->memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(form->findChildren<QWidget*>().size(),
             form->memo->findChildren<QWidget*>().size() + 1);

    // Keys and clicks change nothing in it.
    const QString text = form->memo->toPlainText();
    QTest::keyClicks(form->memo, QStringLiteral("xyz"));
    QTest::mouseClick(form->memo->viewport(), Qt::LeftButton);
    QCOMPARE(form->memo->toPlainText(), text);
    // Running the command changed no command state.
    QVERIFY(MainForm->mnudunet->isEnabled());
    QVERIFY(!MainForm->FileNewItem->isEnabled());
}

void ResultsWindowTest::popupItemRunsTheSameCommand() {
    studyReady(workedExample("Ordenada al Origen", '.'));
    QWidget* viewport = Finforma->stgdatos->viewport();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(20, 40),
                                 viewport->mapToGlobal(QPoint(20, 40)));
    QApplication::sendEvent(viewport, &rightClick);
    QTRY_VERIFY(Finforma->pmenu->isVisible());
    chooseMenuItem(Finforma->pmenu, Finforma->pmnudunet);
    QCOMPARE(resultsWindows().size(), 1);
    QCOMPARE(memoLines(Finfo).size(), 18);
    QCOMPARE(memoLines(Finfo).at(14),
             QStringLiteral("DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0.118894"));
}

void ResultsWindowTest::eachRunIsANewWindowThatOutlivesTheStudy() {
    studyReady(workedExample("Regresión", '.'));
    runResults();
    QPointer<TFinfo> first = Finfo;
    const QStringList firstLines = memoLines(first);

    // A later edit and a second run: a second window, the first one as it was.
    Finforma->setCell(StudyGrid::stgdatos, 1, 9, "6.3");
    MainForm->ClientArea->setActiveSubWindow(
        qobject_cast<QMdiSubWindow*>(Finforma->parentWidget()));
    runResults();
    QPointer<TFinfo> second = Finfo;
    QVERIFY(second != first);
    QCOMPARE(resultsWindows(), (QList<TFinfo*>{first, second}));
    QCOMPARE(memoLines(first), firstLines);
    QVERIFY(memoLines(second) != firstLines);
    const QStringList secondLines = memoLines(second);

    qobject_cast<QMdiSubWindow*>(Finforma->parentWidget())->close();
    flushDeletes();
    QVERIFY(!Finforma);
    QCOMPARE(resultsWindows(), (QList<TFinfo*>{first, second}));
    QCOMPARE(memoLines(first), firstLines);
    QCOMPARE(memoLines(second), secondLines);
    QCOMPARE(Finfo, second);
    // The study is gone: nothing may read it; New and Open wait for the last window.
    QVERIFY(!MainForm->mnudunet->isEnabled());
    QVERIFY(!MainForm->FileSaveItem->isEnabled());
    QVERIFY(!MainForm->FileNewItem->isEnabled());
}

void ResultsWindowTest::closingTheLastChildResetsTheFrame() {
    studyReady(workedExample("Regresión", '.'));
    runResults();
    runResults();
    qobject_cast<QMdiSubWindow*>(Finforma->parentWidget())->close();
    flushDeletes();
    QList<TFinfo*> windows = resultsWindows();
    QCOMPARE(windows.size(), 2);

    windows.at(0)->parentWidget()->close();
    flushDeletes();
    QVERIFY(!MainForm->FileNewItem->isEnabled());  // one window still open
    QVERIFY(MainForm->mnuclose->isEnabled());

    windows.at(1)->parentWidget()->close();
    flushDeletes();
    QVERIFY(openChildren().isEmpty());
    QVERIFY(!Finfo);
    for (QAction* on : {MainForm->FileNewItem, MainForm->FileOpenItem})
        QVERIFY2(on->isEnabled(), qPrintable(on->objectName()));
    for (QAction* off : {MainForm->mnuclose, MainForm->FileSaveItem, MainForm->FileSaveAsItem,
                         MainForm->WindowTileItem, MainForm->WindowCascadeItem,
                         MainForm->FilePrintItem->menuAction(), MainForm->printLasser,
                         MainForm->mnudunet, MainForm->mnuinforme})
        QVERIFY2(!off->isEnabled(), qPrintable(off->objectName()));
    QVERIFY(MainForm->spdnuevo->isEnabled());
    QVERIFY(!MainForm->spdprint->isEnabled());
    // The reset leaves the Cálculos menu as the study left it.
    QVERIFY(MainForm->mnucalculos->menuAction()->isEnabled());
}

void ResultsWindowTest::closingAResultsWindowBesideTheStudyChangesNothing() {
    studyReady(workedExample("Regresión", '.'));
    runResults();
    Finfo->parentWidget()->close();
    flushDeletes();
    QVERIFY(Finforma);
    QVERIFY(!MainForm->FileNewItem->isEnabled());
    QVERIFY(MainForm->FileSaveItem->isEnabled());
    QVERIFY(MainForm->mnudunet->isEnabled());
    QVERIFY(MainForm->mnuclose->isEnabled());
}

void ResultsWindowTest::aCalculationThatStopsOpensNoWindow() {
    ldc::testing::StudyOutline outline;
    outline.levelValues = {"1", "2"};
    outline.results = {{"1.0"}, {"2.1"}};
    studyReady(outline);
    runResults();
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(m_dialogs->errors.first().endsWith(QLatin1Char('.')));
    QVERIFY(resultsWindows().isEmpty());
    QVERIFY(!Finfo);
    QCOMPARE(openChildren().size(), 1);
    QVERIFY(MainForm->mnudunet->isEnabled());  // nothing changed: the analyst may correct it
}

int main(int argc, char** argv) {
    LdcApplication app(argc, argv);
    ResultsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ResultsWindowTest.moc"
