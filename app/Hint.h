#pragma once

#include <QString>

class QAction;
class QWidget;

// A hint reads "short|long": the short part is the tooltip of a speed button, the long
// part goes to the frame's StatusLine while the pointer rests on the control or the menu
// item is highlighted. A hint without "|" is both parts.
struct HintParts {
    QString shortPart;
    QString longPart;
};

HintParts splitHint(const QString& hint);

// The long part travels as the Qt status tip, which the frame shows in StatusLine; the
// short part is the tooltip (only speed buttons show it).
void setHint(QAction* action, const QString& hint);
void setHint(QWidget* widget, const QString& hint);
