// The verdicts of the entry checks, word for word; the study window's tests apply them.

#include <gtest/gtest.h>

#include "StudyFixtures.h"
#include "study/EntryRules.h"
#include "study/LdcError.h"

namespace ldc {
namespace {

using G = StudyTable;
using Notice = std::optional<std::string>;

TEST(EntryRules, LevelCountAndBasisOnExit) {
    const Notice notNumeric = "El valor de captura no es un valor numérico.";
    const Notice range = "Datos fuera de rango, 2-10 número de niveles";
    const auto check = [](const char* count, const Notice& notice) {
        EXPECT_EQ(checkLevelCountOnExit(count).notice, notice) << count;
        EXPECT_EQ(checkLevelCountOnExit(count).focus,
                  notice ? FocusTarget::levelCount : FocusTarget::acceptLevels)
            << count;
    };
    for (const char* count : {"ab", "2.5"})
        check(count, notNumeric);
    for (const char* count : {"1", "11"})
        check(count, range);
    check("10", {});
    EXPECT_EQ(checkBasisOnExit("Ordenada al Origen").focus, FocusTarget::UserChoice);
    const EntryVerdict partial = checkBasisOnExit("Regres");
    EXPECT_FALSE(partial.notice.has_value()) << "another text goes back without a notice";
    EXPECT_EQ(partial.focus, FocusTarget::limitBasis);
}

TEST(EntryRules, AcceptingTheLevelCountSizesTheLevelTable) {
    CalibrationStudy study;  // 3 levels, 4 columns
    setLevelValueText(study, 3, "x3");
    for (const char* bad : {"", "1", "11", "-3"}) {  // the count field's to report
        study.setText(StudyField::levelCount, bad);
        EXPECT_FALSE(sizeLevelTable(study)) << bad;
        EXPECT_EQ(study.columnCount(G::levels), 4) << bad;
    }
    study.setText(StudyField::levelCount, "4");
    EXPECT_TRUE(sizeLevelTable(study));
    EXPECT_EQ(levelValueText(study, 3), "x3") << "the columns that remain keep their values";
}

TEST(EntryRules, LevelTableOnExitGoesColumnByColumn) {
    CalibrationStudy study = testing::makeStudy(testing::workedExample());
    setLevelValueText(study, 2, "");
    setReplicateCountText(study, 1, "x");  // the earlier column wins
    EXPECT_EQ(checkLevelTableOnExit(study).notice,
              Notice("Algún dato capturado no es un valor numérico."));
    setReplicateCountText(study, 1, "0");  // no replicates at a level is no fault here
    EXPECT_EQ(checkLevelTableOnExit(study).notice, Notice("Falta capturar algún dato "));
    setLevelValueText(study, 2, "4");
    setReplicateCountText(study, 3, "2.5");  // a decimal count passes; building stops on it
    EXPECT_EQ(checkLevelTableOnExit(study).focus, FocusTarget::acceptReplicates);
    setReplicateCountText(study, 2, "-1");
    EXPECT_EQ(checkLevelTableOnExit(study).notice,
              Notice("El número de replicas por nivel no puede ser negativo."));
}

TEST(EntryRules, ResultsTableOnEnterAndOnExit) {
    CalibrationStudy study = testing::makeStudy(testing::workedExample());
    setRecoveredAmountText(study, 5, "");
    setRecoveredAmountText(study, 3, "abc");  // the first bad row is named
    EXPECT_EQ(checkResultsTableOnExit(study).notice, Notice("El dato3 no es un valor numérico."));
    setRecoveredAmountText(study, 3, "2.1");
    EXPECT_EQ(checkResultsTableOnExit(study).notice, Notice("Falta capturar el 5 º dato."));
    setReplicateCountText(study, 2, "");
    EXPECT_EQ(buildResultsTableOnEnter(study).notice,
              Notice("Falta capturar la replica del nivel 2"));
    const auto build = [&](const char* first) {
        for (int i = 1; i <= 3; ++i)
            setReplicateCountText(study, i, i == 1 ? first : "1");
        return buildResultsTableOnEnter(study);
    };
    EXPECT_EQ(build("-5").notice, Notice("El número de celdas de captura, no coincide con el "
                                         "número de replicas por nivel."));
    EXPECT_TRUE(build("99998").passed()) << "100000 results is the most a study holds";
    EXPECT_EQ(build("99999").notice,
              Notice("El total de replicas (100001) excede el máximo de 100000 datos."));
    EXPECT_EQ(study.rowCount(G::results), 100001) << "the grid was not grown";
    EXPECT_THROW(build("2.5"), Error);
}

}  // namespace
}  // namespace ldc
