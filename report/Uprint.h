#pragma once

#include "calc/Ucalculo.h"
#include "report/DrawingSurface.h"
#include "report/PrintGeometry.h"
#include "study/StudyDocument.h"

// The DeskJet layout of the printed report: the laser layout's two pages with a larger body
// font, narrower columns, upper-case labels, a chosen left margin and no signature lines.
namespace ldc::deskjet {

// The printer resolution the layout was drawn for, the DeskJet's: its columns are fixed
// device pixels, twice as wide as the laser layout's on paper.
inline constexpr int kLayoutResolution = 300;

// Begins a document on `surface` and draws the page header; returns the page grid with the
// margin factor M (1, 3 or 5: deskJetMarginFactor of the margin choice).
PageGeometry printHeader(DrawingSurface& surface, int marginFactor);

// The general page as one complete document. The mark and closing line follow the data
// list; a list longer than the page goes on over further pages of the same document, and
// the mark and closing line go to a page of their own when they do not fit below it.
void printGeneralPage(DrawingSurface& surface, const StudyDocument& study, int marginFactor);

// The results page as one complete document, from the results of a calculation the caller
// has just run.
void printResultsPage(DrawingSurface& surface, const StudyDocument& study,
                      CalibrationResults results, int marginFactor);

// The DeskJet print's own results, apart from the frame's and the laser print's.
CalibrationResults& record();

// "Aceptar" of the DeskJet print options: option 0 prints the general page, option 1
// calculates the study into `record` and prints the results page, anything else prints
// nothing. Errors reach the caller after any begun document has been abandoned.
void printChoice(DrawingSurface& surface, const StudyDocument& study, int option, int marginFactor,
                 CalibrationResults& record);

}  // namespace ldc::deskjet
