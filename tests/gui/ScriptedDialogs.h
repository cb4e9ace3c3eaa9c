#pragma once

#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

#include "app/Dialogs.h"

// Dialogs for the widget tests: every call is recorded, answers come from queues the
// test fills beforehand. A call with nothing queued fails the test instead of blocking.
class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs() { setDialogs(this); }
    // A test that failed before dropping its dialogs must not leave the next one real ones.
    ~ScriptedDialogs() override {
        if (&dialogs() == this)
            setDialogs(nullptr);
    }

    void notice(QWidget*, const QString& text) override { notices << text; }
    void errorBox(QWidget*, const QString& text) override { errors << text; }
    bool question(QWidget*, const QString& caption, const QString& text) override;
    std::optional<QString> openFileName(QWidget*, const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(QWidget*, const FileDialogRequest& request) override;
    bool printDialog(QWidget*, QPrinter* printer) override;
    int execModal(QDialog*) override;

    // Answers, consumed in order. std::nullopt stands for Cancel.
    std::deque<bool> questionAnswers;
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<bool> printAnswers;
    std::deque<int> modalResults;
    // What the user sets in an accepted print dialog (print to a PDF file, for instance).
    std::function<void(QPrinter*)> configurePrinter;

    // What was shown.
    QStringList notices;
    QStringList errors;
    QStringList questions;  // caption + "|" + text
    QList<FileDialogRequest> openRequests;
    QList<FileDialogRequest> saveRequests;
    int printDialogs = 0;
    int modalRuns = 0;
};
