#pragma once

#include <array>
#include <string>
#include <vector>

#include "study/StudyDocument.h"

namespace ldc {

// A study held in memory: what the command-line calculator and the tests use in place
// of the study window. It starts with the study window's initial content.
class CalibrationStudy : public StudyDocument {
public:
    CalibrationStudy();

    std::string text(StudyField field) const override;
    void setText(StudyField field, const std::string& text) override;
    std::string cell(StudyGrid grid, int column, int row) const override;
    void setCell(StudyGrid grid, int column, int row, const std::string& text) override;
    int columnCount(StudyGrid grid) const override;
    int rowCount(StudyGrid grid) const override;
    void setColumnCount(StudyGrid grid, int count) override;
    void setRowCount(StudyGrid grid, int count) override;
    std::string caption() const override;
    void setCaption(const std::string& caption) override;

private:
    struct Grid {
        int columns = 0;  // visible columns
        int storedColumns = 0;
        std::vector<std::vector<std::string>> rows;
    };
    Grid& gridFor(StudyGrid grid) { return grid == StudyGrid::stgnivel ? m_levels : m_data; }
    const Grid& gridFor(StudyGrid grid) const {
        return grid == StudyGrid::stgnivel ? m_levels : m_data;
    }

    std::array<std::string, 7> m_fields;
    Grid m_levels;
    Grid m_data;
    std::string m_caption = "Nuevo";
};

}  // namespace ldc
