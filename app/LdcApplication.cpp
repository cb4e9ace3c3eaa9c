#include "app/LdcApplication.h"

#include <QLocale>

#include <exception>

#include "app/Dialogs.h"
#include "study/LdcError.h"

namespace {

QString g_helpFile;

}  // namespace

LdcApplication::LdcApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool LdcApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        // ldc::Error carries the analyst's text; any other exception shows what it says.
        dialogs().errorBox(activeWindow(), QString::fromStdString(ldc::errorBoxText(e.what())));
    }
    return false;
}

QString LdcApplication::helpFile() {
    return g_helpFile;
}

void LdcApplication::setHelpFile(const QString& path) {
    g_helpFile = path;
}

char decimalSeparatorOf(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    if (point.isEmpty() || point.at(0).unicode() > 0x7f)
        return '.';
    return static_cast<char>(point.at(0).unicode());
}
