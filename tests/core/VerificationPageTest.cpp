#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingSurface.h"
#include "calc/ReferenceData.h"
#include "report/VerificationPage.h"

namespace ldc {
namespace {

using testing::RecordingSurface;
using Kind = RecordingSurface::Kind;

const VerificationContext kContext{"equipo-1", "analista", "QORVAL v.w. 3.1",
                                   "2026-12-06T10:00:00+01:00"};

// One document with the header, the context, each case's source, every row's five cells on
// one line in column order, the summary and the signatures; a table run on over several
// pages repeats the header and the column headings, keeps every text above the page number,
// and numbers the pages "n de m".
TEST(VerificationPage, PrintsTheWholeTableOnNumberedPages) {
    const std::vector<VerificationRow> rows = runSelfVerification(referenceCases());
    for (const int copies : {1, 4}) {
        SCOPED_TRACE(copies);
        std::vector<VerificationRow> table;
        for (int i = 0; i < copies; ++i)
            table.insert(table.end(), rows.begin(), rows.end());
        RecordingSurface surface;
        verification::printVerificationPage(surface, table, kContext);
        EXPECT_EQ(surface.count(Kind::beginDoc), 1u);
        EXPECT_EQ(surface.count(Kind::endDoc), 1u);
        const int pages = static_cast<int>(surface.count(Kind::newPage)) + 1;
        EXPECT_EQ(pages > 1, copies > 1);

        EXPECT_EQ(surface.find("Equipo: equipo-1").size(), 1u);
        EXPECT_EQ(surface.find("Fecha: 2026-12-06T10:00:00+01:00").size(), 1u);
        EXPECT_EQ(surface.find("Fuente: " + rows[14].source).size(), std::size_t(copies));
        EXPECT_EQ(surface.find(verificationSummary(table)).size(), 1u);
        EXPECT_EQ(surface.find("Verificación del programa").size(), std::size_t(pages));
        EXPECT_EQ(surface.find("Magnitud").size(), std::size_t(pages));
        for (int page = 0; page < pages; ++page) {
            const std::string number =
                "Página " + std::to_string(page + 1) + " de " + std::to_string(pages);
            ASSERT_EQ(surface.find(number, page).size(), 1u) << number;
            const int numberY = surface.find(number, page)[0].y;
            for (const auto& op : surface.ops) {
                if (op.page == page && op.kind == Kind::textOut && op.y > numberY - 100) {
                    EXPECT_EQ(op.y, numberY) << op.text;
                }
            }
        }
        const auto cells = verificationCells(rows[0]);
        const auto first = surface.find(cells[0]).at(0);
        int x = -1;
        for (const std::string& cell : cells) {
            const auto placed = surface.find(cell, first.page);
            const auto same = std::find_if(placed.begin(), placed.end(),
                                           [&](const auto& op) { return op.y == first.y; });
            ASSERT_NE(same, placed.end()) << cell;
            EXPECT_GT(same->x, x) << cell;
            x = same->x;
        }
        EXPECT_LE(x + surface.textWidth("Cumple"), surface.pageWidth());
    }
}

}  // namespace
}  // namespace ldc
