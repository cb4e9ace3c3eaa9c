#include "report/PageIdentity.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>

#include "files/FileBytes.h"
#include "files/Sha256.h"
#include "files/StudyFile.h"
#include "report/PrintGeometry.h"
#include "study/LdcError.h"

namespace ldc {
namespace {

// A study the file format cannot hold (a character outside Windows-1252, tables beyond
// the file's limits) cannot be what any saved file holds: it differs from its file.
std::optional<std::string> studyBytes(const StudyDocument& study) {
    try {
        return studyFileBytes(study);
    } catch (const Error&) {
        return std::nullopt;
    }
}

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

PageIdentity identifyStudy(const StudyDocument& study, const std::string& path,
                           std::string printedAt) {
    PageIdentity identity;
    identity.program = programNameAndVersion();
    identity.printedAt = std::move(printedAt);
    if (path.empty()) {
        identity.fileState = kUnsavedStudy;
        return identity;
    }
    identity.fileName = baseName(path);
    const std::optional<std::string> onDisk = readRegularFileIfAny(path);
    if (onDisk && onDisk == studyBytes(study)) {
        identity.fileSha256 = sha256Hex(*onDisk);
        identity.fileState = identity.fileSha256;
    } else {
        identity.fileState = kModifiedSinceSaved;
    }
    return identity;
}

std::string pageNumberText(int page, int pages) {
    return "Página " + std::to_string(page) + " de " + std::to_string(pages);
}

std::vector<std::string> identityLines(const PageIdentity& identity) {
    std::string file;
    if (identity.fileName.empty())
        file = identity.fileState;
    else if (identity.fileSha256.empty())
        file = "Estudio: " + identity.fileName + " · " + identity.fileState;
    else
        file = "Estudio: " + identity.fileName + " · SHA-256: " + identity.fileSha256;
    return {file, identity.program + " · Impreso: " + identity.printedAt};
}

}  // namespace ldc
