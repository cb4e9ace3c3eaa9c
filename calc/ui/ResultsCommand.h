#pragma once

#include <QObject>

#include "calc/Ucalculo.h"

class TMainForm;

// The frame's detection and quantification command: calculates the open study into the
// frame's record and shows the results in a new results window.
class ResultsCommand : public QObject {
    Q_OBJECT
public:
    ResultsCommand(TMainForm& frame, ldc::CalibrationResults& record);

    void mnudunetClick();

private:
    TMainForm& m_frame;
    ldc::CalibrationResults& m_record;
};
