#pragma once

#include <QIcon>
#include <QWidget>

class QPainter;
class QRectF;

// The pictures of the program: SVG drawings compiled into the program (app/resources/pictures),
// drawn afresh at the size and screen scale they are shown at.

// The speed button picture for the button named `buttonName` (spdnuevo, spdabrir, ...):
// the picture itself for the available button and a grey outline of it for the
// unavailable one. Its one available size is the picture's own (20 by 20 pixels for most,
// 26 by 26 for the printer, 16 by 16 for the door and the closing window). An unknown name
// gives an empty icon.
QIcon speedButtonIcon(const QString& buttonName);

// The program's icon, the one the desktop shows for the program and its study files.
QIcon programIcon();

// The program's picture: a calibration line through replicate points with their error
// bars and the detection and quantification limits on the axis. Drawn to fill `area`.
void paintCalibrationPicture(QPainter& painter, const QRectF& area);

// Shows the program's picture stretched to the widget (the splash's Image1 and the about
// box's ProgramIcon).
class CalibrationPicture : public QWidget {
    Q_OBJECT
public:
    explicit CalibrationPicture(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
