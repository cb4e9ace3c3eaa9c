#include "app/StudyArguments.h"

#include <QFileInfo>
#include <QStringList>

#include <cstdio>

#include "app/Main.h"

void openStudiesNamed(TMainForm& frame, const QStringList& names) {
    if (names.isEmpty())
        return;
    for (const QString& other : names.mid(1))
        std::fprintf(stderr, "ldc: se abre un solo estudio a la vez; no se abre %s\n",
                     qPrintable(other));
    QMetaObject::invokeMethod(
        &frame,
        [&frame, path = QFileInfo(names.first()).absoluteFilePath()] { frame.openStudyFile(path); },
        Qt::QueuedConnection);
}
