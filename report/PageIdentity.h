#pragma once

#include <string>
#include <vector>
#include "study/Workstation.h"

#include "study/StudyDocument.h"

namespace ldc {

// What the study's file is to a record: the SHA-256 of the file as it is on disk when the
// study in the window is exactly what that file holds, else one of these two texts.
inline constexpr const char* kUnsavedStudy = "Estudio sin guardar";
inline constexpr const char* kModifiedSinceSaved = "Modificado desde que se guardó";

// What ties a printed page to the data it came from, so that a sheet separated from the
// others can still be traced: the study file and its exact content, the program that
// printed it and when.
struct PageIdentity {
    std::string fileName;    // the study file's name, empty for a study never saved
    std::string fileSha256;  // 64 hex digits, empty when unsaved or modified since saved
    std::string fileState;   // the SHA-256, kUnsavedStudy or kModifiedSinceSaved
    std::string program;     // the program's name and version
    std::string printedAt;   // ISO 8601 local time with its offset from UTC
};

// The identity of `study`, held in the file at `path` (empty for a study never saved),
// printed at `printedAt`. The file is read as it is on disk now: a study whose file
// bytes differ from it (edited since, or the file changed or gone) is "modified".
PageIdentity identifyStudy(const StudyDocument& study, const std::string& path,
                           std::string printedAt);

std::string pageNumberText(int page, int pages);

// The identity as printed: the study file's line, then the program's and the time's.
// The report window shows the same lines; a page adds its number (pageNumberText).
std::vector<std::string> identityLines(const PageIdentity& identity);

}  // namespace ldc
