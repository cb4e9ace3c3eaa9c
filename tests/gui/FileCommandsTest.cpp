// The frame's file commands on a real study window and real files.

#include <QDir>
#include <QTemporaryDir>

#include <memory>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "StudyFixtures.h"
#include "app/StudyArguments.h"
#include "files/StudyFile.h"
#include "files/ui/FileCommands.h"

using ldc::StudyField;

class FileCommandsTest : public QObject {
    Q_OBJECT

private slots:
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

    // A new study saved half-typed (counts still empty) is opened again as it stood.
    void aHalfTypedStudySavesClosesAndOpensAsItStood() {
        framePanel("estado")->setText(QStringLiteral("Modificado"));
        TRIGGER_ENABLED(frameAction("FileNewItem"));
        QCOMPARE(framePanel("estado")->text(), QString());
        entry::settle();
        entry::type(QStringLiteral("Cafeína"));
        entry::clickTab(*Finforma, 1);
        entry::press(Qt::Key_Tab);
        entry::press(Qt::Key_Tab);  // past "Aceptar niveles", into the level grid
        entry::type(QStringLiteral("0,5"));
        entry::press(Qt::Key_Tab);
        entry::type(QStringLiteral("1.5"));
        const QString file = path(QStringLiteral("nuevo.w9c"));
        m_dialogs->saveAnswers.push_back(file);
        TRIGGER_ENABLED(frameAction("FileSaveItem"));
        const FileDialogRequest& proposal = m_dialogs->saveRequests.first();
        QCOMPARE(proposal.title + "|" + proposal.fileName, QStringLiteral("Guardar como|Nuevo"));
        QCOMPARE(Finforma->windowTitle(), file);
        QCOMPARE(framePanel("estado")->text(), QString());
        const std::string typed = ldc::studyFileBytes(*Finforma);
        TRIGGER_ENABLED(frameAction("mnuclose"));
        flushDeletes();
        framePanel("estado")->setText(QStringLiteral(" "));
        QVERIFY(open(file));
        const FileDialogRequest& asked = m_dialogs->openRequests.last();
        QCOMPARE(asked.title + "|" + asked.filter,
                 QStringLiteral("Abrir Documento|Qorval v.w 3.0 (*.w9c)"));
        QCOMPARE(Finforma->windowTitle(), file);
        QCOMPARE(Finforma->text(StudyField::method), "Cafeína");
        QCOMPARE(Finforma->cell(ldc::StudyTable::levels, 2, 1), "1.5");
        QCOMPARE(ldc::studyFileBytes(*Finforma), typed);  // every other text and both grids
        QCOMPARE(framePanel("estado")->text(), QStringLiteral(" "));  // Open leaves the marker
        QCOMPARE(availableCommands(), kAfterOpenCommands);
    }

