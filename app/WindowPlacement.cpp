#include "app/WindowPlacement.h"

#include <algorithm>
#include <cstdlib>

QRect keptInside(QRect window, const QRect& area) {
    window.setSize(window.size().boundedTo(area.size()));
    window.moveLeft(std::clamp(window.left(), area.left(), area.right() + 1 - window.width()));
    window.moveTop(std::clamp(window.top(), area.top(), area.bottom() + 1 - window.height()));
    return window;
}

QPoint clearOf(const QList<QPoint>& taken, QPoint wanted, QSize size, int step, const QRect& area) {
    QPoint place = keptInside(QRect(wanted, size), area).topLeft();
    const auto standsThere = [&](QPoint other) {
        return std::abs(other.x() - place.x()) < step && std::abs(other.y() - place.y()) < step;
    };
    // Each window taken can push it on once at most.
    for (qsizetype tries = 0;
         tries < taken.size() && std::any_of(taken.begin(), taken.end(), standsThere); ++tries) {
        place += QPoint(step, step);
        if (!area.contains(QRect(place, size)))
            place = area.topLeft();
    }
    return place;
}

QList<QRect> cascaded(const QList<QSize>& sizes, const QRect& area, int step) {
    QList<QRect> places;
    QPoint corner = area.topLeft();
    for (const QSize& size : sizes) {
        QRect place(corner, size.boundedTo(area.size()));
        if (!area.contains(place))
            place.moveTopLeft(area.topLeft());
        places << place;
        corner = place.topLeft() + QPoint(step, step);
    }
    return places;
}
