// The report window on a study opened with the file commands: its lines for both bases and
// both decimal separators, a report that stops on the calculation, the keys and clicks that
// close it and those that only scroll, and the frame's commands when the last child goes.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

#include <memory>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "StudyFixtures.h"
#include "app/LdcApplication.h"
#include "app/Main.h"
#include "files/StudyFile.h"
#include "report/Uinforme.h"
#include "study/Fdatos.h"
#include "study/Numbers.h"

using ldc::StudyField;
using ldc::StudyGrid;

namespace {

// Two levels, 1 and 2, with three replicates each: y = 0.1 + x exactly through the level
// means, residuals -0.1, 0, 0.1 at both levels.
ldc::testing::StudyOutline twoLevels(const std::string& basis, char separator) {
    auto number = [separator](std::string text) {
        for (char& c : text)
            if (c == '.')
                c = separator;
        return text;
    };
    ldc::testing::StudyOutline outline;
    outline.levelValues = {"1", "2"};
    outline.results = {{number("1.0"), number("1.1"), number("1.2")},
                       {number("2.0"), number("2.1"), number("2.2")}};
    outline.basis = basis;
    return outline;
}

// Lines 1 to 21: the study as typed, columns lined up with blanks.
QStringList studyLines(char separator) {
    const QString d(QChar::fromLatin1(separator));
    QStringList lines = {
        "LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO",
        "VARIABILIDAD: CURVA DE CALIBRACIÓN",
        "Información General",
        "",
        "Nombre del Método: Valoración de prueba",
        "Nombre del Analista: Analista",
        "Fecha: 06/12/2026",
        "Unidades de la cantidad adicionada: mg",
        "Unidades de la cantidad recuperada: mg",
        "",
        "",
        "Información de niveles",
        "",
        "Número de niveles de cantidad adicionada:",
        "2",
        "",
        "                    Valor        Replicación ",
        "Nivel 1         1              3",
        "Nivel 2         2              3",
        "",
        "                                          mg",
    };
    for (int level = 1; level <= 2; ++level)
        for (int replicate = 1; replicate <= 3; ++replicate)
            lines << QStringLiteral("Nivel %1 , Replica %2            %1%3%4")
                         .arg(level)
                         .arg(replicate)
                         .arg(d)
                         .arg(replicate - 1);
    return lines;
}

// The statistics, worked by hand: b = 1, a = 0.1, s = sqrt(0.04 / 4) = 0.1,
// Sxx = 1.5, t(4) = 2.7764, s(b) = 0.1 / sqrt(1.5) = 0.0816497,
// s(a) = 0.1 * sqrt(1/6 + 2.25/1.5) = 0.129099, CV = 0.1 / 1.6 * 100,
// R² = 1 - 0.04 / 1.54.
QStringList resultLines(const QString& basis, char separator) {
    QStringList lines = {
        "",
        "LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO",
        "VARIABILIDAD \"" + basis + "\"",
        "PENDIENTE = 1",
        "LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA = 1.22669",
        "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA = 0.773308",
        "",
        "ORDENADA AL ORIGEN = 0.1",
        "LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA DE ORDENADA AL ORIGEN = 0.458432",
        "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA DE ORDENADA AL ORIGEN = -0.258432",
        "",
        "DESVIACIÓN ESTÁNDAR DE REGRESIÓN = 0.1",
        "COEFICIENTE DE VARIACIÓN = 6.25",
        "COEFICIENTE DE DETERMINACIÓN = 0.974026",
        "",
    };
    if (basis == "Regresión")
        lines << "LÍMITE DE DETECCIÓN  \"Regresión\" = 0.33 mg"
              << "LÍMITE DE CUANTIFICACIÓN  \"Regresión\" = 1 mg";
    if (basis == "Ordenada al Origen")
        lines << "DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0.129099"
              << "LÍMITE DE DETECCIÓN  \"Ordenada al Origen\" = 0.426028 mg"
              << "LÍMITE DE CUANTIFICACIÓN  \"Ordenada al Origen\" = 1.29099 mg";
    if (separator != '.')
        for (QString& line : lines)
            line.replace(QRegularExpression("(\\d)\\.(\\d)"), QStringLiteral("\\1,\\2"));
    return lines;
}

Tfrminforme* reportIn(QMdiSubWindow* window) {
    return window ? qobject_cast<Tfrminforme*>(window->widget()) : nullptr;
}

QStringList linesOf(const Tfrminforme* report) {
    return report->mminforme->toPlainText().split(QLatin1Char('\n'));
}

// The enabled state of every command, to see that something changed nothing.
QMap<QString, bool> commandStates() {
    QMap<QString, bool> states;
    for (const QAction* action : MainForm->findChildren<QAction*>())
        if (!action->objectName().isEmpty())
            states[action->objectName()] = action->isEnabled();
    for (const QToolButton* button : MainForm->findChildren<QToolButton*>())
        if (!button->objectName().isEmpty())
            states[button->objectName()] = button->isEnabled();
    return states;
}

}  // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void reportListsStudyAndResults_data();
    void reportListsStudyAndResults();
    void menuItemOpensActiveReportWindow();
    void failingCalculationKeepsTheLinesBefore();
    void keysAndClicksClose_data();
    void keysAndClicksClose();
    void wheelAndScrollBarsOnlyScroll();
    void twoUsesGiveTwoWindows();
    void noStudyNoReport();
    void lastChildResetsTheCommands();
    void anotherChildLeftChangesNothing();

