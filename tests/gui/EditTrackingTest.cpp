// Edit tracking and closing of the study window: which keystrokes and choices mark the
// study modified and which texts the program writes do not, the close question and its
// answers, a save that is called off or fails (the study stays open), the frame closing
// with a modified study, and the commands that go when the study window goes.

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyEntry.h"
#include "StudyFixtures.h"
#include "app/LdcApplication.h"
#include "app/Main.h"
#include "files/StudyFile.h"
#include "study/Fdatos.h"
#include "study/Numbers.h"

using namespace entry;
using ldc::StudyField;
using ldc::StudyGrid;

namespace {

const QString kModified = QStringLiteral("Modificado");
const QString kQuestion =
    QStringLiteral("Guardar archivo?|Se realizaron cambios!\nQuiere guardar su información?");

QString estado() {
    return MainForm->estado->text();
}

QMdiSubWindow* studySubWindow() {
    return Finforma ? qobject_cast<QMdiSubWindow*>(Finforma->parentWidget()) : nullptr;
}

// The commands that read or write the study, and those the frame's reset switches.
struct Availability {
    bool newOpen, close, saveSaveAs, results;
};

void expectAvailability(const Availability& a) {
    QCOMPARE(MainForm->FileNewItem->isEnabled(), a.newOpen);
    QCOMPARE(MainForm->FileOpenItem->isEnabled(), a.newOpen);
    QCOMPARE(MainForm->mnuclose->isEnabled(), a.close);
    QCOMPARE(MainForm->FileSaveItem->isEnabled(), a.saveSaveAs);
    QCOMPARE(MainForm->FileSaveAsItem->isEnabled(), a.saveSaveAs);
    QCOMPARE(MainForm->spdguardar->isEnabled(), a.saveSaveAs);
    QCOMPARE(MainForm->mnudunet->isEnabled(), a.results);
    QCOMPARE(MainForm->mnuinforme->isEnabled(), a.results);
    QCOMPARE(MainForm->FilePrintItem->menuAction()->isEnabled(), a.results);
    QCOMPARE(MainForm->printLasser->isEnabled(), a.results);
    QCOMPARE(MainForm->spdprint->isEnabled(), a.results);
}

}  // namespace

class EditTrackingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ldc::setDecimalSeparator('.'); }
    void init() {
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        startFrame();
        QVERIFY(QTest::qWaitForWindowActive(MainForm));
    }
    void cleanup() {
        stopFrame();
        m_dialogs.reset();
    }

    void everyKeystrokeMarksTheStudy_data();
    void everyKeystrokeMarksTheStudy();
    void textsTheProgramWritesDoNotMark();
    void closeQuestionAndItsAnswers_data();
    void closeQuestionAndItsAnswers();
    void yesSavesTheOpenedFileThenCloses();
    void cancelledSaveKeepsTheStudyOpen();
    void failedSaveKeepsTheStudyOpen();
    void frameClosingAsksOnceAndStaysWhenTheSaveIsCalledOff();
    void closingTheStudyTakesItsCommandsAway();

private:
    void newStudy() {
        TRIGGER_ENABLED(MainForm->FileNewItem);
        settle();
        QVERIFY(Finforma);
    }
    QString writeWorkedExample(const QString& name) {
        const QString file = m_dir->filePath(name);
        ldc::saveStudyFile(QFile::encodeName(file).toStdString(),
                           ldc::testing::makeStudy(ldc::testing::workedExample()));
        return file;
    }
    void open(const QString& file) {
        m_dialogs->openAnswers.push_back(file);
        TRIGGER_ENABLED(MainForm->FileOpenItem);
        settle();
        QVERIFY(Finforma);
    }

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void EditTrackingTest::everyKeystrokeMarksTheStudy_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");  // a Qt::Key, or 0 for the text below
    QTest::addColumn<QString>("text");
    QTest::newRow("letter in emetodo") << "emetodo" << 0 << "a";
    QTest::newRow("Enter in an empty emetodo") << "emetodo" << int(Qt::Key_Return) << "";
    QTest::newRow("Backspace in an empty eanalista") << "eanalista" << int(Qt::Key_Backspace) << "";
    QTest::newRow("Delete in efecha") << "efecha" << int(Qt::Key_Delete) << "";
    QTest::newRow("accent in ecanad") << "ecanad" << 0 << "µ";
    QTest::newRow("Enter in erecupera") << "erecupera" << int(Qt::Key_Return) << "";
    QTest::newRow("digit in enivel") << "enivel" << 0 << "4";
    QTest::newRow("basis typed") << "ComboBox1" << 0 << "R";
    QTest::newRow("basis chosen with the arrow") << "ComboBox1" << int(Qt::Key_Down) << "";
    QTest::newRow("level value") << "stgnivel" << 0 << "5";
    QTest::newRow("Backspace in an empty level cell") << "stgnivel" << int(Qt::Key_Backspace) << "";
    QTest::newRow("datum") << "stgdatos" << 0 << "2";
    QTest::newRow("Enter in the data grid") << "stgdatos" << int(Qt::Key_Return) << "";
}

