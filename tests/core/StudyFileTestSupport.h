#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "study/LdcError.h"
#include "study/StudyDocument.h"

namespace ldc::testing {

inline std::string errorOf(auto&& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

// The lines of a study file, each followed by CR LF.
inline std::string crlfLines(std::initializer_list<std::string> lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// Everything a study file carries, compared text by text (row 0 of the data grid is the
// window's own business: Open never sets it).
inline void expectSameStudyContent(const StudyDocument& actual, const StudyDocument& expected) {
    using G = StudyGrid;
    for (int f = 0; f < 7; ++f)
        EXPECT_EQ(actual.text(static_cast<StudyField>(f)),
                  expected.text(static_cast<StudyField>(f)))
            << "field " << f;
    ASSERT_EQ(actual.columnCount(G::stgnivel), expected.columnCount(G::stgnivel));
    ASSERT_EQ(actual.rowCount(G::stgdatos), expected.rowCount(G::stgdatos));
    for (int c = 0; c < expected.columnCount(G::stgnivel); ++c)
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(actual.cell(G::stgnivel, c, r), expected.cell(G::stgnivel, c, r))
                << "level cell " << c << "," << r;
    for (int r = 1; r < expected.rowCount(G::stgdatos); ++r)
        for (int c = 0; c < kDataGridStoredColumns; ++c)
            EXPECT_EQ(actual.cell(G::stgdatos, c, r), expected.cell(G::stgdatos, c, r))
                << "data cell " << c << "," << r;
}

}  // namespace ldc::testing
