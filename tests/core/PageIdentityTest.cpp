#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <tuple>

#include "RecordingSurface.h"
#include "StudyFixtures.h"
#include "files/Sha256.h"
#include "files/StudyFile.h"
#include "report/IdentifiedSurface.h"
#include "report/RecordDocument.h"
#include "report/Uprint.h"
#include "report/Uprint1.h"

namespace ldc {
namespace {

using namespace testing;
using Kind = RecordingSurface::Kind;
using Op = RecordingSurface::Op;
bool isIdentity(const Op& op) {
    return op.kind == Kind::textOut && op.points == 7;
}
// The font matters to what is drawn only: a new page may come while another font is set.
auto key(const Op& op) {
    return std::make_tuple(op.kind, op.x, op.y, op.text, op.kind == Kind::textOut ? op.points : 0,
                           op.page);
}

// Every page carries the identity and its number clear of what the layout drew and inside
// the page, and the layout's own items are exactly those of the unwrapped print.
TEST(PageIdentity, EveryPageIdentifiedLayoutUnmoved) {
    const CalibrationStudy longList = makeStudy(uniformOutline(4, 30));
    const struct {
        const char* name;
        std::function<void(DrawingSurface&)> print;
        int pages;
    } rows[] = {
        {"laser continuation", [&](auto& s) { laser::printGeneralPage(s, longList); }, 4},
        {"deskjet continuation", [&](auto& s) { deskjet::printGeneralPage(s, longList, 3); }, 3},
        {"record", [&](auto& s) { composeRecord(s, recordPages(longList)); }, 10},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingSurface plain, paper;
        row.print(plain);
        IdentifiedSurface identified(paper, {"a.w9c", "ab", "ab", kProgramMark, "t"});
        row.print(identified);
        EXPECT_EQ(paper.count(Kind::endDoc) + paper.count(Kind::newPage), row.pages + 0u);
        for (int page = 0; page < row.pages; ++page) {
            int items[2] = {1 << 30, 0}, identity[2] = {1 << 30, 0};  // top and bottom
            for (const Op& op : paper.ops) {
                if (op.page != page || op.kind != Kind::textOut)
                    continue;
                int* range = isIdentity(op) ? identity : items;
                range[0] = std::min(range[0], op.y);
                range[1] = std::max(range[1], op.y + (op.text == "rule" ? 0 : op.points * 25 / 3));
            }
            EXPECT_EQ(paper.find(pageNumberText(page + 1, row.pages), page).size(), 1u);
            EXPECT_EQ(paper.find("Estudio: a.w9c · SHA-256: ab", page).size(), 1u);
            EXPECT_TRUE(identity[0] > items[1] || identity[1] < items[0]) << "page " << page;
            EXPECT_TRUE(identity[0] >= 0 && identity[1] <= paper.pageHeight()) << "page " << page;
        }
        std::vector<Op> layout;
        std::copy_if(paper.ops.begin(), paper.ops.end(), std::back_inserter(layout),
                     [](const Op& op) { return !isIdentity(op); });
        ASSERT_EQ(layout.size(), plain.ops.size());
        for (std::size_t i = 0; i < layout.size(); ++i)
            EXPECT_EQ(key(layout[i]), key(plain.ops[i])) << i;
    }
}

// The file's hash names the page only while the window holds exactly what the file does.
TEST(PageIdentity, FileStateFollowsTheFileOnDisk) {
    const auto path = (std::filesystem::temp_directory_path() / "identity-state.w9c").string();
    CalibrationStudy study = makeStudy(workedExample());
    EXPECT_EQ(identityLines(identifyStudy(study, "", "t"))[0], kUnsavedStudy);
    saveStudyFile(path, study);
    const PageIdentity saved = identifyStudy(study, path, "t");
    EXPECT_EQ(saved.fileName + " " + saved.fileState,
              "identity-state.w9c " + fileSha256Hex(path).value());
    study.setText(StudyField::analyst, "Otra persona");
    EXPECT_EQ(identityLines(identifyStudy(study, path, "t"))[0],
              std::string("Estudio: identity-state.w9c · ") + kModifiedSinceSaved);
    std::filesystem::remove(path);
}

TEST(PageIdentity, PrintingTimeCarriesItsUtcOffset) {
    std::tm local{};
    local.tm_year = 126, local.tm_mon = 11, local.tm_mday = 6, local.tm_hour = 17, local.tm_sec = 3;
    for (const auto& [offset, text] :
         {std::pair{3600L, "2026-12-06T17:00:03+01:00"}, {-16200L, "2026-12-06T17:00:03-04:30"}})
        EXPECT_EQ(isoDateTime(local, offset), text);
}

}  // namespace
}  // namespace ldc
