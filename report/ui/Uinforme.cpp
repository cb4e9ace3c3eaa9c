#include "report/ui/Uinforme.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/Main.h"

Tfrminforme::Tfrminforme(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frminforme"));
    setWindowTitle(QStringLiteral("Informe"));
    resize(435, 300);

    mminforme = new QPlainTextEdit(this);
    mminforme->setObjectName(QStringLiteral("mminforme"));
    mminforme->setReadOnly(true);
    mminforme->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mminforme->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mminforme->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // The level and data columns are lined up with blanks: they only line up in a
    // fixed-pitch face.
    QFont face = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    face.setPixelSize(13);
    mminforme->setFont(face);
    // Read-only text still takes the focus, so that keys reach it and close the window.
    mminforme->setFocusPolicy(Qt::StrongFocus);
    mminforme->installEventFilter(this);
    mminforme->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mminforme);

    lidentidad = new QLabel(this);
    lidentidad->setObjectName(QStringLiteral("lidentidad"));
    // The SHA-256 is there to be compared with the file's: it can be selected and copied.
    lidentidad->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lidentidad->setIndent(4);
    // The window keeps its size: a line wider than it is cut at its edge (and shown whole
    // in the tooltip), never widening the window.
    lidentidad->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(lidentidad);
    setFocusProxy(mminforme);
}

void Tfrminforme::appendLine(const QString& line) {
    mminforme->appendPlainText(line);
}

void Tfrminforme::setIdentity(const QStringList& lines) {
    lidentidad->setText(lines.join(QLatin1Char('\n')));
    lidentidad->setToolTip(lidentidad->text());
}

void Tfrminforme::mminformeKeyDown() {
    closeReport();
}

void Tfrminforme::mminformeMouseDown() {
    closeReport();
}

void Tfrminforme::closeReport() {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void Tfrminforme::FormClose() {
    // The window goes with its text (the frame deletes its child windows when they close).
    if (MainForm)
        MainForm->childWindowClosing(this);
}

bool Tfrminforme::eventFilter(QObject* watched, QEvent* event) {
    // Scroll bars and the wheel scroll; the text itself only ever closes the report.
    if (watched == mminforme && event->type() == QEvent::KeyPress) {
        mminformeKeyDown();
        return true;
    }
    if (watched == mminforme->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                             event->type() == QEvent::MouseButtonDblClick)) {
        mminformeMouseDown();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Tfrminforme::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}
