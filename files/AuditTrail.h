#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/StudyFile.h"

namespace ldc {

// The actions a study's audit trail records, as its entries name them.
namespace auditAction {
inline constexpr std::string_view open = "abrir";
inline constexpr std::string_view save = "guardar";
inline constexpr std::string_view print = "imprimir";
inline constexpr std::string_view exportPdf = "exportar_pdf";
inline constexpr std::string_view calculate = "calcular";
}  // namespace auditAction

// One field or cell whose text a save changed, named as the analyst knows it ("Método",
// "Nivel 2, cantidad adicionada", "Fila 5, dato").
struct AuditChange {
    std::string field;
    std::string before;
    std::string after;
    bool operator==(const AuditChange&) const = default;
};

// One entry of a study's audit trail: who did what to the study file, when, and the file's
// SHA-256 before and after; `previous` is the SHA-256 of the entry before it, which chains
// the entries so that none can be edited or removed unnoticed.
struct AuditEntry {
    std::string time;  // UTC, ISO 8601: 2026-12-06T16:05:03Z
    std::string user;
    std::string host;
    std::string program;
    std::string action;
    std::optional<std::string> detail;
    std::optional<std::string> shaBefore;
    std::optional<std::string> shaAfter;
    std::vector<AuditChange> changes;
    std::optional<std::string> previous;
};

// The trail kept beside the study file: "ARCHIVO.w9c.auditoria".
std::string auditTrailPath(const std::string& studyPath);

// An entry for `action` made now by this user on this machine; the hashes, the changes and
// the link to the previous entry are for the caller and appendAuditEntry to fill.
AuditEntry newAuditEntry(std::string_view action, std::string_view detail = {});

// The entry as its line in the trail (JSON, UTF-8, keys in a fixed order, no line end).
std::string auditEntryLine(const AuditEntry& entry);

// Appends `entry` to the study's trail, linked to the trail's last line, as one whole line
// written at once and flushed to the disk; earlier lines are never rewritten. A failure
// raises the file error with the context `failureContext` + ": " + what happened, or, when
// `failureContext` is empty, one that names the trail.
void appendAuditEntry(const std::string& studyPath, AuditEntry entry,
                      const std::string& failureContext = {});

// Every field and cell whose text differs between the study file as it was and as it is
// now; a study that had no file is compared with an empty one.
std::vector<AuditChange> studyFileChanges(const StudyFileData* before, const StudyFileData& after);

// The study file as it stood on disk before a save: what the save's entry compares with.
struct StudyFileSnapshot {
    std::optional<std::string> sha;        // none when there was no file
    std::optional<StudyFileData> content;  // none when there was none or it was not a study
};
StudyFileSnapshot snapshotStudyFile(const std::string& path);

// The entry of a save that turned the file `before` into `after`: the hashes before and
// after and every text the save changed.
AuditEntry saveAuditEntry(const StudyFileSnapshot& before, const StudyFileSnapshot& after,
                          std::string_view detail = {});

// An entry of the study's trail with the line it stands on (from 1).
struct AuditTrailLine {
    int line = 0;
    AuditEntry entry;
};

// What the check of a trail found. The trail is intact when every entry is a whole entry
// linked to the one before it, the study file was never changed between two entries, and
// the study file is now as the last entry left it.
struct AuditVerdict {
    int entries = 0;
    std::optional<int> brokenLine;  // the first entry that is not whole or not linked
    std::string brokenReason;
    std::optional<int> changedOutsideBefore;  // the first entry finding another study file
    bool studyChangedSinceLast = false;
    bool studyUnreadable = false;

    bool intact() const {
        return !brokenLine && !changedOutsideBefore && !studyChangedSinceLast && !studyUnreadable;
    }
    // The verdict in Spanish, one line per finding, the first saying whether all is well.
    std::vector<std::string> lines(const std::string& studyPath) const;
};

struct AuditTrail {
    std::vector<AuditTrailLine> entries;  // the lines that read as entries
    AuditVerdict verdict;
};

// Reads and checks the trail of the study at `studyPath`. A trail that is missing or cannot
// be read raises the file error; anything wrong inside it is the verdict's to say.
AuditTrail readAuditTrail(const std::string& studyPath);

}  // namespace ldc
