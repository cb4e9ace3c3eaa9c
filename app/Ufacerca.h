#pragma once

#include <QDialog>
#include <QPointer>

class QFrame;
class QLabel;
class QPushButton;
class CalibrationPicture;

// The about box. Modeless: every use of the About command shows a further one.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QFrame* Panel1;
    CalibrationPicture* ProgramIcon;
    QLabel* ProductName;
    QLabel* Label10;
    QLabel* Version;
    QLabel* Comments;
    QPushButton* OKButton;

    void OKButtonClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

extern QPointer<TAboutBox> AboutBox;
