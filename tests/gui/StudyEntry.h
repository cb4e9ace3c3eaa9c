#pragma once

#include <QAbstractItemModel>
#include <QApplication>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <algorithm>

#include "study/Fdatos.h"
#include "study/StringGrid.h"
#include "study/StudyDocument.h"

// Copies a whole study (texts, both grids with the data grid's hidden column) into
// another, as Open would leave the study window.
inline void copyStudy(const ldc::StudyDocument& from, ldc::StudyDocument& to) {
    using ldc::StudyGrid;
    for (int f = 0; f <= int(ldc::StudyField::enivel); ++f)
        to.setText(ldc::StudyField(f), from.text(ldc::StudyField(f)));
    to.setColumnCount(StudyGrid::stgnivel, from.columnCount(StudyGrid::stgnivel));
    to.setRowCount(StudyGrid::stgdatos, from.rowCount(StudyGrid::stgdatos));
    for (StudyGrid g : {StudyGrid::stgnivel, StudyGrid::stgdatos})
        for (int c = 0; c < std::max(from.columnCount(g), ldc::kDataGridStoredColumns); ++c)
            for (int r = 0; r < from.rowCount(g); ++r)
                to.setCell(g, c, r, from.cell(g, c, r));
}

// The analyst at the keyboard and the mouse. Each step lets the study window report the
// focus changes it caused (they are reported once the toolkit has finished moving it).
namespace entry {

inline void settle() {
    for (int i = 0; i < 4; ++i)
        QCoreApplication::processEvents();
}

inline QWidget* focused() {
    return QApplication::focusWidget();
}

// The entry control holding the focus: a grid's cell editor counts as the grid.
inline QWidget* focusedIn(const TFinforma& form) {
    for (QWidget* w = focused(); w; w = w->parentWidget())
        if (w == form.stgnivel || w == form.stgdatos)
            return w;
    return focused();
}

inline QString focusedName(const TFinforma& form) {
    const QWidget* w = focusedIn(form);
    return w ? w->objectName() : QStringLiteral("<none>");
}

inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(focused(), key, modifiers);
    settle();
}

// Characters beyond ASCII (á, µ) arrive as the keyboard sends them: a key with its text.
inline void type(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(focused(), c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
    }
    settle();
}

// Types each text and Tabs on, as the analyst walks a grid's cells.
inline void typeCells(const QStringList& texts) {
    for (int i = 0; i < texts.size(); ++i) {
        type(texts.at(i));
        if (i + 1 < texts.size())
            press(Qt::Key_Tab);
    }
}

inline void clickTab(TFinforma& form, int index) {
    QTabBar* bar = form.Thojas->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    settle();
}

inline void clickOn(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
    settle();
}

inline void clickCell(StringGrid* grid, int column, int row) {
    const QPoint center = grid->visualRect(grid->model()->index(row, column)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, center);
    settle();
}

// Picks a menu item with the mouse, so that an error its command raises reaches the
// error box as it does in the program.
inline void chooseMenuItem(QMenu* menu, QAction* item) {
    QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
    menu->popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    settle();
}

}  // namespace entry
