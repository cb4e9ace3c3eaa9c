#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "calc/ReferenceData.h"
#include "calc/SelfVerification.h"
#include "study/LdcError.h"

namespace ldc {
namespace {

// Every built-in case reproduces its published values on this machine.
TEST(SelfVerification, EveryReferenceCasePasses) {
    const std::vector<VerificationRow> rows = runSelfVerification(referenceCases());
    ASSERT_EQ(rows.size(), 27u);
    for (const VerificationRow& row : rows)
        EXPECT_TRUE(row.passed) << row.caseTitle << ": " << row.quantity << " = "
                                << row.programValue << " (" << row.reference << ")";
    EXPECT_TRUE(allPassed(rows));
    EXPECT_EQ(verificationSummary(rows), "Verificación superada: cumplen las 27 comprobaciones.");
}

// A reference value moved just past its tolerance, a case that stops on an error and a
// figure the program leaves empty each fail their own rows, and only those.
TEST(SelfVerification, AlteredReferencesAndFailingCasesFailTheirRows) {
    const struct {
        const char* name;
        std::function<void(std::vector<ReferenceCase>&)> alter;
        std::vector<int> failing;
        std::string programValue;  // of the first failing row; empty: not checked
    } rows[] = {
        {"worked example, printed digit",
         [](auto& c) { c[0].checks[0].reference = "0.991668"; },
         {0},
         ""},
        {"Norris slope, eighth digit",
         [](auto& c) { c[2].checks[0].reference = "1.00211691802045"; },
         {14},
         ""},
        {"DIN decision limit", [](auto& c) { c[4].checks[0].reference = "0.06"; }, {24}, ""},
        {"case stops",
         [](auto& c) {
             c[1].compute = []() -> Figures { throw Error("Invalid floating point operation"); };
         },
         {11, 12, 13},
         "Invalid floating point operation."},
        {"figure missing",
         [](auto& c) { c[3].compute = [] { return Figures{}; }; },
         {20, 21, 22, 23},
         "no calculado"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<ReferenceCase> cases = referenceCases();
        row.alter(cases);
        const std::vector<VerificationRow> result = runSelfVerification(cases);
        std::vector<int> failing;
        for (int i = 0; i < static_cast<int>(result.size()); ++i)
            if (!result[i].passed)
                failing.push_back(i);
        EXPECT_EQ(failing, row.failing);
        EXPECT_FALSE(allPassed(result));
        if (!row.programValue.empty()) {
            EXPECT_EQ(result[row.failing[0]].programValue, row.programValue);
        }
    }
    std::vector<ReferenceCase> cases = referenceCases();
    cases[0].checks[0].reference = "1";
    EXPECT_EQ(verificationSummary(runSelfVerification(cases)),
              "Verificación NO superada: no cumple 1 de 27 comprobaciones.");
}

// Half a unit of the last printed digit, also for a value printed with an exponent.
TEST(SelfVerification, RoundedValuesAllowHalfTheirLastDigit) {
    EXPECT_EQ(roundedAsPrinted("0.212").amount, "0.0005");
    EXPECT_EQ(roundedAsPrinted("18").amount, "0.5");
    EXPECT_EQ(roundedAsPrinted("0.4297E-03").amount, "5E-8");
}

// The terminal table keeps its columns aligned, accented texts included.
TEST(SelfVerification, TextTableColumnsAlign) {
    const std::vector<VerificationRow> rows = runSelfVerification(referenceCases());
    const std::vector<std::string> lines =
        verificationTextLines(rows, {"equipo", "analista", "QORVAL v.w. 3.1", "2026-12-06"});
    auto verdictColumn = [](const std::string& line) {
        const std::string prefix = line.substr(0, line.rfind("Cumple"));
        std::size_t characters = 0;
        for (const unsigned char c : prefix)
            characters += (c & 0xC0) != 0x80;
        return characters;
    };
    std::vector<std::size_t> columns;
    for (const std::string& line : lines)
        if (line.ends_with("Cumple"))
            columns.push_back(verdictColumn(line));
    ASSERT_EQ(columns.size(), rows.size());
    EXPECT_EQ(std::count(columns.begin(), columns.end(), columns[0]), std::ssize(columns));
    EXPECT_EQ(lines[2], "Usuario: analista");
    EXPECT_EQ(lines.back(), verificationSummary(rows));
}

}  // namespace
}  // namespace ldc
