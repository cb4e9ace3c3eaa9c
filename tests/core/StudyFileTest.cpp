#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

#include "StudyFixtures.h"
#include "files/StudyFile.h"
#include "study/LdcError.h"

namespace ldc {
namespace {

namespace fs = std::filesystem;
using G = StudyGrid;
using testing::makeStudy;

std::string errorOf(auto&& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.what();
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

// Nothing is written that could not be read back as it was: counts beyond the file's
// limits, a CR or Ctrl-Z that would break the lines, text Windows-1252 cannot hold.
TEST(StudyFileWriter, RefusesWhatCouldNotBeReadBack) {
    const std::string refusal = "No se puede guardar el estudio: ";
    const std::string inDate = refusal + "en la fecha hay ";
    const std::string notUtf8 = inDate + "bytes que no forman un texto UTF-8 válido.";
    const std::string notInFile =
        ", no existe en la codificación Windows-1252 de los archivos "
        "de estudio.";
    using Change = std::function<void(CalibrationStudy&)>;
    const auto date = [](std::string text) -> Change {
        return [text](CalibrationStudy& s) { s.setText(StudyField::efecha, text); };
    };
    const std::pair<Change, std::string> rows[] = {
        {[](auto& s) { s.setCell(G::stgnivel, 2, 2, "2,0"); }, "'2,0" + kNotInteger},
        {[](auto& s) { s.setText(StudyField::enivel, "-1"); },
         refusal + "el número de niveles (-1) debe estar entre 0 y 10."},
        {[](auto& s) { s.setCell(G::stgnivel, 2, 2, "99998"); },
         refusal + "el número total de réplicas (100001) debe estar entre 0 y 100000."},
        {[](auto& s) { s.setCell(G::stgdatos, 1, 3, "1\x1a"); },
         refusal + "en el dato de la fila 3 hay un carácter Ctrl-Z (26), que cortaría el archivo."},
        {[](auto& s) { s.setCell(G::stgdatos, 2, 2, "Ωg"); },
         refusal + "el carácter \"Ω\" (U+03A9), en el segundo valor de la fila 2" + notInFile},
        {date("3\r5"), inDate + "un retorno de carro (CR), que partiría la línea."},
        {date("Jos\xE9"), notUtf8},           // a Windows-1252 byte
        {date("\xE0\x80\xAF"), notUtf8},      // overlong "/"
        {date("\xED\xA0\x80"), notUtf8},      // UTF-16 surrogate
        {date("\xF4\x90\x80\x80"), notUtf8},  // beyond U+10FFFF
        {date("\xC2\x80"), refusal + "el carácter de control U+0080, en la fecha" + notInFile},
        {date("x😀"), refusal + "el carácter \"😀\" (U+1F600), en la fecha" + notInFile},
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
    EXPECT_EQ(errorOf([&] { writeStudyFile(out, twoLevelStudy()); }), "Disk full");
    EXPECT_EQ(device.written.size(), 40u);
}

// Every text comes back as typed (decimal commas, accents, the never-shown second column, a
// lone LF) and is written back to the same bytes, every byte, even those Windows-1252 leaves
// undefined (0x81 keeps its number).
TEST(StudyFileRoundTrip, KeepsEveryFieldAndCellByteForByte) {
    CalibrationStudy study = makeStudy(
        {{"0,5", "1,5", "2,5"}, {{"0,49", "0,51"}, {"1,5", "1,48"}, {"2,5"}}, "Ordenada", "µg"});
    study.setText(StudyField::emetodo, "Determinación de ácido acetilsalicílico");
    study.setText(StudyField::eanalista, "Begoña Núñez");
    study.setCell(G::stgdatos, 2, 1, "oculto");
    study.setCell(G::stgdatos, 2, 5, "línea\nsin CR");
    study.setCell(G::stgdatos, 1, 4, "‰€\xC2\x81");
    const CalibrationStudy read = readInto(studyFileBytes(study));
    EXPECT_EQ(studyFileBytes(read), studyFileBytes(study));  // the writer is pinned above
    EXPECT_EQ(read.text(StudyField::emetodo), "Determinación de ácido acetilsalicílico");
    EXPECT_EQ(read.text(StudyField::ecanad), "µg");
    EXPECT_EQ(read.cell(G::stgnivel, 1, 1), "0,5");
    EXPECT_EQ(read.cell(G::stgdatos, 0, 5), "Nivel 3 , Replica 1");
    EXPECT_EQ(read.cell(G::stgdatos, 1, 4), "‰€\xC2\x81");
    EXPECT_EQ(read.cell(G::stgdatos, 2, 5), "línea\nsin CR");

    std::string everyByte;  // but CR and Ctrl-Z, which end a value
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != 0x1a)
            everyByte += static_cast<char>(b);
    const std::string file =
        crlf("\xF3\xB5\x80\x89\x9F\xFF\x81|A|F|mg|mg|R|1|2|1|1|") + everyByte + "\r\nx\r\n";
    EXPECT_EQ(readInto(file).text(StudyField::emetodo), "óµ€‰Ÿÿ\xC2\x81");
    EXPECT_EQ(studyFileBytes(readInto(file)), file);
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
    const std::string refusal = "No se puede abrir el estudio: el número ";
    struct Row {
        const char* name;
        std::string bytes, outcome;
    } rows[] = {
        {"level count abc", kHeader + crlf("abc|"), "'abc" + kNotInteger},
        {"empty file", "", "'" + kNotInteger},
        {"N not a number", kHeader + crlf("2|1|3|2|2|5,0|"), "'5,0" + kNotInteger},
        {"ending before N", kHeader + crlf("2|1|3|"), "'" + kNotInteger},
        {"ending inside the data", kHeader + crlf("1|1|2|2|7|"), "[7|][|]"},
        {"k = 11", kHeader + crlf("11|"), refusal + "de niveles (11) debe estar entre 0 y 10."},
        {"k = -1", kHeader + crlf("-1|"), refusal + "de niveles (-1) debe estar entre 0 y 10."},
        {"k beyond 32 bits", kHeader + crlf("4294967298|"), "'4294967298" + kNotInteger},
        {"N = 100001", kHeader + crlf("0|100001|"),
         refusal + "total de réplicas (100001) debe estar entre 0 y 100000."},
        {"blank before k", kHeader + crlf(" 2|"), "' 2" + kNotInteger},
        {"lone LF does not end a line", kHeader + "2\n1\r\n", "'2\n1" + kNotInteger},
        {"lone LF inside a value", kHeader + crlf("1|1|1|1|7\n8|y|"), "[7\n8|y]"},
        {"LF after CR LF starts a value", kHeader + crlf("1|1|1|1|") + "\n7\r\n", "[\n7|]"},
        {"CR alone ends a line", kHeader + "1\r1\r2\r2\r7\r8\r", "[7|][8|]"},
        {"Ctrl-Z ends the text", kHeader + crlf("1|1|2|2|7\x1a|8|9|"), "[7|][|]"},
        {"Ctrl-Z before k", crlf("M|A|F\x1a|mg|mg|R|2|"), "'" + kNotInteger},
        {"last line without CR LF", kHeader + crlf("1|1|1|1|7|") + "x", "[7|x]"},
        {"extra lines ignored", kHeader + crlf("1|1|1|1|7|a|sobra|2|"), "[7|a]"},
        {"no levels and no data", kHeader + crlf("0|0|"), ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(outcome(row.bytes), row.outcome) << row.name;
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

    const auto start = std::chrono::steady_clock::now();
    study = readInto(kHeader + crlf("2|1|2147483647|2|1|2|a|b|"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
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
    struct Row {
        std::function<bool()> prepare;  // in the child process
        std::string message;
    } rows[] = {
        {[] {
             std::signal(SIGXFSZ, SIG_IGN);  // writes beyond the limit fail as on a full disk
             const rlimit limit{4096, 4096};
             return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
         },
         "Disk full"},
        {[this] { return ::chmod(m_folder.c_str(), 0555) == 0 && becomeOrdinaryUser(); },
         "File access denied"},
        {[file] { return ::chmod(file.c_str(), 0444) == 0 && becomeOrdinaryUser(); },
         "File access denied"},  // although the folder would let it be replaced
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
              "Invalid filename");
    EXPECT_EQ(errorOf([&] { saveStudyFile(m_folder / "carpeta.w9c", m_study); }),
              "File access denied");
    CalibrationStudy study;
    EXPECT_EQ(errorOf([&] { openStudyFile(m_folder / "falta.w9c", study); }), "File not found");
    EXPECT_EQ(errorOf([&] { openStudyFile(m_folder / "falta" / "e.w9c", study); }),
              "Invalid filename");
    EXPECT_EQ(errorOf([&] { openStudyFile(m_folder / "carpeta.w9c", study); }),
              "File access denied");
    EXPECT_EQ(study.caption(), "Nuevo") << "nothing is filled when reading fails";
    EXPECT_EQ(entries(), 1u);
}

}  // namespace
}  // namespace ldc
