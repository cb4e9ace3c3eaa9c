#include "files/JsonLine.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace ldc {
namespace {

// The length of the well-formed UTF-8 sequence starting at text[i], or 0 when the bytes there
// are not one (a stray continuation byte, a truncated, overlong or surrogate sequence, a code
// point beyond U+10FFFF).
std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned lead = at(0);
    const std::size_t length = lead < 0xC2   ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((at(k) & 0xC0) != 0x80)
            return 0;
    if ((lead == 0xE0 && at(1) < 0xA0) || (lead == 0xED && at(1) > 0x9F) ||
        (lead == 0xF0 && at(1) < 0x90) || (lead == 0xF4 && at(1) > 0x8F))
        return 0;
    return length;
}

}  // namespace

void JsonLine::separate() {
    if (!m_first)
        m_text += ',';
    m_first = false;
}

JsonLine& JsonLine::key(std::string_view name) {
    value(name);
    m_text += ':';
    m_first = true;  // the value that follows takes no comma
    return *this;
}

JsonLine& JsonLine::open(char bracket) {
    separate();
    m_text += bracket;
    m_first = true;
    return *this;
}

JsonLine& JsonLine::close(char bracket) {
    m_text += bracket;
    m_first = false;
    return *this;
}

JsonLine& JsonLine::beginObject() {
    return open('{');
}

JsonLine& JsonLine::endObject() {
    return close('}');
}

JsonLine& JsonLine::beginArray() {
    return open('[');
}

JsonLine& JsonLine::endArray() {
    return close(']');
}

JsonLine& JsonLine::null() {
    separate();
    m_text += "null";
    return *this;
}

JsonLine& JsonLine::value(std::optional<double> number) {
    if (!number || !std::isfinite(*number))
        return null();
    separate();
    // Independent of the locale, whose separator may be a comma.
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, *number, std::chars_format::general, 17).ptr;
    m_text.append(buffer, end);
    return *this;
}

JsonLine& JsonLine::value(long long integer) {
    separate();
    m_text += std::to_string(integer);
    return *this;
}

JsonLine& JsonLine::value(bool flag) {
    separate();
    m_text += flag ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::value(std::string_view text) {
    separate();
    m_text += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            // A file name need not be UTF-8; a JSON text must be. A byte that is not part of
            // a well-formed sequence becomes U+FFFD, so that every reader takes the line.
            const std::size_t length = utf8SequenceLength(text, i);
            if (length == 0) {
                m_text += "\\ufffd";
            } else {
                m_text.append(text, i, length);
                i += length - 1;
            }
        } else if (c == '"' || c == '\\') {
            m_text += '\\';
            m_text += c;
        } else if (c == '\n') {
            m_text += "\\n";
        } else if (byte < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", byte);
            m_text += buffer;
        } else {
            m_text += c;
        }
    }
    m_text += '"';
    return *this;
}

}  // namespace ldc
