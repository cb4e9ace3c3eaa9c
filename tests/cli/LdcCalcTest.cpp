#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "StudyFixtures.h"
#include "files/StudyFile.h"

namespace ldc {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

struct Outcome {
    Lines out;
    std::string err;
    int status = -1;
};

const std::string kExample = "'" LDC_EXAMPLES_DIR "/ejemplo.w9c'";

// Runs the built ldc-calc in a directory of its own as the analyst would, with `arguments` in
// the shell's words and the C locale.
class LdcCalc : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string pattern = (fs::temp_directory_path() / "ldc-calc-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        s_dir = pattern;
    }
    static void TearDownTestSuite() { fs::remove_all(s_dir); }

    static void writeStudy(const std::string& name, const testing::StudyOutline& outline) {
        saveStudyFile((s_dir / name).string(), testing::makeStudy(outline));
    }
    static std::string read(const std::string& name) {
        std::ifstream in(s_dir / name);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static Outcome run(const std::string& arguments, const std::string& redirect = "2>err") {
        fs::remove(s_dir / "err");
        const int status =
            std::system(("cd '" + s_dir.string() + "' && LC_ALL=C '" LDC_CALC_BINARY "' " +
                         arguments + " >out " + redirect)
                            .c_str());
        Outcome outcome{{}, read("err"), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
        std::istringstream out(read("out"));
        for (std::string line; std::getline(out, line);)
            outcome.out.push_back(line);
        return outcome;
    }

    static inline fs::path s_dir;
};

// The lines themselves are the results and report texts' own; here they must reach the output.
TEST_F(LdcCalc, TheExampleGivesTheResultsWindowLinesOrTheReport) {
    const Outcome outcome = run(kExample);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    ASSERT_EQ(outcome.out.size(), 17u);
    EXPECT_EQ(outcome.out[2], "PENDIENTE = 0.991667");
    EXPECT_EQ(outcome.out[15], "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1.35946 mg");

    const Outcome report = run("--informe " + kExample);
    EXPECT_EQ(report.status, 0);
    ASSERT_EQ(report.out.size(), 48u);
    EXPECT_EQ(report.out[0], "LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO");
    EXPECT_EQ(report.out[47], "LÍMITE DE CUANTIFICACIÓN  \"Regresión\" = 1.35946 mg");
}

TEST_F(LdcCalc, TheSeparatorOptionReadsAndWritesDecimalCommas) {
    testing::StudyOutline outline = testing::workedExample("Ordenada al Origen");
    outline.results = {{"1,9", "2,1", "2,0"}, {"4,1", "3,9", "4,2"}, {"5,8", "6,1", "6,0"}};
    writeStudy("comas.w9c", outline);
    const Outcome comma = run("--separador-decimal=, comas.w9c");
    EXPECT_EQ(comma.status, 0);
    ASSERT_EQ(comma.out.size(), 18u);
    EXPECT_EQ(comma.out[2], "PENDIENTE = 0,991667");
    EXPECT_EQ(comma.out[16], "LÍMITE DE CUANTIFICACIÓN \"Ordenada al Origen\" = 1,19893 mg");

    const Outcome point = run("comas.w9c");  // the C locale reads a point
    EXPECT_EQ(point.status, 1);
    EXPECT_EQ(point.out, Lines{});
    EXPECT_EQ(point.err, "'1,9' is not a valid floating point value.\n");
}

TEST_F(LdcCalc, AFailureGivesTheErrorBoxTextAfterTheLinesAndExitsOne) {
    writeStudy("dos.w9c", {{"1", "2"}, {{"1.1"}, {"3.3"}}});
    const Outcome results = run("dos.w9c");
    EXPECT_EQ(results.status, 1);
    EXPECT_EQ(results.out, Lines{}) << "no results window opens";
    EXPECT_EQ(results.err, "Floating point division by zero.\n");

    const Outcome report = run("--informe dos.w9c", "2>&1");
    EXPECT_EQ(report.status, 1);
    ASSERT_EQ(report.out.size(), 17u + 2 + 2 + 2 + 1);
    EXPECT_EQ(report.out[22], "Nivel 2 , Replica 1            3.3");
    EXPECT_EQ(report.out[23], "Floating point division by zero.");

    EXPECT_EQ(run("no-existe.w9c").err, "File not found.\n");
    // A full disk behind a redirection must not pass for a completed calculation.
    for (const char* option : {"--informe ", "--help "}) {
        const Outcome full = run(option + kExample, ">/dev/full 2>err");
        EXPECT_EQ(full.status, 1) << option;
        EXPECT_EQ(full.err, "Disk full.\n") << option;
    }
}

TEST_F(LdcCalc, UsageErrorsExitTwoAndHelpExitsZero) {
    const std::string usage = "Uso: ldc-calc [--informe] [--separador-decimal=C] ARCHIVO.w9c";
    for (const char* arguments : {"", "a.w9c b.w9c", "-x a.w9c", "--informe",
                                  "'--separador-decimal=;' a.w9c", "--separador-decimal= a.w9c",
                                  "--separador-decimal=.. a.w9c", "--separador-decimal a.w9c"}) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_EQ(outcome.out, Lines{}) << arguments;
        EXPECT_NE(outcome.err.find(usage), std::string::npos) << arguments;
    }
    const Outcome help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    ASSERT_FALSE(help.out.empty());
    EXPECT_EQ(help.out[0], usage);
}

}  // namespace
}  // namespace ldc
