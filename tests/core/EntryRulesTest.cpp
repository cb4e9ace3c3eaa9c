#include <gtest/gtest.h>

#include "StudyFixtures.h"
#include "study/EntryRules.h"
#include "study/LdcError.h"

namespace ldc {
namespace {

using G = StudyGrid;
using testing::makeStudy;
using testing::workedExample;
using Notice = std::optional<std::string>;

TEST(EntryRules, LevelCountAndBasisOnExit) {
    auto check = [](const char* count, Notice notice) {
        const EntryVerdict v = checkLevelCountOnExit(count);
        EXPECT_EQ(v.notice, notice) << count;
        EXPECT_EQ(v.focus, notice ? FocusTarget::enivel : FocusTarget::bnivel) << count;
    };
    check("", "Falta capturar el número de niveles.");
    for (const char* count : {"ab", "2.5"})
        check(count, "El valor de captura no es un valor numérico.");
    for (const char* count : {"1", "11"})
        check(count, "Datos fuera de rango, 2-10 número de niveles");
    for (const char* count : {"2", "10"})
        check(count, std::nullopt);

    EXPECT_TRUE(checkBasisOnExit("Regresión").passed());
    EXPECT_EQ(checkBasisOnExit("Ordenada al Origen").focus, FocusTarget::UserChoice);
    EXPECT_EQ(checkBasisOnExit("").notice, Notice("Falta hacer su selección"));
    const EntryVerdict partial = checkBasisOnExit("Regres");
    EXPECT_FALSE(partial.notice.has_value()) << "another text goes back without a notice";
    EXPECT_EQ(partial.focus, FocusTarget::ComboBox1);
}

TEST(EntryRules, AcceptingTheLevelCountSizesTheLevelGrid) {
    CalibrationStudy study;  // 3 levels, 4 columns
    study.setCell(G::stgnivel, 3, 1, "x3");
    study.setCell(G::stgnivel, 2, 2, "n2");
    study.setText(StudyField::enivel, "4");  // typed, grid not yet sized
    for (const EntryVerdict& v : {checkLevelGridOnEnter(study), buildDataGridOnEnter(study)}) {
        EXPECT_EQ(v.notice, Notice("El número de celdas de captura para los niveles, no coincide "
                                   "con el número de niveles especificado."));
        EXPECT_EQ(v.page, 1);
        EXPECT_EQ(v.focus, FocusTarget::enivel);
    }
    EXPECT_TRUE(sizeLevelGrid(study));
    EXPECT_EQ(study.columnCount(G::stgnivel), 5);
    EXPECT_EQ(study.cell(G::stgnivel, 4, 0), "Nivel 4");
    EXPECT_EQ(study.cell(G::stgnivel, 3, 1), "x3") << "the columns that remain keep their values";
    EXPECT_TRUE(checkLevelGridOnEnter(study).passed());

    for (const char* bad : {"", "ab", "1", "11", "-3"}) {  // the count field's to report
        study.setText(StudyField::enivel, bad);
        EXPECT_FALSE(sizeLevelGrid(study)) << bad;
        EXPECT_EQ(study.columnCount(G::stgnivel), 5) << bad;
    }
}

TEST(EntryRules, LevelGridOnExitAndOnEnteringTheDataGrid) {
    CalibrationStudy study = makeStudy(workedExample());
    EXPECT_EQ(checkLevelGridOnExit(study).focus, FocusTarget::botonr);
    study.setCell(G::stgnivel, 2, 1, "");
    study.setCell(G::stgnivel, 1, 2, "x");  // the earlier column wins
    EXPECT_EQ(checkLevelGridOnExit(study).notice,
              Notice("Algún dato capturado no es un valor numérico."));
    study.setCell(G::stgnivel, 1, 2, "3");
    const EntryVerdict missing = checkLevelGridOnExit(study);
    EXPECT_EQ(missing.notice, Notice("Falta capturar algún dato "));
    EXPECT_EQ(missing.focus, FocusTarget::stgnivel);
    EXPECT_EQ(buildDataGridOnEnter(study).notice, Notice("Falta capturar el valor del nivel 2"));
    study.setCell(G::stgnivel, 2, 1, "4");
    study.setCell(G::stgnivel, 2, 2, "-1");
    EXPECT_EQ(checkLevelGridOnExit(study).notice,
              Notice("El número de replicas por nivel no puede ser negativo."));
    study.setCell(G::stgnivel, 2, 2, "");
    EXPECT_EQ(buildDataGridOnEnter(study).notice, Notice("Falta capturar la replica del nivel 2"));

    study.setCell(G::stgnivel, 2, 2, "3");
    study.setCell(G::stgnivel, 3, 2, "2");
    study.setCell(G::stgdatos, 1, 5, "kept");
    EXPECT_TRUE(buildDataGridOnEnter(study).passed());
    EXPECT_EQ(study.rowCount(G::stgdatos), 9);
    EXPECT_EQ(study.cell(G::stgdatos, 0, 8), "Nivel 3 , Replica 2");
    EXPECT_EQ(study.cell(G::stgdatos, 1, 5), "kept") << "labels move, values stay";
    for (int i = 1; i <= 3; ++i)
        study.setCell(G::stgnivel, i, 2, "0");
    EXPECT_TRUE(buildDataGridOnEnter(study).passed()) << "all-zero counts give no notice";
    EXPECT_EQ(study.rowCount(G::stgdatos), 1);
}

TEST(EntryRules, DataGridTotalsThatCannotBeBuilt) {
    CalibrationStudy study = makeStudy(workedExample());
    study.setCell(G::stgnivel, 1, 2, "-5");
    study.setCell(G::stgnivel, 2, 2, "1");
    study.setCell(G::stgnivel, 3, 2, "1");
    const EntryVerdict negative = buildDataGridOnEnter(study);
    EXPECT_EQ(negative.notice, Notice("El número de celdas de captura, no coincide con el número "
                                      "de replicas por nivel."));
    EXPECT_EQ(negative.focus, FocusTarget::stgnivel);
    study.setCell(G::stgnivel, 1, 2, "99999999");
    EXPECT_EQ(buildDataGridOnEnter(study).notice,
              Notice("El total de replicas (100000001) excede el máximo de 100000 datos."));
    EXPECT_LT(study.rowCount(G::stgdatos), 100) << "the grid was not grown";
    study.setCell(G::stgnivel, 1, 2, "2.5");
    EXPECT_THROW(buildDataGridOnEnter(study), Error);
}

TEST(EntryRules, DataGridOnExitNamesTheFirstBadRow) {
    CalibrationStudy study = makeStudy(workedExample());
    EXPECT_EQ(checkDataGridOnExit(study).focus, FocusTarget::UserChoice)
        << "complete data must not keep the analyst from the other pages";
    study.setCell(G::stgdatos, 1, 5, "");
    study.setCell(G::stgdatos, 1, 3, "abc");
    const EntryVerdict bad = checkDataGridOnExit(study);
    EXPECT_EQ(bad.notice, Notice("El dato3 no es un valor numérico."));
    EXPECT_FALSE(bad.page.has_value()) << "no page change for a non-numeric datum";
    study.setCell(G::stgdatos, 1, 3, "2.1");
    const EntryVerdict missing = checkDataGridOnExit(study);
    EXPECT_EQ(missing.notice, Notice("Falta capturar el 5 º dato."));
    EXPECT_EQ(missing.page, 2);
    EXPECT_EQ(missing.focus, FocusTarget::stgdatos);
}

}  // namespace
}  // namespace ldc
