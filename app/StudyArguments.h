#pragma once

#include <QStringList>

class TMainForm;

// The study files named on the command line, as the desktop passes a study the user
// opens with the program. The first opens as Archivo > Abrir opens a chosen file, once the
// event loop runs, so that an error on the way shows in the error box as any command's
// does. One study is open at a time: any further name is left unopened, and a line on the
// standard error says so.
void openStudiesNamed(TMainForm& frame, const QStringList& names);
