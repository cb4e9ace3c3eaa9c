#include <gtest/gtest.h>

#include "StudyFixtures.h"
#include "study/EntryRules.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

using G = StudyGrid;
using testing::makeStudy;
using testing::workedExample;

struct Expect {
    const char* fault;
    std::string input;
    std::optional<std::string> notice;
    FocusTarget focus;
};

TEST(EntryRules, LevelCountOnExit) {
    const Expect cases[] = {
        {"empty count", "", "Falta capturar el número de niveles.", FocusTarget::enivel},
        {"letters", "ab", "El valor de captura no es un valor numérico.", FocusTarget::enivel},
        {"decimal", "2.5", "El valor de captura no es un valor numérico.", FocusTarget::enivel},
        {"one level", "1", "Datos fuera de rango, 2-10 número de niveles", FocusTarget::enivel},
        {"eleven", "11", "Datos fuera de rango, 2-10 número de niveles", FocusTarget::enivel},
        {"two is enough", "2", std::nullopt, FocusTarget::bnivel},
        {"ten is the most", "10", std::nullopt, FocusTarget::bnivel},
    };
    for (const auto& c : cases) {
        const EntryVerdict v = checkLevelCountOnExit(c.input);
        EXPECT_EQ(v.notice, c.notice) << c.fault;
        EXPECT_EQ(v.focus, c.focus) << c.fault;
    }
}

TEST(EntryRules, BasisOnExit) {
    EXPECT_TRUE(checkBasisOnExit("Regresión").passed());
    EXPECT_EQ(checkBasisOnExit("Ordenada al Origen").focus, FocusTarget::UserChoice);
    const EntryVerdict empty = checkBasisOnExit("");
    EXPECT_EQ(empty.notice, std::optional<std::string>("Falta hacer su selección"));
    EXPECT_EQ(empty.focus, FocusTarget::ComboBox1);
    const EntryVerdict partial = checkBasisOnExit("Regres");
    EXPECT_FALSE(partial.notice.has_value()) << "another text goes back without a notice";
    EXPECT_EQ(partial.focus, FocusTarget::ComboBox1);
    EXPECT_EQ(partial.page, 0);
}

TEST(EntryRules, LevelGridMustMatchTheTypedCount) {
    CalibrationStudy study;  // new study: "3" levels, 4 columns
    EXPECT_TRUE(checkLevelGridOnEnter(study).passed());
    study.setText(StudyField::enivel, "4");  // typed, grid not resized
    for (const EntryVerdict& v : {checkLevelGridOnEnter(study), buildDataGridOnEnter(study)}) {
        EXPECT_EQ(v.notice, std::optional<std::string>(notices::kLevelCellsMismatch));
        EXPECT_EQ(v.page, 1);
        EXPECT_EQ(v.focus, FocusTarget::enivel);
    }
}

TEST(EntryRules, AcceptingTheLevelCountSizesTheLevelGrid) {
    CalibrationStudy study;  // 3 levels, 4 columns
    for (int i = 1; i <= 3; ++i) {
        study.setCell(G::stgnivel, i, 1, "x" + std::to_string(i));
        study.setCell(G::stgnivel, i, 2, "n" + std::to_string(i));
    }
    study.setText(StudyField::enivel, "5");
    EXPECT_TRUE(sizeLevelGrid(study));
    EXPECT_EQ(study.columnCount(G::stgnivel), 6);
    EXPECT_EQ(study.cell(G::stgnivel, 5, 0), "Nivel 5");
    EXPECT_EQ(study.cell(G::stgnivel, 3, 1), "x3") << "the columns that remain keep their values";
    EXPECT_EQ(study.cell(G::stgnivel, 4, 1), "");
    EXPECT_EQ(study.cell(G::stgnivel, 0, 2), "Replicación >>");
    EXPECT_TRUE(checkLevelGridOnEnter(study).passed());

    study.setText(StudyField::enivel, "2");
    EXPECT_TRUE(sizeLevelGrid(study));
    EXPECT_EQ(study.columnCount(G::stgnivel), 3);
    study.setText(StudyField::enivel, "3");
    EXPECT_TRUE(sizeLevelGrid(study));
    EXPECT_EQ(study.cell(G::stgnivel, 3, 0), "Nivel 3");
    EXPECT_EQ(study.cell(G::stgnivel, 3, 1), "") << "a dropped column comes back empty";
    EXPECT_EQ(study.cell(G::stgnivel, 2, 2), "n2");

    // Bad counts are the count field's to report; the grid stays as it is.
    for (const char* bad : {"", "ab", "1", "11", "-3"}) {
        study.setText(StudyField::enivel, bad);
        EXPECT_FALSE(sizeLevelGrid(study)) << bad;
        EXPECT_EQ(study.columnCount(G::stgnivel), 4) << bad;
    }
    study.setText(StudyField::enivel, "10");
    EXPECT_TRUE(sizeLevelGrid(study));
    EXPECT_EQ(study.cell(G::stgnivel, 10, 0), "Nivel 10");
}

