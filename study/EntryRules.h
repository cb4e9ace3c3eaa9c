#pragma once

#include <optional>
#include <string>

#include "study/StudyDocument.h"

namespace ldc {

// The checks that lead the analyst through the study window. Each runs when the focus
// enters or leaves a control and answers what the window must do next; the window only
// applies the verdict (notice, page, focus). A check reads the current texts and keeps
// no state of its own.

// Where the focus goes after a check.
enum class FocusTarget {
    UserChoice,  // wherever the user was moving it
    limitBasis,
    levelCount,
    acceptLevels,  // "Aceptar niveles"
    levelTable,
    acceptReplicates,  // "Aceptar replicas por nivel"
    resultsTable,
    blankTable,
};

struct EntryVerdict {
    std::optional<std::string> notice;  // shown first, when present
    std::optional<int> page;            // notebook page to show
    FocusTarget focus = FocusTarget::UserChoice;

    bool passed() const { return !notice.has_value(); }
};

// Leaving the basis of the limits: only "Regresión" or "Ordenada al Origen" may stay.
EntryVerdict checkBasisOnExit(const std::string& basis);

// Leaving the level count: present, whole, 2..10; then on to "Aceptar niveles".
EntryVerdict checkLevelCountOnExit(const std::string& levelCountText);

// "Aceptar niveles": gives the level table one column per level of a valid count, headed
// "Nivel i"; the columns that remain keep their values. A count that is not valid changes
// nothing (leaving the count field has already said why). True when the table was sized.
bool sizeLevelTable(StudyDocument& study);

// Entering the level table: it must have one column per level.
EntryVerdict checkLevelTableOnEnter(const StudyDocument& study);

// Leaving the level table: every level value and replicate count present and numeric,
// no replicate count below zero; then on to "Aceptar replicas por nivel".
EntryVerdict checkLevelTableOnExit(const StudyDocument& study);

// Entering the results table: checks the levels, then gives the results table one row per
// replicate with its labels (the study is changed here), then checks the totals.
EntryVerdict buildResultsTableOnEnter(StudyDocument& study);

// Leaving the results table: every recovered amount present and numeric.
EntryVerdict checkResultsTableOnExit(const StudyDocument& study);

// Leaving the blank readings: every reading up to the last one typed present and numeric.
EntryVerdict checkBlankReadingsOnExit(const StudyDocument& study);

// Notices, word for word as the analyst reads them.
namespace notices {
inline constexpr const char* kMissingBasis = "Falta hacer su selección";
inline constexpr const char* kMissingLevelCount = "Falta capturar el número de niveles.";
inline constexpr const char* kNotNumeric = "El valor de captura no es un valor numérico.";
inline constexpr const char* kLevelCountRange = "Datos fuera de rango, 2-10 número de niveles";
inline constexpr const char* kLevelCellsMismatch =
    "El número de celdas de captura para los niveles, no coincide con el número de niveles "
    "especificado.";
inline constexpr const char* kMissingLevelData = "Falta capturar algún dato ";
inline constexpr const char* kLevelDataNotNumeric = "Algún dato capturado no es un valor numérico.";
inline constexpr const char* kNegativeReplicates =
    "El número de replicas por nivel no puede ser negativo.";
inline constexpr const char* kReplicateCellsMismatch =
    "El número de celdas de captura, no coincide con el número de replicas por nivel.";
std::string missingLevelValue(int level);       // "Falta capturar el valor del nivel 2"
std::string missingLevelReplicates(int level);  // "Falta capturar la replica del nivel 2"
std::string tooManyReplicates(long long total);
std::string missingDatum(int row);         // "Falta capturar el 5 º dato."
std::string datumNotNumeric(int row);      // "El dato3 no es un valor numérico."
std::string missingBlank(int reading);     // "Falta capturar la lectura 2 de blancos."
std::string blankNotNumeric(int reading);  // "La lectura 2 de blancos no es un valor numérico."
}  // namespace notices

}  // namespace ldc
