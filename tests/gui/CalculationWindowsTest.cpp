// The Cálculos commands' windows, results and report: each shows the core's text as it was
// when it opened and outlives the study, a calculation that stops opens no results window,
// any key or click closes a report, and the last child window resets the frame.

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWheelEvent>

#include <functional>
#include <memory>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "StudyFixtures.h"
#include "calc/Fresult.h"
#include "calc/ResultsText.h"
#include "report/ReportText.h"
#include "report/Uinforme.h"
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
    const QMdiSubWindow* active = MainForm->ClientArea->activeSubWindow();
    return active ? qobject_cast<Tfrminforme*>(active->widget()) : nullptr;
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
    [[nodiscard]] bool studyReady(const ldc::testing::StudyOutline& outline) {
        triggerAsTheUser(MainForm->FileNewItem);
        settle();
        if (!Finforma)
            return false;
        copyStudy(ldc::testing::makeStudy(outline), *Finforma);
        clickTab(*Finforma, 2);
        return MainForm->mnudunet->isEnabled();
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
        QCOMPARE(m_dialogs->notices + m_dialogs->errors, QStringList());
        m_dialogs.reset();
    }

    // Each run opens a window of its own; later edits, runs and the study's closing leave
    // the earlier ones as they were, and the last one to close resets the frame.
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
        Finforma->setCell(ldc::StudyGrid::stgdatos, 1, 9, "6.3");
        chooseMenuItem(Finforma->pmenu, Finforma->pmnudunet);
        const QPointer<TFinfo> second = Finfo;
        QVERIFY(second && second != first);
        const QString secondText = coreText(ldc::calculateResults);
        QCOMPARE(textOf(second), secondText);
        QVERIFY(secondText != firstText);

        closeWindowOf(Finforma);
        QCOMPARE(openChildren().size(), 2);
        QCOMPARE(textOf(first) + textOf(second), firstText + secondText);
        const QString commands = availableCommands();
        // Closed twice before it is gone (a key that closes it, then the next one): the
        // other child still counts.
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
        QVERIFY(MainForm->mnudunet->isEnabled());  // the analyst may correct it and run again
        // The report keeps what it wrote before the calculation.
        QVERIFY(textOf(runReport())
                    .endsWith("mg\nNivel 1 , Replica 1            1.0\n"
                              "Nivel 2 , Replica 1            2.1"));
        QCOMPARE(messagesOf(std::exchange(m_dialogs->errors, {})),
                 QStringList(2, "Floating point division by zero."));
    }

    // Every run shows the core's report in a window of its own; any key or button in the
    // text closes it, the wheel and the scroll bar scroll it.
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
        QVERIFY(bar->value() > 0);
        QTest::mouseClick(bar, Qt::LeftButton, {}, {bar->width() / 2, bar->height() - 30});
        QCOMPARE(activeReport(), kept.data());
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
};

LDC_WIDGET_TEST_MAIN(CalculationWindowsTest)

#include "CalculationWindowsTest.moc"