void EditTrackingTest::everyKeystrokeMarksTheStudy() {
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(QString, text);
    newStudy();
    Finforma->efecha->setText(QStringLiteral("hoy"));
    if (control == "stgnivel" || control == "stgdatos")
        copyStudy(ldc::testing::makeStudy(ldc::testing::workedExample()), *Finforma);
    if (control == "stgnivel")
        Finforma->setCell(StudyGrid::stgnivel, 1, 1, "");
    Finforma->focusControl(Finforma->findChild<QWidget*>(control));
    settle();
    QCOMPARE(focusedName(*Finforma), control);
    QCOMPARE(m_dialogs->notices, QStringList());
    QCOMPARE(estado(), QString());
    if (key)
        press(Qt::Key(key));
    else
        type(text);
    QCOMPARE(estado(), kModified);
}

void EditTrackingTest::textsTheProgramWritesDoNotMark() {
    open(writeWorkedExample(QStringLiteral("abierto.w9c")));
    QCOMPARE(estado(), QString());
    // Walk the whole study: units header, sizing, data rows and labels are the program's.
    Finforma->focusControl(Finforma->erecupera);
    settle();
    press(Qt::Key_Tab);
    QCOMPARE(focusedName(*Finforma), QStringLiteral("ComboBox1"));
    QCOMPARE(Finforma->cell(StudyGrid::stgdatos, 1, 0), std::string("mg"));
    clickTab(*Finforma, 1);
    press(Qt::Key_Tab);
    press(Qt::Key_Space);  // "Aceptar niveles"
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);      // level grid, Tab walks it
    clickTab(*Finforma, 2);  // a complete level grid sends the focus to botonr first
    QCOMPARE(focusedName(*Finforma), QStringLiteral("botonr"));
    clickTab(*Finforma, 2);
    QCOMPARE(focusedName(*Finforma), QStringLiteral("stgdatos"));
    QCOMPARE(Finforma->rowCount(StudyGrid::stgdatos), 10);
    QCOMPARE(m_dialogs->notices, QStringList());
    QCOMPARE(estado(), QString());

    TRIGGER_ENABLED(MainForm->mnuclose);
    flushDeletes();
    QVERIFY(!Finforma);
    QCOMPARE(m_dialogs->questions, QStringList());
    QCOMPARE(estado(), QStringLiteral(" "));
}

void EditTrackingTest::closeQuestionAndItsAnswers_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<bool>("asked");
    QTest::newRow("typed, answer No") << "type" << true;
    QTest::newRow("Enter in an empty field") << "enter" << true;
    QTest::newRow("only the basis chosen") << "basis" << true;
    QTest::newRow("nothing typed") << "none" << false;
    QTest::newRow("typed, then saved") << "save" << false;
}

void EditTrackingTest::closeQuestionAndItsAnswers() {
    QFETCH(QString, edit);
    QFETCH(bool, asked);
    open(writeWorkedExample(QStringLiteral("estudio.w9c")));
    if (edit == "type" || edit == "save") {
        type(QStringLiteral(" II"));
    } else if (edit == "enter") {
        Finforma->emetodo->clear();
        press(Qt::Key_Return);
    } else if (edit == "basis") {
        Finforma->focusControl(Finforma->ComboBox1);
        settle();
        press(Qt::Key_Down);  // the first item, the one the file named
        press(Qt::Key_Down);
        QCOMPARE(Finforma->ComboBox1->currentText(), QStringLiteral("Ordenada al Origen"));
    }
    if (edit == "save")
        TRIGGER_ENABLED(MainForm->FileSaveItem);
    if (asked)
        m_dialogs->questionAnswers.push_back(false);

    QPointer<QMdiSubWindow> window = studySubWindow();
    QVERIFY(window->close());  // the window's own close box
    flushDeletes();
    QCOMPARE(m_dialogs->questions, asked ? QStringList{kQuestion} : QStringList());
    QVERIFY(!Finforma);
    QVERIFY(!window);
    QCOMPARE(estado(), QStringLiteral(" "));
    // The only child window gone: back to idle.
    expectAvailability({true, false, false, false});
    QCOMPARE(m_dialogs->saveRequests.size(), 0);
}

void EditTrackingTest::yesSavesTheOpenedFileThenCloses() {
    const QString file = writeWorkedExample(QStringLiteral("guardar.w9c"));
    open(file);
    Finforma->emetodo->clear();
    type(QStringLiteral("Nuevo método"));
    m_dialogs->questionAnswers.push_back(true);
    TRIGGER_ENABLED(MainForm->mnuclose);
    flushDeletes();
    QCOMPARE(m_dialogs->questions, QStringList{kQuestion});
    QVERIFY(!Finforma);
    QCOMPARE(estado(), QStringLiteral(" "));
    QCOMPARE(m_dialogs->saveRequests.size(), 0);  // bound to its file: no dialog
    ldc::CalibrationStudy saved;
    ldc::openStudyFile(QFile::encodeName(file).toStdString(), saved);
    QCOMPARE(saved.text(StudyField::emetodo), std::string("Nuevo método"));
}

