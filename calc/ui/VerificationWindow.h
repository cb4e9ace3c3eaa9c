#pragma once

#include <QWidget>

#include <vector>

#include "calc/SelfVerification.h"

class QLabel;
class QPushButton;
class QTableWidget;

// The help topic of the verification window and of its menu item.
inline constexpr unsigned kHelpVerificationWindow = 34;

// "Verificación del programa": runs the self-verification when it opens and shows its
// table (read-only; cells can be selected and copied), the summary, and where, by whom and
// with which version it ran. The table prints, or goes to a PDF file, as the document the
// laboratory files.
class VerificationWindow : public QWidget {
    Q_OBJECT
public:
    explicit VerificationWindow(QWidget* parent = nullptr);

    QTableWidget* tablaVerificacion;
    QLabel* lresumen;
    QLabel* lcontexto;
    QPushButton* btnimprimir;
    QPushButton* btnpdf;

    void btnimprimirClick();
    void btnpdfClick();
    // The selected cells as tab-separated lines on the clipboard, ready for a spreadsheet.
    void copySelection();

    const std::vector<ldc::VerificationRow>& rows() const { return m_rows; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillTable();

    std::vector<ldc::VerificationRow> m_rows;
    ldc::VerificationContext m_context;
};
