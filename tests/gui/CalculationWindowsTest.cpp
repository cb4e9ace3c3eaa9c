// The results and report windows, snapshots of the core's text, and the print dialogs.

#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWheelEvent>

#include <functional>
#include <memory>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "StudyFixtures.h"
#include "calc/ResultsText.h"
#include "calc/ui/Fresult.h"
#include "report/ReportText.h"
#include "report/Uprint1.h"
#include "report/ui/Opruido.h"
#include "report/ui/PrintDialogs.h"
#include "report/ui/PrinterSurface.h"
#include "report/ui/RadioGroup.h"
#include "report/ui/Uinforme.h"
#include "report/ui/Uopprt.h"
#include "report/ui/Uopprt1.h"
#include "report/ui/Uoprt.h"
#include "study/Numbers.h"

using namespace entry;

namespace {

// A window's text; without a window, a text that no expected one matches.
QString textOf(const QWidget* form) {
    const auto* text = form ? form->findChild<QPlainTextEdit*>() : nullptr;
    return text ? text->toPlainText() : QStringLiteral("<no window>");
}

// The core's text for the open study, which the window must show as it is.
QString coreText(void (*write)(const ldc::StudyDocument&, ldc::CalibrationResults&,
                               ldc::LineSink&)) {
    ldc::CalibrationResults results;
    ldc::LineList lines;
    try {
        write(*Finforma, results, lines);
    } catch (const std::exception& e) {
        return QStringLiteral("<the core stopped: %1>").arg(e.what());
    }
    QStringList text;
    for (const std::string& line : lines.lines)
        text << QString::fromStdString(line);
    return text.join('\n');
}

Tfrminforme* activeReport() {
    const QMdiSubWindow* active = clientArea()->activeSubWindow();
    return active ? qobject_cast<Tfrminforme*>(active->widget()) : nullptr;
}

void closeWindowOf(QWidget* form) {
    form->parentWidget()->close();
    flushDeletes();
}

int pageCount(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QString::fromLatin1(file.readAll()).count(QRegularExpression("/Type\\s*/Page\\b"))
               : -1;
}

// The reset of the last child window: back to no study, Cálculos left as the study left it.
const QString kAfterLastChild = "FileNewItem FileOpenItem mnucalculos " + kAlwaysAvailable;

}  // namespace

class CalculationWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QTemporaryDir m_dir;

    // A study as Open leaves the study window, with the data page showing.
    [[nodiscard]] bool studyReady(const ldc::testing::StudyOutline& outline) {
        triggerAsTheUser(frameAction("FileNewItem"));
        settle();
        if (!Finforma)
            return false;
        copyStudy(ldc::testing::makeStudy(outline), *Finforma);
        clickTab(*Finforma, 2);
        return frameAction("mnudunet")->isEnabled();
    }
    void runResults() { chooseMenuItem(frameMenu("mnucalculos"), frameAction("mnudunet")); }
    Tfrminforme* runReport() {
        chooseMenuItem(frameMenu("mnucalculos"), frameAction("mnuinforme"));
        return activeReport();
    }
    // The analyst prints to a file. (Buttons are clicked, so that errors reach the error box.)
    QString printToFile(const QString& name) {
        const QString path = m_dir.filePath(name);
        m_dialogs->printAnswers.push_back(true);
        m_dialogs->configurePrinter = [path](QPrinter* printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(path);
        };
        return path;
    }

