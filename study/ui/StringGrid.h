#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QTableWidget>

class QKeyEvent;
class QPainter;

// How Tab behaves in a string grid. The entry rules switch between the two as the analyst
// reaches the last cell, so that Tab walks the cells and then leaves the grid.
enum class GridNavigation {
    CellToCellTab,  // Tab and Shift+Tab move between the editable cells, row by row
    LeaveOnTab,     // Tab and Shift+Tab move the focus to the window's next control
};

// The string grid the study is typed into: row 0 and column 0 are fixed header cells that
// are part of the table (grey, never editable, never current), so that cell (c, r) is
// item(r, c) and the headers are addressed like any cell. They stay in place while the
// other cells scroll under them, as frozen panes do: the header row scrolls only sideways
// with its columns, the header column only up and down with its rows, and visualRect and
// indexAt give the cells where they are seen. The current editable cell always
// shows its editor while the grid has the focus; every keystroke reaches the cell at once,
// so whatever runs when the focus leaves reads what was typed.
//
// A grid may keep columns beyond the visible ones (the data grid's second value per row):
// they hold text like any cell but are never shown, edited or reached with the keyboard.
class StringGrid : public QTableWidget {
    Q_OBJECT
public:
    StringGrid(int columns, int rows, int storedOnlyColumns = 0, QWidget* parent = nullptr);

    // Text of cell (c, r); empty for a cell without text or outside the grid.
    QString cell(int column, int row) const;
    // Writing outside the grid (visible plus stored-only columns) does nothing.
    void setCell(int column, int row, const QString& text);

    // Visible columns, the fixed one included. Cells of removed columns are dropped; the
    // stored-only columns keep their text.
    int colCount() const;
    void setColCount(int count);
    // Rows, the fixed header row included; never below 1.
    int rowCount() const { return QTableWidget::rowCount(); }
    void setRowCount(int count);
    // Adds rows after the last one while the analyst types: the cell being edited keeps
    // its editor, its text and its cursor.
    void appendRows(int count);

    void setDefaultColumnWidth(int width);
    void setDefaultRowHeight(int height);

    GridNavigation navigationMode() const { return m_navigation; }
    // Sets exactly this mode; range selection and column sizing end with the first call.
    void setNavigationMode(GridNavigation mode);
    bool rangeSelection() const;
    bool columnSizing() const { return m_columnSizing; }
    void setColumnSizing(bool on) { m_columnSizing = on; }

    // Makes (c, r) the current cell when it is an editable one; otherwise nothing changes.
    // Column first, as every cell of the grid is addressed (the table's own is row first).
    void setCurrentCell(int column, int row);
    int currentColumn() const { return currentIndex().column(); }
    int currentRow() const { return currentIndex().row(); }
    bool isEditableCell(int column, int row) const;

    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    // Also brings the cell out from under the header row and column.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    // The cell editor while one is open (the grid has the focus on an editable cell).
    QLineEdit* editor() const { return m_editor; }
    // Writes the editor's text to its cell (already done keystroke by keystroke; this
    // covers text still held by an input method).
    void commitEdit();
    // The grid or its cell editor has the focus.
    bool containsFocus() const;

signals:
    // A character typed while the grid has the focus, before it reaches the cell; Enter
    // arrives as '\r', Backspace as '\b', Escape as '\x1b'. Tab is navigation, not text.
    void keyPressed(QChar key);
    // The analyst changed the text of the current cell (typing, Delete, pasting, undoing);
    // never sent for text the program writes.
    void cellEdited();
    // Tab let the grid go, but no other control could take the focus (the only control
    // of its page): the focus left the grid and came straight back to it.
    void tabbedOutToItself();

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateEditorGeometries() override;

private:
    friend class StringGridDelegate;

    class Reshape {
    public:
        explicit Reshape(StringGrid& grid);
        ~Reshape();

    private:
        StringGrid& m_grid;
        bool m_wasHolding;
        bool m_hadFocus;
        int m_column;
        int m_row;
    };

    // Handles a key typed into the cell editor; true when the grid used it up.
    bool editorKeyPress(QKeyEvent* event);
    void editorCreated(QLineEdit* editor);
    void showEditor();
    void tabToCell(bool forward);
    void leaveGrid(bool forward);
    void makeFixedItems(int fromRow, int fromColumn);
    void hideStoredOnlyColumns();
    // The part of the viewport the header row and column cover.
    QRegion fixedArea() const;
    void paintFixedCell(QPainter& painter, QStyleOptionViewItem option, const QPen& gridPen,
                        const QModelIndex& index) const;
    // The cell editor shows only where its cell is not under the headers.
    void clipEditor();
    int storedColumns() const { return columnCount(); }
    // Column whose right edge lies under x in the header row, -1 if none.
    int sizingEdgeAt(const QPoint& position) const;

    int m_storedOnlyColumns;
    GridNavigation m_navigation = GridNavigation::CellToCellTab;
    bool m_columnSizing = false;
    bool m_holdEditor = false;  // no editor opens while the grid lets go or reshapes
    QPointer<QLineEdit> m_editor;
    const QKeyEvent* m_reportedKey = nullptr;
    int m_sizingColumn = -1;
    int m_sizingStartX = 0;
    int m_sizingStartWidth = 0;
};

// The character a key event types, as the grids and edits report it to the entry rules;
// a null QChar for keys that type nothing (arrows, Tab, Delete, modifiers).
QChar typedCharacter(const QKeyEvent* event);
