#include "report/Uprint1.h"

#include "calc/StudyValues.h"

namespace ldc::laser {
namespace {

using F = StudyField;

constexpr const char* kTitle = "Límite de Detección y Cuantificación del Método";
constexpr int kBodyPointSize = 10;

constexpr StatisticLabels kStatisticLabels = {
    "Pendiente",
    "Límite Superior del Intervalo de Confianza",
    "Límite Inferior del Intervalo de Confianza",
    "Ordenada al Origen",
    "Límite Superior del Intervalo de Confianza de la Ordenada al Origen",
    "Límite Inferior del Intervalo de Confianza de la Ordenada al Origen",
    "Desviación Estándar de Regresión",
    "Coeficiente de Variación",
    "Coeficiente de Determinación",
    "Desviación Estándar de Ordenada al Origen",
    "Límite de Detección",
    "Límite de Cuantificación",
    2,
};

// Column units of the items.
constexpr int kLeft = 45;
constexpr int kDataColumn1 = 125;
constexpr int kSecondSignature = 225;

// Data rows end above the signature lines; the footer lines follow them.
constexpr int kSignatureLine = 56;
constexpr int kLastDataLine = kSignatureLine - 1;
constexpr int kMarkLine = 58;
constexpr int kClosingRuleLine = 59;

int levelCellUnits(const LevelCellPlace& place) {
    if (!place.secondBlock)
        return kLeft + 55 * place.column;
    return place.column == 0 ? kLeft : 95 + 55 * (place.column - 6);
}

void drawLeft(DrawingSurface& surface, const PageGeometry& page, int line,
              const std::string& text) {
    surface.textOut(page.x(kLeft), page.y(line), text);
}

// Header again on a further page of the same document, then the body font back.
void continueOnNewPage(DrawingSurface& surface, const PageGeometry& page) {
    surface.newPage();
    surface.setFont(kPrintFontName, kHeaderPointSize);
    drawHeaderLines(surface, page, kTitle);
    surface.setFont(kPrintFontName, kBodyPointSize);
}

void drawFoot(DrawingSurface& surface, const PageGeometry& page) {
    const std::string rule(26, '_');
    drawLeft(surface, page, kSignatureLine, "Realizó:" + rule + " ");
    surface.textOut(page.x(kSecondSignature), page.y(kSignatureLine), "Revisó:" + rule + " ");
    drawRightAligned(surface, page, kMarkLine, kProgramMark);
    drawRule(surface, page.y(kClosingRuleLine), page.width);
}

}  // namespace

PageGeometry printHeader(DrawingSurface& surface) {
    surface.beginDoc();
    return abortOnError(surface, [&] {
        const PageGeometry page = takeGeometry(surface);
        drawHeaderLines(surface, page, kTitle);
        return page;
    });
}

void printGeneralPage(DrawingSurface& surface, const StudyDocument& study) {
    const PageGeometry page = printHeader(surface);
    abortOnError(surface, [&] {
        surface.setFont(kPrintFontName, kBodyPointSize);
        drawCentred(surface, page, 10, "Información General");
        drawLeft(surface, page, 12, "Variabilidad");
        drawLeft(surface, page, 13, study.text(F::limitBasis));
        drawLeft(surface, page, 15, "Nombre del método: " + study.text(F::method));
        drawLeft(surface, page, 16, "Nombre del Analista: " + study.text(F::analyst));
        drawLeft(surface, page, 17, "Fecha: " + study.text(F::date));
        drawLeft(surface, page, 18,
                 "Unidades de la cantidad adicionada: " + study.text(F::addedUnits));
        drawLeft(surface, page, 19,
                 "Unidades de la cantidad recuperada: " + study.text(F::recoveredUnits));
        drawLeft(surface, page, 22, "Número de niveles de cantidad adicionada:");
        drawLeft(surface, page, 23, study.text(F::levelCount));

        const int k = levelCount(study);
        for (const LevelCellPlace& place : levelTablePlaces(k, levelsInTable(study)))
            surface.textOut(page.x(levelCellUnits(place)), page.y(place.line),
                            study.cell(StudyTable::levels, place.column, place.row));

        const int next = levelTableNextLine(k);
        const std::vector<DataSlice> slices =
            paginateDataRows(dataListLastRow(study, k), next + 2, kLastDataLine);
        for (std::size_t i = 0; i < slices.size(); ++i) {
            if (i > 0)
                continueOnNewPage(surface, page);
            drawDataSlice(surface, page, study, slices[i], kLeft, kDataColumn1);
            // Every page is signed: a continuation sheet may be separated from the first.
            drawFoot(surface, page);
        }
        surface.endDoc();
    });
}

void printResultsPage(DrawingSurface& surface, const StudyDocument& study,
                      CalibrationResults results) {
    const PageGeometry page = printHeader(surface);
    abortOnError(surface, [&] {
        const std::string basis = study.text(F::limitBasis);
        const std::string units = study.text(F::addedUnits);
        surface.setFont(kPrintFontName, kBodyPointSize);
        drawLeft(surface, page, 13, "Variabilidad");
        drawLeft(surface, page, 14, basis);
        drawStatistics(surface, page, kLeft, results, basis, units, kStatisticLabels);
        drawLeft(surface, page, 45, "Nombre del método: " + study.text(F::method));
        drawLeft(surface, page, 46, "Nombre del Analista: " + study.text(F::analyst));
        drawLeft(surface, page, 47, "Unidades de la cantidad adicionada: " + units);
        drawLeft(surface, page, 48,
                 "Unidades de la cantidad recuperada: " + study.text(F::recoveredUnits));
        drawLeft(surface, page, 49, "Fecha: " + study.text(F::date));
        drawFoot(surface, page);
        surface.endDoc();
    });
}

CalibrationResults& record() {
    static CalibrationResults record;
    return record;
}

void printChoice(DrawingSurface& surface, const StudyDocument& study, int option,
                 CalibrationResults& record) {
    if (option == 0) {
        printGeneralPage(surface, study);
    } else if (option == 1) {
        // Calculated before the document begins: a study the calculation refuses prints
        // nothing at all.
        ComputeCalibration(study, record);
        printResultsPage(surface, study, record);
    }
}

}  // namespace ldc::laser
