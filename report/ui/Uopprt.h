#pragma once

#include <QPointer>

#include "report/ui/PrintOptionsDialog.h"

// The DeskJet print options: general page or results page, printed with the DeskJet
// layout at the left margin chosen in the printer options (FOPRT). Shown by the frame's
// hidden "Deskjet" command and by the printer options; created once at start-up.
class TFopprt : public PrintOptionsDialog {
    Q_OBJECT
public:
    explicit TFopprt(QWidget* parent = nullptr);

protected:
    int layoutResolution() const override;
    void printChoice(ldc::DrawingSurface& surface, const ldc::StudyDocument& study,
                     int option) override;
};

extern QPointer<TFopprt> Fopprt;
