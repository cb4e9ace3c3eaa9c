#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

#include "StudyFixtures.h"
#include "files/AuditTrail.h"
#include "files/Sha256.h"
#include "study/LdcError.h"

namespace ldc {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

struct TrailTest : ::testing::Test {
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("audit-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    void save(const StudyDocument& study) {
        const StudyFileSnapshot before = snapshotStudyFile(study_);
        saveStudyFile(study_, study);
        appendAuditEntry(study_, saveAuditEntry(before, snapshotStudyFile(study_)));
    }
    void record(std::string_view action) {
        AuditEntry entry = newAuditEntry(action, "detalle");
        entry.shaBefore = entry.shaAfter = fileSha256Hex(study_);
        appendAuditEntry(study_, entry);
    }

    fs::path dir;
    std::string study_ = (fs::temp_directory_path() / "unused").string();
};

// A first save, an open and a second save: each entry a line in its fixed shape, linked to
// the one before, the saves listing what changed against the file on disk.
TEST_F(TrailTest, EntriesChainAndNameWhatASaveChanged) {
    study_ = (dir / "e.w9c").string();
    CalibrationStudy study = testing::makeStudy(testing::workedExample());
    save(study);
    record(auditAction::open);
    study.setText(StudyField::method, "Método nuevo");
    setLevelValueText(study, 2, "4.5");
    setRecoveredAmountText(study, 5, "3.8");
    save(study);

    const std::string bytes = bytesOf(auditTrailPath(study_));
    std::istringstream in(bytes);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(std::regex_match(
        lines[0],
        std::regex(R"(\{"fecha":"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ","usuario":"[^"]+",)"
                   R"("equipo":"[^"]*","programa":"ldc \d+\.\d+","accion":"guardar",)"
                   R"("detalle":null,"sha256_antes":null,"sha256_despues":"[0-9a-f]{64}",)"
                   R"("cambios":\[\{"campo":"Método","antes":"","despues":)"
                   R"("Valoración de prueba"\},.*\],"anterior":null\})")))
        << lines[0];

    const AuditTrail trail = readAuditTrail(study_);
    EXPECT_TRUE(trail.verdict.intact()) << trail.verdict.lines(study_)[0];
    ASSERT_EQ(trail.entries.size(), 3u);
    const AuditEntry& open = trail.entries[1].entry;
    const AuditEntry& second = trail.entries[2].entry;
    EXPECT_EQ(open.previous, sha256Hex(lines[0]));
    EXPECT_EQ(second.previous, sha256Hex(lines[1]));
    EXPECT_EQ(open.shaAfter, trail.entries[0].entry.shaAfter);
    EXPECT_EQ(second.shaBefore, open.shaAfter);
    EXPECT_EQ(second.shaAfter, fileSha256Hex(study_));
    EXPECT_EQ(second.changes,
              (std::vector<AuditChange>{{"Método", "Valoración de prueba", "Método nuevo"},
                                        {"Nivel 2, cantidad adicionada", "4", "4.5"},
                                        {"Fila 5, dato", "3.9", "3.8"}}));
}

// Each way a trail can be tampered with, and a study changed behind the program's back.
TEST_F(TrailTest, CheckFindsEditedRemovedCutAndOutsideChanges) {
    struct Case {
        const char* name;
        std::function<void(const std::string& trail, const std::string& study)> tamper;
        std::optional<int> brokenLine, changedBefore;
        bool changedSinceLast;
    };
    const auto editLines = [](const std::string& trail, auto&& edit) {
        std::string bytes = bytesOf(trail);
        edit(bytes);
        writeBytes(trail, bytes);
    };
    const auto dropLine = [&](int n) {
        return [=](const std::string& trail, const std::string&) {
            editLines(trail, [n](std::string& b) {
                std::size_t start = 0;
                for (int i = 1; i < n; ++i)
                    start = b.find('\n', start) + 1;
                b.erase(start, b.find('\n', start) + 1 - start);
            });
        };
    };
    const Case cases[] = {
        {"untouched", [](auto&, auto&) {}, {}, {}, false},
        {"an entry edited",
         [&](const std::string& t, auto&) {
             editLines(t, [](std::string& b) { b.replace(b.find("imprimir"), 8, "calcular"); });
         },
         3,
         {},
         false},
        {"a middle entry removed", dropLine(2), 2, {}, false},
        {"the first entry removed", dropLine(1), 1, {}, false},
        {"the last line cut short",
         [&](const std::string& t, auto&) {
             editLines(t, [](std::string& b) { b.resize(b.size() - 5); });
         },
         3,
         {},
         false},
        {"the study changed",
         [](auto&, const std::string& s) { writeBytes(s, "otro"); },
         {},
         {},
         true},
        {"the study changed between entries",
         [this](auto&, const std::string& s) {
             writeBytes(s, "otro");
             record(auditAction::calculate);
         },
         {},
         4,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        study_ = (dir / (std::string(c.name) + ".w9c")).string();
        save(testing::makeStudy(testing::workedExample()));
        record(auditAction::print);
        record(auditAction::calculate);
        c.tamper(auditTrailPath(study_), study_);
        const AuditVerdict verdict = readAuditTrail(study_).verdict;
        EXPECT_EQ(verdict.brokenLine, c.brokenLine);
        EXPECT_EQ(verdict.changedOutsideBefore, c.changedBefore);
        EXPECT_EQ(verdict.studyChangedSinceLast, c.changedSinceLast);
        EXPECT_EQ(verdict.lines(study_)[0].starts_with("Registro de auditoría íntegro"),
                  verdict.intact());
        if (c.brokenLine) {
            EXPECT_THAT(verdict.lines(study_)[1],
                        ::testing::StartsWith("Línea " + std::to_string(*c.brokenLine) + ": "));
        }
    }
}

// A trail is only ever appended to: after a line cut short the next entry starts a line of
// its own, and a place where no trail can be written is a file error with its context.
TEST_F(TrailTest, AppendsNeverRewriteAndFailuresNameTheTrail) {
    study_ = (dir / "a.w9c").string();
    writeBytes(auditTrailPath(study_), "{\"cortada");
    record(auditAction::open);
    const std::string bytes = bytesOf(auditTrailPath(study_));
    EXPECT_EQ(bytes.substr(0, 10), "{\"cortada\n");
    EXPECT_EQ(readAuditTrail(study_).entries.at(0).entry.previous, sha256Hex("{\"cortada"));

    const auto failure = [&](auto&& work) {
        try {
            work();
        } catch (const Error& e) {
            return e.context() + "|" + e.message();
        }
        return std::string("no error");
    };
    fs::create_directory(dir / "b.w9c.auditoria");
    study_ = (dir / "b.w9c").string();
    EXPECT_EQ(
        failure([&] { appendAuditEntry(study_, newAuditEntry(auditAction::open), "Guardado"); }),
        "Guardado: es una carpeta, no un archivo.|File access denied");
    EXPECT_EQ(failure([&] { readAuditTrail((dir / "c.w9c").string()); }),
              "No se pudo leer el registro de auditoría «c.w9c.auditoria»: el archivo no existe."
              "|File not found");
}

}  // namespace
}  // namespace ldc
