#include "app/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpacerItem>
#include <QStyle>

namespace {

class RealDialogs : public Dialogs {
public:
    void notice(QWidget* parent, const QString& text) override {
        messageBox(QMessageBox::NoIcon, text, parent)->exec();
    }

    void errorBox(QWidget* parent, const QString& text) override {
        messageBox(QMessageBox::Critical, text, parent)->exec();
    }

    bool question(QWidget* parent, const QString& caption, const QString& text) override {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                        parent);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    }

    std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& r) override {
        QFileDialog dialog(parent, r.title, QString(), r.filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(r.defaultSuffix);
        dialog.setOption(QFileDialog::ReadOnly, false);
        if (!r.fileName.isEmpty())
            dialog.selectFile(r.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }

    std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& r) override {
        QFileDialog dialog(parent, r.title, QString(), r.filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(r.defaultSuffix);
        if (!r.fileName.isEmpty())
            dialog.selectFile(r.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }

    bool printDialog(QWidget* parent, QPrinter* printer) override {
        QPrintDialog dialog(printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }

    int execModal(QDialog* dialog) override { return dialog->exec(); }
};

RealDialogs g_realDialogs;
Dialogs* g_dialogs = &g_realDialogs;

}  // namespace

std::unique_ptr<QMessageBox> messageBox(QMessageBox::Icon icon, const QString& text,
                                        QWidget* parent) {
    auto box =
        std::make_unique<QMessageBox>(icon, applicationTitle(), text, QMessageBox::Ok, parent);
    // A message box is as wide as its text, and a short text would cut the caption. The
    // caption is drawn by the window manager, commonly in bold, beside the window's icon
    // and its buttons: room for all of them, measured in the box's own font.
    QFont caption = box->font();
    caption.setBold(true);
    const int buttons = 4 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int width = QFontMetrics(caption).horizontalAdvance(applicationTitle()) + buttons;
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

Dialogs& dialogs() {
    return *g_dialogs;
}

void setDialogs(Dialogs* replacement) {
    g_dialogs = replacement ? replacement : &g_realDialogs;
}

QString applicationTitle() {
    return QStringLiteral("Límite de Detección y Cuantificación del Método");
}
