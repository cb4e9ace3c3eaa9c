// The print dialogs and the printer behind them: created hidden at start-up, keeping their
// choices and printer settings, printing the open study to a PDF file, and never leaving
// half a document when a print stops.

#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

#include "FrameFixture.h"
#include "PrintFixtures.h"
#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "report/Opruido.h"
#include "report/PrintDialogs.h"
#include "report/PrinterSurface.h"
#include "report/RadioGroup.h"
#include "report/Uopprt.h"
#include "report/Uopprt1.h"
#include "report/Uoprt.h"
#include "report/Uprint.h"
#include "report/Uprint1.h"

namespace {

// A choice as the analyst sees it: caption, items, chosen index.
QString describe(const RadioGroup* group) {
    QStringList texts{group->title()};
    for (int i = 0; i < group->count(); ++i)
        texts << group->item(i)->text();
    return texts.join('|') + '|' + QString::number(group->itemIndex());
}

// Through the event loop, so that an error reaches the error box as in the program.
void click(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

int pageCount(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QString::fromLatin1(file.readAll()).count(QRegularExpression("/Type\\s*/Page\\b"))
               : -1;
}

const QList<QDialog*> printDialogs() {
    return {Fopprt1, FOPRT, oprui, Fopprt};
}

}  // namespace

class PrintDialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;

    [[nodiscard]] bool openExample() {
        m_dialogs->openAnswers.push_back(QStringLiteral(LDC_EXAMPLES_DIR "/ejemplo.w9c"));
        triggerAsTheUser(MainForm->FileOpenItem);
        return Finforma && MainForm->printLasser->isEnabled();
    }
    // The analyst picks "print to file" in the print dialog and accepts it.
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
        for (QDialog* dialog : printDialogs())
            dialog->hide();
        Fopprt1->opcion->setItemIndex(0);
        FOPRT->SELECMAR->setItemIndex(1);
    }
    void cleanup() {
        stopFrame();
        QCOMPARE(m_dialogs->errors, QStringList());
        m_dialogs.reset();
    }

    void createdHiddenWithTheirChoices() {
        destroyPrintDialogs();
        createPrintDialogs();
        QStringList shown;
        for (QDialog* dialog : printDialogs()) {
            QVERIFY(dialog->isHidden() && !dialog->parentWidget());  // windows of their own
            shown << dialog->windowTitle();
        }
        for (const RadioGroup* choice :
             {Fopprt1->opcion, Fopprt->opcion, FOPRT->SELECPRT, FOPRT->SELECMAR, oprui->radioruido})
            shown << describe(choice);
        const QString pages =
            "|Información y Datos Generales|Límite de Detección y Cuantificación del Método|0";
        QCOMPARE(shown,
                 (QStringList{
                     "opciones", "Opciones de impresión", "Imprime cuantificacion por señal ruido ",
                     "opciones", "Imprimir en Lasser :" + pages, "Imprimir:" + pages,
                     "Tipo de Impresora :|Impresora DeskJet|Impresora Laser Jet|0",
                     "Selecciona margen:|1 cm|1.5 cm|2.0 cm|1", "Imprimir|Señal ruido|-1"}));
    }

    // The choices and the printer settings last the run; the chosen page prints at its
    // layout's resolution; a cancelled print dialog prints nothing and calculates nothing.
    void theChosenPagePrints() {
        QVERIFY(openExample());
        TRIGGER_ENABLED(MainForm->printLasser);
        Fopprt1->opcion->item(1)->click();
        click(Fopprt1->BitBtn2);
        QVERIFY(Fopprt1->isHidden());
        TRIGGER_ENABLED(MainForm->printLasser);
        QCOMPARE(Fopprt1->opcion->itemIndex(), 1);
        FOPRT->SELECMAR->item(2)->click();
        FOPRT->close();
        QCOMPARE(FOPRT->SELECMAR->itemIndex(), 2);
        const QString laser = printToFile("laser.pdf");
        click(Fopprt1->BitBtn1);
        QCOMPARE(pageCount(laser), 1);
        QCOMPARE(qRound(ldc::Uprint1::laserRecord().slope * 1e6), 991667);  // the results page
        MainForm->FilePrint();  // DeskJet, a hidden item: its general page calculates nothing
        ldc::Uprint::deskJetRecord() = {};
        const QString deskJet = printToFile("deskjet.pdf");
        click(Fopprt->BitBtn1);
        QCOMPARE(pageCount(deskJet), 1);
        QCOMPARE(ldc::Uprint::deskJetRecord().slope, 0.0);
        QVERIFY(Fopprt1->isVisible() && Fopprt->isVisible());
        // The layouts set their lines in device pixels: 12 points are 100 at 600 dpi, 50 at 300.
        QCOMPARE(Fopprt1->printer().resolution() + Fopprt->printer().resolution(), 900);
        PrinterSurface surface(Fopprt1->printer(), 600);
        surface.setFont("Arial", 12);
        QCOMPARE(surface.fontHeight(), 100);

        QVERIFY(QFile::remove(laser));
        ldc::Uprint1::laserRecord() = {};
        m_dialogs->printAnswers.push_back(false);
        click(Fopprt1->BitBtn1);
        QCOMPARE(Fopprt1->printer().outputFileName(), laser);  // what the first dialog set
        QVERIFY(!QFile::exists(laser));
        QCOMPARE(ldc::Uprint1::laserRecord().slope, 0.0);
    }

    // A print that stops on an error reaches neither the paper nor the file.
    void printsThatStopLeaveNoHalfDocument() {
        QVERIFY(openExample());
        TRIGGER_ENABLED(MainForm->printLasser);
        Finforma->setCell(ldc::StudyGrid::stgnivel, 2, 2, "x");
        const QString path = printToFile("refused.pdf");
        click(Fopprt1->BitBtn1);
        QVERIFY(!QFile::exists(path));
        // A place that cannot be written is reported, and the printer still serves.
        copyStudy(ldc::testing::makeStudy(ldc::testing::uniformOutline(4, 30)), *Finforma);
        printToFile("no-such-folder/refused.pdf");
        click(Fopprt1->BitBtn1);
        QCOMPARE(
            messagesOf(std::exchange(m_dialogs->errors, {})),
            (QStringList{"'x' is not a valid integer value.", "No se pudo iniciar la impresión."}));
        printToFile("refused.pdf");
        click(Fopprt1->BitBtn1);
        QCOMPARE(pageCount(path), 4);  // 120 data rows: continuation pages
        // Nothing half-made beside the PDFs.
        const QStringList files = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(files.filter(QRegularExpression("^\\.")), QStringList());
    }

    // The options outlive the study window: "Aceptar" must not read a closed one.
    void closedStudyShowsNoticeAndNoPrintDialog() {
        QVERIFY(openExample());
        TRIGGER_ENABLED(MainForm->printLasser);
        TRIGGER_ENABLED(MainForm->mnuclose);
        flushDeletes();
        click(Fopprt1->BitBtn1);
        QTest::keyClick(Fopprt1, Qt::Key_Return);
        QVERIFY(Fopprt1->isVisible());
        QCOMPARE(m_dialogs->notices, QStringList(2, "No hay un estudio abierto para imprimir."));
        QCOMPARE(m_dialogs->printDialogs, 0);
    }
};

LDC_WIDGET_TEST_MAIN(PrintDialogsTest)

#include "PrintDialogsTest.moc"
