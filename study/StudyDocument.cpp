#include "study/StudyDocument.h"

namespace ldc {
namespace {

constexpr int kHeaderRow = 0;
constexpr int kValueRow = 1;
constexpr int kReplicateRow = 2;

constexpr int kLabelColumn = 0;
constexpr int kAmountColumn = 1;
constexpr int kSecondValueColumn = 2;

}  // namespace

std::string levelHeaderText(const StudyDocument& study, int level) {
    return study.cell(StudyTable::levels, level, kHeaderRow);
}
void setLevelHeaderText(StudyDocument& study, int level, const std::string& text) {
    study.setCell(StudyTable::levels, level, kHeaderRow, text);
}
std::string levelValueText(const StudyDocument& study, int level) {
    return study.cell(StudyTable::levels, level, kValueRow);
}
void setLevelValueText(StudyDocument& study, int level, const std::string& text) {
    study.setCell(StudyTable::levels, level, kValueRow, text);
}
std::string_view levelValueView(const StudyDocument& study, int level, std::string& scratch) {
    return study.cellView(StudyTable::levels, level, kValueRow, scratch);
}
std::string replicateCountText(const StudyDocument& study, int level) {
    return study.cell(StudyTable::levels, level, kReplicateRow);
}
void setReplicateCountText(StudyDocument& study, int level, const std::string& text) {
    study.setCell(StudyTable::levels, level, kReplicateRow, text);
}
std::string_view replicateCountView(const StudyDocument& study, int level, std::string& scratch) {
    return study.cellView(StudyTable::levels, level, kReplicateRow, scratch);
}
int levelsInTable(const StudyDocument& study) {
    return study.columnCount(StudyTable::levels) - 1;
}
void setLevelsInTable(StudyDocument& study, int levels) {
    study.setColumnCount(StudyTable::levels, levels + 1);
}

std::string rowLabelText(const StudyDocument& study, int row) {
    return study.cell(StudyTable::results, kLabelColumn, row);
}
void setRowLabelText(StudyDocument& study, int row, const std::string& text) {
    study.setCell(StudyTable::results, kLabelColumn, row, text);
}
std::string recoveredAmountText(const StudyDocument& study, int row) {
    return study.cell(StudyTable::results, kAmountColumn, row);
}
void setRecoveredAmountText(StudyDocument& study, int row, const std::string& text) {
    study.setCell(StudyTable::results, kAmountColumn, row, text);
}
std::string_view recoveredAmountView(const StudyDocument& study, int row, std::string& scratch) {
    return study.cellView(StudyTable::results, kAmountColumn, row, scratch);
}
std::string secondValueText(const StudyDocument& study, int row) {
    return study.cell(StudyTable::results, kSecondValueColumn, row);
}
void setSecondValueText(StudyDocument& study, int row, const std::string& text) {
    study.setCell(StudyTable::results, kSecondValueColumn, row, text);
}
int resultRows(const StudyDocument& study) {
    return study.rowCount(StudyTable::results) - 1;
}
void setResultRows(StudyDocument& study, int rows) {
    study.setRowCount(StudyTable::results, rows + 1);
}

std::vector<std::string> blankReadingTexts(const StudyDocument& study) {
    std::vector<std::string> readings;
    const int count = study.blankCount();
    readings.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i)
        readings.push_back(study.blankReadingText(i));
    return readings;
}

}  // namespace ldc
