// The study's identity in the report window and the whole record as one PDF, from the menu
// and from the command line.

#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "files/Sha256.h"
#include "report/PageIdentity.h"
#include "report/ui/ReportCommands.h"
#include "study/ui/Fdatos.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int pageCount(const QByteArray& pdf) {
    return QString::fromLatin1(pdf).count(QRegularExpression("/Type\\s*/Page\\b"));
}

}  // namespace

class RecordTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { stopFrame(); }

    // Title, author, creator and subject name the study; both pages; the report window shows
    // the same identity, and an edit since the save instead of the hash. `ldc --pdf` answers
    // by its exit code and its standard error; a record that cannot be completed leaves no
    // PDF, not even a part of one.
    void recordFromTheMenuAndTheCommandLine() {
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        const QString study = dir.filePath("ejemplo.w9c"), pdf = dir.filePath("registro.pdf");
        QVERIFY(QFile::copy(LDC_EXAMPLES_DIR "/ejemplo.w9c", study));
        startFrame();
        MainForm->openStudyFile(study);
        dialogs.saveAnswers.push_back(pdf);
        TRIGGER_ENABLED(frameAction("FileExportRecordItem"));
        QCOMPARE(dialogs.saveRequests.value(0).fileName, dir.filePath("ejemplo.pdf"));
        const QByteArray bytes = readAll(pdf);
        QCOMPARE(pageCount(bytes), 4);  // general, results, validation over two
        const QString sha = QString::fromStdString(*ldc::fileSha256Hex(study.toStdString()));
        QStringEncoder utf16(QStringEncoder::Utf16BE);
        for (const auto& [key, text] :
             {std::pair{"/Title", QStringLiteral("Valoración de cafeína por HPLC")},
              {"/Author", QStringLiteral("María López")},
              {"/Creator", QStringLiteral("QORVAL v.w. 3.1")},
              {"/Subject", sha}})
            QVERIFY2(bytes.contains(key + QByteArray(" <FEFF") +
                                    QByteArray(utf16(text)).toHex().toUpper() + ">"),
                     key);

        const auto identity = [] {
            frameChild<ReportCommands>("ReportCommands")->mnuinformeClick();
            return MainForm->findChildren<QLabel*>("lidentidad").constLast()->text();
        };
        const QString shown = identity();
        // A hash line wider than the window must not make it wider.
        QVERIFY(clientArea()->activeSubWindow()->widget()->minimumSizeHint().width() < 435);
        QVERIFY2(shown.startsWith("Estudio: ejemplo.w9c · SHA-256: " + sha + "\nQORVAL"),
                 qPrintable(shown));
        Finforma->setText(ldc::StudyField::analyst, "Otra persona");
        QVERIFY(identity().contains(ldc::kModifiedSinceSaved));

        const QString broken = dir.filePath("roto.w9c");
        QFile file(broken);  // reads, prints its general page, but cannot be calculated
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write(readAll(study).replace("\r\n3\r\n2\r\n", "\r\n3\r\nx\r\n")));
        file.close();
        const struct {
            QStringList arguments;
            int exitCode, pages;  // -1 pages: no PDF
        } rows[] = {{{"--pdf", pdf, study}, 0, 4},
                    {{"--pdf", pdf, dir.filePath("falta.w9c")}, 1, -1},
                    {{"--pdf", pdf, broken}, 1, -1},
                    {{"--pdf", dir.filePath("falta/r.pdf"), study}, 1, -1},
                    {{"--pdf", pdf}, 2, -1}};
        for (const auto& row : rows) {
            QFile::remove(pdf);
            QProcess ldc;  // the record of the file, not of the window: unaffected by the edit
            ldc.start(LDC_BINARY, row.arguments);
            QVERIFY(ldc.waitForFinished(60000));
            QCOMPARE(ldc.exitCode(), row.exitCode);
            if (row.exitCode != 0)  // the reason, in Spanish
                QVERIFY(ldc.readAllStandardError().contains(row.exitCode == 1 ? "ldc: " : "Uso: "));
            QCOMPARE(QFile::exists(pdf) ? pageCount(readAll(pdf)) : -1, row.pages);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                     row.pages > 0 ? 4 : 3);  // the study, its trail, the broken one, the PDF
        }
    }
};

LDC_WIDGET_TEST_MAIN(RecordTest)

#include "RecordTest.moc"
