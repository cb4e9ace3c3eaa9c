#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

#include "StudyFixtures.h"
#include "files/Cp1252.h"
#include "files/Sha256.h"
#include "files/StudyFile.h"
#include "study/LdcError.h"

namespace ldc {
namespace {

namespace fs = std::filesystem;
using G = StudyTable;
using testing::makeStudy;
using Change = std::function<void(CalibrationStudy&)>;

// What the error box shows: the context line, when there is one, and the message.
std::string errorOf(auto&& call) {
    try {
        call();
    } catch (const Error& e) {
        return errorBoxText(e);
    }
    return "(no error)";
}

// File lines written as "a|b|": every '|' stands for the CR LF that ends a line.
std::string crlf(std::string lines) {
    for (std::size_t at = 0; (at = lines.find('|', at)) != std::string::npos; at += 2)
        lines.replace(at, 1, "\r\n");
    return lines;
}

const std::string kHeader = crlf("M|A|F|mg|mg|Regresi\xF3n|");
const std::string kNotInteger = "' is not a valid integer value";
const std::string kOpenRefusal = "No se puede abrir el estudio: ";

CalibrationStudy readInto(const std::string& bytes) {
    CalibrationStudy study;
    applyStudyFileData(parseStudyFile(bytes), study, "x.w9c");
    return study;
}

CalibrationStudy twoLevelStudy() {
    return makeStudy({{"1", "2"}, {{"1,1", "1,2", "1,3"}, {"2,1", "2,2"}}});
}

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(StudyFileWriter, WritesTwoLevelsOfThreeAndTwoReplicatesAs22Lines) {
    EXPECT_EQ(studyFileBytes(twoLevelStudy()),
              crlf("Valoraci\xF3n de prueba|Analista|06/12/2026|mg|mg|Regresi\xF3n|"
                   "2|1|3|2|2|5|1,1|1,2|1,3|2,1|2,2||||||"));
}

// Nothing is written that could not be read back as it was.
TEST(StudyFileWriter, RefusesWhatCouldNotBeReadBack) {
    const std::pair<Change, std::string> rows[] = {
        {[](auto& s) { s.setColumnCount(G::levels, 12); },
         "el número de niveles (11) debe estar entre 0 y 10."},
        {[](auto& s) { s.setRowCount(G::results, kMaxFileRows + 2); },
         "el número total de réplicas (100001) debe estar entre 0 y 100000."},
        {[](auto& s) { setRecoveredAmountText(s, 3, "1\x1a"); },
         "en el dato de la fila 3 hay un carácter Ctrl-Z (26), que cortaría el archivo."},
        {[](auto& s) { s.setText(StudyField::date, "3\r5"); },
         "en la fecha hay un retorno de carro (CR), que partiría la línea."},
        {[](auto& s) { s.setBlankReadings(std::vector<std::string>(2, "\r")); },
         "en la lectura de blanco 1 hay un retorno de carro (CR), que partiría la línea."},
        {[](auto& s) { s.setBlankReadings(std::vector<std::string>(kMaxFileBlanks + 1, "0")); },
         "el número de lecturas de blancos (1001) debe estar entre 0 y 1000."},
        {[](auto& s) { s.setText(StudyField::addedUnits, "Ωg"); },
         "el carácter \"Ω\" (U+03A9), en las unidades de la cantidad adicionada, no existe en la "
         "codificación Windows-1252 de los archivos de estudio."},
    };
    for (const auto& [change, message] : rows) {
        CalibrationStudy study = twoLevelStudy();
        change(study);
        EXPECT_EQ(errorOf([&] { studyFileBytes(study); }),
                  "No se puede guardar el estudio: " + message);
    }
    CalibrationStudy study = makeStudy({{"1"}, {{"1"}}});  // the largest a file holds
    setReplicateCountText(study, 1, "100000");
    study.setRowCount(G::results, kMaxFileRows + 1);
    EXPECT_EQ(parseStudyFile(studyFileBytes(study)).rows.size(), 100000u);
}

// Every study the window can hold, complete or in progress, comes back exactly as it stood.
TEST(StudyFileRoundTrip, EveryStudyComesBackAsItStands) {
    // The level count (0) or a replicate count (1, 2) as typed; -1 for a new study.
    const std::pair<int, const char*> changes[] = {{0, "02"}, {0, ""},   {0, "5"},     {0, "1"},
                                                   {0, "99"}, {0, "ab"}, {2, ""},      {1, "2.5"},
                                                   {1, "-1"}, {2, "4"},  {2, "99999"}, {-1, ""}};
    for (const auto& [level, text] : changes) {
        CalibrationStudy study = level < 0 ? CalibrationStudy() : twoLevelStudy();
        if (level > 0)
            setReplicateCountText(study, level, text);
        else if (level == 0)
            study.setText(StudyField::levelCount, text);
        study.setText(StudyField::method, "Determinación de ácido acetilsalicílico");
        setSecondValueText(study, 1, "oculto");
        setRecoveredAmountText(study, 2, "‰€\xC2\x81línea\nsin CR");
        const std::string bytes = studyFileBytes(study);
        EXPECT_EQ(studyFileBytes(readInto(bytes)), bytes);
    }
    // Placed levels, the in-progress line, the levels not placed; labels up to a blank count.
    CalibrationStudy study = twoLevelStudy();
    study.setText(StudyField::levelCount, "1");
    setReplicateCountText(study, 2, "");
    const std::string bytes = studyFileBytes(study);
    EXPECT_EQ(bytes.substr(bytes.find("1\r\n1\r\n3\r\n")),
              crlf("1|1|3|estudio en curso: niveles 2, filas 5|2||1,1|1,2|1,3|2,1|2,2||||||"));
    const CalibrationStudy read = readInto(bytes);
    EXPECT_EQ(levelHeaderText(read, 2) + "|" + rowLabelText(read, 3) + "|" + rowLabelText(read, 4),
              "Nivel 2|Nivel 1 , Replica 3|");

    std::string everyByte;  // but CR and Ctrl-Z, which end a value
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != 0x1a)
            everyByte += static_cast<char>(b);
    const std::string file =
        crlf("\xF3\xB5\x80\x89\x9F\xFF\x81|A|F|mg|mg|R|1|2|1|1|") + everyByte + "\r\nx\r\n";
    EXPECT_EQ(studyFileBytes(readInto(file)), file);
}

// Blank readings follow the data: a reader that stops after the data reads the same study,
// and the study without its readings writes exactly the bytes it wrote before they existed.
TEST(StudyFileRoundTrip, BlankReadingsFollowTheDataAndComeBack) {
    for (const bool inProgress : {false, true}) {
        CalibrationStudy study = twoLevelStudy();
        if (inProgress)
            setReplicateCountText(study, 2, "");
        const std::string dataPart = studyFileBytes(study);
        study.setBlankReadings({"0,012", "", "0.015€", "", ""});
        const std::string bytes = studyFileBytes(study);
        EXPECT_EQ(bytes, dataPart + crlf("blancos: 3|0,012||0.015\x80|"));
        const CalibrationStudy read = readInto(bytes);
        EXPECT_EQ(blankReadingTexts(read), (std::vector<std::string>{"0,012", "", "0.015€"}));
        EXPECT_EQ(studyFileBytes(read), bytes);
    }
}

// Where Windows-1252 departs from Latin-1; the five bytes it leaves undefined keep their number.
TEST(StudyFileRoundTrip, ReadsBytes80To9FAsTheirCharacters) {
    std::string bytes;
    for (int b = 0x80; b <= 0x9F; ++b)
        bytes += static_cast<char>(b);
    EXPECT_EQ(cp1252ToUtf8(bytes),
              "\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152"
              "\u008D\u017D\u008F\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122"
              "\u0161\u203A\u0153\u009D\u017E\u0178");
}

// What a file yields: the error, or its data rows as [recovered|second value].
std::string outcome(const std::string& bytes) {
    try {
        std::string rows;
        for (const auto& row : parseStudyFile(bytes).rows)
            rows += "[" + row[0] + "|" + row[1] + "]";
        return rows;
    } catch (const Error& e) {
        return e.what();
    }
}

TEST(StudyFileReader, MalformedAndOddFiles) {
    const std::string refusal = kOpenRefusal + "el número ";
    std::string utf16;
    for (const char c : kHeader + crlf("2|"))
        utf16 += {c, '\0'};
    const std::pair<std::string, std::string> rows[] = {
        {kHeader + crlf("abc|"), "'abc" + kNotInteger},
        {kHeader + crlf("2|1|3|2|2|5,0|"), "'5,0" + kNotInteger},
        {kHeader + crlf("11|"), refusal + "de niveles (11) debe estar entre 0 y 10."},
        {kHeader + crlf("0|100001|"),
         refusal + "total de réplicas (100001) debe estar entre 0 y 100000."},
        {kHeader + crlf("3|1|3|2|-1|3|3|5|"),
         refusal + "de réplicas del nivel 2 (-1) no puede ser negativo."},
        {kHeader + std::string("2\0|", 3), "'2\\x00|" + kNotInteger},
        {utf16, "'\\x00\\x0A\\x002\\x00" + kNotInteger},
        {kHeader + "2\n1\r\n", "'2\\x0A1" + kNotInteger},    // a lone LF does not end a line
        {kHeader + crlf("1|1|1|1|") + "\n7\r\n", "[\n7|]"},  // LF after CR LF starts a value
        {kHeader + "1\r1\r2\r2\r7\r8\r", "[7|][8|]"},
        {kHeader + crlf("1|1|2|2|7\x1a|8|9|"), "[7|][|]"},  // Ctrl-Z ends the text
        {kHeader + crlf("1|1|1|1|7|") + "x", "[7|x]"},
        {kHeader + crlf("1|1|1|1|7|a|sobra|2|"), "[7|a]"},
        {kHeader + crlf("|estudio en curso: niveles 1, filas 2|1||7|8|a|"), "[7|a][8|]"},
        {kHeader + crlf("x|estudio en curso: niveles 11, filas 0|"),
         refusal + "de niveles (11) debe estar entre 0 y 10."},
        {kHeader + crlf("x|estudio en curso: niveles 1, filas |"), "'x" + kNotInteger},
        {kHeader + crlf("1|1|1|1|7||blancos:2|1|"), "[7|]"},  // not the announcing line
        {kHeader + crlf("1|1|1|1|7||blancos: 2x|"), "'2x" + kNotInteger},
        {kHeader + crlf("1|1|1|1|7||blancos: -1|"),
         refusal + "de lecturas de blancos (-1) debe estar entre 0 y 1000."},
        {kHeader + crlf("1|1|1|1|7||blancos: 2|0,1|"),
         "Faltan lecturas de blancos: la línea 13 anuncia 2 y el archivo termina tras 1."},
    };
    for (const auto& [bytes, expected] : rows)
        EXPECT_EQ(outcome(bytes), expected) << bytes;
    EXPECT_EQ(errorOf([&] { parseStudyFile(kHeader + crlf("0|0|blancos: |"), "b.w9c"); }),
              "No se pudo abrir el estudio «b.w9c»: el número de lecturas de blancos (línea 9) no "
              "es un número entero.\n'" +
                  kNotInteger + ".");
}

// The error `call` raises in a child process after `prepare`; one that hangs fails there.
std::string errorInChild(const std::function<bool()>& prepare, const std::function<void()>& call) {
    int channel[2];
    EXPECT_EQ(::pipe(channel), 0);
    if (::fork() == 0) {
        ::alarm(10);
        const std::string message = prepare() ? errorOf(call) : "(preparation failed)";
        ::_exit(::write(channel[1], message.data(), message.size()) < 0);
    }
    ::close(channel[1]);
    std::string message(1024, '\0');
    message.resize(std::max<ssize_t>(::read(channel[0], message.data(), message.size()), 0));
    ::close(channel[0]);
    ::wait(nullptr);
    return message;
}

class StudyFileSave : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::create_directory(m_folder));
        fs::permissions(m_folder, fs::perms::all);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    auto entries() const { return std::ranges::distance(fs::directory_iterator(m_folder)); }

    const fs::path m_folder =
        fs::temp_directory_path() / ("ldc-guardar-" + std::to_string(::getpid()));
    const CalibrationStudy m_study = makeStudy(testing::workedExample());
};

