#include "study/ui/StringGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Half the width of the band around a column line where a drag resizes the column.
constexpr int kSizingMargin = 3;
constexpr int kMinimumColumnWidth = 8;

bool isFixed(const QModelIndex& index) {
    return index.row() == 0 || index.column() == 0;
}

QTableWidgetItem* newFixedItem(const QString& text = {}) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::NoItemFlags);
    return item;
}

}  // namespace

// Paints the header cells like buttons and gives every cell the grid's line editor. The
// editor hands each keystroke to its cell at once.
class StringGridDelegate : public QStyledItemDelegate {
public:
    explicit StringGridDelegate(StringGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        // A right click on the cell editor is a right click on the grid.
        editor->setContextMenuPolicy(Qt::NoContextMenu);
        auto* self = const_cast<StringGridDelegate*>(this);
        connect(editor, &QLineEdit::textEdited, self, [self, editor] {
            emit self->commitData(editor);
            emit self->m_grid->cellEdited();
        });
        m_grid->editorCreated(editor);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        // Called back after every keystroke is committed: leave the editor's cursor alone
        // unless the cell really changed under it.
        auto* line = static_cast<QLineEdit*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        if (line->text() != text)
            line->setText(text);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (isFixed(index)) {
            // Headers are never edited, yet they read as plainly as the data.
            option->state |= QStyle::State_Enabled;
            option->backgroundBrush = option->palette.brush(QPalette::Active, QPalette::Button);
        }
    }

    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            m_grid->editorKeyPress(static_cast<QKeyEvent*>(event)))
            return true;
        if (event->type() == QEvent::KeyRelease)
            m_grid->m_reportedKey = nullptr;
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    StringGrid* m_grid;
};

QChar typedCharacter(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return QChar(u'\r');
        case Qt::Key_Backspace:
            return QChar(u'\b');
        case Qt::Key_Escape:
            return QChar(0x1b);
        default:
            break;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    // Ctrl+letter is a shortcut, not text (AltGr arrives as Ctrl+Alt on some systems).
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier))
        return {};
    const QString text = event->text();
    if (text.isEmpty())
        return {};
    const QChar c = text.front();
    if (c.unicode() < 0x20 || c.unicode() == 0x7f)
        return {};
    return c;
}

StringGrid::StringGrid(int columns, int rows, int storedOnlyColumns, QWidget* parent)
    : QTableWidget(parent), m_storedOnlyColumns(std::max(storedOnlyColumns, 0)) {
    setItemDelegate(new StringGridDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setShowGrid(true);
    setSelectionBehavior(SelectItems);
    setSelectionMode(ContiguousSelection);
    // The editor is opened by the grid itself whenever it holds the focus (showEditor).
    setEditTriggers(AnyKeyPressed | EditKeyPressed | DoubleClicked | SelectedClicked);
    setTabKeyNavigation(true);
    // The cells scroll under the header row and column a row or a column at a time, as in a
    // string grid, on every platform (only at the far end, where the last cell is aligned
    // with the edge, may the first one beside the headers be partly under them).
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerItem);
    viewport()->setMouseTracking(true);

    QTableWidget::setColumnCount(std::max(columns, 1) + m_storedOnlyColumns);
    QTableWidget::setRowCount(std::max(rows, 1));
    hideStoredOnlyColumns();
    makeFixedItems(0, 0);
    setCurrentCell(1, 1);
}

