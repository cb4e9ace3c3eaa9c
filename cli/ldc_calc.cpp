// ldc-calc: the detection and quantification calculation of a saved study, without the
// windows. It prints the lines of the results window, or of the report window with
// --informe, and stops on the first error exactly where the program would, with the
// error box's text on standard error. With --json it writes, for each of several studies,
// one JSON object with the results and the validation statistics. With --autoverificacion
// it checks its own figures against published reference results, and with
// --verificar-auditoria it checks a study's audit trail.

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/ReferenceData.h"
#include "calc/ResultsText.h"
#include "calc/SelfVerification.h"
#include "calc/ValidationStatistics.h"
#include "cli/ValidationRecord.h"
#include "files/AuditTrail.h"
#include "files/FileErrors.h"
#include "files/StudyFile.h"
#include "report/ReportText.h"
#include "study/CalibrationStudy.h"
#include "study/LdcError.h"
#include "study/LineSink.h"
#include "study/Numbers.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage = "Uso: ldc-calc [--informe] [--separador-decimal=C] ARCHIVO.w9c\n";

constexpr const char* kHelp =
    "Uso: ldc-calc [--informe] [--separador-decimal=C] ARCHIVO.w9c\n"
    "     ldc-calc --json [--alfa=A] [--beta=B] [--k=K] [--m=M] ARCHIVO.w9c...\n"
    "     ldc-calc --autoverificacion\n"
    "     ldc-calc --verificar-auditoria ARCHIVO.w9c\n"
    "\n"
    "Calcula el límite de detección y el límite de cuantificación del método a partir\n"
    "de un estudio de curva de calibración guardado en un archivo .w9c. Ajusta por\n"
    "mínimos cuadrados la recta de la cantidad recuperada frente a la cantidad\n"
    "adicionada y escribe en la salida estándar, una por línea, las líneas de la\n"
    "ventana de resultados: pendiente y ordenada al origen con sus límites de\n"
    "confianza del 95 %, desviación estándar de regresión, coeficientes de variación\n"
    "y de determinación, y los límites de detección y de cuantificación según la base\n"
    "elegida en el estudio (\"Regresión\" u \"Ordenada al Origen\").\n"
    "\n"
    "Opciones:\n"
    "  --informe                escribe el informe completo (información general,\n"
    "                           niveles, datos y resultados) en lugar de los\n"
    "                           resultados solos.\n"
    "  --separador-decimal=C    separador decimal, '.' o ',', de los resultados. Sin\n"
    "                           esta opción se usa el de la configuración regional\n"
    "                           (LC_ALL, LC_NUMERIC o LANG). Los valores del estudio\n"
    "                           se leen con coma o con punto, sea cual sea.\n"
    "  --json                   escribe, para cada archivo y en el orden dado, un\n"
    "                           objeto JSON en una línea (JSON Lines, UTF-8): los\n"
    "                           resultados, los límites según cada enfoque (ICH y\n"
    "                           DIN 32645), la linealidad (residuos, falta de ajuste,\n"
    "                           prueba de Mandel) y la recuperación. Un archivo que\n"
    "                           falla da un objeto con su \"error\" y los demás siguen.\n"
    "  --alfa=A, --beta=B       probabilidades de error de DIN 32645, entre 0 y 1\n"
    "                           (0.01 cada una). Solo con --json.\n"
    "  --k=K                    inversa de la incertidumbre relativa del límite de\n"
    "                           cuantificación de DIN 32645 (3). Solo con --json.\n"
    "  --m=M                    mediciones repetidas de una muestra (1). Solo con --json.\n"
    "  --autoverificacion       verifica el programa en este equipo: recalcula datos de\n"
    "                           referencia con resultados publicados o certificados\n"
    "                           (ejemplo de la ayuda, NIST StRD Norris y Pontius,\n"
    "                           DIN 32645) y escribe la tabla de comprobaciones con el\n"
    "                           equipo, el usuario, la versión y la fecha.\n"
    "  --verificar-auditoria    comprueba el registro de auditoría del estudio\n"
    "                           (ARCHIVO.w9c.auditoria): que cada entrada siga a la\n"
    "                           anterior y que el estudio esté como lo dejó la última.\n"
    "                           Escribe el veredicto y nombra la primera entrada rota.\n"
    "  --help                   muestra esta ayuda y termina.\n"
    "\n"
    "Si el archivo no se puede leer o el cálculo se detiene, las líneas ya escritas\n"
    "quedan en la salida estándar y el mensaje de error va a la salida de errores,\n"
    "en su última línea, precedido de una línea que dice dónde ocurrió cuando se sabe.\n"
    "\n"
    "Estado de salida: 0 si el cálculo se completó, 1 si hubo un error al leer el\n"
    "estudio o al calcular (con --json, en alguno de los archivos), 2 si la línea de\n"
    "órdenes no es válida. Con --autoverificacion: 0 si cumplen todas las\n"
    "comprobaciones, 1 si alguna no cumple. Con --verificar-auditoria, 0 solo si el\n"
    "registro está íntegro y el estudio coincide con él; 1 si no, o si falta o no se\n"
    "puede leer.\n";

