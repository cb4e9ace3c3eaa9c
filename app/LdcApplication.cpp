#include "app/LdcApplication.h"

#include <QLocale>

#include <exception>
#include <new>

#include "app/Dialogs.h"
#include "study/LdcError.h"

namespace {

QString g_helpFile;

void showErrorBox(const std::exception_ptr& failure) {
    try {
        dialogs().errorBox(QApplication::activeWindow(),
                           QString::fromStdString(ldc::errorBoxText(failure)));
    } catch (const std::bad_alloc&) {
        // Not even the box could be made. The event loop goes on, as after any error; the
        // study stays as it was for the analyst to save.
    }
}

}  // namespace

LdcApplication::LdcApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool LdcApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showErrorBox(std::current_exception());
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