QString StringGrid::cell(int column, int row) const {
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

void StringGrid::setCell(int column, int row, const QString& text) {
    if (column < 0 || column >= storedColumns() || row < 0 || row >= rowCount())
        return;
    if (QTableWidgetItem* it = item(row, column)) {
        it->setText(text);
        return;
    }
    if (text.isEmpty())
        return;
    auto* it = new QTableWidgetItem(text);
    if (column >= colCount())
        it->setFlags(Qt::NoItemFlags);
    const QModelIndex index = model()->index(row, column);
    if (m_editor && index == currentIndex()) {
        setItem(row, column, it);  // the open editor must hear of it
        return;
    }
    // Opening a study fills every cell anew: only the cell's own rectangle needs repainting.
    {
        const QSignalBlocker quiet(model());
        setItem(row, column, it);
    }
    viewport()->update(visualRect(index));
}

int StringGrid::colCount() const {
    return columnCount() - m_storedOnlyColumns;
}

void StringGrid::setColCount(int count) {
    count = std::max(count, 1);
    const int visible = colCount();
    if (count == visible)
        return;
    const Reshape reshape(*this);
    // The stored-only columns follow the visible ones: carry their cells over the change.
    std::vector<std::vector<QTableWidgetItem*>> stored(m_storedOnlyColumns);
    for (int s = 0; s < m_storedOnlyColumns; ++s)
        for (int r = 0; r < rowCount(); ++r)
            stored[s].push_back(takeItem(r, visible + s));
    QTableWidget::setColumnCount(count + m_storedOnlyColumns);
    for (int s = 0; s < m_storedOnlyColumns; ++s)
        for (int r = 0; r < rowCount(); ++r)
            setItem(r, count + s, stored[s][r]);
    hideStoredOnlyColumns();
    makeFixedItems(rowCount(), visible);
}

void StringGrid::setRowCount(int count) {
    count = std::max(count, 1);
    const int before = rowCount();
    if (count == before)
        return;
    const Reshape reshape(*this);
    // A study file may bring a hundred thousand rows: repaint once, not row by row.
    setUpdatesEnabled(false);
    QTableWidget::setRowCount(count);
    if (count > before)
        makeFixedItems(before, columnCount());
    setUpdatesEnabled(true);
}

void StringGrid::appendRows(int count) {
    const int before = rowCount();
    if (count <= 0)
        return;
    // Rows inserted after every existing one move no cell, so the open editor stays.
    QTableWidget::setRowCount(before + count);
    makeFixedItems(before, columnCount());
}

// The cell editor must not vanish with its cell while it holds the focus: the toolkit would
// send the focus on to some other cell or control. The grid takes the focus for the change
// and afterwards puts the editor on the nearest editable cell.
StringGrid::Reshape::Reshape(StringGrid& grid)
    : m_grid(grid),
      m_wasHolding(std::exchange(grid.m_holdEditor, true)),
      m_hadFocus(grid.containsFocus()),
      m_column(grid.currentColumn()),
      m_row(grid.currentRow()) {
    if (m_hadFocus && !grid.hasFocus())
        grid.setFocus(Qt::OtherFocusReason);
}

StringGrid::Reshape::~Reshape() {
    m_grid.m_holdEditor = m_wasHolding;
    if (!m_grid.isEditableCell(m_grid.currentColumn(), m_grid.currentRow()))
        m_grid.setCurrentCell(std::clamp(m_column, 1, std::max(m_grid.colCount() - 1, 1)),
                              std::clamp(m_row, 1, std::max(m_grid.rowCount() - 1, 1)));
    if (m_hadFocus)
        m_grid.showEditor();
}

void StringGrid::makeFixedItems(int fromRow, int fromColumn) {
    // New fixed cells carry no signal traffic: nothing shown depends on them until the
    // next paint.
    const QSignalBlocker quiet(model());
    for (int r = fromRow; r < rowCount(); ++r)
        setItem(r, 0, newFixedItem(cell(0, r)));
    for (int c = std::max(fromColumn, 1); c < columnCount(); ++c)
        if (!item(0, c) || item(0, c)->flags() != Qt::NoItemFlags)
            setItem(0, c, newFixedItem(cell(c, 0)));
    viewport()->update();
}

void StringGrid::hideStoredOnlyColumns() {
    for (int c = 0; c < columnCount(); ++c)
        setColumnHidden(c, c >= colCount());
}

void StringGrid::setDefaultColumnWidth(int width) {
    horizontalHeader()->setDefaultSectionSize(width);
}

void StringGrid::setDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(height);
}

void StringGrid::setNavigationMode(GridNavigation mode) {
    m_navigation = mode;
    m_columnSizing = false;
    setTabKeyNavigation(mode == GridNavigation::CellToCellTab);
    if (selectionMode() != SingleSelection) {
        setSelectionMode(SingleSelection);
        clearSelection();
    }
}

bool StringGrid::rangeSelection() const {
    return selectionMode() == ContiguousSelection;
}

bool StringGrid::isEditableCell(int column, int row) const {
    return column >= 1 && column < colCount() && row >= 1 && row < rowCount();
}

void StringGrid::setCurrentCell(int column, int row) {
    if (!isEditableCell(column, row))
        return;
    setCurrentIndex(model()->index(row, column));
}

bool StringGrid::containsFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

void StringGrid::commitEdit() {
    if (m_editor && !m_editor->isHidden())
        commitData(m_editor);
}

void StringGrid::editorCreated(QLineEdit* editor) {
    m_editor = editor;
}