// Each line goes out as soon as it is made, so a report that stops part-way leaves the
// lines before the failure, as the report window does.
class StdoutSink : public ldc::LineSink {
public:
    void appendLine(const std::string& line) override {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
};

struct Options {
    bool help = false;
    bool report = false;
    bool json = false;
    bool selfVerification = false;
    bool statisticsParameters = false;
    bool verifyTrail = false;
    std::optional<char> separator;
    std::string path;
    std::vector<std::string> paths;
    ldc::ValidationParameters parameters;
};

struct UsageError {
    std::string message;
};

// A number in the C locale's form, the whole text, within the range the statistic allows.
double parameterValue(std::string_view option, std::string_view text, double low, bool lowIncluded,
                      std::optional<double> high) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool inRange = error == std::errc() && end == text.data() + text.size() &&
                         std::isfinite(value) && (lowIncluded ? value >= low : value > low) &&
                         (!high || value < *high);
    if (!inRange)
        throw UsageError{"valor no válido para " + std::string(option) + ": '" + std::string(text) +
                         "'"};
    return value;
}

Options parseArguments(int argc, char** argv) {
    Options options;
    bool onlyFiles = false;
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        constexpr std::string_view kSeparatorOption = "--separador-decimal=";
        if (!onlyFiles && arg == "--") {
            onlyFiles = true;
        } else if (!onlyFiles && (arg == "--help" || arg == "-h")) {
            options.help = true;
        } else if (!onlyFiles && arg == "--informe") {
            options.report = true;
        } else if (!onlyFiles && arg == "--autoverificacion") {
            options.selfVerification = true;
        } else if (!onlyFiles && arg == "--verificar-auditoria") {
            options.verifyTrail = true;
        } else if (!onlyFiles && arg == "--json") {
            options.json = true;
        } else if (!onlyFiles && arg.starts_with("--alfa=")) {
            options.parameters.alpha = parameterValue("--alfa", arg.substr(7), 0, false, 1.0);
            options.statisticsParameters = true;
        } else if (!onlyFiles && arg.starts_with("--beta=")) {
            options.parameters.beta = parameterValue("--beta", arg.substr(7), 0, false, 1.0);
            options.statisticsParameters = true;
        } else if (!onlyFiles && arg.starts_with("--k=")) {
            options.parameters.k = parameterValue("--k", arg.substr(4), 0, false, {});
            options.statisticsParameters = true;
        } else if (!onlyFiles && arg.starts_with("--m=")) {
            options.parameters.m = parameterValue("--m", arg.substr(4), 1, true, {});
            options.statisticsParameters = true;
        } else if (!onlyFiles && arg.starts_with(kSeparatorOption)) {
            const std::string_view value = arg.substr(kSeparatorOption.size());
            // The locales the laboratory works in use a point or a comma; a digit, a
            // sign or an exponent letter as separator would make numbers ambiguous.
            if (value != "." && value != ",")
                throw UsageError{"el separador decimal debe ser '.' o ',', no '" +
                                 std::string(value) + "'"};
            options.separator = value[0];
        } else if (!onlyFiles && arg.size() > 1 && arg[0] == '-') {
            throw UsageError{"opción desconocida: " + std::string(arg)};
        } else {
            ++files;
            options.path = arg;
            options.paths.emplace_back(arg);
        }
    }
    if (options.help)
        return options;
    if (options.selfVerification) {
        if (files > 0 || options.json || options.report || options.separator ||
            options.statisticsParameters || options.verifyTrail)
            throw UsageError{"--autoverificacion no admite archivos ni otras opciones"};
        return options;
    }
    if (files == 0)
        throw UsageError{"falta el archivo del estudio"};
    if (options.json && options.report)
        throw UsageError{"--json y --informe no se pueden usar juntas"};
    if (!options.json && options.statisticsParameters)
        throw UsageError{"--alfa, --beta, --k y --m solo se usan con --json"};
    if (options.verifyTrail &&
        (options.json || options.report || options.statisticsParameters || options.separator))
        throw UsageError{"--verificar-auditoria no se combina con otras opciones"};
    if (files > 1 && !options.json)
        throw UsageError{"se admite un solo archivo de estudio"};
    return options;
}

