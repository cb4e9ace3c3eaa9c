// The print dialogs as the analyst meets them: created hidden at start-up, shown by the
// frame's commands, keeping their choices and printer settings between uses, printing the
// open study to a PDF file, and what "Aceptar" does without a study or with one that the
// layouts refuse.

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "app/LdcApplication.h"
#include "app/Main.h"
#include "calc/FormatGeneral.h"
#include "report/Opruido.h"
#include "report/PrintDialogs.h"
#include "report/RadioGroup.h"
#include "report/Uopprt.h"
#include "report/Uopprt1.h"
#include "report/Uoprt.h"
#include "report/Uprint.h"
#include "report/Uprint1.h"
#include "study/Fdatos.h"
#include "study/Numbers.h"

using ldc::StudyGrid;

namespace {

struct Drawn {
    int x = 0;
    int y = 0;
    std::string text;
};

// Stands in for the printer where a test needs to know where a layout put things: a font
// height that follows the resolution as a printer's does, 4 pixels per character per point.
class ProbeSurface : public ldc::DrawingSurface {
public:
    ProbeSurface(int resolution, std::vector<Drawn>& drawn)
        : m_resolution(resolution), m_drawn(drawn) {}

    void beginDoc() override {}
    void endDoc() override {}
    void abortDoc() override {}
    void newPage() override {}
    void setFont(const std::string&, int pointSize) override { m_pointSize = pointSize; }
    int fontHeight() const override {
        return static_cast<int>(std::lround(m_pointSize * m_resolution / 72.0));
    }
    int fontPointSize() const override { return m_pointSize; }
    int textWidth(const std::string& text) const override {
        return 4 * m_pointSize * static_cast<int>(text.size());
    }
    void textOut(int x, int y, const std::string& text) override {
        m_drawn.push_back({x, y, text});
    }
    void moveTo(int, int) override {}
    void lineTo(int, int) override {}
    int pageWidth() const override { return 8 * m_resolution; }
    int pageHeight() const override { return 10 * m_resolution; }

private:
    int m_resolution;
    int m_pointSize = 0;
    std::vector<Drawn>& m_drawn;
};

QString examplePath() {
    return QStringLiteral(LDC_EXAMPLES_DIR "/ejemplo.w9c");
}

PrintOptionsDialog* optionsDialog(bool laser) {
    return laser ? static_cast<PrintOptionsDialog*>(Fopprt1.data())
                 : static_cast<PrintOptionsDialog*>(Fopprt.data());
}

}  // namespace

class PrintDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void createdHiddenAtStartUp();
    void commandsShowTheDialogs();
    void choicesAndPrinterSettingsPersist();
    void cancelledPrintDialogPrintsNothing();
    void acceptPrintsThePage_data();
    void acceptPrintsThePage();
    void noStudyShowsNoticeAndNoPrintDialog_data();
    void noStudyShowsNoticeAndNoPrintDialog();
    void refusedCompositionReachesErrorBox();
    void printerOptionsOpenTheChosenDialog();
    void marginReachesTheDeskJetLayout_data();
    void marginReachesTheDeskJetLayout();
    void signalToNoiseAcceptDoesNothing();

private:
    void openExample();
    void printToFile(const QString& path);
    static void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::vector<Drawn> m_drawn;
};

void PrintDialogsTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    if (qEnvironmentVariableIsSet("LDC_PRINT_OUTPUT_DIR")) {
        m_dir.setAutoRemove(false);
        qInfo() << "PDF files in" << m_dir.path();
    }
    createPrintDialogs();
}

void PrintDialogsTest::cleanupTestCase() {
    destroyPrintDialogs();
}

void PrintDialogsTest::init() {
    ldc::setDecimalSeparator('.');
    m_dialogs = std::make_unique<ScriptedDialogs>();
    startFrame();
    for (QDialog* dialog : std::initializer_list<QDialog*>{Fopprt1, FOPRT, oprui, Fopprt})
        dialog->hide();
    Fopprt1->opcion->setItemIndex(0);
    Fopprt->opcion->setItemIndex(0);
    FOPRT->SELECPRT->setItemIndex(0);
    FOPRT->SELECMAR->setItemIndex(1);
    m_drawn.clear();
}

void PrintDialogsTest::cleanup() {
    PrintOptionsDialog::setSurfaceFactory({});
    stopFrame();
    m_dialogs.reset();
}

void PrintDialogsTest::openExample() {
    m_dialogs->openAnswers.push_back(examplePath());
    TRIGGER_ENABLED(MainForm->FileOpenItem);
    QVERIFY(Finforma);
}

