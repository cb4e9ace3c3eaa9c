#include "files/AuditTrail.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "files/FileBytes.h"
#include "files/FileErrors.h"
#include "files/JsonLine.h"
#include "files/Sha256.h"
#include "study/LdcError.h"
#include "study/Workstation.h"

namespace ldc {

namespace {

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return visibleText(slash == std::string::npos ? path : path.substr(slash + 1));
}

void optionalText(JsonLine& j, const std::optional<std::string>& text) {
    if (text)
        j.value(std::string_view(*text));
    else
        j.null();
}

// The last line of the trail (without its line end), read backwards from the end so that a
// trail of many years costs no more than a new one. `complete` tells whether the file ends
// with a line end; a line cut short by a crash does not.
std::optional<std::string> lastLine(int fd, off_t size, bool& complete, const std::string& what) {
    complete = true;
    if (size == 0)
        return std::nullopt;
    std::string tail;
    off_t start = size;
    for (;;) {
        const off_t chunk = start < 4096 ? start : 4096;
        start -= chunk;
        std::string piece(static_cast<std::size_t>(chunk), '\0');
        const ssize_t got = ::pread(fd, piece.data(), piece.size(), start);
        if (got != static_cast<ssize_t>(chunk))
            throwIoError(got < 0 ? errno : EIO, what);
        tail.insert(0, piece);
        const std::size_t from = tail.size() > 1 ? tail.size() - 2 : 0;
        const std::size_t end = tail.find_last_of('\n', from);
        if (tail.size() > 1 && end != std::string::npos) {
            tail.erase(0, end + 1);
            break;
        }
        if (start == 0)
            break;
    }
    complete = tail.back() == '\n';
    if (complete)
        tail.pop_back();
    return tail;
}

const char* const kFieldNames[] = {"Método",
                                   "Analista",
                                   "Fecha",
                                   "Unidades de la cantidad adicionada",
                                   "Unidades de la cantidad recuperada",
                                   "Curva de calibración",
                                   "Número de niveles"};

template <class Rows, class Name>
void compareRows(const Rows* before, const Rows& after, const char* const (&columns)[2],
                 Name&& rowName, std::vector<AuditChange>& changes) {
    const std::size_t count = std::max(before ? before->size() : 0, after.size());
    for (std::size_t r = 0; r < count; ++r)
        for (std::size_t c = 0; c < 2; ++c) {
            const std::string old = before && r < before->size() ? (*before)[r][c] : std::string();
            const std::string now = r < after.size() ? after[r][c] : std::string();
            if (old != now)
                changes.push_back({rowName(r + 1) + ", " + columns[c], old, now});
        }
}

}  // namespace

std::string auditTrailPath(const std::string& studyPath) {
    return studyPath + ".auditoria";
}

AuditEntry newAuditEntry(std::string_view action, std::string_view detail) {
    AuditEntry entry;
    entry.time = isoUtcTimeNow();
    entry.user = workstationUser();
    entry.host = workstationHost();
    entry.program = programNameAndVersion();
    entry.action = action;
    if (!detail.empty())
        entry.detail = std::string(detail);
    return entry;
}

std::string auditEntryLine(const AuditEntry& entry) {
    JsonLine j;
    j.beginObject();
    j.key("fecha").value(std::string_view(entry.time));
    j.key("usuario").value(std::string_view(entry.user));
    j.key("equipo").value(std::string_view(entry.host));
    j.key("programa").value(std::string_view(entry.program));
    j.key("accion").value(std::string_view(entry.action));
    j.key("detalle");
    optionalText(j, entry.detail);
    j.key("sha256_antes");
    optionalText(j, entry.shaBefore);
    j.key("sha256_despues");
    optionalText(j, entry.shaAfter);
    j.key("cambios").beginArray();
    for (const AuditChange& change : entry.changes) {
        j.beginObject();
        j.key("campo").value(std::string_view(change.field));
        j.key("antes").value(std::string_view(change.before));
        j.key("despues").value(std::string_view(change.after));
        j.endObject();
    }
    j.endArray();
    j.key("anterior");
    optionalText(j, entry.previous);
    j.endObject();
    return j.text();
}

