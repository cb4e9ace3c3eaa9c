// The frame window: command states, hints, splash, about box, help requests, window
// arrangement and closing.

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "app/CommandStates.h"
#include "app/HelpRequest.h"
#include "app/Hint.h"
#include "app/LdcApplication.h"
#include "app/Main.h"
#include "app/Ufacerca.h"
#include "app/Ufshow.h"
#include "app/help/HelpViewer.h"

namespace {

QAction* command(const char* name) {
    return MainForm->findChild<QAction*>(QLatin1String(name));
}

QList<TAboutBox*> visibleAboutBoxes() {
    QList<TAboutBox*> boxes;
    for (TAboutBox* box : MainForm->findChildren<TAboutBox*>())
        if (box->isVisible())
            boxes << box;
    return boxes;
}

// A child window that refuses to close while told to.
class StubbornChild : public QWidget {
public:
    bool refuse = true;

protected:
    void closeEvent(QCloseEvent* event) override { event->setAccepted(!refuse); }
};

struct HelpCall {
    unsigned command;
    quintptr data;
};

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_help.clear();
        setHelpRequestHook([this](unsigned cmd, quintptr data) { m_help.push_back({cmd, data}); });
        startFrame();
    }
    void cleanup() {
        stopFrame();
        setHelpRequestHook({});
        m_dialogs.reset();
    }

    void startUpState_data();
    void startUpState();
    void startUpPanels();
    void hiddenItemsStayHidden();
    void menusInOrder();
    void everyRowNamesARealCommand();
    void hintSplit_data();
    void hintSplit();
    void speedButtonHints_data();
    void speedButtonHints();
    void menuItemHintGoesToStatusLine();
    void aboutTwiceGivesTwoBoxes();
    void splashHidesWhenItsTimerFires();
    void splashHidesOnLabel3Click();
    void helpRequests();
    void f1FollowsWhatIsInFront();
    void f1OnHighlightedMenuItem();
    void tileStacksFullWidth();
    void arrangeLinesIconsAlongTheBottom();
    void exitAsksEveryChild();

private:
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::vector<HelpCall> m_help;
};

void FrameTest::startUpState_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("available");
    for (const char* on : {"FileNewItem", "FileOpenItem", "FileExitItem", "WindowMenu", "HelpMenu",
                           "HelpContentsItem", "HelpSearchItem", "HelpAboutItem", "FileMenu"})
        QTest::newRow(on) << QString::fromLatin1(on) << true;
    for (const char* off : {"mnuclose", "FileSaveItem", "FileSaveAsItem", "FilePrintItem",
                            "printLasser", "PrintDeskjet", "mnucalculos", "mnudunet", "mnuinforme",
                            "WindowTileItem", "WindowCascadeItem"})
        QTest::newRow(off) << QString::fromLatin1(off) << false;
}

void FrameTest::startUpState() {
    QFETCH(QString, name);
    QFETCH(bool, available);
    QAction* action = MainForm->findChild<QAction*>(name);
    QVERIFY(action);
    QCOMPARE(action->isEnabled(), available);
}

void FrameTest::startUpPanels() {
    QCOMPARE(
        MainForm->windowTitle(),
        QStringLiteral("Límite de Detección y Cuantificación del Método(Curva de calibración) "));
    QCOMPARE(MainForm->StatusLine->text(), QString());
    QCOMPARE(MainForm->Paneld->text(), QStringLiteral("F1 <Ayuda>"));
    QCOMPARE(MainForm->estado->text(), QString());
    QCOMPARE(MainForm->StatusLine->width(), 336);
    QCOMPARE(MainForm->estado->width(), 132);
    QCOMPARE(MainForm->SpeedBar->height(), 33);
    QCOMPARE(MainForm->StatusBar->height(), 33);
    // The buttons follow their menu items: available are exactly New, Open, Exit and Contents.
    for (QToolButton* button : MainForm->SpeedBar->findChildren<QToolButton*>()) {
        const bool expected =
            QStringList{"spdnuevo", "spdabrir", "spdexit", "spdcontenido"}.contains(
                button->objectName());
        QVERIFY2(button->isEnabled() == expected, qPrintable(button->objectName()));
    }
    QCOMPARE(MainForm->spdmosaico->x(), 204);
    QCOMPARE(MainForm->spdprint->size(), QSize(23, 23));
    QCOMPARE(MainForm->spdnuevo->size(), QSize(25, 25));
}