// The analyst picks "print to file" in the print dialog.
void PrintDialogsTest::printToFile(const QString& path) {
    m_dialogs->printAnswers.push_back(true);
    m_dialogs->configurePrinter = [path](QPrinter* printer) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
    };
}

void PrintDialogsTest::createdHiddenAtStartUp() {
    destroyPrintDialogs();
    QVERIFY(!Fopprt1 && !FOPRT && !oprui && !Fopprt);
    createPrintDialogs();

    struct Expected {
        QDialog* dialog;
        QString caption;
        QSize size;
    };
    const Expected expected[] = {
        {Fopprt1, "opciones", {381, 197}},
        {FOPRT, "Opciones de impresión", {316, 272}},
        {oprui, "Imprime cuantificacion por señal ruido ", {381, 197}},
        {Fopprt, "opciones", {381, 197}},
    };
    for (const Expected& e : expected) {
        QVERIFY(e.dialog);
        QVERIFY2(e.dialog->isHidden(), qPrintable(e.caption));
        // Windows of their own, not children of the frame.
        QVERIFY(e.dialog->isWindow());
        QCOMPARE(e.dialog->parentWidget(), nullptr);
        QCOMPARE(e.dialog->windowTitle(), e.caption);
        QCOMPARE(e.dialog->size(), e.size);
    }

    QCOMPARE(Fopprt1->opcion->title(), QStringLiteral("Imprimir en Lasser :"));
    QCOMPARE(Fopprt->opcion->title(), QStringLiteral("Imprimir:"));
    for (PrintOptionsDialog* dialog : {optionsDialog(true), optionsDialog(false)}) {
        QCOMPARE(dialog->opcion->count(), 2);
        QCOMPARE(dialog->opcion->item(0)->text(), QStringLiteral("Información y Datos Generales"));
        QCOMPARE(dialog->opcion->item(1)->text(),
                 QStringLiteral("Límite de Detección y Cuantificación del Método"));
        QCOMPARE(dialog->opcion->itemIndex(), 0);
        QCOMPARE(dialog->findChild<RadioGroup*>("opcion"), dialog->opcion);
        QCOMPARE(dialog->BitBtn1->text(), QStringLiteral("Aceptar"));
        QVERIFY(dialog->BitBtn1->isDefault());
        QCOMPARE(dialog->BitBtn2->text(), QStringLiteral("Cancelar"));
    }

    QVERIFY(FOPRT->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(FOPRT->SELECPRT->title(), QStringLiteral("Tipo de Impresora :"));
    QCOMPARE(FOPRT->SELECPRT->item(1)->text(), QStringLiteral("Impresora Laser Jet"));
    QCOMPARE(FOPRT->SELECPRT->itemIndex(), 0);
    QCOMPARE(FOPRT->SELECMAR->title(), QStringLiteral("Selecciona margen:"));
    QCOMPARE(FOPRT->SELECMAR->count(), 3);
    QCOMPARE(FOPRT->SELECMAR->item(2)->text(), QStringLiteral("2.0 cm"));
    QCOMPARE(FOPRT->SELECMAR->itemIndex(), 1);

    QCOMPARE(oprui->radioruido->title(), QStringLiteral("Imprimir"));
    QCOMPARE(oprui->radioruido->count(), 1);
    QCOMPARE(oprui->radioruido->item(0)->text(), QStringLiteral("Señal ruido"));
    QCOMPARE(oprui->radioruido->itemIndex(), -1);
}

void PrintDialogsTest::commandsShowTheDialogs() {
    openExample();
    TRIGGER_ENABLED(MainForm->printLasser);
    QVERIFY(Fopprt1->isVisible());
    Fopprt1->hide();
    QTest::mouseClick(MainForm->spdprint, Qt::LeftButton);
    QVERIFY(Fopprt1->isVisible());

    // The DeskJet item is never shown (and so never chosen), but its command stands ready.
    QVERIFY(!MainForm->PrintDeskjet->isVisible());
    MainForm->PrintDeskjet->trigger();
    QVERIFY(Fopprt->isVisible());

    MainForm->fileprt1();
    QVERIFY(oprui->isVisible());

    m_dialogs->modalResults.push_back(QDialog::Accepted);
    MainForm->mnuoprtClick();
    QCOMPARE(m_dialogs->modalRuns, 1);
    QCOMPARE(m_dialogs->printDialogs, 0);
}

void PrintDialogsTest::choicesAndPrinterSettingsPersist() {
    MainForm->PrintLasserClick();
    Fopprt1->opcion->item(1)->click();
    click(Fopprt1->BitBtn2);
    QVERIFY(Fopprt1->isHidden());
    MainForm->PrintLasserClick();
    QCOMPARE(Fopprt1->opcion->itemIndex(), 1);
    // Esc and the close box hide it too, and the choice stays.
    QTest::keyClick(Fopprt1, Qt::Key_Escape);
    QVERIFY(Fopprt1->isHidden());
    MainForm->PrintLasserClick();
    Fopprt1->close();
    QVERIFY(Fopprt1);
    QCOMPARE(Fopprt1->opcion->itemIndex(), 1);

    FOPRT->SELECMAR->item(2)->click();
    FOPRT->close();
    QCOMPARE(FOPRT->SELECMAR->itemIndex(), 2);

    // What the first print dialog set is there at the second.
    openExample();
    const QString first = m_dir.filePath("first.pdf");
    printToFile(first);
    MainForm->PrintLasserClick();
    click(Fopprt1->BitBtn1);
    m_dialogs->printAnswers.push_back(false);
    m_dialogs->configurePrinter = {};
    click(Fopprt1->BitBtn1);
    QCOMPARE(Fopprt1->printer().outputFileName(), first);
    QCOMPARE(m_dialogs->printDialogs, 2);
    QVERIFY(m_dialogs->errors.isEmpty());
}

void PrintDialogsTest::cancelledPrintDialogPrintsNothing() {
    openExample();
    const QString path = m_dir.filePath("cancelled.pdf");
    m_dialogs->printAnswers.push_back(false);
    m_dialogs->configurePrinter = [path](QPrinter* printer) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
    };
    Fopprt1->opcion->setItemIndex(1);
    MainForm->PrintLasserClick();
    ldc::Uprint1::laserRecord() = {};
    click(Fopprt1->BitBtn1);
    QCOMPARE(m_dialogs->printDialogs, 1);
    QVERIFY(!QFile::exists(path));
    // Not even the calculation ran.
    QCOMPARE(ldc::Uprint1::laserRecord().slope, 0.0);
    QVERIFY(Fopprt1->isVisible());
}

