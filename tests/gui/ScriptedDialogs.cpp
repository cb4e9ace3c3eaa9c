#include "ScriptedDialogs.h"

#include <QtTest>

#include <utility>

namespace {

template <typename T>
T take(std::deque<T>& queue, const char* what) {
    if (queue.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected %1 with no scripted answer").arg(what)),
                     __FILE__, __LINE__);
        return T{};
    }
    // Moved out rather than copied: g++ 12 takes the copy of an optional QString for a
    // read of uninitialised memory.
    T value{};
    std::swap(value, queue.front());
    queue.pop_front();
    return value;
}

}  // namespace

bool ScriptedDialogs::question(QWidget*, const QString& caption, const QString& text) {
    questions << caption + "|" + text;
    return take(questionAnswers, "question");
}

std::optional<QString> ScriptedDialogs::openFileName(QWidget*, const FileDialogRequest& request) {
    openRequests << request;
    return take(openAnswers, "open dialog");
}

std::optional<QString> ScriptedDialogs::saveFileName(QWidget*, const FileDialogRequest& request) {
    saveRequests << request;
    return take(saveAnswers, "save dialog");
}

bool ScriptedDialogs::printDialog(QWidget*, QPrinter* printer) {
    ++printDialogs;
    const bool accepted = take(printAnswers, "print dialog");
    if (accepted && configurePrinter)
        configurePrinter(printer);
    return accepted;
}

int ScriptedDialogs::execModal(QDialog*) {
    ++modalRuns;
    return take(modalResults, "modal window");
}
