#include "app/ProgramPictures.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

// Speed button pictures are small pixel drawings: no antialiasing, one pixel per unit.
const QColor kInk(0, 0, 0);
const QColor kNavy(0, 0, 128);
const QColor kGrey(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kWhite(255, 255, 255);

QImage drawPicture(int size, const std::function<void(QPainter&)>& draw) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    draw(painter);
    return image;
}

void box(QPainter& p, int left, int top, int right, int bottom, const QColor& fill,
         const QColor& edge = kInk) {
    p.fillRect(left, top, right - left + 1, bottom - top + 1, fill);
    p.setPen(edge);
    p.drawRect(left, top, right - left, bottom - top);
}

void line(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour = kInk) {
    p.setPen(colour);
    p.drawLine(x1, y1, x2, y2);
}

void polygon(QPainter& p, std::initializer_list<QPoint> points, const QColor& fill) {
    p.setPen(kInk);
    p.setBrush(fill);
    p.drawPolygon(points.begin(), static_cast<int>(points.size()));
    p.setBrush(Qt::NoBrush);
}

// A child window: frame, navy title bar, white client.
void window(QPainter& p, int left, int top, int right, int bottom) {
    box(p, left, top, right, bottom, kWhite);
    p.fillRect(left + 1, top + 1, right - left - 1, 2, kNavy);
}

QImage pictureNuevo() {
    return drawPicture(20, [](QPainter& p) {
        polygon(p, {{7, 3}, {13, 3}, {17, 7}, {17, 18}, {7, 18}}, kWhite);
        polygon(p, {{13, 3}, {13, 7}, {17, 7}}, kSilver);
        // The strokes around the corner say "new".
        line(p, 3, 0, 3, 2);
        line(p, 0, 4, 2, 4);
        line(p, 0, 1, 1, 2);
        line(p, 5, 1, 5, 1);
        line(p, 1, 7, 2, 6);
        line(p, 4, 6, 5, 7);
        line(p, 4, 3, 4, 3, QColor(255, 200, 0));
        line(p, 3, 3, 3, 3, QColor(255, 200, 0));
        line(p, 3, 4, 4, 4, QColor(255, 200, 0));
        for (int y = 10; y <= 15; y += 2)
            line(p, 9, y, 15, y, kSilver);
    });
}

QImage pictureAbrir() {
    return drawPicture(20, [](QPainter& p) {
        const QColor back(214, 170, 30);
        const QColor front(255, 220, 70);
        polygon(p, {{1, 4}, {6, 4}, {8, 6}, {15, 6}, {15, 9}, {1, 17}}, back);
        polygon(p, {{4, 9}, {19, 9}, {15, 17}, {1, 17}}, front);
        line(p, 5, 10, 17, 10, QColor(255, 245, 170));
        // The arrow of a folder being opened.
        line(p, 14, 1, 17, 1, kNavy);
        line(p, 18, 2, 18, 5, kNavy);
        line(p, 17, 4, 19, 4, kNavy);
    });
}

QImage pictureGuardar() {
    return drawPicture(20, [](QPainter& p) {
        const QColor blue(30, 60, 190);
        polygon(p, {{2, 2}, {16, 2}, {17, 3}, {17, 17}, {2, 17}}, blue);
        box(p, 5, 2, 14, 8, kWhite);
        line(p, 6, 4, 13, 4, kSilver);
        line(p, 6, 6, 13, 6, kSilver);
        box(p, 5, 12, 14, 17, kSilver);
        p.fillRect(7, 13, 2, 4, blue);
        p.fillRect(3, 15, 1, 1, kInk);
    });
}

QImage picturePrint() {
    return drawPicture(26, [](QPainter& p) {
        const QColor body(170, 170, 170);
        const QColor top(210, 210, 210);
        box(p, 8, 3, 17, 10, kWhite);
        for (int y = 5; y <= 8; y += 3)
            line(p, 10, y, 15, y, kGrey);
        polygon(p, {{6, 10}, {19, 10}, {22, 13}, {3, 13}}, top);
        box(p, 3, 13, 22, 19, body);
        line(p, 4, 14, 21, 14, top);
        line(p, 6, 16, 19, 16, kInk);
        p.fillRect(19, 17, 2, 1, QColor(0, 200, 0));
        box(p, 7, 17, 18, 22, kWhite);
        line(p, 9, 20, 16, 20, kGrey);
    });
}

QImage pictureExit() {
    return drawPicture(16, [](QPainter& p) {
        box(p, 2, 0, 13, 15, QColor(120, 60, 20));
        box(p, 4, 2, 11, 15, QColor(210, 30, 30));
        box(p, 6, 4, 9, 7, QColor(170, 220, 255));
        p.fillRect(9, 10, 2, 2, QColor(255, 220, 0));
    });
}

