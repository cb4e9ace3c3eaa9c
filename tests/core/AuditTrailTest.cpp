#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>

#include "StudyFixtures.h"
#include "files/AuditTrail.h"
#include "files/Sha256.h"

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
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    void save(const StudyDocument& study) {
        const StudyFileSnapshot before = snapshotStudyFile(path);
        saveStudyFile(path, study);
        appendAuditEntry(path, saveAuditEntry(before, snapshotStudyFile(path)));
    }
    void record(std::string_view action) {
        AuditEntry entry = newAuditEntry(action, "detalle");
        entry.shaBefore = entry.shaAfter = fileSha256Hex(path);
        appendAuditEntry(path, entry);
    }
    const fs::path dir = fs::temp_directory_path() / ("audit-" + std::to_string(::getpid()));
    std::string path = (dir / "e.w9c").string();
};

// A first save, an open and a second save: each entry a line of a fixed shape, linked to the
// one before, the saves listing what changed against the file on disk.
TEST_F(TrailTest, EntriesChainAndNameWhatASaveChanged) {
    CalibrationStudy study = testing::makeStudy(testing::workedExample());
    save(study);
    record(auditAction::open);
    study.setText(StudyField::method, "Método nuevo");
    setLevelValueText(study, 2, "4.5");
    setRecoveredAmountText(study, 5, "3.8");
    study.setBlankReadings({"0.12"});
    save(study);

    const std::string bytes = bytesOf(auditTrailPath(path));
    const std::string first = bytes.substr(0, bytes.find('\n'));
    EXPECT_TRUE(std::regex_match(
        first,
        std::regex(R"(\{"fecha":"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ","usuario":"[^"]+",)"
                   R"("equipo":"[^"]*","programa":"QORVAL v\.w\. \d+\.\d+","accion":"guardar",)"
                   R"("detalle":null,"sha256_antes":null,"sha256_despues":"[0-9a-f]{64}",)"
                   R"("cambios":\[\{"campo":"Método","antes":"","despues":)"
                   R"("Valoración de prueba"\},.*\],"anterior":null\})")))
        << first;

    const AuditTrail trail = readAuditTrail(path);
    EXPECT_TRUE(trail.verdict.intact()) << trail.verdict.lines(path)[0];
    ASSERT_EQ(trail.entries.size(), 3u);
    const AuditEntry& second = trail.entries[2].entry;
    EXPECT_EQ(trail.entries[1].entry.previous, sha256Hex(first));
    EXPECT_EQ(second.shaBefore, trail.entries[0].entry.shaAfter);
    EXPECT_EQ(second.shaAfter, fileSha256Hex(path));
    EXPECT_EQ(second.changes,
              (std::vector<AuditChange>{{"Método", "Valoración de prueba", "Método nuevo"},
                                        {"Nivel 2, cantidad adicionada", "4", "4.5"},
                                        {"Fila 5, dato", "3.9", "3.8"},
                                        {"Blanco 1", "", "0.12"}}));
}

// Each way a trail can be tampered with or cut, and a study changed behind the program's back.
// An append after a line cut short starts a line of its own and leaves the cut one as it was.
TEST_F(TrailTest, CheckFindsEditedRemovedCutAndOutsideChanges) {
    const auto edit = [](std::function<void(std::string&)> change) {
        return [change](TrailTest& t) {
            std::string bytes = bytesOf(auditTrailPath(t.path));
            change(bytes);
            writeBytes(auditTrailPath(t.path), bytes);
        };
    };
    const auto dropLine = [&](int n) {
        return edit([n](std::string& b) {
            std::size_t start = 0;
            for (int i = 1; i < n; ++i)
                start = b.find('\n', start) + 1;
            b.erase(start, b.find('\n', start) + 1 - start);
        });
    };
    const auto cut = edit([](std::string& b) { b.resize(b.size() - 5); });
    const auto editEntry = edit([](std::string& b) { b.replace(b.find("imprimir"), 8, "x"); });
    const auto cutThenAppend = [&](TrailTest& t) { cut(t), t.record(auditAction::open); };
    const auto changeStudy = [](TrailTest& t) { writeBytes(t.path, "otro"); };
    const auto changeThenRecord = [&](TrailTest& t) {
        changeStudy(t), t.record(auditAction::calculate);
    };
    const struct {
        const char* name;
        std::size_t entries;
        std::optional<int> brokenLine, changedBefore;
        bool changedSinceLast;
        std::function<void(TrailTest&)> tamper;
    } cases[] = {
        {"untouched", 3, {}, {}, false, [](TrailTest&) {}},
        {"an entry edited", 3, 3, {}, false, editEntry},
        {"a middle entry removed", 2, 2, {}, false, dropLine(2)},
        {"the first entry removed", 2, 1, {}, false, dropLine(1)},
        {"the last line cut short", 2, 3, {}, false, cut},
        {"appended after a cut line", 3, 3, {}, false, cutThenAppend},
        {"the study changed", 3, {}, {}, true, changeStudy},
        {"the study changed between entries", 4, {}, 4, false, changeThenRecord},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        path = (dir / (std::string(c.name) + ".w9c")).string();
        save(testing::makeStudy(testing::workedExample()));
        record(auditAction::print);
        record(auditAction::calculate);
        c.tamper(*this);
        const AuditTrail trail = readAuditTrail(path);
        EXPECT_EQ(trail.entries.size(), c.entries);
        EXPECT_EQ(trail.verdict.brokenLine, c.brokenLine);
        EXPECT_EQ(trail.verdict.changedOutsideBefore, c.changedBefore);
        EXPECT_EQ(trail.verdict.studyChangedSinceLast, c.changedSinceLast);
        const std::vector<std::string> lines = trail.verdict.lines(path);
        EXPECT_EQ(lines[0].starts_with("Registro de auditoría íntegro"), trail.verdict.intact());
        if (c.brokenLine) {
            EXPECT_EQ(lines[1].rfind("Línea " + std::to_string(*c.brokenLine) + ": ", 0), 0u);
        }
    }
}

}  // namespace
}  // namespace ldc
