#include "study/EntryRules.h"

#include <algorithm>

#include "study/LdcError.h"
#include "study/Numbers.h"
#include "study/StudyLayout.h"

namespace ldc {
namespace {

using G = StudyGrid;

constexpr int kGeneralPage = 0;
constexpr int kLevelPage = 1;
constexpr int kDataPage = 2;

// The data grid can never hold more rows than a study file can carry.
constexpr long long kMaxDataRows = 100000;

EntryVerdict verdict(std::optional<std::string> notice, std::optional<int> page,
                     FocusTarget focus) {
    return EntryVerdict{std::move(notice), page, focus};
}

bool isDecimal(const std::string& text) {
    try {
        parseDecimal(text);
        return true;
    } catch (const Error&) {
        return false;
    }
}

bool levelGridMatchesCount(const StudyDocument& study) {
    const int k = parseInteger(study.text(StudyField::enivel));
    return k == study.columnCount(G::stgnivel) - 1;
}

}  // namespace

namespace notices {
std::string missingLevelValue(int level) {
    return "Falta capturar el valor del nivel " + integerText(level);
}
std::string missingLevelReplicates(int level) {
    return "Falta capturar la replica del nivel " + integerText(level);
}
std::string tooManyReplicates(long long total) {
    return "El total de replicas (" + integerText(total) + ") excede el máximo de " +
           integerText(kMaxDataRows) + " datos.";
}
std::string missingDatum(int row) {
    return "Falta capturar el " + integerText(row) + " º dato.";
}
std::string datumNotNumeric(int row) {
    return "El dato" + integerText(row) + " no es un valor numérico.";
}
}  // namespace notices

EntryVerdict checkBasisOnExit(const std::string& basis) {
    if (basis == kBasisRegression || basis == kBasisIntercept)
        return verdict(std::nullopt, kGeneralPage, FocusTarget::UserChoice);
    if (basis.empty())
        return verdict(notices::kMissingBasis, kGeneralPage, FocusTarget::ComboBox1);
    // Any other text is sent back without a word: the analyst sees the two choices.
    return verdict(std::nullopt, kGeneralPage, FocusTarget::ComboBox1);
}

EntryVerdict checkLevelCountOnExit(const std::string& text) {
    if (text.empty())
        return verdict(notices::kMissingLevelCount, std::nullopt, FocusTarget::enivel);
    int k = 0;
    try {
        k = parseInteger(text);
    } catch (const Error&) {
        return verdict(notices::kNotNumeric, std::nullopt, FocusTarget::enivel);
    }
    if (k < 2 || k > 10)
        return verdict(notices::kLevelCountRange, std::nullopt, FocusTarget::enivel);
    return verdict(std::nullopt, std::nullopt, FocusTarget::bnivel);
}

bool sizeLevelGrid(StudyDocument& study) {
    const std::string text = study.text(StudyField::enivel);
    if (!checkLevelCountOnExit(text).passed())
        return false;
    const int k = parseInteger(text);
    study.setColumnCount(G::stgnivel, k + 1);
    for (int i = 1; i <= k; ++i)
        study.setCell(G::stgnivel, i, 0, levelHeader(i));
    return true;
}

EntryVerdict checkLevelGridOnEnter(const StudyDocument& study) {
    if (!levelGridMatchesCount(study))
        return verdict(notices::kLevelCellsMismatch, kLevelPage, FocusTarget::enivel);
    return verdict(std::nullopt, std::nullopt, FocusTarget::UserChoice);
}

EntryVerdict checkLevelGridOnExit(const StudyDocument& study) {
    const int columns = study.columnCount(G::stgnivel);
    for (int i = 1; i < columns; ++i) {
        for (int row = 1; row <= 2; ++row) {
            const std::string text = study.cell(G::stgnivel, i, row);
            if (text.empty())
                return verdict(notices::kMissingLevelData, kLevelPage, FocusTarget::stgnivel);
            if (!isDecimal(text))
                return verdict(notices::kLevelDataNotNumeric, kLevelPage, FocusTarget::stgnivel);
            // A negative count would pull the data rows of later levels out of place.
            if (row == 2 && parseDecimal(text) < 0)
                return verdict(notices::kNegativeReplicates, kLevelPage, FocusTarget::stgnivel);
        }
    }
    return verdict(std::nullopt, kLevelPage, FocusTarget::botonr);
}

EntryVerdict buildDataGridOnEnter(StudyDocument& study) {
    if (!levelGridMatchesCount(study))
        return verdict(notices::kLevelCellsMismatch, kLevelPage, FocusTarget::enivel);
    const int k = parseInteger(study.text(StudyField::enivel));
    for (int i = 1; i <= k; ++i) {
        if (study.cell(G::stgnivel, i, 1).empty())
            return verdict(notices::missingLevelValue(i), kLevelPage, FocusTarget::stgnivel);
        if (study.cell(G::stgnivel, i, 2).empty())
            return verdict(notices::missingLevelReplicates(i), kLevelPage, FocusTarget::stgnivel);
    }
    const long long total = sumReplicateCounts(study, k);
    if (total > kMaxDataRows)
        return verdict(notices::tooManyReplicates(total), kLevelPage, FocusTarget::stgnivel);
    study.setRowCount(G::stgdatos, static_cast<int>(std::max(total + 1, 1LL)));
    writeRowLabels(study, k);

    const long long gridTotal = sumReplicateCounts(study, study.columnCount(G::stgnivel) - 1);
    if (gridTotal != study.rowCount(G::stgdatos) - 1)
        return verdict(notices::kReplicateCellsMismatch, kLevelPage, FocusTarget::stgnivel);
    return verdict(std::nullopt, std::nullopt, FocusTarget::UserChoice);
}

EntryVerdict checkDataGridOnExit(const StudyDocument& study) {
    const int rows = study.rowCount(G::stgdatos);
    for (int r = 1; r < rows; ++r) {
        const std::string text = study.cell(G::stgdatos, 1, r);
        if (text.empty())
            return verdict(notices::missingDatum(r), kDataPage, FocusTarget::stgdatos);
        if (!isDecimal(text))
            return verdict(notices::datumNotNumeric(r), std::nullopt, FocusTarget::stgdatos);
    }
    // With every datum in place the analyst may go on to any page: sending the focus back
    // here would lock the study's other pages away for good.
    return verdict(std::nullopt, std::nullopt, FocusTarget::UserChoice);
}

}  // namespace ldc