// A new file gets the usual permissions, a replaced one its own; a symbolic link stays one.
TEST_F(StudyFileSave, WritesTheFileKeepingPermissionsAndLinks) {
    const mode_t savedMask = ::umask(027);
    saveStudyFile(m_folder / "nuevo.w9c", m_study);
    ::umask(savedMask);
    const fs::path old = m_folder / "viejo.w9c";
    std::ofstream(old) << "antes";
    fs::permissions(old, fs::perms(0604));
    fs::create_symlink("viejo.w9c", m_folder / "enlace.w9c");
    saveStudyFile(m_folder / "enlace.w9c", m_study);
    EXPECT_EQ(fs::status(m_folder / "nuevo.w9c").permissions(), fs::perms(0640));
    EXPECT_EQ(fs::status(old).permissions(), fs::perms(0604));
    EXPECT_EQ(contentOf(old), studyFileBytes(m_study));
    EXPECT_TRUE(fs::is_symlink(m_folder / "enlace.w9c"));
    EXPECT_EQ(entries(), 3) << "no temporary left behind";
}

// The digest that names a saved file: the published SHA-256 test vectors, and the file's
// digest equal to that of the bytes it holds, read in more than one block.
TEST_F(StudyFileSave, DigestOfBytesAndOfTheFileOnDisk) {
    EXPECT_EQ(sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    const std::string large(200000, '\x9f');
    std::ofstream(m_folder / "grande.w9c", std::ios::binary) << large;
    EXPECT_EQ(fileSha256Hex(m_folder / "grande.w9c"), sha256Hex(large));
    EXPECT_EQ(fileSha256Hex(m_folder / "falta.w9c"), std::nullopt);
}

TEST_F(StudyFileSave, FailuresSayWhichFileAndWhatHappened) {
    const fs::path file = m_folder / "ensayo.w9c", folder = m_folder / "carpeta.w9c";
    ASSERT_EQ(::mkfifo((m_folder / "tubería.w9c").c_str(), 0600), 0);
    fs::create_directory(folder);
    std::ofstream(m_folder / "vacío.w9c").close();
    std::ofstream(m_folder / "enorme.w9c").close();
    fs::resize_file(m_folder / "enorme.w9c", kMaxFileBytes + 1);  // sparse: nothing is written
    std::ofstream(m_folder / "nivel.w9c") << kHeader + crlf("2|1|3|2|2.5|5|");
    const CalibrationStudy large =  // many blocks to write
        makeStudy({{"1", "2"}, {std::vector<std::string>(3000, "1,2345"), {"2"}}});
    const auto failed = [](std::string operation, std::string name, std::string what) {
        return "No se pudo " + operation + " el estudio «" + name + "»: " + what + ".\n";
    };
    const std::string special =
        "» no es un archivo de datos, sino un dispositivo, una tubería u "
        "otro archivo especial.";
    const std::function<bool()> none = [] { return true; };
    const std::tuple<std::function<bool()>, bool, fs::path, std::string> rows[] = {
        {[] {
             std::signal(SIGXFSZ, SIG_IGN);  // writes beyond the limit fail as on a full disk
             const rlimit limit{4096, 4096};
             return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
         },
         true, file,
         failed("guardar", "ensayo.w9c", "el archivo supera el tamaño máximo permitido") +
             "Disk full."},
        {[&] {  // read-only although the folder would let it be replaced; root is not stopped
             return ::chmod(file.c_str(), 0444) == 0 && (::geteuid() != 0 || ::setuid(65534) == 0);
         },
         true, file,
         failed("guardar", "ensayo.w9c", "no tiene permiso sobre el archivo o su carpeta") +
             "File access denied."},
        {none, true, m_folder / "falta" / "e.w9c",
         failed("guardar", "e.w9c", "la carpeta no existe") + "Invalid filename."},
        {none, false, m_folder / "falta.w9c",
         failed("abrir", "falta.w9c", "el archivo no existe") + "File not found."},
        {none, false, m_folder / "vacío.w9c",
         failed("abrir", "vacío.w9c",
                "el archivo termina antes de la línea 7, el número de niveles") +
             "'" + kNotInteger + "."},
        {none, false, m_folder / "nivel.w9c",
         failed("abrir", "nivel.w9c",
                "el número de réplicas del nivel 2 (línea 11) no es un número entero") +
             "'2.5" + kNotInteger + "."},
        {none, false, "/dev/zero", kOpenRefusal + "«zero" + special},
        {none, false, m_folder / "tubería.w9c", kOpenRefusal + "«tubería.w9c" + special},
        {none, false, folder, kOpenRefusal + "«carpeta.w9c» es una carpeta, no un archivo."},
        {none, false, m_folder / "enorme.w9c",
         kOpenRefusal +
             "el archivo ocupa 33554433 bytes, más de los 32 MiB que ocupa como mucho un estudio."},
    };
    for (const auto& [prepare, saving, path, message] : rows) {
        std::ofstream(file) << "antes";
        ::chmod(file.c_str(), 0666);
        CalibrationStudy study;
        const auto call = [&] { saving ? saveStudyFile(path, large) : openStudyFile(path, study); };
        EXPECT_EQ(errorInChild(prepare, call), message);
        EXPECT_EQ(contentOf(file), "antes") << message;
        EXPECT_EQ(entries(), 6) << message;
    }
}

}  // namespace
}  // namespace ldc
