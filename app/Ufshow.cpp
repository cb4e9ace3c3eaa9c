#include "app/Ufshow.h"

#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include "app/ProgramPictures.h"

QPointer<TFshow> Fshow;

namespace {

constexpr int kWidth = 503;
constexpr int kHeight = 430;

}  // namespace

TFshow::TFshow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Fshow"));
    setFixedSize(kWidth, kHeight);
    // The splash never keeps the program alive on its own.
    setAttribute(Qt::WA_QuitOnClose, false);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(3);
    Panel1->setGeometry(0, 0, kWidth, kHeight);
    Panel1->setAutoFillBackground(true);

    Label1 = new QLabel(QStringLiteral("QORVAL v.w. 3.1"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont script(QStringLiteral("URW Chancery L"));
    script.setFamilies({QStringLiteral("URW Chancery L"), QStringLiteral("Z003"),
                        QStringLiteral("Brush Script MT"), QStringLiteral("DejaVu Serif")});
    script.setStyleHint(QFont::Cursive);
    script.setPixelSize(27);
    script.setBold(true);
    script.setItalic(true);
    Label1->setFont(script);
    Label1->setStyleSheet(QStringLiteral("color: navy;"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(8, 12, kWidth - 16, 38);

    Panel2 = new QFrame(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setLineWidth(2);
    Panel2->setGeometry((kWidth - 377) / 2, 56, 377, 289);
    Image1 = new CalibrationPicture(Panel2);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(Panel2->contentsRect());

    QFont lines = font();
    lines.setPixelSize(14);
    lines.setBold(true);
    Label2 = new QLabel(
        QStringLiteral("Límites de detección y cuantificación por curva de calibración"), Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(lines);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setGeometry(8, 356, kWidth - 16, 24);

    lines.setPixelSize(12);
    lines.setBold(false);
    lines.setUnderline(true);
    Label3 = new QLabel(QStringLiteral("Haga clic aquí para continuar"), Panel1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(lines);
    Label3->setStyleSheet(QStringLiteral("color: #1a4fa0;"));
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->setGeometry(8, 390, kWidth - 16, 22);
    Label3->installEventFilter(this);

    // Started by the frame each time it becomes active.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3000);
    connect(Timer1, &QTimer::timeout, this, &TFshow::Timer1Timer);
}

void TFshow::Timer1Timer() {
    Timer1->stop();
    hide();
}

bool TFshow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label3 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Timer1Timer();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFshow::showEvent(QShowEvent* event) {
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QWidget::showEvent(event);
}
