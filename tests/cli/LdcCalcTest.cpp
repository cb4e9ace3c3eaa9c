#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "StudyFixtures.h"
#include "files/StudyFile.h"

// Runs the built ldc-calc as the analyst would, on study files written here, and looks at
// what reaches standard output, standard error and the exit status.

namespace ldc {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

struct Outcome {
    Lines out;
    std::string err;
    int status = -1;
};

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

Lines splitLines(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A CR LF study file in Windows-1252, written byte by byte.
std::string studyBytes(const Lines& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

class LdcCalc : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string pattern = (fs::temp_directory_path() / "ldc-calc-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        s_dir = pattern;
    }
    static void TearDownTestSuite() { fs::remove_all(s_dir); }

    static std::string writeBytes(const std::string& name, const std::string& bytes) {
        const fs::path path = s_dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    static std::string writeStudy(const std::string& name, const CalibrationStudy& study) {
        const fs::path path = s_dir / name;
        saveStudyFile(path.string(), study);
        return path.string();
    }

    // `environment` is the shell text before the command, e.g. "LC_ALL=C".
    static Outcome run(const Lines& args, const std::string& environment = "LC_ALL=C",
                       bool mergeErrors = false) {
        const fs::path errPath = s_dir / "stderr.txt";
        std::string command = environment + " " + shellQuoted(LDC_CALC_BINARY);
        for (const std::string& arg : args)
            command += " " + shellQuoted(arg);
        command += mergeErrors ? " 2>&1" : " 2>" + shellQuoted(errPath.string());
        Outcome outcome;
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr)
            return outcome;
        std::string out;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        const int status = pclose(pipe);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.out = splitLines(out);
        if (!mergeErrors)
            outcome.err = readFile(errPath);
        return outcome;
    }

    static inline fs::path s_dir;
};

const std::string kExample = std::string(LDC_EXAMPLES_DIR) + "/ejemplo.w9c";

const Lines kExampleResults = [] {
    Lines lines = {"VARIABILIDAD \"Regresión\"", ""};
    for (const std::string& line : testing::workedExampleRegressionLines())
        lines.push_back(line);
    for (const char* line : {"LÍMITE DE DETECCIÓN \"Regresión\" = 0.448622 mg",
                             "LÍMITE DE CUANTIFICACIÓN \"Regresión\" = 1.35946 mg", ""})
        lines.push_back(line);
    return lines;
}();

// Two levels with one replicate each: nothing is left to estimate the scatter from.
const Lines kTwoResults = {
    "Prueba", "Analista", "01/02/2026", "mg", "mg",  "Regresi\xf3n", "2", "1",
    "1",      "2",        "1",          "2",  "1.1", "3.3",          "",  "",
};

TEST_F(LdcCalc, TheExampleGivesTheResultsWindowLines) {
    const Outcome outcome = run({kExample});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out, kExampleResults);
}

TEST_F(LdcCalc, TheReportOptionGivesTheWholeReport) {
    const Outcome outcome = run({"--informe", kExample});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    const Lines& out = outcome.out;
    ASSERT_EQ(out.size(), 48u);
    EXPECT_EQ(out[0], "LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO");
    EXPECT_EQ(out[4].rfind("Nombre del Método: ", 0), 0u);
    EXPECT_EQ(out[7], "Unidades de la cantidad adicionada: mg");
    EXPECT_EQ(out[16], "                    Valor        Replicación ");
    EXPECT_EQ(out[17], "Nivel 1         2              3");
    EXPECT_EQ(out[21], std::string(42, ' ') + "mg");
    EXPECT_EQ(out[22], "Nivel 1 , Replica 1            1.9");
    EXPECT_EQ(out[30], "Nivel 3 , Replica 3            6.0");
    EXPECT_EQ(out[33], "VARIABILIDAD \"Regresión\"");
    EXPECT_EQ(out[34], "PENDIENTE = 0.991667");
    EXPECT_EQ(out[46], "LÍMITE DE DETECCIÓN  \"Regresión\" = 0.448622 mg");
    EXPECT_EQ(out[47], "LÍMITE DE CUANTIFICACIÓN  \"Regresión\" = 1.35946 mg");
}

TEST_F(LdcCalc, AStudyWrittenWithDecimalCommas) {
    const std::string path = writeBytes("comas.w9c", studyBytes({"Valoraci\xf3n",
                                                                 "Analista",
                                                                 "01/02/2026",
                                                                 "mg",
                                                                 "mg",
                                                                 "Ordenada al Origen",
                                                                 "3",
                                                                 "2",
                                                                 "3",
                                                                 "4",
                                                                 "3",
                                                                 "6",
                                                                 "3",
                                                                 "9",
                                                                 "1,9",
                                                                 "2,1",
                                                                 "2,0",
                                                                 "4,1",
                                                                 "3,9",
                                                                 "4,2",
                                                                 "5,8",
                                                                 "6,1",
                                                                 "6,0",
                                                                 "",
                                                                 "",
                                                                 "",
                                                                 "",
                                                                 "",
                                                                 "",
                                                                 "",
                                                                 "",
                                                                 ""}));
    const Outcome comma = run({"--separador-decimal=,", path});
    EXPECT_EQ(comma.status, 0);
    EXPECT_EQ(comma.err, "");
    ASSERT_EQ(comma.out.size(), 18u);
    EXPECT_EQ(comma.out[2], "PENDIENTE = 0,991667");
    EXPECT_EQ(comma.out[14], "DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN = 0,118894");
    EXPECT_EQ(comma.out[15], "LÍMITE DE DETECCIÓN \"Ordenada al Origen\" = 0,395648 mg");
    EXPECT_EQ(comma.out[16], "LÍMITE DE CUANTIFICACIÓN \"Ordenada al Origen\" = 1,19893 mg");

    // Without the option the locale decides; the C locale reads a point.
    const Outcome point = run({path}, "LC_ALL=C");
    EXPECT_EQ(point.status, 1);
    EXPECT_EQ(point.out, Lines{});
    EXPECT_EQ(point.err, "'1,9' is not a valid floating point value.\n");
}

TEST_F(LdcCalc, TheOptionOverridesTheLocale) {
    const Outcome outcome = run({"--separador-decimal=.", kExample}, "LC_ALL=C.UTF-8");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, kExampleResults);
}

