#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

#include <cstring>

#include "app/Dialogs.h"
#include "app/LdcApplication.h"
#include "app/Main.h"
#include "app/ProgramPictures.h"
#include "app/StudyArguments.h"
#include "app/Ufshow.h"
#include "app/help/HelpViewer.h"
#include "report/ui/PrintDialogs.h"
#include "study/Numbers.h"

int main(int argc, char** argv) {
    // The record is written without a window: it needs no display, as on a laboratory
    // system's server.
    if (argc > 1 && std::strcmp(argv[1], "--pdf") == 0 &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    LdcApplication app(argc, argv);
    // The title goes in the application name, not the display name, which Qt would append
    // to every window title after the frame's own caption.
    QApplication::setApplicationName(applicationTitle());
    LdcApplication::setHelpFile(bundledHelpFile());
    QApplication::setWindowIcon(programIcon());
    ldc::setDecimalSeparator(decimalSeparatorOf(QLocale::system()));
    if (const std::optional<int> written = writeRecordRequested(QApplication::arguments().mid(1)))
        return *written;
    // The program speaks Spanish whatever the system's language, Qt's own dialogs too.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    // The frame is the main window: closing it ends the program, whatever other windows
    // (splash, about boxes, help) are still up.
    QApplication::setQuitOnLastWindowClosed(false);
    MainForm = new TMainForm;
    MainForm->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(MainForm, &QObject::destroyed, &app, &QCoreApplication::quit);

    Fshow = new TFshow(MainForm);
    Fshow->show();
    createPrintDialogs();

    // Where no window manager maximises windows, the frame still covers the screen.
    if (const QScreen* screen = MainForm->screen())
        MainForm->setGeometry(screen->availableGeometry());
    MainForm->showMaximized();
    openStudiesNamed(*MainForm, QApplication::arguments().mid(1));
    const int exitCode = app.exec();
    destroyPrintDialogs();
    return exitCode;
}
