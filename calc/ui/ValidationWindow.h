#pragma once

#include <QWidget>

#include <memory>
#include <vector>

#include "calc/ValidationContent.h"

class QChart;
class QChartView;
class QDoubleSpinBox;
class QLabel;
class QPrinter;
class QPushButton;
class QSpinBox;
class ValidationTableWidget;

// The validation of the study's calibration: the calibration plot with the line's bands and
// the limits, the residual plot, and the tables of the limits by approach, the linearity
// tests and the recovery. The study's values are taken when the window opens; changing α,
// β, k or m recomputes from them. The page prints and exports to PDF with the parameters
// shown.
class ValidationWindow : public QWidget {
    Q_OBJECT
public:
    explicit ValidationWindow(ldc::ValidationInputs inputs, QWidget* parent = nullptr);
    ~ValidationWindow() override;

    ldc::ValidationParameters parameters() const;

    QDoubleSpinBox* ealfa;
    QDoubleSpinBox* ebeta;
    QDoubleSpinBox* ek;
    QSpinBox* em;
    QPushButton* btnimprimir;  // "Imprimir…"
    QPushButton* btnpdf;       // "Exportar PDF…"

    void recompute();
    void refreshFromStudy();
    void printPage();
    void exportPdf();
    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ldc::ValidationInputs m_inputs;
    QChartView* m_calibrationView;
    QChartView* m_residualView;
    std::vector<ValidationTableWidget*> m_tables;
    QLabel* m_warnings;
    std::unique_ptr<QPrinter> m_printer;
};

// Asks the print dialog on `printer` and prints the validation page there; nothing when the
// dialog is cancelled. Errors reach the caller (and the error box).
void printValidation(QWidget* parent, QPrinter& printer, const ldc::ValidationInputs& inputs,
                     const ldc::ValidationParameters& parameters);
