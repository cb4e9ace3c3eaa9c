#pragma once

#include <QObject>

class TMainForm;

// The frame's validation command: takes the open study's values and shows their validation
// in a new window. A value that does not convert stops it before any window opens.
class ValidationCommand : public QObject {
    Q_OBJECT
public:
    explicit ValidationCommand(TMainForm& frame);

    void mnuvalidacionClick();

private:
    TMainForm& m_frame;
};
