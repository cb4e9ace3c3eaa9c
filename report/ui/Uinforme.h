#pragma once

#include <QWidget>

class QPlainTextEdit;

// The report window: the study's data and its results as plain text, to read and scroll.
// Any key or any click in the text closes it; every run of the report command makes a
// new one.
class Tfrminforme : public QWidget {
    Q_OBJECT
public:
    explicit Tfrminforme(QWidget* parent = nullptr);

    QPlainTextEdit* mminforme;

    // Appends one line at the end of the text; an empty line is the empty text.
    void appendLine(const QString& line);

    void mminformeKeyDown();
    void mminformeMouseDown();
    void FormClose();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void closeReport();
};