// The error box's text on standard error: the context line, when there is one, then the
// message, which stays the last line.
int fail(const char* boxText) {
    std::fflush(stdout);
    std::fputs(boxText, stderr);
    std::fputc('\n', stderr);
    return kExitError;
}

// A failed write to standard output (a full disk behind a redirection) must not pass
// for a completed calculation.
int finishOutput() {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return kExitOk;
    return fail(ldc::errorBoxText(ldc::ioErrorMessage(ldc::ioErrorCode(errno))).c_str());
}

// Every file in one process, each record written as soon as it is made; a failing file
// does not stop the others.
int runJson(const Options& options) {
    bool allSucceeded = true;
    std::string line;
    for (const std::string& path : options.paths) {
        allSucceeded = ldc::validationRecord(path, options.parameters, line) && allSucceeded;
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    const int status = finishOutput();
    return status == kExitOk && !allSucceeded ? kExitError : status;
}

// The verification table on standard output; the status says whether every check passed.
int runSelfVerification() {
    const std::vector<ldc::VerificationRow> rows = ldc::runSelfVerification(ldc::referenceCases());
    StdoutSink sink;
    for (const std::string& line :
         ldc::verificationTextLines(rows, ldc::currentVerificationContext()))
        sink.appendLine(line);
    const int status = finishOutput();
    return status == kExitOk && !ldc::allPassed(rows) ? kExitError : status;
}

// The verdict on standard output; a trail that is not intact is a failure for the scripts
// that run the check.
int runTrailCheck(const Options& options) {
    const ldc::AuditTrail trail = ldc::readAuditTrail(options.path);
    for (const std::string& line : trail.verdict.lines(options.path)) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
    const int status = finishOutput();
    return status == kExitOk && !trail.verdict.intact() ? kExitError : status;
}

int run(const Options& options) {
    if (options.selfVerification)
        return runSelfVerification();
    if (options.json)
        return runJson(options);
    if (options.verifyTrail)
        return runTrailCheck(options);
    ldc::setDecimalSeparator(options.separator.value_or(ldc::decimalSeparatorFromEnvironment()));
    ldc::CalibrationStudy study;
    ldc::openStudyFile(options.path, study);
    ldc::CalibrationResults results;
    StdoutSink sink;
    if (options.report)
        ldc::writeReport(study, results, sink);
    else
        ldc::calculateResults(study, results, sink);
    return finishOutput();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = parseArguments(argc, argv);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "ldc-calc: %s\n%sPruebe 'ldc-calc --help' para más información.\n",
                     ldc::visibleText(e.message).c_str(), kUsage);
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(kHelp, stdout);
        return finishOutput();
    }
    try {
        return run(options);
    } catch (const std::bad_alloc&) {
        // Said without asking for memory to say it.
        return fail(ldc::kOutOfMemoryText);
    } catch (...) {
        return fail(ldc::errorBoxText(std::current_exception()).c_str());
    }
}
