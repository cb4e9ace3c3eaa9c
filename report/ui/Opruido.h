#pragma once

#include <QDialog>
#include <QPointer>

class QPushButton;
class RadioGroup;

// The signal-to-noise print dialog. No signal-to-noise report exists: "Aceptar" does
// nothing and "Cancelar" hides the window. Reached only by the frame's fileprt1.
class Toprui : public QDialog {
    Q_OBJECT
public:
    explicit Toprui(QWidget* parent = nullptr);

    RadioGroup* radioruido;
    QPushButton* btnacep;  // "Aceptar"
    QPushButton* BitBtn2;  // "Cancelar"

    void BitBtn2Click();
};

extern QPointer<Toprui> oprui;