    // A cancelled save dialog changes nothing; Close takes the active child only.
    void proposalsCancelsAndClose() {
        const QString earlier = writeSample(QStringLiteral("anterior.w9c"));
        openStudiesNamed(*MainForm, {earlier, path(QStringLiteral("otro.w9c"))});  // one opens
        QCoreApplication::sendPostedEvents(MainForm, QEvent::MetaCall);
        m_dialogs->saveAnswers.push_back(std::nullopt);
        TRIGGER_ENABLED(frameAction("FileSaveAsItem"));
        QCOMPARE(m_dialogs->saveRequests.last().fileName, earlier);
        QMdiSubWindow* study = clientArea()->currentSubWindow();
        QMdiSubWindow* results = addPlainChild(11);
        TRIGGER_ENABLED(frameAction("mnuclose"));
        flushDeletes();
        QCOMPARE(openChildren(), QList<QMdiSubWindow*>{study});
        QCOMPARE(availableCommands(), kAfterOpenCommands);
        results = addPlainChild(11);
        clientArea()->setActiveSubWindow(study);
        TRIGGER_ENABLED(frameAction("mnuclose"));
        flushDeletes();
        QCOMPARE(openChildren(), QList<QMdiSubWindow*>{results});
        QCOMPARE(availableCommands(), kIdleCommands);  // though another child stays open

        // A new study: Save As offers the earlier file, Save offers "Nuevo"; both cancelled.
        TRIGGER_ENABLED(frameAction("FileNewItem"));
        framePanel("estado")->setText(QStringLiteral("Modificado"));
        m_dialogs->saveAnswers = {std::nullopt, std::nullopt};
        TRIGGER_ENABLED(frameAction("FileSaveAsItem"));
        QCOMPARE(m_dialogs->saveRequests.last().fileName, earlier);
        TRIGGER_ENABLED(frameAction("FileSaveItem"));
        QCOMPARE(m_dialogs->saveRequests.last().fileName, QStringLiteral("Nuevo"));
        QCOMPARE(Finforma->windowTitle(), QStringLiteral("Nuevo"));
        QCOMPARE(framePanel("estado")->text(), QStringLiteral("Modificado"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
                 QStringList({"anterior.w9c", "anterior.w9c.auditoria"}));  // its open recorded
    }

    void brokenFileIsReportedAndLeavesNoStudyWindow() {
        QFile file(path(QStringLiteral("roto.w9c")));
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write("m\r\na\r\nf\r\nmg\r\nmg\r\nR\r\nabc"));
        file.close();
        m_dialogs->openAnswers = {file.fileName()};
        entry::chooseMenuItem(frameMenu("FileMenu"), frameAction("FileOpenItem"));
        openStudiesNamed(*MainForm, {path(QStringLiteral("falta.w9c"))});  // from the desktop
        QCoreApplication::sendPostedEvents(MainForm, QEvent::MetaCall);
        QCOMPARE(messagesOf(m_dialogs->errors),
                 QStringList({"'abc' is not a valid integer value.", "File not found."}));
        QVERIFY(openChildren().isEmpty());
        QCOMPARE(availableCommands(), kIdleCommands);
        QCOMPARE(MainForm->findChild<FileCommands*>()->saveDialog().fileName, QString("Nuevo"));
    }

    void failedSavesKeepTheState() {
        const QString file = writeSample(QStringLiteral("guardado.w9c"));
        QVERIFY(open(file));
        framePanel("estado")->setText(QStringLiteral("Modificado"));
        // Save As into a missing folder leaves the study bound to its own file.
        Finforma->emetodo->setText(QStringLiteral("Método nuevo"));
        m_dialogs->saveAnswers.push_back(path(QStringLiteral("no-existe/otro.w9c")));
        entry::chooseMenuItem(frameMenu("FileMenu"), frameAction("FileSaveAsItem"));
        QCOMPARE(m_dialogs->errors.size(), 1);
        QCOMPARE(Finforma->windowTitle(), file);
        QCOMPARE(framePanel("estado")->text(), QStringLiteral("Modificado"));
        TRIGGER_ENABLED(frameAction("FileSaveItem"));
        ldc::CalibrationStudy saved;
        ldc::openStudyFile(QFile::encodeName(file).toStdString(), saved);
        QCOMPARE(saved.text(StudyField::method), "Método nuevo");
    }

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString writeSample(const QString& name) {
        ldc::saveStudyFile(QFile::encodeName(path(name)).toStdString(),
                           ldc::testing::makeStudy(ldc::testing::workedExample()));
        return path(name);
    }
    // Whether the study window stands after Open: a failed read fails the case, not a crash.
    [[nodiscard]] bool open(const QString& file) {
        if (!frameAction("FileOpenItem")->isEnabled())
            return false;
        m_dialogs->openAnswers.push_back(file);
        triggerAsTheUser(frameAction("FileOpenItem"));
        return Finforma && m_dialogs->errors.isEmpty();
    }

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<QTemporaryDir> m_dir;
};

LDC_WIDGET_TEST_MAIN(FileCommandsTest)

#include "FileCommandsTest.moc"
