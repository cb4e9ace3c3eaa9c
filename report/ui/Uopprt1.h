#pragma once

#include <QPointer>

#include "report/ui/PrintOptionsDialog.h"

// The laser print options: general page or results page, printed with the laser layout.
// Shown by the frame's "Lasser" command; created once at start-up.
class TFopprt1 : public PrintOptionsDialog {
    Q_OBJECT
public:
    explicit TFopprt1(QWidget* parent = nullptr);

protected:
    int layoutResolution() const override;
    void printChoice(ldc::DrawingSurface& surface, const ldc::StudyDocument& study,
                     int option) override;
};

extern QPointer<TFopprt1> Fopprt1;
