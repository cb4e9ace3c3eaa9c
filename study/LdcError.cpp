#include "study/LdcError.h"

#include <new>

namespace ldc {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string withFinalPeriod(std::string text) {
    if (!text.empty() && text.back() != '.')
        text += '.';
    return text;
}

}  // namespace

std::string visibleText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            shown += "\\x";
            shown += kHexDigits[byte >> 4];
            shown += kHexDigits[byte & 0xF];
        } else if (byte == 0xC2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            const auto code = static_cast<unsigned char>(text[++i]);
            shown += "\\x";
            shown += kHexDigits[code >> 4];
            shown += kHexDigits[code & 0xF];
        } else {
            shown += text[i];
        }
    }
    return shown;
}

std::string errorBoxText(const std::string& message) {
    return withFinalPeriod(visibleText(message));
}

std::string errorBoxText(const Error& error) {
    if (error.context().empty())
        return errorBoxText(error.message());
    return visibleText(error.context()) + "\n" + errorBoxText(error.message());
}

std::string errorBoxText(const std::exception_ptr& failure) {
    if (!failure)
        return "Error inesperado.";
    try {
        std::rethrow_exception(failure);
    } catch (const Error& e) {
        return errorBoxText(e);
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryText;
    } catch (const std::length_error&) {
        // A container asked for more than it can ever hold: memory, in the analyst's terms.
        return kOutOfMemoryText;
    } catch (const std::exception& e) {
        const std::string what = visibleText(e.what());
        return what.empty() ? "Error inesperado." : withFinalPeriod("Error inesperado: " + what);
    } catch (...) {
        return "Error inesperado.";
    }
}

}  // namespace ldc
