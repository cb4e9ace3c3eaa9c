#include "calc/ui/ValidationTableWidget.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

// Rows up to which a table shows whole; a longer one scrolls.
constexpr int kShownRows = 25;
// Rows measured for the columns' widths: a residual table of 100,000 rows is not read
// through for that.
constexpr int kMeasuredRows = 500;

}  // namespace

// The table's texts as the view asks for them, so that a long table costs only what shows.
class ValidationTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setTable(const ldc::ValidationTable& table) {
        beginResetModel();
        m_table = table;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_table.rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_table.headers.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const auto& row = m_table.rows[index.row()];
        return index.column() < int(row.size()) ? QString::fromStdString(row[index.column()])
                                                : QString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal ||
            section >= int(m_table.headers.size()))
            return {};
        return QString::fromStdString(m_table.headers[section]);
    }

private:
    ldc::ValidationTable m_table;
};

ValidationTableWidget::ValidationTableWidget(const QString& name, QWidget* parent)
    : QTableView(parent), m_model(new ValidationTableModel(this)) {
    setObjectName(name);
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setResizeContentsPrecision(kMeasuredRows);
    horizontalHeader()->setStretchLastSection(true);
}

void ValidationTableWidget::fill(const ldc::ValidationTable& table) {
    m_model->setTable(table);
    resizeColumnsToContents();
    const int rows = std::min(m_model->rowCount(), kShownRows);
    setFixedHeight(horizontalHeader()->sizeHint().height() + 2 * frameWidth() +
                   rows * verticalHeader()->defaultSectionSize());
    // Every column shows: the window's scroll area scrolls the tables sideways as one.
    setMinimumWidth(
        horizontalHeader()->length() + 2 * frameWidth() +
        (m_model->rowCount() > kShownRows ? verticalScrollBar()->sizeHint().width() : 0));
}

QString ValidationTableWidget::text(int row, int column) const {
    return m_model->index(row, column).data().toString();
}

QString ValidationTableWidget::selectedText() const {
    const QModelIndexList cells = selectionModel()->selectedIndexes();
    if (cells.isEmpty())
        return {};
    int top = m_model->rowCount(), bottom = -1, left = m_model->columnCount(), right = -1;
    for (const QModelIndex& cell : cells) {
        top = std::min(top, cell.row());
        bottom = std::max(bottom, cell.row());
        left = std::min(left, cell.column());
        right = std::max(right, cell.column());
    }
    QStringList lines;
    QStringList texts;
    for (int c = left; c <= right; ++c)
        texts << m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    lines << texts.join('\t');
    for (int r = top; r <= bottom; ++r) {
        texts.clear();
        for (int c = left; c <= right; ++c)
            texts << (selectionModel()->isSelected(m_model->index(r, c)) ? text(r, c) : QString());
        lines << texts.join('\t');
    }
    return lines.join('\n');
}

void ValidationTableWidget::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(selectedText());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
