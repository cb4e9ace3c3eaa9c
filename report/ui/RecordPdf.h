#pragma once

#include <QString>

#include "report/PageIdentity.h"
#include "study/StudyDocument.h"

// Writes the study's whole record as one PDF at `path`: every page of the record with the
// identity at its foot and the pages counted over the whole PDF; the method, the analyst,
// the program and the file's SHA-256 in the document's information. The PDF is complete
// before it takes the name `path`: a record that fails leaves whatever was there before,
// or nothing.
void writeRecordPdf(const QString& path, const ldc::StudyDocument& study,
                    const ldc::PageIdentity& identity);
