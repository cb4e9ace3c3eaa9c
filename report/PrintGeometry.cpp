#include "report/PrintGeometry.h"

#include <algorithm>

#include "calc/FormatGeneral.h"
#include "calc/LimitText.h"
#include "calc/StudyValues.h"

namespace ldc {
namespace {

// Five levels fill the first block; the second one holds the rest.
constexpr int kFirstBlockLastColumn = 5;
constexpr int kFirstBlockLine = 25;
constexpr int kSecondBlockLine = 30;

}  // namespace

int centredX(int pageWidth, int textWidth) {
    return (pageWidth - textWidth) / 2;
}

int rightAlignedX(int pageWidth, int textWidth) {
    return pageWidth - textWidth;
}

int deskJetMarginFactor(int marginItem) {
    switch (marginItem) {
        case 0:
            return 1;
        case 2:
            return 5;
        default:
            return 3;
    }
}

std::vector<LevelCellPlace> levelTablePlaces(int levelCount, int lastTableLevel) {
    std::vector<LevelCellPlace> places;
    const int lastColumn = std::min(levelCount, lastTableLevel);
    for (int c = 0; c <= std::min(lastColumn, kFirstBlockLastColumn); ++c)
        for (int r = 0; r <= 2; ++r)
            places.push_back({c, r, kFirstBlockLine + r, false});
    if (levelCount > kFirstBlockLastColumn) {
        for (int r = 0; r <= 2; ++r)
            places.push_back({0, r, kSecondBlockLine + r, true});
        for (int c = kFirstBlockLastColumn + 1; c <= lastColumn; ++c)
            for (int r = 0; r <= 2; ++r)
                places.push_back({c, r, kSecondBlockLine + r, true});
    }
    return places;
}

int levelTableNextLine(int levelCount) {
    return levelCount > kFirstBlockLastColumn ? kSecondBlockLine + 3 : kFirstBlockLine + 3;
}

int dataListLastRow(const StudyDocument& study, int levels) {
    const long long counted = replicateTotal(study, levels);
    const long long lastTableRow = resultRows(study);
    return static_cast<int>(std::max(-1LL, std::min(counted, lastTableRow)));
}

std::vector<DataSlice> paginateDataRows(int lastRow, int firstLine, int lastLine) {
    std::vector<DataSlice> slices;
    lastRow = std::max(lastRow, -1);
    int row = 0;
    int line = firstLine;
    do {
        const int capacity = std::max(1, lastLine - line + 1);
        const int sliceLast = std::min(lastRow, row + capacity - 1);
        slices.push_back({row, sliceLast, line, !slices.empty()});
        row = sliceLast + 1;
        line = kContinuationFirstLine;
    } while (row <= lastRow);
    return slices;
}

PageGeometry takeGeometry(DrawingSurface& surface) {
    surface.setFont(kPrintFontName, kHeaderPointSize);
    PageGeometry page;
    page.lineHeight = surface.fontHeight();
    page.columnUnit = surface.fontPointSize();
    page.width = surface.pageWidth();
    page.height = surface.pageHeight();
    return page;
}

void drawHeaderLines(DrawingSurface& surface, const PageGeometry& page, const std::string& title) {
    drawCentred(surface, page, 5, kOrganisationName);
    drawCentred(surface, page, 6, kQualityControl);
    drawCentred(surface, page, 7, title);
    drawRule(surface, page.y(9) + kHeaderRuleOffset, page.width);
}

void drawCentred(DrawingSurface& surface, const PageGeometry& page, int line,
                 const std::string& text) {
    surface.textOut(centredX(page.width, surface.textWidth(text)), page.y(line), text);
}

void drawRightAligned(DrawingSurface& surface, const PageGeometry& page, int line,
                      const std::string& text) {
    surface.textOut(rightAlignedX(page.width, surface.textWidth(text)), page.y(line), text);
}

void drawRule(DrawingSurface& surface, int y, int width) {
    surface.moveTo(0, y);
    surface.lineTo(width, y);
}

void drawDataSlice(DrawingSurface& surface, const PageGeometry& page, const StudyDocument& study,
                   const DataSlice& slice, int x0, int x1) {
    for (const int column : {0, 1}) {
        const int x = page.x(column == 0 ? x0 : x1);
        const auto text = [&](int row) {
            return column == 0 ? rowLabelText(study, row) : recoveredAmountText(study, row);
        };
        if (slice.repeatsHeading)
            surface.textOut(x, page.y(slice.firstLine - 1), text(0));
        for (int r = slice.firstRow; r <= slice.lastRow; ++r)
            surface.textOut(x, page.y(slice.firstLine + r - slice.firstRow), text(r));
    }
}

void drawStatistics(DrawingSurface& surface, const PageGeometry& page, int x,
                    const CalibrationResults& r, const std::string& basis, const std::string& units,
                    const StatisticLabels& labels) {
    const auto line = [&](int at, const std::string& label, double value) {
        surface.textOut(page.x(x), page.y(at), label + " = " + formatGeneral(value));
    };
    line(16, labels.slope, r.slope);
    line(17, labels.slopeUpper, r.slopeUpper);
    line(18, labels.slopeLower, r.slopeLower);
    line(20, labels.intercept, r.intercept);
    line(21, labels.interceptUpper, r.interceptUpper);
    line(22, labels.interceptLower, r.interceptLower);
    line(24, labels.residualStdDev, r.residualStdDev);
    line(25, labels.variation, r.variationCoefficient);
    line(26, labels.determination, r.determinationCoefficient);
    int last = 26;
    if (basis == kBasisIntercept) {
        line(28, labels.interceptStdDev, r.interceptStdDev);
        last = 28;
    }
    const std::string quotedBasis = " \"" + basis + "\" = ";
    const int detection = last + labels.limitGap;
    surface.textOut(
        page.x(x), page.y(detection),
        labels.detection + quotedBasis + limitValueText(basis, r, r.detectionLimit, units));
    surface.textOut(page.x(x), page.y(detection + 1),
                    labels.quantification + quotedBasis +
                        limitValueText(basis, r, r.quantificationLimit, units));
}

}  // namespace ldc
