#include "study/CalibrationStudy.h"

#include <algorithm>

#include "study/StudyLayout.h"

namespace ldc {

CalibrationStudy::CalibrationStudy() {
    m_levels.columns = 4;
    m_levels.storedColumns = 4;
    m_levels.rows.assign(3, std::vector<std::string>(4));
    m_results.columns = 2;
    m_results.storedColumns = kResultsStoredColumns;
    m_results.rows.assign(10, std::vector<std::string>(kResultsStoredColumns));
    applyInitialContent(*this);
}

std::string CalibrationStudy::text(StudyField field) const {
    return m_fields[static_cast<std::size_t>(field)];
}

void CalibrationStudy::setText(StudyField field, const std::string& text) {
    m_fields[static_cast<std::size_t>(field)] = text;
}

std::string CalibrationStudy::cell(StudyTable table, int column, int row) const {
    std::string scratch;
    return std::string(cellView(table, column, row, scratch));
}

std::string_view CalibrationStudy::cellView(StudyTable table, int column, int row,
                                            std::string&) const {
    const Table& t = tableFor(table);
    if (row < 0 || row >= static_cast<int>(t.rows.size()) || column < 0 ||
        column >= t.storedColumns)
        return {};
    return t.rows[row][column];
}

void CalibrationStudy::setCell(StudyTable table, int column, int row, const std::string& text) {
    Table& t = tableFor(table);
    if (row < 0 || row >= static_cast<int>(t.rows.size()) || column < 0 ||
        column >= t.storedColumns)
        return;
    t.rows[row][column] = text;
}

int CalibrationStudy::columnCount(StudyTable table) const {
    return tableFor(table).columns;
}

int CalibrationStudy::rowCount(StudyTable table) const {
    return static_cast<int>(tableFor(table).rows.size());
}

void CalibrationStudy::setColumnCount(StudyTable table, int count) {
    Table& t = tableFor(table);
    count = std::max(count, 1);
    t.columns = count;
    if (table == StudyTable::results)
        count = std::max(count, kResultsStoredColumns);
    t.storedColumns = count;
    for (auto& row : t.rows)
        row.resize(count);
}

void CalibrationStudy::setRowCount(StudyTable table, int count) {
    Table& t = tableFor(table);
    t.rows.resize(std::max(count, 1), std::vector<std::string>(t.storedColumns));
}

int CalibrationStudy::blankCount() const {
    return static_cast<int>(m_blanks.size());
}

std::string CalibrationStudy::blankReadingText(int reading) const {
    if (reading < 1 || reading > blankCount())
        return {};
    return m_blanks[static_cast<std::size_t>(reading - 1)];
}

void CalibrationStudy::setBlankReadings(const std::vector<std::string>& readings) {
    m_blanks = readings;
    while (!m_blanks.empty() && m_blanks.back().empty())
        m_blanks.pop_back();
}

std::string CalibrationStudy::caption() const {
    return m_caption;
}

void CalibrationStudy::setCaption(const std::string& caption) {
    m_caption = caption;
}

}  // namespace ldc
