// The audit trail as the analyst leaves it: open, calculate, print, edit and save, then the
// history; and a save whose trail cannot be written.

#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "StudyFixtures.h"
#include "files/AuditTrail.h"
#include "files/ui/StudyHistoryWindow.h"
#include "report/ui/PrintDialogs.h"
#include "report/ui/RadioGroup.h"
#include "report/ui/Uopprt1.h"

class StudyAuditTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QTemporaryDir m_dir;
    QString m_study;

    std::vector<ldc::AuditTrailLine> entries() const {
        return ldc::readAuditTrail(m_study.toStdString()).entries;
    }
    void editAndSave(const QString& method) {
        Finforma->emetodo->setText(method);
        framePanel("estado")->setText(QStringLiteral("Modificado"));
        TRIGGER_ENABLED(frameAction("FileSaveItem"));
    }

private slots:
    void initTestCase() { createPrintDialogs(); }
    void cleanupTestCase() { destroyPrintDialogs(); }
    void init() {
        m_dialogs = std::make_unique<ScriptedDialogs>();
        startFrame();
        m_study = m_dir.filePath(QStringLiteral("estudio.w9c"));
        QFile::remove(m_study + ".auditoria");
        ldc::saveStudyFile(m_study.toStdString(),
                           ldc::testing::makeStudy(ldc::testing::workedExample()));
        m_dialogs->openAnswers.push_back(m_study);
        TRIGGER_ENABLED(frameAction("FileOpenItem"));
    }
    void cleanup() { stopFrame(); }

    void eachActionOnAStudyWithAFileIsRecorded() {
        entry::clickTab(*Finforma, 2);
        entry::chooseMenuItem(frameMenu("mnucalculos"), frameAction("mnudunet"));
        entry::chooseMenuItem(frameMenu("mnucalculos"), frameAction("mnuvalidacion"));
        m_dialogs->saveAnswers.push_back(m_dir.filePath(QStringLiteral("registro.pdf")));
        TRIGGER_ENABLED(frameAction("FileExportRecordItem"));
        TRIGGER_ENABLED(frameAction("printLasser"));
        m_dialogs->printAnswers.push_back(true);
        const QString pdf = m_dir.filePath(QStringLiteral("general.pdf"));
        m_dialogs->configurePrinter = [pdf](QPrinter* printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
        };
        QTest::mouseClick(Fopprt1->BitBtn1, Qt::LeftButton);
        editAndSave(QStringLiteral("Método revisado"));
        QCOMPARE(m_dialogs->errors, QStringList());

        QStringList recorded;
        for (const ldc::AuditTrailLine& line : entries())
            recorded << QString::fromStdString(line.entry.action + "|" +
                                               line.entry.detail.value_or(""));
        QCOMPARE(recorded,
                 QStringList({"abrir|", "calcular|Detección y Cuantificación",
                              "calcular|Validación estadística", "exportar_pdf|registro.pdf",
                              "imprimir|Lasser: Información y Datos Generales; "
                              "archivo «" +
                                  pdf + "»",
                              "guardar|"}));
        QCOMPARE(
            entries().back().entry.changes,
            (std::vector<ldc::AuditChange>{{"Método", "Valoración de prueba", "Método revisado"}}));

        TRIGGER_ENABLED(frameAction("HelpHistoryItem"));
        auto* history =
            qobject_cast<StudyHistoryWindow*>(clientArea()->activeSubWindow()->widget());
        QVERIFY(history);
        QVERIFY(
            history->lveredicto->text().startsWith("Registro de auditoría íntegro (6 entradas)"));
        QCOMPARE(history->tblhistorial->rowCount(), 6);
        QCOMPARE(history->tblhistorial->item(5, 5)->text(),
                 QStringLiteral("Método: «Valoración de prueba» → «Método revisado»"));
    }

    // The study is saved, the analyst is told the entry is missing, and the study stays
    // modified so that it is saved again once the trail can be written.
    void aSaveWhoseEntryCannotBeWrittenKeepsTheStudyModified() {
        QVERIFY(QFile::remove(m_study + ".auditoria"));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("estudio.w9c.auditoria")));
        editAndSave(QStringLiteral("Método revisado"));
        QCOMPARE(m_dialogs->errors,
                 QStringList("El estudio se guardó en «estudio.w9c», pero no se pudo escribir su "
                             "registro de auditoría «estudio.w9c.auditoria»: es una carpeta, no "
                             "un archivo.\nFile access denied."));
        QCOMPARE(framePanel("estado")->text(), QStringLiteral("Modificado"));
        // Saved again once the trail can be written, the entry holds the changes of both.
        QVERIFY(QDir(m_dir.path()).rmdir(QStringLiteral("estudio.w9c.auditoria")));
        TRIGGER_ENABLED(frameAction("FileSaveItem"));
        QCOMPARE(framePanel("estado")->text(), QString());
        QCOMPARE(
            entries().at(0).entry.changes,
            (std::vector<ldc::AuditChange>{{"Método", "Valoración de prueba", "Método revisado"}}));
    }
};

LDC_WIDGET_TEST_MAIN(StudyAuditTest)

#include "StudyAuditTest.moc"
