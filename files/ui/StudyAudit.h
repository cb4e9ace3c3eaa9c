#pragma once

#include <QString>

#include <string_view>

#include "files/AuditTrail.h"

// The program's side of the audit trail. Every command that does something with a study
// that has a file records it here once the action is done; a failure to record raises the
// file error, which the error box shows after the action, with a context saying that the
// action itself was done.

// The file of the open study, or an empty text while there is none or it was never saved.
QString openStudyPath();

// Records `action` (ldc::auditAction) on the study file at `studyPath`, with the file's
// SHA-256 as it is now. A study without a file (an empty path) has no trail: nothing is
// recorded. When the open study has unsaved edits the detail says so, since what was
// printed or calculated is then not what the file holds.
void recordStudyAction(const QString& studyPath, std::string_view action,
                       const QString& detail = {});

// Records a save of the study to `studyPath`, which replaced the file `before`: the hashes
// and every text that changed. A failure says that the study was saved but its entry was
// not written; the next save of the file then records the changes of both.
void recordStudySave(const QString& studyPath, const ldc::StudyFileSnapshot& before,
                     const QString& detail = {});
