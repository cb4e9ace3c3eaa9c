// The study's identity in the report window and the whole record as one PDF, from the menu
// and from the command line.

#include <QLabel>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "files/Sha256.h"
#include "report/PageIdentity.h"
#include "report/ui/ReportCommands.h"
#include "report/ui/Uinforme.h"
#include "study/ui/Fdatos.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int pageCount(const QByteArray& pdf) {
    return QString::fromLatin1(pdf).count(QRegularExpression("/Type\\s*/Page\\b"));
}

// How the document information holds a text: UTF-16BE in hexadecimal.
QByteArray infoEntry(const char* key, const QString& text) {
    QStringEncoder utf16(QStringEncoder::Utf16BE);
    return QByteArray(key) + " <FEFF" + QByteArray(utf16(text)).toHex().toUpper() + ">";
}

}  // namespace

class RecordTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;

    QString study() const { return m_dir.filePath("ejemplo.w9c"); }

private slots:
    void init() {
        m_dialogs = std::make_unique<ScriptedDialogs>();
        for (const QString& name : QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(m_dir.filePath(name));
        QVERIFY(QFile::copy(LDC_EXAMPLES_DIR "/ejemplo.w9c", study()));
        startFrame();
        MainForm->openStudyFile(study());
    }
    void cleanup() {
        stopFrame();
        m_dialogs.reset();
    }

    // Title, author, creator and subject name the study; both pages, each identified.
    void exportedRecordNamesTheStudyAndItsFile() {
        const QString pdf = m_dir.filePath("registro.pdf");
        m_dialogs->saveAnswers.push_back(pdf);
        TRIGGER_ENABLED(frameAction("FileExportRecordItem"));
        QCOMPARE(m_dialogs->errors, QStringList());
        QCOMPARE(m_dialogs->saveRequests.value(0).fileName, m_dir.filePath("ejemplo.pdf"));
        const QByteArray bytes = readAll(pdf);
        QCOMPARE(pageCount(bytes), 2);
        const QString sha = QString::fromStdString(*ldc::fileSha256Hex(study().toStdString()));
        for (const QByteArray& entry :
             {infoEntry("/Title", "Valoración de cafeína por HPLC"),
              infoEntry("/Author", "María López"), infoEntry("/Creator", "QORVAL v.w. 3.1"),
              infoEntry("/Subject", sha)})
            QVERIFY2(bytes.contains(entry), entry.constData());

        // The report window shows the same identity; an edit since the save shows instead.
        const auto identity = [] {
            // The report command itself: a study just opened offers it once its data are entered.
            frameChild<ReportCommands>("ReportCommands")->mnuinformeClick();
            const QMdiSubWindow* active = clientArea()->activeSubWindow();
            const auto* report = active ? qobject_cast<Tfrminforme*>(active->widget()) : nullptr;
            return report ? report->lidentidad->text() : QStringLiteral("<no report window>");
        };
        const QString shown = identity();
        QVERIFY2(shown.startsWith("Estudio: ejemplo.w9c · SHA-256: " + sha + "\nQORVAL"),
                 qPrintable(shown));
        Finforma->setText(ldc::StudyField::analyst, "Otra persona");
        QVERIFY(identity().contains(ldc::kModifiedSinceSaved));
    }

    // A record that cannot be completed leaves nothing behind, not even a part.
    void failedRecordLeavesNoFile() {
        Finforma->setText(ldc::StudyField::levelCount, "x");
        m_dialogs->saveAnswers.push_back(m_dir.filePath("roto.pdf"));
        TRIGGER_ENABLED(frameAction("FileExportRecordItem"));
        QCOMPARE(m_dialogs->errors.size(), 1);
        m_dialogs->errors.clear();
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"ejemplo.w9c"});
    }

    // `ldc --pdf` answers laboratory systems by its exit code and its standard error.
    void commandLineRecordExitCodes() {
        const QString pdf = m_dir.filePath("cli.pdf");
        const struct {
            QStringList arguments;
            int exitCode;
            int pages;  // -1: no PDF
        } rows[] = {{{"--pdf", pdf, study()}, 0, 2},
                    {{"--pdf", pdf, m_dir.filePath("falta.w9c")}, 1, -1},
                    {{"--pdf", pdf}, 2, -1}};
        for (const auto& row : rows) {
            QFile::remove(pdf);
            QProcess ldc;
            ldc.start(LDC_BINARY, row.arguments);
            QVERIFY(ldc.waitForFinished(60000));
            QCOMPARE(ldc.exitCode(), row.exitCode);
            if (row.exitCode != 0)  // the reason, in Spanish
                QVERIFY(ldc.readAllStandardError().contains(row.exitCode == 1 ? "ldc: "
                                                                              : "Uso: ldc --pdf"));
            QCOMPARE(QFile::exists(pdf) ? pageCount(readAll(pdf)) : -1, row.pages);
        }
    }
};

LDC_WIDGET_TEST_MAIN(RecordTest)

#include "RecordTest.moc"
