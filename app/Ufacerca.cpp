#include "app/Ufacerca.h"

#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "app/HelpRequest.h"
#include "app/ProgramPictures.h"
#include "app/WindowPlacement.h"
#include "app/help/HelpViewer.h"

QPointer<TAboutBox> AboutBox;

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Acerca de"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(365, 261);
    setProperty(kHelpContextProperty, kHelpAboutBox);
    // Closed boxes are not reused: each About shows a new one.
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(2);
    Panel1->setGeometry(8, 8, 349, 203);

    ProgramIcon = new CalibrationPicture(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(12, 12, 81, 73);

    ProductName = new QLabel(QStringLiteral("QORVAL v.w. 3.1"), Panel1);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont product = font();
    product.setPixelSize(19);
    product.setBold(true);
    ProductName->setFont(product);
    ProductName->setStyleSheet(QStringLiteral("color: blue;"));
    ProductName->setGeometry(108, 16, 230, 26);

    Label10 = new QLabel(QStringLiteral("Control de Calidad"), Panel1);
    Label10->setObjectName(QStringLiteral("Label10"));
    QFont plain = font();
    plain.setPixelSize(13);
    plain.setBold(true);
    Label10->setFont(plain);
    Label10->setGeometry(108, 48, 230, 20);

    plain.setBold(false);
    Version = new QLabel(QStringLiteral("Versión 3.1"), Panel1);
    Version->setObjectName(QStringLiteral("Version"));
    Version->setFont(plain);
    Version->setGeometry(108, 70, 230, 18);

    Comments = new QLabel(QStringLiteral("Límite de detección y límite de cuantificación de un "
                                         "método analítico a partir de su curva de calibración "
                                         "(mínimos cuadrados, t de Student al 95 %)."),
                          Panel1);
    Comments->setObjectName(QStringLiteral("Comments"));
    Comments->setFont(plain);
    Comments->setWordWrap(true);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Comments->setGeometry(12, 104, 325, 86);

    OKButton = new QPushButton(QStringLiteral("Aceptar"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry((365 - 129) / 2, 222, 129, 27);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

void TAboutBox::OKButtonClick() {
    close();
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        requestHelp(this, HELP_CONTEXT, kHelpAboutBox);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAboutBox::showEvent(QShowEvent* event) {
    // Centred on the screen, a step clear of a box already standing there, so that a
    // further About shows a further box instead of hiding behind the first.
    if (const QScreen* screen = this->screen()) {
        QList<QPoint> taken;
        for (const QWidget* other : QApplication::topLevelWidgets())
            if (other != this && other->isVisible() && qobject_cast<const TAboutBox*>(other))
                taken << other->pos();
        const QRect area = screen->availableGeometry();
        // Two title bars: enough to show the box behind, and to absorb the frame a window
        // manager puts around a box before it says where the box stands.
        const int step = 2 * style()->pixelMetric(QStyle::PM_TitleBarHeight);
        move(clearOf(taken, area.center() - rect().center(), frameGeometry().size(), step, area));
    }
    QDialog::showEvent(event);
}
