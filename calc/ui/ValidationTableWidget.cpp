#include "calc/ui/ValidationTableWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

ValidationTableWidget::ValidationTableWidget(const QString& name, QWidget* parent)
    : QTableWidget(parent) {
    setObjectName(name);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setStretchLastSection(true);
}

void ValidationTableWidget::fill(const ldc::ValidationTable& table) {
    clear();
    setColumnCount(static_cast<int>(table.headers.size()));
    setRowCount(static_cast<int>(table.rows.size()));
    QStringList headers;
    for (const std::string& header : table.headers)
        headers << QString::fromStdString(header);
    setHorizontalHeaderLabels(headers);
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount() && c < int(table.rows[r].size()); ++c)
            setItem(r, c, new QTableWidgetItem(QString::fromStdString(table.rows[r][c])));
    // Every row and column shows: the window's scroll area scrolls the tables as one.
    resizeColumnsToContents();
    resizeRowsToContents();
    int height = horizontalHeader()->sizeHint().height() + 2 * frameWidth();
    for (int r = 0; r < rowCount(); ++r)
        height += rowHeight(r);
    setFixedHeight(height);
    setMinimumWidth(horizontalHeader()->length() + 2 * frameWidth());
}

QString ValidationTableWidget::selectedText() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty())
        return {};
    int top = rowCount(), bottom = -1, left = columnCount(), right = -1;
    for (const QTableWidgetSelectionRange& range : ranges) {
        top = std::min(top, range.topRow());
        bottom = std::max(bottom, range.bottomRow());
        left = std::min(left, range.leftColumn());
        right = std::max(right, range.rightColumn());
    }
    QStringList lines;
    QStringList cells;
    for (int c = left; c <= right; ++c)
        cells << horizontalHeaderItem(c)->text();
    lines << cells.join('\t');
    for (int r = top; r <= bottom; ++r) {
        cells.clear();
        for (int c = left; c <= right; ++c) {
            const QTableWidgetItem* cell = item(r, c);
            cells << (cell && cell->isSelected() ? cell->text() : QString());
        }
        lines << cells.join('\t');
    }
    return lines.join('\n');
}

void ValidationTableWidget::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(selectedText());
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}
