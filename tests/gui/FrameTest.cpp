// The frame: commands, hints, splash, about boxes, help, the error box, child windows, Exit.

#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QToolButton>

#include <functional>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "app/HelpRequest.h"
#include "app/Ufacerca.h"
#include "app/Ufshow.h"
#include "app/help/HelpViewer.h"
#include "study/LdcError.h"
#include "study/ui/Fdatos.h"

namespace {

HelpViewer* request(unsigned command, quintptr data = 0, const QString& file = bundledHelpFile()) {
    WinHelp(nullptr, file, command, data);
    return helpViewer();
}

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT

    using Requests = QList<std::pair<unsigned, quintptr>>;
    ScriptedDialogs m_dialogs;  // a dialog nobody expected fails the test
    Requests m_help;

private slots:
    void init() {
        m_help.clear();
        setHelpRequestHook([this](unsigned cmd, quintptr data) { m_help.push_back({cmd, data}); });
        startFrame();
    }
    void cleanup() {
        stopFrame();
        setHelpRequestHook({});
        QCOMPARE(std::exchange(m_dialogs.errors, {}), QStringList());
    }

    void startUpStateAndHints() {
        QCOMPARE(MainForm->windowTitle(),
                 QStringLiteral(
                     "Límite de Detección y Cuantificación del Método(Curva de calibración) "));
        QCOMPARE(framePanel("Paneld")->text(), QStringLiteral("F1 <Ayuda>"));
        QCOMPARE(framePanel("StatusLine")->text() + framePanel("estado")->text(), QString());
        // Whatever the state, the DeskJet command and "Como usar la ayuda" stay out of sight.
        for (const auto state : {CommandTransition::StartUp, CommandTransition::AfterOpen}) {
            MainForm->applyCommandState(state);
            QVERIFY(!frameAction("PrintDeskjet")->isVisible() &&
                    frameChild<QWidget>("spdprint1")->isHidden() &&
                    !frameAction("HelpHowToUseItem")->isVisible());
        }
        // A change of availability (the last one) refreshes a button from its action; the hint
        // must survive it, in the tooltip and the status line.
        const char* const rows[][3] = {
            {"spdprint", "Imprime en Lasser", "Imprime en Lasser"},  // no "|": both parts
            // The button's own words, not its menu item's.
            {"spdexit", "Salir", "Salir del módulo LDC del Método (Curva de Calibración)"}};
        for (const auto& [name, tooltip, status] : rows) {
            auto* button = MainForm->findChild<QToolButton*>(name);
            QCOMPARE(button->toolTip(), QString::fromUtf8(tooltip));
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)));
            QApplication::sendEvent(button, &enter);
            QCOMPARE(framePanel("StatusLine")->text(), QString::fromUtf8(status));
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(button, &leave);
            QCOMPARE(framePanel("StatusLine")->text(), QString());
        }
        MainForm->menuBar()->setActiveAction(frameMenu("HelpMenu")->menuAction());
        QCOMPARE(framePanel("StatusLine")->text(), QStringLiteral("Ayuda del módulo KEBO"));
        frameMenu("FilePrintItem")->popup(QPoint(20, 20));
        frameMenu("FilePrintItem")->setActiveAction(frameAction("printLasser"));
        QCOMPARE(framePanel("StatusLine")->text(), QStringLiteral("Imprime en Lasser"));
        frameMenu("FilePrintItem")->close();
    }

    void splashHidesByItsTimerOrLabel3() {
        Fshow = new TFshow(MainForm);
        QVERIFY(!Fshow->Timer1->isActive());  // stopped until the frame is activated
        QCOMPARE(Fshow->Timer1->interval(), 3000);
        for (const bool byTimer : {true, false}) {
            Fshow->show();
            MainForm->FormActivate();  // every activation starts the timer again
            QVERIFY(Fshow->Timer1->isActive());
            byTimer ? void(QMetaObject::invokeMethod(Fshow->Timer1, "timeout"))
                    : QTest::mouseClick(Fshow->Label3, Qt::LeftButton);
            QVERIFY(!Fshow->isVisible() && !Fshow->Timer1->isActive());
        }
        delete Fshow.data();
    }

    // Every About shows a further box, clear of the one before; F1 anywhere asks for the
    // topic of what is in front.
    void helpRequestsAndAboutBoxes() {
        TRIGGER_ENABLED(frameAction("HelpContentsItem"));
        MainForm->HelpHowToUse();  // its item is hidden; the command still answers
        QVERIFY(QTest::qWaitForWindowActive(MainForm));
        QTest::keyClick(MainForm, Qt::Key_F1);  // no child window: the contents
        addPlainChild(19);
        QTest::keyClick(MainForm, Qt::Key_F1);  // the topic of the child in front
        MainForm->applyCommandState(CommandTransition::AfterOpen);
        frameMenu("FileMenu")->popup(QPoint(10, 10));
        frameMenu("FileMenu")->setActiveAction(frameAction("FileSaveAsItem"));
        QTest::keyClick(frameMenu("FileMenu"), Qt::Key_F1);  // a highlighted item: its topic
        TRIGGER_ENABLED(frameAction("HelpAboutItem"));
        TRIGGER_ENABLED(frameAction("HelpAboutItem"));
        const QList<TAboutBox*> boxes = MainForm->findChildren<TAboutBox*>();
        QCOMPARE(boxes.size(), 2);
        QVERIFY(boxes[1]->y() - boxes[0]->y() > 10 && boxes[1]->x() > boxes[0]->x());
        QCOMPARE(boxes[1]->windowTitle() + boxes[1]->ProductName->text(),
                 QStringLiteral("Acerca deQORVAL v.w. 3.1"));
        QApplication::setActiveWindow(boxes[1]);
        QVERIFY(QTest::qWaitForWindowActive(boxes[1]));
        QTest::keyClick(boxes[1], Qt::Key_F1);
        QTest::mouseClick(boxes[0]->OKButton, Qt::LeftButton);
        QVERIFY(!boxes[0]->isVisible() && boxes[1]->isVisible());
        const Requests contents{{HELP_CONTENTS, 0}, {HELP_HELPONHELP, 0}, {HELP_CONTENTS, 0}};
        const Requests topics{{HELP_CONTEXT, 19}, {HELP_CONTEXT, 6}, {HELP_CONTEXT, 33}};
        QCOMPARE(m_help, contents + topics);
        // The search sends an empty keyword, not a null one.
        TRIGGER_ENABLED(frameAction("HelpSearchItem"));
        QCOMPARE(m_help.last().first, HELP_PARTIALKEY);
        const auto* keyword = reinterpret_cast<const char*>(m_help.last().second);
        QVERIFY(keyword && !*keyword);
    }

    // Whatever a command raises reaches the error box in the analyst's words.
    void theErrorBoxShowsWhatACommandRaised() {
        const std::pair<std::function<void()>, QString> rows[] = {
            {[] { throw ldc::Error(std::string("'4") + '\0' + ".1' is not", "En la fila 3."); },
             "En la fila 3.\n'4\\x00.1' is not."},
            {[] { throw std::bad_alloc(); },
             "No hay memoria suficiente para completar la operación."},
            {[] { throw std::runtime_error("a\033[2Jb"); }, "Error inesperado: a\\x1B[2Jb."},
            {[] { throw 42; }, "Error inesperado."}};
        QAction command;
        for (const auto& [raise, shown] : rows) {
            const auto connection = connect(&command, &QAction::triggered, raise);
            triggerAsTheUser(&command);
            disconnect(connection);
            QCOMPARE(m_dialogs.errors, QStringList{shown});
            m_dialogs.errors.clear();
        }
        TRIGGER_ENABLED(frameAction("FileNewItem"));
        QVERIFY(Finforma);
    }

    // A short message must not cut the caption, the application title, in the window frame.
    void noticesAndErrorBoxesHoldTheWholeTitle() {
        QFont caption = QApplication::font();
        caption.setBold(true);
        const int needed = QFontMetrics(caption).horizontalAdvance(applicationTitle()) +
                           3 * MainForm->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        for (const QMessageBox::Icon icon : {QMessageBox::NoIcon, QMessageBox::Critical}) {
            const auto box = messageBox(icon, QStringLiteral("Disk full."), MainForm);
            box->show();
            QCOMPARE(box->windowTitle(), applicationTitle());
            QVERIFY2(box->width() >= needed, qPrintable(QString::number(box->width())));
        }
    }

    // A child window opens wholly inside the client area, a centred one clear of the one
    // there; Cascade keeps each at the size it opened with, the front one in front.
    void childWindowsOpenInsideAndCascadeReadably() {
        QMdiSubWindow* first =
            MainForm->addChild(new QWidget, 11, {540, 291}, TMainForm::ChildPlace::Centred);
        QMdiSubWindow* second =
            MainForm->addChild(new QWidget, 11, {540, 291}, TMainForm::ChildPlace::Centred);
        QVERIFY(second->x() > first->x());
        QVERIFY(second->y() - first->y() >= first->widget()->y());  // the first's title shows
        second->move(first->pos());  // where the area's own placement sends the next one out
        TRIGGER_ENABLED(frameAction("FileNewItem"));
        QVERIFY(Finforma);
        auto* study = qobject_cast<QMdiSubWindow*>(Finforma->parentWidget());
        const QSize studySize = study->size();
        const QRect area = clientArea()->viewport()->rect();
        QVERIFY(area.contains(study->geometry()));
        QVERIFY(!clientArea()->verticalScrollBar()->isVisible());
        MainForm->WindowCascade();
        QVERIFY(first->size() == QSize(540, 291) && second->size() == QSize(540, 291));
        QCOMPARE(study->size(), studySize);
        QCOMPARE(clientArea()->subWindowList(QMdiArea::StackingOrder).last(), study);
        QVERIFY(first->pos() != second->pos() && second->pos() != study->pos());
        QVERIFY(area.contains(study->geometry()));
        TRIGGER_ENABLED(
            frameAction("FileExitItem"));  // every child agrees to close: the frame goes
        QVERIFY(openChildren().isEmpty() && !MainForm->isVisible());
    }

    // Every help context number of the menus and windows shows the topic that names the
    // menu item or window it was asked from; one viewer serves every request.
    void theHelpViewerAnswersEveryRequest() {
        // clang-format off
        const std::pair<unsigned, const char*> contexts[] = {
            {1, "Archivo"}, {2, "Nivel 1 , Replica 1"}, {3, "Abrir..."}, {4, "Cerrar"},
            {5, "Guardar"}, {6, "Guardar como..."}, {7, "Imprimir..."}, {8, "Salir"},
            {10, "Cálculos"}, {11, "LC = 10 · s / b"}, {19, "cierran la ventana del informe"},
            {20, "Mosaico"}, {30, "Ctrl+F1"}, {31, "Contenido"}, {32, "Buscar ayuda sobre..."},
            {33, "QORVAL v.w. 3.1"}};
        // clang-format on
        for (const auto& [context, caption] : contexts) {
            const HelpViewer* viewer = request(HELP_CONTEXT, context);
            QVERIFY2(viewer->isVisible() && viewer->note()->isHidden() && viewer->currentTopic() &&
                         viewer->currentTopic()->contexts.contains(context) &&
                         viewer->browser()->toPlainText().contains(QString::fromUtf8(caption)),
                     caption);
        }
        HelpViewer* viewer = request(HELP_HELPONHELP);
        QCOMPARE(viewer->browser()->documentTitle(), QStringLiteral("Cómo usar la ayuda"));
        QCOMPARE(request(HELP_CONTENTS), viewer);
        QCOMPARE(viewer->currentTopic(), viewer->index().contents());
        QCOMPARE(viewer->windowTitle(),
                 QStringLiteral("Ayuda - Límite de Detección y Cuantificación del Método"));
        request(HELP_CONTEXT, 99);
        QCOMPARE(viewer->currentTopic(), viewer->index().contents());
        QVERIFY(viewer->note()->isVisible() && viewer->note()->text().contains("contexto 99"));
        request(HELP_CONTEXT, 2, bundledHelpFile() + ".falta");
        QVERIFY(viewer->note()->text().startsWith("No se encontró el archivo de ayuda «"));
        request(HELP_PARTIALKEY, quintptr(""));  // the Search command's: every topic
        QVERIFY(viewer->searchPanel()->isVisible());
        QCOMPARE(viewer->searchResults()->count(), viewer->index().topics().size());
        // Case and accents do not matter, and the page the keyword names comes first.
        QTest::keyClicks(viewer->searchField(), QStringLiteral("CUANTIFICACION"));
        QTest::keyClick(viewer->searchField(), Qt::Key_Return);
        QCOMPARE(viewer->currentTopic(), viewer->index().byContext(11));
        request(HELP_PARTIALKEY, quintptr("xilófono"));
        QCOMPARE(viewer->searchResults()->count(), 0);
    }
};

LDC_WIDGET_TEST_MAIN(FrameTest)

#include "FrameTest.moc"
