#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include "RecordingSurface.h"
#include "StudyFixtures.h"
#include "files/Sha256.h"
#include "files/StudyFile.h"
#include "report/IdentifiedSurface.h"
#include "report/PrintGeometry.h"
#include "report/RecordDocument.h"
#include "report/Uprint.h"
#include "report/Uprint1.h"

namespace ldc {
namespace {

using namespace testing;
using Kind = RecordingSurface::Kind;

const PageIdentity kIdentity{"a.w9c", "ab12", "ab12", kProgramMark, "2026-12-06T17:05:03+01:00"};
constexpr int kIdentityPoints = 7;

bool isIdentity(const RecordingSurface::Op& op) {
    return op.kind == Kind::textOut && op.points == kIdentityPoints;
}
// The font matters to what is drawn only: a new page may come while another font is set.
auto key(const RecordingSurface::Op& op) {
    return std::make_tuple(op.kind, op.x, op.y, op.text, op.kind == Kind::textOut ? op.points : 0,
                           op.page);
}

// Every page of every document carries the identity lines and its number below everything
// the layout drew, and the layout's own items are exactly those of the unwrapped print.
TEST(PageIdentity, FootOfEveryPageLeavesTheLayoutAsItWas) {
    const CalibrationStudy small = makeStudy(workedExample());
    const CalibrationStudy longList = makeStudy(uniformOutline(4, 30));
    CalibrationResults results;
    ComputeCalibration(small, results);
    const struct {
        const char* name;
        std::function<void(DrawingSurface&)> print;
        int pages;
    } rows[] = {
        {"laser general", [&](auto& s) { laser::printGeneralPage(s, small); }, 1},
        {"laser continuation", [&](auto& s) { laser::printGeneralPage(s, longList); }, 4},
        {"laser results", [&](auto& s) { laser::printResultsPage(s, small, results); }, 1},
        {"deskjet continuation", [&](auto& s) { deskjet::printGeneralPage(s, longList, 3); }, 3},
        {"deskjet results", [&](auto& s) { deskjet::printResultsPage(s, small, results, 1); }, 1},
        {"record", [&](auto& s) { composeRecord(s, recordPages(longList)); }, 5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingSurface plain, paper;
        row.print(plain);
        IdentifiedSurface identified(paper, kIdentity);
        row.print(identified);
        ASSERT_EQ(paper.count(Kind::beginDoc), 1u);
        EXPECT_EQ(paper.count(Kind::endDoc), 1u);
        EXPECT_EQ(paper.count(Kind::newPage), row.pages - 1u);

        std::vector<RecordingSurface::Op> layout;
        for (int page = 0; page < row.pages; ++page) {
            // [top, bottom] of the layout's items and of the identity's.
            int items[2] = {1 << 30, 0}, identity[2] = {1 << 30, 0};
            for (const auto& op : paper.ops) {
                if (op.page != page || op.kind != Kind::textOut)
                    continue;
                int* range = isIdentity(op) ? identity : items;
                range[0] = std::min(range[0], op.y);
                range[1] = std::max(range[1],
                                    op.y + (op.text == "rule" ? 0 : (op.points * 600 + 36) / 72));
            }
            const std::string number = pageNumberText(page + 1, row.pages);
            EXPECT_EQ(paper.find(number, page).size(), 1u) << number;
            EXPECT_EQ(paper.find("Estudio: a.w9c · SHA-256: ab12", page).size(), 1u);
            EXPECT_TRUE(identity[0] > items[1] || identity[1] < items[0]) << "page " << page;
            EXPECT_TRUE(identity[0] >= 0 && identity[1] <= paper.pageHeight()) << "page " << page;
        }
        for (const auto& op : paper.ops)
            if (!isIdentity(op))
                layout.push_back(op);
        ASSERT_EQ(layout.size(), plain.ops.size());
        for (std::size_t i = 0; i < layout.size(); ++i)
            EXPECT_EQ(key(layout[i]), key(plain.ops[i])) << i;
    }
}

// A composition that stops on an error abandons the whole document, record included.
TEST(PageIdentity, FailedCompositionAbandonsTheDocument) {
    CalibrationStudy refused = makeStudy(workedExample());
    setRecoveredAmountText(refused, 9, "x");
    RecordingSurface paper;
    IdentifiedSurface identified(paper, kIdentity);
    EXPECT_THROW(composeRecord(identified, recordPages(refused)), Error);
    EXPECT_EQ(paper.count(Kind::textOut), 0u);
    EXPECT_EQ(paper.count(Kind::endDoc), 0u);
    EXPECT_GE(paper.count(Kind::abortDoc), 1u);
}

// The file's hash names the page only while the window holds exactly what the file does.
TEST(PageIdentity, FileStateFollowsTheFileOnDisk) {
    const auto path = (std::filesystem::temp_directory_path() / "identity-state.w9c").string();
    CalibrationStudy study = makeStudy(workedExample());
    EXPECT_EQ(identifyStudy(study, "", "t").fileState, kUnsavedStudy);
    EXPECT_EQ(identityLines(identifyStudy(study, "", "t"))[0], kUnsavedStudy);

    saveStudyFile(path, study);
    const PageIdentity saved = identifyStudy(study, path, "t");
    EXPECT_EQ(saved.fileName, "identity-state.w9c");
    EXPECT_EQ(saved.fileState, fileSha256Hex(path).value());
    EXPECT_EQ(saved.fileSha256, saved.fileState);

    study.setText(StudyField::analyst, "Otra persona");
    EXPECT_EQ(identifyStudy(study, path, "t").fileState, kModifiedSinceSaved);
    saveStudyFile(path, study);
    std::ofstream(path, std::ios::app) << "x";  // changed outside the program
    EXPECT_EQ(identifyStudy(study, path, "t").fileState, kModifiedSinceSaved);
    std::filesystem::remove(path);
    const PageIdentity gone = identifyStudy(study, path, "t");
    EXPECT_EQ(gone.fileState, kModifiedSinceSaved);
    EXPECT_EQ(identityLines(gone)[0], "Estudio: identity-state.w9c · " + gone.fileState);
}

TEST(PageIdentity, PrintingTimeCarriesItsUtcOffset) {
    std::tm local{};
    local.tm_year = 126, local.tm_mon = 11, local.tm_mday = 6;
    local.tm_hour = 17, local.tm_min = 5, local.tm_sec = 3;
    EXPECT_EQ(isoDateTime(local, 3600), "2026-12-06T17:05:03+01:00");
    EXPECT_EQ(isoDateTime(local, -16200), "2026-12-06T17:05:03-04:30");
    EXPECT_EQ(isoDateTime(local, 0), "2026-12-06T17:05:03+00:00");
}

}  // namespace
}  // namespace ldc
