#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

// The report window: the study's data and its results as plain text, to read and scroll.
// Any key or any click in the text closes it; every run of the report command makes a
// new one.
class Tfrminforme : public QWidget {
    Q_OBJECT
public:
    explicit Tfrminforme(QWidget* parent = nullptr);

    QPlainTextEdit* mminforme;
    // Below the text: which study file, in which state, the report came from, and when.
    QLabel* lidentidad;

    // Appends one line at the end of the text; an empty line is the empty text.
    void appendLine(const QString& line);
    void setIdentity(const QStringList& lines);

    void mminformeKeyDown();
    void mminformeMouseDown();
    void FormClose();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void closeReport();
};