TEST(EntryRules, LevelGridOnExitReportsTheFirstBadCellColumnByColumn) {
    setDecimalSeparator('.');
    CalibrationStudy study = makeStudy(workedExample());
    EXPECT_EQ(checkLevelGridOnExit(study).focus, FocusTarget::botonr);

    study.setCell(G::stgnivel, 2, 1, "");
    study.setCell(G::stgnivel, 1, 2, "x");  // earlier column wins
    EXPECT_EQ(checkLevelGridOnExit(study).notice,
              std::optional<std::string>("Algún dato capturado no es un valor numérico."));
    study.setCell(G::stgnivel, 1, 2, "3");
    const EntryVerdict missing = checkLevelGridOnExit(study);
    EXPECT_EQ(missing.notice, std::optional<std::string>("Falta capturar algún dato "));
    EXPECT_EQ(missing.focus, FocusTarget::stgnivel);
    EXPECT_EQ(buildDataGridOnEnter(study).notice,
              std::optional<std::string>("Falta capturar el valor del nivel 2"));

    study.setCell(G::stgnivel, 2, 1, "4");
    study.setCell(G::stgnivel, 2, 2, "-1");
    EXPECT_EQ(checkLevelGridOnExit(study).notice,
              std::optional<std::string>(notices::kNegativeReplicates));
    study.setCell(G::stgnivel, 2, 2, "2.5");
    EXPECT_TRUE(checkLevelGridOnExit(study).passed()) << "counts are checked only as decimals here";
}

TEST(EntryRules, EnteringTheDataGridBuildsOneLabelledRowPerReplicate) {
    setDecimalSeparator('.');
    CalibrationStudy study = makeStudy(workedExample());
    study.setCell(G::stgnivel, 3, 2, "2");
    study.setCell(G::stgdatos, 1, 5, "kept");
    EXPECT_TRUE(buildDataGridOnEnter(study).passed());
    EXPECT_EQ(study.rowCount(G::stgdatos), 9);
    EXPECT_EQ(study.cell(G::stgdatos, 0, 1), "Nivel 1 , Replica 1");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 4), "Nivel 2 , Replica 1");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 6), "Nivel 2 , Replica 3");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 8), "Nivel 3 , Replica 2");
    EXPECT_EQ(study.cell(G::stgdatos, 1, 5), "kept") << "labels move, values stay";

    for (int i = 1; i <= 3; ++i)
        study.setCell(G::stgnivel, i, 2, "0");
    EXPECT_TRUE(buildDataGridOnEnter(study).passed()) << "all-zero counts give no notice";
    EXPECT_EQ(study.rowCount(G::stgdatos), 1);

    study.setCell(G::stgnivel, 2, 2, "");
    EXPECT_EQ(buildDataGridOnEnter(study).notice,
              std::optional<std::string>("Falta capturar la replica del nivel 2"));
}

TEST(EntryRules, DataGridTotalsThatCannotBeBuilt) {
    setDecimalSeparator('.');
    CalibrationStudy study = makeStudy(workedExample());
    study.setCell(G::stgnivel, 1, 2, "-5");
    study.setCell(G::stgnivel, 2, 2, "1");
    study.setCell(G::stgnivel, 3, 2, "1");
    const EntryVerdict negative = buildDataGridOnEnter(study);
    EXPECT_EQ(negative.notice, std::optional<std::string>(notices::kReplicateCellsMismatch));
    EXPECT_EQ(negative.focus, FocusTarget::stgnivel);

    study.setCell(G::stgnivel, 1, 2, "99999999");
    const EntryVerdict huge = buildDataGridOnEnter(study);
    EXPECT_EQ(huge.notice, notices::tooManyReplicates(100000001));
    EXPECT_LT(study.rowCount(G::stgdatos), 100) << "the grid was not grown";

    study.setCell(G::stgnivel, 1, 2, "2.5");
    try {
        buildDataGridOnEnter(study);
        FAIL() << "a decimal count cannot build rows";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "'2.5' is not a valid integer value");
    }
}

TEST(EntryRules, DataGridOnExitNamesTheFirstBadRow) {
    setDecimalSeparator('.');
    CalibrationStudy study = makeStudy(workedExample());
    EXPECT_TRUE(checkDataGridOnExit(study).passed());
    EXPECT_EQ(checkDataGridOnExit(study).focus, FocusTarget::UserChoice)
        << "complete data must not keep the analyst from the other pages";
    study.setCell(G::stgdatos, 1, 5, "");
    study.setCell(G::stgdatos, 1, 3, "abc");
    const EntryVerdict bad = checkDataGridOnExit(study);
    EXPECT_EQ(bad.notice, std::optional<std::string>("El dato3 no es un valor numérico."));
    EXPECT_FALSE(bad.page.has_value()) << "no page change for a non-numeric datum";
    study.setCell(G::stgdatos, 1, 3, "2.1");
    const EntryVerdict missing = checkDataGridOnExit(study);
    EXPECT_EQ(missing.notice, std::optional<std::string>("Falta capturar el 5 º dato."));
    EXPECT_EQ(missing.page, 2);
    EXPECT_EQ(missing.focus, FocusTarget::stgdatos);
}

}  // namespace
}  // namespace ldc
