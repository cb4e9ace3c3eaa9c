#pragma once

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

#include "app/Main.h"

// Runs a command the way the user can: only if it is available. A test that reaches a
// command the frame has made unavailable fails here instead of running it anyway.
#define TRIGGER_ENABLED(action)                                                                \
    do {                                                                                       \
        QVERIFY2((action)->isEnabled(),                                                        \
                 qPrintable(QStringLiteral("%1 is unavailable").arg((action)->objectName()))); \
        (action)->trigger();                                                                   \
    } while (false)

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
    for (QMdiSubWindow* child : MainForm->ClientArea->subWindowList())
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
