// The frame's file commands on a real study window and real files: their dialogs,
// captions, edit marker and command states, and what survives a file that fails.

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "StudyFixtures.h"
#include "app/LdcApplication.h"
#include "files/StudyFile.h"
#include "study/Numbers.h"

using ldc::StudyField;
using ldc::StudyGrid;

namespace {

// Accents, decimal commas, uneven replicate counts and the never-shown second values.
ldc::CalibrationStudy sampleStudy() {
    ldc::CalibrationStudy study =
        ldc::testing::makeStudy({{"0,5", "1", "2,5"},
                                 {{"0,49", "0,52"}, {"1,01", "0,98", "1,02"}, {"2,47"}},
                                 "Ordenada al Origen",
                                 "µg",
                                 "µg/mL"});
    study.setText(StudyField::emetodo, "Cafeína por HPLC");
    for (int r = 1; r <= 6; ++r)
        study.setCell(StudyGrid::stgdatos, 2, r, "s" + std::to_string(r));
    return study;
}

std::string methodIn(const QString& path) {
    ldc::CalibrationStudy study;
    ldc::openStudyFile(QFile::encodeName(path).toStdString(), study);
    return study.text(StudyField::emetodo);
}

}  // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ldc::setDecimalSeparator(','); }
    void init() {
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_dir = std::make_unique<QTemporaryDir>();
        startFrame();
    }
    void cleanup() {
        stopFrame();
        m_dialogs.reset();
        QCOMPARE(QApplication::overrideCursor(), nullptr);  // every path restores the pointer
    }

    void newGivesTheInitialStudy() {
        m_dialogs->openAnswers.push_back(std::nullopt);
        TRIGGER_ENABLED(MainForm->FileOpenItem);
        QVERIFY(openChildren().isEmpty());  // a cancelled Open changes nothing
        QCOMPARE(availableCommands(), kIdleCommands);
        MainForm->estado->setText(QStringLiteral("Modificado"));
        TRIGGER_ENABLED(MainForm->FileNewItem);
        QCOMPARE(MainForm->ClientArea->currentSubWindow()->widget(), Finforma.data());
        QCOMPARE(Finforma->windowTitle(), QStringLiteral("Nuevo"));
        QCOMPARE(MainForm->estado->text(), QString());
        QCOMPARE(Finforma->text(StudyField::enivel), "3");
        QCOMPARE(Finforma->cell(StudyGrid::stgnivel, 3, 0), "Nivel 3");
        QCOMPARE(Finforma->cell(StudyGrid::stgnivel, 0, 2), "Replicación >>");
        QCOMPARE(Finforma->rowCount(StudyGrid::stgdatos), 10);
        QCOMPARE(availableCommands(), kAfterNewCommands);
    }

    void openFillsEveryFieldCellAndLabel() {
        const QString file = writeSample(QStringLiteral("cafeína.w9c"));
        MainForm->estado->setText(QStringLiteral(" "));
        open(file);
        QCOMPARE(m_dialogs->openRequests.first().title, QStringLiteral("Abrir Documento"));
        QCOMPARE(m_dialogs->openRequests.first().filter, QStringLiteral("Qorval v.w 3.0 (*.w9c)"));
        QCOMPARE(Finforma->windowTitle(), file);
        // What the window holds would be written back byte for byte: every field and cell.
        QCOMPARE(ldc::studyFileBytes(*Finforma), ldc::studyFileBytes(sampleStudy()));
        QStringList labels;
        for (int r = 1; r <= 6; ++r)
            labels << QString::fromStdString(Finforma->cell(StudyGrid::stgdatos, 0, r));
        QCOMPARE(labels, QStringList({"Nivel 1 , Replica 1", "Nivel 1 , Replica 2",
                                      "Nivel 2 , Replica 1", "Nivel 2 , Replica 2",
                                      "Nivel 2 , Replica 3", "Nivel 3 , Replica 1"}));
        QCOMPARE(MainForm->estado->text(), QStringLiteral(" "));  // Open leaves the marker
        QCOMPARE(availableCommands(), kAfterOpenCommands);
    }

    void saveOfANewStudyAsksOnceThenRewrites() {
        TRIGGER_ENABLED(MainForm->FileNewItem);
        copyStudy(sampleStudy(), *Finforma);
        MainForm->estado->setText(QStringLiteral("Modificado"));
        const QString file = path(QStringLiteral("nuevo.w9c"));
        m_dialogs->saveAnswers.push_back(file);
        TRIGGER_ENABLED(MainForm->FileSaveItem);
        QCOMPARE(m_dialogs->saveRequests.first().title, QStringLiteral("Guardar como"));
        QCOMPARE(m_dialogs->saveRequests.first().fileName, QStringLiteral("Nuevo"));
        QCOMPARE(Finforma->windowTitle(), file);
        QCOMPARE(MainForm->estado->text(), QString());
        QCOMPARE(methodIn(file), "Cafeína por HPLC");

        Finforma->emetodo->setText(QStringLiteral("Segunda versión"));
        MainForm->estado->setText(QStringLiteral("Modificado"));
        TRIGGER_ENABLED(MainForm->FileSaveItem);
        QCOMPARE(m_dialogs->saveRequests.size(), 1);
        QCOMPARE(methodIn(file), "Segunda versión");
        QCOMPARE(MainForm->estado->text(), QString());
    }

    void saveAsProposalsAndCancels() {
        const QString earlier = writeSample(QStringLiteral("anterior.w9c"));
        open(earlier);
        m_dialogs->saveAnswers.push_back(std::nullopt);
        TRIGGER_ENABLED(MainForm->FileSaveAsItem);
        QCOMPARE(m_dialogs->saveRequests.last().fileName, earlier);
        TRIGGER_ENABLED(MainForm->mnuclose);
        flushDeletes();

        // A new study: Save As offers the earlier file, Save offers "Nuevo"; both cancelled.
        TRIGGER_ENABLED(MainForm->FileNewItem);
        MainForm->estado->setText(QStringLiteral("Modificado"));
        m_dialogs->saveAnswers = {std::nullopt, std::nullopt};
        TRIGGER_ENABLED(MainForm->FileSaveAsItem);
        QCOMPARE(m_dialogs->saveRequests.last().fileName, earlier);
        TRIGGER_ENABLED(MainForm->FileSaveItem);
        QCOMPARE(m_dialogs->saveRequests.last().fileName, QStringLiteral("Nuevo"));
        QCOMPARE(Finforma->windowTitle(), QStringLiteral("Nuevo"));
        QCOMPARE(MainForm->estado->text(), QStringLiteral("Modificado"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"anterior.w9c"});
        QCOMPARE(methodIn(earlier), "Cafeína por HPLC");
    }

    void closeTakesTheActiveChildOnly() {
        open(writeSample(QStringLiteral("cerrar.w9c")));
        QMdiSubWindow* study = MainForm->ClientArea->currentSubWindow();
        addPlainChild(11);
        TRIGGER_ENABLED(MainForm->mnuclose);
        flushDeletes();
        QCOMPARE(openChildren(), QList<QMdiSubWindow*>{study});
        QCOMPARE(availableCommands(), kAfterOpenCommands);
        QMdiSubWindow* results = addPlainChild(11);
        MainForm->ClientArea->setActiveSubWindow(study);
        TRIGGER_ENABLED(MainForm->mnuclose);
        flushDeletes();
        QCOMPARE(openChildren(), QList<QMdiSubWindow*>{results});
        QVERIFY(m_dialogs->questions.isEmpty());  // an opened, unedited study asks nothing
        // New and Open at once, though another child window stays open.
        QCOMPARE(availableCommands(), kIdleCommands);
    }

    void brokenFileIsReportedAndLeavesNoStudyWindow_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        const QByteArray head = "m\r\na\r\nf\r\nmg\r\nmg\r\nRegresi\xf3n\r\n";
        QTest::newRow("before the window is filled")
            << head + "abc\r\n"
            << QStringLiteral("'abc' is not a valid integer value.");
        QTest::newRow("after the window is filled")
            << head + "2\r\n1\r\n2.5\r\n2\r\n2\r\n4\r\n1\r\n1\r\n2\r\n2\r\n\r\n\r\n\r\n\r\n"
            << QStringLiteral("'2.5' is not a valid integer value.");
    }
    void brokenFileIsReportedAndLeavesNoStudyWindow() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFile file(path(QStringLiteral("roto.w9c")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        m_dialogs->openAnswers = {file.fileName(), writeSample(QStringLiteral("bueno.w9c"))};
        entry::chooseMenuItem(MainForm->FileMenu, MainForm->FileOpenItem);
        QCOMPARE(m_dialogs->errors, QStringList{message});
        QVERIFY(openChildren().isEmpty());
        QCOMPARE(availableCommands(), kIdleCommands);
        QCOMPARE(MainForm->SaveDialog.fileName, QStringLiteral("Nuevo"));
        // The frame is as before: a good file opens into the one study window.
        entry::chooseMenuItem(MainForm->FileMenu, MainForm->FileOpenItem);
        QCOMPARE(openChildren().size(), 1);
    }

    void failedSavesKeepTheOldFileAndTheState() {
        const QString file = writeSample(QStringLiteral("guardado.w9c"));
        open(file);
        // A text the file's code page cannot hold stops the save.
        Finforma->emetodo->setText(QStringLiteral("Método 日本"));
        MainForm->estado->setText(QStringLiteral("Modificado"));
        entry::chooseMenuItem(MainForm->FileMenu, MainForm->FileSaveItem);
        QCOMPARE(m_dialogs->errors.size(), 1);
        QVERIFY(m_dialogs->errors.first().endsWith(QLatin1Char('.')));
        QCOMPARE(methodIn(file), "Cafeína por HPLC");
        QCOMPARE(MainForm->estado->text(), QStringLiteral("Modificado"));
        // Save As into a missing folder leaves the study bound to its own file.
        Finforma->emetodo->setText(QStringLiteral("Método nuevo"));
        m_dialogs->saveAnswers.push_back(path(QStringLiteral("no-existe/otro.w9c")));
        entry::chooseMenuItem(MainForm->FileMenu, MainForm->FileSaveAsItem);
        QCOMPARE(m_dialogs->errors.size(), 2);
        QCOMPARE(Finforma->windowTitle(), file);
        QCOMPARE(MainForm->estado->text(), QStringLiteral("Modificado"));
        TRIGGER_ENABLED(MainForm->FileSaveItem);
        QCOMPARE(methodIn(file), "Método nuevo");
    }

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString writeSample(const QString& name) {
        ldc::saveStudyFile(QFile::encodeName(path(name)).toStdString(), sampleStudy());
        return path(name);
    }
    void open(const QString& file) {
        m_dialogs->openAnswers.push_back(file);
        TRIGGER_ENABLED(MainForm->FileOpenItem);
    }

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<QTemporaryDir> m_dir;
};

int main(int argc, char** argv) {
    LdcApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    FileCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FileCommandsTest.moc"
