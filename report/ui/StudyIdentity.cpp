#include "report/ui/StudyIdentity.h"

#include <QFile>

#include "study/ui/Fdatos.h"

namespace {

// The caption of a study window whose study has no file yet, as the file commands give it.
const QString kNewCaption = QStringLiteral("Nuevo");

}  // namespace

ldc::PageIdentity studyIdentity(const ldc::StudyDocument& study, const QString& path) {
    return ldc::identifyStudy(
        study, path.isEmpty() ? std::string() : QFile::encodeName(path).toStdString(),
        ldc::isoLocalTimeNow());
}

ldc::PageIdentity openStudyIdentity() {
    const QString caption = Finforma->windowTitle();
    return studyIdentity(*Finforma, caption == kNewCaption ? QString() : caption);
}
