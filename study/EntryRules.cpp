#include "study/EntryRules.h"

#include <algorithm>

#include "study/LdcError.h"
#include "study/Numbers.h"
#include "study/StudyLayout.h"

namespace ldc {
namespace {

constexpr int kGeneralPage = 0;
constexpr int kLevelPage = 1;
constexpr int kDataPage = 2;
constexpr int kBlankPage = 3;

// The results table can never hold more rows than a study file can carry.
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

bool levelTableMatchesCount(const StudyDocument& study) {
    const int k = parseInteger(study.text(StudyField::levelCount));
    return k == levelsInTable(study);
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
std::string missingBlank(int reading) {
    return "Falta capturar la lectura " + integerText(reading) + " de blancos.";
}
std::string blankNotNumeric(int reading) {
    return "La lectura " + integerText(reading) + " de blancos no es un valor numérico.";
}
}  // namespace notices

EntryVerdict checkBasisOnExit(const std::string& basis) {
    if (basis == kBasisRegression || basis == kBasisIntercept)
        return verdict(std::nullopt, kGeneralPage, FocusTarget::UserChoice);
    if (basis.empty())
        return verdict(notices::kMissingBasis, kGeneralPage, FocusTarget::limitBasis);
    // Any other text is sent back without a word: the analyst sees the two choices.
    return verdict(std::nullopt, kGeneralPage, FocusTarget::limitBasis);
}

EntryVerdict checkLevelCountOnExit(const std::string& text) {
    if (text.empty())
        return verdict(notices::kMissingLevelCount, std::nullopt, FocusTarget::levelCount);
    int k = 0;
    try {
        k = parseInteger(text);
    } catch (const Error&) {
        return verdict(notices::kNotNumeric, std::nullopt, FocusTarget::levelCount);
    }
    if (k < 2 || k > 10)
        return verdict(notices::kLevelCountRange, std::nullopt, FocusTarget::levelCount);
    return verdict(std::nullopt, std::nullopt, FocusTarget::acceptLevels);
}

bool sizeLevelTable(StudyDocument& study) {
    const std::string text = study.text(StudyField::levelCount);
    if (!checkLevelCountOnExit(text).passed())
        return false;
    const int k = parseInteger(text);
    setLevelsInTable(study, k);
    for (int i = 1; i <= k; ++i)
        setLevelHeaderText(study, i, levelHeader(i));
    return true;
}

EntryVerdict checkLevelTableOnEnter(const StudyDocument& study) {
    if (!levelTableMatchesCount(study))
        return verdict(notices::kLevelCellsMismatch, kLevelPage, FocusTarget::levelCount);
    return verdict(std::nullopt, std::nullopt, FocusTarget::UserChoice);
}

EntryVerdict checkLevelTableOnExit(const StudyDocument& study) {
    const int levels = levelsInTable(study);
    for (int i = 1; i <= levels; ++i) {
        for (const bool isCount : {false, true}) {
            const std::string text =
                isCount ? replicateCountText(study, i) : levelValueText(study, i);
            if (text.empty())
                return verdict(notices::kMissingLevelData, kLevelPage, FocusTarget::levelTable);
            if (!isDecimal(text))
                return verdict(notices::kLevelDataNotNumeric, kLevelPage, FocusTarget::levelTable);
            // A negative count would pull the results rows of later levels out of place.
            if (isCount && parseDecimal(text) < 0)
                return verdict(notices::kNegativeReplicates, kLevelPage, FocusTarget::levelTable);
        }
    }
    return verdict(std::nullopt, kLevelPage, FocusTarget::acceptReplicates);
}

EntryVerdict buildResultsTableOnEnter(StudyDocument& study) {
    if (!levelTableMatchesCount(study))
        return verdict(notices::kLevelCellsMismatch, kLevelPage, FocusTarget::levelCount);
    const int k = parseInteger(study.text(StudyField::levelCount));
    for (int i = 1; i <= k; ++i) {
        if (levelValueText(study, i).empty())
            return verdict(notices::missingLevelValue(i), kLevelPage, FocusTarget::levelTable);
        if (replicateCountText(study, i).empty())
            return verdict(notices::missingLevelReplicates(i), kLevelPage, FocusTarget::levelTable);
    }
    const long long total = sumReplicateCounts(study, k);
    if (total > kMaxDataRows)
        return verdict(notices::tooManyReplicates(total), kLevelPage, FocusTarget::levelTable);
    setResultRows(study, static_cast<int>(std::max(total, 0LL)));
    writeRowLabels(study, k);

    const long long tableTotal = sumReplicateCounts(study, levelsInTable(study));
    if (tableTotal != resultRows(study))
        return verdict(notices::kReplicateCellsMismatch, kLevelPage, FocusTarget::levelTable);
    return verdict(std::nullopt, std::nullopt, FocusTarget::UserChoice);
}

EntryVerdict checkResultsTableOnExit(const StudyDocument& study) {
    const int rows = resultRows(study);
    for (int r = 1; r <= rows; ++r) {
        const std::string text = recoveredAmountText(study, r);
        if (text.empty())
            return verdict(notices::missingDatum(r), kDataPage, FocusTarget::resultsTable);
        if (!isDecimal(text))
            return verdict(notices::datumNotNumeric(r), std::nullopt, FocusTarget::resultsTable);
    }
    // With every datum in place the analyst may go on to any page: sending the focus back
    // here would lock the study's other pages away for good.
    return verdict(std::nullopt, std::nullopt, FocusTarget::UserChoice);
}

EntryVerdict checkBlankReadingsOnExit(const StudyDocument& study) {
    const int readings = study.blankCount();
    for (int i = 1; i <= readings; ++i) {
        const std::string text = study.blankReadingText(i);
        if (text.empty())
            return verdict(notices::missingBlank(i), kBlankPage, FocusTarget::blankTable);
        if (!isDecimal(text))
            return verdict(notices::blankNotNumeric(i), kBlankPage, FocusTarget::blankTable);
    }
    return verdict(std::nullopt, std::nullopt, FocusTarget::UserChoice);
}

}  // namespace ldc