void StringGrid::showEditor() {
    if (m_holdEditor || !containsFocus() || state() == EditingState)
        return;
    const QModelIndex current = currentIndex();
    if (isEditableCell(current.column(), current.row())) {
        edit(current, AllEditTriggers, nullptr);
        clipEditor();
    }
}

void StringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor == m_editor)
        m_editor = nullptr;
    QTableWidget::closeEditor(editor, hint);
}

void StringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableWidget::currentChanged(current, previous);
    showEditor();
}

void StringGrid::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    showEditor();
}

bool StringGrid::focusNextPrevChild(bool next) {
    if (!containsFocus())
        return QTableWidget::focusNextPrevChild(next);
    if (m_navigation == GridNavigation::CellToCellTab)
        tabToCell(next);
    else
        leaveGrid(next);
    return true;
}

void StringGrid::tabToCell(bool forward) {
    const int lastColumn = colCount() - 1;
    const int lastRow = rowCount() - 1;
    if (lastColumn < 1 || lastRow < 1) {
        leaveGrid(forward);  // nothing to walk
        return;
    }
    int c = currentColumn();
    int r = currentRow();
    if (!isEditableCell(c, r)) {
        setCurrentCell(1, 1);
        return;
    }
    if (forward) {
        if (++c > lastColumn) {
            c = 1;
            if (++r > lastRow)
                r = 1;
        }
    } else if (--c < 1) {
        c = lastColumn;
        if (--r < 1)
            r = lastRow;
    }
    setCurrentCell(c, r);
}

void StringGrid::leaveGrid(bool forward) {
    {
        // The window's tab order starts from the grid, not from its cell editor, which the
        // toolkit keeps at the end of the chain; no editor may open on the way out.
        const QScopedValueRollback<bool> leaving(m_holdEditor, true);
        if (!hasFocus())
            setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        QWidget::focusNextPrevChild(forward);
    }
    if (!containsFocus())
        return;
    showEditor();  // nowhere else to go: the grid keeps the focus
    emit tabbedOutToItself();
}

bool StringGrid::editorKeyPress(QKeyEvent* event) {
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        focusNextPrevChild(event->key() == Qt::Key_Tab &&
                           !(event->modifiers() & Qt::ShiftModifier));
        return true;
    }
    const QChar typed = typedCharacter(event);
    if (!typed.isNull() && event != m_reportedKey) {
        m_reportedKey = event;
        emit keyPressed(typed);
        if (!containsFocus())
            return true;  // the handler sent the focus elsewhere: the key goes with it
    }
    // Enter and Escape would close the editor, which stays open as long as the grid has
    // the focus.
    return typed == QChar(u'\r') || typed == QChar(0x1b);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    // Without an editor (none is open only for a moment) the grid hears the key first and
    // may then hand the same event on to a new editor.
    const QChar typed = typedCharacter(event);
    if (!typed.isNull() && event != m_reportedKey) {
        m_reportedKey = event;
        emit keyPressed(typed);
        if (!containsFocus()) {
            event->accept();
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

int StringGrid::sizingEdgeAt(const QPoint& position) const {
    if (position.y() < 0 || position.y() >= rowHeight(0))
        return -1;
    for (int c = 0; c < colCount(); ++c) {
        const int edge = visualRect(model()->index(0, c)).left() + columnWidth(c);
        // A column scrolled under the header column has no line to drag.
        if (c > 0 && edge <= columnWidth(0))
            continue;
        if (std::abs(position.x() - edge) <= kSizingMargin)
            return c;
    }
    return -1;
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    if (m_columnSizing && event->button() == Qt::LeftButton) {
        const int column = sizingEdgeAt(event->position().toPoint());
        if (column >= 0) {
            m_sizingColumn = column;
            m_sizingStartX = event->position().toPoint().x();
            m_sizingStartWidth = columnWidth(column);
            event->accept();
            return;
        }
    }
    QTableWidget::mousePressEvent(event);
}

void StringGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (m_sizingColumn >= 0) {
        setColumnWidth(
            m_sizingColumn,
            std::max(kMinimumColumnWidth, m_sizingStartWidth + position.x() - m_sizingStartX));
        event->accept();
        return;
    }
    if (m_columnSizing && sizingEdgeAt(position) >= 0)
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
    QTableWidget::mouseMoveEvent(event);
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (m_sizingColumn >= 0) {
        m_sizingColumn = -1;
        event->accept();
        return;
    }
    QTableWidget::mouseReleaseEvent(event);
}

// The header row is pinned to the top of the viewport and the header column to its left
// edge; each still follows the cells of its own direction.
QRect StringGrid::visualRect(const QModelIndex& index) const {
    QRect rect = QTableWidget::visualRect(index);
    if (!rect.isValid() || !isFixed(index))
        return rect;
    if (index.row() == 0)
        rect.moveTop(0);
    if (index.column() == 0)
        rect.moveLeft(0);
    return rect;
}

QModelIndex StringGrid::indexAt(const QPoint& point) const {
    const QModelIndex under = QTableWidget::indexAt(point);
    if (!under.isValid())
        return under;
    return model()->index(point.y() < rowHeight(0) ? 0 : under.row(),
                          point.x() < columnWidth(0) ? 0 : under.column());
}

void StringGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTableWidget::scrollTo(index, hint);
    if (!index.isValid() || isFixed(index))
        return;
    // The table scrolls a cell to the top or left edge, which the headers cover: one step
    // back at a time until the cell is clear of them.
    QScrollBar* vertical = verticalScrollBar();
    while (rowViewportPosition(index.row()) < rowHeight(0) &&
           vertical->value() > vertical->minimum())
        vertical->setValue(vertical->value() - 1);
    QScrollBar* horizontal = horizontalScrollBar();
    while (columnViewportPosition(index.column()) < columnWidth(0) &&
           horizontal->value() > horizontal->minimum())
        horizontal->setValue(horizontal->value() - 1);
}

