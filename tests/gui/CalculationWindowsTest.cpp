// The Cálculos commands' windows, results and report: their text, windows that outlive the
// study, calculations that stop, what closes a report, the frame's reset at the last child.

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWheelEvent>

#include <functional>
#include <memory>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "StudyFixtures.h"
#include "app/LdcApplication.h"
#include "calc/Fresult.h"
#include "report/Uinforme.h"
#include "study/Numbers.h"

using namespace entry;

namespace {

// Two levels, 1 and 2, three replicates each: y = 0.1 + x through the level means.
ldc::testing::StudyOutline twoLevels(const std::string& basis = "Regresión") {
    ldc::testing::StudyOutline outline;
    outline.levelValues = {"1", "2"};
    outline.results = {{"1.0", "1.1", "1.2"}, {"2.0", "2.1", "2.2"}};
    outline.basis = basis;
    return outline;
}

// Its report up to the calculation, columns lined up with blanks.
const QString kStudyText = QStringLiteral(
    "LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO\nVARIABILIDAD: CURVA DE CALIBRACIÓN\n"
    "Información General\n\nNombre del Método: Valoración de prueba\n"
    "Nombre del Analista: Analista\nFecha: 06/12/2026\n"
    "Unidades de la cantidad adicionada: mg\nUnidades de la cantidad recuperada: mg\n\n\n"
    "Información de niveles\n\nNúmero de niveles de cantidad adicionada:\n2\n\n"
    "                    Valor        Replicación \n"
    "Nivel 1         1              3\nNivel 2         2              3\n\n"
    "                                          mg\n"
    "Nivel 1 , Replica 1            1.0\nNivel 1 , Replica 2            1.1\n"
    "Nivel 1 , Replica 3            1.2\nNivel 2 , Replica 1            2.0\n"
    "Nivel 2 , Replica 2            2.1\nNivel 2 , Replica 3            2.2");

QString textOf(const QWidget* form) {
    return form->findChild<QPlainTextEdit*>()->toPlainText();
}

Tfrminforme* activeReport() {
    return qobject_cast<Tfrminforme*>(MainForm->ClientArea->activeSubWindow()->widget());
}

void closeWindowOf(QWidget* form) {
    form->parentWidget()->close();
    flushDeletes();
}

// The reset of the last child window: back to no study, Cálculos left as the study left it.
const QString kAfterLastChild = "FileNewItem FileOpenItem mnucalculos " + kAlwaysAvailable;

}  // namespace

class CalculationWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedDialogs> m_dialogs;

    // A study as Open leaves the study window, with the data page showing.
    void studyReady(const ldc::testing::StudyOutline& outline) {
        TRIGGER_ENABLED(MainForm->FileNewItem);
        settle();
        copyStudy(ldc::testing::makeStudy(outline), *Finforma);
        clickTab(*Finforma, 2);
    }
    void runResults() { chooseMenuItem(MainForm->mnucalculos, MainForm->mnudunet); }
    Tfrminforme* runReport() {
        chooseMenuItem(MainForm->mnucalculos, MainForm->mnuinforme);
        return activeReport();
    }

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

    void resultsOfTheWorkedExample_data() {
        QTest::addColumn<QString>("basis");
        QTest::addColumn<QStringList>("limits");  // the lines after line 14
        QTest::newRow("Regresión: 17 lines")
            << "Regresión"
            << QStringList{"LÍMITE DE DETECCIÓN \"Regresión\" = 0.448622 mg",
                           "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1.35946 mg", ""};
        QTest::newRow("Ordenada al Origen: 18 lines")
            << "Ordenada al Origen"
            << QStringList{"DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0.118894",
                           "LÍMITE DE DETECCIÓN \"Ordenada al Origen\" = 0.395648 mg",
                           "LÍMITE DE CUANTIFICACIÓN \"Ordenada al Origen\" = 1.19893 mg", ""};
        QTest::newRow("no basis: the BLANCOS lines")
            << ""
            << QStringList{"LÍMITE DE DETECCIÓN \"BLANCOS\" = 0 mg",
                           "LÍMITE DE CUANTIFICACIÓN \"BLANCOS\" = 0 mg", ""};
        QTest::newRow("regresión in lower case: 14 lines") << "regresión" << QStringList();
    }
    void resultsOfTheWorkedExample() {
        QFETCH(QString, basis);
        QFETCH(QStringList, limits);
        studyReady(ldc::testing::workedExample(basis.toStdString()));
        runResults();
        QVERIFY(Finfo);
        QStringList expected{"VARIABILIDAD \"" + basis + "\"", ""};
        for (const std::string& line : ldc::testing::workedExampleRegressionLines())
            expected << QString::fromStdString(line);
        QCOMPARE(textOf(Finfo).split('\n'), expected + limits);
        QCOMPARE(Finfo->windowTitle(),
                 QStringLiteral("Límite de detección y cuantificación del método"));
        QVERIFY(Finfo->memo->isReadOnly() && !Finfo->memo->isEnabled());
        QCOMPARE(m_dialogs->errors, QStringList());
    }

    void reportOfTwoLevelsOfThreeReplicates_data() {
        QTest::addColumn<QString>("basis");
        QTest::addColumn<QString>("limits");
        QTest::newRow("Regresión: the two limits")
            << "Regresión"
            << "LÍMITE DE DETECCIÓN  \"Regresión\" = 0.33 mg\n"
               "LÍMITE DE CUANTIFICACIÓN  \"Regresión\" = 1 mg";
        QTest::newRow("Ordenada al Origen: its deviation before the limits")
            << "Ordenada al Origen"
            << "DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0.129099\n"
               "LÍMITE DE DETECCIÓN  \"Ordenada al Origen\" = 0.426028 mg\n"
               "LÍMITE DE CUANTIFICACIÓN  \"Ordenada al Origen\" = 1.29099 mg";
    }
    void reportOfTwoLevelsOfThreeReplicates() {
        QFETCH(QString, basis);
        QFETCH(QString, limits);
        studyReady(twoLevels(basis.toStdString()));
        const Tfrminforme* report = runReport();
        // By hand: b = 1, a = 0.1, s = 0.1, Sxx = 1.5, t(4) = 2.7764, s(b) = 0.1 / sqrt(1.5),
        // s(a) = 0.1 * sqrt(1/6 + 2.25/1.5), CV = 0.1 / 1.6 * 100, R² = 1 - 0.04 / 1.54.
        const QString results =
            "\n\nLÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO\nVARIABILIDAD \"" + basis +
            "\"\nPENDIENTE = 1\nLÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA = 1.22669\n"
            "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA = 0.773308\n\nORDENADA AL ORIGEN = 0.1\n"
            "LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA DE ORDENADA AL ORIGEN = 0.458432\n"
            "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA DE ORDENADA AL ORIGEN = -0.258432\n\n"
            "DESVIACIÓN ESTÁNDAR DE REGRESIÓN = 0.1\nCOEFICIENTE DE VARIACIÓN = 6.25\n"
            "COEFICIENTE DE DETERMINACIÓN = 0.974026\n\n";
        QCOMPARE(textOf(report), kStudyText + results + limits);
        QCOMPARE(report->windowTitle(), QStringLiteral("Informe"));
        QCOMPARE(m_dialogs->errors, QStringList());
        // A second use: a second window with the same text, the study window behind.
        const Tfrminforme* second = runReport();
        QVERIFY(second != report);
        QCOMPARE(textOf(second), textOf(report));
        QCOMPARE(openChildren().size(), 3);
    }

    void calculationsThatStop() {
        ldc::testing::StudyOutline single;  // one replicate a level: no deviation to take
        single.levelValues = {"1", "2"};
        single.results = {{"1.0"}, {"2.1"}};
        studyReady(single);
        runResults();
        QCOMPARE(openChildren().size(), 1);
        QVERIFY(MainForm->mnudunet->isEnabled());  // the analyst may correct it and run again
        // The report keeps what it wrote before the calculation.
        QVERIFY(textOf(runReport())
                    .endsWith("mg\nNivel 1 , Replica 1            1.0\n"
                              "Nivel 2 , Replica 1            2.1"));
        QCOMPARE(m_dialogs->errors.size(), 2);
        QCOMPARE(m_dialogs->errors.at(1), m_dialogs->errors.at(0));
        QVERIFY(m_dialogs->errors.at(0).endsWith('.'));
    }

    // Any key or button in the text closes the report; the wheel and the scroll bar scroll.
    void keysAndClicksCloseTheReportScrollingDoesNot() {
        studyReady(twoLevels());
        const QList<std::function<void(QPlainTextEdit*)>> closers = {
            [](QPlainTextEdit* text) { QTest::keyClick(text, Qt::Key_Down); },
            [](QPlainTextEdit* text) { QTest::keyClick(text, Qt::Key_Tab); },
            [](QPlainTextEdit* text) { QTest::mouseClick(text->viewport(), Qt::LeftButton); },
            [](QPlainTextEdit* text) { QTest::mouseClick(text->viewport(), Qt::RightButton); }};
        for (const auto& close : closers) {
            const QPointer<Tfrminforme> report = runReport();
            const QString commands = availableCommands();
            QWidget* viewport = report->mminforme->viewport();
            QWheelEvent wheel({20, 20}, viewport->mapToGlobal(QPoint(20, 20)), {}, {0, -120},
                              Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &wheel);
            QScrollBar* bar = report->mminforme->verticalScrollBar();
            QVERIFY(bar->value() > 0);
            QTest::mouseClick(bar, Qt::LeftButton, {}, {bar->width() / 2, bar->height() - 30});
            QCOMPARE(activeReport(), report.data());
            close(report->mminforme);
            flushDeletes();
            QVERIFY(!report);
            QCOMPARE(availableCommands(), commands);  // the study window remains
        }
        const Tfrminforme* report = runReport();
        closeWindowOf(Finforma);
        QTest::keyClick(report->mminforme, Qt::Key_Escape);
        QCOMPARE(availableCommands(), kAfterLastChild);
    }

    void resultsWindowsOutliveTheStudyTheLastResetsTheFrame() {
        studyReady(ldc::testing::workedExample());
        runResults();
        const QPointer<TFinfo> first = Finfo;
        const QString firstText = textOf(first);
        // A later edit and a second run from the data grid's popup menu: a second window,
        // the first one as it was.
        Finforma->setCell(ldc::StudyGrid::stgdatos, 1, 9, "6.3");
        chooseMenuItem(Finforma->pmenu, Finforma->pmnudunet);
        const QPointer<TFinfo> second = Finfo;
        const QString secondText = textOf(second);
        QVERIFY(secondText != firstText);

        closeWindowOf(Finforma);
        QCOMPARE(openChildren().size(), 2);
        QCOMPARE(textOf(first), firstText);
        QCOMPARE(textOf(second), secondText);
        const QString commands = availableCommands();
        // Closed twice before it is gone (a key that closes it, then the next one): the
        // other child still counts.
        QWidget* firstWindow = first->parentWidget();
        firstWindow->close();
        firstWindow->close();
        flushDeletes();
        QCOMPARE(availableCommands(), commands);  // another child remains
        closeWindowOf(second);
        QCOMPARE(availableCommands(), kAfterLastChild);
    }
};

int main(int argc, char** argv) {
    LdcApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    CalculationWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CalculationWindowsTest.moc"
