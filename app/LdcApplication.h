#pragma once

#include <QApplication>
#include <QString>

class QLocale;

// The application object of the program. Commands catch no errors: whatever a handler
// raises ends that handler, and the error box shows its text here (ldc::errorBoxText:
// running out of memory and unforeseen failures in Spanish too), after which the event
// loop goes on as if nothing had happened.
class LdcApplication : public QApplication {
    Q_OBJECT
public:
    LdcApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The help file of the program, an absolute path set once at start-up.
    static QString helpFile();
    static void setHelpFile(const QString& path);
};

// The decimal separator the study's numbers are read with: the first character of the
// locale's, when it is ASCII, otherwise '.'.
char decimalSeparatorOf(const QLocale& locale);
