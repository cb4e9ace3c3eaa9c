#pragma once

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QtTest>

#include "app/CommandStates.h"
#include "app/LdcApplication.h"
#include "app/Main.h"

// On the program's own application object, so commands go through its error handler.
#define LDC_WIDGET_TEST_MAIN(TestClass)                 \
    int main(int argc, char** argv) {                   \
        LdcApplication app(argc, argv);                 \
        QApplication::setQuitOnLastWindowClosed(false); \
        TestClass test;                                 \
        return QTest::qExec(&test, argc, argv);         \
    }

// Runs a command through the event loop as a menu click does, so its error reaches the box.
inline void triggerAsTheUser(QAction* action) {
    QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
    QCoreApplication::sendPostedEvents(action, QEvent::MetaCall);
}

// Runs a command only if available: reaching an unavailable one fails the test.
#define TRIGGER_ENABLED(action)                                                                \
    do {                                                                                       \
        QVERIFY2((action)->isEnabled(),                                                        \
                 qPrintable(QStringLiteral("%1 is unavailable").arg((action)->objectName()))); \
        triggerAsTheUser(action);                                                              \
    } while (false)

// The frame's controls, found by the names the program gives them.
template <typename T>
T* frameChild(const char* name) {
    if (T* child = MainForm->findChild<T*>(QLatin1String(name)))
        return child;
    qFatal("The frame has no %s", name);
}
inline constexpr auto frameAction = &frameChild<QAction>;
inline constexpr auto frameMenu = &frameChild<QMenu>;
inline constexpr auto framePanel = &frameChild<QLabel>;
inline const auto clientArea = [] { return frameChild<QMdiArea>("ClientArea"); };

// A frame of its own for every test, shown and active as at start-up.
inline void startFrame() {
    MainForm = new TMainForm;
    MainForm->show();
    QApplication::setActiveWindow(MainForm);
}

inline void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline void stopFrame() {
    delete MainForm.data();
    flushDeletes();
}

// Child windows still open in the frame (closed ones wait for deletion, hidden).
inline QList<QMdiSubWindow*> openChildren() {
    QList<QMdiSubWindow*> open;
    for (QMdiSubWindow* child : clientArea()->subWindowList())
        if (!child->isHidden())
            open << child;
    return open;
}

// A child window with nothing in it, standing for a results or report window.
inline QMdiSubWindow* addPlainChild(unsigned helpContext = 11) {
    auto* form = new QWidget;
    form->setWindowTitle(QStringLiteral("Resultados"));
    return MainForm->addChild(form, helpContext);
}

// Available commands by item name in table order; "-broken": item missing or button disagrees.
inline QString availableCommands() {
    QStringList names;
    for (const CommandRow& row : commandTable()) {
        const auto* item = MainForm->findChild<QAction*>(QLatin1String(row.item));
        const auto* button = MainForm->findChild<QWidget*>(QLatin1String(row.button));
        if (!item || (row.button && (!button || button->isEnabled() != item->isEnabled())))
            names << QStringLiteral("%1-broken").arg(row.item);
        else if (item->isEnabled())
            names << row.item;
    }
    return names.join(' ');
}

// The messages error boxes showed, without the context line that may stand above one.
inline QStringList messagesOf(const QStringList& boxes) {
    QStringList messages;
    for (const QString& box : boxes)
        messages << box.section('\n', -1);
    return messages;
}

inline const QString kAlwaysAvailable =
    "WindowMenu HelpMenu HelpContentsItem HelpSearchItem HelpVerifyItem HelpAboutItem FileExitItem";
inline const QString kIdleCommands = "FileNewItem FileOpenItem " + kAlwaysAvailable;
inline const QString kAfterOpenCommands =
    "mnuclose FileSaveItem FileSaveAsItem FilePrintItem printLasser FileExportRecordItem "
    "WindowTileItem WindowCascadeItem WindowMenu HelpMenu HelpContentsItem HelpSearchItem "
    "HelpVerifyItem HelpHistoryItem HelpAboutItem FileExitItem";
