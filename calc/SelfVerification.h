#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ldc {

// The program's self-verification: it recomputes reference data sets with published or
// certified results and compares each figure with the published value at a stated
// tolerance. Its table is what a laboratory files as the operational qualification of the
// program on one machine.

// The figures a reference case can be checked on.
enum class Figure : std::size_t {
    slope,
    slopeUpper,
    slopeLower,
    slopeStdDev,
    intercept,
    interceptUpper,
    interceptLower,
    interceptStdDev,
    residualStdDev,
    variationCoefficient,
    determination,
    detectionLimit,
    quantificationLimit,
    lackOfFitF,
    lackOfFitNumeratorDf,
    lackOfFitDenominatorDf,
    decisionLimit,
    calibrationDetectionLimit,
    calibrationQuantificationLimit,
    count
};

// What the program computed for one case; a figure it could not compute stays empty.
using Figures = std::array<std::optional<double>, static_cast<std::size_t>(Figure::count)>;

struct Tolerance {
    enum class Kind { absolute, relative } kind = Kind::absolute;
    std::string amount;  // decimal text with a point, as the table shows it
};

// Half a unit of the last digit the source prints: the tolerance of a value published
// rounded ("0.212" gives 0.0005).
Tolerance roundedAsPrinted(const std::string& referenceText);
Tolerance relativeTolerance(const std::string& amount);

struct ReferenceCheck {
    Figure figure = Figure::slope;
    std::string quantity;   // in the analyst's words
    std::string reference;  // the published value, as its source prints it (decimal point)
    Tolerance tolerance;
};

struct ReferenceCase {
    std::string title;
    std::string source;  // where the reference values are published
    std::function<Figures()> compute;
    std::vector<ReferenceCheck> checks;
};

// One line of the verification table.
struct VerificationRow {
    std::string caseTitle;
    std::string quantity;
    std::string reference;
    std::string source;
    std::string programValue;  // the program's figure, or why there is none
    std::string tolerance;     // as the table shows it
    bool passed = false;
};

// Runs every case and compares each figure. A case that stops on an error fails every
// one of its rows, with the error's text in place of the program's value.
std::vector<VerificationRow> runSelfVerification(const std::vector<ReferenceCase>& cases);

bool allPassed(const std::vector<VerificationRow>& rows);
// "Cumple" or "No cumple".
std::string verdictText(bool passed);
// One sentence saying how many checks passed and whether the program is verified.
std::string verificationSummary(const std::vector<VerificationRow>& rows);

// Where and by whom the verification was run.
struct VerificationContext {
    std::string machine;
    std::string user;
    std::string version;
    std::string date;  // ISO 8601 with the time zone
};

VerificationContext currentVerificationContext();

// The labelled lines of the context: "Equipo: ...", "Usuario: ...", "Programa: ...",
// "Fecha: ...".
std::vector<std::string> contextLines(const VerificationContext& context);

inline constexpr const char* kVerificationTitle = "Verificación del programa";

// The column headings of the table, the source aside: quantity, reference value, program's
// value, tolerance, verdict.
std::array<std::string, 5> verificationHeadings();
// The same five cells of one row.
std::array<std::string, 5> verificationCells(const VerificationRow& row);

// The whole verification as plain text, the columns aligned for a fixed-width terminal:
// title, context, each case with its source and its rows, and the summary.
std::vector<std::string> verificationTextLines(const std::vector<VerificationRow>& rows,
                                               const VerificationContext& context);

}  // namespace ldc