void FrameTest::hiddenItemsStayHidden() {
    // Every column, applied in turn, keeps the DeskJet command and "Como usar la ayuda" out
    // of sight, though the DeskJet command follows the laser one's availability.
    for (const CommandTransition t :
         {CommandTransition::AfterOpen, CommandTransition::AfterNew,
          CommandTransition::AfterCloseStudy, CommandTransition::StartUp}) {
        MainForm->applyCommandState(t);
        QVERIFY(!MainForm->PrintDeskjet->isVisible());
        QVERIFY(MainForm->spdprint1->isHidden());
        QVERIFY(!MainForm->HelpHowToUseItem->isVisible());
        // Qt reports a hidden action as unavailable whatever its own state.
        QVERIFY(!MainForm->PrintDeskjet->isEnabled());
    }
}

void FrameTest::menusInOrder() {
    auto names = [](const QList<QAction*>& actions) {
        QStringList list;
        for (const QAction* action : actions)
            list << action->objectName();
        return list;
    };
    QCOMPARE(names(MainForm->menuBar()->actions()),
             QStringList({"FileMenu", "mnucalculos", "WindowMenu", "HelpMenu"}));
    QCOMPARE(names(MainForm->FileMenu->actions()),
             QStringList({"FileNewItem", "FileOpenItem", "mnuclose", "N2", "FileSaveItem",
                          "FileSaveAsItem", "N1", "FilePrintItem", "N4", "FileExitItem"}));
    QCOMPARE(names(MainForm->FilePrintItem->actions()),
             QStringList({"printLasser", "PrintDeskjet"}));
    QCOMPARE(names(MainForm->HelpMenu->actions()),
             QStringList({"HelpContentsItem", "HelpSearchItem", "HelpHowToUseItem", "N3",
                          "HelpAboutItem"}));
    QCOMPARE(MainForm->HelpHowToUseItem->text(), QStringLiteral("Como &usar  la ayuda"));
    QCOMPARE(MainForm->FileOpenItem->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    QCOMPARE(MainForm->FileSaveItem->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
    QCOMPARE(MainForm->HelpSearchItem->shortcut(), QKeySequence(QStringLiteral("Ctrl+F1")));
}

void FrameTest::everyRowNamesARealCommand() {
    // A misspelt name in the table would silently leave a command in a stale state.
    for (const CommandRow& row : commandTable()) {
        QAction* action = command(row.item);
        QVERIFY2(action, row.item);
        if (row.button) {
            auto* button = MainForm->findChild<QToolButton*>(QLatin1String(row.button));
            QVERIFY2(button, row.button);
            QCOMPARE(button->defaultAction(), action);
        }
    }
}

void FrameTest::hintSplit_data() {
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("shortPart");
    QTest::addColumn<QString>("longPart");
    QTest::newRow("both parts") << "Nuevo|Crea un nuevo archivo"
                                << "Nuevo"
                                << "Crea un nuevo archivo";
    QTest::newRow("no bar: both the same") << "Imprime en Lasser"
                                           << "Imprime en Lasser"
                                           << "Imprime en Lasser";
    QTest::newRow("split at the first bar") << "a|b|c"
                                            << "a"
                                            << "b|c";
    QTest::newRow("empty short part") << "|solo largo"
                                      << ""
                                      << "solo largo";
    QTest::newRow("empty hint") << ""
                                << ""
                                << "";
}

void FrameTest::hintSplit() {
    QFETCH(QString, hint);
    QFETCH(QString, shortPart);
    QFETCH(QString, longPart);
    const HintParts parts = splitHint(hint);
    QCOMPARE(parts.shortPart, shortPart);
    QCOMPARE(parts.longPart, longPart);
}

void FrameTest::speedButtonHints_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("status");
    QTest::newRow("spdprint") << "spdprint"
                              << "Imprime en Lasser"
                              << "Imprime en Lasser";
    QTest::newRow("spdnuevo") << "spdnuevo"
                              << "Nuevo"
                              << "Crea un nuevo archivo";
    QTest::newRow("spdexit: the button's own words, not the menu item's")
        << "spdexit"
        << "Salir"
        << "Salir del módulo LDC del Método (Curva de Calibración)";
    QTest::newRow("spdabrir") << "spdabrir"
                              << "Abrir"
                              << "Abre un archivo de Curva de Calibración";
}

void FrameTest::speedButtonHints() {
    QFETCH(QString, button);
    QFETCH(QString, tooltip);
    QFETCH(QString, status);
    auto* speed = MainForm->findChild<QToolButton*>(button);
    QVERIFY(speed);
    // A change of availability refreshes the button from its action; the hint must survive.
    MainForm->applyCommandState(CommandTransition::AfterOpen);
    MainForm->applyCommandState(CommandTransition::StartUp);
    QCOMPARE(speed->toolTip(), tooltip);

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), speed->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(speed, &enter);
    QCOMPARE(MainForm->StatusLine->text(), status);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(speed, &leave);
    QCOMPARE(MainForm->StatusLine->text(), QString());
}

