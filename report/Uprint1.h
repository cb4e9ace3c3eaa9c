#pragma once

#include "calc/Ucalculo.h"
#include "report/DrawingSurface.h"
#include "report/PrintGeometry.h"
#include "study/StudyDocument.h"

// The laser layout of the printed report: a general page (general information, the level
// table and every replicate result) and a results page (the regression and the two limits),
// each its own document, with signature lines and the program's mark at the foot.
namespace ldc::laser {

// The printer resolution the layout was drawn for: its columns are fixed device pixels.
inline constexpr int kLayoutResolution = 600;

// Begins a document on `surface` and draws the page header; returns the page grid.
PageGeometry printHeader(DrawingSurface& surface);

// The general page as one complete document. A data list too long for the space above the
// signature lines goes on over further pages of the same document.
void printGeneralPage(DrawingSurface& surface, const StudyDocument& study);

// The results page as one complete document, from the results of a calculation the caller
// has just run.
void printResultsPage(DrawingSurface& surface, const StudyDocument& study,
                      CalibrationResults results);

// The laser print's own results, apart from the frame's and the DeskJet print's.
CalibrationResults& record();

// "Aceptar" of the laser print options: option 0 prints the general page, option 1
// calculates the study into `record` and prints the results page, anything else prints
// nothing. Errors reach the caller after any begun document has been abandoned.
void printChoice(DrawingSurface& surface, const StudyDocument& study, int option,
                 CalibrationResults& record);

}  // namespace ldc::laser
