#pragma once

class QWidget;

// The four print dialogs live for the whole run, apart from the frame, and are only hidden
// when closed so that their choices persist: created at start-up after the frame and the
// splash, in this order, Fopprt1, FOPRT, oprui, Fopprt; destroyed when the run ends.
void createPrintDialogs();
void destroyPrintDialogs();

// Shows a print dialog without blocking the frame and brings it to the front.
void showModeless(QWidget* dialog);