private:
    void openStudy(const ldc::CalibrationStudy& study);
    Tfrminforme* runReport();

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
};

void ReportWindowTest::initTestCase() {
    QVERIFY(m_dir.isValid());
}

void ReportWindowTest::init() {
    ldc::setDecimalSeparator('.');
    m_dialogs = std::make_unique<ScriptedDialogs>();
    startFrame();
}

void ReportWindowTest::cleanup() {
    stopFrame();
    m_dialogs.reset();
}

void ReportWindowTest::openStudy(const ldc::CalibrationStudy& study) {
    const QString path = m_dir.filePath(QStringLiteral("estudio.w9c"));
    ldc::saveStudyFile(QFile::encodeName(path).toStdString(), study);
    m_dialogs->openAnswers.push_back(path);
    TRIGGER_ENABLED(MainForm->FileOpenItem);
    QVERIFY(Finforma);
}

Tfrminforme* ReportWindowTest::runReport() {
    MainForm->mnuinformeClick();
    return reportIn(MainForm->ClientArea->activeSubWindow());
}

void ReportWindowTest::reportListsStudyAndResults_data() {
    QTest::addColumn<QString>("basis");
    QTest::addColumn<char>("separator");
    QTest::newRow("regression: the two limits") << "Regresión" << '.';
    QTest::newRow("intercept: its deviation before the limits") << "Ordenada al Origen" << '.';
    QTest::newRow("other basis: ends on the empty line") << "regresión" << '.';
    QTest::newRow("decimal comma, typed and written") << "Regresión" << ',';
}

void ReportWindowTest::reportListsStudyAndResults() {
    QFETCH(QString, basis);
    QFETCH(char, separator);
    ldc::setDecimalSeparator(separator);
    openStudy(ldc::testing::makeStudy(twoLevels(basis.toStdString(), separator)));

    const Tfrminforme* report = runReport();
    QVERIFY(report);
    QCOMPARE(linesOf(report), studyLines(separator) + resultLines(basis, separator));
    QCOMPARE(MainForm->CalibrationRecord.slope, 1.0);
    QVERIFY(m_dialogs->errors.isEmpty());
}

void ReportWindowTest::menuItemOpensActiveReportWindow() {
    openStudy(ldc::testing::makeStudy(twoLevels("Regresión", '.')));
    // The study window's rules make the item available once the data are in; here the
    // item is made available by hand to run it as the menu does.
    MainForm->mnuinforme->setEnabled(true);
    MainForm->mnuinforme->trigger();

    QMdiSubWindow* window = MainForm->ClientArea->activeSubWindow();
    const Tfrminforme* report = reportIn(window);
    QVERIFY(report);
    QCOMPARE(window->windowTitle(), QStringLiteral("Informe"));
    QCOMPARE(window->size(), QSize(435, 300));
    QCOMPARE(report->property("helpContext").toUInt(), 19u);
    QVERIFY(report->mminforme->isReadOnly());
    QCOMPARE(report->mminforme->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(report->mminforme->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(report->mminforme->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(linesOf(report).size(), 44);
    // The study window stays as it was, behind the report.
    QCOMPARE(openChildren().size(), 2);
}

void ReportWindowTest::failingCalculationKeepsTheLinesBefore() {
    ldc::testing::StudyOutline outline = twoLevels("Regresión", '.');
    outline.results[1][1] = "2.l";
    openStudy(ldc::testing::makeStudy(outline));

    // Run from the event loop, as the menu runs it, so the error reaches the error box.
    QMetaObject::invokeMethod(
        MainForm, [] { MainForm->mnuinformeClick(); }, Qt::QueuedConnection);
    QCoreApplication::processEvents();

    QCOMPARE(m_dialogs->errors, QStringList{"'2.l' is not a valid floating point value."});
    const Tfrminforme* report = reportIn(MainForm->ClientArea->activeSubWindow());
    QVERIFY(report);
    QStringList before = studyLines('.');
    before[25] = QStringLiteral("Nivel 2 , Replica 2            2.l");
    QCOMPARE(linesOf(report), before);
    QCOMPARE(openChildren().size(), 2);
}

void ReportWindowTest::keysAndClicksClose_data() {
    QTest::addColumn<int>("key");  // 0: a mouse button instead
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("button");
    QTest::newRow("arrow key") << int(Qt::Key_Down) << int(Qt::NoModifier) << 0;
    QTest::newRow("page down") << int(Qt::Key_PageDown) << int(Qt::NoModifier) << 0;
    QTest::newRow("copy") << int(Qt::Key_C) << int(Qt::ControlModifier) << 0;
    QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier) << 0;
    QTest::newRow("tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << 0;
    QTest::newRow("left button in the text") << 0 << int(Qt::NoModifier) << int(Qt::LeftButton);
    QTest::newRow("right button in the text") << 0 << int(Qt::NoModifier) << int(Qt::RightButton);
}

void ReportWindowTest::keysAndClicksClose() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, button);
    openStudy(ldc::testing::makeStudy(twoLevels("Regresión", '.')));
    const QPointer<Tfrminforme> report = runReport();
    QVERIFY(report);
    QCOMPARE(openChildren().size(), 2);

    if (key)
        QTest::keyClick(report->mminforme, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    else
        QTest::mouseClick(report->mminforme->viewport(), Qt::MouseButton(button), {},
                          QPoint(20, 20));

    QCOMPARE(openChildren().size(), 1);
    QCOMPARE(openChildren().constFirst()->widget(), static_cast<QWidget*>(Finforma.data()));
    flushDeletes();
    QVERIFY(!report);
}

void ReportWindowTest::wheelAndScrollBarsOnlyScroll() {
    openStudy(ldc::testing::makeStudy(twoLevels("Ordenada al Origen", '.')));
    Tfrminforme* report = runReport();
    QVERIFY(report);
    QScrollBar* bar = report->mminforme->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), 0);

    const QPoint inside(20, 20);
    QWheelEvent wheel(inside, report->mminforme->viewport()->mapToGlobal(inside), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(report->mminforme->viewport(), &wheel);
    QVERIFY(bar->value() > 0);

    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 30));
    QCOMPARE(openChildren().size(), 2);
    QVERIFY(reportIn(MainForm->ClientArea->activeSubWindow()) == report);
}

