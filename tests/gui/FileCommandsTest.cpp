// The frame's file commands on a real study window and real files: New, Open, Save,
// Save As and Close, their dialogs, captions, status marker and command states, and what
// survives when a file cannot be read or written.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <unistd.h>
#include <memory>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyFixtures.h"
#include "app/LdcApplication.h"
#include "app/Main.h"
#include "files/StudyFile.h"
#include "study/Fdatos.h"
#include "study/Numbers.h"

using ldc::StudyField;
using ldc::StudyGrid;

namespace {

constexpr StudyField kFields[] = {StudyField::emetodo, StudyField::eanalista, StudyField::efecha,
                                  StudyField::ecanad,  StudyField::erecupera, StudyField::ComboBox1,
                                  StudyField::enivel};

// A study as an analyst leaves it: accents, decimal commas, uneven replicate counts and
// the never-shown second values filled in (rows 1 to 6).
ldc::CalibrationStudy sampleStudy() {
    ldc::testing::StudyOutline outline;
    outline.levelValues = {"0,5", "1", "2,5"};
    outline.results = {{"0,49", "0,52"}, {"1,01", "0,98", "1,02"}, {"2,47"}};
    outline.basis = "Ordenada al Origen";
    outline.addedUnits = "µg";
    outline.recoveredUnits = "µg/mL";
    ldc::CalibrationStudy study = ldc::testing::makeStudy(outline);
    study.setText(StudyField::emetodo, "Cafeína por HPLC");
    study.setText(StudyField::eanalista, "María Núñez");
    study.setText(StudyField::efecha, "6 dic 2026");
    for (int r = 1; r <= 6; ++r)
        study.setCell(StudyGrid::stgdatos, 2, r, "s" + std::to_string(r));
    return study;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The study a file holds, read by the core as the program reads it.
ldc::CalibrationStudy readBack(const QString& path) {
    ldc::CalibrationStudy study;
    ldc::openStudyFile(QFile::encodeName(path).toStdString(), study);
    return study;
}

// Availability of the commands that New, Open and Close set.
struct Availability {
    bool newOpen, closeSave, windows, print;
};

void expectAvailability(const Availability& a) {
    QCOMPARE(MainForm->FileNewItem->isEnabled(), a.newOpen);
    QCOMPARE(MainForm->FileOpenItem->isEnabled(), a.newOpen);
    QCOMPARE(MainForm->spdnuevo->isEnabled(), a.newOpen);
    QCOMPARE(MainForm->mnuclose->isEnabled(), a.closeSave);
    QCOMPARE(MainForm->FileSaveItem->isEnabled(), a.closeSave);
    QCOMPARE(MainForm->FileSaveAsItem->isEnabled(), a.closeSave);
    QCOMPARE(MainForm->spdguardar->isEnabled(), a.closeSave);
    QCOMPARE(MainForm->WindowTileItem->isEnabled(), a.windows);
    QCOMPARE(MainForm->WindowCascadeItem->isEnabled(), a.windows);
    QCOMPARE(MainForm->printLasser->isEnabled(), a.print);
    QCOMPARE(MainForm->FilePrintItem->menuAction()->isEnabled(), a.print);
    QCOMPARE(MainForm->spdprint->isEnabled(), a.print);
}

constexpr Availability kIdle{true, false, false, false};
constexpr Availability kAfterNew{false, true, false, false};
constexpr Availability kAfterOpen{false, true, true, true};

int studyWindows() {
    int count = 0;
    for (QMdiSubWindow* child : openChildren())
        if (qobject_cast<TFinforma*>(child->widget()))
            ++count;
    return count;
}

// Clicks a speed button, so that an error raised by its command reaches the error box as
// it does in the program.
void clickSpeedButton(QToolButton* button) {
    QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
    QTest::mouseClick(button, Qt::LeftButton);
}

// The writer counts the rows from the replicate counts, so a new study needs them.
void fillLevels() {
    for (int i = 1; i <= 3; ++i) {
        Finforma->setCell(StudyGrid::stgnivel, i, 1, std::to_string(i * 2));
        Finforma->setCell(StudyGrid::stgnivel, i, 2, "1");
    }
}

// Picks a menu item with the mouse, as the analyst does.
void chooseMenuItem(QMenu* menu, QAction* item) {
    QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
    menu->popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

}  // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ldc::setDecimalSeparator(','); }
    void init() {
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        startFrame();
    }
    void cleanup() {
        stopFrame();
        m_dialogs.reset();
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void newGivesTheInitialStudy();
    void openFillsEveryFieldCellAndLabel();
    void saveOfANewStudyAsksOnceThenRewrites();
    void cancelledDialogsChangeNothing();
    void saveAsProposals();
    void closeWithAnotherChildActiveClosesOnlyIt();
    void closeOfTheStudyWindow();
    void brokenFileIsReportedAndLeavesNoStudyWindow_data();
    void brokenFileIsReportedAndLeavesNoStudyWindow();
    void failedSaveKeepsTheOldFileAndTheState();
    void failedSaveAsKeepsTheBinding();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString writeSample(const QString& name) {
        const QString file = path(name);
        ldc::saveStudyFile(QFile::encodeName(file).toStdString(), sampleStudy());
        return file;
    }
    void open(const QString& file) {
        m_dialogs->openAnswers.push_back(file);
        TRIGGER_ENABLED(MainForm->FileOpenItem);
    }

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void FileCommandsTest::newGivesTheInitialStudy() {
    MainForm->estado->setText(QStringLiteral("Modificado"));
    TRIGGER_ENABLED(MainForm->FileNewItem);
    QVERIFY(Finforma);
    QCOMPARE(studyWindows(), 1);
    QCOMPARE(MainForm->ClientArea->currentSubWindow()->widget(), Finforma.data());
    QCOMPARE(Finforma->windowTitle(), QStringLiteral("Nuevo"));
    QCOMPARE(MainForm->estado->text(), QString());
    QCOMPARE(Finforma->text(StudyField::enivel), "3");
    QCOMPARE(Finforma->text(StudyField::emetodo), "");
    QCOMPARE(Finforma->columnCount(StudyGrid::stgnivel), 4);
    QCOMPARE(Finforma->cell(StudyGrid::stgnivel, 3, 0), "Nivel 3");
    QCOMPARE(Finforma->cell(StudyGrid::stgnivel, 0, 1), "Valor >>");
    QCOMPARE(Finforma->cell(StudyGrid::stgnivel, 0, 2), "Replicación >>");
    QCOMPARE(Finforma->rowCount(StudyGrid::stgdatos), 10);
    QCOMPARE(Finforma->cell(StudyGrid::stgdatos, 0, 1), "");
    expectAvailability(kAfterNew);
    QVERIFY(!MainForm->mnucalculos->menuAction()->isEnabled());
    QVERIFY(m_dialogs->openRequests.isEmpty());
}

void FileCommandsTest::openFillsEveryFieldCellAndLabel() {
    const QString file = writeSample(QStringLiteral("cafeína.w9c"));
    MainForm->estado->setText(QStringLiteral(" "));
    open(file);

    QCOMPARE(m_dialogs->openRequests.size(), 1);
    const FileDialogRequest& request = m_dialogs->openRequests.first();
    QCOMPARE(request.title, QStringLiteral("Abrir Documento"));
    QCOMPARE(request.filter, QStringLiteral("Qorval v.w 3.0 (*.w9c)"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("w9c"));
    QCOMPARE(request.fileName, QString());

    QVERIFY(Finforma);
    QCOMPARE(Finforma->windowTitle(), file);
    const ldc::CalibrationStudy expected = sampleStudy();
    for (const StudyField field : kFields)
        QCOMPARE(Finforma->text(field), expected.text(field));
    QCOMPARE(Finforma->ComboBox1->currentText(), QStringLiteral("Ordenada al Origen"));
    QCOMPARE(Finforma->columnCount(StudyGrid::stgnivel), 4);
    for (int i = 1; i <= 3; ++i)
        for (int r = 0; r <= 2; ++r)
            QCOMPARE(Finforma->cell(StudyGrid::stgnivel, i, r),
                     expected.cell(StudyGrid::stgnivel, i, r));
    QCOMPARE(Finforma->rowCount(StudyGrid::stgdatos), 7);
    for (int r = 1; r <= 6; ++r)
        for (int c = 1; c <= 2; ++c)
            QCOMPARE(Finforma->cell(StudyGrid::stgdatos, c, r),
                     expected.cell(StudyGrid::stgdatos, c, r));
    QCOMPARE(Finforma->cell(StudyGrid::stgdatos, 0, 1), "Nivel 1 , Replica 1");
    QCOMPARE(Finforma->cell(StudyGrid::stgdatos, 0, 2), "Nivel 1 , Replica 2");
    QCOMPARE(Finforma->cell(StudyGrid::stgdatos, 0, 3), "Nivel 2 , Replica 1");
    QCOMPARE(Finforma->cell(StudyGrid::stgdatos, 0, 5), "Nivel 2 , Replica 3");
    QCOMPARE(Finforma->cell(StudyGrid::stgdatos, 0, 6), "Nivel 3 , Replica 1");

    QCOMPARE(MainForm->estado->text(), QStringLiteral(" "));  // Open leaves the marker
    QCOMPARE(MainForm->OpenDialog.fileName, file);
    QCOMPARE(MainForm->SaveDialog.fileName, file);
    expectAvailability(kAfterOpen);
    QVERIFY(!MainForm->mnucalculos->menuAction()->isEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // The next Open starts where the last one chose.
    TRIGGER_ENABLED(MainForm->mnuclose);
    m_dialogs->openAnswers.push_back(std::nullopt);
    TRIGGER_ENABLED(MainForm->FileOpenItem);
    QCOMPARE(m_dialogs->openRequests.last().fileName, file);
}

void FileCommandsTest::saveOfANewStudyAsksOnceThenRewrites() {
    TRIGGER_ENABLED(MainForm->FileNewItem);
    Finforma->emetodo->setText(QStringLiteral("Primera versión"));
    fillLevels();
    MainForm->estado->setText(QStringLiteral("Modificado"));
    const QString file = path(QStringLiteral("nuevo.w9c"));
    m_dialogs->saveAnswers.push_back(file);
    TRIGGER_ENABLED(MainForm->FileSaveItem);

    QCOMPARE(m_dialogs->saveRequests.size(), 1);
    const FileDialogRequest& request = m_dialogs->saveRequests.first();
    QCOMPARE(request.title, QStringLiteral("Guardar como"));
    QCOMPARE(request.filter, QStringLiteral("Qorval v.w 3.0 (*.w9c)"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("w9c"));
    QCOMPARE(request.fileName, QStringLiteral("Nuevo"));
    QCOMPARE(Finforma->windowTitle(), file);
    QCOMPARE(MainForm->estado->text(), QString());
    QCOMPARE(readBack(file).text(StudyField::emetodo), "Primera versión");
    QCOMPARE(readBack(file).text(StudyField::enivel), "3");

    // Bound to its file now: Save rewrites it without a dialog, commands unchanged.
    Finforma->emetodo->setText(QStringLiteral("Segunda versión"));
    MainForm->estado->setText(QStringLiteral("Modificado"));
    TRIGGER_ENABLED(MainForm->FileSaveItem);
    QCOMPARE(m_dialogs->saveRequests.size(), 1);
    QCOMPARE(readBack(file).text(StudyField::emetodo), "Segunda versión");
    QCOMPARE(MainForm->estado->text(), QString());
    QCOMPARE(Finforma->windowTitle(), file);
    expectAvailability(kAfterNew);
}

void FileCommandsTest::cancelledDialogsChangeNothing() {
    m_dialogs->openAnswers.push_back(std::nullopt);
    TRIGGER_ENABLED(MainForm->FileOpenItem);
    QVERIFY(!Finforma);
    QVERIFY(openChildren().isEmpty());
    expectAvailability(kIdle);
    QCOMPARE(MainForm->OpenDialog.fileName, QString());

    TRIGGER_ENABLED(MainForm->FileNewItem);
    MainForm->estado->setText(QStringLiteral("Modificado"));
    m_dialogs->saveAnswers = {std::nullopt, std::nullopt};
    TRIGGER_ENABLED(MainForm->FileSaveItem);
    TRIGGER_ENABLED(MainForm->FileSaveAsItem);
    QCOMPARE(m_dialogs->saveRequests.size(), 2);
    QCOMPARE(Finforma->windowTitle(), QStringLiteral("Nuevo"));
    QCOMPARE(MainForm->estado->text(), QStringLiteral("Modificado"));
    QCOMPARE(MainForm->SaveDialog.fileName, QStringLiteral("Nuevo"));
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
    expectAvailability(kAfterNew);
}

void FileCommandsTest::saveAsProposals() {
    const QString earlier = writeSample(QStringLiteral("anterior.w9c"));
    open(earlier);
    m_dialogs->saveAnswers.push_back(std::nullopt);
    TRIGGER_ENABLED(MainForm->FileSaveAsItem);
    QCOMPARE(m_dialogs->saveRequests.last().fileName, earlier);
    TRIGGER_ENABLED(MainForm->mnuclose);
    flushDeletes();

    // A new study: Save As offers the earlier file, Save offers "Nuevo" and, cancelled,
    // writes nothing to the earlier file either.
    TRIGGER_ENABLED(MainForm->FileNewItem);
    const QByteArray before = fileBytes(earlier);
    m_dialogs->saveAnswers = {std::nullopt, std::nullopt};
    TRIGGER_ENABLED(MainForm->FileSaveAsItem);
    QCOMPARE(m_dialogs->saveRequests.last().fileName, earlier);
    TRIGGER_ENABLED(MainForm->FileSaveItem);
    QCOMPARE(m_dialogs->saveRequests.last().fileName, QStringLiteral("Nuevo"));
    QCOMPARE(m_dialogs->saveRequests.size(), 3);
    QCOMPARE(fileBytes(earlier), before);

    // Save As to a new name binds the study to it and becomes the next proposal.
    fillLevels();
    const QString renamed = path(QStringLiteral("otro.w9c"));
    m_dialogs->saveAnswers = {renamed, std::nullopt};
    TRIGGER_ENABLED(MainForm->FileSaveAsItem);
    QCOMPARE(Finforma->windowTitle(), renamed);
    TRIGGER_ENABLED(MainForm->FileSaveAsItem);
    QCOMPARE(m_dialogs->saveRequests.last().fileName, renamed);
    QVERIFY(QFile::exists(renamed));
}

void FileCommandsTest::closeWithAnotherChildActiveClosesOnlyIt() {
    TRIGGER_ENABLED(MainForm->FileNewItem);
    QMdiSubWindow* results = addPlainChild(11);
    QCOMPARE(MainForm->ClientArea->currentSubWindow(), results);
    TRIGGER_ENABLED(MainForm->mnuclose);
    flushDeletes();
    QCOMPARE(openChildren().size(), 1);
    QVERIFY(Finforma);
    QCOMPARE(studyWindows(), 1);
    expectAvailability(kAfterNew);
}

void FileCommandsTest::closeOfTheStudyWindow() {
    open(writeSample(QStringLiteral("cerrar.w9c")));
    QCOMPARE(MainForm->ClientArea->currentSubWindow()->widget(), Finforma.data());
    TRIGGER_ENABLED(MainForm->mnuclose);
    flushDeletes();
    QVERIFY(!Finforma);
    QVERIFY(openChildren().isEmpty());
    QVERIFY(m_dialogs->questions.isEmpty());  // an opened, unedited study asks nothing
    expectAvailability(kIdle);
    QVERIFY(!MainForm->mnudunet->isEnabled());
    QVERIFY(!MainForm->mnuinforme->isEnabled());
}

void FileCommandsTest::brokenFileIsReportedAndLeavesNoStudyWindow_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    const QByteArray head = "m\r\na\r\nf\r\nmg\r\nmg\r\nRegresi\xf3n\r\n";
    QTest::newRow("level count not a number")
        << head + "abc\r\n"
        << QStringLiteral("'abc' is not a valid integer value.");
    QTest::newRow("empty file") << QByteArray()
                                << QStringLiteral("'' is not a valid integer value.");
    // The window is already filled when the labels meet the count 2.5.
    QTest::newRow("replicate count not whole")
        << head + "2\r\n1\r\n2.5\r\n2\r\n2\r\n4\r\n1\r\n1\r\n2\r\n2\r\n\r\n\r\n\r\n\r\n"
        << QStringLiteral("'2.5' is not a valid integer value.");
    QTest::newRow("more levels than a file holds")
        << head + "11\r\n"
        << QStringLiteral(
               "No se puede abrir el estudio: el número de niveles (11) debe estar "
               "entre 0 y 10.");
}

void FileCommandsTest::brokenFileIsReportedAndLeavesNoStudyWindow() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString file = path(QStringLiteral("roto.w9c"));
    writeBytes(file, content);
    m_dialogs->openAnswers.push_back(file);
    clickSpeedButton(MainForm->spdabrir);

    QCOMPARE(m_dialogs->errors, QStringList{message});
    QVERIFY(!Finforma);
    QCOMPARE(studyWindows(), 0);
    expectAvailability(kIdle);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(MainForm->SaveDialog.fileName, QStringLiteral("Nuevo"));

    // The frame is as before: a good file opens into the one study window.
    m_dialogs->openAnswers.push_back(writeSample(QStringLiteral("bueno.w9c")));
    clickSpeedButton(MainForm->spdabrir);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QCOMPARE(studyWindows(), 1);
}

void FileCommandsTest::failedSaveKeepsTheOldFileAndTheState() {
    const QString file = writeSample(QStringLiteral("guardado.w9c"));
    const QByteArray before = fileBytes(file);
    open(file);

    // A text the file's code page cannot hold stops the save before anything is written.
    Finforma->emetodo->setText(QStringLiteral("Método 日本"));
    MainForm->estado->setText(QStringLiteral("Modificado"));
    clickSpeedButton(MainForm->spdguardar);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(m_dialogs->errors.first().endsWith(QLatin1Char('.')));
    QCOMPARE(fileBytes(file), before);
    QCOMPARE(MainForm->estado->text(), QStringLiteral("Modificado"));
    QCOMPARE(Finforma->windowTitle(), file);
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // A folder that refuses new files: the old file stays whole.
    if (geteuid() == 0)
        QSKIP("permissions do not bind the superuser");
    Finforma->emetodo->setText(QStringLiteral("Método nuevo"));
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner);
    clickSpeedButton(MainForm->spdguardar);
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(m_dialogs->errors.size(), 2);
    QCOMPARE(fileBytes(file), before);
    QCOMPARE(MainForm->estado->text(), QStringLiteral("Modificado"));
}

void FileCommandsTest::failedSaveAsKeepsTheBinding() {
    const QString file = writeSample(QStringLiteral("enlazado.w9c"));
    open(file);
    MainForm->estado->setText(QStringLiteral("Modificado"));
    const QString nowhere = path(QStringLiteral("no-existe/otro.w9c"));
    m_dialogs->saveAnswers.push_back(nowhere);
    chooseMenuItem(MainForm->FileMenu, MainForm->FileSaveAsItem);

    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(!QFile::exists(nowhere));
    QCOMPARE(Finforma->windowTitle(), file);
    QCOMPARE(MainForm->estado->text(), QStringLiteral("Modificado"));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // Save still rewrites the file the caption names, not the name that failed.
    TRIGGER_ENABLED(MainForm->FileSaveItem);
    QCOMPARE(MainForm->SaveDialog.fileName, file);
    QCOMPARE(MainForm->estado->text(), QString());
    QCOMPARE(m_dialogs->saveRequests.size(), 1);
}

int main(int argc, char** argv) {
    LdcApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    FileCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FileCommandsTest.moc"
