#include "app/StudyArguments.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

#include "app/Main.h"
#include "files/StudyFile.h"
#include "files/ui/StudyAudit.h"
#include "report/ui/RecordPdf.h"
#include "report/ui/StudyIdentity.h"
#include "study/CalibrationStudy.h"
#include "study/LdcError.h"

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

std::optional<int> writeRecordRequested(const QStringList& arguments) {
    if (arguments.value(0) != QLatin1String("--pdf"))
        return std::nullopt;
    if (arguments.size() != 3) {
        std::fprintf(stderr, "Uso: ldc --pdf SALIDA.pdf ARCHIVO.w9c\n");
        return 2;
    }
    const QString study = QFileInfo(arguments[2]).absoluteFilePath();
    try {
        ldc::CalibrationStudy content;
        ldc::openStudyFile(QFile::encodeName(study).toStdString(), content);
        writeRecordPdf(arguments[1], content, studyIdentity(content, study));
        recordStudyAction(study, ldc::auditAction::exportPdf, QFileInfo(arguments[1]).fileName());
        return 0;
    } catch (...) {
        std::fprintf(stderr, "ldc: %s\n", ldc::errorBoxText(std::current_exception()).c_str());
        return 1;
    }
}
