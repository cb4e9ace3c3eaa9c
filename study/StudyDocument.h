#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ldc {

// The texts of a study, in the order of the first lines of its file: general information
// (method, analyst, date, units of the added and of the recovered amount), the basis of the
// limits and the number of levels.
enum class StudyField { method, analyst, date, addedUnits, recoveredUnits, limitBasis, levelCount };

// The study's two tables: the level table (column i, rows 1 and 2 hold level value and
// replicate count of level i) and the results table (row r: label, recovered amount and
// the never-shown second value in columns 0, 1 and 2).
enum class StudyTable { levels, results };

// The two texts the basis of the limits may take.
inline constexpr const char* kBasisRegression = "Regresión";
inline constexpr const char* kBasisIntercept = "Ordenada al Origen";

// Text of the results table's hidden third column lives beyond the visible columns.
inline constexpr int kResultsStoredColumns = 3;

// The study exists only as texts, exactly as typed. The calculation, the study file and
// the report reach it through this interface; the study window is one implementation,
// CalibrationStudy (in memory) another.
//
// Cells are addressed (column, row) from 0. The level table holds columnCount columns;
// the results table shows 2 columns but holds 3. A cell outside the table reads as empty
// text and writing it does nothing. Outside the study itself the cells are reached by
// name, through the accessors below.
class StudyDocument {
public:
    virtual ~StudyDocument() = default;

    virtual std::string text(StudyField field) const = 0;
    virtual void setText(StudyField field, const std::string& text) = 0;

    virtual std::string cell(StudyTable table, int column, int row) const = 0;
    virtual void setCell(StudyTable table, int column, int row, const std::string& text) = 0;
    // The same text as cell(), valid until the study changes or `scratch` is reused. A
    // calculation reads every result once; a study that holds its texts hands them over
    // without the copy cell() makes, the others copy into `scratch`.
    virtual std::string_view cellView(StudyTable table, int column, int row,
                                      std::string& scratch) const {
        scratch = cell(table, column, row);
        return scratch;
    }

    virtual int columnCount(StudyTable table) const = 0;
    virtual int rowCount(StudyTable table) const = 0;
    // Used for the level table: k + 1 columns. Cells of removed columns are dropped.
    virtual void setColumnCount(StudyTable table, int count) = 0;
    // Used for the results table: N + 1 rows. Cells of removed rows are dropped.
    virtual void setRowCount(StudyTable table, int count) = 0;

    // Replicate readings of blanks, in the units of the recovered amount, as typed and
    // numbered from 1. They run to the last one typed: empty texts after it are no
    // readings. A reading outside 1..blankCount reads as empty text.
    virtual int blankCount() const = 0;
    virtual std::string blankReadingText(int reading) const = 0;
    // Replaces every reading (trailing empty texts are dropped).
    virtual void setBlankReadings(const std::vector<std::string>& readings) = 0;

    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
};

// Every blank reading of the study, in order.
std::vector<std::string> blankReadingTexts(const StudyDocument& study);

// The level table by name: the header, value and replicate count of level 1..k.
std::string levelHeaderText(const StudyDocument& study, int level);
void setLevelHeaderText(StudyDocument& study, int level, const std::string& text);
std::string levelValueText(const StudyDocument& study, int level);
void setLevelValueText(StudyDocument& study, int level, const std::string& text);
std::string replicateCountText(const StudyDocument& study, int level);
void setReplicateCountText(StudyDocument& study, int level, const std::string& text);
// The texts a calculation converts, as StudyDocument::cellView hands them over.
std::string_view levelValueView(const StudyDocument& study, int level, std::string& scratch);
std::string_view replicateCountView(const StudyDocument& study, int level, std::string& scratch);
// The levels the level table has room for (its columns after the header column).
int levelsInTable(const StudyDocument& study);
void setLevelsInTable(StudyDocument& study, int levels);

// The results table by name: row 0 holds the headings (the recovered amounts are headed by
// their units), rows 1..N the replicates.
std::string rowLabelText(const StudyDocument& study, int row);
void setRowLabelText(StudyDocument& study, int row, const std::string& text);
std::string recoveredAmountText(const StudyDocument& study, int row);
void setRecoveredAmountText(StudyDocument& study, int row, const std::string& text);
std::string_view recoveredAmountView(const StudyDocument& study, int row, std::string& scratch);
std::string secondValueText(const StudyDocument& study, int row);
void setSecondValueText(StudyDocument& study, int row, const std::string& text);
// The replicate rows the results table holds (its rows after the heading row).
int resultRows(const StudyDocument& study);
void setResultRows(StudyDocument& study, int rows);

}  // namespace ldc
