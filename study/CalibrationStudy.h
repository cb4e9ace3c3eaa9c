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
    std::string cell(StudyTable table, int column, int row) const override;
    void setCell(StudyTable table, int column, int row, const std::string& text) override;
    std::string_view cellView(StudyTable table, int column, int row,
                              std::string& scratch) const override;
    int columnCount(StudyTable table) const override;
    int rowCount(StudyTable table) const override;
    void setColumnCount(StudyTable table, int count) override;
    void setRowCount(StudyTable table, int count) override;
    int blankCount() const override;
    std::string blankReadingText(int reading) const override;
    void setBlankReadings(const std::vector<std::string>& readings) override;
    std::string caption() const override;
    void setCaption(const std::string& caption) override;

private:
    struct Table {
        int columns = 0;  // visible columns
        int storedColumns = 0;
        std::vector<std::vector<std::string>> rows;
    };
    Table& tableFor(StudyTable table) { return table == StudyTable::levels ? m_levels : m_results; }
    const Table& tableFor(StudyTable table) const {
        return table == StudyTable::levels ? m_levels : m_results;
    }

    std::array<std::string, 7> m_fields;
    Table m_levels;
    Table m_results;
    std::vector<std::string> m_blanks;
    std::string m_caption = "Nuevo";
};

}  // namespace ldc
