#pragma once

#include <QTableWidget>

#include "calc/ValidationContent.h"

// One of the validation window's tables: read-only, as tall as its rows (the window scrolls,
// not the table), and Ctrl+C copies the selected cells as tab-separated lines, headings
// first, ready to paste into a spreadsheet or a validation report.
class ValidationTableWidget : public QTableWidget {
    Q_OBJECT
public:
    explicit ValidationTableWidget(const QString& name, QWidget* parent = nullptr);

    void fill(const ldc::ValidationTable& table);
    // The selection as the clipboard receives it.
    QString selectedText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
