#pragma once

#include <QDialog>

#include <functional>
#include <memory>

#include "report/DrawingSurface.h"
#include "study/StudyDocument.h"

class QPrinter;
class QPushButton;
class RadioGroup;

// What the laser and DeskJet print options (TFopprt1, TFopprt) have in common: a choice of
// page, "Aceptar" that asks the print dialog and prints the chosen page of the open study,
// and "Cancelar" that only hides the window, so that the choice and the printer settings
// stay as last set for the rest of the run.
class PrintOptionsDialog : public QDialog {
    Q_OBJECT
public:
    ~PrintOptionsDialog() override;

    RadioGroup* opcion;    // 0 general page, 1 results page
    QPushButton* BitBtn1;  // "Aceptar"
    QPushButton* BitBtn2;  // "Cancelar"

    void BitBtn1Click();
    void BitBtn2Click();

    // The printer the print dialog sets up, kept for the run.
    QPrinter& printer() const { return *m_printer; }

    // Where the pages are drawn: by default the printer at the layout's resolution. The
    // tests put a recording surface here to see where the layouts place things; an empty
    // factory restores the printer.
    using SurfaceFactory =
        std::function<std::unique_ptr<ldc::DrawingSurface>(QPrinter& printer, int resolution)>;
    static void setSurfaceFactory(SurfaceFactory factory);

protected:
    PrintOptionsDialog(const QString& name, const QString& choiceCaption, QWidget* parent);

    // The printer resolution the layout was drawn for.
    virtual int layoutResolution() const = 0;
    // Prints the page of `option` (anything but 0 and 1 prints nothing).
    virtual void printChoice(ldc::DrawingSurface& surface, const ldc::StudyDocument& study,
                             int option) = 0;

private:
    std::unique_ptr<QPrinter> m_printer;
};
