#pragma once

#include <QStringList>

#include <optional>

class TMainForm;

// The study files named on the command line, as the desktop passes a study the user
// opens with the program. The first opens as Archivo > Abrir opens a chosen file, once the
// event loop runs, so that an error on the way shows in the error box as any command's
// does. One study is open at a time: any further name is left unopened, and a line on the
// standard error says so.
void openStudiesNamed(TMainForm& frame, const QStringList& names);

// `ldc --pdf SALIDA.pdf ARCHIVO.w9c`: the study's whole record written as a PDF without
// showing a window, for laboratory systems that file records on their own. Returns the
// program's exit code when the arguments ask for it (0 when the PDF is written; otherwise
// the reason is on the standard error), nothing when they do not.
std::optional<int> writeRecordRequested(const QStringList& arguments);
