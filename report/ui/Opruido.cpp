#include "report/ui/Opruido.h"

#include <QPushButton>
#include <QStringList>

#include "report/ui/RadioGroup.h"

QPointer<Toprui> oprui;

Toprui::Toprui(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("oprui"));
    setWindowTitle(QStringLiteral("Imprime cuantificacion por señal ruido "));
    setFixedSize(381, 197);
    setAttribute(Qt::WA_QuitOnClose, false);

    radioruido = new RadioGroup(QStringLiteral("radioruido"), QStringLiteral("Imprimir"),
                                {QStringLiteral("Señal ruido")}, this);
    radioruido->setGeometry(8, 8, 365, 89);

    btnacep = new QPushButton(QStringLiteral("Aceptar"), this);
    btnacep->setObjectName(QStringLiteral("btnacep"));
    btnacep->setGeometry(88, 112, 89, 33);
    btnacep->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Cancelar"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(200, 112, 97, 33);
    connect(BitBtn2, &QPushButton::clicked, this, &Toprui::BitBtn2Click);
}

void Toprui::BitBtn2Click() {
    hide();
}
