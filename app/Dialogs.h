#pragma once

#include <QMessageBox>
#include <QString>

#include <memory>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

// Every modal thing the program shows goes through this interface, so that the tests can
// replace it with a scripted one and never wait on a dialog.
struct FileDialogRequest {
    QString title;
    QString filter;         // e.g. "Qorval v.w 3.0 (*.w9c)"
    QString defaultSuffix;  // added to a name typed without extension
    QString fileName;       // proposed file name (may hold a folder)
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The notice of the entry checks: application title as caption, no icon, OK.
    virtual void notice(QWidget* parent, const QString& text) = 0;
    // The error box: application title as caption, stop icon, OK. The text is shown as given.
    virtual void errorBox(QWidget* parent, const QString& text) = 0;
    // A Yes/No question with a question icon; true for Yes.
    virtual bool question(QWidget* parent, const QString& caption, const QString& text) = 0;

    // File dialogs; empty when the user cancels. The open dialog requires an existing
    // file; the save dialog asks before replacing one.
    virtual std::optional<QString> openFileName(QWidget* parent,
                                                const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFileName(QWidget* parent,
                                                const FileDialogRequest& request) = 0;

    // The platform's print dialog on `printer`; false when the user cancels.
    virtual bool printDialog(QWidget* parent, QPrinter* printer) = 0;

    // Runs one of the program's own modal windows; returns QDialog::exec()'s result.
    virtual int execModal(QDialog* dialog) = 0;
};

// The dialogs in use: the real ones unless a test installed others.
Dialogs& dialogs();
// Installs `replacement` (not owned); nullptr restores the real dialogs.
void setDialogs(Dialogs* replacement);

// The caption of notices and error boxes.
QString applicationTitle();

// A notice (no icon) or an error box (Critical) as the real dialogs run it: the application
// title as caption, the box wide enough to show it whole, one OK button.
std::unique_ptr<QMessageBox> messageBox(QMessageBox::Icon icon, const QString& text,
                                        QWidget* parent);
