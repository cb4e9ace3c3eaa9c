#include "study/CalibrationStudy.h"

#include <algorithm>

#include "study/StudyLayout.h"

namespace ldc {

CalibrationStudy::CalibrationStudy() {
    m_levels.columns = 4;
    m_levels.storedColumns = 4;
    m_levels.rows.assign(3, std::vector<std::string>(4));
    m_data.columns = 2;
    m_data.storedColumns = kDataGridStoredColumns;
    m_data.rows.assign(10, std::vector<std::string>(kDataGridStoredColumns));
    applyInitialContent(*this);
}

std::string CalibrationStudy::text(StudyField field) const {
    return m_fields[static_cast<std::size_t>(field)];
}

void CalibrationStudy::setText(StudyField field, const std::string& text) {
    m_fields[static_cast<std::size_t>(field)] = text;
}

std::string CalibrationStudy::cell(StudyGrid grid, int column, int row) const {
    const Grid& g = gridFor(grid);
    if (row < 0 || row >= static_cast<int>(g.rows.size()) || column < 0 ||
        column >= g.storedColumns)
        return {};
    return g.rows[row][column];
}

void CalibrationStudy::setCell(StudyGrid grid, int column, int row, const std::string& text) {
    Grid& g = gridFor(grid);
    if (row < 0 || row >= static_cast<int>(g.rows.size()) || column < 0 ||
        column >= g.storedColumns)
        return;
    g.rows[row][column] = text;
}

int CalibrationStudy::columnCount(StudyGrid grid) const {
    return gridFor(grid).columns;
}

int CalibrationStudy::rowCount(StudyGrid grid) const {
    return static_cast<int>(gridFor(grid).rows.size());
}

void CalibrationStudy::setColumnCount(StudyGrid grid, int count) {
    Grid& g = gridFor(grid);
    count = std::max(count, 1);
    g.columns = count;
    if (grid == StudyGrid::stgdatos)
        count = std::max(count, kDataGridStoredColumns);
    g.storedColumns = count;
    for (auto& row : g.rows)
        row.resize(count);
}

void CalibrationStudy::setRowCount(StudyGrid grid, int count) {
    Grid& g = gridFor(grid);
    g.rows.resize(std::max(count, 1), std::vector<std::string>(g.storedColumns));
}

std::string CalibrationStudy::caption() const {
    return m_caption;
}

void CalibrationStudy::setCaption(const std::string& caption) {
    m_caption = caption;
}

}  // namespace ldc