void PrintDialogsTest::acceptPrintsThePage_data() {
    QTest::addColumn<bool>("laser");
    QTest::addColumn<int>("page");
    QTest::newRow("laser general page") << true << 0;
    QTest::newRow("laser results page") << true << 1;
    QTest::newRow("deskjet general page") << false << 0;
    QTest::newRow("deskjet results page") << false << 1;
}

void PrintDialogsTest::acceptPrintsThePage() {
    QFETCH(bool, laser);
    QFETCH(int, page);
    openExample();
    const QString path = m_dir.filePath(QStringLiteral("%1-%2.pdf")
                                            .arg(laser ? "laser" : "deskjet")
                                            .arg(page ? "results" : "general"));
    QFile::remove(path);
    printToFile(path);
    PrintOptionsDialog* dialog = optionsDialog(laser);
    laser ? MainForm->PrintLasserClick() : MainForm->FilePrint();
    dialog->opcion->item(page)->click();
    click(dialog->BitBtn1);

    QVERIFY(m_dialogs->errors.isEmpty());
    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY(bytes.size() > 1000);
    QVERIFY(dialog->isVisible());
    if (page == 1) {
        // The worked example's slope, in the print's own record.
        const ldc::CalibrationResults& record =
            laser ? ldc::Uprint1::laserRecord() : ldc::Uprint::deskJetRecord();
        QCOMPARE(ldc::formatGeneral(record.slope), std::string("0.991667"));
    }
}

void PrintDialogsTest::noStudyShowsNoticeAndNoPrintDialog_data() {
    QTest::addColumn<bool>("laser");
    QTest::addColumn<bool>("closedStudy");
    QTest::newRow("laser, no study yet") << true << false;
    QTest::newRow("deskjet, no study yet") << false << false;
    QTest::newRow("laser, study window closed") << true << true;
}

void PrintDialogsTest::noStudyShowsNoticeAndNoPrintDialog() {
    QFETCH(bool, laser);
    QFETCH(bool, closedStudy);
    if (closedStudy) {
        openExample();
        MainForm->PrintLasserClick();
        TRIGGER_ENABLED(MainForm->mnuclose);
        flushDeletes();
    }
    QVERIFY(!Finforma);
    PrintOptionsDialog* dialog = optionsDialog(laser);
    dialog->show();
    click(dialog->BitBtn1);
    QTest::keyClick(dialog, Qt::Key_Return);
    QCOMPARE(m_dialogs->notices, QStringList(2, "No hay un estudio abierto para imprimir."));
    QCOMPARE(m_dialogs->printDialogs, 0);
    QVERIFY(m_dialogs->errors.isEmpty());
    QVERIFY(dialog->isVisible());
}

