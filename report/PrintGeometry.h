#pragma once

#include <string>
#include <vector>

#include "calc/Ucalculo.h"
#include "report/DrawingSurface.h"
#include "study/StudyDocument.h"

namespace ldc {

// Both printed layouts place everything on a grid taken from the header font once it is
// set on the printer: a line is that font's height in device pixels (100 at 600 dpi) and a
// column unit is its point size taken as pixels (12), whatever the printer's resolution.

inline constexpr const char* kPrintFontName = "ARIAL";
inline constexpr int kHeaderPointSize = 12;
inline constexpr const char* kOrganisationName = "Laboratorio de Análisis Farmacéutico";
inline constexpr const char* kQualityControl = "Control de Calidad";
inline constexpr const char* kProgramMark = "QORVAL v.w. 3.1";

// The header rule stands this many pixels below line 9.
inline constexpr int kHeaderRuleOffset = 21;

// A data list too long for its page goes on over further pages, each with the header. There
// the list's heading row (units of the recovered amount) comes again on line 11, leaving the
// first page's title line 10 free below the rule, and the rows follow from line 12 down to
// the same last line as on the first page.
inline constexpr int kContinuationHeadingLine = 11;
inline constexpr int kContinuationFirstLine = kContinuationHeadingLine + 1;

struct PageGeometry {
    int lineHeight = 0;    // L
    int columnUnit = 0;    // S
    int width = 0;         // W, printable width
    int height = 0;        // printable height
    int marginFactor = 0;  // M, DeskJet only

    int y(int line) const { return line * lineHeight; }
    int x(int units) const { return units * columnUnit; }
};

// (W − width) / 2 truncated toward zero; may be negative for a text wider than the page.
int centredX(int pageWidth, int textWidth);
int rightAlignedX(int pageWidth, int textWidth);

// The DeskJet margin factor of the margin choice "1 cm", "1.5 cm", "2.0 cm" (items 0, 1, 2);
// anything else gives the initial choice's 3.
int deskJetMarginFactor(int marginItem);

// One cell of the level table as the printed page places it. Up to five levels fit in one
// block of columns on lines 25 to 27; from six on, levels 6.. go to a second block on
// lines 30 to 32 headed by the label column again.
struct LevelCellPlace {
    int column = 0;
    int row = 0;
    int line = 0;
    bool secondBlock = false;
};

// Cells of levels beyond the table's last column read as empty texts and are left out, so
// a mistyped level count cannot make the table run on for ever.
std::vector<LevelCellPlace> levelTablePlaces(int levelCount, int lastTableLevel);
// The first line free below the level table: 28 for one block, 33 for two.
int levelTableNextLine(int levelCount);

// The last row of the data list to print (row 0 is its heading): the sum of the replicate
// counts of levels 1..levelCount, converting each count (a count that is not a whole number
// raises the conversion error), but never beyond the results table's last row, where nothing is
// held. −1 when the counts add up to less than zero.
int dataListLastRow(const StudyDocument& study, int levelCount);

// The share of the data list that one page carries: rows firstRow..lastRow on consecutive
// lines from firstLine. A continuation page repeats the heading row on the line above.
struct DataSlice {
    int firstRow = 0;
    int lastRow = -1;
    int firstLine = 0;
    bool repeatsHeading = false;

    // The line just below the slice's last row (its first line when it holds none).
    int endLine() const { return firstLine + (lastRow - firstRow) + 1; }
};

// Splits rows 0..lastRow over pages so that no row stands below lastLine: the first page
// from firstLine, every further one from kContinuationFirstLine. A page always takes at
// least one row, so even an absurdly short page cannot stall the print. With no rows at all
// there is still the first page's (empty) slice.
std::vector<DataSlice> paginateDataRows(int lastRow, int firstLine, int lastLine);

// Drawing steps both layouts share.

// Runs `compose` on a begun document. A document whose composition stops on an error is
// abandoned (nothing of it reaches the printer, and the next print begins afresh) and the
// error goes on to the caller.
template <class Compose>
auto abortOnError(DrawingSurface& surface, Compose&& compose) -> decltype(compose()) {
    try {
        return compose();
    } catch (...) {
        surface.abortDoc();
        throw;
    }
}

// Sets the header font and takes the page grid from it (marginFactor left at 0).
PageGeometry takeGeometry(DrawingSurface& surface);
// The organisation, "Control de Calidad" and the title centred on lines 5 to 7, and the
// rule across the page below line 9, in the header font.
void drawHeaderLines(DrawingSurface& surface, const PageGeometry& page, const std::string& title);

void drawCentred(DrawingSurface& surface, const PageGeometry& page, int line,
                 const std::string& text);
void drawRightAligned(DrawingSurface& surface, const PageGeometry& page, int line,
                      const std::string& text);
void drawRule(DrawingSurface& surface, int y, int width);

// The slice's rows of the results table, labels at x0 and recovered amounts at x1 (column
// units), every label before the first amount as the program always printed them.
void drawDataSlice(DrawingSurface& surface, const PageGeometry& page, const StudyDocument& study,
                   const DataSlice& slice, int x0, int x1);

// The statistics of the results page. The two layouts word their labels differently (mixed
// or upper case) and leave a different gap before the limit lines; the lines the
// statistics stand on are the same: 16 to 26, the intercept's standard deviation on 28 for
// "Ordenada al Origen", then the two limit lines whatever the basis text is.
struct StatisticLabels {
    const char* slope;
    const char* slopeUpper;
    const char* slopeLower;
    const char* intercept;
    const char* interceptUpper;
    const char* interceptLower;
    const char* residualStdDev;
    const char* variation;
    const char* determination;
    const char* interceptStdDev;
    const char* detection;
    const char* quantification;
    int limitGap;  // the detection limit stands this many lines below the last statistic
};

void drawStatistics(DrawingSurface& surface, const PageGeometry& page, int x,
                    const CalibrationResults& results, const std::string& basis,
                    const std::string& units, const StatisticLabels& labels);

}  // namespace ldc