QRegion StringGrid::fixedArea() const {
    const QRect area = viewport()->rect();
    return QRegion(0, 0, area.width(), rowHeight(0)) + QRegion(0, 0, columnWidth(0), area.height());
}

void StringGrid::scrollContentsBy(int dx, int dy) {
    QTableWidget::scrollContentsBy(dx, dy);
    // The view shifts what it has painted; the headers must not move with it.
    viewport()->update();
    updateEditorGeometries();
}

void StringGrid::updateEditorGeometries() {
    QTableWidget::updateEditorGeometries();
    clipEditor();
}

void StringGrid::clipEditor() {
    if (!m_editor)
        return;
    const QRect cellArea = m_editor->geometry();
    const QRegion clear = QRegion(cellArea) - fixedArea();
    if (clear == QRegion(cellArea)) {
        m_editor->clearMask();
    } else if (clear.isEmpty()) {
        // Wholly under a header: out of sight as a cell scrolled away is, still holding the
        // focus and what is typed.
        m_editor->move(-cellArea.width() - 1, -cellArea.height() - 1);
    } else {
        m_editor->setMask(clear.translated(-cellArea.topLeft()));
    }
}

void StringGrid::paintEvent(QPaintEvent* event) {
    QTableWidget::paintEvent(event);
    // The headers are painted again over the cells that scrolled under them: first the
    // header column, then the header row, then the corner cell over both.
    QPainter painter(viewport());
    painter.setClipRegion(event->region());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QPen gridPen(QColor::fromRgba(static_cast<QRgb>(
                           style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this))),
                       1, gridStyle());
    const int height = viewport()->height();
    const int firstRow = rowAt(rowHeight(0));
    if (firstRow > 0) {
        const int lastRow = rowAt(height - 1) < 0 ? rowCount() - 1 : rowAt(height - 1);
        for (int r = firstRow; r <= lastRow; ++r)
            paintFixedCell(painter, option, gridPen, model()->index(r, 0));
    }
    for (int c = 1; c < colCount(); ++c) {
        const int left = columnViewportPosition(c);
        if (!isColumnHidden(c) && left + columnWidth(c) > columnWidth(0) &&
            left < viewport()->width())
            paintFixedCell(painter, option, gridPen, model()->index(0, c));
    }
    paintFixedCell(painter, option, gridPen, model()->index(0, 0));
}

// Painted as the table paints a cell that takes no input, with the lines on its right and
// bottom edges.
void StringGrid::paintFixedCell(QPainter& painter, QStyleOptionViewItem option, const QPen& gridPen,
                                const QModelIndex& index) const {
    option.rect = visualRect(index);
    if (option.state & QStyle::State_Enabled) {
        option.state &= ~QStyle::State_Enabled;
        option.palette.setCurrentColorGroup(QPalette::Disabled);
    }
    style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &option, &painter, this);
    itemDelegateForIndex(index)->paint(&painter, option, index);
    const QPen pen = painter.pen();
    painter.setPen(gridPen);
    const QRect& cell = option.rect;
    painter.drawLine(cell.right() + 1, cell.top(), cell.right() + 1, cell.bottom() + 1);
    painter.drawLine(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.bottom() + 1);
    painter.setPen(pen);
}
