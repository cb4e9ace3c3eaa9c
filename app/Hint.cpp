#include "app/Hint.h"

#include <QAction>
#include <QWidget>

HintParts splitHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return {hint, hint};
    return {hint.left(bar), hint.mid(bar + 1)};
}

void setHint(QAction* action, const QString& hint) {
    const HintParts parts = splitHint(hint);
    action->setToolTip(parts.shortPart);
    action->setStatusTip(parts.longPart);
}

void setHint(QWidget* widget, const QString& hint) {
    const HintParts parts = splitHint(hint);
    widget->setToolTip(parts.shortPart);
    widget->setStatusTip(parts.longPart);
}
