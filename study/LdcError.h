#pragma once

#include <stdexcept>
#include <string>

namespace ldc {

// The one error type of the program. Its text is exactly what the analyst reads in the
// error box (the box adds a final period when the text has none), so every raiser
// chooses its words with care: conversions, floating point faults and file errors keep
// the runtime's English wording, the program's own refusals are Spanish.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// What the error box and the command-line calculator show for an error text.
std::string errorBoxText(const std::string& message);

}  // namespace ldc