QImage pictureMosaico() {
    return drawPicture(20, [](QPainter& p) {
        window(p, 0, 1, 19, 18);
        window(p, 2, 5, 9, 10);
        window(p, 11, 5, 17, 10);
        window(p, 2, 12, 9, 16);
        window(p, 11, 12, 17, 16);
    });
}

QImage pictureCascada() {
    return drawPicture(20, [](QPainter& p) {
        window(p, 0, 1, 19, 18);
        window(p, 2, 5, 12, 12);
        window(p, 4, 7, 14, 14);
        window(p, 6, 9, 16, 16);
    });
}

QImage pictureContenido() {
    return drawPicture(20, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, true);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(20);
        QPainterPath path;
        path.addText(0, 0, font, QStringLiteral("?"));
        const QRectF bounds = path.boundingRect();
        path.translate(10 - bounds.center().x(), 10 - bounds.center().y());
        p.fillPath(path, QColor(0, 205, 225));
        p.strokePath(path, QPen(QColor(0, 90, 110), 1.0));
    });
}

QImage pictureClose() {
    return drawPicture(16, [](QPainter& p) {
        const QColor ray(240, 200, 0);
        for (const QLine& l :
             {QLine(0, 0, 2, 2), QLine(7, 0, 7, 2), QLine(15, 0, 13, 2), QLine(0, 7, 2, 7),
              QLine(13, 7, 15, 7), QLine(0, 15, 2, 13), QLine(7, 13, 7, 15), QLine(15, 15, 13, 13)})
            line(p, l.x1(), l.y1(), l.x2(), l.y2(), ray);
        window(p, 4, 4, 11, 11);
    });
}

int luminance(QRgb pixel) {
    return qGray(pixel);
}

// The unavailable picture: the outline of the available one in grey over a white
// shadow, as the platform draws unavailable buttons. A pixel is outline where the
// drawing ends or where it meets a lighter neighbour.
QImage greyedOutline(const QImage& picture) {
    const int w = picture.width();
    const int h = picture.height();
    auto opaque = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && qAlpha(picture.pixel(x, y)) > 0;
    };
    QImage ink(w, h, QImage::Format_ARGB32_Premultiplied);
    ink.fill(Qt::transparent);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!opaque(x, y))
                continue;
            const int own = luminance(picture.pixel(x, y));
            bool edge = false;
            for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                const int nx = x + d.x();
                const int ny = y + d.y();
                if (!opaque(nx, ny) || luminance(picture.pixel(nx, ny)) - own > 60) {
                    edge = true;
                    break;
                }
            }
            if (edge)
                ink.setPixel(x, y, qRgba(0, 0, 0, 255));
        }
    }
    QImage result(w, h, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (qAlpha(ink.pixel(x, y)) && x + 1 < w && y + 1 < h)
                result.setPixel(x + 1, y + 1, kWhite.rgba());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (qAlpha(ink.pixel(x, y)))
                result.setPixel(x, y, kGrey.rgba());
    return result;
}

}  // namespace

QIcon speedButtonIcon(const QString& buttonName) {
    QImage picture;
    if (buttonName == QLatin1String("spdnuevo"))
        picture = pictureNuevo();
    else if (buttonName == QLatin1String("spdabrir"))
        picture = pictureAbrir();
    else if (buttonName == QLatin1String("spdguardar"))
        picture = pictureGuardar();
    else if (buttonName == QLatin1String("spdprint") || buttonName == QLatin1String("spdprint1"))
        picture = picturePrint();
    else if (buttonName == QLatin1String("spdexit"))
        picture = pictureExit();
    else if (buttonName == QLatin1String("spdmosaico"))
        picture = pictureMosaico();
    else if (buttonName == QLatin1String("spdcascada"))
        picture = pictureCascada();
    else if (buttonName == QLatin1String("spdcontenido"))
        picture = pictureContenido();
    else if (buttonName == QLatin1String("spdclose"))
        picture = pictureClose();
    else
        return {};
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(picture), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(greyedOutline(picture)), QIcon::Disabled);
    return icon;
}