void appendAuditEntry(const std::string& studyPath, AuditEntry entry,
                      const std::string& failureContext) {
    const std::string path = auditTrailPath(studyPath);
    const std::string what =
        failureContext.empty()
            ? "No se pudo escribir el registro de auditoría «" + baseName(path) + "»"
            : failureContext;
    // 0666 lets the umask decide, as for the study file itself.
    FileCloser trail(::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (trail.fd() < 0)
        throwPathError(path, errno, what);
    // Two programs recording on the same study at once must not interleave their lines nor
    // link both to the same predecessor.
    while (::flock(trail.fd(), LOCK_EX) != 0)
        if (errno != EINTR)
            throwIoError(errno, what);
    struct stat info;
    if (::fstat(trail.fd(), &info) != 0)
        throwIoError(errno, what);
    if (!S_ISREG(info.st_mode))
        throwIoError(EISDIR, what);
    bool complete = true;
    const std::optional<std::string> previous = lastLine(trail.fd(), info.st_size, complete, what);
    entry.previous = previous ? std::optional<std::string>(sha256Hex(*previous)) : std::nullopt;
    // A line cut short stays as it is (the check reports it); the new entry starts a line.
    std::string bytes = complete ? std::string() : std::string("\n");
    bytes += auditEntryLine(entry);
    bytes += '\n';
    writeAllBytes(trail.fd(), bytes, what);
    if (::fsync(trail.fd()) != 0)
        throwIoError(errno, what);
    if (trail.close() != 0)
        throwIoError(errno, what);
}

std::vector<AuditChange> studyFileChanges(const StudyFileData* before, const StudyFileData& after) {
    std::vector<AuditChange> changes;
    for (std::size_t i = 0; i < after.fields.size(); ++i) {
        const std::string old = before ? before->fields[i] : std::string();
        if (old != after.fields[i])
            changes.push_back({kFieldNames[i], old, after.fields[i]});
    }
    const auto level = [](std::size_t i) { return "Nivel " + std::to_string(i); };
    const auto row = [](std::size_t r) { return "Fila " + std::to_string(r); };
    compareRows(before ? &before->levels : nullptr, after.levels,
                {"cantidad adicionada", "replicaciones"}, level, changes);
    compareRows(before ? &before->rows : nullptr, after.rows, {"dato", "segundo valor"}, row,
                changes);
    const std::size_t blanks = std::max(before ? before->blanks.size() : 0, after.blanks.size());
    for (std::size_t i = 0; i < blanks; ++i) {
        const std::string old = before && i < before->blanks.size() ? before->blanks[i] : "";
        const std::string now = i < after.blanks.size() ? after.blanks[i] : "";
        if (old != now)
            changes.push_back({"Blanco " + std::to_string(i + 1), old, now});
    }
    return changes;
}

StudyFileSnapshot snapshotStudyFile(const std::string& path) {
    StudyFileSnapshot snapshot;
    const std::optional<std::string> bytes = readRegularFileIfAny(path);
    if (!bytes)
        return snapshot;
    snapshot.sha = sha256Hex(*bytes);
    // A file that is not a study this program reads is compared as if it were empty: the
    // save's entry then lists every text the study holds. The save itself goes on.
    try {
        snapshot.content = parseStudyFile(*bytes);
    } catch (const Error&) {
    }
    return snapshot;
}

AuditEntry saveAuditEntry(const StudyFileSnapshot& before, const StudyFileSnapshot& after,
                          std::string_view detail) {
    AuditEntry entry = newAuditEntry(auditAction::save, detail);
    entry.shaBefore = before.sha;
    entry.shaAfter = after.sha;
    static const StudyFileData empty;
    entry.changes = studyFileChanges(before.content ? &*before.content : nullptr,
                                     after.content ? *after.content : empty);
    return entry;
}

}  // namespace ldc
