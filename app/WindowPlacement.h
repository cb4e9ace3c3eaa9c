#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where the frame's child windows and the about boxes go: plain geometry, apart from the
// windows that follow it.

// `window` moved (and shrunk, only where it is larger than `area`) so that it lies wholly
// inside `area`: no close box under a scroll bar or beyond the frame's edge.
QRect keptInside(QRect window, const QRect& area);

// Where a window of `size` that would open at `wanted` goes: a `step` down and to the
// right for every window already standing there (`taken`, less than a step away in both
// directions, which also absorbs a window manager's frame), so that it never hides one; back
// to the top-left corner of `area` when a step would take it out.
QPoint clearOf(const QList<QPoint>& taken, QPoint wanted, QSize size, int step, const QRect& area);

// A cascade of windows of the given sizes, first at the top-left corner of `area`, each next
// one a `step` down and to the right. Each keeps its size (shrunk only to fit `area`); the
// cascade starts again at the corner when a window would not fit at its place.
QList<QRect> cascaded(const QList<QSize>& sizes, const QRect& area, int step);
