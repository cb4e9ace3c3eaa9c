#include <nlohmann/json.hpp>

#include "files/AuditTrail.h"
#include "files/FileBytes.h"
#include "files/FileErrors.h"
#include "files/Sha256.h"
#include "study/LdcError.h"

namespace ldc {

namespace {

using Json = nlohmann::ordered_json;

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return visibleText(slash == std::string::npos ? path : path.substr(slash + 1));
}

std::string readTrail(const std::string& path) {
    return readRegularFile(path,
                           "No se pudo leer el registro de auditoría «" + baseName(path) + "»");
}

bool isHash(const Json& value) {
    return value.is_string() && value.get_ref<const std::string&>().size() == 64 &&
           value.get_ref<const std::string&>().find_first_not_of("0123456789abcdef") ==
               std::string::npos;
}

std::optional<std::string> optionalText(const Json& value) {
    if (value.is_null())
        return std::nullopt;
    return value.get<std::string>();
}

// The entry a line holds when it holds one exactly as the program writes them: every key,
// in its order, with a value of its kind. Anything else was not written by the program.
std::optional<AuditEntry> entryOf(const std::string& line) {
    const Json json = Json::parse(line, nullptr, false);
    if (!json.is_object())
        return std::nullopt;
    static const char* const kKeys[] = {"fecha",   "usuario", "equipo",       "programa",
                                        "accion",  "detalle", "sha256_antes", "sha256_despues",
                                        "cambios", "anterior"};
    if (json.size() != std::size(kKeys))
        return std::nullopt;
    auto item = json.items().begin();
    for (const char* key : kKeys) {
        if (item.key() != key)
            return std::nullopt;
        ++item;
    }
    for (const char* key : {"fecha", "usuario", "equipo", "programa", "accion"})
        if (!json[key].is_string())
            return std::nullopt;
    if (!json["detalle"].is_string() && !json["detalle"].is_null())
        return std::nullopt;
    for (const char* key : {"sha256_antes", "sha256_despues", "anterior"})
        if (!json[key].is_null() && !isHash(json[key]))
            return std::nullopt;
    if (!json["cambios"].is_array())
        return std::nullopt;

    AuditEntry entry;
    entry.time = json["fecha"];
    entry.user = json["usuario"];
    entry.host = json["equipo"];
    entry.program = json["programa"];
    entry.action = json["accion"];
    entry.detail = optionalText(json["detalle"]);
    entry.shaBefore = optionalText(json["sha256_antes"]);
    entry.shaAfter = optionalText(json["sha256_despues"]);
    entry.previous = optionalText(json["anterior"]);
    for (const Json& change : json["cambios"]) {
        if (!change.is_object() || change.size() != 3)
            return std::nullopt;
        for (const char* key : {"campo", "antes", "despues"})
            if (!change.contains(key) || !change[key].is_string())
                return std::nullopt;
        entry.changes.push_back({change["campo"], change["antes"], change["despues"]});
    }
    return entry;
}

void markBroken(AuditVerdict& verdict, int line, std::string reason) {
    if (verdict.brokenLine)
        return;
    verdict.brokenLine = line;
    verdict.brokenReason = std::move(reason);
}

}  // namespace

AuditTrail readAuditTrail(const std::string& studyPath) {
    const std::string bytes = readTrail(auditTrailPath(studyPath));
    AuditTrail trail;
    AuditVerdict& verdict = trail.verdict;

    std::optional<std::string> previousLine;
    // The entry on the line before, when that line held one.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t previousEntry = kNone;
    int number = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        ++number;
        const std::size_t end = bytes.find('\n', start);
        const std::string line =
            bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? bytes.size() : end + 1;

        std::optional<AuditEntry> entry = end == std::string::npos ? std::nullopt : entryOf(line);
        if (!entry) {
            markBroken(verdict, number,
                       end == std::string::npos
                           ? "la última línea está incompleta"
                           : "no es una entrada del registro tal como el programa las escribe");
            previousEntry = kNone;
        } else {
            const std::optional<std::string> expected =
                previousLine ? std::optional<std::string>(sha256Hex(*previousLine)) : std::nullopt;
            if (entry->previous != expected)
                markBroken(verdict, number,
                           !previousLine ? "la primera entrada dice seguir a otra: faltan las "
                                           "entradas anteriores"
                                         : "no sigue a la línea " + std::to_string(number - 1) +
                                               ": esa entrada se modificó o falta una entrada "
                                               "entre ambas");
            if (previousEntry != kNone &&
                entry->shaBefore != trail.entries[previousEntry].entry.shaAfter &&
                !verdict.changedOutsideBefore)
                verdict.changedOutsideBefore = number;
            trail.entries.push_back({number, std::move(*entry)});
            previousEntry = trail.entries.size() - 1;
        }
        previousLine = line;
    }
    verdict.entries = static_cast<int>(trail.entries.size());
    if (number == 0)
        markBroken(verdict, 1, "el registro no tiene ninguna entrada");

    const std::optional<std::string> now = fileSha256Hex(studyPath);
    if (!now)
        verdict.studyUnreadable = true;
    else if (!trail.entries.empty() && trail.entries.back().entry.shaAfter != now)
        verdict.studyChangedSinceLast = true;
    return trail;
}

std::vector<std::string> AuditVerdict::lines(const std::string& studyPath) const {
    const std::string study = "«" + baseName(studyPath) + "»";
    const std::string count = std::to_string(entries) + (entries == 1 ? " entrada" : " entradas");
    if (intact())
        return {"Registro de auditoría íntegro (" + count +
                "): la cadena está completa y el estudio " + study +
                " está como lo dejó la última entrada."};
    std::vector<std::string> lines{"Registro de auditoría NO íntegro (" + count + "):"};
    if (brokenLine)
        lines.push_back("Línea " + std::to_string(*brokenLine) + ": " + brokenReason + ".");
    if (changedOutsideBefore)
        lines.push_back("Línea " + std::to_string(*changedOutsideBefore) + ": el estudio " + study +
                        " se modificó fuera del programa antes de esta entrada.");
    if (studyUnreadable)
        lines.push_back("El estudio " + study + " no existe o no se puede leer.");
    if (studyChangedSinceLast)
        lines.push_back("El estudio " + study +
                        " se modificó fuera del programa después de la última entrada.");
    return lines;
}

}  // namespace ldc
