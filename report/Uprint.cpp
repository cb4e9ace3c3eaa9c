#include "report/Uprint.h"

#include <climits>

#include "calc/StudyValues.h"

namespace ldc::deskjet {
namespace {

using F = StudyField;

constexpr const char* kTitle = "LÍMITE DE DETECCIÓN Y CUANTIFICACIÓN DEL MÉTODO";
constexpr int kBodyPointSize = 11;

// Upper case, one line closer to the statistics than on the laser page; "ESTANDAR" of the
// regression without its accent, as these pages have always printed it.
constexpr StatisticLabels kStatisticLabels = {
    "PENDIENTE",
    "LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA",
    "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA",
    "ORDENADA AL ORIGEN",
    "LÍMITE SUPERIOR DEL INTERVALO DE CONFIANZA DE LA ORDENADA AL ORIGEN",
    "LÍMITE INFERIOR DEL INTERVALO DE CONFIANZA DE LA ORDENADA AL ORIGEN",
    "DESVIACIÓN ESTANDAR DE REGRESIÓN",
    "COEFICIENTE DE VARIACIÓN",
    "COEFICIENTE DE DETERMINACIÓN",
    "DESVIACIÓN ESTÁNDAR DE ORDENADA AL ORIGEN",
    "LÍMITE DE DETECCIÓN",
    "LÍMITE DE CUANTIFICACIÓN",
    1,
};

// "VARIABILIDAD" and the basis keep to the page's edge whatever the margin.
constexpr int kBasisUnits = 2;
constexpr int kDataColumn1Offset = 40;

// The mark and the closing line stand 6 and 7 lines below the line after the last data row.
constexpr int kMarkOffset = 6;
constexpr int kClosingRuleOffset = 7;

int levelCellUnits(const LevelCellPlace& place, int margin) {
    if (!place.secondBlock)
        return margin + 25 * place.column;
    return place.column == 0 ? margin : margin + 50 + 25 * (place.column - 6);
}

void drawAtMargin(DrawingSurface& surface, const PageGeometry& page, int line,
                  const std::string& text) {
    surface.textOut(page.x(page.marginFactor), page.y(line), text);
}

// The last line whose text cell lies wholly inside the printable area.
int lastUsableLine(const PageGeometry& page) {
    return page.lineHeight > 0 ? page.height / page.lineHeight - 1 : INT_MAX;
}

bool closingFits(const PageGeometry& page, int lineAfterData) {
    return page.lineHeight <= 0 || page.y(lineAfterData + kClosingRuleOffset) < page.height;
}

// Header again on a further page of the same document, then the body font back.
void continueOnNewPage(DrawingSurface& surface, const PageGeometry& page) {
    surface.newPage();
    surface.setFont(kPrintFontName, kHeaderPointSize);
    drawHeaderLines(surface, page, kTitle);
    surface.setFont(kPrintFontName, kBodyPointSize);
}

}  // namespace

PageGeometry printHeader(DrawingSurface& surface, int marginFactor) {
    surface.beginDoc();
    return abortOnError(surface, [&] {
        PageGeometry page = takeGeometry(surface);
        page.marginFactor = marginFactor;
        drawHeaderLines(surface, page, kTitle);
        return page;
    });
}

void printGeneralPage(DrawingSurface& surface, const StudyDocument& study, int marginFactor) {
    const PageGeometry page = printHeader(surface, marginFactor);
    abortOnError(surface, [&] {
        const int m = page.marginFactor;
        surface.setFont(kPrintFontName, kBodyPointSize);
        drawCentred(surface, page, 10, "INFORMACIÓN GENERAL");
        surface.textOut(page.x(kBasisUnits), page.y(12), "VARIABILIDAD");
        surface.textOut(page.x(kBasisUnits), page.y(13), study.text(F::limitBasis));
        drawAtMargin(surface, page, 15, "Nombre del método: " + study.text(F::method));
        drawAtMargin(surface, page, 16, "Nombre del Analista: " + study.text(F::analyst));
        drawAtMargin(surface, page, 17, "Fecha: " + study.text(F::date));
        drawAtMargin(surface, page, 18,
                     "Unidades de la cantidad adicionada: " + study.text(F::addedUnits));
        drawAtMargin(surface, page, 19,
                     "Unidades de la cantidad recuperada: " + study.text(F::recoveredUnits));
        drawAtMargin(surface, page, 22, "Número de niveles de cantidad adicionada:");
        drawAtMargin(surface, page, 23, study.text(F::levelCount));

        const int k = levelCount(study);
        for (const LevelCellPlace& place : levelTablePlaces(k, levelsInTable(study)))
            surface.textOut(page.x(levelCellUnits(place, m)), page.y(place.line),
                            study.cell(StudyTable::levels, place.column, place.row));

        const int next = levelTableNextLine(k);
        const std::vector<DataSlice> slices =
            paginateDataRows(dataListLastRow(study, k), next + 2, lastUsableLine(page));
        for (std::size_t i = 0; i < slices.size(); ++i) {
            if (i > 0)
                continueOnNewPage(surface, page);
            drawDataSlice(surface, page, study, slices[i], m, m + kDataColumn1Offset);
        }

        int lineAfterData = slices.back().endLine();
        if (!closingFits(page, lineAfterData)) {
            // A page of its own, the mark standing where it would after an empty list.
            continueOnNewPage(surface, page);
            lineAfterData = kContinuationHeadingLine;
        }
        drawRightAligned(surface, page, lineAfterData + kMarkOffset, kProgramMark);
        drawRule(surface, page.y(lineAfterData + kClosingRuleOffset), page.width);
        surface.endDoc();
    });
}

void printResultsPage(DrawingSurface& surface, const StudyDocument& study,
                      CalibrationResults results, int marginFactor) {
    const PageGeometry page = printHeader(surface, marginFactor);
    abortOnError(surface, [&] {
        const std::string basis = study.text(F::limitBasis);
        const std::string units = study.text(F::addedUnits);
        surface.setFont(kPrintFontName, kBodyPointSize);
        surface.textOut(page.x(kBasisUnits), page.y(13), "VARIABILIDAD");
        surface.textOut(page.x(kBasisUnits), page.y(14), basis);
        drawStatistics(surface, page, page.marginFactor, results, basis, units, kStatisticLabels);
        drawAtMargin(surface, page, 34, "Nombre del método:");
        drawAtMargin(surface, page, 35, study.text(F::method));
        drawAtMargin(surface, page, 36, "Nombre del Analista:");
        drawAtMargin(surface, page, 37, study.text(F::analyst));
        drawAtMargin(surface, page, 38, "Fecha:");
        drawAtMargin(surface, page, 39, study.text(F::date));
        drawRightAligned(surface, page, 41, kProgramMark);
        drawRule(surface, page.y(43), page.width);
        surface.endDoc();
    });
}

CalibrationResults& record() {
    static CalibrationResults record;
    return record;
}

void printChoice(DrawingSurface& surface, const StudyDocument& study, int option, int marginFactor,
                 CalibrationResults& record) {
    if (option == 0) {
        printGeneralPage(surface, study, marginFactor);
    } else if (option == 1) {
        // Calculated before the document begins: a study the calculation refuses prints
        // nothing at all.
        ComputeCalibration(study, record);
        printResultsPage(surface, study, record, marginFactor);
    }
}

}  // namespace ldc::deskjet
