#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace ldc {

// The one error type of the program. Its message is exactly what the analyst reads in
// the error box (the box adds a final period when the text has none), so every raiser
// chooses its words with care: conversions, floating point faults and file errors keep
// the runtime's English wording, the program's own refusals are Spanish.
//
// An English runtime message says what went wrong but not where. The context is one
// Spanish line in the analyst's terms (which field, level or data row; which file and
// what happened) that the error box and ldc-calc put above the message.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message, std::string context = {})
        : std::runtime_error(message), m_message(message), m_context(std::move(context)) {}

    // The whole message, also past a NUL that a value read from a file may hold (what()
    // ends there).
    const std::string& message() const noexcept { return m_message; }
    const std::string& context() const noexcept { return m_context; }

private:
    std::string m_message;
    std::string m_context;
};

// Runs work(); an Error leaving it without a context gets the one describeWhere() gives.
// The context is only made when something fails, so the happy path costs nothing.
template <class Work, class Where>
auto withErrorContext(Work&& work, Where&& describeWhere) -> decltype(work()) {
    try {
        return work();
    } catch (const Error& e) {
        if (!e.context().empty())
            throw;
        throw Error(e.message(), describeWhere());
    }
}

// What the error box says when memory runs out. Kept as a constant so that ldc-calc can
// print it without asking for more memory.
inline constexpr const char* kOutOfMemoryText =
    "No hay memoria suficiente para completar la operación.";

// `text` with its control characters (C0, DEL and the C1 controls a file's undefined bytes
// become) shown as \xNN, so that a value read from a file can neither cut a message, split
// its line nor send commands to a terminal. Already visible text comes back unchanged.
std::string visibleText(std::string_view text);

// What the error box and the command-line calculator show for an error text: the text
// made visible, with a final period.
std::string errorBoxText(const std::string& message);

// The context line (when there is one), then the message as errorBoxText gives it.
std::string errorBoxText(const Error& error);

// The text for whatever a command raised: an Error as above; running out of memory, or a
// failure the program did not foresee, in Spanish, never as the runtime's own name for it
// ("std::bad_alloc").
std::string errorBoxText(const std::exception_ptr& failure);

}  // namespace ldc
