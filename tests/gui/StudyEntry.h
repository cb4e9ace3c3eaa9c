#pragma once

#include <QApplication>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <algorithm>

#include "study/ui/Fdatos.h"

// Copies a whole study, the data grid's hidden column too, as Open fills the window.
inline void copyStudy(const ldc::StudyDocument& from, ldc::StudyDocument& to) {
    using ldc::StudyTable;
    for (int f = 0; f <= int(ldc::StudyField::levelCount); ++f)
        to.setText(ldc::StudyField(f), from.text(ldc::StudyField(f)));
    to.setColumnCount(StudyTable::levels, from.columnCount(StudyTable::levels));
    to.setRowCount(StudyTable::results, from.rowCount(StudyTable::results));
    for (StudyTable g : {StudyTable::levels, StudyTable::results})
        for (int c = 0; c < std::max(from.columnCount(g), ldc::kResultsStoredColumns); ++c)
            for (int r = 0; r < from.rowCount(g); ++r)
                to.setCell(g, c, r, from.cell(g, c, r));
}

// The analyst at keyboard and mouse; each step lets the window report its focus changes.
namespace entry {

inline void settle() {
    for (int i = 0; i < 4; ++i)
        QCoreApplication::processEvents();
}

// The entry control holding the focus: a grid's cell editor counts as the grid.
inline QWidget* focusedIn(const TFinforma& form) {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (w == form.stgnivel || w == form.stgdatos || w == form.stgblancos)
            return w;
    return QApplication::focusWidget();
}

inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    settle();
}

// Characters beyond ASCII (á, µ) arrive as the keyboard sends them: a key with its text.
inline void type(const QString& text) {
    for (const QChar c : text) {
        const int key = c.unicode() < 0x80 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(key), QString(c),
                            Qt::NoModifier);
    }
    settle();
}

inline void clickTab(TFinforma& form, int index) {
    QTabBar* bar = form.Thojas->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    settle();
}

inline void clickOn(QWidget* widget, QPoint at = {}) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    settle();
}

inline void clickCell(StringGrid* grid, int column, int row) {
    clickOn(grid->viewport(), grid->visualRect(grid->model()->index(row, column)).center());
}

// Picks a menu item with the mouse, so that its command's error reaches the error box.
inline void chooseMenuItem(QMenu* menu, QAction* item) {
    QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
    menu->popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    settle();
}

}  // namespace entry
