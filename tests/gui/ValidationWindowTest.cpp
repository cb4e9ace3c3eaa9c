// The validation command, its window and the validation page printed and exported.

#include <QChartView>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QPrinter>
#include <QPushButton>
#include <QValueAxis>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "StudyFixtures.h"
#include "calc/ui/ValidationTableWidget.h"
#include "calc/ui/ValidationWindow.h"
#include "study/Numbers.h"

using namespace entry;

namespace {

QString cellOf(const ValidationWindow* w, const char* table, int row, int column) {
    const auto* t = w ? w->findChild<ValidationTableWidget*>(QLatin1String(table)) : nullptr;
    return t ? t->text(row, column) : QStringLiteral("<none>");
}

bool isPdf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-" && file.size() > 1000;
}

}  // namespace

class ValidationWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QTemporaryDir m_dir;

    [[nodiscard]] bool studyReady() {
        triggerAsTheUser(frameAction("FileNewItem"));
        settle();
        if (!Finforma)
            return false;
        copyStudy(ldc::testing::makeStudy(ldc::testing::workedExample()), *Finforma);
        clickTab(*Finforma, 2);
        return frameAction("mnuvalidacion")->isEnabled();
    }
    ValidationWindow* openValidation() {
        chooseMenuItem(frameMenu("mnucalculos"), frameAction("mnuvalidacion"));
        const QMdiSubWindow* active = clientArea()->activeSubWindow();
        return active ? qobject_cast<ValidationWindow*>(active->widget()) : nullptr;
    }
    // No file beside the PDFs, half-made or temporary.
    QStringList leftovers() const {
        return QDir(m_dir.path())
            .entryList(QDir::Files | QDir::Hidden)
            .filter(QRegularExpression("^\\."));
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
        const auto shown = std::move(m_dialogs);
        QCOMPARE(shown->notices + shown->errors, QStringList());
    }

    // Offered exactly when the detection and quantification command is.
    void commandFollowsDetection() {
        const auto follows = [] {
            return frameAction("mnuvalidacion")->isEnabled() ==
                   frameAction("mnudunet")->isEnabled();
        };
        QVERIFY(follows() && !frameAction("mnuvalidacion")->isEnabled());
        QVERIFY(studyReady());
        QVERIFY(follows());
        clickOn(Finforma->botonr);
        QVERIFY(follows() && !frameAction("mnuvalidacion")->isEnabled());
        TRIGGER_ENABLED(frameAction("mnuclose"));
        QVERIFY(follows());
    }

    // The worked example's limits by approach; a new α recomputes only what depends on it;
    // Ctrl+C copies the selection with its headings; values that do not convert open nothing.
    void windowShowsTablesAndRecomputes() {
        QVERIFY(studyReady());
        QPointer<ValidationWindow> w = openValidation();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Validación estadística"));
        const QStringList residualRow = {"ICH, σ = DE residual", "—", "0.448622", "1.35946", "—"};
        for (int c = 0; c < residualRow.size(); ++c)
            QCOMPARE(cellOf(w, "tbllimites", 0, c), residualRow[c]);
        QCOMPARE(cellOf(w, "tbllimites", 1, 2), QStringLiteral("0.395648"));
        QCOMPARE(cellOf(w, "tbllimites", 3, 0),
                 QStringLiteral("DIN 32645 (método de calibración)"));
        QCOMPARE(cellOf(w, "tblresiduos", 8, 0), QStringLiteral("Nivel 3 , Replica 3"));
        QCOMPARE(cellOf(w, "tblintervalos", 0, 5), QStringLiteral("sí"));
        const auto* chart = w->findChild<QChartView*>("chtcalibracion")->chart();
        QCOMPARE(chart->axes(Qt::Horizontal).at(0)->titleText(),
                 QStringLiteral("Cantidad adicionada (mg)"));
        QVERIFY(chart->series().size() >= 5);  // bands, line, results, limits

        const QString decision = cellOf(w, "tbllimites", 3, 1);
        w->ealfa->setValue(0.05);
        QVERIFY(cellOf(w, "tbllimites", 3, 1) != decision);
        QCOMPARE(cellOf(w, "tbllimites", 0, 2), QStringLiteral("0.448622"));

        auto* table = w->findChild<ValidationTableWidget*>("tbllimites");
        table->selectionModel()->select(
            QItemSelection(table->model()->index(0, 0), table->model()->index(0, 4)),
            QItemSelectionModel::Select);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 "Enfoque\tDecisión\tDetección\tCuantificación\tSeñal crítica\n" +
                     residualRow.join('\t'));

        Finforma->setCell(ldc::StudyTable::levels, 2, 2, "x");
        const auto before = openChildren().size();
        chooseMenuItem(frameMenu("mnucalculos"), frameAction("mnuvalidacion"));
        QCOMPARE(openChildren().size(), before);
        QCOMPARE(messagesOf(std::exchange(m_dialogs->errors, {})),
                 QStringList("'x' is not a valid integer value."));
    }

    // From the window (its parameters) and from the print menu; a place that cannot be
    // written shows the error box and leaves nothing behind.
    void pageExportsAndPrints() {
        QVERIFY(studyReady());
        ValidationWindow* w = openValidation();
        QVERIFY(w);
        const QString exported = m_dir.filePath("validacion.pdf");
        m_dialogs->saveAnswers = {exported, m_dir.filePath("no-such-folder/v.pdf")};
        QTest::mouseClick(w->btnpdf, Qt::LeftButton);
        QTest::mouseClick(w->btnpdf, Qt::LeftButton);
        QVERIFY(isPdf(exported));
        QCOMPARE(std::exchange(m_dialogs->errors, {}),
                 QStringList("No se pudo guardar el documento PDF «v.pdf»: la carpeta no "
                             "existe.\nInvalid filename."));

        const QString printed = m_dir.filePath("impreso.pdf");
        m_dialogs->printAnswers = {true, true, false};
        m_dialogs->configurePrinter = [printed](QPrinter* printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(printed);
        };
        QTest::mouseClick(w->btnimprimir, Qt::LeftButton);
        QVERIFY(isPdf(printed) && QFile::remove(printed));
        TRIGGER_ENABLED(frameAction("printValidacion"));
        QVERIFY(isPdf(printed) && QFile::remove(printed));
        TRIGGER_ENABLED(frameAction("printValidacion"));  // cancelled
        QVERIFY(!QFile::exists(printed));
        QCOMPARE(leftovers(), QStringList());
    }
};

LDC_WIDGET_TEST_MAIN(ValidationWindowTest)

#include "ValidationWindowTest.moc"
