#include "files/ui/FileCommands.h"

#include <QApplication>
#include <QFile>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include "app/BusyPointer.h"
#include "app/HelpRequest.h"
#include "app/Main.h"
#include "files/StudyFile.h"
#include "files/ui/StudyAudit.h"
#include "study/ui/Fdatos.h"

namespace {

const QString kNewCaption = QStringLiteral("Nuevo");
const QString kFilter = QStringLiteral("Qorval v.w 3.0 (*.w9c)");

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

FileCommands::FileCommands(TMainForm& frame)
    : QObject(&frame),
      m_frame(frame),
      m_openDialog{QStringLiteral("Abrir Documento"), kFilter, QStringLiteral("w9c"), QString()},
      m_saveDialog{QStringLiteral("Guardar como"), kFilter, QStringLiteral("w9c"), kNewCaption} {
    setObjectName(QStringLiteral("FileCommands"));
}

TFinforma* FileCommands::createStudyWindow() {
    auto* form = new TFinforma;
    Finforma = form;
    m_frame.addChild(form, kHelpStudyWindow);
    return form;
}

void FileCommands::FileNew() {
    createStudyWindow();
    m_frame.clearModified();
    m_frame.applyCommandState(CommandTransition::AfterNew);
}

void FileCommands::fileopen() {
    const std::optional<QString> chosen = dialogs().openFileName(&m_frame, m_openDialog);
    if (chosen)
        openFile(*chosen);
}

void FileCommands::openFile(const QString& path) {
    m_openDialog.fileName = path;

    BusyPointer busy;
    TFinforma* form = createStudyWindow();
    DiscardUnlessKept discard(qobject_cast<QMdiSubWindow*>(form->parentWidget()));
    ldc::openStudyFile(filePath(path), *form);
    discard.keep();

    // The study is now bound to its file: Save rewrites it, Save As proposes it.
    m_saveDialog.fileName = form->windowTitle();
    m_frame.applyCommandState(CommandTransition::AfterOpen);
    // The closing file dialog hands the focus back to the frame once the events queued by
    // now have run; the study window takes it after that, as a new study's window does.
    QTimer::singleShot(0, form, [form] {
        if (!form->isAncestorOf(QApplication::focusWidget()))
            form->ThojasEnter();
    });
    recordStudyAction(path, ldc::auditAction::open);
}

void FileCommands::FileSave(QObject* sender) {
    if (!Finforma)
        return;
    // A study never saved nor loaded has no file yet, whatever the dialog remembers.
    if (Finforma->windowTitle() == kNewCaption) {
        m_saveDialog.fileName = kNewCaption;
        FileSaveAs(sender);
        return;
    }
    saveTo(m_saveDialog.fileName, SaveKind::Save);
}

void FileCommands::FileSaveAs(QObject* /*sender*/) {
    if (!Finforma)
        return;
    const std::optional<QString> chosen = dialogs().saveFileName(&m_frame, m_saveDialog);
    if (!chosen)
        return;
    saveTo(*chosen, SaveKind::SaveAs);
}

void FileCommands::saveTo(const QString& path, SaveKind kind) {
    BusyPointer busy;
    const std::string file = filePath(path);
    // The save's trail entry lists what changed against the file as it was on disk.
    const ldc::StudyFileSnapshot before = ldc::snapshotStudyFile(file);
    ldc::saveStudyFile(file, *Finforma);
    if (kind == SaveKind::SaveAs) {
        // Only a complete write binds the study to the new name, so the caption and the
        // file that Save rewrites never part company after a failed Save As.
        Finforma->setWindowTitle(path);
        m_saveDialog.fileName = path;
    }
    // A save whose trail entry could not be written keeps the edit marker, so that the
    // analyst saves again once the trail can be written.
    recordStudySave(path, before,
                    kind == SaveKind::SaveAs ? QStringLiteral("Guardar como") : QString());
    m_frame.clearModified();
}

void FileCommands::mnucloseClick() {
    QMdiSubWindow* active = m_frame.activeChild();
    if (!active)
        return;
    if (!Finforma || active->widget() != Finforma) {
        active->close();
        return;
    }
    // The study window's close query may ask to save first; it never keeps it open.
    if (!active->close())
        return;
    m_frame.applyCommandState(CommandTransition::AfterCloseStudy);
}
