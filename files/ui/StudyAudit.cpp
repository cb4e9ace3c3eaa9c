#include "files/ui/StudyAudit.h"

#include <QFile>
#include <QFileInfo>

#include "app/Main.h"
#include "files/Sha256.h"
#include "study/ui/Fdatos.h"

namespace {

const QString kNewCaption = QStringLiteral("Nuevo");

std::string filePath(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

std::string quotedName(const QString& path) {
    return "«" + QFileInfo(path).fileName().toStdString() + "»";
}

// What was done, for the context of a failure to record it: the analyst must know that
// the action itself took place.
std::string actionDone(std::string_view action, const QString& studyPath) {
    const std::string study = quotedName(studyPath);
    if (action == ldc::auditAction::open)
        return "El estudio " + study + " se abrió";
    if (action == ldc::auditAction::print)
        return "El estudio " + study + " se imprimió";
    if (action == ldc::auditAction::calculate)
        return "El estudio " + study + " se calculó";
    if (action == ldc::auditAction::exportPdf)
        return "El registro PDF del estudio " + study + " se exportó";
    return "Se completó «" + std::string(action) + "» con el estudio " + study;
}

std::string notRecorded(const QString& studyPath) {
    return ", pero no se pudo escribir su registro de auditoría " +
           quotedName(QString::fromStdString(ldc::auditTrailPath(studyPath.toStdString())));
}

}  // namespace

QString openStudyPath() {
    if (!Finforma || Finforma->windowTitle() == kNewCaption)
        return {};
    return Finforma->windowTitle();
}

void recordStudyAction(const QString& studyPath, std::string_view action, const QString& detail) {
    if (studyPath.isEmpty() || studyPath == kNewCaption)
        return;
    QString described = detail;
    if (studyPath == openStudyPath() && MainForm && MainForm->isModified())
        described += (described.isEmpty() ? QString() : QStringLiteral("; ")) +
                     QStringLiteral("con cambios sin guardar");
    const std::string path = filePath(studyPath);
    ldc::AuditEntry entry = ldc::newAuditEntry(action, described.toStdString());
    entry.shaBefore = ldc::fileSha256Hex(path);
    entry.shaAfter = entry.shaBefore;
    ldc::appendAuditEntry(path, std::move(entry),
                          actionDone(action, studyPath) + notRecorded(studyPath));
}

void recordStudySave(const QString& studyPath, const ldc::StudyFileSnapshot& before,
                     const QString& detail) {
    const std::string path = filePath(studyPath);
    ldc::appendAuditEntry(
        path, ldc::saveAuditEntry(before, ldc::snapshotStudyFile(path), detail.toStdString()),
        "El estudio se guardó en " + quotedName(studyPath) + notRecorded(studyPath));
}
