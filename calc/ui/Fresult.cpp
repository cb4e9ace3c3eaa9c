#include "calc/ui/Fresult.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/Main.h"

QPointer<TFinfo> Finfo;

TFinfo::TFinfo(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Finfo"));
    setWindowTitle(QStringLiteral("Límite de detección y cuantificación del método"));
    resize(540, 291);

    memo = new QPlainTextEdit(this);
    memo->setObjectName(QStringLiteral("memo"));
    memo->setReadOnly(true);
    memo->setEnabled(false);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // No scroll bar and no way to scroll: the whole text must fit the window's first size,
    // the two long interval lines unbroken.
    QFont face = memo->font();
    face.setPointSize(8);
    memo->setFont(face);
    // Out of the analyst's reach, but meant to be read: the text keeps its normal colours.
    QPalette colours = memo->palette();
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::Base, QPalette::Window})
        colours.setColor(QPalette::Disabled, role, colours.color(QPalette::Active, role));
    memo->setPalette(colours);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memo);
}

void TFinfo::appendLine(const QString& line) {
    memo->appendPlainText(line);
    // The text reads from its first line, however many follow.
    memo->moveCursor(QTextCursor::Start);
}

void TFinfo::FormClose() {
    // The window goes with its text (the frame deletes its child windows when they close).
    if (MainForm)
        MainForm->childWindowClosing(this);
}

void TFinfo::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}
