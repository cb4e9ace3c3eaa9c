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
#include "app/LdcApplication.h"
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

// The printer, noting where the layout put each text.
class ProbeSurface : public PrinterSurface {
public:
    ProbeSurface(QPrinter& printer, int resolution, QMap<QString, QPoint>& places)
        : PrinterSurface(printer, resolution), m_places(places) {}
    void textOut(int x, int y, const std::string& text) override {
        m_places.insert(QString::fromStdString(text), {x, y});
        PrinterSurface::textOut(x, y, text);
    }

private:
    QMap<QString, QPoint>& m_places;
};

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

}  // namespace

class PrintDialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;

    void openExample() {
        m_dialogs->openAnswers.push_back(QStringLiteral(LDC_EXAMPLES_DIR "/ejemplo.w9c"));
        TRIGGER_ENABLED(MainForm->FileOpenItem);
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
        for (QDialog* dialog : std::initializer_list<QDialog*>{Fopprt1, FOPRT, oprui, Fopprt})
            dialog->hide();
        Fopprt1->opcion->setItemIndex(0);
        FOPRT->SELECMAR->setItemIndex(1);
    }
    void cleanup() {
        PrintOptionsDialog::setSurfaceFactory({});
        stopFrame();
        m_dialogs.reset();
    }

    void createdHiddenAtStartUp() {
        destroyPrintDialogs();
        createPrintDialogs();
        QStringList captions;
        for (QDialog* dialog : std::initializer_list<QDialog*>{Fopprt1, FOPRT, oprui, Fopprt}) {
            QVERIFY(dialog->isHidden());
            QCOMPARE(dialog->parentWidget(), nullptr);  // windows of their own
            captions << dialog->windowTitle();
        }
        QCOMPARE(captions, (QStringList{"opciones", "Opciones de impresión",
                                        "Imprime cuantificacion por señal ruido ", "opciones"}));
        const QString pages =
            "Información y Datos Generales|Límite de Detección y Cuantificación del Método|0";
        QCOMPARE(describe(Fopprt1->opcion), "Imprimir en Lasser :|" + pages);
        QCOMPARE(describe(Fopprt->opcion), "Imprimir:|" + pages);
        QCOMPARE(describe(FOPRT->SELECPRT),
                 QStringLiteral("Tipo de Impresora :|Impresora DeskJet|Impresora Laser Jet|0"));
        QCOMPARE(describe(FOPRT->SELECMAR),
                 QStringLiteral("Selecciona margen:|1 cm|1.5 cm|2.0 cm|1"));
        QCOMPARE(describe(oprui->radioruido), QStringLiteral("Imprimir|Señal ruido|-1"));
    }

    void choicesAndPrinterSettingsPersistCancelPrintsNothing() {
        openExample();
        TRIGGER_ENABLED(MainForm->printLasser);
        Fopprt1->opcion->item(1)->click();
        click(Fopprt1->BitBtn2);
        QVERIFY(Fopprt1->isHidden());
        TRIGGER_ENABLED(MainForm->printLasser);
        QCOMPARE(Fopprt1->opcion->itemIndex(), 1);
        FOPRT->SELECMAR->item(2)->click();
        FOPRT->close();
        QCOMPARE(FOPRT->SELECMAR->itemIndex(), 2);

        const QString first = printToFile("first.pdf");
        click(Fopprt1->BitBtn1);
        QVERIFY(QFile::remove(first));
        ldc::Uprint1::laserRecord() = {};
        m_dialogs->printAnswers.push_back(false);
        click(Fopprt1->BitBtn1);
        QCOMPARE(Fopprt1->printer().outputFileName(), first);  // what the first dialog set
        QVERIFY(!QFile::exists(first));
        QCOMPARE(ldc::Uprint1::laserRecord().slope, 0.0);  // not even the calculation ran
    }

    void acceptPrintsThePage_data() {
        QTest::addColumn<bool>("laser");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("margin");
        QTest::addColumn<QPoint>("method");  // where the method's name goes
        // Line L = 12 points at the layout's resolution: 100 pixels at 600 dpi, 50 at 300.
        // DeskJet x = M·S with S = 12 and M = 1, 3, 5; laser x = 45S whatever the margin.
        QTest::newRow("laser general page ignores the margin")
            << true << 0 << 2 << QPoint(540, 1500);
        QTest::newRow("laser results page") << true << 1 << 0 << QPoint(540, 4500);
        QTest::newRow("deskjet general page, 1 cm") << false << 0 << 0 << QPoint(12, 750);
        QTest::newRow("deskjet results page, 2.0 cm") << false << 1 << 2 << QPoint(60, 1750);
    }
    void acceptPrintsThePage() {
        QFETCH(bool, laser);
        QFETCH(int, page);
        QFETCH(int, margin);
        QFETCH(QPoint, method);
        QMap<QString, QPoint> places;
        PrintOptionsDialog::setSurfaceFactory([&places](QPrinter& printer, int resolution) {
            return std::make_unique<ProbeSurface>(printer, resolution, places);
        });
        openExample();
        FOPRT->SELECMAR->setItemIndex(margin);
        const QString path = printToFile(QTest::currentDataTag() + QStringLiteral(".pdf"));
        laser ? MainForm->PrintLasserClick() : MainForm->FilePrint();  // DeskJet: a hidden item
        PrintOptionsDialog* dialog = laser ? static_cast<PrintOptionsDialog*>(Fopprt1) : Fopprt;
        dialog->opcion->item(page)->click();
        click(dialog->BitBtn1);

        QCOMPARE(m_dialogs->errors, QStringList());
        QVERIFY(QFileInfo(path).size() > 1000);
        QCOMPARE(pageCount(path), 1);
        QVERIFY(dialog->isVisible());
        const QString name = "Valoración de cafeína por HPLC";
        QCOMPARE(places.value("Nombre del método: " + name, places.value(name)), method);
        const ldc::CalibrationResults& record =
            laser ? ldc::Uprint1::laserRecord() : ldc::Uprint::deskJetRecord();
        if (page == 1)  // the worked example's slope, in the print's own record
            QCOMPARE(qRound(record.slope * 1e6), 991667);
    }

    void longStudyPrintsContinuationPages() {
        openExample();
        copyStudy(ldc::testing::makeStudy(ldc::testing::uniformOutline(4, 30)), *Finforma);
        TRIGGER_ENABLED(MainForm->printLasser);
        const QString path = printToFile("120-rows.pdf");
        click(Fopprt1->BitBtn1);
        QCOMPARE(pageCount(path), 4);
    }

    // A print that stops on an error reaches neither the paper nor the file.
    void printsThatStopLeaveNoHalfDocument() {
        openExample();
        TRIGGER_ENABLED(MainForm->printLasser);
        Finforma->setCell(ldc::StudyGrid::stgnivel, 2, 2, "x");
        const QString path = printToFile("refused.pdf");
        click(Fopprt1->BitBtn1);
        QCOMPARE(m_dialogs->errors, QStringList{"'x' is not a valid integer value."});
        QVERIFY(!QFile::exists(path));

        // A place that cannot be written is reported, and the printer still serves.
        Finforma->setCell(ldc::StudyGrid::stgnivel, 2, 2, "3");
        printToFile("no-such-folder/refused.pdf");
        click(Fopprt1->BitBtn1);
        QCOMPARE(m_dialogs->errors.last(), QStringLiteral("No se pudo iniciar la impresión."));
        printToFile("refused.pdf");
        click(Fopprt1->BitBtn1);
        QCOMPARE(pageCount(path), 1);
        // Nothing half-made beside the PDFs.
        const QStringList files = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(files.filter(QRegularExpression("^\\.")), QStringList());
    }

    // The options outlive the study window: "Aceptar" must not read a closed one.
    void closedStudyShowsNoticeAndNoPrintDialog() {
        openExample();
        TRIGGER_ENABLED(MainForm->printLasser);
        TRIGGER_ENABLED(MainForm->mnuclose);
        flushDeletes();
        click(Fopprt1->BitBtn1);
        QTest::keyClick(Fopprt1, Qt::Key_Return);
        QVERIFY(Fopprt1->isVisible());
        QCOMPARE(m_dialogs->notices, QStringList(2, "No hay un estudio abierto para imprimir."));
        QCOMPARE(m_dialogs->printDialogs, 0);
    }

    void printerOptionsOpenTheChosenDialog() {
        for (int printer : {0, 1}) {
            Fopprt->hide();
            Fopprt1->hide();
            m_dialogs->modalResults.push_back(QDialog::Accepted);
            MainForm->mnuoprtClick();
            FOPRT->show();  // as the modal run shows it
            FOPRT->SELECPRT->item(printer)->click();
            click(FOPRT->BitBtn1);
            QVERIFY(FOPRT->isHidden());
            QCOMPARE(Fopprt1->isVisible(), printer == 1);
            QCOMPARE(Fopprt->isVisible(), printer == 0);
        }
        QCOMPARE(m_dialogs->modalRuns, 2);
    }

    void signalToNoiseIsInert() {
        openExample();
        MainForm->fileprt1();
        click(oprui->btnacep);
        QVERIFY(oprui->isVisible());
        QVERIFY(m_dialogs->printDialogs == 0 && m_dialogs->notices.isEmpty());
        click(oprui->BitBtn2);
        QVERIFY(oprui && oprui->isHidden());
    }
};

int main(int argc, char** argv) {
    LdcApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    PrintDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PrintDialogsTest.moc"
