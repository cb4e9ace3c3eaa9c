#pragma once

#include <QPointer>
#include <QWidget>

class QPlainTextEdit;

// A results window: the statistics and the two limits of one calculation, as text. The
// text is a snapshot: later edits of the study, later calculations and the closing of the
// study window leave it as it was. Every run of the results command makes a new one.
class TFinfo : public QWidget {
    Q_OBJECT
public:
    explicit TFinfo(QWidget* parent = nullptr);

    // Read-only and disabled: the analyst can neither type in it nor select its text.
    QPlainTextEdit* memo;

    // Appends one line at the end of the text; an empty line is the empty text.
    void appendLine(const QString& line);

    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;
};

// The newest results window.
extern QPointer<TFinfo> Finfo;
