#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include "PrintFixtures.h"
#include "StudyFixtures.h"
#include "app/LdcApplication.h"
#include "report/PrinterSurface.h"
#include "report/Uprint.h"
#include "report/Uprint1.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

using ldc::CalibrationResults;
using ldc::CalibrationStudy;
using ldc::testing::makeStudy;
using ldc::testing::workedExample;

// The printed reports on a PDF printer, as "print to file" in the print dialog makes them.
// Set LDC_PRINT_OUTPUT_DIR to keep the files and look at the pages.
class PrinterSurfaceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void measuresAtTheLayoutsResolution();
    void pagesPrintToPdf_data();
    void pagesPrintToPdf();
    void longListPrintsMorePages();
    void abandonedDocumentLeavesNoPdf();
    void abandonedDocumentKeepsTheEarlierPdf();
    void unwritablePlaceIsReportedAndThePrinterStaysUsable();

private:
    QString pdfPath(const QString& name) const { return m_dir.filePath(name); }
    static std::unique_ptr<QPrinter> pdfPrinter(const QString& path);
    static int pageCount(const QString& path);
    // Files a print left half-made beside its PDF.
    QStringList strayFiles() const {
        return QDir(m_dir.path())
            .entryList(QDir::Files | QDir::Hidden)
            .filter(QRegularExpression("^\\."));
    }

    QTemporaryDir m_dir;
};

void PrinterSurfaceTest::initTestCase() {
    ldc::setDecimalSeparator('.');
    QVERIFY(m_dir.isValid());
    if (qEnvironmentVariableIsSet("LDC_PRINT_OUTPUT_DIR")) {
        m_dir.setAutoRemove(false);
        qInfo() << "PDF files in" << m_dir.path();
    }
}

std::unique_ptr<QPrinter> PrinterSurfaceTest::pdfPrinter(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    printer->setOutputFileName(path);
    return printer;
}

int PrinterSurfaceTest::pageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") +
                            pdf.count("/Type /Page/") + pdf.count("/Type /Page>") +
                            pdf.count("/Type /Page "));
}

void PrinterSurfaceTest::measuresAtTheLayoutsResolution() {
    const auto printer = pdfPrinter(pdfPath("metrics.pdf"));
    PrinterSurface surface(*printer, ldc::Uprint1::kLayoutResolution);
    surface.setFont("ARIAL", 12);
    QCOMPARE(surface.fontHeight(), 100);  // 12 points at 600 dpi
    QCOMPARE(surface.fontPointSize(), 12);
    const int width = surface.textWidth("Control de Calidad");
    QVERIFY2(width > 600 && width < 1400, qPrintable(QString::number(width)));
    surface.setFont("ARIAL", 10);
    QVERIFY(surface.textWidth("Control de Calidad") < width);
    QCOMPARE(surface.pageWidth(), printer->width());
    QVERIFY(surface.pageHeight() > 6000);  // Letter less its margins

    PrinterSurface deskJet(*printer, ldc::Uprint::kLayoutResolution);
    deskJet.setFont("ARIAL", 12);
    QCOMPARE(deskJet.fontHeight(), 50);
    QCOMPARE(deskJet.fontPointSize(), 12);
    QCOMPARE(deskJet.pageWidth(), printer->width());
    QVERIFY(deskJet.pageWidth() < 2600);
}

void PrinterSurfaceTest::pagesPrintToPdf_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("page");  // 0 general, 1 results
    QTest::addColumn<bool>("laser");
    QTest::addColumn<QString>("basis");
    QTest::addColumn<int>("levels");  // 0: the worked example
    QTest::newRow("laser general") << "laser-general.pdf" << 0 << true << "Regresión" << 0;
    QTest::newRow("laser results") << "laser-results.pdf" << 1 << true << "Ordenada al Origen" << 0;
    QTest::newRow("laser ten levels") << "laser-ten-levels.pdf" << 0 << true << "Regresión" << 10;
    QTest::newRow("deskjet general") << "deskjet-general.pdf" << 0 << false << "Regresión" << 0;
    QTest::newRow("deskjet results") << "deskjet-results.pdf" << 1 << false << "Regresión" << 0;
    QTest::newRow("deskjet eight levels")
        << "deskjet-eight-levels.pdf" << 0 << false << "Regresión" << 8;
}

