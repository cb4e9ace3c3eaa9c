#include "app/ProgramPictures.h"

#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace {

QString picturePath(const QString& name) {
    return QStringLiteral(":/pictures/") + name + QStringLiteral(".svg");
}

// A picture drawn from its SVG file whenever it is shown, so it stays crisp at any size
// and screen scale; the unavailable look has an SVG of its own.
class SvgPictureEngine : public QIconEngine {
public:
    SvgPictureEngine(const QString& available, const QString& unavailable)
        : m_available(available),
          m_unavailable(unavailable),
          m_size(QSvgRenderer(available).defaultSize()) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        QSvgRenderer picture(mode == QIcon::Disabled ? m_unavailable : m_available);
        picture.render(painter, rect);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(&painter, image.rect(), mode, state);
        painter.end();
        return QPixmap::fromImage(image);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {m_size}; }
    QString key() const override { return QStringLiteral("ldc-svg-picture"); }
    QIconEngine* clone() const override { return new SvgPictureEngine(*this); }

private:
    QString m_available;
    QString m_unavailable;
    QSize m_size;
};

}  // namespace

QIcon speedButtonIcon(const QString& buttonName) {
    // The DeskJet button (always hidden) shows the same printer as the laser one.
    const QString name =
        buttonName == QLatin1String("spdprint1") ? QStringLiteral("spdprint") : buttonName;
    const QString available = picturePath(name);
    const QString unavailable = picturePath(name + QStringLiteral("-gris"));
    if (!QFile::exists(available) || !QFile::exists(unavailable))
        return {};
    return QIcon(new SvgPictureEngine(available, unavailable));
}

QIcon programIcon() {
    const QString picture = picturePath(QStringLiteral("program-icon"));
    return QIcon(new SvgPictureEngine(picture, picture));
}

void paintCalibrationPicture(QPainter& painter, const QRectF& area) {
    QSvgRenderer picture(picturePath(QStringLiteral("calibration")));
    // In the about box's small copy the names of the axes and the limits would be specks;
    // the drawing without its labels ("plot") still covers the whole picture.
    if (area.width() < 200)
        picture.render(&painter, QStringLiteral("plot"), area);
    else
        picture.render(&painter, area);
}

CalibrationPicture::CalibrationPicture(QWidget* parent) : QWidget(parent) {}

void CalibrationPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintCalibrationPicture(painter, rect());
}