void PrintDialogsTest::refusedCompositionReachesErrorBox() {
    openExample();
    Finforma->setCell(StudyGrid::stgnivel, 2, 2, "x");
    const QString path = m_dir.filePath("refused.pdf");
    printToFile(path);
    MainForm->PrintLasserClick();
    click(Fopprt1->BitBtn1);
    QCOMPARE(m_dialogs->errors, QStringList{"'x' is not a valid integer value."});
    QVERIFY(!QFile::exists(path));

    Finforma->setCell(StudyGrid::stgnivel, 2, 2, "3");
    printToFile(path);
    click(Fopprt1->BitBtn1);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(QFile::exists(path));
}

void PrintDialogsTest::printerOptionsOpenTheChosenDialog() {
    struct Case {
        int printer;
        QDialog* opened;
        QDialog* left;
    };
    for (const Case& c : {Case{0, Fopprt, Fopprt1}, Case{1, Fopprt1, Fopprt}}) {
        Fopprt->hide();
        Fopprt1->hide();
        m_dialogs->modalResults.push_back(QDialog::Accepted);
        MainForm->mnuoprtClick();
        FOPRT->show();  // as the modal run shows it
        FOPRT->SELECPRT->item(c.printer)->click();
        FOPRT->SELECMAR->item(0)->click();
        click(FOPRT->BitBtn1);
        QVERIFY(c.opened->isVisible());
        QVERIFY(c.left->isHidden());
        QVERIFY(FOPRT->isHidden());
        QCOMPARE(FOPRT->result(), int(QDialog::Accepted));
    }
}

void PrintDialogsTest::marginReachesTheDeskJetLayout_data() {
    QTest::addColumn<bool>("laser");
    QTest::addColumn<int>("margin");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    // DeskJet: M·S with S = 12 and M = 1, 3, 5; line 15 at 50 pixels a line (300 dpi).
    QTest::newRow("1 cm") << false << 0 << 0 << 12 << 750;
    QTest::newRow("1.5 cm") << false << 1 << 0 << 36 << 750;
    QTest::newRow("2.0 cm") << false << 2 << 0 << 60 << 750;
    QTest::newRow("2.0 cm, results page") << false << 2 << 1 << 60 << 1750;
    // Laser: 45S whatever the margin, line 15 at 100 pixels a line (600 dpi).
    QTest::newRow("laser ignores the margin") << true << 2 << 0 << 540 << 1500;
}

void PrintDialogsTest::marginReachesTheDeskJetLayout() {
    QFETCH(bool, laser);
    QFETCH(int, margin);
    QFETCH(int, page);
    QFETCH(int, x);
    QFETCH(int, y);
    PrintOptionsDialog::setSurfaceFactory([this](QPrinter&, int resolution) {
        return std::make_unique<ProbeSurface>(resolution, m_drawn);
    });
    openExample();
    FOPRT->SELECMAR->setItemIndex(margin);
    PrintOptionsDialog* dialog = optionsDialog(laser);
    dialog->opcion->setItemIndex(page);
    m_dialogs->printAnswers.push_back(true);
    click(dialog->BitBtn1);

    // The method's name: on the general page after its label, on the DeskJet results page
    // on the line below it.
    const std::string method = "Valoración de cafeína por HPLC";
    const auto found = std::find_if(m_drawn.begin(), m_drawn.end(), [&](const Drawn& d) {
        return d.text == "Nombre del método: " + method || (page == 1 && d.text == method);
    });
    QVERIFY(found != m_drawn.end());
    QCOMPARE(found->x, x);
    QCOMPARE(found->y, y);
}

void PrintDialogsTest::signalToNoiseAcceptDoesNothing() {
    openExample();
    MainForm->fileprt1();
    QVERIFY(oprui->isVisible());
    click(oprui->btnacep);
    QTest::keyClick(oprui, Qt::Key_Return);
    QVERIFY(oprui->isVisible());
    QCOMPARE(oprui->radioruido->itemIndex(), -1);
    QCOMPARE(m_dialogs->printDialogs, 0);
    QVERIFY(m_dialogs->notices.isEmpty() && m_dialogs->errors.isEmpty());
    click(oprui->BitBtn2);
    QVERIFY(oprui->isHidden());
    QVERIFY(oprui);
}

int main(int argc, char** argv) {
    LdcApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    PrintDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PrintDialogsTest.moc"
