#pragma once

#include <string>

#include "calc/ValidationStatistics.h"

namespace ldc {

// The JSON Lines record of one study file for laboratory systems: the results window's
// figures, then the validation statistics. A file that cannot be read or calculated gives
// its error box text under "error", and null for what could not be computed. Returns
// whether the file was read and calculated without error.
bool validationRecord(const std::string& path, const ValidationParameters& parameters,
                      std::string& line);

}  // namespace ldc
