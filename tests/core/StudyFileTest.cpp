#include <gtest/gtest.h>

#include <fcntl.h>
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
#include "files/StudyFile.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

namespace ldc {
namespace {

namespace fs = std::filesystem;
using G = StudyGrid;
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
const std::string kSaveRefusal = "No se puede guardar el estudio: ";

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

// Every text the analyst typed: the fields, the level grid's cells column by column and
// the data grid's two value columns row by row (the grids' sizes follow from these).
std::vector<std::string> typedTexts(const StudyDocument& study) {
    std::vector<std::string> texts;
    for (int f = 0; f <= static_cast<int>(StudyField::enivel); ++f)
        texts.push_back(study.text(static_cast<StudyField>(f)));
    for (int i = 1; i < study.columnCount(G::stgnivel); ++i)
        texts.insert(texts.end(),
                     {"|", study.cell(G::stgnivel, i, 1), study.cell(G::stgnivel, i, 2)});
    for (int r = 1; r < study.rowCount(G::stgdatos); ++r)
        texts.insert(texts.end(),
                     {"#", study.cell(G::stgdatos, 1, r), study.cell(G::stgdatos, 2, r)});
    return texts;
}

TEST(StudyFileWriter, WritesTwoLevelsOfThreeAndTwoReplicatesAs22Lines) {
    EXPECT_EQ(studyFileBytes(twoLevelStudy()),
              crlf("Valoraci\xF3n de prueba|Analista|06/12/2026|mg|mg|Regresi\xF3n|"
                   "2|1|3|2|2|5|1,1|1,2|1,3|2,1|2,2||||||"));
}

// Nothing is written that could not be read back as it was: grids beyond the file's limits,
// a CR or Ctrl-Z that would break the lines, text Windows-1252 cannot hold.
TEST(StudyFileWriter, RefusesWhatCouldNotBeReadBack) {
    const std::string inDate = kSaveRefusal + "en la fecha hay ";
    const std::string notUtf8 = inDate + "bytes que no forman un texto UTF-8 válido.";
    const std::string notInFile =
        ", no existe en la codificación Windows-1252 de los archivos "
        "de estudio.";
    const auto date = [](std::string text) -> Change {
        return [text](CalibrationStudy& s) { s.setText(StudyField::efecha, text); };
    };
    const std::pair<Change, std::string> rows[] = {
        {[](auto& s) { s.setColumnCount(G::stgnivel, 12); },
         kSaveRefusal + "el número de niveles (11) debe estar entre 0 y 10."},
        {[](auto& s) { s.setCell(G::stgdatos, 1, 3, "1\x1a"); },
         kSaveRefusal +
             "en el dato de la fila 3 hay un carácter Ctrl-Z (26), que cortaría el archivo."},
        {[](auto& s) { s.setText(StudyField::ecanad, "Ωg"); },
         kSaveRefusal + "el carácter \"Ω\" (U+03A9), en las unidades de la cantidad adicionada" +
             notInFile},
        {date("3\r5"), inDate + "un retorno de carro (CR), que partiría la línea."},
        {date("Jos\xE9"), notUtf8},           // a Windows-1252 byte
        {date("\xE0\x80\xAF"), notUtf8},      // overlong "/"
        {date("\xED\xA0\x80"), notUtf8},      // UTF-16 surrogate
        {date("\xF4\x90\x80\x80"), notUtf8},  // beyond U+10FFFF
        {date("\xC2\x80"), kSaveRefusal + "el carácter de control U+0080, en la fecha" + notInFile},
        {date("x😀"), kSaveRefusal + "el carácter \"😀\" (U+1F600), en la fecha" + notInFile},
    };
    for (const auto& [change, message] : rows) {
        CalibrationStudy study = twoLevelStudy();
        change(study);
        EXPECT_EQ(errorOf([&] { studyFileBytes(study); }), message);
    }
}

TEST(StudyFileWriter, AStreamThatFailsPartWayIsReportedAsAFullDisk) {
    struct FortyBytes : std::streambuf {
        std::string written;
        int overflow(int c) override {
            if (written.size() == 40 || c == traits_type::eof())
                return traits_type::eof();
            written += static_cast<char>(c);
            return c;
        }
    } device;
    std::ostream out(&device);
    EXPECT_EQ(errorOf([&] { writeStudyFile(out, twoLevelStudy()); }),
              "No se pudo guardar el estudio: falló la escritura.\nDisk full.");
    EXPECT_EQ(device.written.size(), 40u);
}

// 100,000 data rows are written and read; one more is refused both ways.
TEST(StudyFileLimits, AHundredThousandRowsAndNotOneMore) {
    for (const int rows : {kMaxFileRows, kMaxFileRows + 1}) {
        CalibrationStudy study = makeStudy({{"1"}, {{"1"}}});
        study.setCell(G::stgnivel, 1, 2, integerText(rows));
        study.setRowCount(G::stgdatos, rows + 1);
        const std::string refused =
            "el número total de réplicas (100001) debe estar entre 0 y 100000.";
        const bool over = rows > kMaxFileRows;
        EXPECT_EQ(errorOf([&] { studyFileBytes(study); }),
                  over ? kSaveRefusal + refused : "(no error)");
        EXPECT_EQ(errorOf([&] { parseStudyFile(kHeader + crlf("0|" + integerText(rows) + "|")); }),
                  over ? kOpenRefusal + refused : "(no error)");
    }
}

// Every text comes back as typed (decimal commas, accents, the never-shown second column, a
// lone LF) and is written back to the same bytes, every byte, even those Windows-1252 leaves
// undefined (0x81 keeps its number).
TEST(StudyFileRoundTrip, KeepsEveryFieldAndCellByteForByte) {
    CalibrationStudy study = makeStudy(
        {{"0,5", "1,5", "2,5"}, {{"0,49", "0,51"}, {"1,5", "1,48"}, {"2,5"}}, "Ordenada", "µg"});
    study.setText(StudyField::emetodo, "Determinación de ácido acetilsalicílico");
    study.setCell(G::stgdatos, 2, 1, "oculto");
    study.setCell(G::stgdatos, 2, 5, "línea\nsin CR");
    study.setCell(G::stgdatos, 1, 4, "‰€\xC2\x81");
    const CalibrationStudy read = readInto(studyFileBytes(study));
    EXPECT_EQ(typedTexts(read), typedTexts(study));
    EXPECT_EQ(studyFileBytes(read), studyFileBytes(study));  // the writer is pinned above
    EXPECT_EQ(read.cell(G::stgdatos, 0, 5), "Nivel 3 , Replica 1");

    std::string everyByte;  // but CR and Ctrl-Z, which end a value
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != 0x1a)
            everyByte += static_cast<char>(b);
    const std::string file =
        crlf("\xF3\xB5\x80\x89\x9F\xFF\x81|A|F|mg|mg|R|1|2|1|1|") + everyByte + "\r\nx\r\n";
    EXPECT_EQ(readInto(file).text(StudyField::emetodo), "óµ€‰Ÿÿ\xC2\x81");
    EXPECT_EQ(studyFileBytes(readInto(file)), file);
}

// Bytes 0x80 to 0x9F, the range where Windows-1252 departs from Latin-1; the five it leaves
// undefined keep their number.
TEST(StudyFileRoundTrip, ReadsWindows1252ControlRangeAsItsCharacters) {
    const char32_t expected[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
    };
    for (int b = 0x80; b <= 0x9F; ++b)
        EXPECT_EQ(cp1252ToUtf8(std::string(1, static_cast<char>(b))), utf8Of(expected[b - 0x80]))
            << std::hex << b;
}

// A study in progress (counts still empty or not whole numbers, a level count not yet
// accepted, a data grid not yet rebuilt) is saved with the grids' sizes in the file and
// comes back as it stands.
TEST(StudyFileInProgress, EveryStudyTheWindowCanHoldComesBackAsItStands) {
    const auto levelCount = [](std::string text) -> Change {
        return [text](CalibrationStudy& s) { s.setText(StudyField::enivel, text); };
    };
    const auto count = [](int level, std::string text) -> Change {
        return [=](CalibrationStudy& s) { s.setCell(G::stgnivel, level, 2, text); };
    };
    const std::pair<const char*, Change> rows[] = {
        {"level count empty", levelCount("")},
        {"level count above the grid's", levelCount("5")},
        {"level count below the grid's", levelCount("1")},
        {"level count beyond the file's", levelCount("99")},
        {"level count not a number", levelCount("ab")},
        {"count empty", count(2, "")},
        {"count not whole", count(1, "2.5")},
        {"count below zero", count(1, "-1")},
        {"counts not those of the data grid", count(2, "4")},
        {"counts beyond the file's total", count(2, "99999")},
    };
    for (const auto& [name, change] : rows) {
        CalibrationStudy study = twoLevelStudy();
        change(study);
        const std::string bytes = studyFileBytes(study);
        const CalibrationStudy read = readInto(bytes);
        EXPECT_EQ(typedTexts(read), typedTexts(study)) << name;
        EXPECT_EQ(studyFileBytes(read), bytes) << name;
    }
    CalibrationStudy fresh;
    EXPECT_EQ(typedTexts(readInto(studyFileBytes(fresh))), typedTexts(fresh));

    // The level count places its levels, the in-progress line follows with the levels it
    // did not place; labels go as far as the counts are whole numbers.
    CalibrationStudy study = twoLevelStudy();
    study.setText(StudyField::enivel, "1");
    study.setCell(G::stgnivel, 2, 2, "");
    const std::string bytes = studyFileBytes(study);
    EXPECT_EQ(bytes.substr(bytes.find("1\r\n1\r\n3\r\n")),
              crlf("1|1|3|estudio en curso: niveles 2, filas 5|2||1,1|1,2|1,3|2,1|2,2||||||"));
    const CalibrationStudy read = readInto(bytes);
    EXPECT_EQ(read.cell(G::stgdatos, 0, 3), "Nivel 1 , Replica 3");
    EXPECT_EQ(read.cell(G::stgdatos, 0, 4), "");
}

// What a file yields: the error, or its data rows as [recovered|second value].
std::string outcome(const std::string& bytes) {
    try {
        const StudyFileData data = parseStudyFile(bytes);
        std::string rows;
        for (const auto& row : data.rows)
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
    struct Row {
        const char* name;
        std::string bytes, outcome;
    } rows[] = {
        {"level count abc", kHeader + crlf("abc|"), "'abc" + kNotInteger},
        {"empty file", "", "'" + kNotInteger},
        {"N not a number", kHeader + crlf("2|1|3|2|2|5,0|"), "'5,0" + kNotInteger},
        {"ending inside the data", kHeader + crlf("1|1|2|2|7|"), "[7|][|]"},
        {"k = 11", kHeader + crlf("11|"), refusal + "de niveles (11) debe estar entre 0 y 10."},
        {"k = -1", kHeader + crlf("-1|"), refusal + "de niveles (-1) debe estar entre 0 y 10."},
        {"k beyond 32 bits", kHeader + crlf("4294967298|"), "'4294967298" + kNotInteger},
        {"count below zero", kHeader + crlf("3|1|3|2|-1|3|3|5|"),
         refusal + "de réplicas del nivel 2 (-1) no puede ser negativo."},
        {"count not whole", kHeader + crlf("2|1|3|2|2.5|5|"), "'2.5" + kNotInteger},
        {"blank before k", kHeader + crlf(" 2|"), "' 2" + kNotInteger},
        {"NUL in k", kHeader + std::string("2\0|", 3), "'2\\x00|" + kNotInteger},
        {"UTF-16", utf16, "'\\x00\\x0A\\x002\\x00" + kNotInteger},
        {"lone LF does not end a line", kHeader + "2\n1\r\n", "'2\\x0A1" + kNotInteger},
        {"lone LF inside a value", kHeader + crlf("1|1|1|1|7\n8|y|"), "[7\n8|y]"},
        {"LF after CR LF starts a value", kHeader + crlf("1|1|1|1|") + "\n7\r\n", "[\n7|]"},
        {"CR alone ends a line", kHeader + "1\r1\r2\r2\r7\r8\r", "[7|][8|]"},
        {"Ctrl-Z ends the text", kHeader + crlf("1|1|2|2|7\x1a|8|9|"), "[7|][|]"},
        {"last line without CR LF", kHeader + crlf("1|1|1|1|7|") + "x", "[7|x]"},
        {"extra lines ignored", kHeader + crlf("1|1|1|1|7|a|sobra|2|"), "[7|a]"},
        {"in progress", kHeader + crlf("|estudio en curso: niveles 1, filas 2|1||7|8|a|"),
         "[7|a][8|]"},
        {"in progress, too many levels", kHeader + crlf("x|estudio en curso: niveles 11, filas 0|"),
         refusal + "de niveles (11) debe estar entre 0 y 10."},
        {"in progress, sizes not numbers", kHeader + crlf("x|estudio en curso: niveles 1, filas |"),
         "'x" + kNotInteger},
    };
    for (const Row& row : rows)
        EXPECT_EQ(outcome(row.bytes), row.outcome) << row.name;
}

// A conversion error says which file and which line, or that the file ended before it.
TEST(StudyFileReader, ConversionErrorsNameTheFileAndLine) {
    const std::string opening = "No se pudo abrir el estudio «x.w9c»: ";
    const std::pair<std::string, std::string> rows[] = {
        {"", opening + "el archivo termina antes de la línea 7, el número de niveles.\n'" +
                 kNotInteger + "."},
        {kHeader + crlf("1|1|3|"),
         opening + "el archivo termina antes de la línea 10, el número total de réplicas.\n'" +
             kNotInteger + "."},
        {kHeader + crlf("2|1|3|2|2.5|5|"),
         opening + "el número de réplicas del nivel 2 (línea 11) no es un número entero.\n'2.5" +
             kNotInteger + "."},
    };
    for (const auto& [bytes, message] : rows)
        EXPECT_EQ(errorOf([&] { parseStudyFile(bytes, "carpeta/x.w9c"); }), message);
}

// The level count stays as written; the row count follows the N line and the labels the
// replicate counts, however large.
TEST(StudyFileOpen, FillsTheStudy) {
    CalibrationStudy study = readInto(kHeader + crlf("02|1|3|2|2|4|a|b|c|d|"));
    EXPECT_EQ(study.text(StudyField::enivel), "02");
    EXPECT_EQ(study.columnCount(G::stgnivel), 3);
    EXPECT_EQ(study.cell(G::stgnivel, 2, 0), "Nivel 2");
    EXPECT_EQ(study.rowCount(G::stgdatos), 5);
    EXPECT_EQ(study.cell(G::stgdatos, 0, 4), "Nivel 2 , Replica 1");
    study = readInto(kHeader + crlf("2|1|2147483647|2|1|2|a|b|"));
    EXPECT_EQ(study.cell(G::stgdatos, 0, 2), "Nivel 1 , Replica 2");
}

TEST(StudyFileOpen, TheShippedExampleIsTheWorkedExample) {
    CalibrationStudy expected = makeStudy(testing::workedExample());
    expected.setText(StudyField::emetodo, "Valoración de cafeína por HPLC");
    expected.setText(StudyField::eanalista, "María López");
    expected.setText(StudyField::efecha, "14/03/2024");
    const std::string path = LDC_EXAMPLES_DIR "/ejemplo.w9c";
    CalibrationStudy study;
    openStudyFile(path, study);
    EXPECT_EQ(study.caption(), path);
    EXPECT_EQ(studyFileBytes(study), studyFileBytes(expected));
    EXPECT_EQ(contentOf(path), studyFileBytes(expected));
}

// Runs `call` in a child process after `prepare` and returns the error text it raised: the
// child keeps process-wide changes (user, limits, signals) away from the other tests.
std::string errorInChild(const std::function<bool()>& prepare, const std::function<void()>& call) {
    int channel[2];
    EXPECT_EQ(::pipe(channel), 0);
    if (::fork() == 0) {
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

// Permissions do not stop root, so a test that relies on them drops to user nobody.
bool becomeOrdinaryUser() {
    return ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0);
}

class StudyFileSave : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::create_directory(m_folder));
        fs::permissions(m_folder, fs::perms::all);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::size_t entries() const {
        return std::distance(fs::directory_iterator(m_folder), fs::directory_iterator());
    }
    static mode_t modeOf(const fs::path& path) {
        struct stat info;
        return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    }

    const fs::path m_folder =
        fs::temp_directory_path() / ("ldc-guardar-" + std::to_string(::getpid()));
    const CalibrationStudy m_study = makeStudy(testing::workedExample());
};

// A new file gets the usual permissions; a replaced one keeps its own, and through a
// symbolic link the file it names is replaced, the link kept.
TEST_F(StudyFileSave, WritesTheFileKeepingPermissionsAndLinks) {
    const mode_t savedMask = ::umask(027);
    saveStudyFile(m_folder / "nuevo.w9c", m_study);
    ::umask(savedMask);
    EXPECT_EQ(modeOf(m_folder / "nuevo.w9c"), 0640u);
    EXPECT_EQ(contentOf(m_folder / "nuevo.w9c"), studyFileBytes(m_study));

    const fs::path old = m_folder / "viejo.w9c";
    std::ofstream(old) << "antes";
    ::chmod(old.c_str(), 0604);
    fs::create_symlink("viejo.w9c", m_folder / "enlace.w9c");
    saveStudyFile(m_folder / "enlace.w9c", m_study);
    EXPECT_EQ(modeOf(old), 0604u);
    EXPECT_EQ(contentOf(old), studyFileBytes(m_study));
    EXPECT_TRUE(fs::is_symlink(m_folder / "enlace.w9c"));
    EXPECT_EQ(entries(), 3u) << "no temporary left behind";
}

TEST_F(StudyFileSave, AFailedSaveLeavesTheOldFileWholeAndNoTemporaryBehind) {
    const fs::path file = m_folder / "ensayo.w9c";
    const CalibrationStudy large = makeStudy(  // many blocks to write
        {{"1", "2"}, {std::vector<std::string>(3000, "1,2345"), {"2"}}});
    const std::string saving = "No se pudo guardar el estudio «ensayo.w9c»: ";
    const std::string denied = saving +
                               "no tiene permiso sobre el archivo o su carpeta.\n"
                               "File access denied.";
    struct Row {
        std::function<bool()> prepare;  // in the child process
        std::string message;
    } rows[] = {
        {[] {
             std::signal(SIGXFSZ, SIG_IGN);  // writes beyond the limit fail as on a full disk
             const rlimit limit{4096, 4096};
             return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
         },
         saving + "el archivo supera el tamaño máximo permitido.\nDisk full."},
        {[this] { return ::chmod(m_folder.c_str(), 0555) == 0 && becomeOrdinaryUser(); }, denied},
        {[file] { return ::chmod(file.c_str(), 0444) == 0 && becomeOrdinaryUser(); },
         denied},  // although the folder would let it be replaced
    };
    for (const Row& row : rows) {
        std::ofstream(file) << "antes";
        ::chmod(file.c_str(), 0666);
        EXPECT_EQ(errorInChild(row.prepare, [&] { saveStudyFile(file, large); }), row.message);
        ::chmod(m_folder.c_str(), 0777);
        EXPECT_EQ(contentOf(file), "antes") << row.message;
        EXPECT_EQ(entries(), 1u) << row.message;
    }
}

TEST_F(StudyFileSave, ReportsFileSystemErrorsWithTheRuntimeMessages) {
    fs::create_directory(m_folder / "carpeta.w9c");
    EXPECT_EQ(errorOf([&] { saveStudyFile(m_folder / "falta" / "e.w9c", m_study); }),
              "No se pudo guardar el estudio «e.w9c»: la carpeta no existe.\nInvalid filename.");
    EXPECT_EQ(errorOf([&] { saveStudyFile(m_folder / "carpeta.w9c", m_study); }),
              "No se pudo guardar el estudio «carpeta.w9c»: es una carpeta, no un archivo.\n"
              "File access denied.");
    CalibrationStudy study;
    EXPECT_EQ(errorOf([&] { openStudyFile(m_folder / "falta.w9c", study); }),
              "No se pudo abrir el estudio «falta.w9c»: el archivo no existe.\nFile not found.");
    EXPECT_EQ(errorOf([&] { openStudyFile(m_folder / "falta" / "e.w9c", study); }),
              "No se pudo abrir el estudio «e.w9c»: la carpeta no existe.\nInvalid filename.");
    EXPECT_EQ(study.caption(), "Nuevo") << "nothing is filled when reading fails";
    EXPECT_EQ(entries(), 1u);
}

// Only a regular file within the bound is read; a device, a pipe or a folder is refused
// without waiting on it, a huge file without reading it.
TEST_F(StudyFileSave, OpensOnlyRegularFilesOfAStudysSize) {
    const fs::path pipe = m_folder / "tubería.w9c", huge = m_folder / "enorme.w9c";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_directory(m_folder / "carpeta.w9c");
    std::ofstream(huge).close();
    fs::resize_file(huge, kMaxFileBytes + 1);  // sparse: nothing is written
    const std::string special =
        "» no es un archivo de datos, sino un dispositivo, una tubería u "
        "otro archivo especial.";
    const std::string tooLarge =
        kOpenRefusal + "el archivo ocupa más de 32 MiB, mucho más que el mayor estudio posible.";
    const std::pair<fs::path, std::string> rows[] = {
        {"/dev/zero", kOpenRefusal + "«zero" + special},
        {pipe, kOpenRefusal + "«tubería.w9c" + special},
        {m_folder / "carpeta.w9c", kOpenRefusal + "«carpeta.w9c» es una carpeta, no un archivo."},
        {huge, tooLarge},
    };
    const auto bounded = [] {  // a reader that waits or reads without end fails here
        const rlimit memory{1 << 30, 1 << 30};
        ::alarm(10);
        return ::setrlimit(RLIMIT_AS, &memory) == 0;
    };
    for (const auto& [path, message] : rows) {
        CalibrationStudy study;
        EXPECT_EQ(errorInChild(bounded, [&] { openStudyFile(path, study); }), message) << path;
    }
    std::ifstream zeros("/dev/zero", std::ios::binary);
    EXPECT_EQ(errorInChild(bounded, [&] { readStudyFileData(zeros); }), tooLarge);
}

}  // namespace
}  // namespace ldc
