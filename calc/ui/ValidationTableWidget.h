#pragma once

#include <QTableView>

#include "calc/ValidationContent.h"

class ValidationTableModel;

// One of the validation window's tables: read-only, as tall as its rows up to a screenful
// (longer ones, the residuals of a large study, scroll inside), and Ctrl+C copies the
// selected cells as tab-separated lines, headings first, ready to paste into a spreadsheet
// or a validation report.
class ValidationTableWidget : public QTableView {
    Q_OBJECT
public:
    explicit ValidationTableWidget(const QString& name, QWidget* parent = nullptr);

    void fill(const ldc::ValidationTable& table);
    QString text(int row, int column) const;
    // The selection as the clipboard receives it.
    QString selectedText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ValidationTableModel* m_model;
};
