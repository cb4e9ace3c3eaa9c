#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "StudyFixtures.h"
#include "files/AuditTrail.h"
#include "files/Sha256.h"
#include "files/StudyFile.h"

namespace ldc {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

Lines linesOf(const fs::path& file) {
    std::ifstream in(file);
    Lines lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A run of ldc-calc and what it gives: exit status, the count of output lines (-1: not
// counted), one of them (from the end when negative), and the last line on standard error.
struct Expected {
    std::string arguments;
    int status, outLines, at;
    std::string outLine, lastError;
};

TEST(LdcCalc, PrintsTheLinesOrStopsWithTheErrorBoxText) {
    std::string pattern = (fs::temp_directory_path() / "ldc-calc-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path dir = pattern;
    testing::StudyOutline commas = testing::workedExample("Ordenada al Origen");
    commas.results = {{"1,9", "2,1", "2,0"}, {"4,1", "3,9", "4,2"}, {"5,8", "6,1", "6,0"}};
    saveStudyFile((dir / "comas.w9c").string(), testing::makeStudy(commas));
    saveStudyFile((dir / "dos.w9c").string(), testing::makeStudy({{"1", "2"}, {{"1.1"}, {"3.3"}}}));
    testing::StudyOutline blanks = testing::workedExample("");
    blanks.blanks = {"0.10", "0.12", "0.14"};
    saveStudyFile((dir / "blancos.w9c").string(), testing::makeStudy(blanks));

    // Two studies with their trails, one of them edited by hand afterwards.
    for (const char* name : {"auditado.w9c", "editado.w9c"}) {
        const std::string study = (dir / name).string();
        saveStudyFile(study, testing::makeStudy(testing::workedExample()));
        for (const std::string_view action : {auditAction::open, auditAction::print}) {
            AuditEntry entry = newAuditEntry(action);
            entry.shaBefore = entry.shaAfter = fileSha256Hex(study);
            appendAuditEntry(study, entry);
        }
    }
    std::system(
        ("sed -i 's/abrir/guardar/' '" + (dir / "editado.w9c.auditoria").string() + "'").c_str());

    const std::string example = "'" LDC_EXAMPLES_DIR "/ejemplo.w9c'";
    const std::string usage = "Uso: ldc-calc [--informe] [--separador-decimal=C] ARCHIVO.w9c";
    const std::string seeHelp = "Pruebe 'ldc-calc --help' para más información.";
    const std::string stop = "Floating point division by zero.";
    const Expected runs[] = {
        {example, 0, 17, 2, "PENDIENTE = 0.991667", ""},  // the C locale's point
        {"--informe " + example, 0, 48, -1, "LÍMITE DE CUANTIFICACIÓN  \"Regresión\" = 1.35946 mg",
         ""},
        {"--separador-decimal=, comas.w9c", 0, 18, 16,
         "LÍMITE DE CUANTIFICACIÓN \"Ordenada al Origen\" = 1,19893 mg", ""},
        {"--help", 0, -1, 0, usage, ""},
        {"dos.w9c", 1, 0, 0, "", stop},  // no results window opens
        {"blancos.w9c", 0, 17, 14, "LÍMITE DE DETECCIÓN \"BLANCOS\" = 0.0665546 mg", ""},
        // The report's lines before the failure stay, and the message comes after them.
        {"--informe dos.w9c 2>&1", 1, -1, 22, "Nivel 2 , Replica 1            3.3", ""},
        {"--informe dos.w9c 2>&1", 1, -1, -1, stop, ""},
        {"no-existe.w9c", 1, 0, 0, "", "File not found."},
        // A full disk behind a redirection must not pass for a completed calculation.
        {"--informe " + example + " >/dev/full", 1, 0, 0, "", "Disk full."},
        {"--help >/dev/full", 1, 0, 0, "", "Disk full."},
        {"", 2, 0, 0, "", seeHelp},
        {"a.w9c b.w9c", 2, 0, 0, "", seeHelp},
        {"-x a.w9c", 2, 0, 0, "", seeHelp},
        {"'--separador-decimal=;' a.w9c", 2, 0, 0, "", seeHelp},
        {"--separador-decimal a.w9c", 2, 0, 0, "", seeHelp},
        {"--json " + example, 0, 1, 0, "", ""},
        {"--json " + example + " no-existe.w9c comas.w9c", 1, 3, 0, "", ""},
        {"--alfa=0.05 " + example, 2, 0, 0, "", seeHelp},
        {"--json --alfa=1 " + example, 2, 0, 0, "", seeHelp},
        {"--autoverificacion", 0, -1, -1, "Verificación superada: cumplen las 27 comprobaciones.",
         ""},
        {"--autoverificacion " + example, 2, 0, 0, "", seeHelp},
        {"--verificar-auditoria auditado.w9c", 0, 1, 0,
         "Registro de auditoría íntegro (2 entradas): la cadena está completa y el estudio "
         "«auditado.w9c» está como lo dejó la última entrada.",
         ""},
        {"--verificar-auditoria editado.w9c", 1, 2, 1,
         "Línea 2: no sigue a la línea 1: esa entrada se modificó o falta una entrada entre ambas.",
         ""},
        {"--verificar-auditoria comas.w9c", 1, 0, 0, "", "File not found."},  // no trail
        {"--verificar-auditoria --informe a.w9c", 2, 0, 0, "", seeHelp}};
    for (const Expected& run : runs) {
        SCOPED_TRACE(run.arguments);
        // The program's own redirections come first, so that the row's own take over.
        const int status =
            std::system(("cd '" + dir.string() + "' && LC_ALL=C '" LDC_CALC_BINARY "' >out 2>err " +
                         run.arguments)
                            .c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, run.status);
        const Lines out = linesOf(dir / "out");
        const Lines err = linesOf(dir / "err");
        EXPECT_EQ(run.outLines < 0 ? run.outLines : long(out.size()), run.outLines);
        const long at = run.at >= 0 ? run.at : long(out.size()) + run.at;
        if (!run.outLine.empty()) {
            EXPECT_EQ(at >= 0 && at < long(out.size()) ? out[at] : "<none>", run.outLine);
        }
        EXPECT_EQ(err.empty() ? "" : err.back(), run.lastError);
    }
    // Every key laboratory systems read, in each record; the failing file's error and nulls.
    std::system(("cd '" + dir.string() + "' && '" LDC_CALC_BINARY "' --json " + example +
                 " no-existe.w9c blancos.w9c >out")
                    .c_str());
    const Lines json = linesOf(dir / "out");
    ASSERT_EQ(json.size(), 3u);
    for (const char* key :
         {"\"ld\":0.066554621848739545", "\"ich_blancos\":{\"ld\":0.066554621848739545",
          "\"n_blancos\":3,\"s_blancos\":0.02"})
        EXPECT_NE(json[2].find(key), std::string::npos) << key << json[2];
    for (const char* key :
         {"\"error\":null,\"avisos\":[],\"n\":9,\"niveles\":3,\"resultados\":{\"pendiente\":",
          "\"base\":\"Regresión\",\"ld\":0.4486221301392399",
          "\"ich_regresion\":{\"ld\":0.44862213013923991,", "\"ich_blancos\":null",
          "\"din32645\":{\"alfa\":0.01,\"beta\":0.01,\"k\":3,\"m\":1,\"y_critico\":", "\"x_bg\":",
          "\"falta_de_ajuste\":{\"F\":", "\"mandel\":{\"PW\":", "\"error_relativo_pct\":[",
          "\"pendiente_incluye_1\":true",
          "\"por_nivel\":[{\"x\":2,\"n\":3,\"media\":2,\"recuperacion_pct\":100,\"drs_pct\":5}"})
        EXPECT_NE(json[0].find(key), std::string::npos) << key;
    EXPECT_EQ(json[1],
              "{\"archivo\":\"no-existe.w9c\",\"error\":\"No se pudo abrir el estudio "
              "«no-existe.w9c»: el archivo no existe.\\nFile not found.\",\"avisos\":[],\"n\":null,"
              "\"niveles\":null,\"resultados\":null,\"limites\":null,\"linealidad\":null,"
              "\"recuperacion\":null}");
    // A file name that is not UTF-8 still gives a JSON text: the stray byte becomes U+FFFD.
    std::system(
        ("cd '" + dir.string() + "' && '" LDC_CALC_BINARY "' --json $(printf 'a\\377ñ.w9c') >out")
            .c_str());
    EXPECT_EQ(linesOf(dir / "out").at(0).substr(0, 26), "{\"archivo\":\"a\\ufffdñ.w9c\"");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace ldc
