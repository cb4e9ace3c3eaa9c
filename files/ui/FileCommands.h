#pragma once

#include <QObject>

#include "app/Dialogs.h"

class QString;
class TFinforma;
class TMainForm;

// The frame's file commands: New, Open, Save, Save As and Close. Reading and writing are
// the core's (StudyFile.h); these handlers choose the file, create or close the study
// window and keep the frame's caption, edit marker and command states in step. They keep
// what the file dialogs are asked, and the file name each remembers between uses.
class FileCommands : public QObject {
    Q_OBJECT
public:
    explicit FileCommands(TMainForm& frame);

    void FileNew();
    void fileopen();
    void FileSave(QObject* sender = nullptr);
    void FileSaveAs(QObject* sender = nullptr);
    void mnucloseClick();

    // Opens the study file at `path` as Open does once its dialog has chosen the file.
    void openFile(const QString& path);

    // The save dialog's request; its file name is the study's current file, which Save
    // rewrites and Save As proposes.
    const FileDialogRequest& saveDialog() const { return m_saveDialog; }

private:
    TFinforma* createStudyWindow();
    // Writes the study to `path` and records the save; Save As also binds the study to it.
    enum class SaveKind { Save, SaveAs };
    void saveTo(const QString& path, SaveKind kind);

    TMainForm& m_frame;
    FileDialogRequest m_openDialog;
    FileDialogRequest m_saveDialog;
};
