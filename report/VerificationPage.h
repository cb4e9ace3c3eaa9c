#pragma once

#include <vector>

#include "calc/SelfVerification.h"
#include "report/DrawingSurface.h"

namespace ldc {

// The printed record of the self-verification, the document a laboratory files as the
// program's installation and operational qualification: the page header titled
// "Verificación del programa", the machine, user, program version and date, the table of
// checks grouped by reference case with each case's source, the summary and the signature
// lines. A table too long for one page goes on over further pages, each with the header
// and the column headings again, and every page is numbered "Página n de m".
namespace verification {

// The resolution the page is drawn for, as the laser layout's.
inline constexpr int kLayoutResolution = 600;

// One complete document; a composition that stops on an error is abandoned.
void printVerificationPage(DrawingSurface& surface, const std::vector<VerificationRow>& rows,
                           const VerificationContext& context);

}  // namespace verification
}  // namespace ldc