void FrameTest::menuItemHintGoesToStatusLine() {
    MainForm->applyCommandState(CommandTransition::AfterOpen);
    QMenuBar* bar = MainForm->menuBar();
    // The menu's own hint while its title is highlighted, then the highlighted item's.
    bar->setActiveAction(MainForm->HelpMenu->menuAction());
    QCOMPARE(MainForm->StatusLine->text(), QStringLiteral("Ayuda del módulo KEBO"));
    bar->setActiveAction(MainForm->FileMenu->menuAction());
    QCOMPARE(MainForm->StatusLine->text(), QStringLiteral("Crea,abre,guarda e imrpime un archivo"));
    MainForm->FileMenu->setActiveAction(MainForm->FileSaveItem);
    QCOMPARE(MainForm->StatusLine->text(), QStringLiteral("Guarda el archivo"));
    MainForm->FileMenu->setActiveAction(MainForm->FilePrintItem->menuAction());
    QCOMPARE(MainForm->StatusLine->text(), QStringLiteral("Imprime el archivo actual"));
    MainForm->FilePrintItem->popup(QPoint(20, 20));
    MainForm->FilePrintItem->setActiveAction(MainForm->printLasser);
    QCOMPARE(MainForm->StatusLine->text(), QStringLiteral("Imprime en Lasser"));
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

void FrameTest::aboutTwiceGivesTwoBoxes() {
    TRIGGER_ENABLED(MainForm->HelpAboutItem);
    TRIGGER_ENABLED(MainForm->HelpAboutItem);
    QList<TAboutBox*> boxes = visibleAboutBoxes();
    QCOMPARE(boxes.size(), 2);
    QVERIFY(boxes[0] != boxes[1]);
    QCOMPARE(boxes[0]->windowTitle(), QStringLiteral("Acerca de"));
    QCOMPARE(boxes[0]->size(), QSize(365, 261));
    QCOMPARE(boxes[0]->ProductName->text(), QStringLiteral("QORVAL v.w. 3.1"));
    QCOMPARE(boxes[0]->Label10->text(), QStringLiteral("Control de Calidad"));

    QTest::mouseClick(boxes[0]->OKButton, Qt::LeftButton);
    QCOMPARE(visibleAboutBoxes().size(), 1);

    // F1 in the box asks for its own topic.
    QApplication::setActiveWindow(boxes[1]);
    QVERIFY(QTest::qWaitForWindowActive(boxes[1]));
    QTest::keyClick(boxes[1], Qt::Key_F1);
    QCOMPARE(m_help.size(), std::size_t(1));
    QCOMPARE(m_help[0].command, HELP_CONTEXT);
    QCOMPARE(m_help[0].data, quintptr(33));
}

void FrameTest::splashHidesWhenItsTimerFires() {
    Fshow = new TFshow(MainForm);
    QVERIFY(!Fshow->Timer1->isActive());  // stopped until the frame is activated
    QCOMPARE(Fshow->Timer1->interval(), 3000);
    QCOMPARE(Fshow->size(), QSize(503, 430));
    Fshow->show();

    MainForm->FormActivate();
    QVERIFY(Fshow->Timer1->isActive());
    QVERIFY(Fshow->isVisible());
    QVERIFY(QMetaObject::invokeMethod(Fshow->Timer1, "timeout"));
    QVERIFY(!Fshow->isVisible());
    QVERIFY(!Fshow->Timer1->isActive());

    // A later activation restarts the timer; its firing over a hidden splash changes nothing.
    MainForm->FormActivate();
    QVERIFY(Fshow->Timer1->isActive());
    delete Fshow.data();
}

void FrameTest::splashHidesOnLabel3Click() {
    Fshow = new TFshow(MainForm);
    Fshow->show();
    MainForm->FormActivate();
    QTest::mouseClick(Fshow->Label3, Qt::LeftButton);
    QVERIFY(!Fshow->isVisible());
    QVERIFY(!Fshow->Timer1->isActive());
    delete Fshow.data();
}

void FrameTest::helpRequests() {
    TRIGGER_ENABLED(MainForm->HelpContentsItem);
    TRIGGER_ENABLED(MainForm->HelpSearchItem);
    MainForm->HelpHowToUse();  // its item is hidden; the command still answers
    QCOMPARE(m_help.size(), std::size_t(3));
    QCOMPARE(m_help[0].command, HELP_CONTENTS);
    QCOMPARE(m_help[0].data, quintptr(0));
    QCOMPARE(m_help[1].command, HELP_PARTIALKEY);
    QVERIFY(m_help[1].data != 0);
    QCOMPARE(QString::fromUtf8(reinterpret_cast<const char*>(m_help[1].data)), QString());
    QCOMPARE(m_help[2].command, HELP_HELPONHELP);
    QCOMPARE(m_help[2].data, quintptr(0));
}

void FrameTest::f1FollowsWhatIsInFront() {
    QVERIFY(QTest::qWaitForWindowActive(MainForm));
    // No child window: the contents.
    QTest::keyClick(MainForm, Qt::Key_F1);
    // A results window in front: its topic.
    addPlainChild(11);
    QTest::keyClick(MainForm, Qt::Key_F1);
    // A report window in front of it: the report's topic.
    addPlainChild(19);
    QTest::keyClick(MainForm, Qt::Key_F1);
    QCOMPARE(m_help.size(), std::size_t(3));
    QCOMPARE(m_help[0].command, HELP_CONTENTS);
    QCOMPARE(m_help[1].command, HELP_CONTEXT);
    QCOMPARE(m_help[1].data, quintptr(11));
    QCOMPARE(m_help[2].data, quintptr(19));
}

void FrameTest::f1OnHighlightedMenuItem() {
    MainForm->applyCommandState(CommandTransition::AfterOpen);
    MainForm->FileMenu->popup(QPoint(10, 10));
    MainForm->FileMenu->setActiveAction(MainForm->FileSaveAsItem);
    QTest::keyClick(MainForm->FileMenu, Qt::Key_F1);
    QCOMPARE(m_help.size(), std::size_t(1));
    QCOMPARE(m_help[0].command, HELP_CONTEXT);
    QCOMPARE(m_help[0].data, quintptr(6));
    QVERIFY(!MainForm->FileMenu->isVisible());

    // "Lasser" has no topic of its own: the print menu's.
    MainForm->FilePrintItem->popup(QPoint(10, 10));
    MainForm->FilePrintItem->setActiveAction(MainForm->printLasser);
    QTest::keyClick(MainForm->FilePrintItem, Qt::Key_F1);
    QCOMPARE(m_help.size(), std::size_t(2));
    QCOMPARE(m_help[1].data, quintptr(7));
}

void FrameTest::tileStacksFullWidth() {
    MainForm->applyCommandState(CommandTransition::AfterOpen);
    const QList<QMdiSubWindow*> children{addPlainChild(), addPlainChild(), addPlainChild()};
    children[1]->showMaximized();
    TRIGGER_ENABLED(MainForm->WindowTileItem);
    const QRect area = MainForm->ClientArea->viewport()->rect();
    int covered = 0;
    QList<int> tops;
    for (QMdiSubWindow* child : children) {
        QVERIFY(!child->isMaximized());
        QCOMPARE(child->x(), 0);
        QCOMPARE(child->width(), area.width());
        covered += child->height();
        tops << child->y();
    }
    QCOMPARE(covered, area.height());
    std::sort(tops.begin(), tops.end());
    QCOMPARE(tops.first(), 0);
    QVERIFY(tops[0] < tops[1] && tops[1] < tops[2]);

    TRIGGER_ENABLED(MainForm->WindowCascadeItem);
    QVERIFY(children[0]->pos() != children[1]->pos());
}

void FrameTest::arrangeLinesIconsAlongTheBottom() {
    const QList<QMdiSubWindow*> children{addPlainChild(), addPlainChild(), addPlainChild()};
    children[0]->showMinimized();
    children[2]->showMinimized();
    children[0]->move(50, 40);
    children[2]->move(120, 10);
    MainForm->WindowArrange();
    const QRect area = MainForm->ClientArea->viewport()->rect();
    QCOMPARE(children[0]->geometry().bottom(), area.bottom());
    QCOMPARE(children[2]->geometry().bottom(), area.bottom());
    QCOMPARE(children[0]->x(), 0);
    QCOMPARE(children[2]->x(), children[0]->width());
    QVERIFY(!children[1]->isMinimized());
}

void FrameTest::exitAsksEveryChild() {
    auto* stubborn = new StubbornChild;
    MainForm->addChild(stubborn, 11);
    addPlainChild();
    TRIGGER_ENABLED(MainForm->FileExitItem);
    // The willing child went; the one that refused keeps the frame open.
    QCOMPARE(openChildren().size(), 1);
    QVERIFY(MainForm->isVisible());

    stubborn->refuse = false;
    TRIGGER_ENABLED(MainForm->FileExitItem);
    QVERIFY(openChildren().isEmpty());
    QVERIFY(!MainForm->isVisible());
}

int main(int argc, char** argv) {
    LdcApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    FrameTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FrameTest.moc"
