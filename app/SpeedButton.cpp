#include "app/SpeedButton.h"

#include <QAction>
#include <QActionEvent>

#include "app/Hint.h"
#include "app/ProgramPictures.h"

SpeedButton::SpeedButton(const QString& name, QAction* action, const QString& hint, QWidget* parent)
    : QToolButton(parent), m_hint(hint), m_picture(speedButtonIcon(name)) {
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
    setAutoRaise(true);
    setDefaultAction(action);
    // Each picture is shown at its own size; the print picture is larger than its button and
    // keeps its drawing in the middle, so the button's edge crops only blank margin.
    setIconSize(m_picture.availableSizes().value(0, QSize(20, 20)));
    applyOwnLook();
}

void SpeedButton::actionEvent(QActionEvent* event) {
    // Every change of the action (its availability, above all) copies the action's
    // texts and picture onto the button again; put the button's own back.
    QToolButton::actionEvent(event);
    if (event->type() == QEvent::ActionChanged && event->action() == defaultAction())
        applyOwnLook();
}

// The picture and the hint are the button's own; the action (shared with the menu
// item) has neither.
void SpeedButton::applyOwnLook() {
    setIcon(m_picture);
    setHint(static_cast<QWidget*>(this), m_hint);
}
