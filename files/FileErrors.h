#pragma once

#include <string>

namespace ldc {

// The runtime's input/output codes and their messages: "File not found" (2), "Invalid
// filename" (3), "Too many open files" (4), "File access denied" (5), "Disk full" (101),
// otherwise "I/O error <code>".
std::string ioErrorMessage(int code);

// The runtime's code for a failed file-system call, from the system's errno value.
int ioErrorCode(int errnoValue);

// What happened, in the analyst's words, for the system's errno value: "el disco está
// lleno", "el archivo no existe"...
std::string ioFailureText(int errnoValue);

// Raises ldc::Error with the runtime's message for errnoValue and, as its context,
// `what` + ": " + ioFailureText + ".", `what` saying which file and what the program was
// doing ("No se pudo guardar el estudio «ensayo.w9c»").
[[noreturn]] void throwIoError(int errnoValue, const std::string& what);

// As throwIoError for a call on `path`, except that a missing folder (rather than a
// missing file) is the runtime's path-not-found code 3, "Invalid filename".
[[noreturn]] void throwPathError(const std::string& path, int errnoValue, const std::string& what);

}  // namespace ldc