void ReportWindowTest::twoUsesGiveTwoWindows() {
    openStudy(ldc::testing::makeStudy(twoLevels("Regresión", '.')));
    const Tfrminforme* first = runReport();
    const Tfrminforme* second = runReport();
    QVERIFY(first && second && first != second);
    QCOMPARE(openChildren().size(), 3);
    QCOMPARE(linesOf(second), linesOf(first));
}

void ReportWindowTest::noStudyNoReport() {
    openStudy(ldc::testing::makeStudy(twoLevels("Regresión", '.')));
    TRIGGER_ENABLED(MainForm->mnuclose);
    flushDeletes();
    QVERIFY(!Finforma);
    // Never reaches a closed study window, whatever left the command available.
    MainForm->mnuinformeClick();
    QVERIFY(openChildren().isEmpty());
    QVERIFY(m_dialogs->errors.isEmpty());
}

void ReportWindowTest::lastChildResetsTheCommands() {
    openStudy(ldc::testing::makeStudy(twoLevels("Regresión", '.')));
    Tfrminforme* report = runReport();
    QVERIFY(report);
    // The study window goes by its own close box: New and Open wait for the last child.
    qobject_cast<QMdiSubWindow*>(Finforma->parentWidget())->close();
    QVERIFY(!MainForm->FileNewItem->isEnabled());
    // Cálculos is left as the study window's rules last set it.
    MainForm->mnucalculos->menuAction()->setEnabled(true);

    QTest::keyClick(report->mminforme, Qt::Key_Escape);

    QVERIFY(openChildren().isEmpty());
    for (const char* on : {"FileNewItem", "FileOpenItem", "spdnuevo", "spdabrir"})
        QVERIFY2(commandStates().value(on), on);
    for (const char* off :
         {"mnuclose", "spdclose", "FileSaveItem", "spdguardar", "FileSaveAsItem", "WindowTileItem",
          "spdmosaico", "WindowCascadeItem", "spdcascada", "FilePrintItem", "printLasser",
          "spdprint", "PrintDeskjet", "spdprint1"})
        QVERIFY2(!commandStates().value(off, true), off);
    QVERIFY(MainForm->mnucalculos->menuAction()->isEnabled());
}

void ReportWindowTest::anotherChildLeftChangesNothing() {
    openStudy(ldc::testing::makeStudy(twoLevels("Regresión", '.')));
    // With the study window still open.
    Tfrminforme* report = runReport();
    QMap<QString, bool> before = commandStates();
    QTest::mouseClick(report->mminforme->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(openChildren().size(), 1);
    QCOMPARE(commandStates(), before);

    // With only another kind of child window left.
    report = runReport();
    qobject_cast<QMdiSubWindow*>(Finforma->parentWidget())->close();
    addPlainChild();
    before = commandStates();
    QTest::keyClick(report->mminforme, Qt::Key_Space);
    QCOMPARE(openChildren().size(), 1);
    QCOMPARE(commandStates(), before);
    QVERIFY(!MainForm->FileNewItem->isEnabled());
}

int main(int argc, char** argv) {
    LdcApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ReportWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ReportWindowTest.moc"
