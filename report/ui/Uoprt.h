#pragma once

#include <QDialog>
#include <QPointer>

class QPushButton;
class RadioGroup;

// The printer options: which print options to open (DeskJet or laser) and the left margin
// of the DeskJet layout. Shown modally by the frame's mnuoprtClick; created once at
// start-up and kept above the other windows, its choices persist for the run.
class TFOPRT : public QDialog {
    Q_OBJECT
public:
    explicit TFOPRT(QWidget* parent = nullptr);

    static constexpr int kInitialMargin = 1;  // "1.5 cm"

    RadioGroup* SELECPRT;  // 0 "Impresora DeskJet", 1 "Impresora Laser Jet"
    RadioGroup* SELECMAR;  // 0 "1 cm", 1 "1.5 cm", 2 "2.0 cm"
    QPushButton* BitBtn1;  // OK

    void BitBtn1Click();
};

extern QPointer<TFOPRT> FOPRT;