TEST_F(LdcCalc, AStudyWrittenByTheProgram) {
    testing::StudyOutline outline = testing::workedExample("Ordenada al Origen");
    outline.addedUnits = "µg";
    const std::string path = writeStudy("escrito.w9c", testing::makeStudy(outline));
    const Outcome outcome = run({path});
    EXPECT_EQ(outcome.status, 0);
    ASSERT_EQ(outcome.out.size(), 18u);
    EXPECT_EQ(outcome.out[0], "VARIABILIDAD \"Ordenada al Origen\"");
    EXPECT_EQ(outcome.out[16], "LÍMITE DE CUANTIFICACIÓN \"Ordenada al Origen\" = 1.19893 µg");
}

TEST_F(LdcCalc, AFailingCalculationPrintsTheErrorBoxTextAndExitsOne) {
    const std::string path = writeBytes("dos.w9c", studyBytes(kTwoResults));
    const Outcome results = run({path});
    EXPECT_EQ(results.status, 1);
    EXPECT_EQ(results.out, Lines{}) << "no results window opens";
    EXPECT_EQ(results.err, "Floating point division by zero.\n");

    // The report keeps its lines up to the calculation, and they come out first.
    const Outcome report = run({"--informe", path}, "LC_ALL=C", true);
    EXPECT_EQ(report.status, 1);
    ASSERT_EQ(report.out.size(), 17u + 2 + 2 + 2 + 1);
    EXPECT_EQ(report.out[22], "Nivel 2 , Replica 1            3.3");
    EXPECT_EQ(report.out[23], "Floating point division by zero.");
}

TEST_F(LdcCalc, FileErrorsExitOne) {
    const Outcome missing = run({(s_dir / "no-existe.w9c").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "File not found.\n");

    const std::string empty = writeBytes("vacio.w9c", "");
    const Outcome unreadable = run({empty});
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_EQ(unreadable.err, "'' is not a valid integer value.\n");
}

TEST_F(LdcCalc, UsageErrorsExitTwoWithoutOutput) {
    const std::vector<Lines> cases = {
        {},
        {kExample, kExample},
        {"--resultados", kExample},
        {"-x", kExample},
        {"--informe"},
        {"--separador-decimal=;", kExample},
        {"--separador-decimal=", kExample},
        {"--separador-decimal=..", kExample},
        {"--separador-decimal", kExample},
    };
    for (const Lines& args : cases) {
        std::string shown;
        for (const std::string& arg : args)
            shown += arg + " ";
        const Outcome outcome = run(args);
        EXPECT_EQ(outcome.status, 2) << shown;
        EXPECT_EQ(outcome.out, Lines{}) << shown;
        EXPECT_NE(outcome.err.find("Uso: ldc-calc [--informe] [--separador-decimal=C] ARCHIVO.w9c"),
                  std::string::npos)
            << shown;
    }
}

TEST_F(LdcCalc, HelpExplainsInSpanishAndExitsZero) {
    const Outcome outcome = run({"--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    ASSERT_FALSE(outcome.out.empty());
    EXPECT_EQ(outcome.out[0], "Uso: ldc-calc [--informe] [--separador-decimal=C] ARCHIVO.w9c");
    std::string text;
    for (const std::string& line : outcome.out)
        text += line + "\n";
    EXPECT_NE(text.find("--informe"), std::string::npos);
    EXPECT_NE(text.find("--separador-decimal=C"), std::string::npos);
    EXPECT_NE(text.find("límite de detección"), std::string::npos);
}

TEST_F(LdcCalc, OutputThatCannotBeWrittenIsAnError) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    for (const char* option : {"", "--informe", "--help"}) {
        const fs::path errPath = s_dir / "full.txt";
        const std::string command = "LC_ALL=C " + shellQuoted(LDC_CALC_BINARY) + " " + option +
                                    " " + shellQuoted(kExample) + " >/dev/full 2>" +
                                    shellQuoted(errPath.string());
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << option;
        EXPECT_EQ(readFile(errPath), "Disk full.\n") << option;
    }
}

TEST_F(LdcCalc, AFileNameAfterTheEndOfOptions) {
    writeBytes("-raro.w9c", readFile(kExample));
    const Outcome outcome =
        run({"--", "-raro.w9c"}, "cd " + shellQuoted(s_dir.string()) + " && LC_ALL=C");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, kExampleResults);
}

}  // namespace
}  // namespace ldc
