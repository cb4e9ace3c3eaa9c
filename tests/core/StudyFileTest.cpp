#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <streambuf>

#include "StudyFileTestSupport.h"
#include "StudyFixtures.h"
#include "files/StudyFile.h"
#include "study/CalibrationStudy.h"
#include "study/Numbers.h"
#include "study/StudyLayout.h"

namespace ldc {
namespace {

using G = StudyGrid;
using testing::crlfLines;
using testing::errorOf;
using testing::expectSameStudyContent;
using testing::makeStudy;

const std::string kHeader = crlfLines({"M", "A", "F", "mg", "mg", "Regresi\xF3n"});

CalibrationStudy readInto(const std::string& bytes, const std::string& caption = "x.w9c") {
    CalibrationStudy study;
    applyStudyFileData(parseStudyFile(bytes), study, caption);
    return study;
}

CalibrationStudy twoLevelStudy() {
    return makeStudy({{"1", "2"}, {{"1,1", "1,2", "1,3"}, {"2,1", "2,2"}}});
}

TEST(StudyFileWriter, WritesTwoLevelsOfThreeAndTwoReplicatesAs22Lines) {
    const std::string expected =
        "Valoraci\xF3n de prueba\r\nAnalista\r\n06/12/2026\r\nmg\r\nmg\r\nRegresi\xF3n\r\n"
        "2\r\n1\r\n3\r\n2\r\n2\r\n5\r\n"
        "1,1\r\n1,2\r\n1,3\r\n2,1\r\n2,2\r\n"
        "\r\n\r\n\r\n\r\n\r\n";
    EXPECT_EQ(studyFileBytes(twoLevelStudy()), expected);
}

TEST(StudyFileWriter, TakesTheCountsFromTheTextsNotFromTheGridSizes) {
    CalibrationStudy study = twoLevelStudy();
    study.setCell(G::stgnivel, 2, 2, "4");  // two replicates more than the data grid holds
    std::string tail = "\r\n4\r\n7\r\n1,1\r\n1,2\r\n1,3\r\n2,1\r\n2,2\r\n";
    for (int emptyLine = 0; emptyLine < 2 + 7; ++emptyLine)
        tail += "\r\n";
    const std::string bytes = studyFileBytes(study);
    EXPECT_EQ(bytes.substr(bytes.size() - std::min(bytes.size(), tail.size())), tail);

    study.setText(StudyField::enivel, "3");  // the level grid has only two levels
    EXPECT_EQ(errorOf([&] { studyFileBytes(study); }), "'' is not a valid integer value");
}

TEST(StudyFileWriter, RefusesWhatCouldNotBeReadBack) {
    struct Row {
        const char* name;
        std::function<void(CalibrationStudy&)> change;
        std::string message;
    } rows[] = {
        {"level count not a number", [](auto& s) { s.setText(StudyField::enivel, "abc"); },
         "'abc' is not a valid integer value"},
        {"replicate count not a number", [](auto& s) { s.setCell(G::stgnivel, 2, 2, "2,0"); },
         "'2,0' is not a valid integer value"},
        {"eleven levels",
         [](auto& s) {
             s.setColumnCount(G::stgnivel, 12);
             for (int i = 3; i <= 11; ++i)
                 s.setCell(G::stgnivel, i, 2, "1");
             s.setText(StudyField::enivel, "11");
         },
         "No se puede guardar el estudio: el número de niveles (11) debe estar entre 0 y 10."},
        {"negative level count", [](auto& s) { s.setText(StudyField::enivel, "-1"); },
         "No se puede guardar el estudio: el número de niveles (-1) debe estar entre 0 y 10."},
        {"more rows than a file holds",
         [](auto& s) {
             s.setCell(G::stgnivel, 1, 2, "60000");
             s.setCell(G::stgnivel, 2, 2, "40001");
         },
         "No se puede guardar el estudio: el número total de réplicas (100001) debe estar "
         "entre 0 y 100000."},
        {"counts summing below zero", [](auto& s) { s.setCell(G::stgnivel, 1, 2, "-3"); },
         "No se puede guardar el estudio: el número total de réplicas (-1) debe estar entre 0 "
         "y 100000."},
        {"CR in the method", [](auto& s) { s.setText(StudyField::emetodo, "HPLC\rUV"); },
         "No se puede guardar el estudio: en el método hay un retorno de carro (CR), que "
         "partiría la línea."},
        {"Ctrl-Z in a recovered amount", [](auto& s) { s.setCell(G::stgdatos, 1, 3, "1\x1a"); },
         "No se puede guardar el estudio: en el dato de la fila 3 hay un carácter Ctrl-Z (26), "
         "que cortaría el archivo."},
        {"omega in the added units", [](auto& s) { s.setText(StudyField::ecanad, "Ωg"); },
         "No se puede guardar el estudio: el carácter \"Ω\" (U+03A9), en las unidades de la "
         "cantidad añadida, no existe en la codificación Windows-1252 de los archivos de "
         "estudio."},
        {"sign in a hidden second value", [](auto& s) { s.setCell(G::stgdatos, 2, 2, "≤ 1"); },
         "No se puede guardar el estudio: el carácter \"≤\" (U+2264), en el segundo valor de "
         "la fila 2, no existe en la codificación Windows-1252 de los archivos de estudio."},
        {"sign in a level value", [](auto& s) { s.setCell(G::stgnivel, 2, 1, "2√"); },
         "No se puede guardar el estudio: el carácter \"√\" (U+221A), en el valor del nivel 2, "
         "no existe en la codificación Windows-1252 de los archivos de estudio."},
        {"bytes that are not UTF-8", [](auto& s) { s.setText(StudyField::eanalista, "Jos\xE9"); },
         "No se puede guardar el estudio: en el analista hay bytes que no forman un texto UTF-8 "
         "válido."},
    };
    for (const Row& row : rows) {
        CalibrationStudy study = twoLevelStudy();
        row.change(study);
        EXPECT_EQ(errorOf([&] { studyFileBytes(study); }), row.message) << row.name;
    }
}

// A stream whose device accepts a few bytes and then fails, as a full disk does.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(std::size_t capacity) : m_capacity(capacity) {}
    std::string written;

protected:
    int overflow(int c) override {
        if (c == traits_type::eof())
            return traits_type::not_eof(c);
        if (written.size() == m_capacity)
            return traits_type::eof();
        written += static_cast<char>(c);
        return c;
    }

private:
    std::size_t m_capacity;
};

TEST(StudyFileWriter, AStreamThatFailsPartWayIsReportedAsAFullDisk) {
    FailingBuffer device(40);
    std::ostream out(&device);
    EXPECT_EQ(errorOf([&] { writeStudyFile(out, twoLevelStudy()); }), "Disk full");
    EXPECT_EQ(device.written.size(), 40u);

    std::ofstream full("/dev/full", std::ios::binary);
    ASSERT_TRUE(full.is_open());
    EXPECT_EQ(errorOf([&] { writeStudyFile(full, twoLevelStudy()); }), "Disk full");
}

TEST(StudyFileRoundTrip, KeepsEveryFieldAndCellAndWritesTheSameBytesAgain) {
    CalibrationStudy study = makeStudy({{"0,5", "1,5", "2,5"},
                                        {{"0,49", "0,51"}, {"1,5", "1,48", "1,52"}, {"2,5"}},
                                        "Ordenada al Origen",
                                        "µg/mL",
                                        "µg"});
    study.setText(StudyField::emetodo, "Determinación de ácido acetilsalicílico");
    study.setText(StudyField::eanalista, "Begoña Núñez");
    study.setText(StudyField::efecha, "3 de mayo, 2024");
    study.setCell(G::stgdatos, 2, 1, "oculto");
    study.setCell(G::stgdatos, 2, 6, "línea\nsin CR");  // a lone LF is part of the value
    study.setCell(G::stgdatos, 1, 4, "");
    study.setCell(G::stgdatos, 1, 5, "‰€\xC2\x81");  // 0x81: byte Windows-1252 leaves free

    const std::string first = studyFileBytes(study);
    const CalibrationStudy read = readInto(first);
    expectSameStudyContent(read, study);
    EXPECT_EQ(read.cell(G::stgdatos, 0, 1), "Nivel 1 , Replica 1");
    EXPECT_EQ(read.cell(G::stgdatos, 0, 6), "Nivel 3 , Replica 1");
    EXPECT_EQ(read.cell(G::stgdatos, 1, 2), "0,51");
    EXPECT_EQ(read.cell(G::stgdatos, 2, 6), "línea\nsin CR");
    EXPECT_EQ(studyFileBytes(read), first);
}

TEST(StudyFileRoundTrip, AFileReadAndWrittenBackIsByteForByteTheSame) {
    const std::string file =
        crlfLines({"M\x81\x8D\x8F\x90\x9D", "A\xFF", "F", "\xB5g", "mg", "Regresi\xF3n", "1", "2",
                   "2", "2", "1,9", "2\n1", "x", "\x80"});
    EXPECT_EQ(studyFileBytes(readInto(file)), file);
}

TEST(StudyFileRoundTrip, StoresRegresionWithTheWindows1252Byte) {
    const std::string bytes = studyFileBytes(twoLevelStudy());
    EXPECT_NE(bytes.find("\r\nRegresi\xF3n\r\n"), std::string::npos);
    EXPECT_EQ(readInto(bytes).text(StudyField::ComboBox1), "Regresión");
}

TEST(StudyFileReader, RefusesMalformedFilesWithTheirMessage) {
    struct Row {
        const char* name;
        std::string bytes;
        std::string message;
    } rows[] = {
        {"level count abc", kHeader + crlfLines({"abc"}), "'abc' is not a valid integer value"},
        {"empty file", "", "'' is not a valid integer value"},
        {"data count not a number", kHeader + crlfLines({"2", "1", "3", "2", "2", "5,0"}),
         "'5,0' is not a valid integer value"},
        {"file ending before the data count", kHeader + crlfLines({"2", "1", "3"}),
         "'' is not a valid integer value"},
        {"eleven levels", kHeader + crlfLines({"11"}),
         "No se puede abrir el estudio: el número de niveles (11) debe estar entre 0 y 10."},
        {"negative level count", kHeader + crlfLines({"-1"}),
         "No se puede abrir el estudio: el número de niveles (-1) debe estar entre 0 y 10."},
        {"level count beyond 32 bits", kHeader + crlfLines({"4294967298"}),
         "'4294967298' is not a valid integer value"},
        {"more rows than a file holds", kHeader + crlfLines({"0", "100001"}),
         "No se puede abrir el estudio: el número total de réplicas (100001) debe estar entre "
         "0 y 100000."},
        {"negative data count", kHeader + crlfLines({"0", "-1"}),
         "No se puede abrir el estudio: el número total de réplicas (-1) debe estar entre 0 y "
         "100000."},
        {"lone LF joins two lines", kHeader + "2\n1\r\n", "'2\n1' is not a valid integer value"},
        {"file with LF line ends only", "M\nA\nF\nmg\nmg\nR\n2\n",
         "'' is not a valid integer value"},
        {"Ctrl-Z before the level count", crlfLines({"M", "A", "F\x1a", "mg", "mg", "R", "2"}),
         "'' is not a valid integer value"},
        {"blank around the level count", kHeader + crlfLines({" 2"}),
         "' 2' is not a valid integer value"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(errorOf([&] { parseStudyFile(row.bytes); }), row.message) << row.name;
}

TEST(StudyFileReader, ReadsOddButReadableFiles) {
    struct Row {
        const char* name;
        std::string bytes;
        std::vector<std::string> recovered;  // column 1, rows 1..N
        std::vector<std::string> second;     // column 2, rows 1..N
    } rows[] = {
        {"file ending inside the data",
         kHeader + crlfLines({"1", "1", "3", "3", "7"}),
         {"7", "", ""},
         {"", "", ""}},
        {"last line without its CR LF",
         kHeader + crlfLines({"1", "1", "1", "1", "7"}) + "x",
         {"7"},
         {"x"}},
        {"lone LF inside a value",
         kHeader + crlfLines({"1", "1", "1", "1", "7\n8", "y"}),
         {"7\n8"},
         {"y"}},
        {"LF after a CR LF starts the next value",
         kHeader + crlfLines({"1", "1", "1", "1"}) + "\n7\r\n",
         {"\n7"},
         {""}},
        {"CR alone ends a line", kHeader + "1\r1\r2\r2\r7\r8\r", {"7", "8"}, {"", ""}},
        {"CR CR gives an empty line",
         kHeader + "1\r\n1\r\n2\r\n2\r\n\r\r\n8\r\n",
         {"", ""},
         {"8", ""}},
        {"Ctrl-Z ends the readable text",
         kHeader + crlfLines({"1", "1", "2", "2",
                              "7\x1a"
                              "8",
                              "9", "a", "b"}),
         {"7", ""},
         {"", ""}},
        {"lines after the last expected one ignored",
         kHeader + crlfLines({"1", "1", "1", "1", "7", "a", "sobra", "2"}),
         {"7"},
         {"a"}},
        {"no levels and no data", kHeader + crlfLines({"0", "0"}), {}, {}},
    };
    for (const Row& row : rows) {
        const StudyFileData data = parseStudyFile(row.bytes);
        ASSERT_EQ(data.rows.size(), row.recovered.size()) << row.name;
        EXPECT_EQ(data.rowCount, static_cast<int>(data.rows.size())) << row.name;
        for (std::size_t r = 0; r < data.rows.size(); ++r) {
            EXPECT_EQ(data.rows[r][0], row.recovered[r]) << row.name << " row " << r + 1;
            EXPECT_EQ(data.rows[r][1], row.second[r]) << row.name << " row " << r + 1;
        }
    }
}

TEST(StudyFileReader, ReadsFromAStreamAsFromBytes) {
    const std::string bytes = studyFileBytes(twoLevelStudy());
    std::istringstream in(bytes);
    const StudyFileData data = readStudyFileData(in);
    EXPECT_EQ(data.fields[0], "Valoración de prueba");
    EXPECT_EQ(data.levelCount, 2);
    EXPECT_EQ(data.levels[1][1], "2");
    EXPECT_EQ(data.rows[4][0], "2,2");
}

TEST(StudyFileOpen, FillsTheStudyKeepingTheLevelCountAsWritten) {
    const std::string file =
        kHeader + crlfLines({"02", "1", "3", "2", "2", "5", "1", "2", "3", "4", "5"});
    const CalibrationStudy study = readInto(file, "/datos/ensayo.w9c");
    EXPECT_EQ(study.caption(), "/datos/ensayo.w9c");
    EXPECT_EQ(study.text(StudyField::enivel), "02");
    EXPECT_EQ(study.text(StudyField::ComboBox1), "Regresión");
    EXPECT_EQ(study.columnCount(G::stgnivel), 3);
    EXPECT_EQ(study.cell(G::stgnivel, 2, 0), "Nivel 2");
    EXPECT_EQ(study.cell(G::stgnivel, 3, 0), "") << "the third level of a new window is gone";
    EXPECT_EQ(study.cell(G::stgnivel, 0, 2), "Replicación >>");
    EXPECT_EQ(study.rowCount(G::stgdatos), 6);
    EXPECT_EQ(study.cell(G::stgdatos, 0, 3), "Nivel 1 , Replica 3");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 5), "Nivel 2 , Replica 2");
    EXPECT_EQ(study.cell(G::stgdatos, 1, 5), "5");
}

TEST(StudyFileOpen, RowCountFollowsTheDataCountAndLabelsFollowTheReplicateCounts) {
    const CalibrationStudy study =
        readInto(kHeader + crlfLines({"2", "1", "3", "2", "2", "4", "a", "b", "c", "d"}));
    EXPECT_EQ(study.rowCount(G::stgdatos), 5);
    EXPECT_EQ(study.cell(G::stgdatos, 0, 4), "Nivel 2 , Replica 1");
    EXPECT_EQ(study.cell(G::stgdatos, 1, 4), "d");
}

TEST(StudyFileOpen, AHugeReplicateCountLabelsOnlyTheRowsThatExist) {
    const auto start = std::chrono::steady_clock::now();
    const CalibrationStudy study =
        readInto(kHeader + crlfLines({"2", "1", "2147483647", "2", "1", "2", "a", "b"}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(study.cell(G::stgdatos, 0, 2), "Nivel 1 , Replica 2");
}

TEST(StudyFileOpen, AReplicateCountThatIsNoNumberStopsAfterTheRestIsFilled) {
    CalibrationStudy study;
    const StudyFileData data =
        parseStudyFile(kHeader + crlfLines({"2", "1", "2", "2", "x", "3", "a", "b", "c"}));
    EXPECT_EQ(errorOf([&] { applyStudyFileData(data, study, "e.w9c"); }),
              "'x' is not a valid integer value");
    EXPECT_EQ(study.caption(), "e.w9c");
    EXPECT_EQ(study.cell(G::stgnivel, 2, 2), "x");
    EXPECT_EQ(study.cell(G::stgdatos, 1, 3), "c");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 2), "Nivel 1 , Replica 2");
    EXPECT_EQ(study.cell(G::stgdatos, 0, 3), "");
}

TEST(StudyFileExample, TheShippedExampleIsTheWorkedExample) {
    CalibrationStudy study;
    const std::string path = LDC_EXAMPLES_DIR "/ejemplo.w9c";
    openStudyFile(path, study);

    CalibrationStudy expected = makeStudy(testing::workedExample());
    expected.setText(StudyField::emetodo, "Valoración de cafeína por HPLC");
    expected.setText(StudyField::eanalista, "María López");
    expected.setText(StudyField::efecha, "14/03/2024");
    expectSameStudyContent(study, expected);
    EXPECT_EQ(study.caption(), path);

    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(studyFileBytes(study), bytes) << "written by this program's writer";
}

}  // namespace
}  // namespace ldc
