// The frame window: command states, hints, splash, about box, help requests, the error box,
// where child windows open and closing.

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <new>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "app/HelpRequest.h"
#include "app/LdcApplication.h"
#include "app/Ufacerca.h"
#include "app/Ufshow.h"
#include "app/help/HelpViewer.h"
#include "study/Fdatos.h"
#include "study/LdcError.h"

namespace {

struct StubbornChild : QWidget {
    bool refuse = true;
    void closeEvent(QCloseEvent* event) override { event->setAccepted(!refuse); }
};

QMdiSubWindow* addResultsSizedChild() {
    return MainForm->addChild(new QWidget, 11, {540, 291}, TMainForm::ChildPlace::centred);
}

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_help.clear();
        setHelpRequestHook([this](unsigned cmd, quintptr data) { m_help.push_back({cmd, data}); });
        startFrame();
    }
    void cleanup() {
        stopFrame();
        setHelpRequestHook({});
        QCOMPARE(m_dialogs.errors, QStringList());
    }

    void startUpState() {
        QCOMPARE(availableCommands(), kIdleCommands);
        QCOMPARE(MainForm->windowTitle(),
                 QStringLiteral(
                     "Límite de Detección y Cuantificación del Método(Curva de calibración) "));
        QCOMPARE(MainForm->Paneld->text(), QStringLiteral("F1 <Ayuda>"));
        QCOMPARE(MainForm->StatusLine->text() + MainForm->estado->text(), QString());
        // Whatever the state, the DeskJet command and "Como usar la ayuda" stay out of sight.
        const auto hidden = [] {
            return !MainForm->PrintDeskjet->isVisible() && MainForm->spdprint1->isHidden() &&
                   !MainForm->HelpHowToUseItem->isVisible();
        };
        QVERIFY(hidden());
        MainForm->applyCommandState(CommandTransition::AfterOpen);
        QVERIFY(hidden());
    }

    void hintsShowInStatusLineAndTooltip() {
        // A change of availability refreshes a button from its action; the hint must survive.
        MainForm->applyCommandState(CommandTransition::AfterOpen);
        const char* const rows[][3] = {
            {"spdprint", "Imprime en Lasser", "Imprime en Lasser"},  // no "|": both parts
            {"spdnuevo", "Nuevo", "Crea un nuevo archivo"},
            // The button's own words, not its menu item's.
            {"spdexit", "Salir", "Salir del módulo LDC del Método (Curva de Calibración)"}};
        for (const auto& [name, tooltip, status] : rows) {
            auto* button = MainForm->findChild<QToolButton*>(name);
            QCOMPARE(button->toolTip(), QString::fromUtf8(tooltip));
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)));
            QApplication::sendEvent(button, &enter);
            QCOMPARE(MainForm->StatusLine->text(), QString::fromUtf8(status));
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(button, &leave);
            QCOMPARE(MainForm->StatusLine->text(), QString());
        }
        MainForm->menuBar()->setActiveAction(MainForm->HelpMenu->menuAction());
        QCOMPARE(MainForm->StatusLine->text(), QStringLiteral("Ayuda del módulo KEBO"));
        MainForm->FilePrintItem->popup(QPoint(20, 20));
        MainForm->FilePrintItem->setActiveAction(MainForm->printLasser);
        QCOMPARE(MainForm->StatusLine->text(), QStringLiteral("Imprime en Lasser"));
        MainForm->FilePrintItem->close();
    }

    void aboutTwiceGivesTwoBoxesOneClearOfTheOther() {
        TRIGGER_ENABLED(MainForm->HelpAboutItem);
        TRIGGER_ENABLED(MainForm->HelpAboutItem);
        const QList<TAboutBox*> boxes = MainForm->findChildren<TAboutBox*>();
        QCOMPARE(boxes.size(), 2);
        QVERIFY(boxes[0]->isVisible() && boxes[1]->isVisible());
        QVERIFY(boxes[1]->y() - boxes[0]->y() > 10 && boxes[1]->x() > boxes[0]->x());
        for (const TAboutBox* box : boxes)
            QVERIFY(box->screen()->availableGeometry().contains(box->frameGeometry()));
        QCOMPARE(boxes[0]->windowTitle(), QStringLiteral("Acerca de"));
        QCOMPARE(boxes[0]->ProductName->text(), QStringLiteral("QORVAL v.w. 3.1"));
        QTest::mouseClick(boxes[0]->OKButton, Qt::LeftButton);
        QVERIFY(!boxes[0]->isVisible() && boxes[1]->isVisible());
    }

    void splashHidesByItsTimerOrLabel3() {
        Fshow = new TFshow(MainForm);
        QVERIFY(!Fshow->Timer1->isActive());  // stopped until the frame is activated
        QCOMPARE(Fshow->Timer1->interval(), 3000);
        for (const bool byTimer : {true, false}) {
            Fshow->show();
            MainForm->FormActivate();  // every activation starts the timer again
            QVERIFY(Fshow->Timer1->isActive());
            if (byTimer)
                QVERIFY(QMetaObject::invokeMethod(Fshow->Timer1, "timeout"));
            else
                QTest::mouseClick(Fshow->Label3, Qt::LeftButton);
            QVERIFY(!Fshow->isVisible());
            QVERIFY(!Fshow->Timer1->isActive());
        }
        delete Fshow.data();
    }

    void helpRequests() {
        TRIGGER_ENABLED(MainForm->HelpContentsItem);
        MainForm->HelpHowToUse();  // its item is hidden; the command still answers
        QVERIFY(QTest::qWaitForWindowActive(MainForm));
        QTest::keyClick(MainForm, Qt::Key_F1);  // no child window: the contents
        addPlainChild(19);
        QTest::keyClick(MainForm, Qt::Key_F1);  // the topic of the child in front
        // F1 on a highlighted menu item: its topic.
        MainForm->applyCommandState(CommandTransition::AfterOpen);
        MainForm->FileMenu->popup(QPoint(10, 10));
        MainForm->FileMenu->setActiveAction(MainForm->FileSaveAsItem);
        QTest::keyClick(MainForm->FileMenu, Qt::Key_F1);
        TRIGGER_ENABLED(MainForm->HelpAboutItem);
        auto* about = MainForm->findChild<TAboutBox*>();
        QApplication::setActiveWindow(about);
        QVERIFY(QTest::qWaitForWindowActive(about));
        QTest::keyClick(about, Qt::Key_F1);
        QCOMPARE(m_help, (Requests{{HELP_CONTENTS, 0},
                                   {HELP_HELPONHELP, 0},
                                   {HELP_CONTENTS, 0},
                                   {HELP_CONTEXT, 19},
                                   {HELP_CONTEXT, 6},
                                   {HELP_CONTEXT, 33}}));
        // The search sends an empty keyword, not a null one.
        TRIGGER_ENABLED(MainForm->HelpSearchItem);
        QCOMPARE(m_help.last().first, HELP_PARTIALKEY);
        const auto* keyword = reinterpret_cast<const char*>(m_help.last().second);
        QVERIFY(keyword && !*keyword);
    }

    // Whatever a command raises reaches the error box, in the analyst's words, and the
    // program goes on.
    void theErrorBoxShowsWhatACommandRaised() {
        const std::pair<std::function<void()>, QString> rows[] = {
            {[] { throw ldc::Error("'2,O' is not a valid floating point value", "En la fila 3."); },
             "En la fila 3.\n'2,O' is not a valid floating point value."},
            {[] { throw std::bad_alloc(); },
             "No hay memoria suficiente para completar la operación."},
            {[] { throw 42; }, "Error inesperado."}};
        QAction command;
        for (const auto& [raise, shown] : rows) {
            const auto connection = connect(&command, &QAction::triggered, raise);
            triggerAsTheUser(&command);
            disconnect(connection);
            QCOMPARE(m_dialogs.errors, QStringList{shown});
            m_dialogs.errors.clear();
        }
        TRIGGER_ENABLED(MainForm->FileNewItem);
        QVERIFY(Finforma);
    }

    // A short message must not cut the caption, the application title, in its window frame.
    void noticesAndErrorBoxesHoldTheWholeTitle() {
        QFont caption = QApplication::font();
        caption.setBold(true);
        const int titleBar = MainForm->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const int needed =
            QFontMetrics(caption).horizontalAdvance(applicationTitle()) + 3 * titleBar;
        for (const QMessageBox::Icon icon : {QMessageBox::NoIcon, QMessageBox::Critical}) {
            const auto box = messageBox(icon, QStringLiteral("Disk full."), MainForm);
            box->show();
            QCOMPARE(box->windowTitle(), applicationTitle());
            QVERIFY2(box->width() >= needed, qPrintable(QString::number(box->width())));
        }
    }

    // Each child window opens wholly inside the client area, a centred one clear of the one
    // already there; Cascade keeps each at the size it opened with, the front one in front.
    void childWindowsOpenInsideAndCascadeReadably() {
        QMdiSubWindow* first = addResultsSizedChild();
        QMdiSubWindow* second = addResultsSizedChild();
        QVERIFY(second->x() > first->x());
        QVERIFY(second->y() - first->y() >= first->widget()->y());  // the first's title shows
        // Dragged onto the first, where the area's own placement sends the next one out.
        second->move(first->pos());
        TRIGGER_ENABLED(MainForm->FileNewItem);
        QVERIFY(Finforma);
        QMdiSubWindow* study = qobject_cast<QMdiSubWindow*>(Finforma->parentWidget());
        const QSize studySize = study->size();
        const QRect area = MainForm->ClientArea->viewport()->rect();
        for (const QMdiSubWindow* child : openChildren())
            QVERIFY(area.contains(child->geometry()));
        QVERIFY(!MainForm->ClientArea->horizontalScrollBar()->isVisible());
        QVERIFY(!MainForm->ClientArea->verticalScrollBar()->isVisible());

        MainForm->WindowTile();  // three thin rows
        MainForm->WindowCascade();
        for (const QMdiSubWindow* child : {first, second})
            QCOMPARE(child->size(), QSize(540, 291));
        QCOMPARE(study->size(), studySize);
        QCOMPARE(MainForm->ClientArea->subWindowList(QMdiArea::StackingOrder).last(), study);
        QVERIFY(first->pos() != second->pos() && second->pos() != study->pos());
        for (const QMdiSubWindow* child : openChildren())
            QVERIFY(area.contains(child->geometry()));
    }

    void exitAsksEveryChild() {
        auto* stubborn = new StubbornChild;
        MainForm->addChild(stubborn, 11);
        addPlainChild();
        TRIGGER_ENABLED(MainForm->FileExitItem);
        QCOMPARE(openChildren().size(), 1);  // the willing child went; the other keeps the frame
        QVERIFY(MainForm->isVisible());
        stubborn->refuse = false;
        TRIGGER_ENABLED(MainForm->FileExitItem);
        QVERIFY(!MainForm->isVisible());
    }

private:
    using Requests = QList<std::pair<unsigned, quintptr>>;
    ScriptedDialogs m_dialogs;  // a dialog nobody expected fails the test
    Requests m_help;
};

int main(int argc, char** argv) {
    LdcApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    FrameTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FrameTest.moc"
