#pragma once

#include <QToolButton>

class QAction;

// A button of the frame's speed bar. It runs its menu item's action and follows that
// action's availability, but keeps a hint of its own: the speed bar words its hints
// for the button ("Nuevo|Crea un nuevo archivo") where the menu item says "Archivo|...".
class SpeedButton : public QToolButton {
    Q_OBJECT
public:
    SpeedButton(const QString& name, QAction* action, const QString& hint, QWidget* parent);

protected:
    void actionEvent(QActionEvent* event) override;

private:
    void applyOwnLook();

    QString m_hint;
    QIcon m_picture;
};
