#include "files/ui/StudyAudit.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

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

// A save whose entry could not be written, until its file's next entry. The next save of the
// same file, while the file is still as that save left it, records both saves' changes.
struct UnrecordedSave {
    std::string path;
    ldc::StudyFileSnapshot before;  // the file as last recorded
    std::optional<std::string> written;
};
std::optional<UnrecordedSave> g_unrecorded;

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
    if (g_unrecorded && g_unrecorded->path == path)
        g_unrecorded.reset();
}

void recordStudySave(const QString& studyPath, const ldc::StudyFileSnapshot& before,
                     const QString& detail) {
    const std::string path = filePath(studyPath);
    const ldc::StudyFileSnapshot after = ldc::snapshotStudyFile(path);
    std::string described = detail.toStdString();
    ldc::StudyFileSnapshot from = before;
    if (g_unrecorded && g_unrecorded->path == path && g_unrecorded->written == before.sha) {
        from = g_unrecorded->before;
        described += (described.empty() ? "" : "; ") +
                     std::string("incluye un guardado anterior que no se pudo registrar");
    }
    g_unrecorded = UnrecordedSave{path, from, after.sha};
    ldc::appendAuditEntry(
        path, ldc::saveAuditEntry(from, after, described),
        "El estudio se guardó en " + quotedName(studyPath) + notRecorded(studyPath));
    g_unrecorded.reset();
}