void EditTrackingTest::cancelledSaveKeepsTheStudyOpen() {
    newStudy();
    type(QStringLiteral("Cafeína"));
    m_dialogs->questionAnswers.push_back(true);
    m_dialogs->saveAnswers.push_back(std::nullopt);
    TRIGGER_ENABLED(MainForm->mnuclose);
    flushDeletes();
    QCOMPARE(m_dialogs->questions, QStringList{kQuestion});
    QCOMPARE(m_dialogs->saveRequests.size(), 1);
    QVERIFY(Finforma);
    QVERIFY(studySubWindow()->isVisible());
    QCOMPARE(Finforma->emetodo->text(), QStringLiteral("Cafeína"));
    QCOMPARE(estado(), kModified);
    expectAvailability({false, true, true, false});  // as after New: nothing was closed

    // Asked again on the next close; saving now lets it go (a file needs the replicate
    // counts: without them the save fails, and the study stays open once more).
    m_dialogs->questionAnswers.push_back(true);
    m_dialogs->saveAnswers.push_back(m_dir->filePath(QStringLiteral("sin-replicas.w9c")));
    TRIGGER_ENABLED(MainForm->mnuclose);
    flushDeletes();
    QCOMPARE(m_dialogs->errors, QStringList{"'' is not a valid integer value."});
    QVERIFY(Finforma);
    QCOMPARE(estado(), kModified);
    for (int i = 1; i <= 3; ++i)
        Finforma->setCell(StudyGrid::stgnivel, i, 2, "0");
    const QString file = m_dir->filePath(QStringLiteral("cafeina.w9c"));
    m_dialogs->questionAnswers.push_back(true);
    m_dialogs->saveAnswers.push_back(file);
    TRIGGER_ENABLED(MainForm->mnuclose);
    flushDeletes();
    QCOMPARE(m_dialogs->errors.size(), 1);
    QCOMPARE(m_dialogs->questions.size(), 3);
    QVERIFY(!Finforma);
    QVERIFY(QFile::exists(file));
    QCOMPARE(estado(), QStringLiteral(" "));
}

void EditTrackingTest::failedSaveKeepsTheStudyOpen() {
    QDir(m_dir->path()).mkdir(QStringLiteral("sub"));
    const QString file = writeWorkedExample(QStringLiteral("sub/estudio.w9c"));
    open(file);
    type(QStringLiteral("X"));
    // The file's folder goes away behind the program's back: the save cannot be written.
    QVERIFY(QDir(m_dir->filePath(QStringLiteral("sub"))).removeRecursively());
    m_dialogs->questionAnswers.push_back(true);
    TRIGGER_ENABLED(MainForm->mnuclose);
    flushDeletes();
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(Finforma);
    QCOMPARE(Finforma->emetodo->text(), QStringLiteral("Valoración de pruebaX"));
    QCOMPARE(estado(), kModified);
    QVERIFY(MainForm->FileSaveItem->isEnabled());
    QVERIFY(MainForm->mnuclose->isEnabled());
    QVERIFY(MainForm->printLasser->isEnabled());
}

void EditTrackingTest::frameClosingAsksOnceAndStaysWhenTheSaveIsCalledOff() {
    newStudy();
    type(QStringLiteral("Cafeína"));
    addPlainChild();
    m_dialogs->questionAnswers.push_back(true);
    m_dialogs->saveAnswers.push_back(std::nullopt);
    QVERIFY(!MainForm->close());
    flushDeletes();
    QCOMPARE(m_dialogs->questions, QStringList{kQuestion});
    QVERIFY(MainForm->isVisible());
    QVERIFY(Finforma);
    QCOMPARE(estado(), kModified);

    // Closing again: one question more, No, and the frame goes.
    m_dialogs->questionAnswers.push_back(false);
    QVERIFY(MainForm->close());
    QCOMPARE(m_dialogs->questions.size(), 2);
    QVERIFY(!MainForm->isVisible());
    QCOMPARE(estado(), QStringLiteral(" "));
}

void EditTrackingTest::closingTheStudyTakesItsCommandsAway() {
    open(writeWorkedExample(QStringLiteral("con-resultados.w9c")));
    clickTab(*Finforma, 2);  // results commands available
    expectAvailability({false, true, true, true});
    QMdiSubWindow* results = addPlainChild();
    QVERIFY(studySubWindow()->close());
    flushDeletes();
    QVERIFY(!Finforma);
    QCOMPARE(openChildren(), QList<QMdiSubWindow*>{results});
    // Nothing may reach the study any more; New and Open wait for the last window.
    expectAvailability({false, true, false, false});
    QCOMPARE(m_dialogs->questions, QStringList());
}

int main(int argc, char** argv) {
    LdcApplication app(argc, argv);
    EditTrackingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EditTrackingTest.moc"
