// The frame's file commands: New, Open, Save, Save As and Close. Reading and writing are
// the core's (StudyFile.h); these handlers choose the file, create or close the study
// window and keep the frame's caption, status and command states in step.

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include "app/BusyPointer.h"
#include "app/HelpRequest.h"
#include "app/Main.h"
#include "files/StudyFile.h"
#include "study/ui/Fdatos.h"

namespace {

const QString kNewCaption = QStringLiteral("Nuevo");

std::string filePath(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

// An Open that stops on an error must not leave a half-filled study window behind: the
// frame goes back to where it was, with no study window, and the error box follows.
class DiscardUnlessKept {
public:
    explicit DiscardUnlessKept(QMdiSubWindow* window) : m_window(window) {}
    ~DiscardUnlessKept() { delete m_window.data(); }
    DiscardUnlessKept(const DiscardUnlessKept&) = delete;
    DiscardUnlessKept& operator=(const DiscardUnlessKept&) = delete;

    void keep() { m_window = nullptr; }

private:
    QPointer<QMdiSubWindow> m_window;
};

}  // namespace

TFinforma* TMainForm::createStudyWindow() {
    auto* form = new TFinforma;
    Finforma = form;
    addChild(form, kHelpStudyWindow);
    return form;
}

void TMainForm::FileNew() {
    createStudyWindow();
    estado->clear();
    applyCommandState(CommandTransition::AfterNew);
}

void TMainForm::fileopen() {
    const std::optional<QString> chosen = dialogs().openFileName(this, OpenDialog);
    if (!chosen)
        return;
    OpenDialog.fileName = *chosen;

    BusyPointer busy;
    TFinforma* form = createStudyWindow();
    DiscardUnlessKept discard(qobject_cast<QMdiSubWindow*>(form->parentWidget()));
    ldc::openStudyFile(filePath(*chosen), *form);
    discard.keep();

    // The study is now bound to its file: Save rewrites it, Save As proposes it.
    SaveDialog.fileName = form->windowTitle();
    applyCommandState(CommandTransition::AfterOpen);
    // The closing file dialog hands the focus back to the frame once the events queued by
    // now have run; the study window takes it after that, as a new study's window does.
    QTimer::singleShot(0, form, [form] {
        if (!form->isAncestorOf(QApplication::focusWidget()))
            form->ThojasEnter();
    });
}

void TMainForm::FileSave(QObject* sender) {
    if (!Finforma)
        return;
    // A study never saved nor loaded has no file yet, whatever the dialog remembers.
    if (Finforma->windowTitle() == kNewCaption) {
        SaveDialog.fileName = kNewCaption;
        FileSaveAs(sender);
        return;
    }
    BusyPointer busy;
    ldc::saveStudyFile(filePath(SaveDialog.fileName), *Finforma);
    estado->clear();
}

void TMainForm::FileSaveAs(QObject* /*sender*/) {
    if (!Finforma)
        return;
    const std::optional<QString> chosen = dialogs().saveFileName(this, SaveDialog);
    if (!chosen)
        return;
    BusyPointer busy;
    ldc::saveStudyFile(filePath(*chosen), *Finforma);
    estado->clear();
    // Only a complete write binds the study to the new name, so the caption and the
    // file that Save rewrites never part company after a failed Save As.
    Finforma->setWindowTitle(*chosen);
    SaveDialog.fileName = *chosen;
}

void TMainForm::mnucloseClick() {
    QMdiSubWindow* active = ClientArea->currentSubWindow();
    if (!active)
        return;
    if (!Finforma || active->widget() != Finforma) {
        active->close();
        return;
    }
    // The study window's close query may ask to save first; it never keeps it open.
    if (!active->close())
        return;
    applyCommandState(CommandTransition::AfterCloseStudy);
}