private slots:
    void initTestCase() { createPrintDialogs(); }
    void cleanupTestCase() { destroyPrintDialogs(); }
    void init() {
        ldc::setDecimalSeparator('.');
        m_dialogs = std::make_unique<ScriptedDialogs>();
        startFrame();
        QVERIFY(QTest::qWaitForWindowActive(MainForm));
        Fopprt1->opcion->setItemIndex(0);
    }
    void cleanup() {
        stopFrame();
        const auto shown = std::move(m_dialogs);  // dropped even when the comparison fails
        QCOMPARE(shown->notices + shown->errors, QStringList());
    }

    // Each run's window stays as it was through later edits, runs and closes; the last resets.
    void resultsWindowsAreSnapshotsThatOutliveTheStudy() {
        QVERIFY(studyReady(ldc::testing::workedExample()));
        runResults();
        const QPointer<TFinfo> first = Finfo;
        QCOMPARE(textOf(first), coreText(ldc::calculateResults));
        QCOMPARE(first->windowTitle(),
                 QStringLiteral("Límite de detección y cuantificación del método"));
        QVERIFY(first->memo->isReadOnly() && !first->memo->isEnabled());
        const QString firstText = textOf(first);
        // The second run from the data grid's popup menu.
        Finforma->setCell(ldc::StudyTable::results, 1, 9, "6.3");
        chooseMenuItem(Finforma->pmenu, Finforma->pmnudunet);
        const QPointer<TFinfo> second = Finfo;
        QVERIFY(second && second != first);
        const QString secondText = coreText(ldc::calculateResults);
        QCOMPARE(textOf(second), secondText);
        QVERIFY(secondText != firstText);

        closeWindowOf(Finforma);
        QCOMPARE(textOf(first) + textOf(second), firstText + secondText);
        const QString commands = availableCommands();
        // Closed twice before it is gone (two keys): the other child still counts.
        QWidget* firstWindow = first->parentWidget();
        firstWindow->close();
        firstWindow->close();
        flushDeletes();
        QCOMPARE(availableCommands(), commands);
        closeWindowOf(second);
        QCOMPARE(availableCommands(), kAfterLastChild);
    }

    void calculationsThatStop() {
        ldc::testing::StudyOutline single;  // one replicate a level: no deviation to take
        single.levelValues = {"1", "2"};
        single.results = {{"1.0"}, {"2.1"}};
        QVERIFY(studyReady(single));
        runResults();
        QCOMPARE(openChildren().size(), 1);
        QVERIFY(frameAction("mnudunet")->isEnabled());  // the analyst may correct it and run again
        // The report keeps what it wrote before the calculation.
        QVERIFY(textOf(runReport())
                    .endsWith("mg\nNivel 1 , Replica 1            1.0\n"
                              "Nivel 2 , Replica 1            2.1"));
        QCOMPARE(messagesOf(std::exchange(m_dialogs->errors, {})),
                 QStringList(2, "Floating point division by zero."));
    }

    // Each run's report in a window of its own: any key or click closes it, the wheel scrolls.
    void reportsShowTheStudyAndCloseAtAnyKeyOrClick() {
        QVERIFY(studyReady(ldc::testing::workedExample("Ordenada al Origen")));
        const QString expected = coreText(ldc::writeReport);
        const QPointer<Tfrminforme> kept = runReport();
        QCOMPARE(textOf(kept), expected);
        QCOMPARE(kept->windowTitle(), QStringLiteral("Informe"));
        QWidget* viewport = kept->mminforme->viewport();
        QWheelEvent wheel({20, 20}, viewport->mapToGlobal(QPoint(20, 20)), {}, {0, -120},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        QScrollBar* bar = kept->mminforme->verticalScrollBar();
        QVERIFY(bar->value() > 0 && activeReport() == kept);
        const QString commands = availableCommands();
        const QList<std::function<void(QPlainTextEdit*)>> closers = {
            [](QPlainTextEdit* text) { QTest::keyClick(text, Qt::Key_Down); },
            [](QPlainTextEdit* text) { QTest::keyClick(text, Qt::Key_Tab); },
            [](QPlainTextEdit* text) { QTest::mouseClick(text->viewport(), Qt::LeftButton); },
            [](QPlainTextEdit* text) { QTest::mouseClick(text->viewport(), Qt::RightButton); }};
        for (const auto& close : closers) {
            const QPointer<Tfrminforme> report = runReport();
            QCOMPARE(textOf(report), expected);  // every run a window of its own
            close(report->mminforme);
            flushDeletes();
            QVERIFY(!report);
            QCOMPARE(availableCommands(), commands);  // the study window remains
        }
        QCOMPARE(openChildren().size(), 2);  // the study window and the first report
        closeWindowOf(Finforma);
        QTest::keyClick(kept->mminforme, Qt::Key_Escape);
        QCOMPARE(availableCommands(), kAfterLastChild);
    }

    void printDialogsAreCreatedHidden() {
        destroyPrintDialogs();
        createPrintDialogs();
        QStringList shown;
        for (QDialog* dialog : std::initializer_list<QDialog*>{Fopprt1, FOPRT, oprui, Fopprt}) {
            QVERIFY(dialog->isHidden() && !dialog->parentWidget());  // windows of their own
            shown << dialog->windowTitle();
        }
        const RadioGroup* pages = Fopprt1->opcion;
        shown << pages->title() << pages->item(0)->text() << pages->item(1)->text();
        QCOMPARE(shown, (QStringList{"opciones", "Opciones de impresión",
                                     "Imprime cuantificacion por señal ruido ", "opciones",
                                     "Imprimir en Lasser :", "Información y Datos Generales",
                                     "Límite de Detección y Cuantificación del Método"}));
        QCOMPARE(pages->itemIndex(), 0);
    }

    // Choice and printer settings last the run; a cancelled print dialog prints, computes nothing.
    void theChosenPagePrints() {
        QVERIFY(studyReady(ldc::testing::workedExample()));
        TRIGGER_ENABLED(frameAction("printLasser"));
        Fopprt1->opcion->item(1)->click();
        QTest::mouseClick(Fopprt1->BitBtn2, Qt::LeftButton);
        QVERIFY(Fopprt1->isHidden());
        TRIGGER_ENABLED(frameAction("printLasser"));
        QCOMPARE(Fopprt1->opcion->itemIndex(), 1);
        const QString laser = printToFile("laser.pdf");
        QTest::mouseClick(Fopprt1->BitBtn1, Qt::LeftButton);
        QCOMPARE(pageCount(laser), 1);
        QCOMPARE(qRound(ldc::laser::record().slope * 1e6), 991667);  // the results page
        QVERIFY(Fopprt1->isVisible());
        // The layout sets its lines in device pixels: 12 points are 100 of them at 600 dpi.
        QCOMPARE(Fopprt1->printer().resolution(), 600);
        PrinterSurface surface(Fopprt1->printer(), 600);
        surface.setFont("Arial", 12);
        QCOMPARE(surface.fontHeight(), 100);

        QVERIFY(QFile::remove(laser));
        ldc::laser::record() = {};
        m_dialogs->printAnswers.push_back(false);
        QTest::mouseClick(Fopprt1->BitBtn1, Qt::LeftButton);
        QCOMPARE(Fopprt1->printer().outputFileName(), laser);  // what the first dialog set
        QVERIFY(!QFile::exists(laser));
        QCOMPARE(ldc::laser::record().slope, 0.0);
    }

    // A print that stops on an error reaches neither the paper nor the file.
    void printsThatStopLeaveNoHalfDocument() {
        QVERIFY(studyReady(ldc::testing::workedExample()));
        TRIGGER_ENABLED(frameAction("printLasser"));
        Finforma->setCell(ldc::StudyTable::levels, 2, 2, "x");
        const QString path = printToFile("refused.pdf");
        QTest::mouseClick(Fopprt1->BitBtn1, Qt::LeftButton);
        QVERIFY(!QFile::exists(path));
        // A place that cannot be written is reported, and the printer still serves.
        copyStudy(ldc::testing::makeStudy(ldc::testing::uniformOutline(4, 30)), *Finforma);
        printToFile("no-such-folder/refused.pdf");
        QTest::mouseClick(Fopprt1->BitBtn1, Qt::LeftButton);
        QCOMPARE(messagesOf(std::exchange(m_dialogs->errors, {})),
                 (QStringList{"'x' is not a valid integer value.", "Invalid filename."}));
        printToFile("refused.pdf");
        QTest::mouseClick(Fopprt1->BitBtn1, Qt::LeftButton);
        QCOMPARE(pageCount(path), 4);  // 120 data rows: continuation pages
        // Nothing half-made beside the PDFs.
        const QStringList files = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(files.filter(QRegularExpression("^\\.")), QStringList());
    }

    // The options outlive the study window: "Aceptar" must not read a closed one.
    void closedStudyShowsNoticeAndNoPrintDialog() {
        QVERIFY(studyReady(ldc::testing::workedExample()));
        TRIGGER_ENABLED(frameAction("printLasser"));
        TRIGGER_ENABLED(frameAction("mnuclose"));
        flushDeletes();
        QTest::mouseClick(Fopprt1->BitBtn1, Qt::LeftButton);
        QTest::keyClick(Fopprt1, Qt::Key_Return);
        QVERIFY(Fopprt1->isVisible());
        QCOMPARE(std::exchange(m_dialogs->notices, {}),
                 QStringList(2, "No hay un estudio abierto para imprimir."));
        QCOMPARE(m_dialogs->printDialogs, 0);
    }
};

LDC_WIDGET_TEST_MAIN(CalculationWindowsTest)

#include "CalculationWindowsTest.moc"
