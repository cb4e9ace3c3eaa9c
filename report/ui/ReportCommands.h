#pragma once

#include <QObject>

#include <memory>

#include "calc/Ucalculo.h"

class QPrinter;
class TMainForm;

// The frame's report command and the launchers of the print dialogs. The report text and
// the printed pages are the core's (ReportText.h, Uprint1.h, Uprint.h); these handlers
// make the windows and show the dialogs.
class ReportCommands : public QObject {
    Q_OBJECT
public:
    ReportCommands(TMainForm& frame, ldc::CalibrationResults& record);
    ~ReportCommands() override;

    void mnuinformeClick();
    void PrintLasserClick();
    void FilePrint();
    // "Exportar registro PDF…": the study's whole record as one PDF, in one step.
    void FileExportRecord();
    // The open study's validation page, with the default parameters, on the printer the
    // print dialog sets (kept for the run).
    void printValidacionClick();
    // Reached by no menu item or button.
    void mnuoprtClick();
    void fileprt1();

private:
    TMainForm& m_frame;
    ldc::CalibrationResults& m_record;
    std::unique_ptr<QPrinter> m_validationPrinter;
};