void paintCalibrationPicture(QPainter& painter, const QRectF& area) {
    // Drawn on a 377 x 289 design and scaled to the area, so the about box's small copy
    // is the same picture.
    constexpr qreal kWidth = 377;
    constexpr qreal kHeight = 289;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(area.topLeft());
    painter.scale(area.width() / kWidth, area.height() / kHeight);
    const bool small = area.width() < 200;

    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, QColor(255, 255, 255));
    sky.setColorAt(1, QColor(214, 228, 246));
    painter.fillRect(QRectF(0, 0, kWidth, kHeight), sky);

    const QRectF plot(48, 22, 305, 222);
    auto at = [&](qreal x, qreal y) {  // x in 0..12, y in 0..12
        return QPointF(plot.left() + x / 12 * plot.width(), plot.bottom() - y / 12 * plot.height());
    };

    painter.setPen(QPen(QColor(200, 210, 225), 1));
    for (int i = 2; i <= 12; i += 2) {
        painter.drawLine(at(i, 0), at(i, 12));
        painter.drawLine(at(0, i), at(12, i));
    }

    // The confidence band of the line, narrowest at the centre of the levels.
    constexpr qreal a = 0.35;
    constexpr qreal b = 0.9;
    QPainterPath band;
    QList<QPointF> lower;
    for (int i = 0; i <= 48; ++i) {
        const qreal x = i * 12.0 / 48;
        const qreal half = 0.45 + 0.035 * (x - 6) * (x - 6);
        if (i == 0)
            band.moveTo(at(x, a + b * x + half));
        else
            band.lineTo(at(x, a + b * x + half));
        lower.prepend(at(x, a + b * x - half));
    }
    for (const QPointF& p : lower)
        band.lineTo(p);
    band.closeSubpath();
    painter.save();
    painter.setClipRect(plot);
    painter.fillPath(band, QColor(120, 160, 230, 70));
    painter.setPen(QPen(QColor(0, 0, 128), 2.5));
    painter.drawLine(at(0, a), at(12, a + b * 12));
    painter.restore();

    // Replicates at five levels, with the spread of each level as an error bar.
    const qreal levels[] = {2, 4, 6, 8, 10};
    const qreal offsets[][3] = {{0.45, -0.4, 0.05},
                                {-0.5, 0.35, -0.05},
                                {0.4, -0.45, 0.0},
                                {-0.35, 0.5, -0.1},
                                {0.45, -0.35, 0.1}};
    for (int l = 0; l < 5; ++l) {
        const qreal x = levels[l];
        const qreal y = a + b * x;
        painter.setPen(QPen(QColor(150, 20, 20), 1.2));
        painter.drawLine(at(x, y - 0.75), at(x, y + 0.75));
        painter.drawLine(at(x - 0.2, y - 0.75), at(x + 0.2, y - 0.75));
        painter.drawLine(at(x - 0.2, y + 0.75), at(x + 0.2, y + 0.75));
        painter.setPen(QPen(QColor(90, 0, 0), 1));
        painter.setBrush(QColor(220, 50, 40));
        for (int r = 0; r < 3; ++r)
            painter.drawEllipse(at(x, y + offsets[l][r]), 3.5, 3.5);
        painter.setBrush(Qt::NoBrush);
    }

    // The two limits on the axis of the added amount.
    painter.setPen(QPen(QColor(0, 120, 60), 1.5, Qt::DashLine));
    const qreal detection = 0.9;
    const qreal quantification = 2.7;
    painter.drawLine(at(detection, 0), at(detection, a + b * detection + 2.2));
    painter.drawLine(at(quantification, 0), at(quantification, a + b * quantification + 2.2));

    painter.setPen(QPen(QColor(40, 40, 60), 2));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());

    if (!small) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(12);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(0, 110, 55));
        painter.drawText(at(detection, a + b * detection + 2.3) + QPointF(-8, -4),
                         QStringLiteral("LD"));
        painter.drawText(at(quantification, a + b * quantification + 2.3) + QPointF(-8, -4),
                         QStringLiteral("LC"));
        font.setBold(false);
        font.setPixelSize(11);
        painter.setFont(font);
        painter.setPen(QColor(40, 40, 60));
        painter.drawText(QRectF(plot.left(), plot.bottom() + 6, plot.width(), 18), Qt::AlignCenter,
                         QStringLiteral("Cantidad adicionada"));
        painter.save();
        painter.translate(plot.left() - 26, plot.center().y());
        painter.rotate(-90);
        painter.drawText(QRectF(-plot.height() / 2, -9, plot.height(), 18), Qt::AlignCenter,
                         QStringLiteral("Cantidad recuperada"));
        painter.restore();
        font.setItalic(true);
        font.setPixelSize(13);
        painter.setFont(font);
        painter.setPen(QColor(0, 0, 128));
        painter.drawText(at(7.2, 11.3), QStringLiteral("y = a + b·x"));
    }
    painter.restore();
}

CalibrationPicture::CalibrationPicture(QWidget* parent) : QWidget(parent) {}

void CalibrationPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintCalibrationPicture(painter, rect());
}
