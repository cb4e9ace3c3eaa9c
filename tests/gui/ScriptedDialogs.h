#pragma once

#include <QStringList>
#include <QtTest>

#include <deque>
#include <functional>
#include <optional>
#include <utility>

#include "app/Dialogs.h"

// Records every call and answers from queues; a call with nothing queued fails, never blocks.
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
    bool question(QWidget*, const QString& caption, const QString& text) override {
        questions << caption + "|" + text;
        return take(questionAnswers, "question");
    }
    std::optional<QString> openFileName(QWidget*, const FileDialogRequest& request) override {
        openRequests << request;
        return take(openAnswers, "open dialog");
    }
    std::optional<QString> saveFileName(QWidget*, const FileDialogRequest& request) override {
        saveRequests << request;
        return take(saveAnswers, "save dialog");
    }
    bool printDialog(QWidget*, QPrinter* printer) override {
        ++printDialogs;
        const bool accepted = take(printAnswers, "print dialog");
        if (accepted && configurePrinter)
            configurePrinter(printer);
        return accepted;
    }
    int execModal(QDialog*) override { return take(modalResults, "modal window"); }

    // Answers, consumed in order. std::nullopt stands for Cancel.
    std::deque<bool> questionAnswers;
    std::deque<std::optional<QString>> openAnswers, saveAnswers;
    std::deque<bool> printAnswers;
    std::deque<int> modalResults;
    // What the user sets in an accepted print dialog (print to a PDF file, for instance).
    std::function<void(QPrinter*)> configurePrinter;

    // What was shown.
    QStringList notices, errors, questions;  // a question as caption + "|" + text
    QList<FileDialogRequest> openRequests, saveRequests;
    int printDialogs = 0;

private:
    template <typename T>
    static T take(std::deque<T>& queue, const char* what) {
        if (queue.empty()) {
            QTest::qFail(
                qPrintable(QStringLiteral("unexpected %1 with no scripted answer").arg(what)),
                __FILE__, __LINE__);
            return T{};
        }
        // Swapped out: g++ 12 takes copying an optional QString for an uninitialised read.
        T value{};
        std::swap(value, queue.front());
        queue.pop_front();
        return value;
    }
};
