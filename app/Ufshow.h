#pragma once

#include <QPointer>
#include <QWidget>

class QFrame;
class QLabel;
class QTimer;
class CalibrationPicture;

// The splash: shown at start-up over the frame, hidden by its timer a few seconds after
// the frame is first activated, or at once by a click on Label3.
class TFshow : public QWidget {
    Q_OBJECT
public:
    explicit TFshow(QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* Label1;
    QFrame* Panel2;
    CalibrationPicture* Image1;
    QLabel* Label2;
    QLabel* Label3;
    QTimer* Timer1;

    void Timer1Timer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

extern QPointer<TFshow> Fshow;
