#include "report/ui/Uoprt.h"

#include <QPushButton>
#include <QStringList>

#include "report/ui/PrintDialogs.h"
#include "report/ui/RadioGroup.h"
#include "report/ui/Uopprt.h"
#include "report/ui/Uopprt1.h"

QPointer<TFOPRT> FOPRT;

TFOPRT::TFOPRT(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FOPRT"));
    setWindowTitle(QStringLiteral("Opciones de impresión"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setFixedSize(316, 272);
    setAttribute(Qt::WA_QuitOnClose, false);

    SELECPRT = new RadioGroup(
        QStringLiteral("SELECPRT"), QStringLiteral("Tipo de Impresora :"),
        {QStringLiteral("Impresora DeskJet"), QStringLiteral("Impresora Laser Jet")}, this);
    SELECPRT->setGeometry(8, 16, 273, 97);
    SELECPRT->setItemIndex(0);

    SELECMAR = new RadioGroup(
        QStringLiteral("SELECMAR"), QStringLiteral("Selecciona margen:"),
        {QStringLiteral("1 cm"), QStringLiteral("1.5 cm"), QStringLiteral("2.0 cm")}, this);
    SELECMAR->setGeometry(8, 128, 169, 105);
    SELECMAR->setItemIndex(kInitialMargin);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(192, 168, 97, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TFOPRT::BitBtn1Click);
}

void TFOPRT::BitBtn1Click() {
    // The margin is not read here: the DeskJet layout reads it at its next document.
    if (SELECPRT->itemIndex() == 0)
        showModeless(Fopprt);
    else if (SELECPRT->itemIndex() == 1)
        showModeless(Fopprt1);
    accept();
}
