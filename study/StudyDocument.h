#pragma once

#include <string>

namespace ldc {

// The controls of the study window that hold the study, by their names.
enum class StudyField { emetodo, eanalista, efecha, ecanad, erecupera, ComboBox1, enivel };

// The two string grids: the level grid (column i, rows 1 and 2 hold level value and
// replicate count of level i) and the data grid (row r: label, recovered amount and
// the never-shown second value in columns 0, 1 and 2).
enum class StudyGrid { stgnivel, stgdatos };

// The two texts the basis of the limits may take.
inline constexpr const char* kBasisRegression = "Regresión";
inline constexpr const char* kBasisIntercept = "Ordenada al Origen";

// Text of the data grid's hidden third column lives beyond the visible columns.
inline constexpr int kDataGridStoredColumns = 3;

// The study exists only as the texts of the study window's controls. The calculation,
// the study file and the report reach it through this interface, by control name and
// cell; the window is one implementation, CalibrationStudy (in memory) another.
//
// Cells are addressed (column, row) from 0. The level grid holds columnCount columns;
// the data grid shows 2 columns but holds 3. A cell outside the grid reads as empty
// text and writing it does nothing.
class StudyDocument {
public:
    virtual ~StudyDocument() = default;

    virtual std::string text(StudyField field) const = 0;
    virtual void setText(StudyField field, const std::string& text) = 0;

    virtual std::string cell(StudyGrid grid, int column, int row) const = 0;
    virtual void setCell(StudyGrid grid, int column, int row, const std::string& text) = 0;

    virtual int columnCount(StudyGrid grid) const = 0;
    virtual int rowCount(StudyGrid grid) const = 0;
    // Used for the level grid: k + 1 columns. Cells of removed columns are dropped.
    virtual void setColumnCount(StudyGrid grid, int count) = 0;
    // Used for the data grid: N + 1 rows. Cells of removed rows are dropped.
    virtual void setRowCount(StudyGrid grid, int count) = 0;

    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
};

}  // namespace ldc