void PrinterSurfaceTest::pagesPrintToPdf() {
    QFETCH(QString, name);
    QFETCH(int, page);
    QFETCH(bool, laser);
    QFETCH(QString, basis);
    QFETCH(int, levels);
    const QString path = pdfPath(name);
    const auto printer = pdfPrinter(path);
    PrinterSurface surface(
        *printer, laser ? ldc::Uprint1::kLayoutResolution : ldc::Uprint::kLayoutResolution);
    const CalibrationStudy study = makeStudy(levels ? ldc::testing::uniformOutline(levels, 2)
                                                    : workedExample(basis.toStdString()));
    CalibrationResults record;
    if (laser)
        ldc::Uprint1::printLaserChoice(surface, study, page, record);
    else
        ldc::Uprint::printDeskJetChoice(surface, study, page, 3, record);
    QVERIFY(QFile::exists(path));
    QVERIFY(QFileInfo(path).size() > 1000);
    QCOMPARE(pageCount(path), 1);
    QCOMPARE(strayFiles(), QStringList());
}

void PrinterSurfaceTest::longListPrintsMorePages() {
    ldc::testing::StudyOutline outline;
    for (int i = 1; i <= 4; ++i) {
        outline.levelValues.push_back(std::to_string(i));
        outline.results.emplace_back(30, std::to_string(i) + ".0");
    }
    const QString path = pdfPath("laser-120-rows.pdf");
    const auto printer = pdfPrinter(path);
    PrinterSurface laser(*printer, ldc::Uprint1::kLayoutResolution);
    ldc::Uprint1::printGeneralPage(laser, makeStudy(outline));
    QCOMPARE(pageCount(path), 4);

    const QString deskJetPath = pdfPath("deskjet-120-rows.pdf");
    printer->setOutputFileName(deskJetPath);
    PrinterSurface deskJet(*printer, ldc::Uprint::kLayoutResolution);
    ldc::Uprint::printGeneralPage(deskJet, makeStudy(outline), 3);
    QVERIFY(pageCount(deskJetPath) >= 3);
}

void PrinterSurfaceTest::abandonedDocumentLeavesNoPdf() {
    const QString path = pdfPath("abandoned.pdf");
    const auto printer = pdfPrinter(path);
    PrinterSurface surface(*printer, ldc::Uprint1::kLayoutResolution);
    CalibrationStudy study = makeStudy(workedExample());
    study.setCell(ldc::StudyGrid::stgnivel, 2, 2, "tres");
    QVERIFY_THROWS_EXCEPTION(ldc::Error, ldc::Uprint1::printGeneralPage(surface, study));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(strayFiles(), QStringList());

    // The next print starts afresh on the same printer.
    ldc::Uprint1::printGeneralPage(surface, makeStudy(workedExample()));
    QCOMPARE(pageCount(path), 1);
}

void PrinterSurfaceTest::abandonedDocumentKeepsTheEarlierPdf() {
    const QString path = pdfPath("kept.pdf");
    const auto printer = pdfPrinter(path);
    PrinterSurface surface(*printer, ldc::Uprint::kLayoutResolution);
    CalibrationResults record;
    ldc::Uprint::printDeskJetChoice(surface, makeStudy(workedExample()), 1, 3, record);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    CalibrationStudy study = makeStudy(workedExample());
    study.setText(ldc::StudyField::enivel, "");
    QVERIFY_THROWS_EXCEPTION(ldc::Error, ldc::Uprint::printGeneralPage(surface, study, 3));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void PrinterSurfaceTest::unwritablePlaceIsReportedAndThePrinterStaysUsable() {
    const auto printer = pdfPrinter(pdfPath("no-such-folder/report.pdf"));
    PrinterSurface surface(*printer, ldc::Uprint1::kLayoutResolution);
    QVERIFY_THROWS_EXCEPTION(ldc::Error,
                             ldc::Uprint1::printGeneralPage(surface, makeStudy(workedExample())));
    const QString path = pdfPath("after-failure.pdf");
    printer->setOutputFileName(path);
    ldc::Uprint1::printGeneralPage(surface, makeStudy(workedExample()));
    QCOMPARE(pageCount(path), 1);
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    LdcApplication app(argc, argv);
    PrinterSurfaceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PrinterSurfaceTest.moc"
