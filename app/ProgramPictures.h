#pragma once

#include <QIcon>
#include <QWidget>

class QPainter;
class QRectF;

// The pictures of the program, drawn at start-up rather than shipped as bitmaps.

// The speed button picture for the button named `buttonName` (spdnuevo, spdabrir, ...):
// the picture itself for the available button and a grey outline of it for the
// unavailable one. An unknown name gives an empty icon.
QIcon speedButtonIcon(const QString& buttonName);

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
